// The layout of a frame's control bars: which bars are docked where and in which row, which
// float and where, which are hidden (one CControlBarInfo per bar, m_arrBarInfo).
//
// CFrameWnd::GetDockState fills it from the frame and SetDockState applies it; SaveState and
// LoadState keep it in the registry through the application's profile functions: the section
// "<profile>-Summary" with "Bars" (the number of bar sections), "ScreenCX" and "ScreenCY" (the
// screen's size when saved), and the bar sections "<profile>-Bar0", "<profile>-Bar1", ... (see
// CControlBarInfo). Serialize keeps it in an archive (version 2).
//
// Positions saved on a screen of another size are scaled to this screen and kept inside the
// clip rectangle (the screen less an icon's size at the right and bottom). A saved screen size
// that is not positive means "unknown": nothing is scaled. The bar sections are numbered without
// gaps, so loading ends at a section that names no bar (whatever "Bars" says).
#pragma once

#include "CObject.h"
#include "CPtrArray.h"
#include "CRect.h"
#include "CSize.h"
#include "CPoint.h"

class CArchive;

class CDockState : public CObject {
    DECLARE_SERIAL(CDockState)
public:
    CDockState();
    virtual ~CDockState();

    CPtrArray m_arrBarInfo; // CControlBarInfo*, owned

    virtual void Serialize(CArchive& ar);
    void LoadState(LPCTSTR lpszProfileName);
    void SaveState(LPCTSTR lpszProfileName);
    // Deletes the infos.
    void Clear();
    DWORD GetVersion() const { return m_dwVersion; }

    CRect m_rectDevice; // this screen
    CRect m_rectClip;   // where positions may lie
    CSize m_sizeDevice; // the saved screen's size
    DWORD m_dwVersion;
    BOOL m_bScaling;    // the saved screen differs from this one

    void ScalePoint(CPoint& pt);
    // Moves rect (keeping its size) as ScalePoint moves its top-left corner.
    void ScaleRectPos(CRect& rect);
    CSize GetScreenSize() const;
    void SetScreenSize(CSize& size);
};
