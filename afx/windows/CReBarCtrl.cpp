#include "AfxWindowLayer.h"
#include "afxcmn.h"

IMPLEMENT_DYNAMIC(CReBarCtrl, CWnd)

BOOL CReBarCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return AfxCreateControl(this, REBARCLASSNAMEA, NULL, dwStyle, rect, pParentWnd, nID);
}
