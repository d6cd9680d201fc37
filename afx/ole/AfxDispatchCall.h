// The arguments of one call of a dispatch member or event handler, converted from the caller's
// DISPPARAMS to the member's declared types (VTS_ bytes), and what goes back to the caller.
#pragma once

#include "afxdisp.h"

#include <new>

class CDispatchArgs {
public:
    CDispatchArgs();
    ~CDispatchArgs();
    CDispatchArgs(const CDispatchArgs&) = delete;
    CDispatchArgs& operator=(const CDispatchArgs&) = delete;

    // Converts the positional arguments of pDispParams for the parameters lpszParams, followed by
    // one value parameter bValueParam when it is not 0 (the value of a property put, the first
    // argument in rgvarg). Answers S_OK, DISP_E_BADPARAMCOUNT when the number differs, or the
    // conversion's error (DISP_E_TYPEMISMATCH, DISP_E_OVERFLOW, ...) with *puArgErr the index of
    // the argument in rgvarg.
    HRESULT Prepare(LPCSTR lpszParams, BYTE bValueParam, const DISPPARAMS* pDispParams, UINT* puArgErr);
    AFX_DISPARG* GetArgs() { return m_pArgs; }
    // A VARIANT passed by reference whose value had to be converted receives the member's value
    // (in the member's type).
    void WriteBack();

private:
    static HRESULT PrepareOne(AFX_DISPARG& arg, BYTE bParam, VARIANT* pSrc);

    AFX_DISPARG* m_pArgs;
    UINT m_nArgs;
};

// The text of a BSTR in the program's ANSI code page (all of its length, not only up to a NUL).
CString AFXAPI AfxAnsiFromBstr(BSTR bstr);

// Sets the VARTYPE of a result that the member's C++ type cannot tell (VT_DATE is a double,
// VT_ERROR a long).
void AFXAPI AfxFixResultType(VARIANT* pvarResult, VARTYPE vt);

// Runs fn, turning an exception into an HRESULT: DISP_E_EXCEPTION with *pExcepInfo filled for
// library exceptions (bReport: reported to the user first, unless it is a CUserException),
// E_OUTOFMEMORY for std::bad_alloc, E_UNEXPECTED for any other.
template <class Fn> HRESULT AfxCallCatching(Fn fn, EXCEPINFO* pExcepInfo, BOOL bReport)
{
    try {
        fn();
        return S_OK;
    } catch (CException* e) {
        COleDispatchException::Process(pExcepInfo, e);
        if (bReport && !e->IsKindOf(RUNTIME_CLASS(CUserException)))
            e->ReportError();
        e->Delete();
        return DISP_E_EXCEPTION;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_UNEXPECTED;
    }
}
