// The floating frame of a toolkit frame's bars (the frame's floating-frame class): the class
// library's floating frame with a caption of its own. The caption is painted flat or raised as
// the toolkit looks, carries the bar's title in bold (or "Symbolleiste") and a close button, and
// for a customizable toolbar an expand button; the buttons show tips. Drags, sizing and double
// clicks on the caption go to the bar's docking context. Bars that are no toolkit bars keep the
// library's caption.
#pragma once

#include <afxcmn.h>
#include <afxext.h>
#include <afxpriv.h>

#ifndef TKWM_DEFERRED_INIT
#define TKWM_DEFERRED_INIT 0x89DE
#endif
#define TKWM_POPUP_CLOSED 0x89DF // the expand button's popup went

class CTkControlBar;
class CTkMiniDockFrameWnd;

// One button of the caption.
struct TK_CAPTIONBUTTON {
    BYTE bHidden;      // it does not fit into the caption
    BYTE bHot;         // the mouse is over it
    BYTE bPressed;     // the left button went down on it and is not yet up
    BYTE bHighlighted; // its last drawing showed a hot or pressed frame
    int nType;         // 0 close, 1 expand
    CTkMiniDockFrameWnd* pFrame;
    CTkControlBar* pBar;
};

class CTkMiniDockFrameWnd : public CMiniDockFrameWnd {
    DECLARE_DYNCREATE(CTkMiniDockFrameWnd)
public:
    CTkMiniDockFrameWnd();
    ~CTkMiniDockFrameWnd() override;

    BOOL Create(CWnd* pParent, DWORD dwBarStyle) override;
    // Never narrower than the small icon and the caption buttons.
    void CalcWindowRect(LPRECT lpClientRect, UINT nAdjustType = 0) override;

    virtual bool IsValidBar(CControlBar* pBar);
    virtual bool IsTkControlBar(CControlBar* pBar);
    virtual bool IsTkToolBar(CControlBar* pBar);
    virtual bool IsTkMenuBar(CControlBar* pBar);
    virtual bool IsTkDockWindow(CControlBar* pBar);
    virtual CDockBar* GetDockBar();
    // The first bar docked in the frame when it is a toolkit bar, else NULL.
    virtual CTkControlBar* GetContainedBar();
    virtual CDockContext* GetBarDockContext(CControlBar* pBar);
    // pWindowRect NULL: the frame's window rectangle on the screen.
    virtual void DrawCaptionButton(CDC* pDC, const RECT* pWindowRect, TK_CAPTIONBUTTON* pButton);
    virtual void ShowButtonTip(int x, int y, bool bClose);

    // The place of a caption button of type nType in the window rectangle rectWindow, and
    // whether it is hidden (does not fit).
    static CRect CalcButtonRect(const CRect& rectWindow, int nType, BOOL bFlatLook, BOOL* pbHidden);
    // The same for a button of this frame (its hidden flag updated).
    CRect GetButtonRect(TK_CAPTIONBUTTON* pButton, const RECT* pWindowRect = NULL);

    BYTE m_bInitialized;
    CPtrList m_listButtons; // TK_CAPTIONBUTTON*, owned, in drawing order
    CImageList m_imlGlyphs;
    CToolTipCtrl m_wndToolTip;
    CWnd* m_pOpenPopup;
    TK_CAPTIONBUTTON* m_pPressedButton;

protected:
    void DeleteButtons();
    void RepaintCaption() { SendMessage(WM_NCPAINT, 1); }

    afx_msg LRESULT OnDeferredInit(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnPopupClosed(WPARAM wParam, LPARAM lParam);
    afx_msg void OnCustomize();
    afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
    afx_msg void OnNcPaint();
    afx_msg BOOL OnNcActivate(BOOL bActive);
    afx_msg void OnNcMouseMove(UINT nHitTest, CPoint point);
    afx_msg void OnNcLButtonDown(UINT nHitTest, CPoint point);
    afx_msg void OnNcLButtonUp(UINT nHitTest, CPoint point);
    afx_msg void OnNcLButtonDblClk(UINT nHitTest, CPoint point);
    DECLARE_MESSAGE_MAP()
};
