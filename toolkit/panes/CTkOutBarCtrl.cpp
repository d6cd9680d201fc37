#include "CTkOutBarCtrl.h"

#include <algorithm>
#include <windowsx.h>

#include "CTkCoolMenu.h"
#include "CTkEditItem.h"
#include "CTkGlobalData.h"
#include "CTkMemDC.h"
#include "TkColors.h"
#include "ToolkitResource.h"

IMPLEMENT_DYNCREATE(CTkOutBarCtrl, CWnd)

BEGIN_MESSAGE_MAP(CTkOutBarCtrl, CWnd)
    ON_WM_TIMER()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONDOWN()
    ON_WM_SETCURSOR()
    ON_WM_SIZE()
    ON_COMMAND(ID_TK_OUTBAR_LARGEICONS, OnLargeIcons)
    ON_UPDATE_COMMAND_UI(ID_TK_OUTBAR_LARGEICONS, OnUpdateLargeIcons)
    ON_COMMAND(ID_TK_OUTBAR_SMALLICONS, OnSmallIcons)
    ON_UPDATE_COMMAND_UI(ID_TK_OUTBAR_SMALLICONS, OnUpdateSmallIcons)
    ON_COMMAND(ID_TK_OUTBAR_REMOVE, OnRemove)
    ON_UPDATE_COMMAND_UI(ID_TK_OUTBAR_REMOVE, OnUpdateRemove)
    ON_COMMAND(ID_TK_OUTBAR_RENAME, OnRename)
    ON_UPDATE_COMMAND_UI(ID_TK_OUTBAR_RENAME, OnUpdateRename)
    ON_WM_RBUTTONUP()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

namespace {
const UINT_PTR kHotTimer = 1;
const UINT_PTR kArrowTimer = 2;
const UINT_PTR kAnimTimer = 3;
const UINT kEditId = 255;
const int kMaxPaintsPerTurn = 64;

// The pressed state of the last HighlightItem call, shared by all bars.
BOOL g_bLastHighlightPressed = FALSE;
} // namespace

