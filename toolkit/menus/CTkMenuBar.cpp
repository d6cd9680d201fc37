#include "CTkMenuBar.h"

#include <afxpriv.h>

#include <algorithm>
#include <climits>

#include "CTkGlobalData.h"
#include "CTkMBarMDIWndHook.h"
#include "CTkMBarWndHook.h"
#include "CTkMemDC.h"
#include "CTkMenuBarFrameButton.h"
#include "CTkMenuBarIconItem.h"
#include "CTkMenuBarTextItem.h"
#include "CTkPopupMenu.h"
#include "TkDrawing.h"
#include "TkMenuState.h"
#include "ToolkitResource.h"

namespace {

const int kMaxItems = 256;

BOOL IsWin2000OrLater()
{
    OSVERSIONINFOA vi = {sizeof(vi)};
    ::GetVersionExA(&vi);
    return vi.dwPlatformId == VER_PLATFORM_WIN32_NT && vi.dwMajorVersion >= 5;
}

BOOL ReadKeyboardCues()
{
    BOOL bCues = TRUE;
    if (IsWin2000OrLater())
        ::SystemParametersInfoA(SPI_GETKEYBOARDCUES, 0, &bCues, 0);
    return bCues;
}

struct FrameButtonDef {
    UINT nKind, nSysCommand;
    int nSpacing;
};
const FrameButtonDef kFrameButtons[3] = {
    {DFCS_CAPTIONMIN, SC_MINIMIZE, 0}, {DFCS_CAPTIONRESTORE, SC_RESTORE, 2}, {DFCS_CAPTIONCLOSE, SC_CLOSE, 0}};

CString MenuText(HMENU hMenu, int nPos)
{
    char sz[64] = "";
    ::GetMenuStringA(hMenu, nPos, sz, sizeof(sz), MF_BYPOSITION);
    return CString(sz);
}

} // namespace

IMPLEMENT_DYNAMIC(CTkMenuBar, CTkControlBar)

BEGIN_MESSAGE_MAP(CTkMenuBar, CTkControlBar)
ON_WM_PAINT()
ON_WM_SETTINGCHANGE()
ON_WM_NCCALCSIZE()
ON_WM_NCHITTEST()
END_MESSAGE_MAP()

CTkMenuBar::CTkMenuBar()
    : m_nLastPressed(-1), m_nCapturedButton(-1), m_nHotItem(-1), m_nExpandTimerId(1000), m_nExpandTimerDelay(4500),
      m_nTrackedItem(-1), m_nNextItem(-1), m_nOpeningItem(-1), m_nMenuID(0), m_nLengthOverride(-1), m_bExpandTimer(0),
      m_bMoreWindows(1), m_bRightAlignButtons(1), m_bMousePosKnown(0), m_bShowMDIControls(1), m_bPointerInCaptured(0),
      m_bRightArrow(0), m_bLeftArrow(0), m_bEscape(0), m_bOverFrameButtons(0), m_bKeyboardCues(TRUE),
      m_bFrameActive(TRUE), m_bChildMaximized(FALSE), m_hWndMDIClient(NULL), m_hMenu(NULL), m_hLoadedMenu(NULL),
      m_hWindowMenu(NULL), m_xLastMouse(0), m_yLastMouse(0), m_pOpenPopup(NULL), m_nTrackingState(0),
      m_pFrameHookMB(NULL), m_pMDIHook(NULL), m_mapServerMenus(10), m_pCommandSource(NULL)
{
    m_mapServerMenus.InitHashTable(17);
    m_cyTopBorder = 3;
    m_cyBottomBorder = 3;
    if (IsWin2000OrLater())
        m_bKeyboardCues = ReadKeyboardCues();
}

CTkMenuBar::~CTkMenuBar()
{
    DeleteItems();
    if (m_hMenu != NULL && ::IsMenu(m_hMenu) && m_hMenu != m_hLoadedMenu)
        ::DestroyMenu(m_hMenu);
    if (m_hLoadedMenu != NULL && ::IsMenu(m_hLoadedMenu))
        ::DestroyMenu(m_hLoadedMenu);
    delete m_pFrameHookMB;
    delete m_pMDIHook;
}

BOOL CTkMenuBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
    return CreateEx(pParentWnd, 0, dwStyle, CRect(m_cxLeftBorder, m_cyTopBorder, m_cxRightBorder, m_cyBottomBorder),
                    nID);
}

