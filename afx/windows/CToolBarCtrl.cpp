#include "AfxWindowLayer.h"
#include "afxcmn.h"

IMPLEMENT_DYNAMIC(CToolBarCtrl, CWnd)

BOOL CToolBarCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return AfxCreateControl(this, TOOLBARCLASSNAMEA, NULL, dwStyle, rect, pParentWnd, nID);
}