CTkOutBarCtrl::CTkOutBarCtrl()
    : m_cyFolder(22), m_nSelFolder(0), m_nHotFolder(-1), m_nHotItem(-1), m_nSelItem(-1), m_nFirstItem(0),
      m_nLargeIconGap(8), m_nSmallIconGap(10), m_nMenuHitType(0), m_nMenuHitIndex(0), m_nDragMarker(-1),
      m_nDragMarkerKind(-1), m_nAnimStep(0), m_nAnimPeriod(0), m_nFolderAnimDelay(10), m_bUpArrowShown(FALSE),
      m_bDownArrowShown(FALSE), m_bUpArrowPressed(FALSE), m_bDownArrowPressed(FALSE), m_bHotItemPressed(FALSE),
      m_bButtonHeld(FALSE), m_bCustomBackColor(FALSE), m_bCustomTextColor(FALSE), m_dwFlags(0xFC),
      m_rcUpArrow(0, 0, 0, 0), m_rcDownArrow(0, 0, 0, 0), m_nSmallTextGap(4), m_nLargeLabelGap(3), m_cxItemMargin(5),
      m_cyItemMargin(5), m_clrBack(tkAfxData.clr3DShadow), m_clrText(tkAfxData.clrWindow), m_pLargeImageList(NULL),
      m_pSmallImageList(NULL)
{
    m_penMarker.CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
    LOGFONT lf;
    ::GetObject(::GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
    m_font.CreateFontIndirect(&lf);
}

CTkOutBarCtrl::~CTkOutBarCtrl()
{
    for (int i = 0; i < m_folders.GetSize(); i++)
        delete (CTkOutBarFolder*)m_folders.GetAt(i);
    m_folders.RemoveAll();
}

// ---- geometry ----

CRect CTkOutBarCtrl::CalcFolderRect(const CRect& rcClient, int nFolders, int nCurrent, int cyHeader, int i)
{
    if (i <= nCurrent)
        return CRect(rcClient.left, rcClient.top + i * cyHeader - 1, rcClient.right,
                     rcClient.top + (i + 1) * cyHeader - 1);
    return CRect(rcClient.left, rcClient.bottom - (nFolders - i) * cyHeader, rcClient.right,
                 rcClient.bottom - (nFolders - i - 1) * cyHeader);
}

CRect CTkOutBarCtrl::CalcInsideRect(const CRect& rcClient, int nFolders, int nCurrent, int cyHeader)
{
    CRect rc = rcClient;
    if (nFolders > 0) {
        rc.top += (nCurrent + 1) * cyHeader - 1;
        rc.bottom -= (nFolders - nCurrent - 1) * cyHeader;
    }
    return rc;
}

CSize CTkOutBarCtrl::CombinedSize(const ItemSizes& s, BOOL bSmall) const
{
    if (bSmall)
        return CSize(s.icon.cx + m_nSmallTextGap + s.label.cx, std::max(s.icon.cy, s.label.cy));
    return CSize(std::max(s.icon.cx, s.label.cx), s.icon.cy + m_nLargeLabelGap + m_nLargeIconGap + s.label.cy);
}

void CTkOutBarCtrl::CalcItemRects(const CRect& I, BOOL bSmall, const std::vector<ItemSizes>& sizes, int nFirst, int k,
                                  CRect* pItem, CRect* pIcon, CRect* pLabel) const
{
    int g = bSmall ? m_nSmallIconGap : m_nLargeIconGap;
    auto yOf = [&](int n) {
        int y = I.top;
        for (int i = 0; i < n && i < (int)sizes.size(); i++)
            y += CombinedSize(sizes[i], bSmall).cy + g;
        return y;
    };
    int yk = yOf(k);
    int s = nFirst > 0 ? yOf(nFirst) - I.top : 0;
    CSize wh = CombinedSize(sizes[k], bSmall);
    const ItemSizes& is = sizes[k];
    int m = m_cxItemMargin;
    if (pItem != NULL) {
        int top = yk - s + m_cyItemMargin;
        if (bSmall)
            pItem->SetRect(I.left + m, top, I.left + wh.cx, top + wh.cy);
        else
            pItem->SetRect(I.left, top, I.right, top + wh.cy);
    }
    if (pIcon != NULL) {
        if (bSmall) {
            int top = yk + g - m - s;
            pIcon->SetRect(I.left + m + 2, top, I.left + m + 2 + is.icon.cx, top + is.icon.cy);
        } else {
            int left = I.left + (I.Width() - is.icon.cx) / 2;
            int top = yk + g - 3 - s;
            pIcon->SetRect(left, top, left + is.icon.cx, top + is.icon.cy + 1);
        }
    }
    if (pLabel != NULL) {
        if (bSmall) {
            int top = yk + g - s;
            pLabel->SetRect(I.left + m + 2, top, I.left + m + 2 + wh.cx, top + wh.cy);
        } else {
            int left = I.left + (I.Width() - wh.cx) / 2;
            int bottom = yk + g + wh.cy - 2 - s - m_nLargeIconGap;
            pLabel->SetRect(left, bottom - is.label.cy, left + wh.cx, bottom);
        }
    }
}

CSize CTkOutBarCtrl::GetItemSize(int nFolder, int nIndex, int nType)
{
    CTkOutBarItem* pItem = GetItem(nFolder, nIndex);
    if (pItem == NULL)
        return CSize(0, 0);
    BOOL bSmall = IsSmallIconView(nFolder);
    CSize icon(0, 0), label(0, 0);
    CImageList* pList = GetFolderImageList(nFolder, bSmall);
    if (nType != 2 && pItem->m_nImage >= 0 && pList != NULL && pList->GetSafeHandle() != NULL) {
        IMAGEINFO info;
        if (pList->GetImageInfo(pItem->m_nImage, &info))
            icon = CSize(info.rcImage.right - info.rcImage.left, info.rcImage.bottom - info.rcImage.top);
    }
    if (nType != 1 && !pItem->m_strText.IsEmpty()) {
        CClientDC dc(::IsWindow(m_hWnd) ? this : NULL);
        CFont* pOld = dc.SelectObject(&m_font);
        if (bSmall) {
            label = dc.GetTextExtent(pItem->m_strText);
        } else {
            CRect I;
            GetInsideRect(I);
            CRect rc(0, 0, I.Width(), 0);
            dc.DrawText(pItem->m_strText, rc, DT_CALCRECT | DT_WORDBREAK | DT_CENTER | DT_VCENTER | DT_END_ELLIPSIS);
            label = rc.Size();
        }
        dc.SelectObject(pOld);
    }
    if (nType == 1)
        return icon;
    if (nType == 2)
        return label;
    return CombinedSize({icon, label}, bSmall);
}

std::vector<CTkOutBarCtrl::ItemSizes> CTkOutBarCtrl::FolderItemSizes(int nFolder)
{
    std::vector<ItemSizes> sizes;
    CTkOutBarFolder* pFolder = GetFolder(nFolder);
    if (pFolder == NULL)
        return sizes;
    for (int i = 0; i < pFolder->GetItemCount(); i++)
        sizes.push_back({GetItemSize(nFolder, i, 1), GetItemSize(nFolder, i, 2)});
    return sizes;
}

void CTkOutBarCtrl::GetItemRect(int nFolder, int nIndex, CRect& rect)
{
    std::vector<ItemSizes> sizes = FolderItemSizes(nFolder);
    if (nIndex < 0 || nIndex >= (int)sizes.size()) {
        rect.SetRectEmpty();
        return;
    }
    CRect I;
    GetInsideRect(I);
    CalcItemRects(I, IsSmallIconView(nFolder), sizes, m_nFirstItem, nIndex, &rect, NULL, NULL);
}

void CTkOutBarCtrl::GetIconRect(int nFolder, int nIndex, CRect& rect)
{
    std::vector<ItemSizes> sizes = FolderItemSizes(nFolder);
    if (nIndex < 0 || nIndex >= (int)sizes.size()) {
        rect.SetRectEmpty();
        return;
    }
    CRect I;
    GetInsideRect(I);
    CalcItemRects(I, IsSmallIconView(nFolder), sizes, m_nFirstItem, nIndex, NULL, &rect, NULL);
}

void CTkOutBarCtrl::GetLabelRect(int nFolder, int nIndex, CRect& rect)
{
    std::vector<ItemSizes> sizes = FolderItemSizes(nFolder);
    if (nIndex < 0 || nIndex >= (int)sizes.size()) {
        rect.SetRectEmpty();
        return;
    }
    CRect I;
    GetInsideRect(I);
    CalcItemRects(I, IsSmallIconView(nFolder), sizes, m_nFirstItem, nIndex, NULL, NULL, &rect);
}

void CTkOutBarCtrl::GetInsideRect(CRect& rect)
{
    CRect rc(0, 0, 0, 0);
    if (::IsWindow(m_hWnd))
        GetClientRect(&rc);
    rect = CalcInsideRect(rc, GetFolderCount(), m_nSelFolder, m_cyFolder);
}

BOOL CTkOutBarCtrl::GetFolderRect(int nIndex, CRect& rect)
{
    if (nIndex < 0 || nIndex >= GetFolderCount())
        return FALSE;
    CRect rc(0, 0, 0, 0);
    if (::IsWindow(m_hWnd))
        GetClientRect(&rc);
    rect = CalcFolderRect(rc, GetFolderCount(), m_nSelFolder, m_cyFolder, nIndex);
    return TRUE;
}

void CTkOutBarCtrl::GetVisibleRange(int nFolder, int& nFirst, int& nLast)
{
    nFirst = m_nFirstItem;
    std::vector<ItemSizes> sizes = FolderItemSizes(nFolder);
    if (sizes.empty())
        return;
    CRect I;
    GetInsideRect(I);
    BOOL bSmall = IsSmallIconView(nFolder);
    for (int k = m_nFirstItem; k < (int)sizes.size(); k++) {
        CRect rc;
        CalcItemRects(I, bSmall, sizes, m_nFirstItem, k, &rc, NULL, NULL);
        if (rc.bottom > I.bottom)
            break;
        nLast = k;
    }
}

int CTkOutBarCtrl::HitTestEx(const CPoint& point, int& nIndex)
{
    if (GetFolderCount() == 0)
        return -1;
    if (m_bUpArrowShown && m_rcUpArrow.PtInRect(point))
        return 2;
    if (m_bDownArrowShown && m_rcDownArrow.PtInRect(point))
        return 3;
    for (int i = 0; i < GetFolderCount(); i++) {
        CRect rc;
        GetFolderRect(i, rc);
        if (rc.PtInRect(point)) {
            nIndex = i;
            return 0;
        }
    }
    std::vector<ItemSizes> sizes = FolderItemSizes(m_nSelFolder);
    CRect I;
    GetInsideRect(I);
    BOOL bSmall = IsSmallIconView(m_nSelFolder);
    for (int k = m_nFirstItem; k < (int)sizes.size(); k++) {
        CRect rcItem, rcIcon, rcLabel;
        CalcItemRects(I, bSmall, sizes, m_nFirstItem, k, &rcItem, &rcIcon, &rcLabel);
        if (bSmall) {
            if (rcItem.top > I.bottom)
                return -1;
            if (rcItem.PtInRect(point)) {
                nIndex = k;
                return 1;
            }
        } else {
            if (rcIcon.top > I.bottom)
                return -1;
            rcLabel.top -= m_nLargeLabelGap;
            if (rcIcon.PtInRect(point) || rcLabel.PtInRect(point)) {
                nIndex = k;
                return 1;
            }
        }
    }
    return -1;
}

BOOL CTkOutBarCtrl::IsValidItem(int nIndex)
{
    return GetFolderCount() > 0 && nIndex >= 0 && nIndex < GetItemCount();
}

// ---- data ----

LRESULT CTkOutBarCtrl::Notify(UINT nCode, int nIndex, int nDropIndex, int nDragIndex, bool bFolder,
                              const char* lpszText)
{
    TK_OUTBARNOTIFY notify = {nIndex, nDropIndex, nDragIndex, bFolder, lpszText};
    HWND hOwner = m_hWndOwner;
    if (hOwner == NULL && ::IsWindow(m_hWnd))
        hOwner = ::GetParent(m_hWnd);
    if (hOwner == NULL)
        return 0;
    return ::SendMessage(hOwner, TKWM_OUTBAR_NOTIFY, nCode, (LPARAM)&notify);
}

void CTkOutBarCtrl::AnimateSelectedItem(int nElapse)
{
    if (::IsWindow(m_hWnd)) {
        if (nElapse > 0)
            SetTimer(kAnimTimer, nElapse, NULL);
        else
            KillTimer(kAnimTimer);
    }
    m_nAnimPeriod = nElapse > 0 ? nElapse : 0;
}

DWORD CTkOutBarCtrl::GetFolderData(int nFolder)
{
    CTkOutBarFolder* pFolder = GetFolder(nFolder == -1 ? m_nSelFolder : nFolder);
    return pFolder != NULL ? pFolder->m_dwData : 0;
}

CWnd* CTkOutBarCtrl::GetFolderChild(int nFolder)
{
    CTkOutBarFolder* pFolder = GetFolder(nFolder == -1 ? m_nSelFolder : nFolder);
    return pFolder != NULL ? pFolder->m_pChild : NULL;
}

int CTkOutBarCtrl::AddFolderBar(LPCTSTR lpszName, CWnd* pChild, DWORD dwData)
{
    return (int)m_folders.Add(new CTkOutBarFolder(lpszName, dwData, pChild, (m_dwFlags & TKOB_SMALLICONS) != 0));
}

int CTkOutBarCtrl::AddFolder(LPCTSTR lpszName, DWORD dwData)
{
    return AddFolderBar(lpszName, NULL, dwData);
}

CString CTkOutBarCtrl::GetItemText(int nIndex)
{
    CTkOutBarItem* pItem = GetItem(m_nSelFolder, nIndex);
    return pItem != NULL ? pItem->m_strText : CString();
}

void CTkOutBarCtrl::SetAnimationDelay(int nMilliseconds)
{
    m_nFolderAnimDelay = nMilliseconds;
}

int CTkOutBarCtrl::GetAnimationDelay()
{
    return m_nFolderAnimDelay;
}

void CTkOutBarCtrl::SetItemImage(int nIndex, int nImage)
{
    if (CTkOutBarItem* pItem = GetItem(m_nSelFolder, nIndex))
        pItem->m_nImage = nImage;
}

void CTkOutBarCtrl::SetItemData(int nIndex, DWORD dwData)
{
    if (CTkOutBarItem* pItem = GetItem(m_nSelFolder, nIndex))
        pItem->m_dwData = dwData;
}

int CTkOutBarCtrl::GetItemImage(int nIndex)
{
    CTkOutBarItem* pItem = GetItem(m_nSelFolder, nIndex);
    return pItem != NULL ? pItem->m_nImage : 0;
}

DWORD CTkOutBarCtrl::GetItemData(int nIndex)
{
    CTkOutBarItem* pItem = GetItem(m_nSelFolder, nIndex);
    return pItem != NULL ? pItem->m_dwData : 0;
}

void CTkOutBarCtrl::RemoveAllItems(int nFolder, bool bNotify)
{
    CTkOutBarFolder* pFolder = GetFolder(nFolder);
    if (pFolder == NULL)
        return;
    for (int i = pFolder->GetItemCount() - 1; i >= 0; i--) {
        CTkOutBarItem* pItem = pFolder->GetItem(i);
        if (bNotify)
            Notify(OBN_ITEMDELETED, i, -1, -1, false, pItem->m_strText);
        delete pFolder->RemoveItem(i);
    }
    if (nFolder == m_nSelFolder) {
        m_nSelItem = m_nHotItem = -1;
        m_nFirstItem = 0;
    }
    if (::IsWindow(m_hWnd)) {
        Invalidate();
        UpdateWindow();
    }
}

int CTkOutBarCtrl::RemoveItem(int nIndex)
{
    if (!IsValidItem(nIndex))
        return 0;
    CTkOutBarFolder* pFolder = GetFolder(m_nSelFolder);
    LRESULT lAnswer = Notify(OBN_ITEMDELETED, nIndex, -1, -1, false, pFolder->GetItem(nIndex)->m_strText);
    if (lAnswer != 1)
        return (int)lAnswer;
    delete pFolder->RemoveItem(nIndex);
    if (m_nSelItem == nIndex)
        m_nSelItem = -1;
    else if (m_nSelItem > nIndex)
        m_nSelItem--;
    if (m_nHotItem >= pFolder->GetItemCount())
        m_nHotItem = -1;
    if (::IsWindow(m_hWnd))
        Invalidate();
    return 1;
}

void CTkOutBarCtrl::SetItemText(int nIndex, LPCTSTR lpszText)
{
    if (CTkOutBarItem* pItem = GetItem(m_nSelFolder, nIndex))
        pItem->m_strText = lpszText;
}

void CTkOutBarCtrl::SetFolderText(int nIndex, LPCTSTR lpszName)
{
    if (CTkOutBarFolder* pFolder = GetFolder(nIndex))
        pFolder->m_strName = lpszName;
}

CImageList* CTkOutBarCtrl::GetFolderImageList(int nFolder, BOOL bSmall)
{
    CTkOutBarFolder* pFolder = GetFolder(nFolder);
    if (pFolder == NULL)
        return NULL;
    CImageList* pList = bSmall ? pFolder->m_pSmallImageList : pFolder->m_pLargeImageList;
    if (pList != NULL)
        return pList;
    return bSmall ? m_pSmallImageList : m_pLargeImageList;
}

CImageList* CTkOutBarCtrl::GetImageList(DWORD dwFlag)
{
    return dwFlag == 1 ? m_pSmallImageList : dwFlag == 2 ? m_pLargeImageList : NULL;
}

CImageList* CTkOutBarCtrl::SetFolderImageList(int nFolder, CImageList* pImageList, DWORD dwFlag)
{
    CTkOutBarFolder* pFolder = GetFolder(nFolder);
    if (pFolder == NULL || (dwFlag != 1 && dwFlag != 2))
        return NULL;
    CImageList*& pSlot = dwFlag == 1 ? pFolder->m_pSmallImageList : pFolder->m_pLargeImageList;
    CImageList* pOld = pSlot;
    pSlot = pImageList;
    return pOld;
}

CImageList* CTkOutBarCtrl::SetImageList(CImageList* pImageList, DWORD dwFlag)
{
    if (dwFlag != 1 && dwFlag != 2)
        return NULL;
    CImageList*& pSlot = dwFlag == 1 ? m_pSmallImageList : m_pLargeImageList;
    CImageList* pOld = pSlot;
    pSlot = pImageList;
    return pOld;
}

void CTkOutBarCtrl::RemoveFolder(int nIndex)
{
    CTkOutBarFolder* pFolder = GetFolder(nIndex);
    if (pFolder == NULL)
        return;
    if (Notify(OBN_FOLDERDELETED, nIndex, -1, -1, true, pFolder->m_strName) != 1)
        return;
    if (m_nSelFolder >= nIndex) {
        m_nSelFolder = nIndex - 1;
        if (m_nSelFolder < 0)
            m_nSelFolder = 0;
    }
    m_folders.RemoveAt(nIndex);
    delete pFolder;
    if (m_nSelFolder >= GetFolderCount())
        m_nSelFolder = std::max(0, GetFolderCount() - 1);
    m_nHotFolder = m_nHotItem = m_nSelItem = -1;
    m_nFirstItem = 0;
    if (::IsWindow(m_hWnd))
        Invalidate();
}

int CTkOutBarCtrl::GetSelFolder()
{
    return m_nSelFolder;
}

int CTkOutBarCtrl::GetFolderCount()
{
    return (int)m_folders.GetSize();
}

void CTkOutBarCtrl::SetSelFolder(int nIndex)
{
    CTkOutBarFolder* pNew = GetFolder(nIndex);
    if (GetFolderCount() == 0 || pNew == NULL)
        return;
    if (Notify(OBN_FOLDERCHANGING, nIndex, -1, -1, true, pNew->m_strName) != 1)
        return;
    if (CWnd* pChild = GetFolderChild(m_nSelFolder))
        pChild->ShowWindow(SW_HIDE);
    if (nIndex != m_nSelFolder && GetFolder(m_nSelFolder) != NULL && (m_dwFlags & TKOB_ANIMATEFOLDERS) &&
        m_nFolderAnimDelay >= 0 && ::IsWindow(m_hWnd) && IsWindowVisible())
        AnimateFolderScroll(m_nSelFolder, nIndex);
    m_nSelFolder = nIndex;
    m_nFirstItem = 0;
    m_nSelItem = -1;
    m_nHotItem = -1;
    if (::IsWindow(m_hWnd)) {
        if (pNew->m_pChild != NULL) {
            CRect I;
            GetInsideRect(I);
            pNew->m_pChild->MoveWindow(I, TRUE);
            pNew->m_pChild->ShowWindow(SW_SHOW);
        }
        Invalidate(TRUE);
    }
}

int CTkOutBarCtrl::GetItemCount()
{
    CTkOutBarFolder* pFolder = GetFolder(m_nSelFolder);
    return pFolder != NULL ? pFolder->GetItemCount() : 0;
}

int CTkOutBarCtrl::InsertItem(int nFolder, int nIndex, LPCTSTR lpszText, int nImage, DWORD dwData)
{
    CTkOutBarFolder* pFolder = GetFolder(nFolder);
    if (pFolder == NULL)
        return -1;
    return pFolder->InsertItem(nIndex, lpszText, nImage, dwData);
}

void CTkOutBarCtrl::ModifyFlag(const DWORD& dwRemove, const DWORD& dwAdd, bool bRedraw)
{
    m_dwFlags = (m_dwFlags & ~dwRemove) | dwAdd;
    if (bRedraw && ::IsWindow(m_hWnd)) {
        Invalidate(TRUE);
        UpdateWindow();
    }
}

DWORD CTkOutBarCtrl::GetFlag()
{
    return m_dwFlags;
}

void CTkOutBarCtrl::SetSmallIconView(BOOL bSmall, int nFolder)
{
    m_nFirstItem = 0;
    if (nFolder == -1) {
        for (int i = 0; i < GetFolderCount(); i++)
            GetFolder(i)->m_bSmallIcons = bSmall;
        if (bSmall)
            m_dwFlags |= TKOB_SMALLICONS;
        else
            m_dwFlags &= ~TKOB_SMALLICONS;
    } else if (CTkOutBarFolder* pFolder = GetFolder(nFolder)) {
        pFolder->m_bSmallIcons = bSmall;
    }
    if (::IsWindow(m_hWnd)) {
        CRect I;
        GetInsideRect(I);
        InvalidateRect(I, FALSE);
    }
}

BOOL CTkOutBarCtrl::IsSmallIconView(int nFolder)
{
    CTkOutBarFolder* pFolder = nFolder == -1 ? NULL : GetFolder(nFolder);
    if (pFolder == NULL)
        return (m_dwFlags & TKOB_SMALLICONS) != 0;
    return pFolder->m_bSmallIcons;
}

BOOL CTkOutBarCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID, DWORD dwFlag)
{
    return CreateEx(0, dwStyle, rect, pParentWnd, nID, dwFlag);
}

