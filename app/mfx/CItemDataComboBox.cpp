#include "CItemDataComboBox.h"

int CItemDataComboBox::FindItemData(DWORD_PTR dwValue) const
{
    const int nCount = GetCount();
    for (int i = 0; i < nCount; ++i) {
        if (GetItemData(i) == dwValue)
            return i;
    }
    return -1;
}

int CItemDataComboBox::SelectItemData(DWORD_PTR dwValue)
{
    int nIndex = FindItemData(dwValue);
    if (nIndex >= 0)
        SetCurSel(nIndex);
    return nIndex;
}
