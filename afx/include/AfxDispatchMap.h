// Dispatch maps and interface maps of CCmdTarget classes (automation).
//
// A class with automation declares DECLARE_DISPATCH_MAP() and fills its map between
// BEGIN_DISPATCH_MAP(class, base) and END_DISPATCH_MAP() with
//   DISP_FUNCTION(class, "Name", Member, vtResult, VTS_... parameters)       a method
//   DISP_PROPERTY(class, "Name", m_member, vtType)                             a data member
//   DISP_PROPERTY_NOTIFY(class, "Name", m_member, OnChanged, vtType)           ... with a call after a set
//   DISP_PROPERTY_EX(class, "Name", GetX, SetX, vtType)                       get and set members
//   DISP_PROPERTY_PARAM(class, "Name", GetX, SetX, vtType, VTS_... indexes)   an indexed property
//   DISP_DEFVALUE(class, "Name")                                               the default member (DISPID_VALUE)
// Clients bind by name (GetIDsOfNames, names compared without regard to case). A member's
// DISPID is its 1-based position in its class's map in the low word and the number of classes
// between the object's class and that map's class in the high word (0 for the object's own
// class), so the members of the most derived class are numbered 1, 2, 3, ...
//
// The C++ types of the members must match the VARTYPEs and VTS_ strings; a mismatch does not
// compile. Parameters: VTS_I2 short, VTS_I4 long, VTS_R4 float, VTS_R8 double, VTS_CY CY,
// VTS_DATE DATE, VTS_BSTR LPCTSTR (ANSI; NULL when the caller passed a null string),
// VTS_WBSTR LPCOLESTR, VTS_DISPATCH LPDISPATCH, VTS_SCODE SCODE, VTS_BOOL BOOL, VTS_VARIANT
// const VARIANT& (or VARIANT*), VTS_UNKNOWN LPUNKNOWN, VTS_UI1 BYTE; by reference VTS_PI2
// short*, VTS_PI4 long*, VTS_PR4 float*, VTS_PR8 double*, VTS_PCY CY*, VTS_PDATE DATE*,
// VTS_PBSTR BSTR*, VTS_PDISPATCH LPDISPATCH*, VTS_PSCODE SCODE*, VTS_PBOOL VARIANT_BOOL*,
// VTS_PVARIANT VARIANT*, VTS_PUNKNOWN LPUNKNOWN*, VTS_PUI1 BYTE*. Results and property types:
// VT_EMPTY void, VT_I2 short, VT_I4 long, VT_R4 float, VT_R8 double, VT_CY CY, VT_DATE DATE,
// VT_BSTR BSTR (the member allocates it; a property setter takes LPCTSTR and a data member is
// a CString), VT_DISPATCH LPDISPATCH (returned with a reference for the caller), VT_ERROR
// SCODE, VT_BOOL BOOL, VT_VARIANT VARIANT (a setter takes const VARIANT&, a data member is a
// COleVariant), VT_UNKNOWN LPUNKNOWN, VT_UI1 BYTE.
//
// Arguments are converted to the declared types with VariantChangeType (a failure answers
// DISP_E_TYPEMISMATCH with the argument's index); a call with another number of arguments
// answers DISP_E_BADPARAMCOUNT; named arguments other than the value of a property put answer
// DISP_E_NONAMEDARGS. A member that throws COleDispatchException gives the caller
// DISP_E_EXCEPTION with the exception's code, text and source (the application's name when it
// has none); another CException gives DISP_E_EXCEPTION with its status code and text.
//
// Interface maps answer further IIDs: DECLARE_INTERFACE_MAP(), BEGIN_INTERFACE_MAP(class,
// base), INTERFACE_PART(class, IID, Dispatch) (the object's own IDispatch under another IID, as
// for a class's dispatch interface), END_INTERFACE_MAP().
#pragma once

#include "afxwin.h"

#include <ole2.h>
#include <oleauto.h>

#include "COleVariant.h"