BOOL CTkMenuBar::CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, CRect rcBorders, UINT nID)
{
    SetBorders(rcBorders.left, rcBorders.top, rcBorders.right, rcBorders.bottom);
    m_dwStyle = dwStyle & CBRS_ALL;
    if (nID == AFX_IDW_TOOLBAR)
        m_dwStyle |= CBRS_HIDE_INPLACE;
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&icc);
    DWORD dwWndStyle = dwCtrlStyle | (dwStyle & ~CBRS_ALL) | CCS_NOMOVEY | CCS_NORESIZE | CCS_NOPARENTALIGN |
                       CCS_NODIVIDER;
    if (!CWnd::Create(TOOLBARCLASSNAMEA, NULL, dwWndStyle, CRect(0, 0, 0, 0), pParentWnd, nID))
        return FALSE;
    CFrameWnd* pFrame = GetParentFrame();
    if (pFrame != NULL && ::GetMenu(pFrame->m_hWnd) != NULL) {
        HMENU hOld = ::GetMenu(pFrame->m_hWnd);
        ::SetMenu(pFrame->m_hWnd, NULL);
        if (pFrame->m_hMenuDefault != hOld)
            ::DestroyMenu(hOld);
    }
    if (pFrame != NULL) {
        m_pFrameHookMB = new CTkMBarWndHook(this);
        m_pFrameHookMB->HookWindow(pFrame);
        if (pFrame->IsKindOf(RUNTIME_CLASS(CMDIFrameWnd))) {
            m_hWndMDIClient = ((CMDIFrameWnd*)pFrame)->m_hWndMDIClient;
            m_pMDIHook = new CTkMBarMDIWndHook(this);
            m_pMDIHook->HookWindow(m_hWndMDIClient);
        }
    }
    char sz[64] = "";
    ::LoadStringA(tkAfxData.hInstance, IDS_TK_MENU_BAR, sz, sizeof(sz));
    SetWindowText(sz);
    m_toolTip.Create(this, 0);
    m_glyphs.Create(IDB_TK_FRAME_GLYPHS, 10, 1, RGB(255, 0, 255));
    return TRUE;
}

BOOL CTkMenuBar::HideCommand(UINT nID)
{
    m_arrHiddenCommands.Add(nID);
    return TRUE;
}

BOOL CTkMenuBar::HideCommands(const UINT* pIDs, int nCount)
{
    for (int i = 0; i < nCount; i++) {
        if (!HideCommand(pIDs[i]))
            return FALSE;
    }
    return TRUE;
}

BOOL CTkMenuBar::LoadMenuBar(UINT nMenuID)
{
    m_nMenuID = nMenuID;
    return LoadMenuBar(MAKEINTRESOURCE(nMenuID));
}

BOOL CTkMenuBar::LoadMenuBar(LPCTSTR lpszMenuName)
{
    HINSTANCE hInst = AfxGetResourceHandle();
    if (hInst == NULL)
        return FALSE;
    HMENU hMenu = ::LoadMenuA(hInst, lpszMenuName);
    if (hMenu == NULL)
        return FALSE;
    if (m_hLoadedMenu != NULL && ::IsMenu(m_hLoadedMenu) && m_hLoadedMenu != m_hMenu)
        ::DestroyMenu(m_hLoadedMenu);
    m_hLoadedMenu = hMenu;
    SetMenu(m_hLoadedMenu, NULL);
    return TRUE;
}

void CTkMenuBar::DeleteItems()
{
    for (INT_PTR i = 0; i < m_arrItems.GetSize(); i++)
        delete m_arrItems[i];
    m_arrItems.RemoveAll();
}

void CTkMenuBar::ResetTracking()
{
    m_nTrackingState = 0;
    m_nHotItem = m_nTrackedItem = m_nNextItem = m_nOpeningItem = m_nCapturedButton = m_nLastPressed = -1;
    m_bExpandTimer = m_bMousePosKnown = m_bPointerInCaptured = 0;
    m_bRightArrow = m_bLeftArrow = m_bEscape = m_bOverFrameButtons = 0;
    m_xLastMouse = m_yLastMouse = 0;
}

HMENU CTkMenuBar::SetMenu(HMENU hMenu, HMENU hWindowMenu)
{
    // the user-tools manager puts its menu in here once it exists; none is active yet
    if (hMenu == NULL && hWindowMenu == NULL)
        hMenu = m_hLoadedMenu;
    HMENU hOld = m_hMenu;
    m_hMenu = hMenu;
    DeleteItems();
    ResetTracking();

    m_arrItems.Add(new CTkMenuBarIconItem(this));
    if (hMenu != NULL) {
        HDC hdc = ::GetDC(NULL);
        HGDIOBJ hOldFont = ::SelectObject(hdc, tkAfxData.fontMenu.m_hObject);
        int nCount = ::GetMenuItemCount(hMenu);
        for (int i = 0; i < nCount; i++) {
            CString strText = MenuText(hMenu, i);
            if (strText.IsEmpty())
                continue;
            CString strPlain = strText;
            TkStripMnemonics(strPlain);
            SIZE ext = {0, 0};
            ::GetTextExtentPoint32A(hdc, strPlain, strPlain.GetLength(), &ext);
            m_arrItems.Add(new CTkMenuBarTextItem(this, i, strText, CSize(ext.cx + 14, tkAfxData.cyMenu)));
        }
        ::SelectObject(hdc, hOldFont);
        ::ReleaseDC(NULL, hdc);
    }
    for (const FrameButtonDef& def : kFrameButtons)
        m_arrItems.Add(new CTkMenuBarFrameButton(this, def.nKind, def.nSysCommand, def.nSpacing));

    MapServerMenus();
    m_hWindowMenu = hWindowMenu;
    UpdateMDIState(FALSE);
    if (m_hWnd != NULL) {
        PositionItems(IsFloatingBar() || (m_dwStyle & (CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM)));
        RecalcFrameLayout();
    }
    return hOld;
}

