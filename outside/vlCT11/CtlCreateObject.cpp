// Objects of the library by class id.
#include "vlCT11.h"

#include <new>

#include "ProgressObject.h"

VLCT11_API HRESULT WINAPI CtlCreateObject(REFCLSID clsid, void** out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (IsEqualCLSID(clsid, CLSID_CtlProgress)) {
        ProgressObject* object = new (std::nothrow) ProgressObject();
        if (!object)
            return E_OUTOFMEMORY;
        *out = static_cast<ICtlProgress*>(object);
        return S_OK;
    }
    return CLASS_E_CLASSNOTAVAILABLE;
}
