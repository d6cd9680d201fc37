#include "AfxDockingPrivate.h"
#include "CControlBarInfo.h"
#include "CDockState.h"
#include "CArchive.h"

namespace {

// The names in the registry.
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
// The most entries a dock bar's row list can have: every control-bar id once, each in a row of
// its own, with the first entry.
const int kMaxEntries = 2 * (AFX_IDW_CONTROLBAR_LAST - AFX_IDW_CONTROLBAR_FIRST + 1) + 1;

CString SectionName(LPCTSTR lpszProfileName, int nIndex)
{
    CString strSection;
    strSection.Format(kBarSection, lpszProfileName, nIndex);
    return strSection;
}

// Points and rectangles in archives: their LONGs in order.
void WritePoint(CArchive& ar, const POINT& pt) { ar << (LONG)pt.x << (LONG)pt.y; }
void ReadPoint(CArchive& ar, POINT& pt)
{
    LONG x = 0;
    LONG y = 0;
    ar >> x >> y;
    pt.x = x;
    pt.y = y;
}

} // namespace

CControlBarInfo::CControlBarInfo()
    : m_nBarID(0), m_bVisible(FALSE), m_bFloating(FALSE), m_bHorz(FALSE), m_bDockBar(FALSE), m_pointPos(-1, -1),
      m_nMRUWidth(32767), m_bDocking(FALSE), m_uMRUDockID(0), m_rectMRUDockPos(0, 0, 0, 0), m_dwMRUFloatStyle(0),
      m_ptMRUFloatPos(0, 0), m_pBar(NULL)
{
}

BOOL CControlBarInfo::SaveState(LPCTSTR lpszProfileName, int nIndex)
{
    CWinApp* pApp = AfxGetApp();
    if (pApp == NULL)
        return FALSE;
    CString strSection = SectionName(lpszProfileName, nIndex);
    // the section of an earlier save goes first: values at their defaults are not written
    pApp->WriteProfileString(strSection, NULL, NULL);
    // a frame's dock bar without bars says nothing worth keeping
    if (m_bDockBar && m_bVisible && !m_bFloating && m_pointPos.x == -1 && m_pointPos.y == -1 && m_arrBarID.GetSize() <= 1)
        return FALSE;

    pApp->WriteProfileInt(strSection, kID, (int)m_nBarID);
    if (!m_bVisible)
        pApp->WriteProfileInt(strSection, kVisible, m_bVisible);
    if (m_bFloating) {
        pApp->WriteProfileInt(strSection, kHorz, m_bHorz);
        pApp->WriteProfileInt(strSection, kFloating, m_bFloating);
    }
    if (m_pointPos.x != -1)
        pApp->WriteProfileInt(strSection, kXPos, m_pointPos.x);
    if (m_pointPos.y != -1)
        pApp->WriteProfileInt(strSection, kYPos, m_pointPos.y);
    if (m_nMRUWidth != 32767)
        pApp->WriteProfileInt(strSection, kMRUWidth, (int)m_nMRUWidth);
    if (m_bDocking) {
        pApp->WriteProfileInt(strSection, kDocking, m_bDocking);
        pApp->WriteProfileInt(strSection, kMRUDockID, (int)m_uMRUDockID);
        pApp->WriteProfileInt(strSection, kMRUDockLeftPos, m_rectMRUDockPos.left);
        pApp->WriteProfileInt(strSection, kMRUDockTopPos, m_rectMRUDockPos.top);
        pApp->WriteProfileInt(strSection, kMRUDockRightPos, m_rectMRUDockPos.right);
        pApp->WriteProfileInt(strSection, kMRUDockBottomPos, m_rectMRUDockPos.bottom);
        pApp->WriteProfileInt(strSection, kMRUFloatStyle, (int)m_dwMRUFloatStyle);
        pApp->WriteProfileInt(strSection, kMRUFloatXPos, m_ptMRUFloatPos.x);
        pApp->WriteProfileInt(strSection, kMRUFloatYPos, m_ptMRUFloatPos.y);
    }
    // a dock bar's entries (the first one alone means no bars)
    if (m_arrBarID.GetSize() > 1) {
        pApp->WriteProfileInt(strSection, kBars, m_arrBarID.GetSize());
        for (int i = 0; i < m_arrBarID.GetSize(); i++) {
            CString strName;
            strName.Format(kBar, i);
            pApp->WriteProfileInt(strSection, strName, (int)EntryToId(m_arrBarID[i]));
        }
    }
    return TRUE;
}

