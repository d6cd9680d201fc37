#include "AfxWindowLayer.h"
#include "afxcmn.h"
#include "CComboBox.h"
#include "CEdit.h"

IMPLEMENT_DYNAMIC(CComboBoxEx, CWnd)

BOOL CComboBoxEx::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return AfxCreateControl(this, WC_COMBOBOXEXA, NULL, dwStyle, rect, pParentWnd, nID);
}
