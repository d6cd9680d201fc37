// One item of a shortcut bar's folder: an icon with a label.
#pragma once

#include <afxwin.h>

class CTkOutBarItem {
public:
    CTkOutBarItem(LPCTSTR lpszText, int nImage, DWORD dwData);

    int m_nImage; // negative: no icon
    BYTE m_bEnabled;
    BYTE m_bSelected;
    DWORD m_dwData;
    CString m_strText;
};
