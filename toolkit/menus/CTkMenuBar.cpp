#include "CTkMenuBar.h"

#include <afxpriv.h>

#include <algorithm>
#include <climits>

#include "CTkCrc32.h"
#include "CTkCustomizeManager.h"
#include "CTkGlobalData.h"
#include "CTkMBarMDIWndHook.h"
#include "CTkMBarWndHook.h"
#include "CTkMemDC.h"
#include "CTkMenuItemInfo.h"
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

// The message filter of the menu bar whose popup loop runs (thread-local in effect: the user
// interface has one thread).
struct TkMenuBarFilter {
    CTkMenuBar* pBar;
    HHOOK hHook;
    int nNesting;
};
TkMenuBarFilter tkMenuBarFilter = {NULL, NULL, 0};

LRESULT CALLBACK TkMenuBarMsgFilterProc(int nCode, WPARAM wParam, LPARAM lParam)
{
    if (nCode == MSGF_MENU && tkMenuBarFilter.pBar != NULL &&
        tkMenuBarFilter.pBar->OnTrackingMessage((MSG*)lParam, FALSE))
        return 1;
    return ::CallNextHookEx(tkMenuBarFilter.hHook, nCode, wParam, lParam);
}

BOOL IsAlphaNumericKey(WPARAM vk) { return (vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z'); }

} // namespace

IMPLEMENT_DYNAMIC(CTkMenuBar, CTkControlBar)

BEGIN_MESSAGE_MAP(CTkMenuBar, CTkControlBar)
ON_WM_CREATE()
ON_WM_DESTROY()
ON_WM_PAINT()
ON_WM_SETTINGCHANGE()
ON_WM_NCCALCSIZE()
ON_WM_NCHITTEST()
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_LBUTTONDBLCLK()
ON_WM_SETCURSOR()
END_MESSAGE_MAP()

CTkMenuBar::CTkMenuBar()
    : m_nLastPressed(-1), m_nCapturedButton(-1), m_nHotItem(-1), m_nExpandTimerId(1000), m_nExpandTimerDelay(4500),
      m_nTrackedItem(-1), m_nNextItem(-1), m_nOpeningItem(-1), m_nMenuID(0), m_nLengthOverride(-1), m_bExpandTimer(0),
      m_bMoreWindows(1), m_bRightAlignButtons(1), m_bMousePosKnown(0), m_bShowMDIControls(1), m_bPointerInCaptured(0),
      m_bRightArrow(0), m_bLeftArrow(0), m_bEscape(0), m_bOverFrameButtons(0), m_bKeyboardCues(TRUE),
      m_bFrameActive(TRUE), m_bChildMaximized(FALSE), m_hWndMDIClient(NULL), m_hMenu(NULL), m_hLoadedMenu(NULL),
      m_hWindowMenu(NULL), m_xLastMouse(0), m_yLastMouse(0), m_pOpenPopup(NULL), m_nTrackingState(0),
      m_pFrameHookMB(NULL), m_pMDIHook(NULL), m_mapServerMenus(10), m_pCommandSource(NULL),
      m_bAltDown(0), m_bOnTrackedTitle(0), m_nTrackNesting(0)
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

// ---- tracking: keyboard mode, popups, mouse ----------------------------------------------------

CWnd* CTkMenuBar::GetOwnerFrame() const
{
    CWnd* pOwner = GetOwner();
    if (pOwner == NULL || !pOwner->IsFrameWnd())
        pOwner = GetTopLevelFrame();
    return pOwner != NULL ? pOwner : GetParent();
}

void CTkMenuBar::SetShowMnemonics(BOOL bShow)
{
    if ((tkMenuState.bShowMnemonics != 0) != (bShow != 0)) {
        tkMenuState.bShowMnemonics = bShow ? 1 : 0;
        Invalidate();
    }
}

int CTkMenuBar::HitVisible(CPoint point, int nSelector)
{
    int items[kMaxItems];
    int n = GetVisibleItems(items, nSelector);
    if (n == 0)
        return -1;
    return HitTestItem(point, items, items + n - 1);
}

BOOL CTkMenuBar::TranslateFrameMessage(MSG* pMsg)
{
    if (m_hWnd == NULL || !IsWindowVisible())
        return FALSE;
    if (::GetKeyState(VK_SHIFT) < 0 || ::GetKeyState(VK_CONTROL) < 0)
        return FALSE;
    UINT message = pMsg->message;
    WPARAM vk = pMsg->wParam;
    BOOL bKey = message == WM_KEYDOWN || message == WM_SYSKEYDOWN || message == WM_SYSKEYUP;
    m_bAltDown = ::GetKeyState(VK_MENU) < 0 || (message == WM_SYSKEYDOWN && (pMsg->lParam & (1 << 29)));
    if (bKey && ((vk >= VK_F1 && vk <= VK_F9) || vk == VK_F11))
        return FALSE;
    if (message == WM_SYSKEYDOWN && (pMsg->lParam & (1 << 29)))
        SetShowMnemonics(TRUE);
    if (message >= WM_LBUTTONDOWN && message <= WM_MBUTTONDBLCLK) {
        if (pMsg->hwnd != m_hWnd && m_nTrackingState > 0)
            SetTrackingState(0, -1);
        SetShowMnemonics(FALSE);
        return FALSE;
    }
    if (!bKey)
        return FALSE;
    if (vk == VK_MENU || (vk == VK_F10 && !m_bAltDown)) {
        if (message == WM_SYSKEYUP)
            ToggleKeyboardMode();
        return TRUE;
    }
    if (message == WM_SYSKEYUP)
        return FALSE;
    if (m_nTrackingState == 1) {
        switch (vk) {
        case VK_RETURN:
        case VK_SPACE:
        case VK_UP:
        case VK_DOWN:
            TrackPopup(m_nHotItem);
            return TRUE;
        case VK_ESCAPE:
            SetTrackingState(0, -1);
            SetShowMnemonics(FALSE);
            return TRUE;
        case VK_LEFT:
        case VK_RIGHT:
            SetHotItem(GetNextItem(m_nHotItem, vk == VK_LEFT));
            return TRUE;
        }
    }
    if ((m_bAltDown || m_nTrackingState == 1) && IsAlphaNumericKey(vk)) {
        int items[kMaxItems];
        int n = GetVisibleItems(items, 1);
        for (int k = 0; k < n; k++) {
            TCHAR ch = 0;
            if (Item(items[k])->GetMnemonic(ch) && (WPARAM)(BYTE)(UINT_PTR)::CharUpperA((LPSTR)(UINT_PTR)(BYTE)ch) == vk) {
                TrackPopup(items[k]);
                return TRUE;
            }
        }
        if (m_nTrackingState == 1 && !m_bAltDown) {
            ::MessageBeep(0);
            return TRUE;
        }
    }
    return FALSE;
}

void CTkMenuBar::SetTrackingState(int nState, int nItem)
{
    if (nState == m_nTrackingState)
        return;
    if (nState == 0)
        nItem = -1;
    SetHotItem(nItem);
    if (nState == 2) {
        m_bEscape = 0;
        m_bLeftArrow = m_bRightArrow = 1;
        m_nTrackedItem = nItem;
    }
    m_nTrackingState = nState;
}

void CTkMenuBar::ToggleKeyboardMode()
{
    if (m_nTrackingState == 0) {
        m_bOverFrameButtons = 0;
        SetTrackingState(1, m_nHotItem >= 0 ? m_nHotItem : 1);
    } else if (m_nTrackingState == 1) {
        SetTrackingState(0, -1);
    }
}

int CTkMenuBar::GetNextItem(int nItem, BOOL bPrev) const
{
    int items[kMaxItems];
    int n = GetVisibleItems(items, 1);
    if (n == 0)
        return -1;
    for (int k = 0; k < n; k++) {
        if (items[k] >= nItem)
            return bPrev ? items[(k + n - 1) % n] : items[(k + 1) % n];
    }
    return items[0];
}

void CTkMenuBar::TrackPopup(int nItem)
{
    tkMenuState.bOutsideMenuBarLoop = 0;
    tkMenuState.bFullMenusRequested = 0;
    CTkPopupMenu popup; // cool menus treat the popups as the toolkit's while it exists
    popup.Attach(m_hMenu);
    while (nItem >= 0 && nItem < m_arrItems.GetSize()) {
        m_nOpeningItem = nItem;
        m_nNextItem = -1;
        SetPressedItem(nItem);
        SetTrackingState(2, nItem);
        if (tkMenuBarFilter.nNesting++ == 0) {
            tkMenuBarFilter.pBar = this;
            tkMenuBarFilter.hHook =
                ::SetWindowsHookExA(WH_MSGFILTER, TkMenuBarMsgFilterProc, NULL, ::GetCurrentThreadId());
        }
        m_nTrackNesting++;
        Item(nItem)->Track();
        m_nTrackNesting--;
        if (--tkMenuBarFilter.nNesting == 0) {
            if (tkMenuBarFilter.hHook != NULL)
                ::UnhookWindowsHookEx(tkMenuBarFilter.hHook);
            tkMenuBarFilter.hHook = NULL;
            tkMenuBarFilter.pBar = NULL;
        }
        if (m_hWnd == NULL || !::IsWindow(m_hWnd))
            break; // the bar went with its frame while the popup was open
        SetPressedItem(-1);
        if (m_nTrackNesting == 0)
            SetTrackingState(m_bEscape ? 1 : 0, nItem);
        nItem = m_nNextItem;
        m_nOpeningItem = nItem;
        UpdateWindow();
    }
    if (m_bExpandTimer) {
        CWnd* pOwner = GetOwnerFrame();
        if (pOwner != NULL)
            pOwner->KillTimer(m_nExpandTimerId);
        m_bExpandTimer = 0;
    }
    tkMenuState.bFullMenusRequested = 0;
    m_nOpeningItem = -1;
    popup.Detach();
    tkMenuState.bOutsideMenuBarLoop = 1;
}

void CTkMenuBar::TrackNext(int nItem)
{
    if (nItem == m_nTrackedItem)
        return;
    CWnd* pOwner = GetOwnerFrame();
    if (pOwner != NULL)
        pOwner->PostMessage(WM_CANCELMODE);
    m_nNextItem = nItem;
}

DWORD CTkMenuBar::GetDockSide() const
{
    if (m_dwStyle & CBRS_FLOATING)
        return CBRS_ALIGN_TOP;
    if (m_dwStyle & CBRS_ALIGN_BOTTOM)
        return CBRS_ALIGN_BOTTOM;
    if (m_dwStyle & CBRS_ALIGN_TOP)
        return CBRS_ALIGN_TOP;
    if (m_dwStyle & CBRS_ALIGN_LEFT)
        return CBRS_ALIGN_LEFT;
    if (m_dwStyle & CBRS_ALIGN_RIGHT)
        return CBRS_ALIGN_RIGHT;
    return m_dwStyle & CBRS_ALIGN_ANY;
}

void CTkMenuBar::CalcTrackingPos(CPoint* pPoint, const CRect& rcItem, TPMPARAMS* pTPM, UINT* pnFlags)
{
    pTPM->cbSize = sizeof(TPMPARAMS);
    CRect rcExclude = rcItem;
    if (tkAfxData.bFlatLook)
        rcExclude.DeflateRect(1, 1);
    DWORD dwSide = GetDockSide();
    if (dwSide & (CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT)) {
        *pPoint = CPoint(rcItem.right - 1, rcItem.top);
        if (tkAfxData.bFlatLook)
            rcExclude.left += 4;
        *pnFlags &= ~TPM_VERTICAL;
    } else {
        *pPoint = CPoint(rcItem.left, rcItem.bottom - 1);
    }
    pTPM->rcExclude = rcExclude;
    if (m_hWnd != NULL) {
        CPoint ptCursor;
        ::GetCursorPos(&ptCursor);
        HMONITOR hMonitor = ::MonitorFromPoint(ptCursor, MONITOR_DEFAULTTONULL);
        MONITORINFO mi = {sizeof(MONITORINFO)};
        if (hMonitor != NULL && ::GetMonitorInfoA(hMonitor, &mi)) {
            pPoint->x = std::max<LONG>(pPoint->x, mi.rcMonitor.left);
            pPoint->y = std::max<LONG>(pPoint->y, mi.rcMonitor.top);
        }
    }
}

void CTkMenuBar::TrackMenuItem(CTkMenuBarItem* pItemBase)
{
    CTkMenuBarTextItem* pItem = (CTkMenuBarTextItem*)pItemBase;
    int nIndex = -1;
    for (INT_PTR i = 0; i < m_arrItems.GetSize(); i++) {
        if (m_arrItems[i] == pItem)
            nIndex = (int)i;
    }
    CRect rect = GetItemRect(nIndex);
    CRect rectScreen = rect;
    ClientToScreen(&rectScreen);
    UINT nFlags = TPM_VERTICAL;
    TPMPARAMS tpm = {};
    CPoint pt;
    CalcTrackingPos(&pt, rectScreen, &tpm, &nFlags);
    tkMenuState.bExpandMenus = tkMenuState.bFullMenusRequested;

    CTkMenuItemInfo info;
    info.fMask = MIIM_ID | MIIM_SUBMENU;
    ::GetMenuItemInfoA(m_hMenu, pItem->m_nMenuPos, TRUE, &info);
    CWnd* pOwner = GetOwnerFrame();
    if (info.hSubMenu == NULL) {
        if (pOwner != NULL)
            pOwner->PostMessage(WM_COMMAND, info.wID);
        m_pOpenPopup = NULL;
        return;
    }
    m_pOpenPopup = CTkPopupMenu::FromHandle(info.hSubMenu);
    tkMenuState.rcTrackButton = rect;
    RedrawWindow(&rect, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
    ClientToScreen(&tkMenuState.rcTrackButton);
    tkMenuState.nTrackButtonSide = GetDockSide();
    m_pOpenPopup->TrackPopupMenuEx(nFlags, pt.x, pt.y, pOwner, &tpm, TRUE);
    tkMenuState.nTrackButtonSide = 0;
    ::SetRectEmpty(&tkMenuState.rcTrackButton);
    m_pOpenPopup = NULL;
}

void CTkMenuBar::TrackSystemMenu(CTkMenuBarItem* pItem)
{
    HWND hChild = GetActiveChild();
    HMENU hSysMenu = hChild != NULL ? ::GetSystemMenu(hChild, FALSE) : NULL;
    if (hSysMenu == NULL)
        return;
    int nIndex = 0;
    for (INT_PTR i = 0; i < m_arrItems.GetSize(); i++) {
        if (m_arrItems[i] == pItem)
            nIndex = (int)i;
    }
    CRect rect = GetItemRect(nIndex);
    ClientToScreen(&rect);
    UINT nFlags = TPM_VERTICAL;
    TPMPARAMS tpm = {};
    CPoint pt;
    CalcTrackingPos(&pt, rect, &tpm, &nFlags);
    tkMenuState.nSkipInitMenuPopup++;
    // The child's window menu acts on the child: its commands go to the child as WM_SYSCOMMAND.
    ::TrackPopupMenuEx(hSysMenu, nFlags, pt.x, pt.y, hChild, &tpm);
}

void CTkMenuBar::OnIconDblClk(CTkMenuBarItem*)
{
    HWND hChild = GetActiveChild();
    if (hChild != NULL)
        ::PostMessageA(hChild, WM_SYSCOMMAND, SC_CLOSE, 0);
    m_nCapturedButton = -1;
}

BOOL CTkMenuBar::OnTrackingMessage(MSG* pMsg, BOOL bClientCoords)
{
    switch (pMsg->message) {
    case WM_KEYDOWN:
        if ((pMsg->wParam == VK_LEFT && m_bLeftArrow) || (pMsg->wParam == VK_RIGHT && m_bRightArrow)) {
            TrackNext(GetNextItem(m_nTrackedItem, pMsg->wParam == VK_LEFT));
            return TRUE;
        }
        if (pMsg->wParam == VK_ESCAPE)
            m_bEscape = 1;
        return FALSE;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN: {
        CPoint pt((short)LOWORD(pMsg->lParam), (short)HIWORD(pMsg->lParam));
        if (bClientCoords && pMsg->hwnd != NULL)
            ::ClientToScreen(pMsg->hwnd, &pt);
        HWND hUnder = ::WindowFromPoint(pt);
        if (hUnder != NULL && hUnder != m_hWnd)
            return FALSE;
        ScreenToClient(&pt);
        int nHit = HitVisible(pt, 1);
        if (pMsg->message == WM_MOUSEMOVE) {
            if (m_bMousePosKnown && pt.x == m_xLastMouse && pt.y == m_yLastMouse)
                return FALSE;
            if (nHit >= 0 && nHit != m_nTrackedItem)
                TrackNext(nHit);
            m_bOnTrackedTitle = nHit >= 0 && nHit == m_nTrackedItem;
            m_xLastMouse = pt.x;
            m_yLastMouse = pt.y;
            m_bMousePosKnown = 1;
            if (!tkMenuState.bOldWindows && m_arrHiddenCommands.GetSize() > 0) {
                CWnd* pOwner = GetOwnerFrame();
                if (m_bOnTrackedTitle && !m_bExpandTimer && pOwner != NULL) {
                    pOwner->SetTimer(m_nExpandTimerId, m_nExpandTimerDelay, NULL);
                    m_bExpandTimer = 1;
                } else if (!m_bOnTrackedTitle && m_bExpandTimer && pOwner != NULL) {
                    pOwner->KillTimer(m_nExpandTimerId);
                    m_bExpandTimer = 0;
                }
            }
            return FALSE;
        }
        if (nHit >= 0 && nHit == m_nTrackedItem) {
            TrackNext(-1);
            return TRUE;
        }
        return FALSE;
    }
    }
    return FALSE;
}

void CTkMenuBar::OnMenuSelect(HMENU hMenu, UINT nItem)
{
    if (m_nTrackingState <= 0)
        return;
    if (hMenu != NULL && ::GetSubMenu(hMenu, nItem) != NULL) {
        m_bLeftArrow = 1;
        m_bRightArrow = 0;
    } else {
        m_bLeftArrow = m_bRightArrow = 1;
    }
}

HWND CTkMenuBar::GetInPlaceTarget(BOOL*, UINT, WPARAM, LPARAM)
{
    // Server menus exist only with in-place activation, which the class library does not offer:
    // the map stays empty, so no message goes elsewhere.
    return NULL;
}

BOOL CTkMenuBar::OnFrameButtonMouse(UINT message, UINT, CPoint point)
{
    m_bOverFrameButtons = 1;
    BOOL bMaximized = FALSE;
    HWND hChild = GetActiveChild(&bMaximized);
    if (hChild == NULL || !bMaximized || !m_bChildMaximized)
        return FALSE;
    if (message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK) {
        m_nCapturedButton = HitVisible(point, 2);
        m_bPointerInCaptured = m_nCapturedButton >= 0;
    }
    DWORD dwStyle = ::GetWindowLongA(hChild, GWL_STYLE);
    if (!(dwStyle & WS_SYSMENU)) {
        m_nCapturedButton = -1;
        return FALSE;
    }
    SetPressedItem(m_bPointerInCaptured ? m_nCapturedButton : -1);
    if (m_nCapturedButton < 0)
        return FALSE;
    CTkMenuBarFrameButton* pButton = (CTkMenuBarFrameButton*)Item(m_nCapturedButton);
    if ((pButton->m_nKind == DFCS_CAPTIONMIN && !(dwStyle & WS_MINIMIZEBOX)) ||
        (pButton->m_nKind == DFCS_CAPTIONRESTORE && !(dwStyle & WS_MAXIMIZEBOX))) {
        // drawn disabled: it takes no clicks
        m_nCapturedButton = -1;
        m_bPointerInCaptured = 0;
        SetPressedItem(-1);
        return FALSE;
    }
    switch (message) {
    case WM_LBUTTONDBLCLK:
        if (pButton->m_nKind != DFCS_CAPTIONCLOSE)
            return FALSE;
        ::PostMessageA(hChild, WM_SYSCOMMAND, SC_CLOSE, 0);
        m_nCapturedButton = -1;
        m_bPointerInCaptured = 0;
        return TRUE;
    case WM_LBUTTONDOWN:
        UpdateWindow();
        m_bPointerInCaptured = 1;
        SetCapture();
        return TRUE;
    case WM_MOUSEMOVE:
        if (::GetCapture() != m_hWnd)
            return FALSE;
        m_bPointerInCaptured = GetItemRect(m_nCapturedButton).PtInRect(point);
        SetPressedItem(m_bPointerInCaptured ? m_nCapturedButton : -1);
        return TRUE;
    case WM_LBUTTONUP:
        if (::GetCapture() != m_hWnd)
            return FALSE;
        ::ReleaseCapture();
        if (m_bPointerInCaptured)
            ::PostMessageA(hChild, WM_SYSCOMMAND, pButton->m_nSysCommand, 0);
        m_bPointerInCaptured = 0;
        SetPressedItem(-1);
        m_nCapturedButton = -1;
        return TRUE;
    }
    return FALSE;
}

void CTkMenuBar::ShowFrameButtonTip(int x, int y, int nKind)
{
    if (!(m_dwStyle & CBRS_TOOLTIPS) || m_toolTip.m_hWnd == NULL)
        return;
    m_toolTip.SendMessage(TTM_POP);
    if (m_toolTip.SendMessage(TTM_GETTOOLCOUNT) > 0) {
        m_toolTip.DelTool(this, 0);
        m_toolTip.Activate(FALSE);
    }
    UINT nText = nKind == DFCS_CAPTIONMIN ? IDS_TK_MINIMIZE_WINDOW
                 : nKind == DFCS_CAPTIONRESTORE ? IDS_TK_RESTORE_WINDOW
                 : nKind == DFCS_CAPTIONCLOSE ? IDS_TK_CLOSE_WINDOW
                                              : 0;
    if (nText != 0) {
        char sz[128] = "";
        ::LoadStringA(tkAfxData.hInstance, nText, sz, sizeof(sz));
        m_toolTip.AddTool(this, sz, NULL, 0);
        m_toolTip.Activate(TRUE);
    }
    MSG msg = {};
    msg.hwnd = m_hWnd;
    msg.message = WM_MOUSEMOVE;
    msg.lParam = MAKELPARAM(x, y);
    ::GetCursorPos(&msg.pt);
    m_toolTip.RelayEvent(&msg);
}

void CTkMenuBar::OnMouseMove(UINT nFlags, CPoint point)
{
    if (OnFrameButtonMouse(WM_MOUSEMOVE, nFlags, point))
        return;
    if (m_nTrackingState == 2) {
        m_xLastMouse = point.x;
        m_yLastMouse = point.y;
        m_bMousePosKnown = 1;
        Default();
        return;
    }
    int nHit = HitVisible(point, 3);
    if (m_nTrackingState == 1) {
        BOOL bMoved = !m_bMousePosKnown || point.x != m_xLastMouse || point.y != m_yLastMouse;
        m_xLastMouse = point.x;
        m_yLastMouse = point.y;
        m_bMousePosKnown = 1;
        if (!bMoved || nHit < 0)
            return;
    }
    if (nHit != m_nHotItem && nHit >= (int)m_arrItems.GetSize() - 3)
        ShowFrameButtonTip(point.x, point.y, ((CTkMenuBarFrameButton*)Item(nHit))->m_nKind);
    SetHotItem(nHit);
}

void CTkMenuBar::OnLButtonDown(UINT nFlags, CPoint point)
{
    int nHit = HitVisible(point, 1);
    if (nHit < 0) {
        if (OnFrameButtonMouse(WM_LBUTTONDOWN, nFlags, point) || m_pDockSite == NULL)
            return;
        CTkControlBar::OnLButtonDown(nFlags, point);
        if (m_pDockSite != NULL)
            m_pDockSite->m_nIdleFlags |= CFrameWnd::idleLayout | CFrameWnd::idleNotify;
        return;
    }
    if (m_nTrackingState != 2)
        m_nTrackedItem = -1;
    if (nHit != m_nTrackedItem)
        TrackPopup(nHit);
}

void CTkMenuBar::OnLButtonUp(UINT nFlags, CPoint point) { OnFrameButtonMouse(WM_LBUTTONUP, nFlags, point); }

void CTkMenuBar::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    int nHit = HitVisible(point, 1);
    if (nHit < 0) {
        if (!OnFrameButtonMouse(WM_LBUTTONDBLCLK, nFlags, point))
            CTkControlBar::OnLButtonDblClk(nFlags, point);
        return;
    }
    if (nHit != m_nTrackedItem)
        TrackPopup(nHit);
    else
        Item(nHit)->OnDblClk();
}

BOOL CTkMenuBar::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    if (m_bChildMaximized) {
        CPoint pt;
        ::GetCursorPos(&pt);
        ScreenToClient(&pt);
        if (HitVisible(pt, 3) >= 0) {
            ::SetCursor(::LoadCursorA(NULL, (LPCSTR)IDC_ARROW));
            return TRUE;
        }
    }
    return CTkControlBar::OnSetCursor(pWnd, nHitTest, message);
}

