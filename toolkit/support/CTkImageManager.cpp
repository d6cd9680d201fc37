#include "CTkImageManager.h"

#include "TkColors.h"

#include <string.h>

#ifndef RT_TOOLBAR
#define RT_TOOLBAR MAKEINTRESOURCE(241)
#endif

// An RT_TOOLBAR resource: WORD version (1), width, height, item count, then one WORD command id
// per item (0 for a separator).
struct TK_TOOLBARDATA {
    WORD wVersion;
    WORD wWidth;
    WORD wHeight;
    WORD wItemCount;
};

// Image lists are asked for 24-bit colour: a plain ILC_COLOR list keeps only 16 colours here.
#define TK_ILC_FLAGS (ILC_COLOR24 | ILC_MASK)

CTkIconRecord::~CTkIconRecord()
{
    HICON ahIcons[] = {hNormal, hFaded, hShadow, hDisabled};
    for (HICON hIcon : ahIcons) {
        if (hIcon != NULL)
            ::DestroyIcon(hIcon);
    }
}

CTkImageManager& TkGetImageManager()
{
    static CTkImageManager s_manager;
    return s_manager;
}

CTkImageManager::CTkImageManager()
{
    m_mapNormal.InitHashTable(17, FALSE);
    m_mapAlternate.InitHashTable(17, FALSE);
}

CTkImageManager::~CTkImageManager() { RemoveAll(); }

void CTkImageManager::RemoveAll()
{
    for (auto* pMap : {&m_mapNormal, &m_mapAlternate}) {
        POSITION pos = pMap->GetStartPosition();
        while (pos != NULL) {
            UINT nID;
            CTkIconRecord* pRecord;
            pMap->GetNextAssoc(pos, nID, pRecord);
            delete pRecord;
        }
        pMap->RemoveAll();
    }
}

HICON CTkImageManager::MakeVariant(HICON hIcon, BOOL bShadow)
{
    ICONINFO ii;
    if (hIcon == NULL || !::GetIconInfo(hIcon, &ii))
        return NULL;
    HICON hVariant = NULL;
    BITMAP bm;
    if (ii.hbmColor != NULL && ::GetObjectA(ii.hbmColor, sizeof(bm), &bm) == sizeof(bm) && bm.bmWidth > 0 &&
        bm.bmHeight > 0) {
        const int cx = bm.bmWidth, cy = bm.bmHeight;
        BITMAPINFO bmi;
        memset(&bmi, 0, sizeof(bmi));
        bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
        bmi.bmiHeader.biWidth = cx;
        bmi.bmiHeader.biHeight = -cy;
        bmi.bmiHeader.biPlanes = 1;
        bmi.bmiHeader.biBitCount = 32;
        bmi.bmiHeader.biCompression = BI_RGB;
        DWORD* pColor = new DWORD[(size_t)cx * cy];
        DWORD* pMask = new DWORD[(size_t)cx * cy];
        HDC hdc = ::GetDC(NULL);
        BOOL bRead = ::GetDIBits(hdc, ii.hbmColor, 0, cy, pColor, &bmi, DIB_RGB_COLORS) == cy;
        bmi.bmiHeader.biHeight = -cy;
        // the mask's upper half for an icon without colour bitmap never gets here
        bRead = bRead && ::GetDIBits(hdc, ii.hbmMask, 0, cy, pMask, &bmi, DIB_RGB_COLORS) == cy;
        if (bRead) {
            const COLORREF clrShadow = TkGetSysColor(34);
            for (int i = 0; i < cx * cy; i++) {
                if ((pMask[i] & 0xFFFFFF) != 0)
                    continue; // transparent
                if (bShadow) {
                    pColor[i] = (GetRValue(clrShadow) << 16) | (GetGValue(clrShadow) << 8) | GetBValue(clrShadow);
                } else {
                    DWORD r = (pColor[i] >> 16) & 0xFF, g = (pColor[i] >> 8) & 0xFF, b = pColor[i] & 0xFF;
                    r = (DWORD)(r * 0.7 + 255 * 0.3);
                    g = (DWORD)(g * 0.7 + 255 * 0.3);
                    b = (DWORD)(b * 0.7 + 255 * 0.3);
                    pColor[i] = (r << 16) | (g << 8) | b;
                }
            }
            HBITMAP hbmColor = ::CreateCompatibleBitmap(hdc, cx, cy);
            if (hbmColor != NULL && ::SetDIBits(hdc, hbmColor, 0, cy, pColor, &bmi, DIB_RGB_COLORS) == cy) {
                ICONINFO iiNew = ii;
                iiNew.fIcon = TRUE;
                iiNew.hbmColor = hbmColor;
                hVariant = ::CreateIconIndirect(&iiNew);
            }
            if (hbmColor != NULL)
                ::DeleteObject(hbmColor);
        }
        ::ReleaseDC(NULL, hdc);
        delete[] pColor;
        delete[] pMask;
    }
    if (ii.hbmColor != NULL)
        ::DeleteObject(ii.hbmColor);
    if (ii.hbmMask != NULL)
        ::DeleteObject(ii.hbmMask);
    return hVariant;
}

