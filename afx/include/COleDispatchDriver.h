// The client side of automation: calls the members of an IDispatch by DISPID with C++ values.
//
// InvokeHelper(dispid, wFlags, vtRet, pvRet, pbParamInfo, ...) passes the arguments described
// by pbParamInfo (VTS_... strings, see AfxDispatchMap.h: VTS_BSTR an LPCSTR, VTS_BOOL a BOOL,
// VTS_VARIANT a const VARIANT*, VTS_P... pointers to the caller's variables, which the member
// may change) and stores the result as vtRet into pvRet: VT_BSTR into a CString, VT_BOOL into a
// BOOL, VT_DISPATCH and VT_UNKNOWN as a pointer with the caller's reference, VT_VARIANT into a
// VARIANT (the caller clears it), the others into their C++ types; VT_EMPTY discards it. A
// property put (DISPATCH_PROPERTYPUT or ...PUTREF) names its value argument DISPID_PROPERTYPUT.
// A member that fails throws: COleDispatchException with the EXCEPINFO's code, text and source
// when it raised an error (DISP_E_EXCEPTION), else COleException with the HRESULT (also when the
// result cannot be converted to vtRet).
#pragma once

#include "afxwin.h"

#include <ole2.h>
#include <oleauto.h>

class COleException;

class COleDispatchDriver {
public:
    COleDispatchDriver();
    // Takes the reference of lpDispatch (released when bAutoRelease is set).
    explicit COleDispatchDriver(LPDISPATCH lpDispatch, BOOL bAutoRelease = TRUE);
    // Shares the other driver's IDispatch with a reference of its own.
    COleDispatchDriver(const COleDispatchDriver& dispatchSrc);
    ~COleDispatchDriver();

    // Creates the object (local server or in-process) and keeps its IDispatch; FALSE with
    // pError->m_sc set on failure.
    BOOL CreateDispatch(REFCLSID clsid, COleException* pError = NULL);
    // By ProgID or "{CLSID}" text.
    BOOL CreateDispatch(LPCTSTR lpszProgID, COleException* pError = NULL);

    void AttachDispatch(LPDISPATCH lpDispatch, BOOL bAutoRelease = TRUE);
    // Gives the IDispatch (and its reference) back without releasing it.
    LPDISPATCH DetachDispatch();
    // Releases the IDispatch (when bAutoRelease) and forgets it.
    void ReleaseDispatch();

    void AFX_CDECL InvokeHelper(DISPID dwDispID, WORD wFlags, VARTYPE vtRet, void* pvRet, const BYTE* pbParamInfo, ...);
    void InvokeHelperV(DISPID dwDispID, WORD wFlags, VARTYPE vtRet, void* pvRet, const BYTE* pbParamInfo,
                       va_list argList);
    void AFX_CDECL SetProperty(DISPID dwDispID, VARTYPE vtProp, ...);
    void SetPropertyV(DISPID dwDispID, VARTYPE vtProp, va_list argList);
    void GetProperty(DISPID dwDispID, VARTYPE vtProp, void* pvProp) const;

    const COleDispatchDriver& operator=(const COleDispatchDriver& dispatchSrc);
    operator LPDISPATCH() { return m_lpDispatch; }

    LPDISPATCH m_lpDispatch;
    BOOL m_bAutoRelease;
};