void CTkMenuBar::MapMenus(HMENU hMenu, HMENU hContainerMenu, CMap<UINT, UINT, BOOL, BOOL>& map)
{
    map.RemoveAll();
    if (hMenu == NULL || hContainerMenu == NULL)
        return;
    auto samePopup = [](HMENU h1, HMENU h2) {
        if ((h1 == NULL) != (h2 == NULL))
            return false;
        if (h1 == NULL)
            return true;
        int n = ::GetMenuItemCount(h1);
        if (n != ::GetMenuItemCount(h2))
            return false;
        for (int i = 0; i < n; i++) {
            if (MenuText(h1, i) != MenuText(h2, i) || ::GetMenuItemID(h1, i) != ::GetMenuItemID(h2, i))
                return false;
        }
        return true;
    };
    int nCount = ::GetMenuItemCount(hMenu);
    int nContainer = ::GetMenuItemCount(hContainerMenu);
    for (int p = 0; p < nCount; p++) {
        CString strText = MenuText(hMenu, p);
        BOOL bOwn = FALSE;
        for (int q = 0; q < nContainer && !bOwn; q++) {
            if (MenuText(hContainerMenu, q) == strText &&
                samePopup(::GetSubMenu(hMenu, p), ::GetSubMenu(hContainerMenu, q)))
                bOwn = TRUE;
        }
        if (!bOwn)
            map.SetAt((UINT)(p + 1), TRUE);
    }
}

void CTkMenuBar::MapServerMenus()
{
    // No document of this class library is activated in place: the map stays empty.
    m_mapServerMenus.RemoveAll();
}

HWND CTkMenuBar::GetActiveChild(BOOL* pbMaximized) const
{
    BOOL bMax = FALSE;
    HWND hChild = NULL;
    if (m_hWndMDIClient != NULL)
        hChild = (HWND)::SendMessageA(m_hWndMDIClient, WM_MDIGETACTIVE, 0, (LPARAM)&bMax);
    if (pbMaximized != NULL)
        *pbMaximized = hChild != NULL && bMax;
    return hChild;
}

void CTkMenuBar::UpdateMDIState(BOOL bRelayout)
{
    BOOL bMax = FALSE;
    HWND hChild = GetActiveChild(&bMax);
    bMax = bMax && (::GetWindowLongA(hChild, GWL_STYLE) & WS_SYSMENU);
    if (bMax != m_bChildMaximized) {
        m_bChildMaximized = bMax;
        if (bRelayout)
            RecalcFrameLayout();
    }
}

void CTkMenuBar::RecalcFrameLayout()
{
    if (m_hWnd == NULL)
        return;
    CFrameWnd* pSite = m_pDockSite;
    if (pSite != NULL)
        pSite->RecalcLayout(TRUE);
    CWnd* pOwner = GetOwner();
    if (pOwner != NULL && pOwner != pSite && pOwner->IsFrameWnd())
        ((CFrameWnd*)pOwner)->RecalcLayout(TRUE);
    CFrameWnd* pParent = GetParentFrame();
    if (pParent != NULL && pParent != pSite && pParent != pOwner && pParent->IsKindOf(RUNTIME_CLASS(CMiniFrameWnd)))
        pParent->RecalcLayout(TRUE);
    RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    if (IsFloatingBar() && pSite != NULL)
        pSite->UpdateWindow();
}

BOOL CTkMenuBar::IsDockedVertically() const
{
    return !IsFloatingBar() && (m_dwStyle & (CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT));
}

CRect CTkMenuBar::GetItemRect(int nItem) const
{
    CTkMenuBarItem* pItem = Item(nItem);
    CSize size;
    pItem->GetSize(size);
    if (IsDockedVertically())
        return CRect(pItem->m_x, pItem->m_y, pItem->m_x + size.cy, pItem->m_y + size.cx);
    return CRect(pItem->m_x, pItem->m_y, pItem->m_x + size.cx, pItem->m_y + size.cy);
}

int CTkMenuBar::GetVisibleItems(int* pItems, int nSelector) const
{
    int nCount = (int)m_arrItems.GetSize();
    int n = 0;
    for (int i = 0; i < nCount; i++) {
        BOOL bButton = i >= nCount - 3;
        if (!((bButton ? 2 : 1) & nSelector) || Item(i)->IsHidden())
            continue;
        pItems[n++] = i;
    }
    return n;
}

void CTkMenuBar::SetHotItem(int nItem)
{
    if (m_nHotItem != nItem) {
        m_nHotItem = nItem;
        Invalidate();
    }
}

void CTkMenuBar::SetPressedItem(int nItem)
{
    if (m_nLastPressed != nItem) {
        m_nLastPressed = nItem;
        RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    }
}

int CTkMenuBar::HitTestItem(CPoint point, const int* pFirst, const int* pLast)
{
    CRect rectClient;
    GetClientRect(&rectClient);
    if (!rectClient.PtInRect(point))
        return -1;
    int nHit = -1;
    for (const int* p = pFirst; p <= pLast; p++) {
        if (GetItemRect(*p).PtInRect(point))
            nHit = *p;
    }
    return nHit;
}

int CTkMenuBar::GetTrackingState(int* pnItem)
{
    if (pnItem != NULL)
        *pnItem = m_nTrackedItem;
    return m_nTrackingState;
}

void CTkMenuBar::Refresh() { UpdateWindowList(); }

