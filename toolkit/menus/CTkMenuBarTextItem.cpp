#include "CTkMenuBarTextItem.h"

#include "CTkMenuBar.h"

CTkMenuBarTextItem::CTkMenuBarTextItem(CTkMenuBar* pBar, int nMenuPos, const CString& strText, CSize size)
    : CTkMenuBarItem(pBar, &CTkMenuBar::DrawTextItem, &CTkMenuBar::TrackMenuItem, NULL), m_nMenuPos(nMenuPos), m_strText(strText),
      m_size(size), m_chMnemonic(FindMnemonic(strText))
{
}

void CTkMenuBarTextItem::GetSize(CSize& size) const { size = m_size; }

BOOL CTkMenuBarTextItem::GetMnemonic(TCHAR& ch) const
{
    ch = m_chMnemonic;
    return m_chMnemonic != 0;
}

TCHAR CTkMenuBarTextItem::FindMnemonic(const CString& strText)
{
    int n = strText.GetLength();
    for (int i = 0; i < n; i++) {
        if (strText[i] != '&')
            continue;
        if (i + 1 >= n)
            return 0;
        if (strText[i + 1] == '&') {
            i++; // a literal "&"
            continue;
        }
        return strText[i + 1];
    }
    return 0;
}
