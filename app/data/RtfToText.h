// The visible text of RTF (notes edited with formatting), for mail bodies, report fields and
// automation texts. See CRtfReader for what is kept and what is skipped.
#pragma once

#include <afx.h>

// TRUE with the text in strText; FALSE when the RTF is malformed, strText then unchanged.
// Every call reads with a reader of its own, so conversions of several threads run side by side
// and a malformed text never affects the next conversion.
BOOL RtfToText(const CString& strRtf, CString& strText);