BOOL CTkOutBarCtrl::CreateEx(DWORD dwExStyle, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID,
                             DWORD dwFlag)
{
    m_dwFlags = dwFlag;
    if (!CWnd::CreateEx(dwExStyle, AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(NULL, IDC_ARROW)), "", dwStyle,
                        rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                        pParentWnd->GetSafeHwnd(), (HMENU)(UINT_PTR)nID))
        return FALSE;
    m_dwFlags = dwFlag;
    return TRUE;
}

void CTkOutBarCtrl::SetBarFont(CFont* pFont)
{
    LOGFONT lf;
    if (pFont == NULL || !pFont->GetLogFont(&lf))
        return;
    m_font.DeleteObject();
    m_font.CreateFontIndirect(&lf);
}

CFont* CTkOutBarCtrl::GetBarFont()
{
    return &m_font;
}

CTkOutBarFolder* CTkOutBarCtrl::GetFolder(int nIndex)
{
    if (nIndex < 0 || nIndex >= GetFolderCount())
        return NULL;
    return (CTkOutBarFolder*)m_folders.GetAt(nIndex);
}

CTkOutBarItem* CTkOutBarCtrl::GetItem(int nFolder, int nIndex)
{
    CTkOutBarFolder* pFolder = GetFolder(nFolder);
    return pFolder != NULL ? pFolder->GetItem(nIndex) : NULL;
}

void CTkOutBarCtrl::SetBackColor(COLORREF clr)
{
    m_clrBack = clr;
    m_bCustomBackColor = TRUE;
}

void CTkOutBarCtrl::SetTextColor(COLORREF clr)
{
    m_clrText = clr;
    m_bCustomTextColor = TRUE;
}

void CTkOutBarCtrl::SelectItem(int nFolder, int nIndex)
{
    CTkOutBarFolder* pFolder = GetFolder(nFolder);
    if (pFolder == NULL)
        return;
    SetSelFolder(nFolder);
    if (m_nSelFolder == nFolder && pFolder->GetItem(nIndex) != NULL) {
        pFolder->SelectItem(nIndex);
        m_nSelItem = nIndex;
    }
}

// ---- drawing ----

