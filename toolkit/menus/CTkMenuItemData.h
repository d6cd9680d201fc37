// The record a cool menu hangs on each menu item it makes owner-drawn (the item's data). Item data
// without the signature belongs to somebody else and is never touched.
#pragma once

#include <afxwin.h>

#define TK_MENUITEM_SIGNATURE 0x494D4B54u // "TKMI"

// Group flags of rarely used items.
#define TK_GROUP_FIRST 1  // first item of a run of rarely used items
#define TK_GROUP_LAST 2   // last item of such a run
#define TK_GROUP_HIDDEN 4 // a rarely used item

class CTkMenuItemData {
public:
    CTkMenuItemData();
    virtual ~CTkMenuItemData();

    // The record behind an item's data; NULL for data that is not a live toolkit record. Foreign
    // data (any value, possibly no pointer at all) is looked up, never read.
    static CTkMenuItemData* FromItemData(ULONG_PTR dwItemData);

    DWORD m_dwSignature;
    int m_nHomePos;     // the item's position as the menu defined it
    UINT m_nID;
    BYTE m_bRemoved;    // taken out of the menu while it is shortened
    HMENU m_hMenu;      // the menu that holds the item
    HMENU m_hSubMenu;
    UINT m_fType;       // MFT_*, with MFT_OWNERDRAW
    UINT m_fState;      // MFS_*, saved when the item is removed
    UINT m_nGroup;      // TK_GROUP_*
    CString m_strText;  // the item's text as the menu defined it
};
