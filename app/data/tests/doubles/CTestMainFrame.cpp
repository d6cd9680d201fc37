#include "CTestMainFrame.h"

namespace {

const char kClassName[] = "OxTestMainFrame";

} // namespace

CTestMainFrame::CTestMainFrame(bool bWindow)
{
    if (bWindow)
        MakeWindow();
}

void CTestMainFrame::MakeWindow()
{
    if (m_hWnd != NULL)
        return;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = GetModuleHandleA(NULL);
    wc.lpszClassName = kClassName;
    RegisterClassA(&wc); // fails harmlessly when the class exists
    m_hWnd = CreateWindowExA(0, kClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, NULL, wc.hInstance, NULL);
    if (m_hWnd != NULL)
        SetWindowLongPtrA(m_hWnd, GWLP_USERDATA, (LONG_PTR)this);
}

CTestMainFrame::~CTestMainFrame()
{
    if (m_hWnd != NULL)
        DestroyWindow(m_hWnd);
}

void CTestMainFrame::PumpMessages()
{
    MSG msg;
    while (PeekMessageA(&msg, m_hWnd, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);
}

LRESULT CALLBACK CTestMainFrame::WindowProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    CTestMainFrame* pFrame = (CTestMainFrame*)GetWindowLongPtrA(hWnd, GWLP_USERDATA);
    if (pFrame != NULL && (nMsg >= WM_USER || nMsg == WM_CLOSE))
        pFrame->m_messages.push_back({nMsg, wParam, lParam});
    if (nMsg == WM_CLOSE)
        return 0; // recorded only: the window stays
    return DefWindowProcA(hWnd, nMsg, wParam, lParam);
}