// ---- customization ----------------------------------------------------------------------------

namespace {

const BYTE kKeyEnd[4] = {0, 0, 0, 0};

HMENU FindSubMenuEntry(void* pBar, UINT nKey) { return ((CTkMenuBar*)pBar)->FindSubMenuByKey(nKey); }

CString MenuItemText(HMENU hMenu, int nPos)
{
    char sz[256] = {};
    ::GetMenuStringA(hMenu, nPos, sz, sizeof(sz), MF_BYPOSITION);
    return sz;
}

} // namespace

int CTkMenuBar::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CTkControlBar::OnCreate(lpCreateStruct) == -1)
        return -1;
    // The customize sheet finds the popups of menu buttons through the bar.
    CTkCustomizeManager::Instance()->m_hookCommandPopup = TK_CALLBACK(FindSubMenuEntry, this);
    return 0;
}

void CTkMenuBar::OnDestroy()
{
    CTkCustomizeManager::Instance()->UnregisterAll(this);
    CTkControlBar::OnDestroy();
}

DWORD CTkMenuBar::GetTitleKey(LPCTSTR lpszTitle)
{
    CTkCrc32 crc;
    crc.Update(lpszTitle, (UINT)strlen(lpszTitle));
    crc.Update(kKeyEnd, sizeof(kKeyEnd));
    return crc.GetValue();
}

