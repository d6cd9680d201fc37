#include "CTestReminderWindow.h"

namespace {

const char kSingleClass[] = "OxTestReminderWindow";
const char kMultiClass[] = "OxTestMultiReminderWindow";

void Register(const char* pszClass, WNDPROC pfnProc)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = pfnProc;
    wc.hInstance = GetModuleHandleA(NULL);
    wc.lpszClassName = pszClass;
    RegisterClassA(&wc); // fails harmlessly when the class exists
}

std::string ParentName(HWND hParent)
{
    if (hParent == NULL)
        return "none";
    return hParent == GetDesktopWindow() ? "desktop" : "other";
}

} // namespace

CTestReminderWindow::CTestReminderWindow(long nId, const CDataAppointment& record, Journal* pJournal)
    : m_nId(nId), m_record(record), m_pJournal(pJournal)
{
    m_dtNext.SetStatus(COleDateTime::null);
}

CTestReminderWindow::~CTestReminderWindow()
{
    if (m_hWnd != NULL)
        DestroyWindow(m_hWnd);
    m_pJournal->push_back("delete " + std::to_string(m_nId));
}

BOOL CTestReminderWindow::Create()
{
    m_pJournal->push_back("create " + std::to_string(m_nId) + " parent=" + ParentName(m_hParent));
    if (m_bFailCreate)
        return FALSE;
    Register(kSingleClass, DefWindowProcA);
    // A top-level window: the desktop as parent is the same as none.
    m_hWnd = CreateWindowExA(WS_EX_TOOLWINDOW, kSingleClass, "Erinnerung", WS_POPUP, 300, 300, 120, 80,
                             m_hParent == GetDesktopWindow() ? NULL : m_hParent, NULL, GetModuleHandleA(NULL), NULL);
    return m_hWnd != NULL;
}

CTestMultiReminderWindow::CTestMultiReminderWindow(HWND hNotify, HWND hParent, CTestReminderWindow::Journal* pJournal,
                                                   BOOL bFailCreate)
    : m_hNotify(hNotify), m_hParent(hParent), m_pJournal(pJournal), m_bFailCreate(bFailCreate)
{
}

CTestMultiReminderWindow::~CTestMultiReminderWindow()
{
    if (m_hWnd != NULL) {
        // Entries posted but not yet delivered count as given.
        MSG msg;
        while (PeekMessageA(&msg, m_hWnd, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
        DestroyWindow(m_hWnd);
    }
    m_pJournal->push_back("delete collective");
}

BOOL CTestMultiReminderWindow::Create()
{
    m_pJournal->push_back("create collective parent=" + ParentName(m_hParent));
    if (m_bFailCreate)
        return FALSE;
    Register(kMultiClass, WindowProc);
    m_hWnd = CreateWindowExA(0, kMultiClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, NULL, GetModuleHandleA(NULL), NULL);
    if (m_hWnd != NULL)
        SetWindowLongPtrA(m_hWnd, GWLP_USERDATA, (LONG_PTR)this);
    return m_hWnd != NULL;
}

LRESULT CALLBACK CTestMultiReminderWindow::WindowProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    auto* pThis = (CTestMultiReminderWindow*)GetWindowLongPtrA(hWnd, GWLP_USERDATA);
    if (pThis != NULL && nMsg == msgAddEntry)
        pThis->m_pJournal->push_back("entry " + std::to_string((long)lParam));
    return DefWindowProcA(hWnd, nMsg, wParam, lParam);
}
