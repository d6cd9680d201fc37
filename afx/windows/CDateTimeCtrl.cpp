#include "AfxWindowLayer.h"
#include "afxcmn.h"

IMPLEMENT_DYNAMIC(CDateTimeCtrl, CWnd)

BOOL CDateTimeCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return AfxCreateControl(this, DATETIMEPICK_CLASSA, NULL, dwStyle, rect, pParentWnd, nID);
}
