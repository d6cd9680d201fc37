#include "OleTestSupport.h"

#include <gtest/gtest.h>

namespace afxtest {

namespace {

// OLE and control containment for the whole test program, on its main thread.
class OleEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        ASSERT_TRUE(AfxOleInit());
        AfxEnableControlContainer();
    }
    void TearDown() override { AfxOleTerm(FALSE); }
};

const ::testing::Environment* const g_pOleEnvironment = ::testing::AddGlobalTestEnvironment(new OleEnvironment);

} // namespace

Var Var::I2(short n)
{
    Var r;
    r.v.vt = VT_I2;
    r.v.iVal = n;
    return r;
}

Var Var::I4(long n)
{
    Var r;
    r.v.vt = VT_I4;
    r.v.lVal = n;
    return r;
}

Var Var::R4(float f)
{
    Var r;
    r.v.vt = VT_R4;
    r.v.fltVal = f;
    return r;
}

Var Var::R8(double d)
{
    Var r;
    r.v.vt = VT_R8;
    r.v.dblVal = d;
    return r;
}

Var Var::Date(double d)
{
    Var r;
    r.v.vt = VT_DATE;
    r.v.date = d;
    return r;
}

Var Var::Bool(bool b)
{
    Var r;
    r.v.vt = VT_BOOL;
    r.v.boolVal = b ? VARIANT_TRUE : VARIANT_FALSE;
    return r;
}

Var Var::Str(const wchar_t* psz)
{
    Var r;
    r.v.vt = VT_BSTR;
    r.v.bstrVal = psz != NULL ? SysAllocString(psz) : NULL;
    return r;
}

Var Var::Ansi(const char* psz)
{
    Var r;
    r.v.vt = VT_BSTR;
    r.v.bstrVal = CString(psz).AllocSysString();
    return r;
}

Var Var::Ref(VARTYPE vt, void* p)
{
    Var r;
    r.v.vt = (VARTYPE)(VT_BYREF | vt);
    r.v.byref = p;
    return r;
}

std::string Ansi(BSTR bstr)
{
    if (bstr == NULL)
        return std::string();
    CString str(bstr);
    return std::string((LPCTSTR)str);
}

CallResult::CallResult() : hr(E_FAIL), nArgErr((UINT)-1) { memset(&excepInfo, 0, sizeof(excepInfo)); }

CallResult::~CallResult()
{
    SysFreeString(excepInfo.bstrSource);
    SysFreeString(excepInfo.bstrDescription);
    SysFreeString(excepInfo.bstrHelpFile);
}

void Call(CallResult& r, IDispatch* pDispatch, DISPID dispid, WORD wFlags, const std::vector<Var>& args,
          BOOL bWantResult)
{
    std::vector<VARIANT> rgvarg(args.size());
    for (size_t i = 0; i < args.size(); i++)
        rgvarg[args.size() - 1 - i] = args[i].v; // shallow: the Vars keep their values
    DISPID dispidPut = DISPID_PROPERTYPUT;
    DISPPARAMS dp = {rgvarg.empty() ? NULL : rgvarg.data(), NULL, (UINT)rgvarg.size(), 0};
    if (wFlags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
        dp.rgdispidNamedArgs = &dispidPut;
        dp.cNamedArgs = 1;
    }
    VariantClear(&r.result.v);
    r.hr = pDispatch->Invoke(dispid, IID_NULL, 0, wFlags, &dp, bWantResult ? &r.result.v : NULL, &r.excepInfo,
                             &r.nArgErr);
}

DISPID IdOf(IDispatch* pDispatch, const wchar_t* pszName, HRESULT* phr)
{
    DISPID dispid = 12345;
    LPOLESTR name = const_cast<LPOLESTR>(pszName);
    HRESULT hr = pDispatch->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_SYSTEM_DEFAULT, &dispid);
    if (phr != NULL)
        *phr = hr;
    return dispid;
}

BOOL ReadClassesValue(const std::string& strKey, std::string* pValue, const char* pszName)
{
    pValue->clear();
    HKEY hKey;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, strKey.c_str(), 0, KEY_READ, &hKey) != ERROR_SUCCESS)
        return FALSE;
    char szValue[1024];
    DWORD cb = sizeof(szValue);
    DWORD dwType = 0;
    LONG lResult = RegQueryValueExA(hKey, pszName, NULL, &dwType, (BYTE*)szValue, &cb);
    RegCloseKey(hKey);
    if (lResult != ERROR_SUCCESS || dwType != REG_SZ)
        return FALSE;
    *pValue = szValue;
    return TRUE;
}

void PumpMessages()
{
    MSG msg;
    while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

BOOL QuitPosted()
{
    MSG msg;
    BOOL bQuit = FALSE;
    while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT)
            bQuit = TRUE;
        else
            DispatchMessageA(&msg);
    }
    return bQuit;
}

} // namespace afxtest