#include <type_traits>
#include <utility>

// ---- parameter descriptions ---------------------------------------------------------------------
// One byte per parameter: its VARTYPE, VT_BSTRA for an ANSI string, 0x40 added for "by
// reference". VTS_NONE: no parameters.
#define VT_BSTRA 14
#define VT_MFCBYREF 0x40

#define VTS_I2 "\x02"
#define VTS_I4 "\x03"
#define VTS_R4 "\x04"
#define VTS_R8 "\x05"
#define VTS_CY "\x06"
#define VTS_DATE "\x07"
#define VTS_WBSTR "\x08"
#define VTS_DISPATCH "\x09"
#define VTS_SCODE "\x0A"
#define VTS_BOOL "\x0B"
#define VTS_VARIANT "\x0C"
#define VTS_UNKNOWN "\x0D"
#define VTS_BSTR "\x0E"
#define VTS_UI1 "\x11"
#define VTS_PI2 "\x42"
#define VTS_PI4 "\x43"
#define VTS_PR4 "\x44"
#define VTS_PR8 "\x45"
#define VTS_PCY "\x46"
#define VTS_PDATE "\x47"
#define VTS_PBSTR "\x48"
#define VTS_PDISPATCH "\x49"
#define VTS_PSCODE "\x4A"
#define VTS_PBOOL "\x4B"
#define VTS_PVARIANT "\x4C"
#define VTS_PUNKNOWN "\x4D"
#define VTS_PUI1 "\x51"
#define VTS_NONE NULL

// ---- one argument of a call -----------------------------------------------------------------------
// Filled by the library from the caller's VARIANT before a member is called.
struct AFX_DISPARG {
    VARIANT var;      // the value converted to the parameter's type (owned)
    void* pRef;       // by-reference and VARIANT parameters: what the member receives
    CString strText;  // the ANSI text of a VTS_BSTR parameter
    BOOL bNullText;   // VTS_BSTR: the caller passed no string at all
    VARIANT* pvarBack; // a VARIANT passed by reference whose value was converted: written back
};

// A member called for a dispatch entry: the arguments in declaration order and the result.
typedef void (*AFX_DISPTHUNK)(CCmdTarget* pTarget, AFX_DISPARG* pArgs, VARIANT* pvarResult);

// Kinds of dispatch entries.
#define AFX_DISP_METHOD 1
#define AFX_DISP_PROPERTY 2
#define AFX_DISP_DEFVALUE 3

struct AFX_DISPMAP_ENTRY {
    LPCTSTR lpszName;     // the name clients bind to
    long lDispID;         // DISPID_UNKNOWN: numbered by position; else this DISPID
    LPCSTR lpszParams;    // the parameters (methods) or indexes (properties), VTS_...
    VARTYPE vt;           // result (methods) or type (properties)
    UINT nKind;           // AFX_DISP_...
    AFX_DISPTHUNK pfnGet; // the method, or the property's get
    AFX_DISPTHUNK pfnSet; // the property's set (NULL: read only)
};

struct AFX_DISPMAP {
    const AFX_DISPMAP*(PASCAL* pfnGetBaseMap)();
    const AFX_DISPMAP_ENTRY* lpEntries;
};

