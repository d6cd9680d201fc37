// The placement of a window kept in the registry: value "Window Position" + suffix in section
// "Settings", 48 bytes: a 32-bit word 0, then the window placement whose length field says 48
// (the size of the whole record), all little-endian.
//
// The system calls reject a placement whose length is not the size of their own structure, so
// they are always given a copy that says 44; the stored bytes keep the 48.
#pragma once

#include <afxwin.h>

class CTkWindowPosition {
public:
    CTkWindowPosition();

    // Writes the window's placement; FALSE (nothing written) when the window does not exist or
    // its placement cannot be read. Without a suffix, a show command other than maximised is
    // stored as "normal".
    BOOL SaveWindowPos(CWnd* pWnd, LPCTSTR lpszSuffix);
    // Reads the value into the record; FALSE (record unchanged) when it is missing or shorter
    // than the record.
    BOOL LoadWindowPos(LPCTSTR lpszSuffix);
    // Gives the window the record's placement; FALSE when the window does not exist or refuses.
    BOOL Apply(CWnd* pWnd) const;

    DWORD m_dwReserved;
    WINDOWPLACEMENT m_wp;

    static const UINT nRecordSize = 48;
};
