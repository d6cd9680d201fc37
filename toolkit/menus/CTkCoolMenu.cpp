#include "CTkCoolMenu.h"

#include <afxcmn.h>
#include <afxext.h>

#include "CTkCustomizeManager.h"
#include "CTkGlobalData.h"
#include "CTkImageManager.h"
#include "CTkMenuItemData.h"
#include "CTkMenuItemInfo.h"
#include "CTkRegistryHelper.h"
#include "TkDrawing.h"
#include "TkMenuState.h"
#include "ToolkitResource.h"

IMPLEMENT_DYNAMIC(CTkCoolMenu, CTkWndHook)

namespace {

COLORREF ToolkitColor(int n) { return tkAfxData.clrToolkit[n - 30]; }

CString ToolkitString(UINT nID)
{
    char sz[256] = "";
    ::LoadStringA(tkAfxData.hInstance, nID, sz, sizeof(sz));
    return sz;
}

void FillRect(HDC hdc, const RECT& rc, COLORREF clr)
{
    COLORREF clrOld = ::SetBkColor(hdc, clr);
    ::ExtTextOutA(hdc, 0, 0, ETO_OPAQUE, &rc, NULL, 0, NULL);
    ::SetBkColor(hdc, clrOld);
}

void FrameRect(HDC hdc, const RECT& rc, COLORREF clr)
{
    HBRUSH hbr = ::CreateSolidBrush(clr);
    ::FrameRect(hdc, &rc, hbr);
    ::DeleteObject(hbr);
}

void Line(HDC hdc, int x1, int y1, int x2, int y2, COLORREF clr)
{
    HPEN hPen = ::CreatePen(PS_SOLID, 1, clr);
    HGDIOBJ hOld = ::SelectObject(hdc, hPen);
    ::MoveToEx(hdc, x1, y1, NULL);
    ::LineTo(hdc, x2, y2);
    ::SelectObject(hdc, hOld);
    ::DeleteObject(hPen);
}

BOOL GetItem(HMENU hMenu, int nPos, CTkMenuItemInfo& mii, char* pszText, int cchText)
{
    mii.fMask = MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_FTYPE | MIIM_DATA | MIIM_STRING;
    mii.dwTypeData = pszText;
    mii.cch = cchText - 1;
    pszText[0] = 0;
    return ::GetMenuItemInfoA(hMenu, nPos, TRUE, &mii);
}

CTkMenuItemData* RecordAt(HMENU hMenu, int nPos)
{
    CTkMenuItemInfo mii;
    mii.fMask = MIIM_DATA;
    if (!::GetMenuItemInfoA(hMenu, nPos, TRUE, &mii))
        return NULL;
    return CTkMenuItemData::FromItemData(mii.dwItemData);
}

BOOL IsFlat() { return tkAfxData.bFlatLook; }

// Stands for the bullet bitmap of radio items: DrawCheckMark draws a bullet for any bitmap.
HBITMAP RadioMarkBitmap()
{
    static HBITMAP s_hbm = ::CreateBitmap(1, 1, 1, 1, NULL);
    return s_hbm;
}

BOOL IsExpandItem(const CTkMenuItemData* pData)
{
    return pData->m_nID == TK_SHOW_FULL_MENUS || pData->m_strText == TK_EXPAND_ITEM_TEXT;
}

} // namespace

CTkCoolMenu::CTkCoolMenu()
    : m_nRecentItemCount(5), m_nExpandTimerID(1000), m_nExpandDelay(750), m_bHideRarelyUsed(FALSE),
      m_bExpandTimerRunning(0), m_bKeyboardCues(0), m_bPopupMenuLoop(FALSE), m_szImage(16, 15), m_szBox(16, 15)
{
}

CTkCoolMenu::~CTkCoolMenu()
{
    m_listConvertedMenus.RemoveAll();
    while (!m_listItems.IsEmpty())
        delete m_listItems.RemoveHead();
    ResetImageSize();
}

BOOL CTkCoolMenu::HookWindow(HWND hWnd)
{
    if (hWnd != NULL)
        tkMenuState.bCoolMenusEnabled = 1;
    return CTkWndHook::HookWindow(hWnd);
}

BOOL CTkCoolMenu::Install(CWnd* pWnd)
{
    BOOL bResult = HookWindow(pWnd);
    tkMenuState.bCoolMenusEnabled = 1;
    return bResult;
}

// ---- pictures -----------------------------------------------------------------------------------

BOOL CTkCoolMenu::LoadToolbarWnd(CWnd* pToolBar, BOOL bReplace)
{
    if (pToolBar == NULL || !::IsWindow(pToolBar->m_hWnd))
        return FALSE;
    HIMAGELIST hList = (HIMAGELIST)::SendMessageA(pToolBar->m_hWnd, TB_GETIMAGELIST, 0, 0);
    if (hList == NULL)
        return FALSE;
    if (ImageList_GetImageCount(hList) == 0)
        return TRUE;
    IMAGEINFO info;
    if (ImageList_GetImageInfo(hList, 0, &info))
        m_szImage = CSize(info.rcImage.right - info.rcImage.left, info.rcImage.bottom - info.rcImage.top);
    int nButtons = (int)::SendMessageA(pToolBar->m_hWnd, TB_BUTTONCOUNT, 0, 0);
    for (int i = 0; i < nButtons; i++) {
        TBBUTTON button = {};
        if (!::SendMessageA(pToolBar->m_hWnd, TB_GETBUTTON, i, (LPARAM)&button))
            continue;
        if ((button.fsStyle & TBSTYLE_SEP) || button.idCommand < 0 || button.iBitmap < 0)
            continue;
        HICON hIcon = ImageList_GetIcon(hList, button.iBitmap, ILD_NORMAL);
        if (hIcon != NULL)
            AddImage((UINT)button.idCommand, hIcon, m_szImage.cx, m_szImage.cy, bReplace);
    }
    return TRUE;
}

BOOL CTkCoolMenu::LoadToolbar(UINT nIDToolbar, BOOL bReplace)
{
    return TkGetImageManager().LoadToolbarImages(MAKEINTRESOURCE(nIDToolbar), bReplace, FALSE);
}

BOOL CTkCoolMenu::LoadToolbars(const UINT* pIDs, int nCount, BOOL bReplace)
{
    for (int i = 0; i < nCount; i++) {
        if (!LoadToolbar(pIDs[i], bReplace))
            return FALSE;
    }
    return TRUE;
}

BOOL CTkCoolMenu::CommandStub(UINT) { return FALSE; }

BOOL CTkCoolMenu::HideCommand(UINT nID)
{
    m_bHideRarelyUsed = TRUE;
    m_arrHiddenCommands.Add(nID);
    return TRUE;
}