// ---- compile-time checks of member types ------------------------------------------------------
namespace AfxDisp {

template <class T, class U> constexpr bool Is = std::is_same_v<T, U>;

// The C++ type of a parameter matches its VTS byte.
template <class T> constexpr bool ParamMatches(unsigned char b)
{
    switch (b) {
    case VT_I2: return Is<T, short>;
    case VT_I4: return Is<T, long>;
    case VT_R4: return Is<T, float>;
    case VT_R8: return Is<T, double>;
    case VT_CY: return Is<T, CY>;
    case VT_DATE: return Is<T, DATE>;
    case VT_BSTR: return Is<T, LPCOLESTR>;
    case VT_DISPATCH: return Is<T, LPDISPATCH>;
    case VT_ERROR: return Is<T, SCODE>;
    case VT_BOOL: return Is<T, BOOL>;
    case VT_VARIANT: return Is<T, const VARIANT&> || Is<T, VARIANT*>;
    case VT_UNKNOWN: return Is<T, LPUNKNOWN>;
    case VT_BSTRA: return Is<T, LPCSTR>;
    case VT_UI1: return Is<T, BYTE>;
    case VT_MFCBYREF | VT_I2: return Is<T, short*>;
    case VT_MFCBYREF | VT_I4: return Is<T, long*>;
    case VT_MFCBYREF | VT_R4: return Is<T, float*>;
    case VT_MFCBYREF | VT_R8: return Is<T, double*>;
    case VT_MFCBYREF | VT_CY: return Is<T, CY*>;
    case VT_MFCBYREF | VT_DATE: return Is<T, DATE*>;
    case VT_MFCBYREF | VT_BSTR: return Is<T, BSTR*>;
    case VT_MFCBYREF | VT_DISPATCH: return Is<T, LPDISPATCH*>;
    case VT_MFCBYREF | VT_ERROR: return Is<T, SCODE*>;
    case VT_MFCBYREF | VT_BOOL: return Is<T, VARIANT_BOOL*>;
    case VT_MFCBYREF | VT_VARIANT: return Is<T, VARIANT*>;
    case VT_MFCBYREF | VT_UNKNOWN: return Is<T, LPUNKNOWN*>;
    case VT_MFCBYREF | VT_UI1: return Is<T, BYTE*>;
    default: return false;
    }
}

// The C++ type of a result (or a property's get) matches its VARTYPE.
template <class T> constexpr bool ResultMatches(VARTYPE vt)
{
    switch (vt) {
    case VT_EMPTY: return Is<T, void>;
    case VT_I2: return Is<T, short>;
    case VT_I4: return Is<T, long>;
    case VT_R4: return Is<T, float>;
    case VT_R8: return Is<T, double>;
    case VT_CY: return Is<T, CY>;
    case VT_DATE: return Is<T, DATE>;
    case VT_BSTR: return Is<T, BSTR>;
    case VT_DISPATCH: return Is<T, LPDISPATCH>;
    case VT_ERROR: return Is<T, SCODE>;
    case VT_BOOL: return Is<T, BOOL>;
    case VT_VARIANT: return Is<T, VARIANT>;
    case VT_UNKNOWN: return Is<T, LPUNKNOWN>;
    case VT_UI1: return Is<T, BYTE>;
    default: return false;
    }
}

// The VTS byte of a property's value in a set.
constexpr unsigned char ValueParam(VARTYPE vt) { return vt == VT_BSTR ? (unsigned char)VT_BSTRA : (unsigned char)vt; }

constexpr int Length(const char* psz)
{
    int n = 0;
    while (psz != nullptr && psz[n] != 0)
        ++n;
    return n;
}

// The parameters A... match the VTS string, optionally followed by one value parameter.
template <class... A> constexpr bool ParamsMatch(const char* vts, int nValue, unsigned char bValue)
{
    const int n = Length(vts);
    if (n + nValue != (int)sizeof...(A))
        return false;
    int i = 0;
    bool ok = true;
    ((ok = ok && ParamMatches<A>(i < n ? (unsigned char)vts[i] : bValue), ++i), ...);
    return ok;
}

// ---- arguments to C++ values ----
template <class T> struct Arg;
#define AFX_DISP_ARG(T, expr)                                                                     \
    template <> struct Arg<T> {                                                                  \
        static T Get(AFX_DISPARG& a) { return expr; }                                            \
    };
AFX_DISP_ARG(short, a.var.iVal)
AFX_DISP_ARG(long, a.var.lVal)
AFX_DISP_ARG(float, a.var.fltVal)
AFX_DISP_ARG(double, a.var.dblVal)
AFX_DISP_ARG(CY, a.var.cyVal)
AFX_DISP_ARG(LPCOLESTR, a.var.bstrVal)
AFX_DISP_ARG(LPDISPATCH, a.var.pdispVal)
AFX_DISP_ARG(BOOL, a.var.boolVal != VARIANT_FALSE)
AFX_DISP_ARG(LPUNKNOWN, a.var.punkVal)
AFX_DISP_ARG(LPCSTR, a.bNullText ? (LPCSTR)NULL : (LPCSTR)a.strText)
AFX_DISP_ARG(BYTE, a.var.bVal)
AFX_DISP_ARG(const VARIANT&, *(const VARIANT*)a.pRef)
AFX_DISP_ARG(VARIANT*, (VARIANT*)a.pRef)
AFX_DISP_ARG(short*, (short*)a.pRef)
AFX_DISP_ARG(long*, (long*)a.pRef)
AFX_DISP_ARG(float*, (float*)a.pRef)
AFX_DISP_ARG(double*, (double*)a.pRef)
AFX_DISP_ARG(CY*, (CY*)a.pRef)
AFX_DISP_ARG(BSTR*, (BSTR*)a.pRef)
AFX_DISP_ARG(LPDISPATCH*, (LPDISPATCH*)a.pRef)
AFX_DISP_ARG(LPUNKNOWN*, (LPUNKNOWN*)a.pRef)
AFX_DISP_ARG(BYTE*, (BYTE*)a.pRef)
#undef AFX_DISP_ARG

// ---- C++ values to results ----
inline void Result(VARIANT* pv, short v) { pv->vt = VT_I2; pv->iVal = v; }
inline void Result(VARIANT* pv, long v) { pv->vt = VT_I4; pv->lVal = v; }
inline void Result(VARIANT* pv, float v) { pv->vt = VT_R4; pv->fltVal = v; }
inline void Result(VARIANT* pv, double v) { pv->vt = VT_R8; pv->dblVal = v; }
inline void Result(VARIANT* pv, CY v) { pv->vt = VT_CY; pv->cyVal = v; }
inline void Result(VARIANT* pv, BSTR v) { pv->vt = VT_BSTR; pv->bstrVal = v; }
inline void Result(VARIANT* pv, LPDISPATCH v) { pv->vt = VT_DISPATCH; pv->pdispVal = v; }
inline void Result(VARIANT* pv, BOOL v) { pv->vt = VT_BOOL; pv->boolVal = v ? VARIANT_TRUE : VARIANT_FALSE; }
inline void Result(VARIANT* pv, VARIANT v) { *pv = v; }
inline void Result(VARIANT* pv, LPUNKNOWN v) { pv->vt = VT_UNKNOWN; pv->punkVal = v; }
inline void Result(VARIANT* pv, BYTE v) { pv->vt = VT_UI1; pv->bVal = v; }

// ---- data members ----
void AFXAPI MemberGet(VARIANT* pv, const short& m);
void AFXAPI MemberGet(VARIANT* pv, const long& m);
void AFXAPI MemberGet(VARIANT* pv, const float& m);
void AFXAPI MemberGet(VARIANT* pv, const double& m);
void AFXAPI MemberGet(VARIANT* pv, const CY& m);
void AFXAPI MemberGet(VARIANT* pv, const BOOL& m);
void AFXAPI MemberGet(VARIANT* pv, const BYTE& m);
void AFXAPI MemberGet(VARIANT* pv, const CString& m);
void AFXAPI MemberGet(VARIANT* pv, const COleVariant& m);
void AFXAPI MemberGet(VARIANT* pv, const LPDISPATCH& m);
void AFXAPI MemberGet(VARIANT* pv, const LPUNKNOWN& m);
void AFXAPI MemberSet(short& m, AFX_DISPARG& a);
void AFXAPI MemberSet(long& m, AFX_DISPARG& a);
void AFXAPI MemberSet(float& m, AFX_DISPARG& a);
void AFXAPI MemberSet(double& m, AFX_DISPARG& a);
void AFXAPI MemberSet(CY& m, AFX_DISPARG& a);
void AFXAPI MemberSet(BOOL& m, AFX_DISPARG& a);
void AFXAPI MemberSet(BYTE& m, AFX_DISPARG& a);
void AFXAPI MemberSet(CString& m, AFX_DISPARG& a);
void AFXAPI MemberSet(COleVariant& m, AFX_DISPARG& a);
void AFXAPI MemberSet(LPDISPATCH& m, AFX_DISPARG& a);
void AFXAPI MemberSet(LPUNKNOWN& m, AFX_DISPARG& a);

// The C++ type of a data member matches the property's VARTYPE.
template <class T> constexpr bool MemberMatches(VARTYPE vt)
{
    switch (vt) {
    case VT_BSTR: return Is<T, CString>;
    case VT_VARIANT: return Is<T, COleVariant>;
    case VT_EMPTY: return false;
    default: return ResultMatches<T>(vt);
    }
}

// The VTS byte of a data member's value in a set.
constexpr unsigned char MemberValueParam(VARTYPE vt) { return ValueParam(vt); }

// ---- member functions ----
// A member function (const or not) of class C with result R and parameters A..., given as pfn
// (which is invoked on the object pThis, of type C* or const C*).
template <auto pfn, class R, class... A> struct MethodOf {
    template <class PThis, size_t... I>
    static void Call(PThis pThis, AFX_DISPARG* args, VARIANT* pv, std::index_sequence<I...>)
    {
        if constexpr (std::is_void_v<R>) {
            (pThis->*pfn)(Arg<A>::Get(args[I])...);
            (void)pv;
        } else {
            Result(pv, (pThis->*pfn)(Arg<A>::Get(args[I])...));
        }
        (void)args;
    }
    static constexpr bool Matches(VARTYPE vtResult, const char* vts, int nValue, unsigned char bValue)
    {
        return ResultMatches<R>(vtResult) && ParamsMatch<A...>(vts, nValue, bValue);
    }
};

template <auto pfn> struct Method;

template <class C, class R, class... A, R (C::*pfn)(A...)> struct Method<pfn> : MethodOf<pfn, R, A...> {
    typedef MethodOf<pfn, R, A...> Base;
    static void Thunk(CCmdTarget* p, AFX_DISPARG* args, VARIANT* pv)
    {
        Base::Call(static_cast<C*>(p), args, pv, std::index_sequence_for<A...>{});
    }
    // An event handler: void, or BOOL (FALSE: not handled).
    static BOOL Event(CCmdTarget* p, AFX_DISPARG* args)
    {
        if constexpr (std::is_void_v<R>) {
            Thunk(p, args, NULL);
            return TRUE;
        } else {
            static_assert(std::is_same_v<R, BOOL>, "event handlers answer void or BOOL");
            VARIANT v;
            v.vt = VT_EMPTY;
            Thunk(p, args, &v);
            return v.boolVal != VARIANT_FALSE;
        }
    }
    static constexpr bool EventMatches(const char* vts)
    {
        return (std::is_void_v<R> || std::is_same_v<R, BOOL>) && ParamsMatch<A...>(vts, 0, 0);
    }
};

template <class C, class R, class... A, R (C::*pfn)(A...) const> struct Method<pfn> : MethodOf<pfn, R, A...> {
    typedef MethodOf<pfn, R, A...> Base;
    static void Thunk(CCmdTarget* p, AFX_DISPARG* args, VARIANT* pv)
    {
        Base::Call(static_cast<const C*>(p), args, pv, std::index_sequence_for<A...>{});
    }
};

template <auto pm> struct Member;

template <class C, class T, T C::*pm> struct Member<pm> {
    static void Get(CCmdTarget* p, AFX_DISPARG*, VARIANT* pv) { MemberGet(pv, static_cast<C*>(p)->*pm); }
    static void Set(CCmdTarget* p, AFX_DISPARG* args, VARIANT*) { MemberSet(static_cast<C*>(p)->*pm, args[0]); }
    static constexpr bool Matches(VARTYPE vt) { return MemberMatches<T>(vt); }
};

template <auto pm, auto pfnNotify> struct MemberNotify {
    static void Set(CCmdTarget* p, AFX_DISPARG* args, VARIANT* pv)
    {
        Member<pm>::Set(p, args, pv);
        Method<pfnNotify>::Thunk(p, NULL, NULL);
    }
};

// Unusable entries stop the compilation here (the message names what does not match).
consteval void Require(bool bOk, const char* pszWhat)
{
    if (!bOk)
        throw pszWhat; // not a constant expression: the dispatch map entry does not compile
}

template <auto pfn> consteval AFX_DISPTHUNK MethodThunk(VARTYPE vtResult, const char* vts)
{
    Require(Method<pfn>::Matches(vtResult, vts, 0, 0), "the member's signature does not match its VT_ and VTS_ types");
    return &Method<pfn>::Thunk;
}

template <auto pfn> consteval AFX_DISPTHUNK GetThunk(VARTYPE vt, const char* vts)
{
    Require(Method<pfn>::Matches(vt, vts, 0, 0), "the get member's signature does not match the property type");
    return &Method<pfn>::Thunk;
}

template <auto pfn> consteval AFX_DISPTHUNK SetThunk(VARTYPE vt, const char* vts)
{
    Require(Method<pfn>::Matches(VT_EMPTY, vts, 1, ValueParam(vt)),
            "the set member's signature does not match the property type");
    return &Method<pfn>::Thunk;
}

template <auto pm> consteval AFX_DISPTHUNK MemberGetThunk(VARTYPE vt)
{
    Require(Member<pm>::Matches(vt), "the data member's type does not match the property type");
    return &Member<pm>::Get;
}

template <auto pm> consteval AFX_DISPTHUNK MemberSetThunk(VARTYPE vt)
{
    Require(Member<pm>::Matches(vt), "the data member's type does not match the property type");
    return &Member<pm>::Set;
}

template <auto pm, auto pfnNotify> consteval AFX_DISPTHUNK MemberNotifyThunk(VARTYPE vt)
{
    Require(Member<pm>::Matches(vt), "the data member's type does not match the property type");
    Require(Method<pfnNotify>::Matches(VT_EMPTY, nullptr, 0, 0), "the notification member must be void ()");
    return &MemberNotify<pm, pfnNotify>::Set;
}

} // namespace AfxDisp

