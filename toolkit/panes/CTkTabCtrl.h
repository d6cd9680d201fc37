// The toolkit's tab control: the common tab control drawn flat, with a view per tab
// (CTkTabViewManager), keyboard switching (Ctrl+Tab, Ctrl+Shift+Tab, F6), commands offered to the
// active view first, an optional context menu, and a deferred set-up once its window exists.
#pragma once

#include "CTkTabViewManager.h"

class CTkTabCtrl : public CTabCtrl, public CTkTabViewManager {
    DECLARE_DYNAMIC(CTkTabCtrl)
public:
    CTkTabCtrl();
    ~CTkTabCtrl() override;

    void PreSubclassWindow() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    BOOL EnableToolTips(BOOL bEnable) override;
    // The view manager's tooltip members hide the tab control's plain message wrappers.
    using CTkTabViewManager::GetToolTips;
    using CTkTabViewManager::SetToolTips;

protected:
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnSettingChange(UINT uFlags, LPCTSTR lpszSection);
    afx_msg void OnSysColorChange();
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg void OnSelChangeReflect(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnSelChangingReflect(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnWindowPosChanged(WINDOWPOS* lpwndpos);
    afx_msg LRESULT OnDeferredInit(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnInitialUpdateMessage(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};
