// How item values print: dates, check marks, formatted text.
#pragma once

#include <string>

namespace rp {

// The text of an OLE date ("%lf": days since 30.12.1899 with the time of day as fraction; the
// decimal separator may be '.' or ',') as "dd.mm.yyyy hh:mm", rounded to the minute. False for
// a text that is no such number or a date outside the years 100..9999.
bool FormatOleDate(const std::string& text, std::string& out);

// The plain text of RTF: groups of destinations (font and colour tables, style sheets, pictures,
// information) are left out, \par and \line become line feeds, \tab a tab, \'hh its byte and
// \uN its fallback. Text that does not start with "{\rtf" is returned as it is.
std::string RtfToPlainText(const std::string& rtf);
// The same with style marks (TextMetrics.h) where bold, italic or underline change.
std::string RtfToStyledText(const std::string& rtf);

// The printed text of a value of the given item type (see VLRP11.h); formatted text keeps its
// bold, italic and underlined parts as style marks.
std::string DisplayText(const std::string& value, int type);

} // namespace rp