// ---- dispatch map macros ---------------------------------------------------------------------------
#define DECLARE_DISPATCH_MAP()                                                                    \
protected:                                                                                       \
    static const AFX_DISPMAP* PASCAL GetThisDispatchMap();                                       \
    virtual const AFX_DISPMAP* GetDispatchMap() const;

#define BEGIN_DISPATCH_MAP(theClass, baseClass)                                                   \
    const AFX_DISPMAP* theClass::GetDispatchMap() const { return GetThisDispatchMap(); }         \
    const AFX_DISPMAP* PASCAL theClass::GetThisDispatchMap()                                      \
    {                                                                                             \
        typedef baseClass TheBaseClass;                                                          \
        static const AFX_DISPMAP_ENTRY _dispatchEntries[] = {

#define END_DISPATCH_MAP()                                                                        \
    {NULL, 0, NULL, VT_EMPTY, 0, NULL, NULL}                                                      \
    }                                                                                             \
    ;                                                                                             \
    static const AFX_DISPMAP dispatchMap = {&TheBaseClass::GetThisDispatchMap, &_dispatchEntries[0]}; \
    return &dispatchMap;                                                                          \
    }

#define DISP_FUNCTION(theClass, szExternalName, pfnMember, vtRetVal, vtsParams)                    \
    {szExternalName, DISPID_UNKNOWN, vtsParams, vtRetVal, AFX_DISP_METHOD,                      \
     AfxDisp::MethodThunk<&theClass::pfnMember>(vtRetVal, vtsParams), NULL},