void CTkImageManager::AddImage(UINT nID, CImageList* pList, int nIndex, BOOL bReplace, BOOL bNormal)
{
    if (pList == NULL || pList->m_hImageList == NULL)
        return;
    auto& map = bNormal ? m_mapNormal : m_mapAlternate;
    CTkIconRecord* pRecord = NULL;
    if (bReplace) {
        if (map.Lookup(nID, pRecord)) {
            map.RemoveKey(nID);
            delete pRecord;
        }
        pRecord = new CTkIconRecord;
        pRecord->hNormal = ::ImageList_GetIcon(pList->m_hImageList, nIndex, ILD_NORMAL);
        pRecord->hFaded = MakeVariant(pRecord->hNormal, FALSE);
        pRecord->hShadow = MakeVariant(pRecord->hNormal, TRUE);
        map.SetAt(nID, pRecord);
    } else if (map.Lookup(nID, pRecord) && pRecord->hDisabled == NULL) {
        pRecord->hDisabled = ::ImageList_GetIcon(pList->m_hImageList, nIndex, ILD_NORMAL);
    }
}

BOOL CTkImageManager::LoadToolbarImages(LPCTSTR lpszResourceName, BOOL bReplace, BOOL bNormal)
{
    HINSTANCE hInst = AfxGetResourceHandle();
    HRSRC hRsrc = ::FindResourceA(hInst, lpszResourceName, RT_TOOLBAR);
    if (hRsrc == NULL)
        return FALSE;
    HGLOBAL hGlobal = ::LoadResource(hInst, hRsrc);
    const TK_TOOLBARDATA* pData = hGlobal != NULL ? (const TK_TOOLBARDATA*)::LockResource(hGlobal) : NULL;
    DWORD dwSize = ::SizeofResource(hInst, hRsrc);
    if (pData == NULL || dwSize < sizeof(TK_TOOLBARDATA) || pData->wVersion != 1 ||
        dwSize < sizeof(TK_TOOLBARDATA) + (DWORD)pData->wItemCount * sizeof(WORD))
        return FALSE;
    const WORD* pItems = (const WORD*)(pData + 1);

    CImageList list;
    if (!list.Create(pData->wWidth, pData->wHeight, TK_ILC_FLAGS, 0, 10))
        return FALSE;
    HBITMAP hbm = (HBITMAP)::LoadImageA(hInst, lpszResourceName, IMAGE_BITMAP, 0, 0, 0);
    if (hbm == NULL)
        return FALSE;
    CBitmap bitmap;
    bitmap.Attach(hbm);
    list.Add(&bitmap, RGB(0xC0, 0xC0, 0xC0));

    int nImage = 0;
    for (WORD i = 0; i < pData->wItemCount; i++) {
        if (pItems[i] != 0)
            AddImage(pItems[i], &list, nImage++, bReplace, bNormal);
    }
    return TRUE;
}

BOOL CTkImageManager::AddToolbarImageList(CWnd* pBar, HIMAGELIST hList, BOOL bReplace)
{
    if (hList == NULL || pBar == NULL || pBar->m_hWnd == NULL)
        return FALSE;
    CImageList* pList = CImageList::FromHandle(hList);
    int nCount = (int)::SendMessageA(pBar->m_hWnd, TB_BUTTONCOUNT, 0, 0);
    for (int i = 0; i < nCount; i++) {
        TBBUTTON button;
        memset(&button, 0, sizeof(button));
        if (!::SendMessageA(pBar->m_hWnd, TB_GETBUTTON, i, (LPARAM)&button))
            continue;
        if (button.iBitmap >= 0 && button.idCommand > 0)
            AddImage((UINT)button.idCommand, pList, button.iBitmap, bReplace, TRUE);
    }
    return TRUE;
}

BOOL CTkImageManager::AddIcon(UINT nID, HICON hIcon, int cx, int cy, BOOL bReplace, BOOL bNormal)
{
    CImageList list;
    if (hIcon == NULL || !list.Create(cx, cy, TK_ILC_FLAGS, 1, 1))
        return FALSE;
    if (list.Add(hIcon) != 0)
        return FALSE;
    AddImage(nID, &list, 0, bReplace, bNormal);
    return TRUE;
}

BOOL CTkImageManager::Contains(UINT nID, BOOL bNormal) const
{
    CTkIconRecord* pRecord;
    return (bNormal ? m_mapNormal : m_mapAlternate).Lookup(nID, pRecord);
}

CTkIconRecord* CTkImageManager::Lookup(UINT nID, BOOL bPreferNormal) const
{
    CTkIconRecord* pRecord = NULL;
    const auto& first = bPreferNormal ? m_mapNormal : m_mapAlternate;
    const auto& second = bPreferNormal ? m_mapAlternate : m_mapNormal;
    if (first.Lookup(nID, pRecord) || second.Lookup(nID, pRecord))
        return pRecord;
    return NULL;
}
