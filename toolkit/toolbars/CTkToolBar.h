// The toolkit's dockable toolbar: a toolkit control bar whose window is the common controls'
// toolbar. The control's button array is the truth; the bar adds loading from a toolbar resource
// (RT_TOOLBAR 241: WORD version 1, image width, image height, count n, n command ids, 0 for a
// separator) with a bitmap in the system's colours, button texts, controls placed over separator
// buttons, drop-down buttons with a menu of their own or a question to the owner, tooltips with
// the command's first shortcut key, command updates, and its layout.
//
// Button style word (GetButtonStyle): state * 65536 + style, with the control's enabled bit
// turned round so that 0x40000 means disabled (0x10000 checked, 0x20000 pressed, 0x80000 hidden,
// 0x100000 indeterminate, 0x200000 wrapped; style 1 separator, 2 check box, 8 drop-down). A
// separator with a command id holds the place of the child control of that id.
//
// Layout: docked at the top or bottom the buttons form one row, at a side one column, floating
// rows of the bar's most recently used width (CalcDynamicLayout with the LM_ modes). A bar whose
// row is too short hides buttons from its end (HideButtonsForRoom) and shows the chevron
// (CTkExpButton) at its end; ShowButtonsForRoom brings them back in index order. A layout is
// pending after every change and made lazily (Layout) before item rectangles are used or the bar
// paints; PostDeferredLayout asks for one when the queue is idle, and only the latest such request
// acts (a sequence number in lParam).
#pragma once

#include "CTkControlBar.h"

#include <stdint.h>

#include <vector>

class CTkExpButton;

#ifndef RT_TOOLBAR
#define RT_TOOLBAR MAKEINTRESOURCE(241)
#endif

// Posted to the bar itself: make the pending layout once the queue is idle (lParam: the sequence
// number of the request).
#define TKWM_DEFERRED_LAYOUT 0x81CE
// Sent to the owner for a drop-down button with neither menu nor popup: wParam NMTOOLBAR*,
// lParam the button's screen RECT*. A zero answer releases the button.
#define TKWM_DROPDOWN 0x89D3
// Posted to a rebar parent: wParam the bar's window, lParam the width it wants.
#define TKWM_REBAR_SIZECHILD 0x89E6

// The record of a drop-down button (ten 32-bit values, stored in this order in a saved layout).
struct TK_DROPDOWN {
    uint32_t nCommandID;
    uint32_t nMenuID;        // 0: none; the low word names the menu resource
    uint32_t bColorBar;
    uint32_t bCustomizePopup;
    uint32_t bColorPopup;
    uint32_t bArrow;         // the control draws a separate arrow
    uint32_t dwPopupStyle;
    uint32_t nCustomizeKey;
    uint32_t clrDefault;
    uint32_t clrCurrent;
};
static_assert(sizeof(TK_DROPDOWN) == 40, "a drop-down record is ten 32-bit values");

// What the bar remembers about each button of the control (RebuildButtonList).
struct TK_BUTTONDESC {
    TBBUTTON button;
    BYTE bHidden;
    BYTE bBoldFont;
    BYTE bOwnsDropDown;
    CWnd* pControl;
    TK_DROPDOWN* pDropDown;
};

// Gives the shortcut texts of a command ("Ctrl+N, Alt+N"); empty when it has none.
typedef void (*TKSHORTCUTTEXTPROC)(UINT nCmd, CString& strText);

class CTkToolBar : public CTkControlBar {
    DECLARE_DYNAMIC(CTkToolBar)
public:
    CTkToolBar();
    ~CTkToolBar() override;

