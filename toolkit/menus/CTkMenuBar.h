// The menu bar: a dockable bar that shows the frame's menu as a row (or column) of flat titles,
// wraps them into several rows when room is short and, in an MDI frame with a maximized child,
// shows the child's icon and its minimize, restore and close buttons. The window is a toolbar
// control whose buttons stay unused: the bar keeps its own items (icon, one title per top-level
// entry, three frame buttons) and paints them itself. Creating it removes the frame's own menu.
#pragma once

#include "CTkControlBar.h"
#include "CTkMenuBarItem.h"

class CTkMBarWndHook;
class CTkMBarMDIWndHook;
class CTkPopupMenu;

#define TK_ID_MORE_WINDOWS 65289 // "Fenster..." at the end of the window list
#ifndef AFX_IDW_MENUBAR
#define AFX_IDW_MENUBAR 0xE858 // 59480: the control id of the menu bar
#endif

class CTkMenuBar : public CTkControlBar {
    DECLARE_DYNAMIC(CTkMenuBar)
public:
    CTkMenuBar();
    ~CTkMenuBar() override;

    virtual BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP,
                        UINT nID = AFX_IDW_MENUBAR);
    virtual BOOL CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, CRect rcBorders, UINT nID);
    virtual BOOL HideCommand(UINT nID);
    virtual BOOL HideCommands(const UINT* pIDs, int nCount);
    virtual void UpdateWindowList();
    virtual int HitTestItem(CPoint point, const int* pFirst, const int* pLast);
    virtual int GetTrackingState(int* pnItem);
    virtual void Refresh();

    BOOL LoadMenuBar(UINT nMenuID);
    BOOL LoadMenuBar(LPCTSTR lpszMenuName);
    HMENU SetMenu(HMENU hMenu, HMENU hWindowMenu);
    CRect GetItemRect(int nItem) const;
    // Fills pItems (room for every item) with the visible items: 1 icon and titles, 2 frame
    // buttons, 3 all. Answers their number.
    int GetVisibleItems(int* pItems, int nSelector) const;
    void SetHotItem(int nItem);
    void SetPressedItem(int nItem);

    // layout
    CSize CalcBorderSize(BOOL bHorz) const;
    int GetAvailableLength(BOOL bHorz) const;
    int WrapItems(int nWidth);
    void SizeItems(int nLength, BOOL bHorz);
    void PositionItems(BOOL bHorz);
    CSize CalcItemsSize(BOOL bHorz) const;
    CSize CalcLayout(DWORD dwMode, int nLength);
    void UpdateMDIState(BOOL bRelayout);
    void RecalcFrameLayout();
    // The top-level positions of hMenu that do not belong to hContainerMenu (1-based, into
    // m_mapServerMenus): an entry is the container's when the container has one with the same
    // text and a popup with the same count, texts and ids.
    static void MapMenus(HMENU hMenu, HMENU hContainerMenu, CMap<UINT, UINT, BOOL, BOOL>& map);
    void MapServerMenus();

    // drawing of the items
    void DrawTextItem(CDC* pDC, CTkMenuBarItem* pItem);
    void DrawIconItem(CDC* pDC, CTkMenuBarItem* pItem);
    void DrawFrameButtonItem(CDC* pDC, CTkMenuBarItem* pItem);
    void DrawFrameButton(CDC* pDC, const CRect& rect, UINT nKind, UINT nState, BOOL bHot, BOOL bPressed);

    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    CSize CalcDynamicLayout(int nLength, DWORD dwMode) override;
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
    void OnBarStyleChange(DWORD dwOldStyle, DWORD dwNewStyle) override;
    INT_PTR OnToolHitTest(CPoint point, TOOLINFO* pTI) const override;
    BOOL IsHorzDocked() const override;
    BOOL IsUndocked() const override;
    BOOL IsFullWindowDrag() override;
    BOOL OnAddedToRebar(REBARBANDINFOA* pRBBI, BOOL bHorz) override;
    void OnRebarFitBand(TK_REBAR_FITBAND* pFit, BOOL bHorz) override;
    BOOL GetFloatingDragOffset(LPSIZE lpSize) override;
    BOOL IsUpdateTarget(CWnd* pTarget) override;

    // ---- tracking: the keyboard mode and the popups ----
    // Every message of the frame passes here before the frame's own translation; TRUE when the
    // bar consumed it (Alt, F10, the keys of the keyboard mode, mnemonics).
    BOOL TranslateFrameMessage(MSG* pMsg);
    // States: 0 none, 1 keyboard mode (a hot title, no popup), 2 popup open.
    void SetTrackingState(int nState, int nItem);
    void ToggleKeyboardMode();
    // Among the visible icon and title items, the one before (bPrev) or after the first one whose
    // index is at least nItem, wrapping at both ends; the first visible one when none is.
    int GetNextItem(int nItem, BOOL bPrev) const;
    // Opens the item's popup and, while the user moves on to other titles, theirs.
    void TrackPopup(int nItem);
    // Ends the open popup so that nItem opens next (-1: none).
    void TrackNext(int nItem);
    void TrackMenuItem(CTkMenuBarItem* pItem);
    void TrackSystemMenu(CTkMenuBarItem* pItem);
    void OnIconDblClk(CTkMenuBarItem* pItem);
    virtual void CalcTrackingPos(CPoint* pPoint, const CRect& rcItem, TPMPARAMS* pTPM, UINT* pnFlags);
    DWORD GetDockSide() const;
    // A message of the open popup's loop (from the message filter); TRUE eats it.
    virtual BOOL OnTrackingMessage(MSG* pMsg, BOOL bClientCoords);
    // The frame's WM_MENUSELECT: Right opens a highlighted submenu instead of the next title.
    void OnMenuSelect(HMENU hMenu, UINT nItem);
    virtual BOOL OnFrameButtonMouse(UINT message, UINT nFlags, CPoint point);
    virtual void ShowFrameButtonTip(int x, int y, int nKind);
    // ---- customization ----
    // The key of a menu button: the CRC-32 over the title as the menu holds it (with "&") and
    // four zero bytes; an item of a title's popup continues its title's checksum the same way.
    static DWORD GetTitleKey(LPCTSTR lpszTitle);
    static DWORD GetItemKey(LPCTSTR lpszTitle, LPCTSTR lpszItem);
    // The popup of the first item with a popup, among the titles' popups, whose key is nKey.
    HMENU FindSubMenuByKey(UINT nKey);

    // The window a menu message goes to instead of the frame (in-place server menus), or NULL.
    HWND GetInPlaceTarget(BOOL* pbSend, UINT message, WPARAM wParam, LPARAM lParam);

    int m_nLastPressed;
    int m_nCapturedButton;
    int m_nHotItem;
    UINT m_nExpandTimerId;
    UINT m_nExpandTimerDelay;
    int m_nTrackedItem;
    int m_nNextItem;
    int m_nOpeningItem;
    UINT m_nMenuID;
    int m_nLengthOverride;
    BYTE m_bExpandTimer;
    BYTE m_bMoreWindows;
    BYTE m_bRightAlignButtons;
    BYTE m_bMousePosKnown;
    BYTE m_bShowMDIControls;
    BYTE m_bPointerInCaptured;
    BYTE m_bRightArrow;
    BYTE m_bLeftArrow;
    BYTE m_bEscape;
    BYTE m_bOverFrameButtons;
    BOOL m_bKeyboardCues;
    BOOL m_bFrameActive;
    BOOL m_bChildMaximized;
    HWND m_hWndMDIClient;
    HMENU m_hMenu;
    HMENU m_hLoadedMenu;
    HMENU m_hWindowMenu;
    int m_xLastMouse;
    int m_yLastMouse;
    CTkPopupMenu* m_pOpenPopup;
    CUIntArray m_arrHiddenCommands;
    CImageList m_glyphs;
    CToolTipCtrl m_toolTip;
    int m_nTrackingState;
    CTkMBarWndHook* m_pFrameHookMB;
    CTkMBarMDIWndHook* m_pMDIHook;
    CMap<UINT, UINT, BOOL, BOOL> m_mapServerMenus;
    CObArray m_arrItems;
    void* m_pCommandSource;
    BYTE m_bAltDown;         // Alt was down at the last message TranslateFrameMessage saw
    BYTE m_bOnTrackedTitle;  // the mouse rests on the open popup's title
    int m_nTrackNesting;     // popup loops running (the message filter exists while > 0)

protected:
    void DeleteItems();
    void ResetTracking();
    BOOL IsFloatingBar() const { return (m_dwStyle & CBRS_FLOATING) != 0; }
    BOOL IsDockedVertically() const;
    CTkMenuBarItem* Item(int i) const { return (CTkMenuBarItem*)m_arrItems[i]; }
    HWND GetActiveChild(BOOL* pbMaximized = NULL) const;

    // The frame buttons' index (first of the three) and the item under point, hit among sel.
    int HitVisible(CPoint point, int nSelector);
    CWnd* GetOwnerFrame() const;
    void SetShowMnemonics(BOOL bShow);

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg void OnPaint();
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg void OnSettingChange(UINT uFlags, LPCTSTR lpszSection);
    afx_msg void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
    afx_msg LRESULT OnNcHitTest(CPoint point);
    DECLARE_MESSAGE_MAP()
};