BOOL CControlBarInfo::LoadState(LPCTSTR lpszProfileName, int nIndex, CDockState* pDockState)
{
    CWinApp* pApp = AfxGetApp();
    if (pApp == NULL)
        return FALSE;
    CString strSection = SectionName(lpszProfileName, nIndex);
    m_nBarID = pApp->GetProfileInt(strSection, kID, 0);
    m_bVisible = (BOOL)pApp->GetProfileInt(strSection, kVisible, TRUE);
    m_bHorz = (BOOL)pApp->GetProfileInt(strSection, kHorz, TRUE);
    m_bFloating = (BOOL)pApp->GetProfileInt(strSection, kFloating, FALSE);
    m_pointPos = CPoint((int)pApp->GetProfileInt(strSection, kXPos, -1), (int)pApp->GetProfileInt(strSection, kYPos, -1));
    pDockState->ScalePoint(m_pointPos);
    m_nMRUWidth = pApp->GetProfileInt(strSection, kMRUWidth, 32767);
    m_bDocking = (BOOL)pApp->GetProfileInt(strSection, kDocking, 0);
    if (m_bDocking) {
        m_uMRUDockID = pApp->GetProfileInt(strSection, kMRUDockID, 0);
        m_rectMRUDockPos = CRect((int)pApp->GetProfileInt(strSection, kMRUDockLeftPos, 0),
                                 (int)pApp->GetProfileInt(strSection, kMRUDockTopPos, 0),
                                 (int)pApp->GetProfileInt(strSection, kMRUDockRightPos, 0),
                                 (int)pApp->GetProfileInt(strSection, kMRUDockBottomPos, 0));
        pDockState->ScaleRectPos(m_rectMRUDockPos);
        m_dwMRUFloatStyle = pApp->GetProfileInt(strSection, kMRUFloatStyle, 0);
        m_ptMRUFloatPos = CPoint((int)pApp->GetProfileInt(strSection, kMRUFloatXPos, 0),
                                 (int)pApp->GetProfileInt(strSection, kMRUFloatYPos, 0));
        pDockState->ScalePoint(m_ptMRUFloatPos);
    }
    // A dock bar's entries (a damaged count reads no more than a dock bar can hold).
    int nBars = (int)pApp->GetProfileInt(strSection, kBars, 0);
    m_arrBarID.RemoveAll();
    for (int i = 0; i < nBars && i < kMaxEntries; i++) {
        CString strName;
        strName.Format(kBar, i);
        m_arrBarID.Add(IdToEntry(pApp->GetProfileInt(strSection, strName, 0)));
    }
    return m_nBarID != 0;
}

void CControlBarInfo::Serialize(CArchive& ar, CDockState* pDockState)
{
    if (ar.IsStoring()) {
        ar << (DWORD)m_nBarID;
        ar << (WORD)m_bVisible;
        ar << (WORD)m_bFloating;
        ar << (WORD)m_bHorz;
        WritePoint(ar, m_pointPos);
        if (pDockState->GetVersion() > 1) {
            ar << (WORD)m_nMRUWidth;
            ar << (WORD)m_bDocking;
            if (m_bDocking) {
                ar << (DWORD)m_uMRUDockID;
                ar << (LONG)m_rectMRUDockPos.left << (LONG)m_rectMRUDockPos.top << (LONG)m_rectMRUDockPos.right
                   << (LONG)m_rectMRUDockPos.bottom;
                ar << m_dwMRUFloatStyle;
                WritePoint(ar, m_ptMRUFloatPos);
            }
        }
        // the ids as DWORDs, whatever the size of a pointer
        ar << (WORD)m_arrBarID.GetSize();
        for (int i = 0; i < m_arrBarID.GetSize(); i++)
            ar << EntryToId(m_arrBarID[i]);
        return;
    }
    DWORD dw = 0;
    WORD w = 0;
    ar >> dw;
    m_nBarID = dw;
    ar >> w;
    m_bVisible = w;
    ar >> w;
    m_bFloating = w;
    ar >> w;
    m_bHorz = w;
    ReadPoint(ar, m_pointPos);
    pDockState->ScalePoint(m_pointPos);
    if (pDockState->GetVersion() > 1) {
        ar >> w;
        m_nMRUWidth = w;
        ar >> w;
        m_bDocking = w;
        if (m_bDocking) {
            ar >> dw;
            m_uMRUDockID = dw;
            LONG l = 0, t = 0, r = 0, b = 0;
            ar >> l >> t >> r >> b;
            m_rectMRUDockPos.SetRect(l, t, r, b);
            pDockState->ScaleRectPos(m_rectMRUDockPos);
            ar >> m_dwMRUFloatStyle;
            ReadPoint(ar, m_ptMRUFloatPos);
            pDockState->ScalePoint(m_ptMRUFloatPos);
        }
    }
    WORD nCount = 0;
    ar >> nCount;
    m_arrBarID.RemoveAll();
    for (WORD i = 0; i < nCount; i++) {
        ar >> dw;
        m_arrBarID.Add(IdToEntry(dw));
    }
}
