#include "CTkMenuBarItem.h"

#include "CTkMenuBar.h"

CTkMenuBarItem::CTkMenuBarItem(CTkMenuBar* pBar, PFNITEMDRAW pfnDraw, PFNITEMOP pfnTrack, PFNITEMOP pfnDblClk)
    : m_bWrap(FALSE), m_x(0), m_y(0), m_pBar(pBar), m_pfnDraw(pfnDraw), m_pfnTrack(pfnTrack), m_pfnDblClk(pfnDblClk)
{
}

BOOL CTkMenuBarItem::IsHidden() const { return FALSE; }

void CTkMenuBarItem::Draw(CDC* pDC)
{
    if (m_pfnDraw != NULL)
        (m_pBar->*m_pfnDraw)(pDC, this);
}

BOOL CTkMenuBarItem::GetMnemonic(TCHAR&) const { return FALSE; }

BOOL CTkMenuBarItem::CanWrap() const { return TRUE; }

int CTkMenuBarItem::GetSpacing() const { return 0; }

void CTkMenuBarItem::Track()
{
    if (m_pfnTrack != NULL)
        (m_pBar->*m_pfnTrack)(this);
}

void CTkMenuBarItem::OnDblClk()
{
    if (m_pfnDblClk != NULL)
        (m_pBar->*m_pfnDblClk)(this);
}
