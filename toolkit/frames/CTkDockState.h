// The arrangement of a frame's bars as the toolkit keeps it: the class library's dock state
// (which bars are docked where and in which row, which float and where, which are hidden),
// written and read through the toolkit's registry helper under the current user instead of the
// application's profile functions. The value names, types and defaults are the library's:
//
//   "<profile>-Summary": "Bars" (sections written), "ScreenCX", "ScreenCY" (screen size then)
//   "<profile>-Bar<n>":  "BarID", "Visible", "Horz", "Floating", "XPos", "YPos", "MRUWidth",
//                        "Docking" with "MRUDockID", "MRUDock{Left,Top,Right,Bottom}Pos",
//                        "MRUFloatStyle", "MRUFloat{X,Y}Pos", and "Bars" with "Bar#0", "Bar#1", ...
//
// Every value is a REG_DWORD written only when it differs from its default. A dock bar's entries
// are 0 for a row end, a bar id, or id | 0x10000 for a placeholder.
//
// Loading never trusts the stored counts: it stops at the first bar section that is missing (or
// names no bar) and at the first missing "Bar#n", and reads no more entries than a dock bar can
// hold, so a damaged count cannot make it read on for ever.
#pragma once

#include <afxext.h>
#include <afxpriv.h>

#include "CDockState.h"
#include "CControlBarInfo.h"

class CTkRegistryHelper;

class CTkDockState : public CDockState {
    DECLARE_SERIAL(CTkDockState)
public:
    CTkDockState();
    ~CTkDockState() override;

    // Reads the summary and the bar sections of the profile into the infos (positions scaled to
    // this screen).
    void LoadState(LPCTSTR lpszProfileName);
    // Writes one section per info worth keeping (numbered without gaps), then the summary.
    void SaveState(LPCTSTR lpszProfileName);

    // One info and its section "<profile>-Bar<nIndex>". Loading: TRUE when the section names a
    // bar. Saving deletes the section first; FALSE (section left deleted) for a visible docked
    // dock bar without bars.
    BOOL LoadBarInfo(LPCTSTR lpszProfileName, int nIndex, CControlBarInfo* pInfo);
    static BOOL SaveBarInfo(LPCTSTR lpszProfileName, int nIndex, const CControlBarInfo* pInfo);

    // The most entries a dock bar's list can have (every control-bar id in a row of its own).
    static const int nMaxBarEntries;
};
