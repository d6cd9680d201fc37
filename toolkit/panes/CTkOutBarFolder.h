// One folder of a shortcut bar: a header with a name and either items or a hosted child window.
#pragma once

#include <afxwin.h>
#include <afxcmn.h>

#include "CTkOutBarItem.h"

class CTkOutBarFolder {
public:
    CTkOutBarFolder(LPCTSTR lpszName, DWORD dwData, CWnd* pChild, BOOL bSmallIcons);
    ~CTkOutBarFolder();

    // Puts a new item at nIndex (clamped to 0..count; negative appends); answers its position.
    int InsertItem(int nIndex, LPCTSTR lpszText, int nImage, DWORD dwData);
    // The item at nIndex, NULL for an invalid index.
    CTkOutBarItem* GetItem(int nIndex) const;
    // Takes the item at nIndex out of the list and hands it over; NULL for an invalid index.
    CTkOutBarItem* RemoveItem(int nIndex);
    // Puts an item taken out with RemoveItem back at nIndex (clamped as InsertItem).
    int InsertItem(int nIndex, CTkOutBarItem* pItem);
    int GetItemCount() const { return (int)m_items.GetCount(); }
    // Marks one item selected (all others not); -1 clears the mark.
    void SelectItem(int nIndex);
    int GetSelectedItem() const;

    BOOL m_bSmallIcons;
    CWnd* m_pChild;
    DWORD m_dwData;
    CString m_strName;
    CImageList* m_pLargeImageList;
    CImageList* m_pSmallImageList;
    CPtrList m_items;

private:
    CTkOutBarFolder(const CTkOutBarFolder&) = delete;
    CTkOutBarFolder& operator=(const CTkOutBarFolder&) = delete;
};
