// An item of the menu bar: its place in the bar's client area, whether a row ends after it, and
// the bar operations it draws itself and acts with.
#pragma once

#include <afxwin.h>

class CTkMenuBar;

class CTkMenuBarItem : public CObject {
public:
    typedef void (CTkMenuBar::*PFNITEMOP)(CTkMenuBarItem* pItem);
    typedef void (CTkMenuBar::*PFNITEMDRAW)(CDC* pDC, CTkMenuBarItem* pItem);

    CTkMenuBarItem(CTkMenuBar* pBar, PFNITEMDRAW pfnDraw, PFNITEMOP pfnTrack, PFNITEMOP pfnDblClk);

    virtual BOOL IsHidden() const;
    virtual void Draw(CDC* pDC);
    virtual BOOL GetMnemonic(TCHAR& ch) const;
    virtual void GetSize(CSize& size) const = 0;
    virtual BOOL CanWrap() const;
    virtual int GetSpacing() const;
    virtual void Track();
    virtual void OnDblClk();

    BOOL m_bWrap;
    int m_x;
    int m_y;
    CTkMenuBar* m_pBar;
    PFNITEMDRAW m_pfnDraw;
    PFNITEMOP m_pfnTrack;
    PFNITEMOP m_pfnDblClk;
};
