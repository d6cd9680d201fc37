// A stand-in control library for the class-object hook's test: copied beside the test program as
// qzdedit.dll, it serves any CLSID with one static class factory and counts the requests.
#include <windows.h>
#include <objbase.h>

namespace {

LONG g_nRequests = 0;

class StaticFactory : public IClassFactory {
public:
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
    {
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory)) {
            *ppv = this;
            return S_OK;
        }
        *ppv = NULL;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP CreateInstance(IUnknown*, REFIID, void** ppv) override
    {
        *ppv = NULL;
        return E_NOTIMPL;
    }
    STDMETHODIMP LockServer(BOOL) override { return S_OK; }
};

StaticFactory g_factory;

} // namespace

extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID, REFIID riid, void** ppv)
{
    ::InterlockedIncrement(&g_nRequests);
    return g_factory.QueryInterface(riid, ppv);
}

extern "C" __declspec(dllexport) IClassFactory* HookServerFactory()
{
    return &g_factory;
}

extern "C" __declspec(dllexport) LONG HookServerRequests()
{
    return g_nRequests;
}
