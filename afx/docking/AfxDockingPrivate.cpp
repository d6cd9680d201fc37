#include "AfxDockingPrivate.h"

namespace afxdock {

void ActivateTopParent(CWnd* pWnd)
{
    CWnd* pTopLevel = pWnd->GetTopLevelParent();
    if (pTopLevel == NULL)
        return;
    HWND hWndForeground = ::GetForegroundWindow();
    if (hWndForeground == NULL || (hWndForeground != pWnd->m_hWnd && !::IsChild(hWndForeground, pWnd->m_hWnd)))
        pTopLevel->SetForegroundWindow();
}

CPoint MessagePoint(const MSG& msg)
{
    CPoint point((short)LOWORD(msg.lParam), (short)HIWORD(msg.lParam));
    BOOL bClient = msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST && msg.message != WM_MOUSEWHEEL;
    if (!bClient)
        return msg.message == WM_MOUSEWHEEL || (msg.message >= WM_NCMOUSEMOVE && msg.message <= WM_NCMBUTTONDBLCLK)
                   ? point
                   : CPoint(msg.pt);
    if (msg.hwnd != NULL)
        ::ClientToScreen(msg.hwnd, &point);
    return point;
}

} // namespace afxdock
