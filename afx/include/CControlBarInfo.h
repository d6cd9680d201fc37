// The saved state of one control bar of a frame (dock bars and floating dock bars included): one
// entry of a CDockState.
//
// In the registry (profile functions of the application) a bar is the section "<profile>-Bar<n>"
// with REG_DWORD values, each written only when it differs from its default (the same default
// is used when reading): "BarID" (always), "Visible" (1), "Horz" and "Floating" (written for a
// floating bar), "XPos" and "YPos" (-1), "MRUWidth" (32767), "Docking" (0) and, with it,
// "MRUDockID", "MRUDockLeftPos", "MRUDockTopPos", "MRUDockRightPos", "MRUDockBottomPos",
// "MRUFloatStyle", "MRUFloatXPos", "MRUFloatYPos", then "Bars" and "Bar#0", "Bar#1", ... for a
// dock bar's ids (written when it lists more than its first entry).
#pragma once

#include "CRect.h"
#include "CPoint.h"
#include "CPtrArray.h"

class CArchive;
class CControlBar;
class CDockState;

class CControlBarInfo {
public:
    CControlBarInfo();
    virtual ~CControlBarInfo() {}

    UINT m_nBarID;
    BOOL m_bVisible;
    BOOL m_bFloating;   // a floating dock bar
    BOOL m_bHorz;       // its orientation
    BOOL m_bDockBar;    // the bar is a dock bar
    CPoint m_pointPos;  // a docked bar's top-left corner in its dock bar; a floating dock bar's on the screen
    UINT m_nMRUWidth;
    BOOL m_bDocking;    // the bar has a docking context (the MRU values below are valid)
    UINT m_uMRUDockID;
    CRect m_rectMRUDockPos;
    DWORD m_dwMRUFloatStyle;
    CPoint m_ptMRUFloatPos;
    // A dock bar's entries: 0 for a row end, a bar's id, id | 0x10000 for a placeholder (small
    // integers kept in the pointers' place).
    CPtrArray m_arrBarID;
    CControlBar* m_pBar; // the bar while the state is applied (not stored)

    // Writes the section nIndex of the profile; FALSE (and nothing is written, the section is
    // deleted) for a visible docked dock bar without bars.
    virtual BOOL SaveState(LPCTSTR lpszProfileName, int nIndex);
    // Reads the section (positions scaled by pDockState); FALSE when it names no bar.
    virtual BOOL LoadState(LPCTSTR lpszProfileName, int nIndex, CDockState* pDockState);
    virtual void Serialize(CArchive& ar, CDockState* pDockState);

    // The id stored for an entry of m_arrBarID, and the entry of a stored id.
    static DWORD PASCAL EntryToId(const void* pEntry) { return (DWORD)(UINT_PTR)pEntry; }
    static void* PASCAL IdToEntry(DWORD dwID) { return (void*)(UINT_PTR)dwID; }

private:
    CControlBarInfo(const CControlBarInfo&) = delete;
    CControlBarInfo& operator=(const CControlBarInfo&) = delete;
};
