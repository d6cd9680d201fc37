#include "AfxDockingPrivate.h"
#include "CDockState.h"
#include "CControlBarInfo.h"
#include "CArchive.h"
#include "CArchiveException.h"

IMPLEMENT_SERIAL(CDockState, CObject, 0)

namespace {

const char kSummarySection[] = "%s-Summary";
const char kBars[] = "Bars";
const char kScreenCX[] = "ScreenCX";
const char kScreenCY[] = "ScreenCY";

} // namespace

CDockState::CDockState() : m_sizeDevice(0, 0), m_dwVersion(2), m_bScaling(FALSE)
{
    m_rectDevice.SetRect(0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
    // a position may not lie where nothing of the window would show
    m_rectClip = m_rectDevice;
    m_rectClip.right -= ::GetSystemMetrics(SM_CXICON);
    m_rectClip.bottom -= ::GetSystemMetrics(SM_CYICON);
}

CDockState::~CDockState() { Clear(); }

void CDockState::Clear()
{
    for (int i = 0; i < m_arrBarInfo.GetSize(); i++)
        delete (CControlBarInfo*)m_arrBarInfo[i];
    m_arrBarInfo.RemoveAll();
}

CSize CDockState::GetScreenSize() const { return m_rectDevice.Size(); }

void CDockState::SetScreenSize(CSize& size)
{
    m_sizeDevice = size;
    // An unknown (or damaged) saved size scales nothing: scaling by 0 would put every position
    // at -1.
    m_bScaling = size.cx > 0 && size.cy > 0 && size != m_rectDevice.Size();
}

void CDockState::ScalePoint(CPoint& pt)
{
    if (m_bScaling) {
        CSize sizeDevice = m_rectDevice.Size();
        pt.x = ::MulDiv(pt.x, sizeDevice.cx, m_sizeDevice.cx);
        pt.y = ::MulDiv(pt.y, sizeDevice.cy, m_sizeDevice.cy);
    }
    if (pt.x > m_rectClip.right)
        pt.x = m_rectClip.right;
    if (pt.y > m_rectClip.bottom)
        pt.y = m_rectClip.bottom;
}

void CDockState::ScaleRectPos(CRect& rect)
{
    if (m_bScaling) {
        CSize sizeDevice = m_rectDevice.Size();
        CPoint ptNew(::MulDiv(rect.left, sizeDevice.cx, m_sizeDevice.cx), ::MulDiv(rect.top, sizeDevice.cy, m_sizeDevice.cy));
        rect.OffsetRect(ptNew.x - rect.left, ptNew.y - rect.top);
    }
    CPoint ptMove(0, 0);
    if (rect.left > m_rectClip.right)
        ptMove.x = m_rectClip.right - rect.left;
    if (rect.top > m_rectClip.bottom)
        ptMove.y = m_rectClip.bottom - rect.top;
    rect.OffsetRect(ptMove);
}

void CDockState::LoadState(LPCTSTR lpszProfileName)
{
    CWinApp* pApp = AfxGetApp();
    if (pApp == NULL)
        return;
    CString strSection;
    strSection.Format(kSummarySection, lpszProfileName);
    int nBars = (int)pApp->GetProfileInt(strSection, kBars, 0);
    CSize size((int)pApp->GetProfileInt(strSection, kScreenCX, 0), (int)pApp->GetProfileInt(strSection, kScreenCY, 0));
    SetScreenSize(size);
    // The sections are written without gaps: one that names no bar ends the saved state (a
    // damaged count reads no further).
    for (int i = 0; i < nBars; i++) {
        CControlBarInfo* pInfo = new CControlBarInfo;
        if (!pInfo->LoadState(lpszProfileName, i, this)) {
            delete pInfo;
            break;
        }
        m_arrBarInfo.Add(pInfo);
    }
}

void CDockState::SaveState(LPCTSTR lpszProfileName)
{
    CWinApp* pApp = AfxGetApp();
    if (pApp == NULL)
        return;
    // the sections are numbered over the infos written (an empty dock bar writes none)
    int nIndex = 0;
    for (int i = 0; i < m_arrBarInfo.GetSize(); i++) {
        if (((CControlBarInfo*)m_arrBarInfo[i])->SaveState(lpszProfileName, nIndex))
            nIndex++;
    }
    CString strSection;
    strSection.Format(kSummarySection, lpszProfileName);
    pApp->WriteProfileInt(strSection, kBars, nIndex);
    CSize size = GetScreenSize();
    pApp->WriteProfileInt(strSection, kScreenCX, size.cx);
    pApp->WriteProfileInt(strSection, kScreenCY, size.cy);
}

void CDockState::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << m_dwVersion;
        if (m_dwVersion > 1) {
            CSize size = GetScreenSize();
            ar << (LONG)size.cx << (LONG)size.cy;
        }
        ar << (WORD)m_arrBarInfo.GetSize();
        for (int i = 0; i < m_arrBarInfo.GetSize(); i++)
            ((CControlBarInfo*)m_arrBarInfo[i])->Serialize(ar, this);
        return;
    }
    Clear();
    ar >> m_dwVersion;
    // versions 1 (no screen size, no MRU values) and 2 are known
    if (m_dwVersion != 1 && m_dwVersion != 2) {
        m_dwVersion = 2;
        AfxThrowArchiveException(CArchiveException::badSchema);
    }
    if (m_dwVersion > 1) {
        LONG cx = 0;
        LONG cy = 0;
        ar >> cx >> cy;
        CSize size(cx, cy);
        SetScreenSize(size);
    }
    WORD nCount = 0;
    ar >> nCount;
    for (WORD i = 0; i < nCount; i++) {
        CControlBarInfo* pInfo = new CControlBarInfo;
        m_arrBarInfo.Add(pInfo);
        pInfo->Serialize(ar, this);
    }
    // what is read is kept in the current form
    m_dwVersion = 2;
}
