#include "CTkDockState.h"

#include "CTkRegistryHelper.h"

IMPLEMENT_SERIAL(CTkDockState, CDockState, 0)

namespace {

const char kSummarySection[] = "%s-Summary";
const char kBarSection[] = "%s-Bar%d";
const char kID[] = "BarID";
const char kVisible[] = "Visible";
const char kHorz[] = "Horz";
const char kFloating[] = "Floating";
const char kXPos[] = "XPos";
const char kYPos[] = "YPos";
const char kMRUWidth[] = "MRUWidth";
const char kDocking[] = "Docking";
const char kMRUDockID[] = "MRUDockID";
const char kMRUDockLeftPos[] = "MRUDockLeftPos";
const char kMRUDockTopPos[] = "MRUDockTopPos";
const char kMRUDockRightPos[] = "MRUDockRightPos";
const char kMRUDockBottomPos[] = "MRUDockBottomPos";
const char kMRUFloatStyle[] = "MRUFloatStyle";
const char kMRUFloatXPos[] = "MRUFloatXPos";
const char kMRUFloatYPos[] = "MRUFloatYPos";
const char kBars[] = "Bars";
const char kBar[] = "Bar#%d";

// A stored id can never have all bits set: the value that marks a missing "Bar#n".
const UINT kMissing = 0xFFFFFFFF;

CString BarSection(LPCTSTR lpszProfileName, int nIndex)
{
    CString strSection;
    strSection.Format(kBarSection, lpszProfileName, nIndex);
    return strSection;
}

int ReadInt(CTkRegistryHelper& reg, LPCTSTR lpszSection, LPCTSTR lpszEntry, int nDefault)
{
    return (int)reg.GetProfileInt(lpszSection, lpszEntry, nDefault);
}

} // namespace

const int CTkDockState::nMaxBarEntries = 2 * (AFX_IDW_CONTROLBAR_LAST - AFX_IDW_CONTROLBAR_FIRST + 1) + 1;

CTkDockState::CTkDockState() {}

CTkDockState::~CTkDockState() {}

BOOL CTkDockState::SaveBarInfo(LPCTSTR lpszProfileName, int nIndex, const CControlBarInfo* pInfo)
{
    CTkRegistryHelper reg(HKEY_CURRENT_USER);
    CString strSection = BarSection(lpszProfileName, nIndex);
    // what an earlier save left goes first: values at their defaults are not written
    reg.WriteProfileString(strSection, NULL, NULL);
    if (pInfo->m_bDockBar && pInfo->m_bVisible && !pInfo->m_bFloating && pInfo->m_pointPos.x == -1 &&
        pInfo->m_pointPos.y == -1 && pInfo->m_arrBarID.GetSize() <= 1)
        return FALSE;

    reg.WriteProfileInt(strSection, kID, (int)pInfo->m_nBarID);
    if (!pInfo->m_bVisible)
        reg.WriteProfileInt(strSection, kVisible, 0);
    if (pInfo->m_bFloating) {
        reg.WriteProfileInt(strSection, kHorz, pInfo->m_bHorz);
        reg.WriteProfileInt(strSection, kFloating, 1);
    }
    if (pInfo->m_pointPos.x != -1)
        reg.WriteProfileInt(strSection, kXPos, pInfo->m_pointPos.x);
    if (pInfo->m_pointPos.y != -1)
        reg.WriteProfileInt(strSection, kYPos, pInfo->m_pointPos.y);
    if (pInfo->m_nMRUWidth != 32767)
        reg.WriteProfileInt(strSection, kMRUWidth, (int)pInfo->m_nMRUWidth);
    if (pInfo->m_bDocking) {
        reg.WriteProfileInt(strSection, kDocking, 1);
        reg.WriteProfileInt(strSection, kMRUDockID, (int)pInfo->m_uMRUDockID);
        reg.WriteProfileInt(strSection, kMRUDockLeftPos, pInfo->m_rectMRUDockPos.left);
        reg.WriteProfileInt(strSection, kMRUDockTopPos, pInfo->m_rectMRUDockPos.top);
        reg.WriteProfileInt(strSection, kMRUDockRightPos, pInfo->m_rectMRUDockPos.right);
        reg.WriteProfileInt(strSection, kMRUDockBottomPos, pInfo->m_rectMRUDockPos.bottom);
        reg.WriteProfileInt(strSection, kMRUFloatStyle, (int)pInfo->m_dwMRUFloatStyle);
        reg.WriteProfileInt(strSection, kMRUFloatXPos, pInfo->m_ptMRUFloatPos.x);
        reg.WriteProfileInt(strSection, kMRUFloatYPos, pInfo->m_ptMRUFloatPos.y);
    }
    if (pInfo->m_arrBarID.GetSize() > 1) {
        reg.WriteProfileInt(strSection, kBars, (int)pInfo->m_arrBarID.GetSize());
        for (int i = 0; i < pInfo->m_arrBarID.GetSize(); i++) {
            CString strName;
            strName.Format(kBar, i);
            reg.WriteProfileInt(strSection, strName, (int)CControlBarInfo::EntryToId(pInfo->m_arrBarID[i]));
        }
    }
    return TRUE;
}

