// A docking window: a toolkit bar that docks with a size of its own (a docked width and height for
// each orientation), which the dock bar's row sizing and trackers change. Only its sizing part is
// here: the docked sizes, the minimum length, the expanded state of a window that takes the rest
// of its row. Its caption buttons and message handling come later.
#pragma once

#include "CTkControlBar.h"

class CTkDockWindow : public CTkControlBar {
    DECLARE_DYNAMIC(CTkDockWindow)
public:
    CTkDockWindow();
    ~CTkDockWindow() override;

    BOOL Create(CWnd* pParentWnd, LPCTSTR lpszTitle, DWORD dwStyle, UINT nID, CSize sizeDocked);

    // The docked size: along the row (cx) and across it (cy) are the window's width and height
    // docked at the top or bottom (bHorz), its width and height docked at a side otherwise.
    virtual CSize GetDockedSize(BOOL bHorz) const;
    virtual void SetDockedSize(BOOL bHorz, CSize size);
    // The least length along the row.
    virtual int GetMinimumLength(BOOL bHorz) const;
    // Expanded: the window took the rest of its row (its length before is kept to go back to).
    virtual BOOL IsExpanded() const { return m_bExpanded; }
    // The length this window gives to an expanded neighbour: all of it above its minimum.
    virtual int GetExpandLength(BOOL bHorz) const;
    // Takes nLength along the row; answers the length taken.
    virtual int Expand(int nLength, BOOL bHorz);
    // Back to the length it had before it was expanded.
    virtual void Restore(BOOL bHorz);

    CSize CalcDynamicLayout(int nLength, DWORD dwMode) override;
    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;

    CSize m_sizeHorzDocked; // at the top or bottom: width, height
    CSize m_sizeVertDocked; // at a side: width, height
    CSize m_sizeFloating;
    int m_nMinLength;
    BOOL m_bExpanded;
    int m_nLengthBeforeExpand;
};
