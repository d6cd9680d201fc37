#include "CTkOutBarFolder.h"

CTkOutBarFolder::CTkOutBarFolder(LPCTSTR lpszName, DWORD dwData, CWnd* pChild, BOOL bSmallIcons)
    : m_bSmallIcons(bSmallIcons), m_pChild(pChild), m_dwData(dwData), m_strName(lpszName), m_pLargeImageList(NULL),
      m_pSmallImageList(NULL), m_items(10)
{
}

CTkOutBarFolder::~CTkOutBarFolder()
{
    while (!m_items.IsEmpty())
        delete (CTkOutBarItem*)m_items.RemoveHead();
}

int CTkOutBarFolder::InsertItem(int nIndex, LPCTSTR lpszText, int nImage, DWORD dwData)
{
    return InsertItem(nIndex, new CTkOutBarItem(lpszText, nImage, dwData));
}

int CTkOutBarFolder::InsertItem(int nIndex, CTkOutBarItem* pItem)
{
    int nCount = GetItemCount();
    if (nIndex < 0 || nIndex >= nCount) {
        m_items.AddTail(pItem);
        return nCount;
    }
    m_items.InsertBefore(m_items.FindIndex(nIndex), pItem);
    return nIndex;
}

CTkOutBarItem* CTkOutBarFolder::GetItem(int nIndex) const
{
    if (nIndex < 0 || nIndex >= GetItemCount())
        return NULL;
    return (CTkOutBarItem*)m_items.GetAt(m_items.FindIndex(nIndex));
}

CTkOutBarItem* CTkOutBarFolder::RemoveItem(int nIndex)
{
    if (nIndex < 0 || nIndex >= GetItemCount())
        return NULL;
    POSITION pos = m_items.FindIndex(nIndex);
    CTkOutBarItem* pItem = (CTkOutBarItem*)m_items.GetAt(pos);
    m_items.RemoveAt(pos);
    return pItem;
}

void CTkOutBarFolder::SelectItem(int nIndex)
{
    int i = 0;
    for (POSITION pos = m_items.GetHeadPosition(); pos != NULL; i++)
        ((CTkOutBarItem*)m_items.GetNext(pos))->m_bSelected = (i == nIndex);
}

int CTkOutBarFolder::GetSelectedItem() const
{
    int i = 0;
    for (POSITION pos = m_items.GetHeadPosition(); pos != NULL; i++)
        if (((CTkOutBarItem*)m_items.GetNext(pos))->m_bSelected)
            return i;
    return -1;
}