BOOL CTkDockState::LoadBarInfo(LPCTSTR lpszProfileName, int nIndex, CControlBarInfo* pInfo)
{
    CTkRegistryHelper reg(HKEY_CURRENT_USER);
    CString strSection = BarSection(lpszProfileName, nIndex);
    pInfo->m_nBarID = reg.GetProfileInt(strSection, kID, 0);
    pInfo->m_bVisible = ReadInt(reg, strSection, kVisible, TRUE) != 0;
    pInfo->m_bHorz = ReadInt(reg, strSection, kHorz, TRUE) != 0;
    pInfo->m_bFloating = ReadInt(reg, strSection, kFloating, FALSE) != 0;
    pInfo->m_pointPos = CPoint(ReadInt(reg, strSection, kXPos, -1), ReadInt(reg, strSection, kYPos, -1));
    ScalePoint(pInfo->m_pointPos);
    if (pInfo->m_bFloating) {
        // a floating frame never starts above or left of the screen, where nothing could reach it
        if (pInfo->m_pointPos.x < m_rectDevice.left)
            pInfo->m_pointPos.x = m_rectDevice.left;
        if (pInfo->m_pointPos.y < m_rectDevice.top)
            pInfo->m_pointPos.y = m_rectDevice.top;
    }
    pInfo->m_nMRUWidth = reg.GetProfileInt(strSection, kMRUWidth, 32767);
    pInfo->m_bDocking = ReadInt(reg, strSection, kDocking, 0) != 0;
    if (pInfo->m_bDocking) {
        pInfo->m_uMRUDockID = reg.GetProfileInt(strSection, kMRUDockID, 0);
        pInfo->m_rectMRUDockPos = CRect(ReadInt(reg, strSection, kMRUDockLeftPos, 0), ReadInt(reg, strSection, kMRUDockTopPos, 0),
                                        ReadInt(reg, strSection, kMRUDockRightPos, 0), ReadInt(reg, strSection, kMRUDockBottomPos, 0));
        ScaleRectPos(pInfo->m_rectMRUDockPos);
        pInfo->m_dwMRUFloatStyle = reg.GetProfileInt(strSection, kMRUFloatStyle, 0);
        pInfo->m_ptMRUFloatPos = CPoint(ReadInt(reg, strSection, kMRUFloatXPos, 0), ReadInt(reg, strSection, kMRUFloatYPos, 0));
        ScalePoint(pInfo->m_ptMRUFloatPos);
    }
    // the entries that exist, at most as many as a dock bar can hold
    int nBars = ReadInt(reg, strSection, kBars, 0);
    pInfo->m_arrBarID.RemoveAll();
    for (int i = 0; i < nBars && i < nMaxBarEntries; i++) {
        CString strName;
        strName.Format(kBar, i);
        UINT nID = reg.GetProfileInt(strSection, strName, (int)kMissing);
        if (nID == kMissing)
            break;
        pInfo->m_arrBarID.Add(CControlBarInfo::IdToEntry(nID));
    }
    return pInfo->m_nBarID != 0;
}

void CTkDockState::LoadState(LPCTSTR lpszProfileName)
{
    Clear();
    CTkRegistryHelper reg(HKEY_CURRENT_USER);
    CString strSection;
    strSection.Format(kSummarySection, lpszProfileName);
    int nBars = ReadInt(reg, strSection, kBars, 0);
    CSize size(ReadInt(reg, strSection, "ScreenCX", 0), ReadInt(reg, strSection, "ScreenCY", 0));
    SetScreenSize(size);
    // The sections are written without gaps: the first one missing ends what was saved.
    for (int i = 0; i < nBars; i++) {
        CControlBarInfo* pInfo = new CControlBarInfo;
        if (!LoadBarInfo(lpszProfileName, i, pInfo)) {
            delete pInfo;
            break;
        }
        m_arrBarInfo.Add(pInfo);
    }
}

void CTkDockState::SaveState(LPCTSTR lpszProfileName)
{
    int nIndex = 0;
    for (int i = 0; i < m_arrBarInfo.GetSize(); i++) {
        if (SaveBarInfo(lpszProfileName, nIndex, (const CControlBarInfo*)m_arrBarInfo[i]))
            nIndex++;
    }
    CTkRegistryHelper reg(HKEY_CURRENT_USER);
    CString strSection;
    strSection.Format(kSummarySection, lpszProfileName);
    reg.WriteProfileInt(strSection, kBars, nIndex);
    CSize size = GetScreenSize();
    reg.WriteProfileInt(strSection, "ScreenCX", size.cx);
    reg.WriteProfileInt(strSection, "ScreenCY", size.cy);
}
