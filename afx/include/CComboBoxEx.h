// An extended combo box of the common controls (items with images).
// The wrapper adds no data of its own: FromHandle of a control's handle may be cast to it.
#pragma once

#include "CWnd.h"
#include "CImageList.h"
#include "CComboBox.h"
#include "CEdit.h"

class CComboBoxEx : public CWnd {
    DECLARE_DYNAMIC(CComboBoxEx)
public:
    CComboBoxEx() {}
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    int InsertItem(const COMBOBOXEXITEMA* pCBItem) { return (int)SendMessage(CBEM_INSERTITEMA, 0, (LPARAM)pCBItem); }
    int DeleteItem(int iIndex) { return (int)SendMessage(CBEM_DELETEITEM, (WPARAM)iIndex); }
    BOOL GetItem(COMBOBOXEXITEMA* pCBItem) { return (BOOL)SendMessage(CBEM_GETITEMA, 0, (LPARAM)pCBItem); }
    BOOL SetItem(const COMBOBOXEXITEMA* pCBItem) { return (BOOL)SendMessage(CBEM_SETITEMA, 0, (LPARAM)pCBItem); }
    int GetCount() const { return (int)::SendMessageA(m_hWnd, CB_GETCOUNT, 0, 0); }
    int GetCurSel() const { return (int)::SendMessageA(m_hWnd, CB_GETCURSEL, 0, 0); }
    int SetCurSel(int nSelect) { return (int)SendMessage(CB_SETCURSEL, (WPARAM)nSelect); }
    CImageList* SetImageList(CImageList* pImageList) { return CImageList::FromHandle((HIMAGELIST)SendMessage(CBEM_SETIMAGELIST, 0, (LPARAM)pImageList->GetSafeHandle())); }
    CComboBox* GetComboBoxCtrl() { return (CComboBox*)CWnd::FromHandle((HWND)SendMessage(CBEM_GETCOMBOCONTROL)); }
    CEdit* GetEditCtrl() { return (CEdit*)CWnd::FromHandle((HWND)SendMessage(CBEM_GETEDITCONTROL)); }
};
