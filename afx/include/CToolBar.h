// A toolbar: a control bar made of the common controls' toolbar with buttons of one image well.
//
// LoadToolBar reads a toolbar resource (type RT_TOOLBAR, 241: WORD version 1, WORD image width,
// WORD image height, WORD count, then count WORD command ids, 0 for a separator) and the bitmap of
// the same name (its standard grey tones take the system's button colours). Buttons are 7 pixels
// larger than their images.
//
// Layout (CalcDynamicLayout with the LM_ modes): docked at the top or bottom the buttons form one
// row, at a side one column; a floating CBRS_SIZE_DYNAMIC bar wraps them into rows of its MRU
// width (after a separator where possible), and a bar being resized to a height takes the
// narrowest width that keeps within it. LM_COMMIT applies the wrapping to the control.
//
// Button styles (GetButtonStyle, TBBS_...) keep the control's style in the low word and its state
// in the high word, with the enabled bit turned round (TBBS_DISABLED).
//
// Idle time updates the buttons through the frame's update handlers (Enable, SetCheck); the
// toolbar's tooltips and fly-by texts are the command's string (CBRS_TOOLTIPS, CBRS_FLYBY).
#pragma once

#include "CControlBar.h"
#include "CToolBarCtrl.h"

#ifndef RT_TOOLBAR
#define RT_TOOLBAR MAKEINTRESOURCE(241)
#endif

// Styles and states of buttons as GetButtonStyle/SetButtonStyle see them.
#define TBBS_BUTTON MAKELONG(TBSTYLE_BUTTON, 0)
#define TBBS_SEPARATOR MAKELONG(TBSTYLE_SEP, 0)
#define TBBS_CHECKBOX MAKELONG(TBSTYLE_CHECK, 0)
#define TBBS_GROUP MAKELONG(TBSTYLE_GROUP, 0)
#define TBBS_CHECKGROUP (TBBS_GROUP | TBBS_CHECKBOX)
#define TBBS_DROPDOWN MAKELONG(TBSTYLE_DROPDOWN, 0)
#define TBBS_AUTOSIZE MAKELONG(TBSTYLE_AUTOSIZE, 0)
#define TBBS_NOPREFIX MAKELONG(TBSTYLE_NOPREFIX, 0)
#define TBBS_CHECKED MAKELONG(0, TBSTATE_CHECKED)
#define TBBS_PRESSED MAKELONG(0, TBSTATE_PRESSED)
#define TBBS_DISABLED MAKELONG(0, TBSTATE_ENABLED)
#define TBBS_INDETERMINATE MAKELONG(0, TBSTATE_INDETERMINATE)
#define TBBS_HIDDEN MAKELONG(0, TBSTATE_HIDDEN)
#define TBBS_WRAPPED MAKELONG(0, TBSTATE_WRAP)
#define TBBS_ELLIPSES MAKELONG(0, TBSTATE_ELLIPSES)
#define TBBS_MARKED MAKELONG(0, TBSTATE_MARKED)

