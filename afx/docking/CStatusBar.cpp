#include "AfxDockingPrivate.h"
#include "CStatusBar.h"

#include <string.h>

#include <vector>

// One pane: its id, style (SBPS_...), text width and text; bUpdate marks a text that the control
// has not got yet.
struct AFX_STATUSPANE {
    UINT nID = 0;
    UINT nStyle = 0;
    BOOL bUpdate = FALSE;
    int cxText = 0;
    CString strText;
};

IMPLEMENT_DYNAMIC(CStatusBar, CControlBar)

BEGIN_MESSAGE_MAP(CStatusBar, CControlBar)
ON_WM_NCCALCSIZE()
ON_WM_NCPAINT()
ON_WM_PAINT()
ON_WM_SIZE()
ON_WM_NCHITTEST()
ON_WM_WINDOWPOSCHANGING()
ON_MESSAGE(WM_SETFONT, OnSetFont)
ON_MESSAGE(SB_SETMINHEIGHT, OnSetMinHeight)
ON_MESSAGE(WM_SETTEXT, OnSetText)
ON_MESSAGE(WM_GETTEXT, OnGetText)
ON_MESSAGE(WM_GETTEXTLENGTH, OnGetTextLength)
END_MESSAGE_MAP()

namespace {

// The room a pane's text gets besides its width (its borders).
const int kPaneBorder = 6;

// The state of the panes' update (idle time): Enable (a disabled pane shows no text), SetCheck
// (the pane pops out) and SetText act on the pane at m_nIndex of the bar in m_pOther.
class CStatusCmdUI : public CCmdUI {
public:
    void Enable(BOOL bOn) override
    {
        m_bEnableChanged = TRUE;
        CStatusBar* pStatusBar = (CStatusBar*)m_pOther;
        UINT nNewStyle = pStatusBar->GetPaneStyle((int)m_nIndex) & ~SBPS_DISABLED;
        if (!bOn)
            nNewStyle |= SBPS_DISABLED;
        pStatusBar->SetPaneStyle((int)m_nIndex, nNewStyle);
    }
    void SetCheck(int nCheck) override
    {
        CStatusBar* pStatusBar = (CStatusBar*)m_pOther;
        UINT nNewStyle = pStatusBar->GetPaneStyle((int)m_nIndex) & ~SBPS_POPOUT;
        if (nCheck != 0)
            nNewStyle |= SBPS_POPOUT;
        pStatusBar->SetPaneStyle((int)m_nIndex, nNewStyle);
    }
    void SetText(LPCTSTR lpszText) override { ((CStatusBar*)m_pOther)->SetPaneText((int)m_nIndex, lpszText); }
};

} // namespace

CStatusBar::CStatusBar() : m_nMinHeight(0), m_pPanes(NULL)
{
    // a line of room above the text, none elsewhere
    m_cyTopBorder = 2;
    m_cyBottomBorder = 0;
    m_cxLeftBorder = 0;
    m_cxRightBorder = 0;
}

CStatusBar::~CStatusBar()
{
    m_bAutoDelete = FALSE;
    if (m_hWnd != NULL && CWnd::FromHandlePermanent(m_hWnd) == this)
        DestroyWindow();
    delete[] m_pPanes;
    m_pPanes = NULL;
    m_nCount = 0;
}

BOOL CStatusBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID) { return CreateEx(pParentWnd, 0, dwStyle, nID); }

BOOL CStatusBar::CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, UINT nID)
{
    if (pParentWnd == NULL)
        return FALSE;
    m_dwStyle = dwStyle & CBRS_ALL;
    dwStyle &= ~CBRS_ALL;
    dwStyle |= CCS_NOPARENTALIGN | CCS_NOMOVEY | CCS_NODIVIDER | CCS_NORESIZE;
    // a frame that can be sized gets the size grip in its corner
    if (pParentWnd->GetStyle() & WS_THICKFRAME)
        dwStyle |= SBARS_SIZEGRIP;
    dwStyle |= dwCtrlStyle;
    AfxInitCommonControls();
    CRect rect(0, 0, 0, 0);
    return CWnd::Create(STATUSCLASSNAMEA, NULL, dwStyle, rect, pParentWnd, nID);
}

AFX_STATUSPANE* CStatusBar::GetPanePtr(int nIndex) const
{
    if (nIndex < 0 || nIndex >= m_nCount || m_pPanes == NULL)
        return NULL;
    return &m_pPanes[nIndex];
}

