// Helpers of the OLE tests: OLE for the test program, VARIANTs in C++ and raw IDispatch calls.
#pragma once

#include <afxole.h>

#include <string>
#include <vector>

namespace afxtest {

// A VARIANT that clears itself.
class Var {
public:
    Var() { VariantInit(&v); }
    Var(const Var& other)
    {
        VariantInit(&v);
        Copy(other);
    }
    ~Var() { VariantClear(&v); }
    Var& operator=(const Var& other)
    {
        if (this != &other)
            Copy(other);
        return *this;
    }
    // A VT_BSTR without a string stays one (the system's VariantCopy may make it empty).
    void Copy(const Var& other)
    {
        VariantClear(&v);
        if (other.v.vt == VT_BSTR && other.v.bstrVal == NULL)
            v = other.v;
        else
            VariantCopy(&v, const_cast<VARIANT*>(&other.v));
    }
    static Var I2(short n);
    static Var I4(long n);
    static Var R4(float f);
    static Var R8(double d);
    static Var Date(double d);
    static Var Bool(bool b);
    static Var Str(const wchar_t* psz); // NULL: a VT_BSTR without a string
    static Var Ansi(const char* psz);   // from the program's code page
    static Var Ref(VARTYPE vt, void* p); // VT_BYREF | vt
    VARIANT v;
};

// The text of a BSTR in the ANSI code page.
std::string Ansi(BSTR bstr);

struct CallResult {
    HRESULT hr;
    Var result;
    EXCEPINFO excepInfo;
    UINT nArgErr;
    std::string Description() const { return Ansi(excepInfo.bstrDescription); }
    std::string Source() const { return Ansi(excepInfo.bstrSource); }
    CallResult();
    CallResult(const CallResult&) = delete;
    ~CallResult();
};

// IDispatch::Invoke with the arguments in declaration order; a put passes its last argument as
// the named value. bWantResult FALSE passes no result VARIANT.
void Call(CallResult& r, IDispatch* pDispatch, DISPID dispid, WORD wFlags, const std::vector<Var>& args = {},
          BOOL bWantResult = TRUE);

// The DISPID of a name (DISPID_UNKNOWN and the HRESULT when it has none).
DISPID IdOf(IDispatch* pDispatch, const wchar_t* pszName, HRESULT* phr = NULL);

// Writes the HKEY_CLASSES_ROOT default value of a key, reads it ("" and FALSE when missing).
BOOL ReadClassesValue(const std::string& strKey, std::string* pValue, const char* pszName = NULL);

// Answers every message of the thread's queue until it is empty.
void PumpMessages();
// Answers the thread's messages until the queue is empty; TRUE when a quit message was among
// them (it is taken out).
BOOL QuitPosted();

} // namespace afxtest