#define DISP_PROPERTY(theClass, szExternalName, memberName, vtPropType)                           \
    {szExternalName, DISPID_UNKNOWN, NULL, vtPropType, AFX_DISP_PROPERTY,                       \
     AfxDisp::MemberGetThunk<&theClass::memberName>(vtPropType),                                 \
     AfxDisp::MemberSetThunk<&theClass::memberName>(vtPropType)},

#define DISP_PROPERTY_NOTIFY(theClass, szExternalName, memberName, pfnAfterSet, vtPropType)       \
    {szExternalName, DISPID_UNKNOWN, NULL, vtPropType, AFX_DISP_PROPERTY,                       \
     AfxDisp::MemberGetThunk<&theClass::memberName>(vtPropType),                                 \
     AfxDisp::MemberNotifyThunk<&theClass::memberName, &theClass::pfnAfterSet>(vtPropType)},

#define DISP_PROPERTY_EX(theClass, szExternalName, pfnGet, pfnSet, vtPropType)                    \
    {szExternalName, DISPID_UNKNOWN, NULL, vtPropType, AFX_DISP_PROPERTY,                       \
     AfxDisp::GetThunk<&theClass::pfnGet>(vtPropType, NULL),                                     \
     AfxDisp::SetThunk<&theClass::pfnSet>(vtPropType, NULL)},

