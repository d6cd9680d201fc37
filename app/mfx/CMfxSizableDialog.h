// A dialog whose controls follow a table of resize anchors when the user sizes it. Each control
// moves and grows by fixed percentages of the width and height gained over the template's client
// size; the dialog never becomes smaller than that. Every position is computed from the
// rectangles recorded at initialisation, so resizing back restores them exactly.
#pragma once

#include <afxwin.h>

#include "MfxResizeAnchor.h"

class CMfxSizableDialog : public CDialog {
    DECLARE_DYNAMIC(CMfxSizableDialog)
public:
    // The table belongs to the derived dialog (static data); its rectangles are filled in here.
    CMfxSizableDialog(UINT nIDTemplate, MfxResizeAnchor* pAnchors, int nAnchors, CWnd* pParentWnd = NULL);
    virtual ~CMfxSizableDialog();

    virtual BOOL OnInitDialog();

    // The client rectangle recorded at initialisation (all zero before).
    const RECT& GetInitialClientRect() const { return m_rectInitialClient; }

protected:
    MfxResizeAnchor* m_pAnchors;
    int m_nAnchors;
    RECT m_rectInitialClient;

    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    DECLARE_MESSAGE_MAP()
};