BOOL CTkCoolMenu::CommandsStub(const UINT*, int) { return FALSE; }

BOOL CTkCoolMenu::HideCommands(const UINT* pIDs, int nCount)
{
    for (int i = 0; i < nCount; i++) {
        if (!HideCommand(pIDs[i]))
            return FALSE;
    }
    return TRUE;
}

BOOL CTkCoolMenu::AddImagesFromBitmap(HBITMAP hBitmap, const UINT* pIDs, int nCount, BOOL bReplace)
{
    if (hBitmap == NULL || pIDs == NULL)
        return FALSE;
    // 24-bit colour: this common-controls library maps plain ILC_COLOR to 4 bits
    HIMAGELIST hList = ImageList_Create(m_szImage.cx, m_szImage.cy, ILC_COLOR24 | ILC_MASK, 0, 10);
    if (hList == NULL)
        return FALSE;
    ImageList_AddMasked(hList, hBitmap, RGB(192, 192, 192));
    int nImages = ImageList_GetImageCount(hList);
    for (int i = 0; i < nCount && i < nImages; i++) {
        if (pIDs[i] == 0)
            continue;
        HICON hIcon = ImageList_GetIcon(hList, i, ILD_NORMAL);
        if (hIcon != NULL)
            AddImage(pIDs[i], hIcon, m_szImage.cx, m_szImage.cy, bReplace);
    }
    ImageList_Destroy(hList);
    return TRUE;
}

BOOL CTkCoolMenu::LoadBitmapImages(UINT nIDBitmap, const UINT* pIDs, int nCount, BOOL bReplace)
{
    HBITMAP hBitmap = ::LoadBitmapA(AfxGetResourceHandle(), MAKEINTRESOURCE(nIDBitmap));
    BOOL bResult = AddImagesFromBitmap(hBitmap, pIDs, nCount, bReplace);
    if (hBitmap != NULL)
        ::DeleteObject(hBitmap);
    return bResult;
}

BOOL CTkCoolMenu::AddIcon(UINT nID, HICON hIcon, BOOL bReplace)
{
    if (nID == 0 || hIcon == NULL)
        return FALSE;
    AddImage(nID, hIcon, m_szImage.cx, m_szImage.cy, bReplace);
    return TRUE;
}

void CTkCoolMenu::AddImage(UINT nID, HICON hIcon, int cx, int cy, BOOL bReplace)
{
    TkGetImageManager().AddIcon(nID, hIcon, cx, cy, bReplace, FALSE);
    ::DestroyIcon(hIcon);
}

int CTkCoolMenu::FindMenuItem(CMenu* pMenu, UINT nID)
{
    if (pMenu == NULL || !::IsMenu(pMenu->m_hMenu))
        return -1;
    int nCount = ::GetMenuItemCount(pMenu->m_hMenu);
    for (int i = 0; i < nCount; i++) {
        if (::GetMenuItemID(pMenu->m_hMenu, i) == nID)
            return i;
    }
    return -1;
}

void CTkCoolMenu::SetImageSize(CSize size) { m_szImage = size; }
CSize CTkCoolMenu::GetImageSize() { return m_szImage; }

void CTkCoolMenu::ResetImageSize()
{
    m_szImage = CSize(0, 0);
    m_szBox = CSize(0, 0);
}

// ---- recently used commands ---------------------------------------------------------------------

void CTkCoolMenu::SetRecentItemCount(int n) { m_nRecentItemCount = n; }

void CTkCoolMenu::ReadRecentItems(CDWordArray& arrIDs)
{
    CTkRegistryHelper reg(HKEY_CURRENT_USER);
    CString strSection = ToolkitString(IDS_TK_RECENT_ITEM_LIST), strFormat = ToolkitString(IDS_TK_RECENT_ITEM);
    for (int i = 1; i <= m_nRecentItemCount; i++) {
        CString strEntry;
        strEntry.Format(strFormat, i);
        arrIDs.Add(reg.GetProfileInt(strSection, strEntry, 0));
    }
}

BOOL CTkCoolMenu::AddRecentItem(UINT nID)
{
    if (!IsHiddenCommand(nID) && !IsRecentItem(nID))
        return FALSE;
    CDWordArray arrIDs;
    ReadRecentItems(arrIDs);
    for (int i = (int)arrIDs.GetSize() - 1; i >= 0; i--) {
        if (arrIDs[i] == nID)
            arrIDs.RemoveAt(i);
    }
    arrIDs.InsertAt(0, nID);
    CTkRegistryHelper reg(HKEY_CURRENT_USER);
    CString strSection = ToolkitString(IDS_TK_RECENT_ITEM_LIST), strFormat = ToolkitString(IDS_TK_RECENT_ITEM);
    for (int i = 1; i <= m_nRecentItemCount && i <= arrIDs.GetSize(); i++) {
        CString strEntry;
        strEntry.Format(strFormat, i);
        reg.WriteProfileInt(strSection, strEntry, (int)arrIDs[i - 1]);
    }
    return TRUE;
}

BOOL CTkCoolMenu::IsRecentItem(UINT nID)
{
    CDWordArray arrIDs;
    ReadRecentItems(arrIDs);
    for (int i = 0; i < arrIDs.GetSize(); i++) {
        if (arrIDs[i] == nID)
            return TRUE;
    }
    return FALSE;
}

void CTkCoolMenu::ResetRecentItems()
{
    CTkRegistryHelper reg(HKEY_CURRENT_USER);
    CString strSection = ToolkitString(IDS_TK_RECENT_ITEM_LIST), strFormat = ToolkitString(IDS_TK_RECENT_ITEM);
    for (int i = 1;; i++) {
        CString strEntry;
        strEntry.Format(strFormat, i);
        if (!reg.DeleteProfileValue(strSection, strEntry))
            break;
    }
}

BOOL CTkCoolMenu::IsHiddenCommand(UINT nID)
{
    for (int i = 0; i < m_arrHiddenCommands.GetSize(); i++) {
        if (m_arrHiddenCommands[i] == nID)
            return !IsRecentItem(nID);
    }
    return FALSE;
}

BOOL CTkCoolMenu::IsPopupTracking() { return tkMenuState.bPopupActive && tkAfxData.bRecentlyUsedFirst; }

// ---- records and conversion ---------------------------------------------------------------------

CTkMenuItemData* CTkCoolMenu::NewRecord()
{
    CTkMenuItemData* pData = new CTkMenuItemData;
    m_listItems.AddTail(pData);
    return pData;
}

void CTkCoolMenu::DeleteRecord(CTkMenuItemData* pData)
{
    POSITION pos = m_listItems.Find(pData);
    if (pos != NULL)
        m_listItems.RemoveAt(pos);
    delete pData;
}

