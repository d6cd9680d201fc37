#include "CTkMenuBarIconItem.h"

#include "CTkGlobalData.h"
#include "CTkMenuBar.h"

CTkMenuBarIconItem::CTkMenuBarIconItem(CTkMenuBar* pBar)
    : CTkMenuBarItem(pBar, &CTkMenuBar::DrawIconItem, &CTkMenuBar::TrackSystemMenu, &CTkMenuBar::OnIconDblClk)
{
}

BOOL CTkMenuBarIconItem::IsHidden() const { return !(m_pBar->m_bChildMaximized && m_pBar->m_bShowMDIControls); }

void CTkMenuBarIconItem::GetSize(CSize& size) const
{
    if (tkAfxData.bFlatLook)
        size = CSize(16, 15);
    else
        size = CSize(tkAfxData.cxSmIcon, tkAfxData.cySmIcon - 1);
}

int CTkMenuBarIconItem::GetSpacing() const { return 2; }