void CTkOutBarCtrl::PlaceArrows(const CRect& I)
{
    int cx = ::GetSystemMetrics(SM_CXVSCROLL);
    m_rcUpArrow.SetRect(I.right - cx - 5, I.top + 5, I.right - 5, I.top + 5 + cx);
    m_rcDownArrow.SetRect(I.right - cx - 5, I.bottom - cx - 5, I.right - 5, I.bottom - 5);
}

void CTkOutBarCtrl::OnPaint()
{
    CPaintDC dcPaint(this);
    if (!m_bCustomBackColor)
        m_clrBack = tkAfxData.bFlatLook ? tkAfxData.clrToolkit[0] : tkAfxData.clr3DShadow;
    if (!m_bCustomTextColor)
        m_clrText = tkAfxData.bFlatLook ? tkAfxData.clrBtnText : tkAfxData.clrWindow;
    CRect rcClient;
    GetClientRect(&rcClient);
    {
        CTkMemDC dc(&dcPaint, rcClient, tkAfxData.clr3DFace);
        CRect I;
        GetInsideRect(I);
        BOOL bItems = GetFolderChild(m_nSelFolder) == NULL;
        if (bItems) {
            dc.FillSolidRect(I, m_clrBack);
            if (!tkAfxData.bFlatLook)
                dc.Draw3dRect(I, tkAfxData.clrWindowFrame, tkAfxData.clr3DShadow);
        }
        for (int i = 0; i < GetFolderCount(); i++) {
            CRect rc;
            GetFolderRect(i, rc);
            DrawFolder(&dc, i, rc, 0);
        }
        if (bItems && GetFolderCount() > 0) {
            int nFirst = 0, nLast = -1;
            GetVisibleRange(m_nSelFolder, nFirst, nLast);
            PlaceArrows(I);
            if (m_nFirstItem > 0) {
                DrawScrollButton(&dc, m_rcUpArrow, DFC_SCROLL,
                                 DFCS_SCROLLUP | (m_bUpArrowPressed ? DFCS_PUSHED : 0));
                m_bUpArrowShown = TRUE;
                dc.ExcludeClipRect(m_rcUpArrow);
            } else {
                m_bUpArrowShown = FALSE;
            }
            if (nLast < GetItemCount() - 1) {
                DrawScrollButton(&dc, m_rcDownArrow, DFC_SCROLL,
                                 DFCS_SCROLLDOWN | (m_bDownArrowPressed ? DFCS_PUSHED : 0));
                m_bDownArrowShown = TRUE;
                dc.ExcludeClipRect(m_rcDownArrow);
            } else {
                m_bDownArrowShown = FALSE;
            }
            PaintItems(&dc, m_nSelFolder, I);
        }
    }
    int nHotFolder = m_nHotFolder;
    m_nHotFolder = -1;
    if (nHotFolder >= 0)
        HighlightFolder(nHotFolder);
    int nHotItem = m_nHotItem;
    if (nHotItem >= 0) {
        m_nHotItem = -1;
        HighlightItem(nHotItem, m_bButtonHeld);
    }
}

BOOL CTkOutBarCtrl::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void CTkOutBarCtrl::DrawScrollButton(CDC* pDC, CRect rect, UINT nType, UINT nState)
{
    pDC->DrawFrameControl(rect, nType, nState);
}

