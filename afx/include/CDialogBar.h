// A dialog bar: a control bar made from a dialog template (a child template without WS_VISIBLE),
// whose controls send their commands to the frame and are enabled by the frame's update handlers
// at idle time (push buttons without a handler are disabled).
//
// The template's size is the bar's size (m_sizeDefault); docked, the bar stretches over the
// frame's width (height). The template's initialisation data (DLGINIT: the strings of its list
// and combo boxes) are applied when it is created.
#pragma once

#include "CControlBar.h"

class CDialogBar : public CControlBar {
    DECLARE_DYNAMIC(CDialogBar)
public:
    CDialogBar();
    virtual ~CDialogBar();

    // nStyle: window styles and CBRS_ styles of the bar; FALSE when the template cannot be
    // loaded or created or its initialisation data fail.
    BOOL Create(CWnd* pParentWnd, LPCTSTR lpszTemplateName, UINT nStyle, UINT nID);
    BOOL Create(CWnd* pParentWnd, UINT nIDTemplate, UINT nStyle, UINT nID)
    {
        return Create(pParentWnd, MAKEINTRESOURCE(nIDTemplate), nStyle, nID);
    }

    CSize m_sizeDefault;

    virtual CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz);
    virtual void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler);

protected:
    LPCTSTR m_lpszTemplateName; // while the window is being created

    DECLARE_MESSAGE_MAP()
};
