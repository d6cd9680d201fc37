// The toolkit's status bar: the class library's status bar painted through a memory DC, in the
// flat look with a one-colour frame around each pane that has borders, and able to keep child
// controls over its panes (moved with the panes at every size change).
#pragma once

#include <afxext.h>

class CTkStatusBar : public CStatusBar {
    DECLARE_DYNAMIC(CTkStatusBar)
public:
    CTkStatusBar();
    ~CTkStatusBar() override;

    struct PaneControl {
        CWnd* pWnd;
        UINT nID;        // the pane's command id
        BOOL bAutoDelete; // the bar deletes the window object when it goes
    };

    // Keeps pWnd over the pane of command id nID.
    BOOL AddPaneControl(CWnd* pWnd, UINT nID, BOOL bAutoDelete);
    void PositionControls();
    // The rectangle a control over pane nIndex takes (and, without bForControl, the pane's frame):
    // the last pane ends before the size grip when it stretches.
    CRect GetPaneRect(int nIndex, BOOL bForControl) const;

    CPtrArray m_arrPaneControls;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};