BOOL CStatusBar::SetIndicators(const UINT* lpIDArray, int nIDCount)
{
    if (m_hWnd == NULL || nIDCount < 1)
        return FALSE;
    delete[] m_pPanes;
    m_pPanes = new AFX_STATUSPANE[(size_t)nIDCount];
    m_nCount = nIDCount;

    BOOL bResult = TRUE;
    if (lpIDArray != NULL) {
        // the indicators are as wide as their texts in the bar's font
        HFONT hFont = (HFONT)SendMessage(WM_GETFONT);
        HDC hDCScreen = ::GetDC(NULL);
        HGDIOBJ hOldFont = hFont != NULL ? ::SelectObject(hDCScreen, hFont) : NULL;
        for (int i = 0; i < nIDCount; i++) {
            AFX_STATUSPANE* pPane = &m_pPanes[i];
            pPane->nID = lpIDArray[i];
            pPane->bUpdate = TRUE;
            if (pPane->nID != 0) {
                if (!pPane->strText.LoadString(pPane->nID)) {
                    bResult = FALSE;
                    break;
                }
                SIZE size = {0, 0};
                ::GetTextExtentPoint32A(hDCScreen, pPane->strText, pPane->strText.GetLength(), &size);
                pPane->cxText = size.cx;
            } else {
                // the message pane: a quarter of the screen, the first one stretched and without
                // a border
                pPane->cxText = ::GetSystemMetrics(SM_CXSCREEN) / 4;
                if (i == 0)
                    pPane->nStyle |= SBPS_STRETCH | SBPS_NOBORDERS;
            }
        }
        if (hOldFont != NULL)
            ::SelectObject(hDCScreen, hOldFont);
        ::ReleaseDC(NULL, hDCScreen);
    }
    UpdateAllPanes(TRUE, TRUE);
    return bResult;
}

void CStatusBar::UpdateAllPanes(BOOL bUpdateRects, BOOL bUpdateText)
{
    if (m_hWnd == NULL || m_nCount <= 0)
        return;
    if (bUpdateRects) {
        CRect rect;
        GetWindowRect(&rect);
        rect.OffsetRect(-rect.left, -rect.top);
        CalcInsideRect(rect, TRUE);
        int rgBorders[3] = {0, 0, 0};
        DefWindowProc(SB_GETBORDERS, 0, (LPARAM)rgBorders);

        // what the stretched panes share: the width less every pane's width and borders
        int cxExtra = rect.Width() + rgBorders[2];
        int nStretchy = 0;
        for (int i = 0; i < m_nCount; i++) {
            if (m_pPanes[i].nStyle & SBPS_STRETCH)
                nStretchy++;
            cxExtra -= m_pPanes[i].cxText + kPaneBorder + rgBorders[2];
        }
        std::vector<int> rights((size_t)m_nCount);
        int right = rgBorders[0];
        for (int i = 0; i < m_nCount; i++) {
            right += m_pPanes[i].cxText + kPaneBorder;
            if ((m_pPanes[i].nStyle & SBPS_STRETCH) && cxExtra > 0 && nStretchy > 0) {
                int cxAdd = cxExtra / nStretchy;
                right += cxAdd;
                nStretchy--;
                cxExtra -= cxAdd;
            }
            rights[(size_t)i] = right;
            right += rgBorders[2];
        }
        DefWindowProc(SB_SETPARTS, (WPARAM)m_nCount, (LPARAM)rights.data());
    }
    if (bUpdateText) {
        for (int i = 0; i < m_nCount; i++) {
            if (m_pPanes[i].bUpdate)
                SetPaneText(i, m_pPanes[i].strText);
        }
    }
}

int CStatusBar::CommandToIndex(UINT nIDFind) const
{
    for (int i = 0; i < m_nCount; i++) {
        if (m_pPanes[i].nID == nIDFind)
            return i;
    }
    return -1;
}

UINT CStatusBar::GetItemID(int nIndex) const
{
    AFX_STATUSPANE* pPane = GetPanePtr(nIndex);
    return pPane != NULL ? pPane->nID : 0;
}

void CStatusBar::GetItemRect(int nIndex, LPRECT lpRect) const
{
    if (GetPanePtr(nIndex) == NULL ||
        !const_cast<CStatusBar*>(this)->DefWindowProc(SB_GETRECT, (WPARAM)nIndex, (LPARAM)lpRect))
        ::SetRectEmpty(lpRect);
}