CTkMenuItemData* CTkCoolMenu::FindRecord(HMENU hMenu, int nPos) { return RecordAt(hMenu, nPos); }

void CTkCoolMenu::ConvertMenu(CMenu* pMenu, BOOL bOwnerDraw)
{
    if (pMenu == NULL || !::IsMenu(pMenu->m_hMenu))
        return;
    HMENU hMenu = pMenu->m_hMenu;
    int nCount = ::GetMenuItemCount(hMenu);
    for (int i = 0; i < nCount; i++) {
        char szText[256];
        CTkMenuItemInfo mii;
        if (!GetItem(hMenu, i, mii, szText, sizeof(szText)))
            continue;
        CTkMenuItemData* pData = CTkMenuItemData::FromItemData(mii.dwItemData);
        if (mii.dwItemData != 0 && pData == NULL)
            continue; // somebody else's item
        CTkMenuItemInfo miiSet;
        CTkMenuItemData* pDropped = NULL; // the record goes once its text is back in the item
        if (bOwnerDraw) {
            if (!(mii.fType & MFT_OWNERDRAW)) {
                miiSet.fMask = MIIM_FTYPE;
                miiSet.fType = mii.fType | MFT_OWNERDRAW;
                if (pData == NULL) {
                    pData = NewRecord();
                    pData->m_strText = szText;
                    pData->m_hMenu = hMenu;
                    pData->m_hSubMenu = mii.hSubMenu;
                    pData->m_nHomePos = i;
                    pData->m_nID = mii.wID;
                    pData->m_fType = miiSet.fType;
                    pData->m_fState = mii.fState;
                    if (m_bHideRarelyUsed && IsPopupTracking() && IsHiddenCommand(mii.wID))
                        pData->m_nGroup = TK_GROUP_HIDDEN;
                    miiSet.fMask |= MIIM_DATA;
                    miiSet.dwItemData = (ULONG_PTR)pData;
                }
            }
            if (pData != NULL && m_listConvertedMenus.Find(hMenu) == NULL)
                m_listConvertedMenus.AddTail(hMenu);
        } else if (pData != NULL) {
            miiSet.fMask = MIIM_FTYPE | MIIM_DATA;
            miiSet.fType = mii.fType & ~MFT_OWNERDRAW;
            miiSet.dwItemData = 0;
            if (!(miiSet.fType & MFT_SEPARATOR)) {
                miiSet.fMask |= MIIM_STRING;
                miiSet.dwTypeData = const_cast<LPSTR>((LPCSTR)pData->m_strText);
            }
            pDropped = pData;
        }
        if (miiSet.fMask != 0)
            ::SetMenuItemInfoA(hMenu, i, TRUE, &miiSet);
        if (pDropped != NULL)
            DeleteRecord(pDropped);
    }
}

int CTkCoolMenu::FindExpandItem(HMENU hMenu)
{
    int nCount = ::GetMenuItemCount(hMenu);
    for (int i = 0; i < nCount; i++) {
        if (::GetMenuItemID(hMenu, i) == TK_SHOW_FULL_MENUS)
            return i;
    }
    return -1;
}

BOOL CTkCoolMenu::IsPrevItemHidden(CMenu* pMenu, int nPos)
{
    if (nPos <= 0)
        return TRUE;
    CTkMenuItemData* pData = RecordAt(pMenu->m_hMenu, nPos - 1);
    return pData != NULL && (pData->m_nGroup & TK_GROUP_HIDDEN);
}

BOOL CTkCoolMenu::IsNextItemHidden(CMenu* pMenu, int nPos)
{
    if (nPos >= ::GetMenuItemCount(pMenu->m_hMenu) - 1)
        return TRUE;
    CTkMenuItemData* pData = RecordAt(pMenu->m_hMenu, nPos + 1);
    return pData != NULL && (pData->m_nGroup & TK_GROUP_HIDDEN);
}

BOOL CTkCoolMenu::IsFirstVisibleItem(HMENU hMenu, int nPos)
{
    CTkMenuItemData* pData = RecordAt(hMenu, 0);
    return pData != NULL && pData->m_nHomePos == nPos;
}

BOOL CTkCoolMenu::IsLastVisibleItem(HMENU hMenu, int nPos, UINT nID)
{
    if (nID == TK_SHOW_FULL_MENUS)
        return TRUE;
    int nCount = ::GetMenuItemCount(hMenu);
    if (nCount > 0 && ::GetMenuItemID(hMenu, nCount - 1) == TK_SHOW_FULL_MENUS)
        return FALSE;
    return nPos == nCount - 1;
}

BOOL CTkCoolMenu::HasHiddenItems(CMenu* pMenu)
{
    if (!m_bHideRarelyUsed)
        return FALSE;
    int nCount = ::GetMenuItemCount(pMenu->m_hMenu);
    for (int i = 0; i < nCount; i++) {
        CTkMenuItemData* pData = RecordAt(pMenu->m_hMenu, i);
        if (pData != NULL && pData->m_nID != TK_SHOW_FULL_MENUS && (pData->m_nGroup & TK_GROUP_HIDDEN) &&
            !IsRecentItem(pData->m_nID))
            return TRUE;
    }
    return FALSE;
}

BOOL CTkCoolMenu::UpdateExpandItem(CMenu* pMenu, BOOL bForce)
{
    HMENU hMenu = pMenu->m_hMenu;
    int nExpand = FindExpandItem(hMenu);
    if (nExpand >= 0 && nExpand != ::GetMenuItemCount(hMenu) - 1)
        bForce = TRUE;
    if (tkMenuState.bExpandMenus || bForce) {
        BOOL bResult = FALSE;
        if (nExpand >= 0) {
            CTkMenuItemData* pData = RecordAt(hMenu, nExpand);
            ::DeleteMenu(hMenu, nExpand, MF_BYPOSITION);
            if (pData != NULL)
                DeleteRecord(pData);
            bResult = TRUE;
        }
        if (tkMenuState.bExpandMenus)
            return bResult;
        nExpand = -1;
    } else if (nExpand >= 0) {
        return FALSE;
    }
    if (HasHiddenItems(pMenu) && IsPopupTracking()) {
        ::AppendMenuA(hMenu, MF_STRING, TK_SHOW_FULL_MENUS, TK_EXPAND_ITEM_TEXT);
        CTkMenuItemData* pData = NewRecord();
        pData->m_strText = TK_EXPAND_ITEM_TEXT;
        pData->m_hMenu = hMenu;
        pData->m_nHomePos = ::GetMenuItemCount(hMenu) - 1;
        pData->m_nID = TK_SHOW_FULL_MENUS;
        pData->m_fType = MFT_STRING | MFT_OWNERDRAW;
        CTkMenuItemInfo mii;
        mii.fMask = MIIM_FTYPE | MIIM_DATA;
        mii.fType = pData->m_fType;
        mii.dwItemData = (ULONG_PTR)pData;
        ::SetMenuItemInfoA(hMenu, pData->m_nHomePos, TRUE, &mii);
        return TRUE;
    }
    return FALSE;
}