void CTkMenuBar::UpdateWindowList()
{
    if (m_hWindowMenu == NULL || !::IsMenu(m_hWindowMenu))
        return;
    int nCount = ::GetMenuItemCount(m_hWindowMenu);
    int nFirst = -1;
    for (int i = 0; i < nCount; i++) {
        UINT nID = ::GetMenuItemID(m_hWindowMenu, i);
        if (nID != (UINT)-1 && nID > 65279) {
            nFirst = i;
            break;
        }
    }
    if (nFirst >= 0) {
        while (::GetMenuItemCount(m_hWindowMenu) > nFirst)
            ::RemoveMenu(m_hWindowMenu, nFirst, MF_BYPOSITION);
    }
    if (m_hWndMDIClient == NULL || ::GetWindow(m_hWndMDIClient, GW_CHILD) == NULL)
        return;
    if (nFirst < 0) {
        ::AppendMenuA(m_hWindowMenu, MF_SEPARATOR, 0, NULL);
        nFirst = ::GetMenuItemCount(m_hWindowMenu);
    }
    HWND hActive = GetActiveChild();
    HWND slots[9] = {NULL};
    for (HWND h = ::GetWindow(m_hWndMDIClient, GW_CHILD); h != NULL; h = ::GetWindow(h, GW_HWNDNEXT)) {
        int i = ::GetDlgCtrlID(h) - 0xFF00;
        if (i >= 0 && i <= 8) {
            // the active child keeps the ninth slot once it took it
            if (!(i == 8 && slots[8] != NULL && slots[8] == hActive))
                slots[i] = h;
        } else if (i > 8 && h == hActive) {
            slots[8] = h;
        }
    }
    int nPos = nFirst;
    for (int i = 0; i < 9; i++) {
        if (slots[i] == NULL)
            continue;
        char szTitle[128] = "";
        ::GetWindowTextA(slots[i], szTitle, sizeof(szTitle));
        CString strItem;
        strItem.Format("&%d  %s", i + 1, szTitle);
        UINT nFlags = MF_BYPOSITION | MF_STRING | (slots[i] == hActive ? MF_CHECKED : 0);
        ::InsertMenuA(m_hWindowMenu, nPos++, nFlags, ::GetDlgCtrlID(slots[i]), strItem);
    }
    if (m_bMoreWindows) {
        char sz[64] = "";
        ::LoadStringA(tkAfxData.hInstance, IDS_TK_MORE_WINDOWS, sz, sizeof(sz));
        ::AppendMenuA(m_hWindowMenu, MF_SEPARATOR, 0, NULL);
        ::AppendMenuA(m_hWindowMenu, MF_STRING, TK_ID_MORE_WINDOWS, sz);
    }
}

// ---- layout ------------------------------------------------------------------------------------

CSize CTkMenuBar::CalcBorderSize(BOOL bHorz) const
{
    CRect rect(0, 0, 0, 0);
    CalcInsideRect(rect, bHorz);
    return CSize(rect.left - rect.right, rect.top - rect.bottom);
}

int CTkMenuBar::GetAvailableLength(BOOL bHorz) const
{
    if (m_nLengthOverride > 0)
        return m_nLengthOverride;
    CSize border = CalcBorderSize(bHorz);
    CRect rect(0, 0, 0, 0);
    if (m_dwStyle & CBRS_SIZE_DYNAMIC) {
        if (bHorz) {
            CWnd* pTop = GetTopLevelFrame();
            HWND hWnd = pTop != NULL ? pTop->m_hWnd : ::GetParent(m_hWnd);
            ::GetClientRect(hWnd, &rect);
        } else {
            ::GetClientRect(::GetParent(m_hWnd), &rect);
        }
    } else {
        GetClientRect(&rect);
    }
    return bHorz ? rect.Width() - border.cx : rect.Height() - border.cy;
}

int CTkMenuBar::WrapItems(int nWidth)
{
    int items[kMaxItems];
    int nVisible = GetVisibleItems(items, 3);
    int nRows = 0;
    int w = 0;
    CTkMenuBarItem* pLastWrappable = NULL;
    for (int k = 0; k < nVisible; k++) {
        if (k == nVisible - 1)
            return nRows + 1;
        CTkMenuBarItem* pItem = Item(items[k]);
        CSize size;
        pItem->GetSize(size);
        CSize sizeNext;
        Item(items[k + 1])->GetSize(sizeNext);
        if (w + size.cx > nWidth) {
            if (pItem->CanWrap()) {
                pItem->m_bWrap = TRUE;
                nRows++;
                w = 0;
            }
        } else if (w + size.cx + pItem->GetSpacing() + sizeNext.cx > nWidth) {
            if (pItem->CanWrap())
                pItem->m_bWrap = TRUE;
            else if (pLastWrappable != NULL)
                pLastWrappable->m_bWrap = TRUE;
            nRows++;
            w = 0;
        } else {
            if (pItem->CanWrap())
                pItem->m_bWrap = FALSE;
            w += size.cx + pItem->GetSpacing();
        }
        if (pItem->CanWrap())
            pLastWrappable = pItem;
    }
    return nRows + 1;
}

void CTkMenuBar::SizeItems(int nLength, BOOL bHorz)
{
    if (!bHorz) {
        WrapItems(nLength - CalcBorderSize(FALSE).cy);
        return;
    }
    if (!IsFloatingBar()) {
        WrapItems(nLength - CalcBorderSize(TRUE).cx);
        return;
    }
    // Floating: the widest layout that is not wider than asked (the narrowest one when none
    // fits). The width of the layout grows with the width the titles are wrapped at, so the
    // search runs over that width.
    auto widthAt = [this](int nWrap) {
        WrapItems(nWrap);
        PositionItems(TRUE);
        return (int)CalcItemsSize(TRUE).cx;
    };
    int nLow = widthAt(0);
    int nHigh = widthAt(32767);
    if (nLength >= nHigh)
        return; // one row fits
    while (nHigh - nLow > 1) {
        int nMid = (nLow + nHigh) / 2;
        if (widthAt(nMid) <= nLength)
            nLow = nMid;
        else
            nHigh = nMid;
    }
    WrapItems(nLow);
}

