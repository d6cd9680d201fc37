#include "AfxWindowLayer.h"
#include "afxcmn.h"

IMPLEMENT_DYNAMIC(CSpinButtonCtrl, CWnd)

BOOL CSpinButtonCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return AfxCreateControl(this, UPDOWN_CLASSA, NULL, dwStyle, rect, pParentWnd, nID);
}