void CTkCoolMenu::HideMenuItems(CMenu* pMenu)
{
    HMENU hMenu = pMenu->m_hMenu;
    int nCount = ::GetMenuItemCount(hMenu);
    for (int i = 0; i < nCount; i++) {
        CTkMenuItemData* pData = RecordAt(hMenu, i);
        if (pData == NULL || pData->m_nID == TK_SHOW_FULL_MENUS || !(pData->m_nGroup & TK_GROUP_HIDDEN))
            continue;
        pData->m_nGroup &= ~(TK_GROUP_FIRST | TK_GROUP_LAST);
        if (!IsPrevItemHidden(pMenu, i))
            pData->m_nGroup |= TK_GROUP_FIRST;
        if (!IsNextItemHidden(pMenu, i))
            pData->m_nGroup |= TK_GROUP_LAST;
    }
    UpdateExpandItem(pMenu, tkMenuState.bExpandMenus);
    if (tkMenuState.bExpandMenus)
        return;
    for (int i = ::GetMenuItemCount(hMenu) - 1; i >= 0; i--) {
        CTkMenuItemData* pData = RecordAt(hMenu, i);
        if (pData == NULL || pData->m_nID == TK_SHOW_FULL_MENUS || !(pData->m_nGroup & TK_GROUP_HIDDEN) ||
            pData->m_bRemoved)
            continue;
        pData->m_bRemoved = 1;
        pData->m_fState = ::GetMenuState(hMenu, i, MF_BYPOSITION) & 0xFFFF;
        if (pData->m_hSubMenu != NULL)
            ::RemoveMenu(hMenu, i, MF_BYPOSITION); // its popup lives on
        else
            ::DeleteMenu(hMenu, i, MF_BYPOSITION);
    }
    // No two separators in a row (nor one left at the top).
    for (int i = ::GetMenuItemCount(hMenu) - 1; i >= 0; i--) {
        CTkMenuItemData* pData = RecordAt(hMenu, i);
        if (pData == NULL || !(pData->m_fType & MFT_SEPARATOR))
            continue;
        CTkMenuItemData* pBelow = i + 1 < ::GetMenuItemCount(hMenu) ? RecordAt(hMenu, i + 1) : NULL;
        if (pBelow != NULL && (pBelow->m_fType & MFT_SEPARATOR)) {
            pData->m_bRemoved = 1;
            pData->m_fState = ::GetMenuState(hMenu, i, MF_BYPOSITION) & 0xFFFF;
            ::DeleteMenu(hMenu, i, MF_BYPOSITION);
        }
    }
}

BOOL CTkCoolMenu::RestoreMenu(HMENU hMenu)
{
    BOOL bInserted = FALSE;
    // Records were made in the order of their positions, so every removed item finds the items
    // above it in place when it goes back to its home position.
    CTypedPtrArray<CPtrArray, CTkMenuItemData*> arrRecords;
    for (POSITION pos = m_listItems.GetHeadPosition(); pos != NULL;) {
        CTkMenuItemData* pData = m_listItems.GetNext(pos);
        if (pData->m_hMenu == hMenu && pData->m_nID != TK_SHOW_FULL_MENUS)
            arrRecords.Add(pData);
    }
    for (int i = 0; i < arrRecords.GetSize(); i++) {
        CTkMenuItemData* pData = arrRecords[i];
        if (pData->m_hSubMenu != NULL && ::IsMenu(pData->m_hSubMenu))
            RestoreMenu(pData->m_hSubMenu);
        CTkMenuItemInfo mii;
        mii.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_DATA;
        mii.fType = pData->m_fType;
        mii.fState = pData->m_fState;
        mii.wID = pData->m_nID;
        mii.hSubMenu = pData->m_hSubMenu;
        mii.dwItemData = (ULONG_PTR)pData;
        if (!(pData->m_fType & MFT_SEPARATOR)) {
            mii.fMask |= MIIM_STRING;
            mii.dwTypeData = const_cast<LPSTR>((LPCSTR)pData->m_strText);
        }
        if (pData->m_bRemoved) {
            ::InsertMenuItemA(hMenu, pData->m_nHomePos, TRUE, &mii);
            pData->m_bRemoved = 0;
            bInserted = TRUE;
        } else {
            // Items that stayed keep their state (the program may have changed it meanwhile).
            mii.fMask &= ~MIIM_STATE;
            int nCount = ::GetMenuItemCount(hMenu);
            for (int nPos = 0; nPos < nCount; nPos++) {
                if (RecordAt(hMenu, nPos) == pData) {
                    ::SetMenuItemInfoA(hMenu, nPos, TRUE, &mii);
                    break;
                }
            }
        }
    }
    CMenu* pMenu = CMenu::FromHandle(hMenu);
    UpdateExpandItem(pMenu, TRUE);
    return bInserted;
}

BOOL CTkCoolMenu::RestoreMenuItems(CMenu* pMenu)
{
    if (pMenu == NULL || !::IsMenu(pMenu->m_hMenu))
        return FALSE;
    return RestoreMenu(pMenu->m_hMenu);
}

BOOL CTkCoolMenu::IsSystemMenu(CMenu* pMenu)
{
    if (pMenu == NULL || m_hWnd == NULL)
        return FALSE;
    CWnd* pWnd = CWnd::FromHandlePermanent(m_hWnd);
    if (pWnd == NULL || !pWnd->IsFrameWnd())
        return FALSE;
    if (pMenu->m_hMenu == ::GetSystemMenu(m_hWnd, FALSE))
        return TRUE;
    CFrameWnd* pActive = static_cast<CFrameWnd*>(pWnd)->GetActiveFrame();
    return pActive != NULL && pActive->m_hWnd != NULL && pMenu->m_hMenu == ::GetSystemMenu(pActive->m_hWnd, FALSE);
}

// ---- messages -----------------------------------------------------------------------------------

