// A title of the menu bar: one top-level entry of the menu.
#pragma once

#include "CTkMenuBarItem.h"

class CTkMenuBarTextItem : public CTkMenuBarItem {
public:
    CTkMenuBarTextItem(CTkMenuBar* pBar, int nMenuPos, const CString& strText, CSize size);

    void GetSize(CSize& size) const override;
    BOOL GetMnemonic(TCHAR& ch) const override;

    // The character after the first "&" that is no doubled "&" and not the last; 0 for none.
    static TCHAR FindMnemonic(const CString& strText);

    int m_nMenuPos;
    CString m_strText;
    CSize m_size;
    TCHAR m_chMnemonic;
};
