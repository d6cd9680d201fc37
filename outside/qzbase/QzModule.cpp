#include "QzModule.h"

#include <olectl.h>

#include <string>

#include "QzControl.h"

namespace qz {

namespace {

HINSTANCE g_hModule = NULL;
LONG g_nLocks = 0;

class CFactory : public IClassFactory {
public:
    explicit CFactory(const ClassEntry& entry) : m_entry(entry) {}
    virtual ~CFactory() = default;
    STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override
    {
        if (ppv == NULL)
            return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory)) {
            *ppv = static_cast<IClassFactory*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = NULL;
        return E_NOINTERFACE;
    }
    STDMETHOD_(ULONG, AddRef)() override { return (ULONG)InterlockedIncrement(&m_nRef); }
    STDMETHOD_(ULONG, Release)() override
    {
        LONG n = InterlockedDecrement(&m_nRef);
        if (n == 0)
            delete this;
        return (ULONG)n;
    }
    STDMETHOD(CreateInstance)(IUnknown* pUnkOuter, REFIID riid, void** ppv) override
    {
        if (ppv == NULL)
            return E_POINTER;
        *ppv = NULL;
        if (pUnkOuter != NULL)
            return CLASS_E_NOAGGREGATION;
        IUnknown* pUnknown = m_entry.pfnCreate();
        if (pUnknown == NULL)
            return E_OUTOFMEMORY;
        HRESULT hr = pUnknown->QueryInterface(riid, ppv);
        pUnknown->Release();
        return hr;
    }
    STDMETHOD(LockServer)(BOOL fLock) override
    {
        if (fLock)
            InterlockedIncrement(&g_nLocks);
        else if (g_nLocks > 0)
            InterlockedDecrement(&g_nLocks);
        return S_OK;
    }

private:
    LONG m_nRef = 1;
    const ClassEntry& m_entry;
};

std::string ClassIdText(REFCLSID clsid)
{
    LPOLESTR lpsz = NULL;
    if (FAILED(StringFromCLSID(clsid, &lpsz)))
        return std::string();
    char szText[64] = "";
    WideCharToMultiByte(CP_ACP, 0, lpsz, -1, szText, sizeof(szText), NULL, NULL);
    CoTaskMemFree(lpsz);
    return szText;
}

std::string ClassKey(REFCLSID clsid) { return "Software\\Classes\\CLSID\\" + ClassIdText(clsid); }

bool SetValue(const std::string& strKey, const char* pszName, const std::string& strValue)
{
    HKEY hKey;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, strKey.c_str(), 0, NULL, 0, KEY_WRITE, NULL, &hKey, NULL) != ERROR_SUCCESS)
        return false;
    LONG lResult = RegSetValueExA(hKey, pszName, 0, REG_SZ, (const BYTE*)strValue.c_str(), (DWORD)strValue.size() + 1);
    RegCloseKey(hKey);
    return lResult == ERROR_SUCCESS;
}

} // namespace

BOOL ModuleMain(HINSTANCE hInstance, DWORD dwReason, const ClassEntry* pEntries, int nEntries)
{
    if (dwReason == DLL_PROCESS_ATTACH) {
        g_hModule = hInstance;
        DisableThreadLibraryCalls(hInstance);
        for (int i = 0; i < nEntries; i++)
            if (!CQzControl::RegisterWindowClass(hInstance, pEntries[i].pszWindowClass))
                return FALSE;
    } else if (dwReason == DLL_PROCESS_DETACH) {
        for (int i = 0; i < nEntries; i++)
            CQzControl::UnregisterWindowClass(hInstance, pEntries[i].pszWindowClass);
    }
    return TRUE;
}

HRESULT ModuleGetClassObject(const ClassEntry* pEntries, int nEntries, REFCLSID rclsid, REFIID riid, void** ppv)
{
    if (ppv == NULL)
        return E_POINTER;
    *ppv = NULL;
    for (int i = 0; i < nEntries; i++) {
        if (IsEqualCLSID(rclsid, *pEntries[i].pClsid)) {
            CFactory* pFactory = new CFactory(pEntries[i]);
            HRESULT hr = pFactory->QueryInterface(riid, ppv);
            pFactory->Release();
            return hr;
        }
    }
    return CLASS_E_CLASSNOTAVAILABLE;
}

HRESULT ModuleCanUnloadNow()
{
    return CQzControl::LiveObjects() == 0 && g_nLocks == 0 ? S_OK : S_FALSE;
}

HRESULT ModuleRegister(const ClassEntry* pEntries, int nEntries)
{
    char szPath[MAX_PATH];
    DWORD cch = GetModuleFileNameA(g_hModule, szPath, MAX_PATH);
    if (cch == 0 || cch >= MAX_PATH)
        return SELFREG_E_CLASS;
    for (int i = 0; i < nEntries; i++) {
        std::string strKey = ClassKey(*pEntries[i].pClsid);
        bool bOk = SetValue(strKey, NULL, pEntries[i].pszName) && SetValue(strKey + "\\InprocServer32", NULL, szPath) &&
                   SetValue(strKey + "\\InprocServer32", "ThreadingModel", "Apartment") &&
                   SetValue(strKey + "\\Control", NULL, "");
        if (!bOk) {
            ModuleUnregister(pEntries, nEntries);
            return SELFREG_E_CLASS;
        }
    }
    return S_OK;
}

HRESULT ModuleUnregister(const ClassEntry* pEntries, int nEntries)
{
    HRESULT hr = S_OK;
    for (int i = 0; i < nEntries; i++) {
        LONG lResult = RegDeleteTreeA(HKEY_LOCAL_MACHINE, ClassKey(*pEntries[i].pClsid).c_str());
        if (lResult != ERROR_SUCCESS && lResult != ERROR_FILE_NOT_FOUND)
            hr = SELFREG_E_CLASS;
    }
    return hr;
}

} // namespace qz