void CTkMenuBar::PositionItems(BOOL bHorz)
{
    int items[kMaxItems];
    int nVisible = GetVisibleItems(items, 3);
    int h = tkAfxData.cyMenu;
    CRect r(0, 0, 0, 0);
    CalcInsideRect(r, bHorz);
    int along = bHorz ? r.left : 0;
    int across = 0;
    int total = h;
    BOOL bWrapped = FALSE;
    for (int k = 0; k < nVisible; k++) {
        CTkMenuBarItem* pItem = Item(items[k]);
        BOOL bWrap = pItem->m_bWrap && k != nVisible - 1;
        if (bWrap) {
            bWrapped = TRUE;
            total += h;
        }
        CSize size;
        pItem->GetSize(size);
        if (bHorz) {
            pItem->m_x = along;
            pItem->m_y = across + (h - size.cy) / 2;
        } else {
            pItem->m_x = -((size.cy + h) / 2) - along;
            pItem->m_y = across;
        }
        if (!bWrap) {
            if (bHorz)
                along += size.cx + pItem->GetSpacing();
            else
                across += size.cx + pItem->GetSpacing();
        } else if (bHorz) {
            along = r.left;
            across += h;
        } else {
            along += h;
            across = r.top;
        }
    }
    // the frame buttons go to the far end of their row
    if (!IsFloatingBar() && m_bRightAlignButtons && (bHorz || bWrapped)) {
        int buttons[3];
        int nButtons = GetVisibleItems(buttons, 2);
        int nStart = 0;
        while (nStart < nButtons) {
            int nEnd = nStart;
            while (nEnd < nButtons - 1 && !Item(buttons[nEnd])->m_bWrap)
                nEnd++;
            CRect rectLast = GetItemRect(buttons[nEnd]);
            int d = (bHorz ? r.left : r.top) + GetAvailableLength(bHorz) - (bHorz ? rectLast.right : rectLast.bottom) -
                    ::GetSystemMetrics(SM_CXEDGE);
            if (d > 0) {
                for (int k = nStart; k <= nEnd; k++) {
                    if (bHorz)
                        Item(buttons[k])->m_x += d;
                    else
                        Item(buttons[k])->m_y += d;
                }
            }
            nStart = nEnd + 1;
        }
    }
    if (!bHorz) {
        for (int k = 0; k < nVisible; k++)
            Item(items[k])->m_x += total - r.right;
    }
}

CSize CTkMenuBar::CalcItemsSize(BOOL bHorz) const
{
    int items[kMaxItems];
    int nVisible = GetVisibleItems(items, 3);
    if (nVisible == 0)
        return CSize(0, 0);
    int nLow = INT_MAX, nHigh = INT_MIN, nRows = 1;
    for (int k = 0; k < nVisible; k++) {
        CTkMenuBarItem* pItem = Item(items[k]);
        CSize size;
        pItem->GetSize(size);
        int v = bHorz ? pItem->m_x : pItem->m_y;
        nLow = std::min(nLow, v);
        nHigh = std::max<int>(nHigh, v + size.cx);
        if (pItem->m_bWrap && k != nVisible - 1)
            nRows++;
    }
    int nThick = tkAfxData.cyMenu * nRows;
    return bHorz ? CSize(nHigh - nLow, nThick) : CSize(nThick, nHigh - nLow);
}

CSize CTkMenuBar::CalcLayout(DWORD dwMode, int nLength)
{
    CSize size(0, 0);
    BOOL bHorzMode = (dwMode & LM_HORZ) != 0;
    if (m_arrItems.GetSize() > 0) {
        BOOL bDocked = !IsFloatingBar();
        BOOL bDragging = m_pDockContext != NULL && m_pDockContext->m_pDC != NULL;
        if ((m_dwStyle & CBRS_SIZE_DYNAMIC) && !(m_dwStyle & CBRS_SIZE_FIXED)) {
            if (dwMode & LM_MRUWIDTH) {
                BYTE bAlign = m_bRightAlignButtons;
                m_bRightAlignButtons = 0;
                SizeItems((int)m_nMRUWidth, TRUE);
                PositionItems(TRUE);
                size = CalcItemsSize(TRUE);
                m_bRightAlignButtons = bAlign;
            } else if (dwMode & LM_HORZDOCK) {
                BOOL bSideways = (m_dwStyle & (CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT)) != 0;
                int nLen = bDocked && !bSideways ? CalcBorderSize(TRUE).cx + GetAvailableLength(TRUE) : 32767;
                SizeItems(nLen, TRUE);
                PositionItems(TRUE);
                size = CalcItemsSize(TRUE);
                if (bDocked && !bSideways && bDragging)
                    size.cx = GetAvailableLength(TRUE);
            } else if (dwMode & LM_VERTDOCK) {
                PositionItems(FALSE);
                size = CalcItemsSize(FALSE);
                if (bDocked && !(m_dwStyle & (CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM)) && bDragging)
                    size.cy = GetAvailableLength(FALSE);
            } else if (nLength != -1) {
                CSize b = CalcBorderSize(bHorzMode);
                BOOL bHorz = !(dwMode & LM_LENGTHY);
                SizeItems(nLength + (bHorz ? b.cx : b.cy), bHorz);
                PositionItems(bHorz);
                size = CalcItemsSize(bHorz);
            } else if (IsFloatingBar()) {
                SizeItems((int)m_nMRUWidth, TRUE);
                PositionItems(TRUE);
                size = CalcItemsSize(TRUE);
            } else {
                CSize b = CalcBorderSize(bHorzMode);
                SizeItems(GetAvailableLength(bHorzMode) + (bHorzMode ? b.cx : b.cy), bHorzMode);
                PositionItems(bHorzMode);
                size = CalcItemsSize(bHorzMode);
                if (bHorzMode)
                    size.cx = GetAvailableLength(TRUE);
            }
        } else {
            SizeItems(32767, TRUE);
            PositionItems(bHorzMode);
            size = CalcItemsSize(bHorzMode);
        }
        if ((dwMode & LM_COMMIT) && (m_dwStyle & CBRS_FLOATING) && (m_dwStyle & CBRS_SIZE_DYNAMIC))
            m_nMRUWidth = size.cx;
    }
    CSize border = CalcBorderSize(bHorzMode);
    size += border;
    CSize minimum = CControlBar::CalcFixedLayout((dwMode & LM_STRETCH) != 0, bHorzMode);
    size.cx = std::max<LONG>(size.cx, minimum.cx);
    size.cy = std::max<LONG>(size.cy, minimum.cy);
    return size;
}

