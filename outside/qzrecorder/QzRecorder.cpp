#include "QzRecorder.h"

#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "QzRecorderApi.h"

namespace {

struct Failure {
    SCODE scode;
    std::wstring strDescription;
};

std::mutex g_lock;
std::vector<std::wstring> g_lines;
std::map<DISPID, VARIANT> g_answers;
std::map<DISPID, Failure> g_failures;

std::wstring Describe(const VARIANT& v)
{
    VARTYPE vt = v.vt & ~VT_BYREF;
    const VARIANT* p = &v;
    VARIANT deref;
    if (v.vt & VT_BYREF) {
        VariantInit(&deref);
        if (FAILED(VariantCopyInd(&deref, const_cast<VARIANT*>(&v))))
            return L"vt" + std::to_wstring(v.vt);
        p = &deref;
    }
    std::wstring str;
    switch (vt) {
    case VT_I2: str = L"I2=" + std::to_wstring(p->iVal); break;
    case VT_I4: str = L"I4=" + std::to_wstring(p->lVal); break;
    case VT_BOOL: str = std::wstring(L"BOOL=") + (p->boolVal != VARIANT_FALSE ? L"TRUE" : L"FALSE"); break;
    case VT_BSTR: str = L"BSTR=" + std::wstring(p->bstrVal != NULL ? p->bstrVal : L""); break;
    case VT_DISPATCH: str = std::wstring(L"DISPATCH=") + (p->pdispVal != NULL ? L"object" : L"null"); break;
    default: str = L"vt" + std::to_wstring(v.vt); break;
    }
    if (p == &deref)
        VariantClear(&deref);
    return str;
}

} // namespace

CQzRecorder::CQzRecorder(REFCLSID clsid, REFIID iidEvents, const char* pszWindowClass, DWORD dwStateMark)
    : qz::CQzControl(clsid, iidEvents, pszWindowClass, dwStateMark)
{
}

IUnknown* CQzRecorder::CreateDEdit()
{
    return static_cast<IOleObject*>(new CQzRecorder(CLSID_QzDEdit, DIID_QzDEditEvents, "QzRecorderDEdit", QZ_DEDIT_STATE_MARK));
}

IUnknown* CQzRecorder::CreateMultiDay()
{
    return static_cast<IOleObject*>(new CQzRecorder(CLSID_QzMultiDay, DIID_QzMultiDayEvents, "QzRecorderMultiDay", QZ_MDAY_STATE_MARK));
}

IUnknown* CQzRecorder::CreateMonth()
{
    return static_cast<IOleObject*>(new CQzRecorder(CLSID_QzMonth, DIID_QzMonthEvents, "QzRecorderMonth", QZ_MONTH_STATE_MARK));
}

IUnknown* CQzRecorder::CreateCalendar()
{
    return static_cast<IOleObject*>(new CQzRecorder(CLSID_QzCalendar, DIID_QzCalendarEvents, "QzRecorderCalendar", QZ_CALEND_STATE_MARK));
}

const qz::Member* CQzRecorder::Members(int* pnCount) const
{
    *pnCount = 0;
    return NULL;
}

const qz::EventInfo* CQzRecorder::Events(int* pnCount) const
{
    *pnCount = 0;
    return NULL;
}

STDMETHODIMP CQzRecorder::Invoke(DISPID dispid, REFIID riid, LCID lcid, WORD wFlags, DISPPARAMS* pdp,
                                 VARIANT* pvarResult, EXCEPINFO* pExcepInfo, UINT* puArgErr)
{
    if (dispid >= QZ_TEST_FIRE && dispid <= QZ_TEST_TODAY)
        return qz::CQzControl::Invoke(dispid, riid, lcid, wFlags, pdp, pvarResult, pExcepInfo, puArgErr);
    if (pdp == NULL)
        return E_INVALIDARG;

    std::wstring line = std::to_wstring(dispid);
    if (wFlags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF))
        line += L" put";
    else if (wFlags & DISPATCH_METHOD)
        line += L" method";
    else if (wFlags & DISPATCH_PROPERTYGET)
        line += L" get";
    else
        line += L" flags" + std::to_wstring(wFlags);
    // the arguments arrive last first
    for (UINT i = pdp->cArgs; i > 0; i--)
        line += L" " + Describe(pdp->rgvarg[i - 1]);
    if (pvarResult != NULL)
        line += L" ->";

    std::lock_guard<std::mutex> guard(g_lock);
    g_lines.push_back(line);
    auto failure = g_failures.find(dispid);
    if (failure != g_failures.end()) {
        if (pExcepInfo != NULL) {
            memset(pExcepInfo, 0, sizeof(*pExcepInfo));
            pExcepInfo->scode = failure->second.scode;
            pExcepInfo->bstrSource = SysAllocString(L"qzrecorder");
            pExcepInfo->bstrDescription = SysAllocString(failure->second.strDescription.c_str());
        }
        return DISP_E_EXCEPTION;
    }
    if (pvarResult != NULL) {
        VariantInit(pvarResult);
        auto answer = g_answers.find(dispid);
        if (answer != g_answers.end())
            return VariantCopy(pvarResult, &answer->second);
    }
    return S_OK;
}

LRESULT CQzRecorder::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC hdc = BeginPaint(m_hWnd, &ps);
        RECT rc;
        GetClientRect(m_hWnd, &rc);
        FillRect(hdc, &rc, GetSysColorBrush(COLOR_WINDOW));
        DrawEdge(hdc, &rc, EDGE_SUNKEN, BF_RECT);
        EndPaint(m_hWnd, &ps);
        return 0;
    }
    return qz::CQzControl::WindowProc(message, wParam, lParam);
}

extern "C" int WINAPI QzRecorderCount()
{
    std::lock_guard<std::mutex> guard(g_lock);
    return (int)g_lines.size();
}

extern "C" const wchar_t* WINAPI QzRecorderLine(int nIndex)
{
    std::lock_guard<std::mutex> guard(g_lock);
    return nIndex >= 0 && nIndex < (int)g_lines.size() ? g_lines[nIndex].c_str() : NULL;
}

extern "C" void WINAPI QzRecorderReset()
{
    std::lock_guard<std::mutex> guard(g_lock);
    g_lines.clear();
    for (auto& answer : g_answers)
        VariantClear(&answer.second);
    g_answers.clear();
    g_failures.clear();
}

extern "C" void WINAPI QzRecorderAnswer(DISPID dispid, const VARIANT* pvarAnswer)
{
    std::lock_guard<std::mutex> guard(g_lock);
    VARIANT& slot = g_answers[dispid];
    VariantClear(&slot);
    VariantInit(&slot);
    if (pvarAnswer != NULL)
        VariantCopy(&slot, const_cast<VARIANT*>(pvarAnswer));
}

extern "C" void WINAPI QzRecorderFail(DISPID dispid, SCODE scode, const wchar_t* pszDescription)
{
    std::lock_guard<std::mutex> guard(g_lock);
    g_failures[dispid] = Failure{scode, pszDescription != NULL ? pszDescription : L""};
}
