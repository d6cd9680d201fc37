// An owner-drawn push button with an icon or bitmap and text, five frame looks, hover tracking by a
// timer, an optional focus rectangle and flicker-free painting.
#pragma once

#include <afxwin.h>

// Looks of a CTkButton (SetXButtonStyle).
#define TKBS_FLAT 0x01      // no frame until hot (raised) or pressed (sunken)
#define TKBS_THIN 0x02      // one-pixel 3-D frame
#define TKBS_IMAGETOP 0x04  // image above the text, both centred
#define TKBS_FOCUS 0x10     // focus rectangle when focused
#define TKBS_DITHER 0x20    // dithered face while pressed
#define TKBS_HOTLOOK 0x40   // border and fill in hot colours while hot or pressed

class CTkButton : public CButton {
    DECLARE_DYNAMIC(CTkButton)
public:
    CTkButton();
    ~CTkButton() override;

    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
    virtual void SetColors(COLORREF clrFace, COLORREF clrHilite, COLORREF clrShadow, COLORREF clrText,
                           BOOL bRedraw = TRUE);
    virtual void SetColorFace(COLORREF clr, BOOL bRedraw = TRUE);
    virtual COLORREF GetColorFace();
    virtual void SetColorHilite(COLORREF clr, BOOL bRedraw = TRUE);
    virtual void SetColorShadow(COLORREF clr, BOOL bRedraw = TRUE);
    virtual void SetTextColor(COLORREF clr, BOOL bRedraw = TRUE);
    virtual void SetHotColors(COLORREF clrBorder, COLORREF clrHotFill, COLORREF clrPressedFill,
                              BOOL bRedraw = TRUE);
    virtual BOOL SetIconByName(int cx, int cy, LPCTSTR lpszName, LPCTSTR lpszPushed = NULL,
                               BOOL bRedraw = TRUE);
    virtual BOOL SetIconById(int cx, int cy, UINT nID, UINT nPushedID = 0, BOOL bRedraw = TRUE);
    virtual BOOL SetIconHandles(int cx, int cy, HICON hIcon, HICON hPushed = NULL, BOOL bRedraw = TRUE);
    virtual BOOL SetBitmap(int cx, int cy, UINT nIDBitmap, BOOL bRedraw = TRUE);
    virtual BOOL SetImagePositions(CPoint ptImage, CPoint ptText, BOOL bRedraw = TRUE);
    virtual DWORD GetXButtonStyle();
    virtual void ResetImage();
    virtual CFont* SetFontEx(CFont* pFont);
    virtual void CleanUpGDI();
    virtual void DrawIcon(CDC* pDC, UINT nState, CRect& rcItem);
    virtual void DrawButtonText(CDC* pDC, UINT nState, CRect& rcItem);
    virtual void DrawButtonBitmap(CDC* pDC, UINT nState, CRect& rcItem);
    virtual CString GetButtonText(BOOL bRemoveMnemonics);
    virtual CPoint CalcImagePos(CDC* pDC, UINT nState, CRect& rcItem, BOOL bHasPushedIcon);

    DWORD SetXButtonStyle(DWORD dwStyle, BOOL bRedraw = TRUE);

    // The placement rules without a window: what CalcImagePos and DrawButtonText compute.
    struct Layout {
        DWORD dwXStyle;    // TKBS_* bits
        DWORD dwBsAlign;   // the window's BS_LEFT/BS_RIGHT/BS_CENTER/BS_VCENTER bits
        CSize sizeClient;  // client size
        CRect rcItem;      // content rectangle
        CSize sizeImage;
        CSize sizeText;    // of the text without mnemonics; (0,0) without text
        int nBorderGap, nImageGap;
        BOOL bPressed;
    };
    static CPoint ImagePos(const Layout& l, BOOL bHasPushedIcon);
    static CPoint TextPos(const Layout& l);

    // Fields in their order.
    int m_nBorderGap;
    int m_nImageGap;
    BOOL m_bHot;
    BOOL m_bFixedPositions;
    BOOL m_bMouseDown;
    BOOL m_bCallerColors;
    BOOL m_bTracking;
    int m_cxImage, m_cyImage;
    DWORD m_dwXStyle;
    HICON m_hIcon, m_hIconPushed;
    CPoint m_ptImage, m_ptText;
    CFont* m_pFont;
    HBITMAP m_hBitmap, m_hBitmapDisabled;
    COLORREF m_clrText, m_clrFace, m_clrHilite, m_clrShadow;
    BOOL m_bOwnHotColors;
    int m_nInitSequence;
    COLORREF m_clrHotFill, m_clrPressedFill, m_clrHotBorder;

protected:
    void PreSubclassWindow() override;
    void PostDeferredInit();
    void Redraw(BOOL bRedraw);
    Layout MakeLayout(CDC* pDC, UINT nState, const CRect& rcItem);

    afx_msg int OnCreate(LPCREATESTRUCT lpcs);
    afx_msg LRESULT OnDeferredInit(WPARAM wParam, LPARAM lParam);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnSysColorChange();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnPaint();
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()
};