CSize CTkMenuBar::CalcDynamicLayout(int nLength, DWORD dwMode)
{
    if (nLength == -1 && !(dwMode & (LM_MRUWIDTH | LM_COMMIT)) && (dwMode & (LM_HORZDOCK | LM_VERTDOCK)))
        return CalcFixedLayout(dwMode & LM_STRETCH, dwMode & LM_HORZDOCK);
    return CalcLayout(dwMode, nLength);
}

CSize CTkMenuBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz)
{
    DWORD dwMode = (bStretch ? LM_STRETCH : 0) | (bHorz ? LM_HORZ : 0);
    CSize size = CalcLayout(dwMode, -1);
    if (!m_bRightAlignButtons && !bStretch && bHorz) {
        int items[kMaxItems];
        int nVisible = GetVisibleItems(items, 3);
        BOOL bWrapped = FALSE;
        for (int k = 0; k < nVisible - 1; k++)
            bWrapped = bWrapped || Item(items[k])->m_bWrap;
        if (!bWrapped) {
            WrapItems(32767);
            PositionItems(TRUE);
            return CalcItemsSize(TRUE) + CalcBorderSize(TRUE);
        }
    }
    return size;
}

void CTkMenuBar::OnUpdateCmdUI(CFrameWnd*, BOOL)
{
    if (m_nOpeningItem < 0)
        m_nTrackedItem = -1;
    UpdateMDIState(TRUE);
    if (m_bOverFrameButtons && ::GetCapture() != m_hWnd) {
        CPoint pt;
        ::GetCursorPos(&pt);
        ScreenToClient(&pt);
        CRect rect;
        GetClientRect(&rect);
        if (!rect.PtInRect(pt)) {
            m_bOverFrameButtons = 0;
            SetHotItem(-1);
        }
    }
    if (IsWin2000OrLater()) {
        BOOL bCues = ReadKeyboardCues();
        if (bCues != m_bKeyboardCues) {
            m_bKeyboardCues = bCues;
            Invalidate();
        }
    }
}

void CTkMenuBar::OnBarStyleChange(DWORD dwOldStyle, DWORD dwNewStyle)
{
    if ((dwOldStyle ^ dwNewStyle) & CBRS_FLOATING)
        ResetTracking();
}

INT_PTR CTkMenuBar::OnToolHitTest(CPoint, TOOLINFO*) const { return -1; }

BOOL CTkMenuBar::IsHorzDocked() const { return (m_dwStyle & (CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM)) != 0; }

BOOL CTkMenuBar::IsUndocked() const { return (m_dwStyle & CBRS_FLOATING) != 0; }

BOOL CTkMenuBar::IsFullWindowDrag() { return TRUE; }

BOOL CTkMenuBar::OnAddedToRebar(REBARBANDINFOA* pRBBI, BOOL bHorz)
{
    CTkControlBar::OnAddedToRebar(pRBBI, bHorz);
    return TRUE;
}

void CTkMenuBar::OnRebarFitBand(TK_REBAR_FITBAND* pFit, BOOL)
{
    if (pFit == NULL || pFit->pChildSize == NULL)
        return;
    m_nLengthOverride = pFit->pChildSize->rcChild.right - pFit->pChildSize->rcChild.left;
    PositionItems(TRUE);
    Invalidate();
}

BOOL CTkMenuBar::GetFloatingDragOffset(LPSIZE lpSize)
{
    CRect rect(0, 0, 0, 0);
    ::AdjustWindowRect(&rect, WS_CAPTION | WS_THICKFRAME, FALSE);
    lpSize->cx /= 2;
    lpSize->cy = (0 - rect.top) / 2;
    return TRUE;
}

BOOL CTkMenuBar::IsUpdateTarget(CWnd*) { return TRUE; }

// ---- drawing -----------------------------------------------------------------------------------