#define DISP_PROPERTY_PARAM(theClass, szExternalName, pfnGet, pfnSet, vtPropType, vtsParams)      \
    {szExternalName, DISPID_UNKNOWN, vtsParams, vtPropType, AFX_DISP_PROPERTY,                  \
     AfxDisp::GetThunk<&theClass::pfnGet>(vtPropType, vtsParams),                                \
     AfxDisp::SetThunk<&theClass::pfnSet>(vtPropType, vtsParams)},

#define DISP_DEFVALUE(theClass, szExternalName)                                                   \
    {szExternalName, DISPID_VALUE, NULL, VT_EMPTY, AFX_DISP_DEFVALUE, NULL, NULL},

// ---- interface maps ---------------------------------------------------------------------------------
struct AFX_INTERFACEMAP_ENTRY {
    const IID* piid;                   // NULL ends the map
    LPUNKNOWN (*pfnGet)(CCmdTarget*); // the interface inside the object
};

struct AFX_INTERFACEMAP {
    const AFX_INTERFACEMAP*(PASCAL* pfnGetBaseMap)();
    const AFX_INTERFACEMAP_ENTRY* pEntry;
};

#define DECLARE_INTERFACE_MAP()                                                                   \
protected:                                                                                       \
    static const AFX_INTERFACEMAP* PASCAL GetThisInterfaceMap();                                 \
    virtual const AFX_INTERFACEMAP* GetInterfaceMap() const;

#define BEGIN_INTERFACE_MAP(theClass, theBase)                                                    \
    const AFX_INTERFACEMAP* theClass::GetInterfaceMap() const { return GetThisInterfaceMap(); }  \
    const AFX_INTERFACEMAP* PASCAL theClass::GetThisInterfaceMap()                                \
    {                                                                                             \
        typedef theBase TheBaseClass;                                                            \
        static const AFX_INTERFACEMAP_ENTRY _interfaceEntries[] = {

// localClass Dispatch names the object's own IDispatch (CCmdTarget::m_xDispatch).
#define INTERFACE_PART(theClass, iid, localClass)                                                 \
    {&iid, [](CCmdTarget* p) -> LPUNKNOWN { return reinterpret_cast<LPUNKNOWN>(&static_cast<theClass*>(p)->m_x##localClass); }},

#define END_INTERFACE_MAP()                                                                       \
    {NULL, NULL}                                                                                  \
    }                                                                                             \
    ;                                                                                             \
    static const AFX_INTERFACEMAP interfaceMap = {&TheBaseClass::GetThisInterfaceMap, &_interfaceEntries[0]}; \
    return &interfaceMap;                                                                         \
    }