class CToolBar : public CControlBar {
    DECLARE_DYNAMIC(CToolBar)
public:
    CToolBar();
    virtual ~CToolBar();

    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP, UINT nID = AFX_IDW_TOOLBAR);
    // dwCtrlStyle: styles of the control (TBSTYLE_...); rcBorders: the bar's border widths.
    BOOL CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle = TBSTYLE_FLAT,
                  DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, CRect rcBorders = CRect(0, 0, 0, 0),
                  UINT nID = AFX_IDW_TOOLBAR);

    // Button and image sizes (a button is at least 6 pixels wider and higher than its image).
    void SetSizes(SIZE sizeButton, SIZE sizeImage);
    // The bar's height through its bottom border.
    void SetHeight(int cyHeight);
    // The buttons and the bitmap of the toolbar resource; FALSE when it is missing or damaged.
    BOOL LoadToolBar(LPCTSTR lpszResourceName);
    BOOL LoadToolBar(UINT nIDResource) { return LoadToolBar(MAKEINTRESOURCE(nIDResource)); }
    BOOL LoadBitmap(LPCTSTR lpszResourceName);
    BOOL LoadBitmap(UINT nIDResource) { return LoadBitmap(MAKEINTRESOURCE(nIDResource)); }
    // The image well (the bar owns the bitmap from then on).
    BOOL SetBitmap(HBITMAP hbmImageWell);
    // Buttons for the command ids (0: a separator); images are numbered in order. With a NULL
    // array nIDCount blank buttons.
    BOOL SetButtons(const UINT* lpIDArray, int nIDCount);

    int CommandToIndex(UINT nIDFind) const;
    UINT GetItemID(int nIndex) const;
    // The button's rectangle in client coordinates (a pending layout is made first).
    virtual void GetItemRect(int nIndex, LPRECT lpRect) const;
    UINT GetButtonStyle(int nIndex) const;
    void SetButtonStyle(int nIndex, UINT nStyle);
    void GetButtonInfo(int nIndex, UINT& nID, UINT& nStyle, int& iImage) const;
    void SetButtonInfo(int nIndex, UINT nID, UINT nStyle, int iImage);
    CToolBarCtrl& GetToolBarCtrl() const { return *(CToolBarCtrl*)this; }
    // The window that gets the control's notifications and commands.
    void SetOwner(CWnd* pOwnerWnd);

    virtual CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz);
    virtual CSize CalcDynamicLayout(int nLength, DWORD dwMode);
    virtual INT_PTR OnToolHitTest(CPoint point, TOOLINFO* pTI) const;
    virtual void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler);
    virtual void OnBarStyleChange(DWORD dwOldStyle, DWORD dwNewStyle);

    CSize m_sizeButton;
    CSize m_sizeImage;

    afx_msg BOOL OnNcCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
    afx_msg void OnNcPaint();
    afx_msg void OnPaint();
    afx_msg LRESULT OnNcHitTest(CPoint point);
    afx_msg void OnWindowPosChanging(WINDOWPOS* lpWndPos);
    afx_msg void OnSysColorChange();
    afx_msg LRESULT OnSetButtonSize(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSetBitmapSize(WPARAM wParam, LPARAM lParam);

protected:
    HRSRC m_hRsrcImageWell;    // the bitmap resource (reloaded when the system's colours change)
    HINSTANCE m_hInstImageWell;
    HBITMAP m_hbmImageWell;
    BOOL m_bDelayedButtonLayout; // the buttons' wrapping is to be made before they are shown

    // The bar's size for a mode (and length) through a copy of the buttons; LM_COMMIT applies it.
    CSize CalcLayout(DWORD dwMode, int nLength = -1);
    // The size of the buttons as wrapped now.
    CSize CalcSize(TBBUTTON* pData, int nCount);
    // Wraps the buttons into rows no wider than nWidth; answers the number of rows.
    int WrapToolBar(TBBUTTON* pData, int nCount, int nWidth);
    // Wraps the buttons for a width (bVert: a height) as narrowly as the same number of rows
    // allows.
    void SizeToolBar(TBBUTTON* pData, int nCount, int nLength, BOOL bVert = FALSE);
    // The pending layout for the bar's place.
    void Layout();
    // A button as the bar sees it (enabled bit turned round), and back into the control.
    void GetButton(int nIndex, TBBUTTON* pButton) const;
    void SetButton(int nIndex, TBBUTTON* pButton);
    BOOL AddReplaceBitmap(HBITMAP hbmImageWell);

    DECLARE_MESSAGE_MAP()
};

// The contents of a toolbar resource (RT_TOOLBAR): a header and wItemCount command ids.
struct CToolBarData {
    WORD wVersion;
    WORD wWidth;
    WORD wHeight;
    WORD wItemCount;
    WORD* items() { return (WORD*)(this + 1); }
};
static_assert(sizeof(CToolBarData) == 8, "the toolbar resource's header is four WORDs");