void CTkMenuBar::OnPaint()
{
    CPaintDC dc(this);
    CRect rect;
    GetClientRect(&rect);
    CTkMemDC memDC(&dc, rect, GetBackgroundColor());
    CRect rectInside = rect;
    DrawBorders(&memDC, rectInside);
    DrawGripper(&memDC, rectInside);
    int items[kMaxItems];
    int nVisible = GetVisibleItems(items, 3);
    for (int k = 0; k < nVisible; k++)
        Item(items[k])->Draw(&memDC);
}

void CTkMenuBar::DrawTextItem(CDC* pDC, CTkMenuBarItem* pItemBase)
{
    CTkMenuBarTextItem* pItem = (CTkMenuBarTextItem*)pItemBase;
    int nIndex = -1;
    for (INT_PTR i = 0; i < m_arrItems.GetSize(); i++) {
        if (m_arrItems[i] == pItem)
            nIndex = (int)i;
    }
    CRect r = GetItemRect(nIndex);
    CRect rectClip;
    pDC->GetClipBox(&rectClip);
    CRect rectItem = r;
    r.IntersectRect(&r, &rectClip);
    BOOL bHorz = IsFloatingBar() || (m_dwStyle & (CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM));
    BOOL bOpen = m_nTrackingState == 2 && m_nTrackedItem == nIndex;
    CRect rectText = rectItem;
    if (nIndex == m_nHotItem && m_bFrameActive) {
        if (tkAfxData.bFlatLook) {
            pDC->FillSolidRect(&r, tkAfxData.clrToolkit[bOpen ? 0 : 1]);
            COLORREF clrFrame = bOpen ? tkAfxData.clrToolkit[43 - 30] : tkAfxData.clrHighlight;
            pDC->Draw3dRect(&r, clrFrame, clrFrame);
        } else if (bOpen) {
            pDC->Draw3dRect(&r, tkAfxData.clr3DShadow, tkAfxData.clr3DHilight);
            rectText.OffsetRect(1, 1);
        } else {
            pDC->Draw3dRect(&r, tkAfxData.clr3DHilight, tkAfxData.clr3DShadow);
        }
    }
    COLORREF clrText = m_bFrameActive ? tkAfxData.clrMenuText : tkAfxData.clrGrayText;
    COLORREF clrOld = pDC->SetTextColor(clrText);
    int nOldMode = pDC->SetBkMode(TRANSPARENT);
    CFont* pOldFont = pDC->SelectObject(bHorz ? &tkAfxData.fontMenu : &tkAfxData.fontVertDown);
    BOOL bMarks = m_bKeyboardCues || tkMenuState.bShowMnemonics;
    CString strPlain = pItem->m_strText;
    TkStripMnemonics(strPlain);
    if (bHorz) {
        CString strText = bMarks ? pItem->m_strText : strPlain;
        pDC->DrawText(strText, &rectText, DT_CENTER | DT_VCENTER | DT_SINGLELINE | (bMarks ? 0 : DT_NOPREFIX));
    } else {
        // text running downwards: it starts at the top right of its place
        if (rectText.Width() % 2)
            rectText.left -= 1;
        CSize ext = pDC->GetTextExtent(strPlain);
        int x = rectText.left + (rectText.Width() + ext.cy) / 2;
        int y = rectText.top + (rectText.Height() - ext.cx) / 2;
        CRect rectDraw(x, y, x + ext.cy, y + ext.cx);
        pDC->DrawText(strPlain, &rectDraw, DT_SINGLELINE | DT_NOCLIP | DT_NOPREFIX);
        TCHAR ch = 0;
        if (bMarks && pItem->GetMnemonic(ch)) {
            // the position of the mnemonic in the plain text
            int nPos = -1;
            for (int i = 0, j = 0; i < pItem->m_strText.GetLength(); i++) {
                if (pItem->m_strText[i] == '&' && i + 1 < pItem->m_strText.GetLength() &&
                    pItem->m_strText[i + 1] != '&') {
                    nPos = j;
                    break;
                }
                if (pItem->m_strText[i] == '&')
                    i++;
                j++;
            }
            if (nPos >= 0) {
                int nStart = nPos > 0 ? pDC->GetTextExtent(strPlain.Left(nPos)).cx : 0;
                int nLen = pDC->GetTextExtent(strPlain.Mid(nPos, 1)).cx;
                CPen pen(PS_SOLID, 1, clrText);
                CPen* pOldPen = pDC->SelectObject(&pen);
                pDC->MoveTo(x - ext.cy - 1, y + nStart);
                pDC->LineTo(x - ext.cy - 1, y + nStart + nLen);
                pDC->SelectObject(pOldPen);
            }
        }
    }
    pDC->SelectObject(pOldFont);
    pDC->SetBkMode(nOldMode);
    pDC->SetTextColor(clrOld);
}

void CTkMenuBar::DrawIconItem(CDC* pDC, CTkMenuBarItem* pItem)
{
    HWND hChild = GetActiveChild();
    if (hChild == NULL)
        return;
    HICON hIcon = (HICON)::SendMessageA(hChild, WM_GETICON, ICON_SMALL, 0);
    if (hIcon == NULL)
        hIcon = (HICON)::GetClassLongPtrA(hChild, GCLP_HICONSM);
    if (hIcon == NULL)
        hIcon = (HICON)::GetClassLongPtrA(hChild, GCLP_HICON);
    if (hIcon == NULL)
        hIcon = ::LoadIconA(NULL, (LPCSTR)IDI_APPLICATION);
    CSize size;
    pItem->GetSize(size);
    int x = std::max<int>(0, pItem->m_x + (size.cx - tkAfxData.cxSmIcon) / 2);
    int y = std::max<int>(0, pItem->m_y + (size.cy - tkAfxData.cySmIcon) / 2);
    ::DrawIconEx(pDC->m_hDC, x, y, hIcon, tkAfxData.cxSmIcon, tkAfxData.cySmIcon, 0, NULL, DI_NORMAL);
}