    // ---- creation and loading ----
    virtual BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP, UINT nID = AFX_IDW_TOOLBAR);
    virtual BOOL CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle = TBSTYLE_FLAT,
                          DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, CRect rcBorders = CRect(0, 0, 0, 0),
                          UINT nID = AFX_IDW_TOOLBAR);
    BOOL LoadToolBar(LPCTSTR lpszResourceName);
    BOOL LoadToolBar(UINT nID) { return LoadToolBar(MAKEINTRESOURCE(nID)); }
    BOOL LoadBitmap(LPCTSTR lpszResourceName);
    BOOL SetBitmap(HBITMAP hbm);
    void SetImageList(HIMAGELIST hImageList, BOOL bNormal);
    void SetSizes(CSize sizeButton, CSize sizeImage);
    virtual void SetOwner(CWnd* pOwnerWnd);

    // ---- buttons ----
    BOOL SetButtons(const UINT* lpIDArray, int nIDCount);
    void GetButton(int nIndex, TBBUTTON* pButton) const;
    void SetButton(int nIndex, TBBUTTON* pButton);
    int CommandToIndex(UINT nIDFind) const;
    UINT GetItemID(int nIndex) const;
    virtual void GetItemRect(int nIndex, LPRECT lpRect) const;
    UINT GetButtonStyle(int nIndex) const;
    void SetButtonStyle(int nIndex, UINT nStyle);
    void SetButtonInfo(int nIndex, UINT nID, UINT nStyle, int iImage);
    int AddString(LPCTSTR lpszText, UINT nCmd = 0);
    BOOL SetButtonText(int nIndex, LPCTSTR lpszText);
    CString GetButtonText(int nIndex) const;
    void RebuildButtonList();
    int GetButtonCount() const;

    // ---- drop-down buttons ----
    TK_DROPDOWN* AddDropDownButton(UINT nID, BOOL bArrow);
    TK_DROPDOWN* FindDropDownButton(UINT nID) const;
    virtual void OnDropDownButton(NMTOOLBARA* pNMTB, UINT nID, CRect rect);
    void SetDropButtonPressed(int nIndex, BOOL bPressed);
    BOOL IsDropButtonPressed(int nIndex) const;
    BOOL HasPressedDropButtons() const { return m_arrPressed.GetSize() > 0; }

    // ---- attached controls ----
    virtual BOOL AttachControl(CWnd* pCtrl, BOOL bBoldFont);
    virtual void PositionControl(CWnd* pCtrl);
    virtual void PositionControls();
    void UpdateControlButtons();

    // ---- layout ----
    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    CSize CalcDynamicLayout(int nLength, DWORD dwMode) override;
    void Layout();
    virtual CSize GetButtonSize(TBBUTTON* pData, int nIndex);
    CSize CalcSize(TBBUTTON* pData, int nCount);
    int WrapToolBar(TBBUTTON* pData, int nCount, int nWidth);
    void SizeToolBar(TBBUTTON* pData, int nCount, int nLength, BOOL bVert = FALSE);
    CSize CalcLayout(DWORD dwMode, int nLength = -1);
    virtual BOOL IsExpandButtonEnabled();
    virtual BOOL HasHiddenButtons();
    virtual BOOL IsLayoutHorizontal();
    int HideButtonsForRoom(int nLength, int nAvail, BOOL bHorz);
    int ShowButtonsForRoom(int nLength, int nAvail, BOOL bHorz);
    void PositionExpandButton(int nLength, BOOL bHorz);
    CSize GetMinimumSize();
    void ShowAllHiddenButtons();
    void PostDeferredLayout();
    void OnBarStyleChange(DWORD dwOldStyle, DWORD dwNewStyle) override;
    BOOL OnAddedToRebar(REBARBANDINFOA* pRBBI, BOOL bHorz) override;
    void OnRebarFitBand(TK_REBAR_FITBAND* pFit, BOOL bHorz) override;

    // ---- drawing (TBSTYLE_FLAT: through the control's custom draw) ----
    // The flat look outside a rebar: the bar fills its whole client area with its background.
    BOOL IsFlatDrawn() const;
    void PaintBar();
    // TRUE when the button is drawn (the control leaves it).
    BOOL DrawButton(CDC* pDC, NMTBCUSTOMDRAW* pCD);
    void DrawSeparators(CDC* pDC);
    void EraseWrapGaps(CDC* pDC);

    // ---- state and customization (not customizable yet: nothing saved or restored) ----
    void EnableDocking(DWORD dwDockStyle);
    void SaveToolBarState();
    void RestoreToolBarState();
    BOOL IsCustomizable() const { return m_bCustomizable; }

    // ---- the rest of the bar ----
    COLORREF GetBackgroundColor() const override;
    BOOL IsFullWindowDrag() override { return TRUE; }
    BOOL IsUpdateTarget(CWnd* pTarget) override;
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
    INT_PTR OnToolHitTest(CPoint point, TOOLINFO* pTI) const override;
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Where tooltips find shortcut texts; NULL: the accelerator manager (texts only while it serves
    // a frame).
    static void SetShortcutTextSource(TKSHORTCUTTEXTPROC pfn);

    // ---- fields ----
    int m_bSuppressPaint;
    int m_bEmbossDisabled;
    int m_bLayoutPending;
    int m_nColorPopupID;
    DWORD m_dwDrawTextMask;
    DWORD m_dwDrawTextFlags;
    HRSRC m_hRsrcImageWell;
    HINSTANCE m_hInstImageWell;
    CSize m_sizeImage;
    CSize m_sizeButton;
    CString m_strStatePath;
    CString m_strStateName;
    HBITMAP m_hbmImageWell;
    CWnd* m_pColorPopup; // the colour popup arrives with its class
    CMapStringToPtr* m_pStringMap;
    CDWordArray m_arrPressed;
    CList<TK_BUTTONDESC*, TK_BUTTONDESC*> m_listButtons;
    CMap<UINT, UINT, CString, LPCTSTR> m_mapButtonText;
    CMap<int, int, int, int> m_mapHiddenForRoom;
    BYTE m_bCaptured;
    BYTE m_bCustomizable;
    BYTE m_bAdjusting;
    BYTE m_bEraseBackground;
    BYTE m_bListStyle;
    BYTE m_bLabels;
    BYTE m_bLayoutChanged;
    int m_nLayoutSequence;
    BYTE* m_pDefaultLayout;
    int m_cbDefaultLayout;
    CTkExpButton* m_pExpButton;
    void* m_pCustomizer;

protected:
    TK_BUTTONDESC* FindDescByCommand(UINT nID) const;
    TK_BUTTONDESC* DescAt(int nIndex) const;
    void FreeButtonList();
    // Runs a message through the control with TBSTYLE_FLAT | TBSTYLE_TRANSPARENT on.
    LRESULT DefWithFlatStyle(UINT message, WPARAM wParam, LPARAM lParam);
    CSize InsetSize(BOOL bHorz) const;
    // The buttons as the bar sees them (enabled bit turned round).
    std::vector<TBBUTTON> ReadButtons() const;
    void CommitDocked(DWORD dwExtra);
    mutable CString m_strTipText;

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg BOOL OnNcCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg void OnPaint();
    afx_msg void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
    afx_msg LRESULT OnNcHitTest(CPoint point);
    afx_msg void OnWindowPosChanging(WINDOWPOS* lpWndPos);
    afx_msg void OnSysColorChange();
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg LRESULT OnSetButtonSize(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSetBitmapSize(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSetFlatStyleMessage(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSetDrawTextFlags(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnDeferredLayout(WPARAM wParam, LPARAM lParam);
    afx_msg void OnCustomDraw(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnDropDown(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnHotItemChange(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnBeginAdjust(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnEndAdjust(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnGetButtonInfo(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnQueryDelete(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnQueryInsert(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnReset(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnToolBarChange(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnCustHelp(NMHDR* pNMHDR, LRESULT* pResult);
    DECLARE_MESSAGE_MAP()
};