void CTkOutBarCtrl::DrawFolder(CDC* pDC, int nIndex, CRect rect, int nState)
{
    CTkOutBarFolder* pFolder = GetFolder(nIndex);
    if (pFolder == NULL)
        return;
    CPen pen(PS_SOLID, 1, tkAfxData.clr3DShadow);
    CPen* pOldPen = pDC->SelectObject(&pen);
    pDC->MoveTo(rect.left + (nState == 1 ? 1 : 0), rect.top);
    pDC->LineTo(rect.right, rect.top);
    pDC->SelectObject(pOldPen);
    rect.top++;
    switch (nState) {
    case 1:
        pDC->Draw3dRect(rect, tkAfxData.clrWindowFrame, tkAfxData.clr3DHilight);
        rect.DeflateRect(1, 1);
        if (!tkAfxData.bFlatLook) {
            pDC->Draw3dRect(rect, tkAfxData.clr3DShadow, tkAfxData.clr3DFace);
            rect.DeflateRect(1, 1);
        }
        break;
    case 2:
        pDC->Draw3dRect(rect, tkAfxData.clr3DHilight, tkAfxData.clrWindowFrame);
        rect.DeflateRect(1, 1);
        break;
    default:
        pDC->Draw3dRect(rect, tkAfxData.clr3DHilight, tkAfxData.clr3DShadow);
        rect.DeflateRect(1, 1);
        break;
    }
    pDC->FillSolidRect(rect, tkAfxData.clr3DFace);
    int nOldMode = pDC->SetBkMode(TRANSPARENT);
    CFont* pOldFont = pDC->SelectObject(&m_font);
    CRect rcText = rect;
    rcText.DeflateRect(4, 0);
    pDC->DrawText(pFolder->m_strName, rcText, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
    pDC->SelectObject(pOldFont);
    pDC->SetBkMode(nOldMode);
}

void CTkOutBarCtrl::PaintItems(CDC* pDC, int nFolder, CRect rect)
{
    CTkOutBarFolder* pFolder = GetFolder(nFolder);
    if (pFolder == NULL)
        return;
    int nSaved = pDC->SaveDC();
    CRect I;
    GetInsideRect(I);
    pDC->IntersectClipRect(I);
    std::vector<ItemSizes> sizes = FolderItemSizes(nFolder);
    BOOL bSmall = IsSmallIconView(nFolder);
    for (int k = m_nFirstItem; k < (int)sizes.size(); k++) {
        CRect rcItem;
        CalcItemRects(I, bSmall, sizes, m_nFirstItem, k, &rcItem, NULL, NULL);
        if (rect.bottom < rcItem.top)
            break;
        DrawItem(pDC, nFolder, rcItem, k, FALSE);
    }
    pDC->RestoreDC(nSaved);
}

void CTkOutBarCtrl::DrawItem(CDC* pDC, int nFolder, CRect R, int nIndex, BOOL bOnlyImage)
{
    CTkOutBarItem* pItem = GetItem(nFolder, nIndex);
    if (pItem == NULL)
        return;
    CFont* pOldFont = pDC->SelectObject(&m_font);
    COLORREF clrOld = pDC->SetTextColor(m_clrText);
    int nOldMode = pDC->SetBkMode(TRANSPARENT);
    int nSaved = pDC->SaveDC();
    if (m_bUpArrowShown)
        pDC->ExcludeClipRect(m_rcUpArrow);
    if (m_bDownArrowShown)
        pDC->ExcludeClipRect(m_rcDownArrow);
    CRect F;
    GetFolderRect(nFolder, F);
    int x0 = F.left + 4;
    R.right = F.right - 4;
    BOOL bSmall = IsSmallIconView(nFolder);
    CImageList* pList = GetFolderImageList(nFolder, bSmall);
    if (pList != NULL && pList->GetSafeHandle() != NULL) {
        CTkIconHolder icon(pItem->m_nImage >= 0 ? pList->ExtractIcon(pItem->m_nImage) : NULL);
        CSize sizeIcon = icon.m_hIcon != NULL ? GetItemSize(nFolder, nIndex, 1) : CSize(0, 0);
        if (bSmall) {
            if (icon.m_hIcon != NULL)
                DrawItemIcon(pDC, CPoint(F.left + 6, R.top + (R.Height() - sizeIcon.cy) / 2), icon,
                             pItem->m_bEnabled);
            if (!bOnlyImage)
                DrawItemText(pDC, CRect(x0 + m_nSmallTextGap + sizeIcon.cx, R.top, R.right, R.bottom),
                             pItem->m_strText, DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS, pItem->m_bEnabled);
        } else {
            if (icon.m_hIcon != NULL)
                DrawItemIcon(pDC, CPoint(x0 + (R.right - sizeIcon.cx - x0) / 2, R.top), icon, pItem->m_bEnabled);
            if (!bOnlyImage)
                DrawItemText(pDC, CRect(x0, R.top + m_nLargeLabelGap + sizeIcon.cy, R.right, R.bottom + 4),
                             pItem->m_strText, DT_CENTER | DT_VCENTER | DT_WORDBREAK | DT_END_ELLIPSIS,
                             pItem->m_bEnabled);
        }
    }
    if ((m_dwFlags & TKOB_SELFRAME) && nIndex == m_nSelItem && nFolder == m_nSelFolder) {
        CRect rcIcon;
        GetIconRect(nFolder, nIndex, rcIcon);
        rcIcon.InflateRect(1, 1);
        if (tkAfxData.bFlatLook)
            pDC->Draw3dRect(rcIcon, tkAfxData.clrHighlight, tkAfxData.clrHighlight);
        else
            pDC->Draw3dRect(rcIcon, tkAfxData.clrWindowFrame, tkAfxData.clr3DFace);
    }
    pDC->RestoreDC(nSaved);
    pDC->SetBkMode(nOldMode);
    pDC->SetTextColor(clrOld);
    pDC->SelectObject(pOldFont);
}

void CTkOutBarCtrl::DrawItemIcon(CDC* pDC, CPoint pt, const CTkIconHolder& icon, BOOL bEnabled)
{
    if (bEnabled) {
        pDC->DrawState(pt, CSize(0, 0), icon.m_hIcon, DST_ICON, (CBrush*)NULL);
    } else if (tkAfxData.bFlatLook) {
        CBrush brush(tkAfxData.clr3DShadow);
        pDC->DrawState(pt, CSize(0, 0), icon.m_hIcon, DST_ICON | DSS_MONO, &brush);
    } else {
        pDC->DrawState(pt, CSize(0, 0), icon.m_hIcon, DST_ICON | DSS_DISABLED, (CBrush*)NULL);
    }
}

void CTkOutBarCtrl::DrawItemText(CDC* pDC, CRect rect, CString strText, UINT nFormat, BOOL bEnabled)
{
    if (bEnabled) {
        pDC->DrawText(strText, rect, nFormat);
    } else if (tkAfxData.bFlatLook) {
        COLORREF clrOld = pDC->SetTextColor(tkAfxData.clr3DShadow);
        pDC->DrawText(strText, rect, nFormat);
        pDC->SetTextColor(clrOld);
    } else {
        COLORREF clrOld = pDC->SetTextColor(tkAfxData.clrWindow);
        CRect rcShifted = rect;
        rcShifted.OffsetRect(1, 1);
        pDC->DrawText(strText, rcShifted, nFormat);
        pDC->SetTextColor(tkAfxData.clr3DShadow);
        pDC->DrawText(strText, rect, nFormat);
        pDC->SetTextColor(clrOld);
    }
}

void CTkOutBarCtrl::AnimateFolderScroll(int nFrom, int nTo)
{
    CRect I;
    GetInsideRect(I);
    if (I.IsRectEmpty() || GetFolder(nFrom) == NULL || GetFolder(nTo) == NULL)
        return;
    CClientDC dc(this);
    int cx = I.Width(), cy = I.Height() + 2 * m_cyFolder;
    CDC memDC;
    memDC.CreateCompatibleDC(&dc);
    CBitmap bmpOld, bmpNew;
    bmpOld.CreateCompatibleBitmap(&dc, cx, cy);
    bmpNew.CreateCompatibleBitmap(&dc, cx, cy);
    // each picture: the folder's contents drawn where they will be, moved to the picture's origin
    auto render = [&](CBitmap& bmp, int nFolder, int nHeaderAt) {
        CBitmap* pOld = memDC.SelectObject(&bmp);
        CRect rcPic(0, 0, cx, cy);
        memDC.FillSolidRect(rcPic, m_clrBack);
        CPoint ptOldOrg = memDC.SetViewportOrg(-I.left, -I.top + m_cyFolder);
        CRect rcItems = I;
        if (!tkAfxData.bFlatLook)
            memDC.Draw3dRect(rcItems, tkAfxData.clrWindowFrame, tkAfxData.clr3DShadow);
        if (CWnd* pChild = GetFolderChild(nFolder)) {
            memDC.SetViewportOrg(0, m_cyFolder);
            pChild->SendMessage(WM_ERASEBKGND, (WPARAM)memDC.m_hDC);
            pChild->SendMessage(WM_PAINT, (WPARAM)memDC.m_hDC);
        } else {
            int nSavedFirst = m_nFirstItem;
            m_nFirstItem = 0;
            PaintItems(&memDC, nFolder, I);
            m_nFirstItem = nSavedFirst;
        }
        memDC.SetViewportOrg(ptOldOrg);
        if (nHeaderAt >= 0)
            DrawFolder(&memDC, nFolder, CRect(0, nHeaderAt, cx, nHeaderAt + m_cyFolder), 0);
        memDC.SelectObject(pOld);
    };
    render(bmpOld, nFrom, -1);
    render(bmpNew, nTo, 0);
    BOOL bUp = nTo > nFrom;
    int nSteps = std::max(1, I.Height() / std::max(1, m_cyFolder));
    for (int step = 1; step <= nSteps; step++) {
        int d = step * I.Height() / nSteps;
        CBitmap* pOld = memDC.SelectObject(&bmpOld);
        if (bUp)
            dc.BitBlt(I.left, I.top, cx, I.Height() - d, &memDC, 0, m_cyFolder + d, SRCCOPY);
        else
            dc.BitBlt(I.left, I.top + d, cx, I.Height() - d, &memDC, 0, m_cyFolder, SRCCOPY);
        memDC.SelectObject(&bmpNew);
        if (bUp)
            dc.BitBlt(I.left, I.bottom - d, cx, d, &memDC, 0, m_cyFolder, SRCCOPY);
        else
            dc.BitBlt(I.left, I.top, cx, d, &memDC, 0, m_cyFolder + I.Height() - d, SRCCOPY);
        memDC.SelectObject(pOld);
        ::GdiFlush();
        if (m_nFolderAnimDelay > 0)
            ::Sleep(m_nFolderAnimDelay);
    }
}

// ---- hot tracking ----

BOOL CTkOutBarCtrl::IsEditing()
{
    HWND hFocus = ::GetFocus();
    return hFocus != NULL && ::GetParent(hFocus) == m_hWnd;
}

void CTkOutBarCtrl::HighlightFolder(int nIndex)
{
    if (IsEditing() || nIndex == m_nHotFolder)
        return;
    CClientDC dc(this);
    CRect rc;
    if (GetFolderRect(m_nHotFolder, rc))
        DrawFolder(&dc, m_nHotFolder, rc, 0);
    if (nIndex >= 0 && GetFolderRect(nIndex, rc))
        DrawFolder(&dc, nIndex, rc, 2);
    m_nHotFolder = nIndex;
}

void CTkOutBarCtrl::HighlightItem(int nIndex, BOOL bPressed)
{
    if (IsEditing())
        return;
    if (nIndex == m_nHotItem && bPressed == g_bLastHighlightPressed)
        return;
    CTkOutBarItem* pItem = GetItem(m_nSelFolder, nIndex);
    if (nIndex != -1 && (pItem == NULL || !pItem->m_bEnabled))
        return;
    m_bHotItemPressed = FALSE;
    g_bLastHighlightPressed = bPressed;
    if (Notify(OBN_ITEMHOVER, nIndex, -1, -1, false, pItem != NULL ? (const char*)pItem->m_strText : NULL) != 1)
        return;
    CClientDC dc(this);
    CRect I;
    GetInsideRect(I);
    dc.IntersectClipRect(I);
    if (m_bUpArrowShown)
        dc.ExcludeClipRect(m_rcUpArrow);
    if (m_bDownArrowShown)
        dc.ExcludeClipRect(m_rcDownArrow);
    if (IsValidItem(m_nHotItem))
        DrawIcon(&dc, m_nHotItem, m_nSelFolder, FALSE);
    BOOL bRefuse = nIndex == m_nSelItem && (m_nAnimPeriod > 0 || (m_dwFlags & TKOB_SELFRAME));
    if (!bRefuse) {
        m_nHotItem = nIndex;
        m_bHotItemPressed = bPressed;
        if (IsValidItem(nIndex))
            DrawIcon(&dc, nIndex, m_nSelFolder, TRUE);
    } else {
        m_nHotItem = -1;
    }
}

void CTkOutBarCtrl::DrawIcon(CDC* pDC, int nIndex, int nFolder, BOOL bHighlight)
{
    CTkOutBarItem* pItem = GetItem(nFolder, nIndex);
    if (pItem == NULL)
        return;
    BOOL bSmall = IsSmallIconView(nFolder);
    CRect R;
    GetIconRect(nFolder, nIndex, R);
    if (bSmall) {
        R.left--;
        R.top--;
    } else {
        R.InflateRect(1, 1);
    }
    pDC->FillSolidRect(R, m_clrBack);
    if (bHighlight) {
        if (tkAfxData.bFlatLook) {
            pDC->FillSolidRect(R, m_bHotItemPressed ? tkAfxData.clrToolkit[3] : tkAfxData.clrToolkit[1]);
            pDC->Draw3dRect(R, tkAfxData.clrHighlight, tkAfxData.clrHighlight);
        } else if (m_bHotItemPressed) {
            pDC->Draw3dRect(R, tkAfxData.clrWindowFrame, tkAfxData.clr3DFace);
        } else {
            pDC->Draw3dRect(R, tkAfxData.clr3DFace, tkAfxData.clrWindowFrame);
        }
    }
    CImageList* pList = GetFolderImageList(nFolder, bSmall);
    if (pList == NULL || pList->GetSafeHandle() == NULL || pItem->m_nImage < 0)
        return;
    CTkIconHolder icon(pList->ExtractIcon(pItem->m_nImage));
    CSize sizeIcon = GetItemSize(nFolder, nIndex, 1);
    CRect F, rcItem;
    GetFolderRect(nFolder, F);
    GetItemRect(nFolder, nIndex, rcItem);
    CPoint pt;
    if (bSmall)
        pt = CPoint(F.left + 4 + 2, rcItem.top + (rcItem.Height() - sizeIcon.cy) / 2);
    else
        pt = CPoint(F.left + 4 + ((F.right - 4) - sizeIcon.cx - (F.left + 4)) / 2, rcItem.top);
    DrawItemIcon(pDC, pt, icon, pItem->m_bEnabled);
}

void CTkOutBarCtrl::OnMouseMove(UINT nFlags, CPoint point)
{
    int nIndex = -1;
    int nHit = HitTestEx(point, nIndex);
    if (nHit != 0 && m_nHotFolder >= 0)
        HighlightFolder(-1);
    if (nHit != 1 && m_nHotItem >= 0)
        HighlightItem(-1, FALSE);
    if (nHit == 0) {
        HighlightFolder(nIndex);
        SetTimer(kHotTimer, 100, NULL);
    } else if (nHit == 1) {
        HighlightItem(nIndex, FALSE);
        SetTimer(kHotTimer, 100, NULL);
    }
    CWnd::OnMouseMove(nFlags, point);
}

void CTkOutBarCtrl::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == kHotTimer) {
        DWORD dwPos = ::GetMessagePos();
        CPoint pt(GET_X_LPARAM(dwPos), GET_Y_LPARAM(dwPos));
        ScreenToClient(&pt);
        CRect rc;
        GetClientRect(&rc);
        if (!rc.PtInRect(pt)) {
            HighlightFolder(-1);
            HighlightItem(-1, FALSE);
            KillTimer(kHotTimer);
        }
        return;
    }
    if (nIDEvent == kAnimTimer) {
        if (m_nSelItem < 0)
            return;
        if (++m_nAnimStep > 10)
            m_nAnimStep = -1;
        if (m_nAnimStep == 0)
            DrawAnimItem(-1, 1, m_nSelItem);
        else if (m_nAnimStep == 1 || m_nAnimStep == 3)
            DrawAnimItem(0, 0, m_nSelItem);
        else if (m_nAnimStep == 2)
            DrawAnimItem(1, 1, m_nSelItem);
        return;
    }
    CWnd::OnTimer(nIDEvent);
}