LRESULT CTkCoolMenu::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!tkMenuState.bCoolMenusEnabled)
        return CTkWndHook::WindowProc(message, wParam, lParam);
    switch (message) {
    case WM_SYSCOLORCHANGE:
    case WM_WININICHANGE:
        OnSysColorChange();
        break;
    case WM_DRAWITEM:
        if (((LPDRAWITEMSTRUCT)lParam)->CtlType == ODT_MENU && OnDrawItem((LPDRAWITEMSTRUCT)lParam))
            return TRUE;
        break;
    case WM_MEASUREITEM:
        if (OnMeasureItem((LPMEASUREITEMSTRUCT)lParam))
            return TRUE;
        break;
    case WM_KEYDOWN:
        tkMenuState.bMouseSelection = 0;
        break;
    case WM_COMMAND:
        if (LOWORD(wParam) == TK_SHOW_FULL_MENUS) {
            tkMenuState.bExpandMenus = 1;
            tkMenuState.bExpandItemSelected = 0;
        } else {
            tkMenuState.bExpandMenus = 0;
            AddRecentItem((UINT)wParam);
        }
        break;
    case WM_TIMER:
        OnTimer((UINT)wParam);
        break;
    case WM_INITMENUPOPUP:
        if (tkMenuState.nSkipInitMenuPopup > 0) {
            tkMenuState.nSkipInitMenuPopup--;
            break;
        }
        CTkWndHook::WindowProc(message, wParam, lParam);
        OnInitMenuPopup(CMenu::FromHandle((HMENU)wParam), LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_MENUSELECT:
        OnMenuSelect(LOWORD(wParam), HIWORD(wParam), (HMENU)lParam);
        break;
    case WM_MENUCHAR: {
        LRESULT lResult = OnMenuChar(LOWORD(wParam), HIWORD(wParam), CMenu::FromHandle((HMENU)lParam));
        if (lResult != 0)
            return lResult;
        break;
    }
    case WM_ENTERMENULOOP:
        m_bPopupMenuLoop = (BOOL)wParam;
        break;
    }
    return CTkWndHook::WindowProc(message, wParam, lParam);
}

void CTkCoolMenu::OnSysColorChange() {}

void CTkCoolMenu::OnTimer(UINT nIDEvent)
{
    if (m_bExpandTimerRunning) {
        ::KillTimer(m_hWnd, m_nExpandTimerID);
        m_bExpandTimerRunning = 0;
    }
    if (tkMenuState.bExpandItemSelected && nIDEvent == m_nExpandTimerID && !tkMenuState.bOutsideMenuBarLoop &&
        tkAfxData.bFullMenusAfterDelay) {
        ::keybd_event(VK_RETURN, 0, 0, 0);
        ::keybd_event(VK_RETURN, 0, KEYEVENTF_KEYUP, 0);
    }
}

void CTkCoolMenu::OnInitMenuPopup(CMenu* pPopup, UINT, BOOL bSysMenu)
{
    tkMenuState.bExpandItemSelected = 0;
    tkMenuState.cxPopupBorder = IsFlat() ? 4 : 1;
    tkMenuState.cyPopupBorder = IsFlat() ? 3 : 1;
    m_szBox = CSize(m_szImage.cx + 2 * tkMenuState.cxPopupBorder, m_szImage.cy + 2 * tkMenuState.cyPopupBorder);
    if (pPopup == NULL || bSysMenu || IsSystemMenu(pPopup))
        return;
    ConvertMenu(pPopup, TRUE);
    if (m_bHideRarelyUsed && IsPopupTracking())
        HideMenuItems(pPopup);
    else
        UpdateExpandItem(pPopup, TRUE);
    tkMenuState.nTrackButtonSide = 0;
}

void CTkCoolMenu::OnMenuSelect(UINT, UINT nFlags, HMENU hMenu)
{
    if (hMenu != NULL || nFlags != 0xFFFF)
        return;
    while (!m_listConvertedMenus.IsEmpty()) {
        HMENU hConverted = m_listConvertedMenus.RemoveHead();
        if (!::IsMenu(hConverted))
            continue;
        CMenu* pMenu = CMenu::FromHandle(hConverted);
        RestoreMenuItems(pMenu);
        ConvertMenu(pMenu, FALSE);
    }
    tkMenuState.bExpandMenus = 0;
}

LRESULT CTkCoolMenu::OnMenuChar(UINT nChar, UINT, CMenu* pMenu)
{
    if (pMenu == NULL || !::IsMenu(pMenu->m_hMenu))
        return 0;
    HMENU hMenu = pMenu->m_hMenu;
    CUIntArray arrHits;
    int nHilite = -1;
    int nCount = ::GetMenuItemCount(hMenu);
    UINT nUpper = (UINT)(UINT_PTR)::CharUpperA((LPSTR)(UINT_PTR)(BYTE)nChar);
    for (int i = 0; i < nCount; i++) {
        CTkMenuItemInfo mii;
        mii.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_DATA;
        if (!::GetMenuItemInfoA(hMenu, i, TRUE, &mii))
            continue;
        if (mii.fState & MFS_HILITE)
            nHilite = i;
        CTkMenuItemData* pData = CTkMenuItemData::FromItemData(mii.dwItemData);
        if (!(mii.fType & MFT_OWNERDRAW) || pData == NULL)
            continue;
        int nAmp = pData->m_strText.Find('&');
        while (nAmp >= 0 && nAmp + 1 < pData->m_strText.GetLength() && pData->m_strText[nAmp + 1] == '&')
            nAmp = pData->m_strText.Find('&', nAmp + 2);
        if (nAmp < 0 || nAmp + 1 >= pData->m_strText.GetLength())
            continue;
        UINT nMark = (UINT)(UINT_PTR)::CharUpperA((LPSTR)(UINT_PTR)(BYTE)pData->m_strText[nAmp + 1]);
        if (nMark == nUpper)
            arrHits.Add(i);
    }
    if (arrHits.GetSize() == 0)
        return 0;
    if (arrHits.GetSize() == 1)
        return MAKELRESULT(arrHits[0], MNC_EXECUTE);
    for (int i = 0; i < arrHits.GetSize(); i++) {
        if ((int)arrHits[i] > nHilite)
            return MAKELRESULT(arrHits[i], MNC_SELECT);
    }
    return MAKELRESULT(arrHits[0], MNC_SELECT);
}

