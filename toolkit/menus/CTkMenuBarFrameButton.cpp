#include "CTkMenuBarFrameButton.h"

#include "CTkGlobalData.h"
#include "CTkMenuBar.h"

CTkMenuBarFrameButton::CTkMenuBarFrameButton(CTkMenuBar* pBar, UINT nKind, UINT nSysCommand, int nSpacing)
    : CTkMenuBarItem(pBar, &CTkMenuBar::DrawFrameButtonItem, NULL, NULL), m_nKind(nKind), m_nSysCommand(nSysCommand),
      m_nSpacing(nSpacing)
{
}

BOOL CTkMenuBarFrameButton::IsHidden() const { return !(m_pBar->m_bChildMaximized && m_pBar->m_bShowMDIControls); }

void CTkMenuBarFrameButton::GetSize(CSize& size) const
{
    if (tkAfxData.bFlatLook)
        size = CSize(16, 15);
    else
        size = CSize(tkAfxData.cxSmIcon, tkAfxData.cySmIcon - 1);
}

BOOL CTkMenuBarFrameButton::CanWrap() const { return m_nKind == DFCS_CAPTIONRESTORE; }

int CTkMenuBarFrameButton::GetSpacing() const { return m_nSpacing; }
