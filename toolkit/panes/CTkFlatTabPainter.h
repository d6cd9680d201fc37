// Flat drawing of a tab control: a coloured tab strip, the selected tab raised out of it,
// separators between the others, labels in the toolkit's menu fonts, a thin frame around the page
// area, and the navigation buttons at the end of the tab row.
#pragma once

#include <afxcmn.h>
#include <afxext.h>

class CTkTabNavButtons;

class CTkFlatTabPainter {
public:
    CTkFlatTabPainter();
    virtual ~CTkFlatTabPainter();

    // The page area for views: empty without a selected tab.
    virtual void GetChildRect(CRect& rect) const;
    virtual int DrawTabsTop(CDC* pDC, CRect rectClient, CRect rectSel);
    virtual int DrawTabsBottom(CDC* pDC, CRect rectClient, CRect rectSel);
    virtual int DrawTabsLeft(CDC* pDC, CRect rectClient, CRect rectSel);
    virtual int DrawTabsRight(CDC* pDC, CRect rectClient, CRect rectSel);
    // Pads a label with spaces, alternately in front and at the end, until it is as wide in the
    // plain vertical font as in the bold one.
    virtual void PadTabText(CString& text);

    // The page area as a pure function of the client rectangle, the selected tab's rectangle,
    // the number of rows and the control's style.
    static CRect ComputeChildRect(const CRect& rectClient, const CRect& rectSel, int nRows, DWORD dwStyle);

    void SetNavButtons(DWORD dwOptions);
    CTkTabNavButtons* GetNavButtons() const { return m_pNavButtons; }
    void SetDefaultPainting(BOOL bDefault) { m_bDefaultPainting = bDefault; }
    void SetPageFrame(BOOL bFrame) { m_bPageFrame = bFrame; }
    void SetBoldSelection(BOOL bBold) { m_bBoldSelection = bBold; }
    // The tabs are drawn flat (not the platform's painting).
    BOOL IsFlat() const;

protected:
    int m_nEdge;
    CPen m_penDark, m_penLight, m_penFace, m_penShadow;
    CTabCtrl* m_pTabCtrl;
    BOOL m_bBoldSelection;
    BOOL m_bPageFrame;
    BOOL m_bDefaultPainting;
    BOOL m_bAutoCondense;
    CTkTabNavButtons* m_pNavButtons;

    // Binds the painter and its navigation buttons to the control.
    void BindTabCtrl(CTabCtrl* pTabCtrl);
    void CreatePens();
    // The whole control into pDC (the client area).
    void PaintTabs(CDC* pDC);
    void UpdateNavButtons();
    void DrawTabLabels(CDC* pDC, BOOL bVertical, int nSelected);
};