BOOL CTkCoolMenu::OnMeasureItem(LPMEASUREITEMSTRUCT lpmis)
{
    if (lpmis == NULL || lpmis->CtlType != ODT_MENU)
        return FALSE;
    CTkMenuItemData* pData = CTkMenuItemData::FromItemData(lpmis->itemData);
    if (pData == NULL)
        return FALSE;
    int cyMenu = ::GetSystemMetrics(SM_CYMENU);
    BOOL bFlat = IsFlat();
    if (pData->m_fType & MFT_SEPARATOR) {
        lpmis->itemHeight = 3;
        lpmis->itemWidth = 0;
    } else {
        if (!pData->m_strText.IsEmpty()) {
            BOOL bDefault = ::IsMenu(pData->m_hMenu) && ::GetMenuDefaultItem(pData->m_hMenu, FALSE, 0) == pData->m_nID &&
                            pData->m_nID != 0;
            CString strText = pData->m_strText;
            strText.Replace("\t", "XXX");
            HDC hdc = ::GetWindowDC(m_hWnd);
            HGDIOBJ hOld =
                ::SelectObject(hdc, (bDefault ? tkAfxData.fontMenuBold : tkAfxData.fontMenu).GetSafeHandle());
            SIZE size = {0, 0};
            ::GetTextExtentPoint32A(hdc, strText, strText.GetLength(), &size);
            ::SelectObject(hdc, hOld);
            ::ReleaseDC(m_hWnd, hdc);
            int cx = bFlat ? size.cx + m_szImage.cx + 28 : size.cx + 2 * m_szImage.cx + 2;
            lpmis->itemWidth = cx < 100 ? 100 : cx;
            lpmis->itemHeight = m_szImage.cy + 4 + (bFlat ? 3 : 0);
        } else {
            lpmis->itemHeight = cyMenu;
            lpmis->itemWidth = 100;
        }
        if (pData->m_nID == TK_SHOW_FULL_MENUS)
            lpmis->itemHeight = bFlat ? m_szImage.cy : cyMenu + 1;
        else if ((int)lpmis->itemHeight < cyMenu)
            lpmis->itemHeight = cyMenu;
    }
    if (bFlat) {
        if (IsFirstVisibleItem(pData->m_hMenu, pData->m_nHomePos))
            lpmis->itemHeight += 1;
        if (IsLastVisibleItem(pData->m_hMenu, pData->m_nHomePos, pData->m_nID))
            lpmis->itemHeight -= 3;
    }
    return TRUE;
}

// ---- drawing ------------------------------------------------------------------------------------

