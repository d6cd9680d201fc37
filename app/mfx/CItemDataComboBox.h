// A combo box that finds and selects its entries by their item data.
#pragma once

#include <afxwin.h>

class CItemDataComboBox : public CComboBox {
public:
    // Index of the first entry carrying the value, else -1.
    int FindItemData(DWORD_PTR dwValue) const;
    // As FindItemData, and selects the entry found; with -1 the selection stays.
    int SelectItemData(DWORD_PTR dwValue);
};