void CTkMenuBar::DrawFrameButtonItem(CDC* pDC, CTkMenuBarItem* pItemBase)
{
    CTkMenuBarFrameButton* pItem = (CTkMenuBarFrameButton*)pItemBase;
    HWND hChild = GetActiveChild();
    DWORD dwStyle = hChild != NULL ? ::GetWindowLongA(hChild, GWL_STYLE) : 0;
    if (!(dwStyle & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX)))
        return;
    UINT nState = 0;
    if (pItem->m_nKind == DFCS_CAPTIONMIN && !(dwStyle & WS_MINIMIZEBOX))
        nState = DFCS_INACTIVE;
    if (pItem->m_nKind == DFCS_CAPTIONRESTORE && !(dwStyle & WS_MAXIMIZEBOX))
        nState = DFCS_INACTIVE;
    int nIndex = -1;
    for (INT_PTR i = 0; i < m_arrItems.GetSize(); i++) {
        if (m_arrItems[i] == pItem)
            nIndex = (int)i;
    }
    BOOL bHot = m_nCapturedButton < 0 && m_nHotItem == nIndex;
    BOOL bPressed = m_nCapturedButton == nIndex && m_bPointerInCaptured;
    if (m_toolTip.m_hWnd != NULL)
        m_toolTip.SendMessage(TTM_POP);
    DrawFrameButton(pDC, GetItemRect(nIndex), pItem->m_nKind, nState, bHot, bPressed);
}

void CTkMenuBar::DrawFrameButton(CDC* pDC, const CRect& rect, UINT nKind, UINT nState, BOOL bHot, BOOL bPressed)
{
    if (nState & DFCS_INACTIVE) {
        CRect r = rect;
        pDC->DrawFrameControl(&r, DFC_CAPTION, nKind | DFCS_INACTIVE);
        return;
    }
    COLORREF clrBack = bPressed ? tkAfxData.clrToolkit[33 - 30] : bHot ? tkAfxData.clrToolkit[31 - 30]
                                                                     : tkAfxData.clr3DFace;
    if (tkAfxData.bFlatLook) {
        pDC->FillSolidRect(&rect, clrBack);
        if (bHot || bPressed)
            pDC->Draw3dRect(&rect, tkAfxData.clrHighlight, tkAfxData.clrHighlight);
        int nImage = nKind == DFCS_CAPTIONMIN ? 0 : nKind == DFCS_CAPTIONRESTORE ? 1 : 2;
        COLORREF clrGlyph = bPressed ? tkAfxData.clrToolkit[47 - 30]
                                     : m_bFrameActive ? tkAfxData.clrMenuText : tkAfxData.clrGrayText;
        if (m_glyphs.m_hImageList == NULL)
            return;
        // the glyph's shape in the glyph colour
        CDC dcMask;
        dcMask.CreateCompatibleDC(pDC);
        CBitmap bmMask;
        bmMask.CreateCompatibleBitmap(pDC, 10, 10);
        CBitmap* pOld = dcMask.SelectObject(&bmMask);
        dcMask.FillSolidRect(0, 0, 10, 10, RGB(255, 255, 255));
        ::ImageList_Draw(m_glyphs.m_hImageList, nImage, dcMask.m_hDC, 0, 0, ILD_MASK);
        int x0 = rect.left + (rect.Width() - 10) / 2;
        int y0 = rect.top + (rect.Height() - 10) / 2;
        for (int y = 0; y < 10; y++) {
            for (int x = 0; x < 10; x++) {
                if (dcMask.GetPixel(x, y) == RGB(0, 0, 0))
                    pDC->SetPixel(x0 + x, y0 + y, clrGlyph);
            }
        }
        dcMask.SelectObject(pOld);
    } else {
        CRect r = rect;
        pDC->DrawFrameControl(&r, DFC_CAPTION, nKind | (bPressed ? DFCS_PUSHED : 0));
    }
}

// ---- messages ----------------------------------------------------------------------------------

void CTkMenuBar::OnSettingChange(UINT uFlags, LPCTSTR lpszSection)
{
    CTkControlBar::OnSettingChange(uFlags, lpszSection);
    SetMenu(m_hMenu, m_hWindowMenu);
    CWnd* pTop = GetTopLevelFrame();
    if (pTop != NULL && pTop->IsFrameWnd()) {
        CRect rect;
        pTop->GetWindowRect(&rect);
        pTop->SetWindowPos(NULL, 0, 0, rect.Width() + 1, rect.Height() + 1, SWP_NOMOVE | SWP_FRAMECHANGED | SWP_NOZORDER);
        pTop->SetWindowPos(NULL, 0, 0, rect.Width(), rect.Height(), SWP_NOMOVE | SWP_FRAMECHANGED | SWP_NOZORDER);
    }
}

void CTkMenuBar::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS*)
{
    // No non-client area: the items' positions include the borders and the gripper, which the
    // bar paints in its client area.
}

LRESULT CTkMenuBar::OnNcHitTest(CPoint) { return HTCLIENT; }
