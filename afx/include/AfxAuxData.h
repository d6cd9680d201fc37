// System metrics, colours and drawing objects that the library's windows, bars and menus share,
// kept in one object (afxData) so that drawing code reads them without asking the system each
// time. The main frame window refreshes them when the system's colours or settings change
// (WM_SYSCOLORCHANGE, WM_SETTINGCHANGE); a program may call the Update functions itself.
#pragma once

#include "AfxBase.h"

struct AUX_DATA {
    AUX_DATA();
    ~AUX_DATA();

    // ---- metrics ----
    int cxBorder2, cyBorder2;   // two border lines (bars draw and overlap borders of this width)
    int cxVScroll, cyHScroll;   // a vertical scroll bar's width, a horizontal one's height
    int cxIcon, cyIcon;         // an icon's size
    int cxPixelsPerInch, cyPixelsPerInch; // of the screen

    // ---- colours (the button face and its 3-D edges, button text, window frame) ----
    COLORREF clrBtnFace, clrBtnShadow, clrBtnHilite, clrBtnText, clrWindowFrame;
    HBRUSH hbrBtnFace;      // solid brush of clrBtnFace
    HBRUSH hbrWindowFrame;  // solid brush of clrWindowFrame

    // ---- cursors ----
    HCURSOR hcurWait, hcurArrow;

    // The check bitmap of radio items of menus (CCmdUI::SetRadio): a monochrome bitmap of the
    // system's check-mark size with a round dot, black on white as menus expect their check
    // bitmaps. Owner-drawn menus recognise a radio item by this handle as its checked bitmap.
    HBITMAP hbmMenuDot;

    // Read the colours again (and remake the brushes), and the metrics (and remake the dot).
    void UpdateSysColors();
    void UpdateSysMetrics();

private:
    AUX_DATA(const AUX_DATA&) = delete;
    AUX_DATA& operator=(const AUX_DATA&) = delete;
};

extern AUX_DATA afxData;
