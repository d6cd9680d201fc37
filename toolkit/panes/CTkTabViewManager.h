// The views of a tab control: one record per tab (its view window, its label, its tooltip text),
// the selected tab's view shown and sized to the page area and the others hidden, the frame's
// active view handed over to a tab's view and back, labels shortened to fit, tooltips, and the
// owner told before and after the selection changes.
#pragma once

#include "CTkFlatTabPainter.h"

#include <functional>
#include <vector>

// Sent to the tab control's owner after and before its selection changes: wParam the control id,
// lParam the tab control.
#define TKWM_TAB_SELCHANGE 0x89D8
#define TKWM_TAB_SELCHANGING 0x89D9
// Posted by a control to itself to finish its set-up once its window exists; lParam the sequence
// number of the request (only the latest one acts).
#ifndef TKWM_DEFERRED_INIT
#define TKWM_DEFERRED_INIT 0x89DE
#endif

class CToolTipCtrl;

struct CTkTabRecord {
    int nTooltipId;    // the tab's position, renumbered after changes
    CWnd* pView;       // may be NULL
    CString strLabel;  // the full text
    CString strTip;    // the tooltip text (at first the label)
    CString strShown;  // the label as last shortened
};

class CTkTabViewManager : public CTkFlatTabPainter {
public:
    CTkTabViewManager();
    ~CTkTabViewManager() override;

    virtual void UpdateTabFont();
    virtual CToolTipCtrl* GetToolTips() const;
    virtual void SetToolTips(CToolTipCtrl* pToolTips);
    virtual void AddToolTip(UINT nId, LPCTSTR lpszText);
    virtual void UpdateToolTipByClass(CRuntimeClass* pClass, LPCTSTR lpszText);
    virtual void UpdateToolTip(int nIndex, LPCTSTR lpszText);
    virtual void ResetToolTips();
    virtual BOOL EnableToolTips(BOOL bEnable);
    virtual BOOL AddView(LPCTSTR lpszLabel, CWnd* pView, int nIndex = -1, int nIcon = -1);
    virtual BOOL AddViewByClass(LPCTSTR lpszLabel, CRuntimeClass* pViewClass, CDocument* pDoc = NULL,
                                CCreateContext* pContext = NULL, int nIndex = -1, int nIcon = -1);
    virtual BOOL InsertView(LPCTSTR lpszLabel, CWnd* pView, int nIndex = -1, int nIcon = -1);
    virtual CWnd* GetView(int nIndex) const;
    virtual CWnd* GetViewByClass(CRuntimeClass* pClass) const;
    virtual CWnd* GetActiveView() const;
    virtual void ActivateView(CWnd* pView);
    virtual BOOL SetActiveView(int nIndex);
    virtual BOOL SetActiveViewByWnd(CWnd* pView);
    virtual BOOL SetActiveViewByClass(CRuntimeClass* pClass);
    virtual BOOL DeleteViewByClass(CRuntimeClass* pClass, BOOL bDestroyWindow = TRUE);
    virtual BOOL DeleteViewByWnd(CWnd* pView, BOOL bDestroyWindow = TRUE);
    virtual BOOL DeleteView(int nIndex, BOOL bDestroyWindow = TRUE);
    virtual LPCTSTR GetViewTextByClass(CRuntimeClass* pClass) const;
    virtual LPCTSTR GetViewText(int nIndex) const;
    virtual void SizeView(CWnd* pView);
    virtual void RemoveTabRecord(POSITION pos, BOOL bDestroyWindow);
    virtual BOOL RemoveAllViews(BOOL bDestroyWindow = TRUE);
    virtual int TabHitTest(CPoint pt) const;
    virtual BOOL IsTabView(CWnd* pView) const;
    virtual BOOL ModifyTabStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
    virtual void SetMenuID(UINT nMenuId, int nPopupIndex = 0);
    virtual UINT GetMenuID() const { return m_nMenuId; }
    virtual void SendInitialUpdate(BOOL bSend) { m_bSendInitialUpdate = bSend; }
    virtual int OnSelChanging();
    virtual int OnSelChange();
    virtual CWnd* CreateTabView(CRuntimeClass* pViewClass, CDocument* pDoc, CCreateContext* pContext);

    void SetAutoCondense(BOOL bCondense);
    BOOL GetAutoCondense() const { return m_bAutoCondense; }
    int GetTabCount() const { return (int)m_tabs.GetCount(); }
    // The text a tab shows now (after shortening); NULL when there is no such tab.
    LPCTSTR GetShownText(int nIndex) const;

    // Shortening as a pure function: measure gives a text's width, bImage[i] tells whether tab i
    // has an image; nAvailable is the room, nExtra 4 (5 for vertical or multi-line tabs), nAverage
    // the font's average character width. Returns the texts to show.
    static std::vector<CString> CondenseLabels(const std::vector<CString>& labels, const std::vector<BOOL>& bImage,
                                               int nAvailable, int nExtra, int nAverage,
                                               const std::function<int(const CString&)>& measure);

protected:
    int m_nPopupIndex;
    UINT m_nMenuId;
    BOOL m_bSendInitialUpdate;
    CWnd* m_pParent;
    CView* m_pSavedView;
    CFrameWnd* m_pParentFrame;
    int m_nPrevSel;
    BOOL m_bInitPending;
    int m_nDeferredSeq;
    CPtrList m_tabs; // CTkTabRecord*, in tab order

    CTkTabRecord* RecordAt(int nIndex) const;
    POSITION PositionAt(int nIndex) const;
    int IndexOfView(const CWnd* pView) const;
    int IndexOfClass(CRuntimeClass* pClass) const;
    // The frame's active view goes back to the saved one (or none) when it is a tab's view.
    void RestoreFrameView(BOOL bOnlyTabViews);
    void PostDeferredInit();
    void DoDeferredInit();
    // Shortens (or restores) the tabs' labels to fit the control.
    void ApplyLabelPass();
    void SizeAllViews();
    // Selects a tab the way a click does: the owner is told before and after.
    void SelectTab(int nIndex);
    void NotifyOwner(UINT nMessage);
};