void CTkOutBarCtrl::DrawAnimItem(int dx, int dy, int nIndex)
{
    CTkOutBarItem* pItem = GetItem(m_nSelFolder, nIndex);
    if (pItem == NULL || m_nSelItem < m_nFirstItem)
        return;
    CRect I, rcItem;
    GetInsideRect(I);
    GetItemRect(m_nSelFolder, nIndex, rcItem);
    if (!(rcItem.top > I.top && rcItem.bottom < I.bottom))
        return;
    BOOL bSmall = IsSmallIconView(m_nSelFolder);
    CImageList* pList = GetFolderImageList(m_nSelFolder, bSmall);
    if (pList == NULL || pList->GetSafeHandle() == NULL || pItem->m_nImage < 0)
        return;
    CSize sizeIcon = GetItemSize(m_nSelFolder, nIndex, 1);
    CPoint pt = bSmall ? CPoint(rcItem.left + 2, rcItem.top + (rcItem.Height() - sizeIcon.cy) / 2)
                       : CPoint(rcItem.left + (rcItem.Width() - sizeIcon.cx) / 2, rcItem.top);
    CClientDC dc(this);
    dc.FillSolidRect(CRect(pt.x - 1, pt.y - 1, pt.x + sizeIcon.cx + 2, pt.y + sizeIcon.cy + 2),
                     tkAfxData.clr3DShadow);
    CTkIconHolder icon(pList->ExtractIcon(pItem->m_nImage));
    DrawItemIcon(&dc, CPoint(pt.x + dx, pt.y + dy), icon, pItem->m_bEnabled);
}

// ---- mouse loops ----

void CTkOutBarCtrl::OnLButtonDown(UINT nFlags, CPoint point)
{
    if (::GetFocus() != m_hWnd)
        SetFocus();
    int nIndex = -1;
    int nHit = HitTestEx(point, nIndex);
    m_nDragMarkerKind = -1;
    CRect I;
    GetInsideRect(I);
    if (::GetCapture() == NULL) {
        if (nHit == 0)
            TrackFolder(nIndex);
        else if (nHit == 1)
            TrackItem(nIndex, I);
        else if (nHit == 2 || nHit == 3)
            TrackArrow(nHit, I);
    }
    if (nHit != 1)
        m_nHotItem = -1;
    CWnd::OnLButtonDown(nFlags, point);
}

namespace {
CPoint ClientPoint(const MSG& msg, HWND hWnd)
{
    CPoint pt(GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam));
    if (msg.hwnd != hWnd) {
        ::ClientToScreen(msg.hwnd, &pt);
        ::ScreenToClient(hWnd, &pt);
    }
    return pt;
}
} // namespace

void CTkOutBarCtrl::TrackFolder(int nIndex)
{
    CRect rcHeader;
    GetFolderRect(nIndex, rcHeader);
    SetCapture();
    AfxLockTempMaps();
    {
        CClientDC dc(this);
        DrawFolder(&dc, nIndex, rcHeader, 1);
        BOOL bPressed = TRUE;
        MSG msg;
        while (::GetCapture() == m_hWnd && ::GetMessage(&msg, NULL, 0, 0)) {
            if (msg.message == WM_MOUSEMOVE) {
                BOOL bOver = rcHeader.PtInRect(ClientPoint(msg, m_hWnd));
                if (bOver != bPressed) {
                    DrawFolder(&dc, nIndex, rcHeader, bOver ? 1 : 0);
                    bPressed = bOver;
                }
            } else if (msg.message == WM_KEYDOWN) {
                if (msg.wParam == VK_ESCAPE)
                    ::DispatchMessage(&msg);
            } else if (msg.message == WM_LBUTTONUP) {
                ::ReleaseCapture();
                DrawFolder(&dc, nIndex, rcHeader, 0);
                bPressed = FALSE;
                int nUp = -1;
                if (HitTestEx(ClientPoint(msg, m_hWnd), nUp) == 0 && nUp != m_nSelFolder)
                    SetSelFolder(nUp);
                break;
            } else {
                ::TranslateMessage(&msg);
                ::DispatchMessage(&msg);
            }
        }
        if (bPressed)
            InvalidateRect(rcHeader, FALSE);
    }
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    AfxUnlockTempMaps();
}

void CTkOutBarCtrl::MoveItem(int nFrom, int nTo)
{
    CTkOutBarFolder* pFolder = GetFolder(m_nSelFolder);
    int nCount = pFolder->GetItemCount();
    CTkOutBarItem* pItem = pFolder->RemoveItem(nFrom);
    if (pItem == NULL)
        return;
    // in front of the item that was at nTo; at or past the count: last
    int nNew = nTo >= nCount ? nCount - 1 : (nTo > nFrom ? nTo - 1 : nTo);
    pFolder->InsertItem(nNew, pItem);
    // the selected index keeps naming the same item, wherever the move puts it
    if (m_nSelItem == nFrom)
        m_nSelItem = nNew;
    else if (m_nSelItem >= 0 && nFrom < m_nSelItem && nNew >= m_nSelItem)
        m_nSelItem--;
    else if (m_nSelItem >= 0 && nFrom > m_nSelItem && nNew <= m_nSelItem)
        m_nSelItem++;
}

void CTkOutBarCtrl::TrackItem(int nIndex, const CRect& I)
{
    m_nDragMarker = -1;
    HighlightItem(nIndex, TRUE);
    HCURSOR hCursor = ::GetCursor();
    BOOL bDragging = FALSE;
    SetCapture();
    AfxLockTempMaps();
    {
        CClientDC dc(this);
        MSG msg;
        while (::GetCapture() == m_hWnd && ::GetMessage(&msg, NULL, 0, 0)) {
            if (msg.message == WM_SETCURSOR) {
                ::SetCursor(hCursor);
            } else if (msg.message == WM_MOUSEMOVE) {
                CPoint pt = ClientPoint(msg, m_hWnd);
                int nOver = -1;
                int nHit = HitTestEx(pt, nOver);
                if (!bDragging) {
                    if (nHit == 1 && nOver == nIndex) {
                        HighlightItem(nIndex, TRUE);
                        m_bButtonHeld = TRUE;
                    } else if (nHit == 1) {
                        HighlightItem(nIndex, FALSE);
                    } else if (m_dwFlags & TKOB_DRAGITEMS) {
                        bDragging = TRUE;
                        HighlightItem(nIndex, TRUE);
                        CTkOutBarItem* pItem = GetItem(m_nSelFolder, nIndex);
                        Notify(OBN_DRAGOUT, nIndex, -1, -1, false, pItem != NULL ? (const char*)pItem->m_strText : NULL);
                        hCursor = tkAfxData.hcurDragMove;
                        ::SetCursor(hCursor);
                        m_bButtonHeld = TRUE;
                    }
                } else {
                    CRect rcLast;
                    GetItemRect(m_nSelFolder, GetItemCount() - 1, rcLast);
                    if (nHit == 1) {
                        DrawDragMarker(&dc, m_nDragMarker, nOver);
                        hCursor = tkAfxData.hcurDragMove;
                    } else if (I.PtInRect(pt) && pt.y > rcLast.bottom) {
                        DrawDragMarker(&dc, m_nDragMarker, GetItemCount());
                        hCursor = tkAfxData.hcurDragMove;
                    } else {
                        DrawDragMarker(&dc, m_nDragMarker, -1);
                        hCursor = tkAfxData.hcurDragNone;
                    }
                    ::SetCursor(hCursor);
                }
            } else if (msg.message == WM_LBUTTONUP) {
                ::ReleaseCapture();
                HighlightItem(-1, FALSE);
                CPoint pt = ClientPoint(msg, m_hWnd);
                int nOver = -1;
                int nHit = HitTestEx(pt, nOver);
                CTkOutBarItem* pItem = GetItem(m_nSelFolder, nIndex);
                if (!bDragging) {
                    if (nHit == 1 && nOver == nIndex && pItem != NULL && pItem->m_bEnabled) {
                        int nFolderBefore = m_nSelFolder;
                        if (Notify(OBN_ITEMCLICK, nIndex, -1, -1, false, pItem->m_strText) == 1 &&
                            m_nSelFolder == nFolderBefore && GetItem(m_nSelFolder, nIndex) == pItem) {
                            GetFolder(m_nSelFolder)->SelectItem(nIndex);
                            int nOld = m_nSelItem;
                            if (m_nAnimPeriod > 0 && nOld >= 0 && nOld != nIndex)
                                DrawAnimItem(0, 0, nOld);
                            if (m_dwFlags & TKOB_SELFRAME) {
                                CRect rc;
                                GetIconRect(m_nSelFolder, nOld, rc);
                                rc.InflateRect(1, 1);
                                InvalidateRect(rc, TRUE);
                                GetIconRect(m_nSelFolder, nIndex, rc);
                                rc.InflateRect(1, 1);
                                InvalidateRect(rc, TRUE);
                            }
                            m_nSelItem = nIndex;
                        }
                    }
                } else if (pItem != NULL) {
                    CRect rcLast;
                    GetItemRect(m_nSelFolder, GetItemCount() - 1, rcLast);
                    if (nHit == 1 && nOver != nIndex) {
                        if (Notify(OBN_ITEMMOVED, nIndex, nOver, nIndex, false, pItem->m_strText) == 1)
                            MoveItem(nIndex, nOver);
                    } else if (nHit != 1 && I.PtInRect(pt) && pt.y > rcLast.bottom) {
                        int nCount = GetItemCount();
                        if (Notify(OBN_ITEMMOVED, nCount, nCount, nIndex, false, pItem->m_strText) == 1)
                            MoveItem(nIndex, nCount);
                    }
                }
                break;
            } else {
                ::TranslateMessage(&msg);
                ::DispatchMessage(&msg);
            }
        }
    }
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    AfxUnlockTempMaps();
    m_nDragMarker = -1;
    if (bDragging)
        Invalidate(TRUE);
    m_bButtonHeld = FALSE;
    if (m_nHotItem >= 0 && m_bHotItemPressed) {
        CRect rc;
        GetItemRect(m_nSelFolder, m_nHotItem, rc);
        InvalidateRect(rc, FALSE);
    }
}

