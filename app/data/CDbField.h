// One field of an open table as the table layer keeps it: the engine's description and the cached
// value of the current row in the program's text form (ANSI).
#pragma once

#include <afx.h>

class CDbField {
public:
    CDbField();

    // The display width of a field: length + 2 for dates, 0 for memos, else the length.
    static int DisplayWidth(TCHAR chType, int nLength);

    CString m_strName;   // as the engine reports it (at most 10 characters)
    CString m_strAlias;  // display name (at most 20 characters); the name when there is none
    TCHAR m_chType;      // 'C', 'N', 'D', 'L', 'M' (upper case); blank until known
    int m_nLength;       // the field's length; for a memo the length of its current text
    int m_nDecimals;
    WORD m_wFlags;       // read mask bits (ReadFieldsMasked)
    CString m_strValue;  // the cached value
    int m_nDisplayWidth;
};
