#include "QzTestSupport.h"

#include <gtest/gtest.h>

#include "FrameTestSupport.h"
#include "TestKit.h"

namespace qztest {

namespace {

struct Served {
    const char* pszDll;
    const CLSID* pClsid;
    HMODULE hModule;
    DWORD dwCookie;
};

Served g_served[] = {
    {QZ_DEDIT_DLL, &CLSID_QzDEdit, NULL, 0},
    {QZ_MONTH_DLL, &CLSID_QzMonth, NULL, 0},
    {QZ_MDAY_DLL, &CLSID_QzMultiDay, NULL, 0},
};

} // namespace

bool ServeClasses()
{
    for (Served& served : g_served) {
        if (served.hModule == NULL)
            served.hModule = LoadLibraryA(served.pszDll);
        if (served.hModule == NULL)
            return false;
        if (served.dwCookie != 0)
            continue;
        auto pfnGet = (HRESULT(WINAPI*)(REFCLSID, REFIID, void**))GetProcAddress(served.hModule, "DllGetClassObject");
        IUnknown* pFactory = NULL;
        if (pfnGet == NULL || FAILED(pfnGet(*served.pClsid, IID_IClassFactory, (void**)&pFactory)))
            return false;
        HRESULT hr = CoRegisterClassObject(*served.pClsid, pFactory, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE,
                                           &served.dwCookie);
        pFactory->Release();
        if (FAILED(hr))
            return false;
    }
    return true;
}

void RevokeClasses()
{
    for (Served& served : g_served) {
        if (served.dwCookie != 0)
            CoRevokeClassObject(served.dwCookie);
        served.dwCookie = 0;
    }
}

HMODULE Library(const char* pszDll) { return GetModuleHandleA(pszDll); }

HRESULT CanUnloadNow(const char* pszDll)
{
    HMODULE hModule = Library(pszDll);
    auto pfn = hModule != NULL ? (HRESULT(WINAPI*)())GetProcAddress(hModule, "DllCanUnloadNow") : NULL;
    return pfn != NULL ? pfn() : E_FAIL;
}

// ---- the recording dialog ----------------------------------------------------------------------

BOOL CQzHost::Make()
{
    if (!Create(m_nTemplate))
        return FALSE;
    ShowWindow(SW_SHOW);
    Settle();
    return TRUE;
}

void CQzHost::DateChanged(UINT id, short* pUnused, short* pDay, short* pMonth, short* pYear)
{
    Record("datechanged " + std::to_string(id) + " " + std::to_string(*pUnused) + " " + std::to_string(*pDay) + "." +
           std::to_string(*pMonth) + "." + std::to_string(*pYear));
    if (m_nWriteDay != 0)
        *pDay = m_nWriteDay;
    if (m_nWriteMonth != 0)
        *pMonth = m_nWriteMonth;
    if (m_bCorrectDay) {
        static const int days[12] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
        bool bLeap = (*pYear % 4 == 0 && *pYear % 100 != 0) || *pYear % 400 == 0;
        int nLast = *pMonth == 2 && !bLeap ? 28 : days[(*pMonth - 1) % 12];
        while (*pDay > nLast)
            (*pDay)--;
    }
}

void CQzHost::DayClicked(UINT id, short* pDay)
{
    Record("clicked " + std::to_string(id) + " " + std::to_string(*pDay));
    if (!m_bDestroyOnDayClicked)
        return;
    CWnd* pCtl = GetDlgItem(id);
    m_nPicked = GetShort(pCtl, QZ_MONTH_YEAR) * 10000L + GetShort(pCtl, QZ_MONTH_MONTH) * 100L + *pDay;
    DestroyWindow(); // the control and its window go while the control raises the event
}

#define QZ_DEDIT_EVENTS(id)                                                                                \
    ON_EVENT(CQzHost, id, QZ_DEDIT_EV_DROPDOWN, OnDropDown<id>, VTS_NONE)                                  \
    ON_EVENT(CQzHost, id, QZ_DEDIT_EV_SPIN, OnSpin<id>, VTS_I2)                                            \
    ON_EVENT(CQzHost, id, QZ_DEDIT_EV_CHANGE, OnChange<id>, VTS_NONE)
#define QZ_MONTH_EVENTS(id)                                                                                \
    ON_EVENT(CQzHost, id, QZ_MONTH_EV_DATECHANGED, OnDateChanged<id>, VTS_PI2 VTS_PI2 VTS_PI2 VTS_PI2)     \
    ON_EVENT(CQzHost, id, QZ_MONTH_EV_DAYHOVER, OnDayHover<id>, VTS_PI2)                                   \
    ON_EVENT(CQzHost, id, QZ_MONTH_EV_DAYCLICKED, OnDayClicked<id>, VTS_PI2)                               \
    ON_EVENT(CQzHost, id, QZ_EV_CLICK, OnClick<id>, VTS_NONE)                                              \
    ON_EVENT(CQzHost, id, QZ_EV_KEYDOWN, OnKeyDown<id>, VTS_PI2 VTS_I2)

BEGIN_EVENTSINK_MAP(CQzHost, CDialog)
QZ_DEDIT_EVENTS(IDC_QZ_DATE)
QZ_DEDIT_EVENTS(IDC_QZ_TIME)
QZ_DEDIT_EVENTS(IDC_QZ_DISABLED)
QZ_MONTH_EVENTS(IDC_QZ_MONTH)
QZ_MONTH_EVENTS(IDC_QZ_MONTH1)
QZ_MONTH_EVENTS(IDC_QZ_MONTH2)
END_EVENTSINK_MAP()

std::vector<std::string> Without(const std::vector<std::string>& events, const std::string& strWord)
{
    std::vector<std::string> rest;
    for (const std::string& str : events)
        if (str.compare(0, strWord.size() + 1, strWord + " ") != 0)
            rest.push_back(str);
    return rest;
}

std::vector<std::string> Of(const std::vector<std::string>& events, UINT nID)
{
    std::vector<std::string> of;
    std::string strId = " " + std::to_string(nID);
    for (const std::string& str : events) {
        size_t n = str.find(strId);
        if (n != std::string::npos && (n + strId.size() == str.size() || str[n + strId.size()] == ' '))
            of.push_back(str);
    }
    return of;
}

// ---- properties --------------------------------------------------------------------------------

short GetShort(CWnd* pCtl, DISPID dispid)
{
    short n = -32768;
    pCtl->GetProperty(dispid, VT_I2, &n);
    return n;
}

long GetLong(CWnd* pCtl, DISPID dispid)
{
    long n = -1;
    pCtl->GetProperty(dispid, VT_I4, &n);
    return n;
}

void SetShort(CWnd* pCtl, DISPID dispid, short n) { pCtl->SetProperty(dispid, VT_I2, n); }
void SetLong(CWnd* pCtl, DISPID dispid, long n) { pCtl->SetProperty(dispid, VT_I4, n); }
void SetBool(CWnd* pCtl, DISPID dispid, BOOL b) { pCtl->SetProperty(dispid, VT_BOOL, b); }

std::string WindowText(CWnd* pWnd)
{
    char sz[128] = "";
    ::GetWindowTextA(pWnd->m_hWnd, sz, sizeof(sz));
    return sz;
}

// ---- input -------------------------------------------------------------------------------------

void Settle()
{
    for (int i = 0; i < 3; i++) {
        MSG msg;
        ::MsgWaitForMultipleObjects(0, NULL, FALSE, 20, QS_ALLINPUT);
        framestest::RunToIdle();
        if (!::PeekMessageA(&msg, NULL, 0, 0, PM_NOREMOVE) && i > 0)
            break;
    }
}

bool BringToFront(CWnd* pWnd)
{
    HWND hTop = ::GetAncestor(pWnd->m_hWnd, GA_ROOT);
    // above the windows of other programs on the shared desktop, where the real mouse clicks
    ::SetWindowPos(hTop, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ::SetForegroundWindow(hTop);
    ::SetActiveWindow(hTop);
    Settle();
    return ::GetForegroundWindow() == hTop;
}

namespace {

void SendMouse(DWORD dwFlags, POINT ptScreen)
{
    INPUT input = {};
    input.type = INPUT_MOUSE;
    int cx = ::GetSystemMetrics(SM_CXSCREEN), cy = ::GetSystemMetrics(SM_CYSCREEN);
    input.mi.dx = (LONG)((ptScreen.x * 65536L + cx / 2) / cx);
    input.mi.dy = (LONG)((ptScreen.y * 65536L + cy / 2) / cy);
    input.mi.dwFlags = dwFlags | MOUSEEVENTF_ABSOLUTE;
    ::SendInput(1, &input, sizeof(input));
}

void SendKey(WORD vk, bool bUp)
{
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.wScan = (WORD)::MapVirtualKeyA(vk, MAPVK_VK_TO_VSC);
    input.ki.dwFlags = bUp ? KEYEVENTF_KEYUP : 0;
    if (vk == VK_UP || vk == VK_DOWN || vk == VK_LEFT || vk == VK_RIGHT || vk == VK_PRIOR || vk == VK_NEXT)
        input.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
    ::SendInput(1, &input, sizeof(input));
}

} // namespace

void MoveTo(CWnd* pWnd, POINT ptClient)
{
    POINT pt = ptClient;
    ::ClientToScreen(pWnd->m_hWnd, &pt);
    SendMouse(MOUSEEVENTF_MOVE, pt);
    Settle();
}

void ClickAt(CWnd* pWnd, POINT ptClient)
{
    POINT pt = ptClient;
    ::ClientToScreen(pWnd->m_hWnd, &pt);
    SendMouse(MOUSEEVENTF_MOVE, pt);
    SendMouse(MOUSEEVENTF_LEFTDOWN, pt);
    SendMouse(MOUSEEVENTF_LEFTUP, pt);
    Settle();
}

void DoubleClickAt(CWnd* pWnd, POINT ptClient)
{
    POINT pt = ptClient;
    ::ClientToScreen(pWnd->m_hWnd, &pt);
    SendMouse(MOUSEEVENTF_MOVE, pt);
    for (int i = 0; i < 2; i++) {
        SendMouse(MOUSEEVENTF_LEFTDOWN, pt);
        SendMouse(MOUSEEVENTF_LEFTUP, pt);
    }
    Settle();
}

void DragTo(CWnd* pWnd, POINT ptFrom, POINT ptTo, bool bHold)
{
    POINT pt = ptFrom;
    ::ClientToScreen(pWnd->m_hWnd, &pt);
    SendMouse(MOUSEEVENTF_MOVE, pt);
    Settle();
    SendMouse(MOUSEEVENTF_LEFTDOWN, pt);
    Settle();
    const int kSteps = 6;
    for (int i = 1; i <= kSteps; i++) {
        POINT step = {ptFrom.x + (ptTo.x - ptFrom.x) * i / kSteps, ptFrom.y + (ptTo.y - ptFrom.y) * i / kSteps};
        ::ClientToScreen(pWnd->m_hWnd, &step);
        SendMouse(MOUSEEVENTF_MOVE, step);
        Settle();
    }
    if (!bHold)
        ReleaseAt(pWnd, ptTo);
}

void ReleaseAt(CWnd* pWnd, POINT ptClient)
{
    POINT pt = ptClient;
    ::ClientToScreen(pWnd->m_hWnd, &pt);
    SendMouse(MOUSEEVENTF_LEFTUP, pt);
    Settle();
}

void PressKey(WORD vk, bool bAlt)
{
    if (bAlt)
        SendKey(VK_MENU, false);
    SendKey(vk, false);
    SendKey(vk, true);
    if (bAlt)
        SendKey(VK_MENU, true);
    Settle();
}

void TypeText(const char* pszDigits)
{
    for (const char* p = pszDigits; *p != '\0'; p++) {
        SendKey((WORD)(unsigned char)*p, false);
        SendKey((WORD)(unsigned char)*p, true);
    }
    Settle();
}

// ---- screenshots -------------------------------------------------------------------------------

std::string SaveShot(CWnd* pWnd, const char* pszName, const char* pszArea)
{
    // <build>\bin\screenshots\..\..\shots\<area>
    std::string strShots = oxtest::ProgramDir() + "\\..\\shots";
    ::CreateDirectoryA(strShots.c_str(), NULL);
    ::CreateDirectoryA((strShots + "\\" + pszArea).c_str(), NULL);
    Settle();
    return framestest::SaveScreenshot(pWnd, (std::string("..\\..\\shots\\") + pszArea + "\\" + pszName).c_str());
}

} // namespace qztest