BOOL CTkOutBarCtrl::ScrollStep(int nHit)
{
    CRect I;
    GetInsideRect(I);
    if (nHit == 2) {
        if (m_nFirstItem <= 0)
            return FALSE;
        m_nFirstItem--;
    } else {
        CRect rcLast;
        GetItemRect(m_nSelFolder, GetItemCount() - 1, rcLast);
        if (rcLast.bottom <= I.bottom)
            return FALSE;
        m_nFirstItem++;
    }
    InvalidateRect(I, TRUE);
    return TRUE;
}

void CTkOutBarCtrl::TrackArrow(int nHit, const CRect& I)
{
    CRect rcArrow = nHit == 2 ? m_rcUpArrow : m_rcDownArrow;
    BOOL& bPressed = nHit == 2 ? m_bUpArrowPressed : m_bDownArrowPressed;
    UINT nType = nHit == 2 ? DFCS_SCROLLUP : DFCS_SCROLLDOWN;
    SetCapture();
    AfxLockTempMaps();
    {
        CClientDC dc(this);
        bPressed = TRUE;
        DrawScrollButton(&dc, rcArrow, DFC_SCROLL, nType | DFCS_PUSHED);
        SetTimer(kArrowTimer, 300, NULL);
        MSG msg;
        while (::GetCapture() == m_hWnd && ::GetMessage(&msg, NULL, 0, 0)) {
            if (msg.message == WM_MOUSEMOVE) {
                BOOL bOver = rcArrow.PtInRect(ClientPoint(msg, m_hWnd));
                if (bOver != bPressed) {
                    bPressed = bOver;
                    DrawScrollButton(&dc, rcArrow, DFC_SCROLL, nType | (bOver ? DFCS_PUSHED : 0));
                }
            } else if (msg.message == WM_TIMER && msg.hwnd == m_hWnd && msg.wParam == kArrowTimer) {
                CPoint pt(GET_X_LPARAM(::GetMessagePos()), GET_Y_LPARAM(::GetMessagePos()));
                ScreenToClient(&pt);
                if (bPressed && rcArrow.PtInRect(pt)) {
                    if (!ScrollStep(nHit))
                        break;
                    // paint now: the next step reads the arrows' places
                    UpdateWindow();
                    dc.SelectClipRgn(NULL);
                    DrawScrollButton(&dc, rcArrow, DFC_SCROLL, nType | DFCS_PUSHED);
                }
            } else if (msg.message == WM_KEYDOWN) {
                if (msg.wParam == VK_ESCAPE)
                    ::DispatchMessage(&msg);
            } else if (msg.message == WM_LBUTTONUP) {
                ::ReleaseCapture();
                DrawScrollButton(&dc, rcArrow, DFC_SCROLL, nType);
                if (rcArrow.PtInRect(ClientPoint(msg, m_hWnd)))
                    ScrollStep(nHit);
                break;
            } else {
                ::TranslateMessage(&msg);
                ::DispatchMessage(&msg);
            }
        }
    }
    KillTimer(kArrowTimer);
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    AfxUnlockTempMaps();
    m_bUpArrowPressed = m_bDownArrowPressed = FALSE;
    if (nHit == 2)
        m_bUpArrowShown = FALSE;
    else
        m_bDownArrowShown = FALSE;
    InvalidateRect(I, TRUE);
}

// ---- drag marker ----

int CTkOutBarCtrl::GetDragItemRect(int nIndex, CRect& rect)
{
    CRect I;
    GetInsideRect(I);
    I.DeflateRect(2, 0);
    int nCount = GetItemCount();
    CRect rcRef;
    GetItemRect(m_nSelFolder, nIndex < nCount ? nIndex : nIndex - 1, rcRef);
    int y = nIndex < nCount ? rcRef.top - 4 : rcRef.bottom + 6;
    if (nIndex == 0) {
        rect.SetRect(I.left, y + 2, I.right, y + 7);
        return 0;
    }
    if (nIndex < nCount) {
        rect.SetRect(I.left, y - 9, I.right, y);
        if (IsSmallIconView(m_nSelFolder))
            rect.OffsetRect(0, 8);
        return 1;
    }
    rect.SetRect(I.left, y, I.right, y + 5);
    return 2;
}

void CTkOutBarCtrl::DrawDragMarker(CDC* pDC, int nFrom, int nTo)
{
    if (nTo == m_nDragMarker)
        return;
    if (m_nDragMarker >= 0) {
        CRect rc;
        int nKind = GetDragItemRect(m_nDragMarker, rc);
        int top = rc.top;
        if (nKind == 0)
            rc.SetRect(rc.left, top, rc.right, top + 5);
        else if (nKind == 1)
            rc.SetRect(rc.left, top - 4, rc.right, top + 5);
        else
            rc.SetRect(rc.left, top - 4, rc.right, top + 1);
        InvalidateRect(rc, TRUE);
        UpdateWindow();
    }
    m_nDragMarker = nTo;
    if (nTo < 0)
        return;
    CRect R;
    m_nDragMarkerKind = GetDragItemRect(nTo, R);
    CPen* pOld = pDC->SelectObject(&m_penMarker);
    pDC->MoveTo(R.left, R.top);
    pDC->LineTo(R.right, R.top);
    if (m_nDragMarkerKind != 2) {
        for (int i = 1; i <= 4; i++) {
            pDC->MoveTo(R.left, R.top + i);
            pDC->LineTo(R.left + 9 - 2 * i, R.top + i);
        }
        for (int i = 1; i <= 3; i++) {
            pDC->MoveTo(R.right - 1, R.top + i);
            pDC->LineTo(R.right - 1 - (8 - 2 * i), R.top + i);
        }
    }
    if (m_nDragMarkerKind != 0) {
        for (int i = 1; i <= 4; i++) {
            pDC->MoveTo(R.left, R.top - i);
            pDC->LineTo(R.left + 9 - 2 * i, R.top - i);
            pDC->MoveTo(R.right - 1, R.top - i);
            pDC->LineTo(R.right - 1 - (9 - 2 * i), R.top - i);
        }
    }
    pDC->SelectObject(pOld);
}

// ---- cursor, size, context menu, commands, destruction ----

BOOL CTkOutBarCtrl::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    DWORD dwPos = ::GetMessagePos();
    CPoint pt(GET_X_LPARAM(dwPos), GET_Y_LPARAM(dwPos));
    ScreenToClient(&pt);
    int nIndex = -1;
    if (HitTestEx(pt, nIndex) == 0 && tkAfxData.hcurHand != NULL) {
        ::SetCursor(tkAfxData.hcurHand);
        return TRUE;
    }
    return CWnd::OnSetCursor(pWnd, nHitTest, message);
}

