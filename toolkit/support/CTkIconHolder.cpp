#include "CTkIconHolder.h"

#include <commctrl.h>

CTkIconHolder::~CTkIconHolder()
{
    if (m_hIcon != NULL)
        ::DestroyIcon(m_hIcon);
}

CTkIconHolder& CTkIconHolder::operator=(HICON hIcon)
{
    if (hIcon != m_hIcon && m_hIcon != NULL)
        ::DestroyIcon(m_hIcon);
    m_hIcon = hIcon;
    return *this;
}

CSize CTkIconHolder::GetExtent() const
{
    CSize size(0, 0);
    if (m_hIcon == NULL)
        return size;
    ICONINFO ii;
    if (!::GetIconInfo(m_hIcon, &ii))
        return size;
    BITMAP bm;
    if (ii.hbmMask != NULL && ::GetObjectA(ii.hbmMask, sizeof(bm), &bm) == sizeof(bm)) {
        size.cx = bm.bmWidth;
        size.cy = ii.hbmColor != NULL ? bm.bmHeight : bm.bmHeight / 2;
    }
    if (ii.hbmMask != NULL)
        ::DeleteObject(ii.hbmMask);
    if (ii.hbmColor != NULL)
        ::DeleteObject(ii.hbmColor);
    return size;
}

HICON CTkIconHolder::ScaleToFit(CSize size) const
{
    CSize extent = GetExtent();
    if ((size.cx == 0 && size.cy == 0) || extent.cx == 0 || extent.cy == 0 || size.cx <= 0 || size.cy <= 0)
        return NULL;
    LONG64 nLeft = (LONG64)extent.cy * size.cx, nRight = (LONG64)extent.cx * size.cy;
    if (nLeft < nRight)
        size.cy = ::MulDiv(extent.cy, size.cx, extent.cx);
    else if (nLeft > nRight)
        size.cx = ::MulDiv(extent.cx, size.cy, extent.cy);
    if (size.cx <= 0 || size.cy <= 0)
        return NULL;
    HIMAGELIST hList = ::ImageList_Create(size.cx, size.cy, ILC_COLOR | ILC_MASK, 1, 1);
    if (hList == NULL)
        return NULL;
    HICON hIcon = NULL;
    if (::ImageList_ReplaceIcon(hList, -1, m_hIcon) == 0)
        hIcon = ::ImageList_GetIcon(hList, 0, ILD_NORMAL);
    ::ImageList_Destroy(hList);
    return hIcon;
}
