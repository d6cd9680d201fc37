// The activity log: when VLCT11_LOG names a file, every box and dialog operation appends one
// line to it, in attended and unattended mode alike. Fields are separated by TAB; inside a field
// CR/LF, a lone CR or LF is written as the two characters "\n" and a TAB as "\t", so a line is
// always one record. The file is opened, appended to and closed for each line, shared for
// reading and writing, so several processes can log into one file; an exclusive byte lock far
// beyond the end of the file keeps their lines whole.
//
//   MessageBox        caption  text  0x<style hex>  answer-id
//   AbortDlgStart     caption  text  mode  handle
//   AbortDlgSetText   handle  text  percent
//   AbortDlgCheckAbort handle  result          (only when the result is non-zero)
//   AbortDlgEnd       handle  result
//   ProgressShow      title  text
//   ProgressValue     value
//   GetNameDlg        title  0x<flags hex>  answer-id  path
#pragma once

#include <initializer_list>
#include <string>

// Appends one line made of the fields (each escaped) when a log is set; failures are silent.
void WriteActivity(std::initializer_list<std::string> fields);

// A text field; NULL gives an empty field.
std::string TextField(const char* text);
// "0x" and upper-case hexadecimal digits without leading zeros.
std::string HexField(unsigned long value);
// Escapes line breaks and TABs of a field (see above).
std::string EscapeField(const std::string& text);