void CTkCoolMenu::DrawMenuText(CDC* pDC, CRect rect, CString strText, COLORREF clrText)
{
    HDC hdc = pDC->m_hDC;
    COLORREF clrOld = ::SetTextColor(hdc, clrText);
    int nTab = strText.Find('\t');
    CString strLeft = nTab >= 0 ? strText.Left(nTab) : strText;
    ::DrawTextA(hdc, strLeft, strLeft.GetLength(), &rect, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    if (nTab > 0) {
        CString strRight = strText.Mid(nTab + 1);
        CRect rcRight = rect;
        rcRight.right -= IsFlat() ? 20 : m_szBox.cx;
        ::DrawTextA(hdc, strRight, strRight.GetLength(), &rcRight, DT_RIGHT | DT_VCENTER | DT_SINGLELINE);
    }
    ::SetTextColor(hdc, clrOld);
}

void CTkCoolMenu::DrawCheckMark(CDC* pDC, CRect rect, BOOL bSelected, BOOL bDisabled, HBITMAP hbmCheck)
{
    HDC hdc = pDC->m_hDC;
    COLORREF clrMark = tkAfxData.clrMenuText;
    CRect rc = rect;
    if (IsFlat()) {
        clrMark = ToolkitColor(bSelected ? 45 : 44);
        CRect rcFrame(rc.left + 2, rc.top + 2, rc.right - 3, rc.bottom - 1);
        if (bDisabled) {
            clrMark = ToolkitColor(43);
            FrameRect(hdc, rcFrame, ToolkitColor(43));
        } else {
            FillRect(hdc, rcFrame, ToolkitColor(bSelected ? 33 : 36));
            FrameRect(hdc, rcFrame, ToolkitColor(37));
        }
        rc.OffsetRect(3, 2);
    } else {
        if (bSelected)
            FillRect(hdc, rc, tkAfxData.clrMenu);
        else
            TkFillDitherRect(pDC, rc);
        ::DrawEdge(hdc, &rc, BDR_SUNKENOUTER, BF_RECT);
    }
    int l = rc.left, t = rc.top;
    if (hbmCheck != NULL) {
        // a round bullet (radio items)
        Line(hdc, l + 8, t + 8, l + 11, t + 8, clrMark);
        for (int i = 0; i < 3; i++)
            Line(hdc, l + 7, t + 9 + i, l + 12, t + 9 + i, clrMark);
        Line(hdc, l + 8, t + 12, l + 11, t + 12, clrMark);
    } else {
        for (int i = 0; i <= 2; i++) {
            ::SetPixel(hdc, l + 6 + i, t + 9 + i, clrMark);
            ::SetPixel(hdc, l + 6 + i, t + 10 + i, clrMark);
            ::SetPixel(hdc, l + 9 + i, t + 11 - i, clrMark);
            ::SetPixel(hdc, l + 9 + i, t + 10 - i, clrMark);
        }
        ::SetPixel(hdc, l + 12, t + 8, clrMark);
        ::SetPixel(hdc, l + 12, t + 7, clrMark);
    }
    if (!IsFlat() && bSelected) {
        COLORREF clr = tkAfxData.clr3DHilight;
        ::SetPixel(hdc, l + 5, t + 9, clr);
        for (int i = 0; i <= 3; i++)
            ::SetPixel(hdc, l + 5 + i, t + 10 + i, clr);
        for (int i = 0; i <= 4; i++)
            ::SetPixel(hdc, l + 9 + i, t + 12 - i, clr);
        ::SetPixel(hdc, l + 13, t + 7, clr);
    }
}

void CTkCoolMenu::DrawExpandItem(CDC* pDC, CRect rect, BOOL bSelected)
{
    HDC hdc = pDC->m_hDC;
    if (!tkMenuState.bOutsideMenuBarLoop && bSelected && tkAfxData.bFullMenusAfterDelay && !tkMenuState.bOldWindows) {
        ::SetTimer(m_hWnd, m_nExpandTimerID, m_nExpandDelay, NULL);
        m_bExpandTimerRunning = 1;
    } else if (m_bExpandTimerRunning) {
        ::KillTimer(m_hWnd, m_nExpandTimerID);
        m_bExpandTimerRunning = 0;
    }
    CRect rc(rect.left, rect.bottom - 13, rect.right, rect.bottom);
    if (!IsFlat()) {
        if (bSelected) {
            FillRect(hdc, rc, tkAfxData.clr3DFaceLight);
            pDC->Draw3dRect(rc, tkAfxData.clr3DHilight, tkAfxData.clr3DShadow);
        } else {
            FillRect(hdc, rc, tkAfxData.clrMenu);
        }
    }
    COLORREF clr = IsFlat() ? ToolkitColor(bSelected ? 45 : 44) : tkAfxData.clrMenuText;
    int x = rc.left + (rc.Width() - 5) / 2;
    int y0 = rc.top + (rc.Height() - 8) / 2;
    for (int y : {y0, y0 + 4}) {
        for (int i = 0; i <= 2; i++) {
            ::SetPixel(hdc, x + i, y + i, clr);
            ::SetPixel(hdc, x + i, y + i + 1, clr);
        }
        ::SetPixel(hdc, x + 3, y + 1, clr);
        ::SetPixel(hdc, x + 3, y + 2, clr);
        ::SetPixel(hdc, x + 4, y, clr);
        ::SetPixel(hdc, x + 4, y + 1, clr);
    }
}

void CTkCoolMenu::DrawImageCell(CDC* pDC, const CRect& rcItem, CTkMenuItemData* pData, BOOL bSelected,
                                BOOL bDisabled, BOOL bChecked, BOOL bShownHidden, BOOL bFirstOfRun,
                                HBITMAP hbmChecked, HBITMAP hbmUnchecked, BOOL& bHasCell)
{
    HDC hdc = pDC->m_hDC;
    BOOL bFlat = IsFlat();
    CRect rcCell(rcItem.left, rcItem.top + (rcItem.Height() - m_szBox.cy) / 2, rcItem.left + m_szBox.cx,
                 rcItem.top + (rcItem.Height() - m_szBox.cy) / 2 + m_szBox.cy);
    CTkIconRecord* pIcons = pData->m_nID != 0 ? TkGetImageManager().Lookup(pData->m_nID, FALSE) : NULL;
    bHasCell = FALSE;
    if (pIcons != NULL && pIcons->hNormal != NULL) {
        bHasCell = TRUE;
        rcCell.InflateRect(0, 1, 1, 1);
        if (!bFlat && !bShownHidden)
            rcCell.top += 1;
        int x = rcCell.left + (rcCell.Width() - m_szImage.cx) / 2;
        int y = rcCell.top + (rcCell.Height() - m_szImage.cy) / 2 + (bFlat ? 1 : 0);
        auto draw = [&](HICON hIcon, int px, int py) {
            ::DrawIconEx(hdc, px, py, hIcon, m_szImage.cx, m_szImage.cy, 0, NULL, DI_NORMAL);
        };
        auto drawMono = [&](int px, int py, COLORREF clr) {
            HBRUSH hbr = ::CreateSolidBrush(clr);
            ::DrawStateA(hdc, hbr, NULL, (LPARAM)pIcons->hNormal, 0, px, py, m_szImage.cx, m_szImage.cy,
                         DST_ICON | DSS_MONO);
            ::DeleteObject(hbr);
        };
        if (bFlat) {
            if (bChecked) {
                CRect rcFrame(rcCell.left + 2, rcCell.top + 2, rcCell.right - 3, rcCell.bottom - 1);
                if (!bDisabled)
                    FillRect(hdc, rcFrame, ToolkitColor(bSelected ? 33 : 36));
                FrameRect(hdc, rcFrame, ToolkitColor(bDisabled ? 43 : 37));
                if (!bDisabled)
                    draw(pIcons->hNormal, x, y);
            }
            if (bDisabled) {
                if (pIcons->hDisabled != NULL)
                    draw(pIcons->hDisabled, x, y);
                else
                    drawMono(x, y, ToolkitColor(40));
            } else if (!bChecked) {
                if (bSelected) {
                    if (pIcons->hShadow != NULL)
                        draw(pIcons->hShadow, x + 1, y + 1);
                    draw(pIcons->hNormal, x - 1, y - 1);
                } else {
                    draw(tkAfxData.bFullColorIcons || pIcons->hFaded == NULL ? pIcons->hNormal : pIcons->hFaded, x, y);
                }
            }
        } else {
            FillRect(hdc, rcCell, bShownHidden ? tkAfxData.clr3DFaceLight : tkAfxData.clrMenu);
            if (bDisabled) {
                if (pIcons->hDisabled != NULL) {
                    draw(pIcons->hDisabled, x, y);
                } else {
                    drawMono(x + 1, y + 1, tkAfxData.clr3DHilight);
                    drawMono(x, y, tkAfxData.clr3DShadow);
                }
            } else {
                if (bChecked) {
                    CRect rcEdge = rcCell;
                    if (!bSelected)
                        TkFillDitherRect(pDC, rcEdge);
                    ::DrawEdge(hdc, &rcEdge, BDR_SUNKENOUTER, BF_RECT);
                } else if (bSelected) {
                    CRect rcEdge = rcCell;
                    if (bFirstOfRun)
                        rcEdge.top += 1;
                    ::DrawEdge(hdc, &rcEdge, BDR_RAISEDINNER, BF_RECT);
                }
                draw(pIcons->hNormal, x, y);
            }
        }
    } else if (bChecked || hbmUnchecked != NULL) {
        bHasCell = TRUE;
        rcCell.InflateRect(0, 1, 1, 1);
        DrawCheckMark(pDC, rcCell, bSelected, bDisabled, bChecked ? hbmChecked : hbmUnchecked);
    }
}

BOOL CTkCoolMenu::OnDrawItem(LPDRAWITEMSTRUCT lpdis)
{
    if (lpdis == NULL || lpdis->CtlType != ODT_MENU)
        return FALSE;
    CTkMenuItemData* pData = CTkMenuItemData::FromItemData(lpdis->itemData);
    if (pData == NULL)
        return FALSE;
    CDC* pDC = CDC::FromHandle(lpdis->hDC);
    HDC hdc = lpdis->hDC;
    CRect rc(lpdis->rcItem);
    BOOL bFlat = IsFlat();
    BOOL bSelected = (lpdis->itemState & ODS_SELECTED) != 0;
    BOOL bDisabled = (lpdis->itemState & ODS_GRAYED) != 0;
    BOOL bChecked = (lpdis->itemState & ODS_CHECKED) != 0;
    BOOL bShownHidden = (pData->m_nGroup & TK_GROUP_HIDDEN) && tkMenuState.bExpandMenus;
    BOOL bFirst = IsFirstVisibleItem(pData->m_hMenu, pData->m_nHomePos);
    BOOL bLast = IsLastVisibleItem(pData->m_hMenu, pData->m_nHomePos, pData->m_nID);
    int nSaved = ::SaveDC(hdc);

    // 1. background
    CRect rcFill = rc;
    COLORREF clrBack = bFlat ? ToolkitColor(41) : (bShownHidden ? tkAfxData.clr3DFaceLight : tkAfxData.clrMenu);
    if (bFlat && bLast)
        rcFill.bottom += 4;
    if (!bFlat && !bShownHidden)
        rcFill.top += 1;
    FillRect(hdc, rcFill, clrBack);
    ::SetBkMode(hdc, TRANSPARENT);

    // 2. flat look: image column and selection
    int nPos = -1;
    int nCount = ::IsMenu(pData->m_hMenu) ? ::GetMenuItemCount(pData->m_hMenu) : 0;
    for (int i = 0; i < nCount; i++) {
        if (RecordAt(pData->m_hMenu, i) == pData) {
            nPos = i;
            break;
        }
    }
    CMenu* pMenu = CMenu::FromHandle(pData->m_hMenu);
    BOOL bHiddenAround = nPos >= 0 && (pData->m_fType & MFT_SEPARATOR) && nPos > 0 && nPos < nCount - 1 &&
                         IsPrevItemHidden(pMenu, nPos) && IsNextItemHidden(pMenu, nPos);
    if (bFlat) {
        if (bFirst)
            rc.top += 1;
        if (bLast)
            rc.bottom -= 1;
        CRect rcColumn(rc.left, rc.top, rc.left + 24, rc.bottom);
        if (bLast)
            rcColumn.bottom += 4;
        FillRect(hdc, rcColumn, (bShownHidden || (bHiddenAround && tkMenuState.bExpandMenus)) ? ToolkitColor(42)
                                                                                             : ToolkitColor(30));
        if (bSelected && (!bDisabled || !tkMenuState.bMouseSelection)) {
            CRect rcSel(rc.left + 1, rc.top, rc.right - 1, rc.bottom);
            FillRect(hdc, rcSel, bDisabled ? ToolkitColor(41) : ToolkitColor(31));
            FrameRect(hdc, rcSel, ToolkitColor(32));
        }
    }

    // 3. expand item
    if (IsExpandItem(pData)) {
        DrawExpandItem(pDC, rc, bSelected);
        tkMenuState.bExpandItemSelected = bSelected ? 1 : 0;
        ::RestoreDC(hdc, nSaved);
        return TRUE;
    }

    // 4. separator
    if (pData->m_fType & MFT_SEPARATOR) {
        int y = rc.top + rc.Height() / 2;
        if (bFlat) {
            Line(hdc, rc.left + m_szBox.cx + 8, y, rc.right, y, ToolkitColor(39));
        } else {
            if (tkMenuState.bExpandMenus && bHiddenAround)
                FillRect(hdc, CRect(rc.left, rc.top - 1, rc.right, rc.bottom), tkAfxData.clr3DFaceLight);
            CRect rcLine(rc.left + 12, y, rc.right - 12, y + 2);
            ::DrawEdge(hdc, &rcLine, EDGE_ETCHED, BF_TOP);
        }
        ::RestoreDC(hdc, nSaved);
        return TRUE;
    }

    // 5. image cell or check mark
    CTkMenuItemInfo mii;
    mii.fMask = MIIM_CHECKMARKS | MIIM_FTYPE;
    if (nPos >= 0)
        ::GetMenuItemInfoA(pData->m_hMenu, nPos, TRUE, &mii);
    // The class library marks radio items with MFT_RADIOCHECK instead of a bullet bitmap.
    if ((mii.fType & MFT_RADIOCHECK) && mii.hbmpChecked == NULL)
        mii.hbmpChecked = RadioMarkBitmap();
    BOOL bHasCell = FALSE;
    DrawImageCell(pDC, rc, pData, bSelected, bDisabled, bChecked, bShownHidden,
                  (pData->m_nGroup & TK_GROUP_FIRST) != 0, mii.hbmpChecked, mii.hbmpUnchecked, bHasCell);

    // 6. 3-D look selection
    if (!bFlat && bSelected) {
        CRect rcSel(rc.left + (bHasCell ? m_szBox.cx + 2 : 0), rc.top + (bShownHidden ? 0 : 1), rc.right, rc.bottom);
        FillRect(hdc, rcSel, tkAfxData.clrHighlight);
    }

    // 7. text
    CRect rcText(rc.left + m_szBox.cx + (bFlat ? 8 : 7), rc.top, rc.right, rc.bottom);
    COLORREF clrText;
    if (bFlat)
        clrText = bDisabled ? ToolkitColor(35) : (bSelected ? ToolkitColor(45) : ToolkitColor(44));
    else if (bDisabled)
        clrText = bSelected ? tkAfxData.clr3DFace : tkAfxData.clrGrayText;
    else
        clrText = bSelected ? tkAfxData.clrHighlightText : tkAfxData.clrMenuText;
    CString strText = pData->m_strText;
    BOOL bCues = TRUE;
    ::SystemParametersInfoA(SPI_GETKEYBOARDCUES, 0, &bCues, 0);
    m_bKeyboardCues = bCues;
    if (!bCues && !tkMenuState.bShowMnemonics)
        TkStripMnemonics(strText);
    BOOL bDefault = pData->m_nID != 0 && ::GetMenuDefaultItem(pData->m_hMenu, FALSE, 0) == pData->m_nID;
    ::SelectObject(hdc, (bDefault ? tkAfxData.fontMenuBold : tkAfxData.fontMenu).GetSafeHandle());
    COLORREF clrSelBack = bSelected ? tkAfxData.clrHighlight : clrBack;
    if (!bFlat && bDisabled && clrText != clrSelBack)
        DrawMenuText(pDC, rcText + CPoint(1, 1), strText, tkAfxData.clr3DHilight);
    DrawMenuText(pDC, rcText, strText, clrText);

    // 8. 3-D look: the ends of a run of rarely used items
    if (!bFlat && bShownHidden) {
        if ((pData->m_nGroup & TK_GROUP_FIRST) &&
            !(nPos >= 2 && (RecordAt(pData->m_hMenu, nPos - 1) != NULL) &&
              (RecordAt(pData->m_hMenu, nPos - 1)->m_fType & MFT_SEPARATOR) && IsPrevItemHidden(pMenu, nPos - 1)))
            Line(hdc, rc.left, rc.top, rc.right, rc.top, tkAfxData.clr3DShadow);
        if ((pData->m_nGroup & TK_GROUP_LAST) &&
            !(nPos >= 0 && nPos + 2 < nCount && (RecordAt(pData->m_hMenu, nPos + 1) != NULL) &&
              (RecordAt(pData->m_hMenu, nPos + 1)->m_fType & MFT_SEPARATOR) && IsNextItemHidden(pMenu, nPos + 1)))
            Line(hdc, rc.left, rc.bottom - 1, rc.right, rc.bottom - 1, tkAfxData.clr3DHilight);
    }
    ::RestoreDC(hdc, nSaved);
    return TRUE;
}