void CTkOutBarCtrl::OnSize(UINT nType, int cx, int cy)
{
    m_bUpArrowShown = m_bDownArrowShown = FALSE;
    CWnd::OnSize(nType, cx, cy);
    CRect I;
    GetInsideRect(I);
    for (int i = 0; i < GetFolderCount(); i++)
        if (CWnd* pChild = GetFolder(i)->m_pChild)
            pChild->SetWindowPos(NULL, I.left, I.top, I.Width(), I.Height(), SWP_NOZORDER);
}

void CTkOutBarCtrl::OnRButtonUp(UINT nFlags, CPoint point)
{
    int nIndex = -1;
    int nHit = HitTestEx(point, nIndex);
    if (Notify(OBN_CONTEXTMENU, nHit == 1 || nHit == 0 ? nIndex : -1, 0, 0, nHit != 1, NULL) != 1) {
        CWnd::OnRButtonUp(nFlags, point);
        return;
    }
    m_nMenuHitType = HitTestEx(point, m_nMenuHitIndex);
    CPoint ptScreen = point;
    ClientToScreen(&ptScreen);
    CTkCoolMenu coolMenu;
    coolMenu.HookWindow(m_hWnd);
    coolMenu.LoadToolbar(IDR_TK_OUTBAR_PICTURES, TRUE);
    HINSTANCE hInst = tkAfxData.hInstance != NULL ? tkAfxData.hInstance : AfxGetResourceHandle();
    HMENU hMenu = ::LoadMenu(hInst, MAKEINTRESOURCE(IDR_TK_CONTEXT_MENUS));
    if (hMenu != NULL) {
        HMENU hPopup = ::GetSubMenu(hMenu, 0);
        CString str;
        if (nHit == 1 && (m_dwFlags & (TKOB_REMOVEITEMS | TKOB_RENAMEITEMS))) {
            ::AppendMenu(hPopup, MF_SEPARATOR, 0, NULL);
            if ((m_dwFlags & TKOB_REMOVEITEMS) && str.LoadString(IDS_TK_OUTBAR_REMOVE_ITEM))
                ::AppendMenu(hPopup, MF_STRING, ID_TK_OUTBAR_REMOVE, str);
            if ((m_dwFlags & TKOB_RENAMEITEMS) && str.LoadString(IDS_TK_OUTBAR_RENAME_ITEM))
                ::AppendMenu(hPopup, MF_STRING, ID_TK_OUTBAR_RENAME, str);
        } else if (nHit == 0 && (m_dwFlags & (TKOB_REMOVEFOLDERS | TKOB_RENAMEFOLDERS))) {
            ::AppendMenu(hPopup, MF_SEPARATOR, 0, NULL);
            if ((m_dwFlags & TKOB_REMOVEFOLDERS) && str.LoadString(IDS_TK_OUTBAR_REMOVE_FOLDER))
                ::AppendMenu(hPopup, MF_STRING, ID_TK_OUTBAR_REMOVE, str);
            if ((m_dwFlags & TKOB_RENAMEFOLDERS) && str.LoadString(IDS_TK_OUTBAR_RENAME_FOLDER))
                ::AppendMenu(hPopup, MF_STRING, ID_TK_OUTBAR_RENAME, str);
        }
        BOOL bSmall = IsSmallIconView(m_nSelFolder);
        ::CheckMenuItem(hPopup, bSmall ? ID_TK_OUTBAR_SMALLICONS : ID_TK_OUTBAR_LARGEICONS, MF_BYCOMMAND | MF_CHECKED);
        ::TrackPopupMenu(hPopup, TPM_RIGHTBUTTON, ptScreen.x, ptScreen.y, 0, m_hWnd, NULL);
        ::DestroyMenu(hMenu);
    }
    coolMenu.HookWindow((HWND)NULL);
    CWnd::OnRButtonUp(nFlags, point);
}

void CTkOutBarCtrl::OnLargeIcons()
{
    SetSmallIconView(FALSE, m_nSelFolder);
    Invalidate(TRUE);
}

void CTkOutBarCtrl::OnUpdateLargeIcons(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(IsSmallIconView(m_nSelFolder));
}

void CTkOutBarCtrl::OnSmallIcons()
{
    SetSmallIconView(TRUE, m_nSelFolder);
    Invalidate(TRUE);
}

void CTkOutBarCtrl::OnUpdateSmallIcons(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(!IsSmallIconView(m_nSelFolder));
}

void CTkOutBarCtrl::OnRemove()
{
    if (m_nMenuHitType == 0)
        RemoveFolder(m_nMenuHitIndex);
    else if (m_nMenuHitType == 1)
        RemoveItem(m_nMenuHitIndex);
}

void CTkOutBarCtrl::OnUpdateRemove(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(TRUE);
}

void CTkOutBarCtrl::OnRename()
{
    if (m_nMenuHitType == 0)
        EditFolder(m_nMenuHitIndex);
    else if (m_nMenuHitType == 1)
        EditItem(m_nMenuHitIndex);
}

void CTkOutBarCtrl::OnUpdateRename(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(TRUE);
}

void CTkOutBarCtrl::OnDestroy()
{
    for (int f = 0; f < GetFolderCount(); f++) {
        m_nSelFolder = f;
        CTkOutBarFolder* pFolder = GetFolder(f);
        for (int i = 0; i < pFolder->GetItemCount(); i++)
            Notify(OBN_ITEMDELETED, i, -1, -1, false, pFolder->GetItem(i)->m_strText);
        Notify(OBN_FOLDERDELETED, f, -1, -1, true, pFolder->m_strName);
    }
    CWnd::OnDestroy();
}

// ---- in-place rename ----

void CTkOutBarCtrl::EditFolder(int nIndex)
{
    CTkOutBarFolder* pFolder = GetFolder(nIndex);
    if (pFolder == NULL)
        return;
    CRect R;
    GetFolderRect(nIndex, R);
    R.DeflateRect(2, 2);
    CTkEditItem* pEdit = new CTkEditItem;
    if (!pEdit->CreateEditItem(pFolder->m_strName, WS_CHILD | WS_VISIBLE | ES_CENTER | ES_AUTOHSCROLL, R, this,
                               kEditId, nIndex, true, false))
        return; // the editor deleted itself
    pEdit->ModifyStyleEx(0, WS_EX_CLIENTEDGE, SWP_FRAMECHANGED);
    pEdit->SetFocus();
    pEdit->SendMessage(EM_SETSEL, 0, -1);
    pEdit->SendMessage(EM_SCROLLCARET);
}

void CTkOutBarCtrl::EditItem(int nIndex)
{
    CTkOutBarItem* pItem = GetItem(m_nSelFolder, nIndex);
    if (pItem == NULL)
        return;
    CRect R, I;
    GetLabelRect(m_nSelFolder, nIndex, R);
    GetInsideRect(I);
    DWORD dwStyle = WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL;
    bool bLeft;
    if (IsSmallIconView(m_nSelFolder)) {
        CSize sizeIcon = GetItemSize(m_nSelFolder, nIndex, 1);
        R.OffsetRect(sizeIcon.cx + 1, -6);
        R.InflateRect(0, 1);
        bLeft = true;
    } else {
        CWindowDC dc(this);
        CFont* pOld = dc.SelectObject(&m_font);
        int w = dc.GetTextExtent(pItem->m_strText).cx;
        dc.SelectObject(pOld);
        R.left = I.left + (I.Width() - w) / 2;
        R.right = R.left + w;
        R.InflateRect(6, 2);
        R.OffsetRect(0, -1);
        dwStyle |= ES_CENTER;
        bLeft = false;
    }
    CTkEditItem* pEdit = new CTkEditItem;
    if (!pEdit->CreateEditItem(pItem->m_strText, dwStyle, R, this, kEditId, nIndex, false, bLeft))
        return;
    pEdit->SetFocus();
    pEdit->SendMessage(EM_SETSEL, 0, -1);
    pEdit->SendMessage(EM_SCROLLCARET);
    Invalidate(TRUE);
}

void CTkOutBarCtrl::OnLabelEndEdit(CTkEditItem* pEdit, bool bFolder)
{
    CString strText = pEdit->m_strText;
    LRESULT lAnswer = Notify(bFolder ? OBN_FOLDERRENAMED : OBN_ITEMRENAMED, pEdit->m_nIndex, -1, -1, bFolder, strText);
    if (lAnswer == 0 || GetFolder(m_nSelFolder) == NULL)
        return;
    CRect rc;
    if (bFolder) {
        CTkOutBarFolder* pFolder = GetFolder(pEdit->m_nIndex);
        if (pFolder == NULL || pFolder->m_strName == strText)
            return;
        SetFolderText(pEdit->m_nIndex, strText);
        GetFolderRect(pEdit->m_nIndex, rc);
    } else {
        CTkOutBarItem* pItem = GetItem(m_nSelFolder, pEdit->m_nIndex);
        if (pItem == NULL || pItem->m_strText == strText)
            return;
        SetItemText(pEdit->m_nIndex, strText);
        GetInsideRect(rc);
    }
    TK_OUTBARNOTIFY notify = {pEdit->m_nIndex, -1, -1, bFolder, strText};
    OnLabelChanged(&notify);
    InvalidateRect(rc, TRUE);
}

void CTkOutBarCtrl::OnLabelChanged(TK_OUTBARNOTIFY*)
{
}
