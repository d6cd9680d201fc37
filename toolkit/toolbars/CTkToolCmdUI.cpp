#include "CTkToolCmdUI.h"

#include "CTkToolBar.h"

void CTkToolCmdUI::Enable(BOOL bOn)
{
    m_bEnableChanged = TRUE;
    CTkToolBar* pToolBar = (CTkToolBar*)m_pOther;
    int nIndex = (int)m_nIndex;
    UINT nStyle = pToolBar->GetButtonStyle(nIndex);
    // in customize mode every button of a customizable bar can be dragged, so it stays enabled;
    // the customization decides for its menu buttons (both arrive with the customizer)
    if (pToolBar->m_pCustomizer != NULL && pToolBar->m_bCustomizable)
        bOn = TRUE;
    else if (!bOn && (nStyle & BTNS_WHOLEDROPDOWN))
        bOn = TRUE;
    UINT nNewStyle = nStyle & ~(TBSTATE_ENABLED << 16);
    if (!bOn)
        nNewStyle = (nNewStyle | (TBSTATE_ENABLED << 16)) & ~(TBSTATE_PRESSED << 16);
    pToolBar->SetButtonStyle(nIndex, nNewStyle);
}

void CTkToolCmdUI::SetCheck(int nCheck)
{
    CTkToolBar* pToolBar = (CTkToolBar*)m_pOther;
    int nIndex = (int)m_nIndex;
    UINT nNewStyle = pToolBar->GetButtonStyle(nIndex) & ~((TBSTATE_CHECKED | TBSTATE_INDETERMINATE) << 16);
    if (nCheck == 1)
        nNewStyle |= TBSTATE_CHECKED << 16;
    else if (nCheck == 2)
        nNewStyle |= TBSTATE_INDETERMINATE << 16;
    pToolBar->SetButtonStyle(nIndex, nNewStyle | TBSTYLE_CHECK);
}

void CTkToolCmdUI::SetText(LPCTSTR) {}