DWORD CTkMenuBar::GetItemKey(LPCTSTR lpszTitle, LPCTSTR lpszItem)
{
    CTkCrc32 crc;
    crc.Update(lpszTitle, (UINT)strlen(lpszTitle));
    crc.Update(kKeyEnd, sizeof(kKeyEnd));
    crc.Update(lpszItem, (UINT)strlen(lpszItem));
    crc.Update(kKeyEnd, sizeof(kKeyEnd));
    return crc.GetValue();
}

HMENU CTkMenuBar::FindSubMenuByKey(UINT nKey)
{
    if (m_hMenu == NULL || !::IsMenu(m_hMenu))
        return NULL;
    int nTitles = ::GetMenuItemCount(m_hMenu);
    for (int i = 0; i < nTitles; i++) {
        HMENU hPopup = ::GetSubMenu(m_hMenu, i);
        if (hPopup == NULL)
            continue;
        CString strTitle = MenuItemText(m_hMenu, i);
        int nItems = ::GetMenuItemCount(hPopup);
        for (int j = 0; j < nItems; j++) {
            HMENU hSub = ::GetSubMenu(hPopup, j);
            if (hSub != NULL && GetItemKey(strTitle, MenuItemText(hPopup, j)) == nKey)
                return hSub;
        }
    }
    return NULL;
}
