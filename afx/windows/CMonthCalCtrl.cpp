#include "AfxWindowLayer.h"
#include "afxcmn.h"

IMPLEMENT_DYNAMIC(CMonthCalCtrl, CWnd)

BOOL CMonthCalCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return AfxCreateControl(this, MONTHCAL_CLASSA, NULL, dwStyle, rect, pParentWnd, nID);
}