void CStatusBar::GetPaneText(int nIndex, CString& rString) const
{
    AFX_STATUSPANE* pPane = GetPanePtr(nIndex);
    rString = pPane != NULL ? pPane->strText : CString();
}

CString CStatusBar::GetPaneText(int nIndex) const
{
    CString strText;
    GetPaneText(nIndex, strText);
    return strText;
}

BOOL CStatusBar::SetPaneText(int nIndex, LPCTSTR lpszNewText, BOOL bUpdate)
{
    AFX_STATUSPANE* pPane = GetPanePtr(nIndex);
    if (pPane == NULL)
        return FALSE;
    if (lpszNewText == NULL)
        lpszNewText = "";
    // an equal text that the control has already needs nothing
    if (!pPane->bUpdate && pPane->strText.Compare(lpszNewText) == 0)
        return TRUE;
    pPane->strText = lpszNewText;
    if (!bUpdate || m_hWnd == NULL) {
        pPane->bUpdate = TRUE; // at the next painting
        return TRUE;
    }
    pPane->bUpdate = FALSE;
    // a disabled pane shows no text; the style's low word is the control's drawing type
    DefWindowProc(SB_SETTEXTA, (WPARAM)((WORD)pPane->nStyle | nIndex),
                  (pPane->nStyle & SBPS_DISABLED) ? (LPARAM) "" : (LPARAM)(LPCTSTR)pPane->strText);
    return TRUE;
}

void CStatusBar::GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const
{
    AFX_STATUSPANE* pPane = GetPanePtr(nIndex);
    nID = pPane != NULL ? pPane->nID : 0;
    nStyle = pPane != NULL ? pPane->nStyle : 0;
    cxWidth = pPane != NULL ? pPane->cxText : 0;
}

void CStatusBar::SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth)
{
    AFX_STATUSPANE* pPane = GetPanePtr(nIndex);
    if (pPane == NULL)
        return;
    BOOL bChanged = FALSE;
    pPane->nID = nID;
    if (pPane->nStyle != nStyle) {
        // a stretch that changes moves the other panes; any other style only redraws the text
        if ((pPane->nStyle ^ nStyle) & SBPS_STRETCH) {
            bChanged = TRUE;
            pPane->nStyle = nStyle;
        } else {
            pPane->nStyle = nStyle;
            pPane->bUpdate = TRUE;
            SetPaneText(nIndex, pPane->strText);
        }
    }
    if (cxWidth != pPane->cxText) {
        pPane->cxText = cxWidth;
        bChanged = TRUE;
    }
    if (bChanged)
        UpdateAllPanes(TRUE, FALSE);
}

UINT CStatusBar::GetPaneStyle(int nIndex) const
{
    AFX_STATUSPANE* pPane = GetPanePtr(nIndex);
    return pPane != NULL ? pPane->nStyle : 0;
}

void CStatusBar::SetPaneStyle(int nIndex, UINT nStyle)
{
    AFX_STATUSPANE* pPane = GetPanePtr(nIndex);
    if (pPane == NULL || pPane->nStyle == nStyle)
        return;
    if ((pPane->nStyle ^ nStyle) & SBPS_STRETCH) {
        pPane->nStyle = nStyle;
        UpdateAllPanes(TRUE, FALSE);
    } else {
        pPane->nStyle = nStyle;
        pPane->bUpdate = TRUE;
        SetPaneText(nIndex, pPane->strText);
    }
}

CSize CStatusBar::CalcFixedLayout(BOOL, BOOL bHorz)
{
    // one line of the bar's font, the control's borders and the bar's insets
    TEXTMETRICA tm;
    memset(&tm, 0, sizeof(tm));
    HDC hDC = ::GetDC(NULL);
    HFONT hFont = m_hWnd != NULL ? (HFONT)SendMessage(WM_GETFONT) : NULL;
    HGDIOBJ hOldFont = hFont != NULL ? ::SelectObject(hDC, hFont) : NULL;
    ::GetTextMetricsA(hDC, &tm);
    if (hOldFont != NULL)
        ::SelectObject(hDC, hOldFont);
    ::ReleaseDC(NULL, hDC);

    CRect rect(0, 0, 0, 0);
    CalcInsideRect(rect, bHorz);
    int rgBorders[3] = {0, 0, 0};
    if (m_hWnd != NULL)
        DefWindowProc(SB_GETBORDERS, 0, (LPARAM)rgBorders);
    CSize size;
    size.cx = 32767;
    size.cy = tm.tmHeight - tm.tmInternalLeading - 1 + rgBorders[1] * 2 + ::GetSystemMetrics(SM_CYBORDER) * 2 - rect.Height();
    if (size.cy < m_nMinHeight)
        size.cy = m_nMinHeight;
    return size;
}

void CStatusBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler)
{
    CStatusCmdUI state;
    state.m_pOther = this;
    state.m_nIndexMax = (UINT)m_nCount;
    for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; state.m_nIndex++) {
        state.m_nID = m_pPanes[state.m_nIndex].nID;
        // the bar's own update handlers before the frame's
        if (CWnd::OnCmdMsg(state.m_nID, (int)CN_UPDATE_COMMAND_UI, &state, NULL))
            continue;
        state.DoUpdate(pTarget, FALSE);
    }
    UpdateDialogControls(pTarget, bDisableIfNoHndler);
}

void CStatusBar::DrawItem(LPDRAWITEMSTRUCT) {}

BOOL CStatusBar::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    // the control asks its parent to draw owner-drawn panes: the bar draws them
    if (message != WM_DRAWITEM)
        return CControlBar::OnChildNotify(message, wParam, lParam, pResult);
    DrawItem((LPDRAWITEMSTRUCT)lParam);
    if (pResult != NULL)
        *pResult = TRUE;
    return TRUE;
}

// ---- messages ----------------------------------------------------------------------------------

void CStatusBar::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS* lpncsp)
{
    afxdock::InsetNonClient(this, lpncsp, TRUE);
}

void CStatusBar::OnNcPaint() { EraseNonClient(); }

void CStatusBar::OnPaint()
{
    // texts that wait are written before the control paints
    UpdateAllPanes(FALSE, TRUE);
    Default();
}

void CStatusBar::OnSize(UINT nType, int cx, int cy)
{
    CControlBar::OnSize(nType, cx, cy);
    // the stretched pane follows the width
    UpdateAllPanes(TRUE, FALSE);
}

LRESULT CStatusBar::OnNcHitTest(CPoint)
{
    // only the size grip sizes the frame; elsewhere the bar is "client"
    LRESULT nResult = Default();
    return nResult == HTBOTTOMRIGHT ? HTBOTTOMRIGHT : HTCLIENT;
}

void CStatusBar::OnWindowPosChanging(WINDOWPOS* lpWndPos)
{
    DWORD dwStyle = m_dwStyle;
    m_dwStyle &= ~CBRS_BORDER_ANY;
    CControlBar::OnWindowPosChanging(lpWndPos);
    m_dwStyle = dwStyle;
}

LRESULT CStatusBar::OnSetFont(WPARAM, LPARAM)
{
    // the control's own height is the least one for the new font
    m_nMinHeight = 0;
    LRESULT lResult = Default();
    return lResult;
}

LRESULT CStatusBar::OnSetMinHeight(WPARAM wParam, LPARAM)
{
    LRESULT lResult = Default();
    m_nMinHeight = (int)wParam;
    return lResult;
}

LRESULT CStatusBar::OnSetText(WPARAM, LPARAM lParam)
{
    // the window's text is the message pane's (id 0)
    int nIndex = CommandToIndex(0);
    if (nIndex < 0)
        return FALSE;
    return SetPaneText(nIndex, (LPCTSTR)lParam);
}

LRESULT CStatusBar::OnGetText(WPARAM wParam, LPARAM lParam)
{
    int nMaxLen = (int)wParam;
    LPTSTR lpszDest = (LPTSTR)lParam;
    if (nMaxLen <= 0 || lpszDest == NULL)
        return 0;
    int nLen = 0;
    int nIndex = CommandToIndex(0);
    if (nIndex >= 0) {
        const CString& strText = m_pPanes[nIndex].strText;
        // at most the buffer less its terminator
        nLen = afxdock::Min(strText.GetLength(), nMaxLen - 1);
        memcpy(lpszDest, (LPCTSTR)strText, (size_t)nLen);
    }
    lpszDest[nLen] = '\0';
    return nLen;
}

LRESULT CStatusBar::OnGetTextLength(WPARAM, LPARAM)
{
    int nIndex = CommandToIndex(0);
    return nIndex >= 0 ? m_pPanes[nIndex].strText.GetLength() : 0;
}
