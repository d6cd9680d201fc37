// Automation objects in-process, called through their raw IDispatch: binding by name and the
// DISPIDs of derived classes, properties and methods of every kind with the argument conversions,
// the errors a caller gets, exceptions turned into EXCEPINFO, by-reference arguments, the
// reference count and COM identity.
#include <gtest/gtest.h>

#include <new>

#include "MessageBoxProbe.h"
#include "OleTestSupport.h"

using afxtest::Call;
using afxtest::CallResult;
using afxtest::IdOf;
using afxtest::Var;

namespace {

// {2C9A4B71-55E0-4C8A-9B1D-0E6F7A8B9C01}
const IID IID_IProbe = {0x2c9a4b71, 0x55e0, 0x4c8a, {0x9b, 0x1d, 0x0e, 0x6f, 0x7a, 0x8b, 0x9c, 0x01}};
// {2C9A4B72-55E0-4C8A-9B1D-0E6F7A8B9C01}: answered by another object through GetInterfaceHook
const IID IID_IHooked = {0x2c9a4b72, 0x55e0, 0x4c8a, {0x9b, 0x1d, 0x0e, 0x6f, 0x7a, 0x8b, 0x9c, 0x01}};

int g_nLive = 0;

class CProbeBase : public CCmdTarget {
public:
    CProbeBase()
    {
        EnableAutomation();
        g_nLive++;
    }
    ~CProbeBase() { g_nLive--; }
    CString m_strBaseName = "Basis";
    long BaseCall() { return 7; }
    DECLARE_DISPATCH_MAP()
};

BEGIN_DISPATCH_MAP(CProbeBase, CCmdTarget)
DISP_PROPERTY(CProbeBase, "BaseName", m_strBaseName, VT_BSTR)
DISP_FUNCTION(CProbeBase, "BaseCall", BaseCall, VT_I4, VTS_NONE)
END_DISPATCH_MAP()

// A COM object of its own, counting its references.
class CHooked : public IUnknown {
public:
    STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override
    {
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IHooked)) {
            *ppv = this;
            AddRef();
            return S_OK;
        }
        *ppv = NULL;
        return E_NOINTERFACE;
    }
    STDMETHOD_(ULONG, AddRef)() override { return (ULONG)++m_nRef; }
    STDMETHOD_(ULONG, Release)() override { return (ULONG)--m_nRef; }
    long m_nRef = 1;
};

class CProbe : public CProbeBase {
public:
    short m_nShort = 0;
    CString m_strText;
    COleVariant m_varAny;
    long m_nWatched = 0;
    int m_nWatchCalls = 0;
    DATE m_dtDate = 0;
    BOOL m_bFlag = FALSE;
    CString m_cells[3][3];
    BOOL m_bLastExpected = -1;
    CHooked m_hooked;

    void OnWatched() { m_nWatchCalls++; }
    DATE GetDate() { return m_dtDate; }
    void SetDate(DATE dt) { m_dtDate = dt; }
    BOOL GetFlag() { return m_bFlag; }
    void SetFlag(BOOL b) { m_bFlag = b; }
    BSTR GetCell(short nRow, short nCol)
    {
        if (nRow < 0 || nRow > 2 || nCol < 0 || nCol > 2)
            AfxThrowOleDispatchException(99, "Zelle fehlt");
        return m_cells[nRow][nCol].AllocSysString();
    }
    void SetCell(short nRow, short nCol, LPCTSTR lpszValue)
    {
        if (nRow < 0 || nRow > 2 || nCol < 0 || nCol > 2)
            AfxThrowOleDispatchException(99, "Zelle fehlt");
        m_cells[nRow][nCol] = lpszValue;
    }
    double Sum(short a, long b, float c, double d) { return a + b + c + d; }
    BSTR Echo(LPCTSTR lpsz) { return CString(lpsz != NULL ? lpsz : "<null>").AllocSysString(); }
    void Swap(short* pnValue, BSTR* pbstr)
    {
        *pnValue = (short)(*pnValue * 10);
        SysFreeString(*pbstr);
        *pbstr = SysAllocString(L"getauscht");
    }
    void Raise(long nKind)
    {
        switch (nKind) {
        case 0:
            AfxThrowOleDispatchException(77, "Siebenundsiebzig");
        case 1: {
            COleDispatchException* e = new COleDispatchException("Verweigert", 0, 0);
            e->m_scError = E_ACCESSDENIED;
            e->m_strSource = "Probe";
            throw e;
        }
        case 2:
            AfxThrowMemoryException();
        case 3:
            throw std::bad_alloc();
        default:
            AfxThrowOleException(E_NOTIMPL);
        }
    }
    LPDISPATCH Child()
    {
        CProbe* pChild = new CProbe;
        return pChild->GetIDispatch(FALSE);
    }
    BOOL Expected()
    {
        m_bLastExpected = IsResultExpected();
        return m_bLastExpected;
    }
    VARIANT Variant(const VARIANT& var)
    {
        VARIANT result;
        VariantInit(&result);
        VariantCopy(&result, const_cast<VARIANT*>(&var));
        return result;
    }
    long Wide(LPCOLESTR lpsz) { return lpsz != NULL ? (long)wcslen(lpsz) : -1; }
    BYTE Next(BYTE b) { return (BYTE)(b + 1); }
    SCODE Code(SCODE sc) { return sc; }
    CY Twice(CY cy)
    {
        cy.int64 *= 2;
        return cy;
    }
    long Objects() { return g_nLive; }

protected:
    LPUNKNOWN GetInterfaceHook(const void* piid) override
    {
        return IsEqualIID(*(const IID*)piid, IID_IHooked) ? &m_hooked : NULL;
    }
    DECLARE_DISPATCH_MAP()
    DECLARE_INTERFACE_MAP()
};

BEGIN_DISPATCH_MAP(CProbe, CProbeBase)
DISP_PROPERTY(CProbe, "Short", m_nShort, VT_I2)
DISP_PROPERTY(CProbe, "Text", m_strText, VT_BSTR)
DISP_PROPERTY(CProbe, "Any", m_varAny, VT_VARIANT)
DISP_PROPERTY_NOTIFY(CProbe, "Watched", m_nWatched, OnWatched, VT_I4)
DISP_PROPERTY_EX(CProbe, "Date", GetDate, SetDate, VT_DATE)
DISP_PROPERTY_EX(CProbe, "Flag", GetFlag, SetFlag, VT_BOOL)
DISP_PROPERTY_PARAM(CProbe, "Cell", GetCell, SetCell, VT_BSTR, VTS_I2 VTS_I2)
DISP_FUNCTION(CProbe, "Sum", Sum, VT_R8, VTS_I2 VTS_I4 VTS_R4 VTS_R8)
DISP_FUNCTION(CProbe, "Echo", Echo, VT_BSTR, VTS_BSTR)
DISP_FUNCTION(CProbe, "Swap", Swap, VT_EMPTY, VTS_PI2 VTS_PBSTR)
DISP_FUNCTION(CProbe, "Raise", Raise, VT_EMPTY, VTS_I4)
DISP_FUNCTION(CProbe, "Child", Child, VT_DISPATCH, VTS_NONE)
DISP_FUNCTION(CProbe, "Expected", Expected, VT_BOOL, VTS_NONE)
DISP_FUNCTION(CProbe, "Variant", Variant, VT_VARIANT, VTS_VARIANT)
DISP_FUNCTION(CProbe, "Wide", Wide, VT_I4, VTS_WBSTR)
DISP_FUNCTION(CProbe, "Next", Next, VT_UI1, VTS_UI1)
DISP_FUNCTION(CProbe, "Code", Code, VT_ERROR, VTS_SCODE)
DISP_FUNCTION(CProbe, "Twice", Twice, VT_CY, VTS_CY)
DISP_FUNCTION(CProbe, "Objects", Objects, VT_I4, VTS_NONE)
DISP_DEFVALUE(CProbe, "Text")
END_DISPATCH_MAP()

BEGIN_INTERFACE_MAP(CProbe, CProbeBase)
INTERFACE_PART(CProbe, IID_IProbe, Dispatch)
END_INTERFACE_MAP()

// The positions of CProbe's map.
enum {
    ID_SHORT = 1,
    ID_TEXT,
    ID_ANY,
    ID_WATCHED,
    ID_DATE,
    ID_FLAG,
    ID_CELL,
    ID_SUM,
    ID_ECHO,
    ID_SWAP,
    ID_RAISE,
    ID_CHILD,
    ID_EXPECTED,
    ID_VARIANT,
    ID_WIDE,
    ID_NEXT,
    ID_CODE,
    ID_TWICE,
    ID_OBJECTS,
};

const WORD GET = DISPATCH_PROPERTYGET;
const WORD PUT = DISPATCH_PROPERTYPUT;
const WORD CALL = DISPATCH_METHOD;

class DispatchMapTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_pProbe = new CProbe;
        m_pDispatch = m_pProbe->GetIDispatch(FALSE); // the creation reference is the test's
        ASSERT_NE(nullptr, m_pDispatch);
    }
    void TearDown() override
    {
        if (m_pDispatch != NULL)
            m_pDispatch->Release();
        EXPECT_EQ(0, g_nLive) << "every object is gone with its last reference";
    }

    CProbe* m_pProbe = nullptr;
    IDispatch* m_pDispatch = nullptr;
};

TEST_F(DispatchMapTest, NamesBindWithoutRegardToCaseAndNumberTheMapsFromTheMostDerivedClass)
{
    struct Case {
        const wchar_t* pszName;
        DISPID dispid;
        HRESULT hr;
    };
    const Case cases[] = {
        {L"Short", ID_SHORT, S_OK},
        {L"sHoRt", ID_SHORT, S_OK},
        {L"TEXT", ID_TEXT, S_OK},
        {L"Objects", ID_OBJECTS, S_OK},
        // the base class's map: its position, the distance from the object's class above
        {L"basename", MAKELONG(1, 1), S_OK},
        {L"BaseCall", MAKELONG(2, 1), S_OK},
        {L"NoSuchMember", DISPID_UNKNOWN, DISP_E_UNKNOWNNAME},
        {L"Shor", DISPID_UNKNOWN, DISP_E_UNKNOWNNAME},
    };
    for (const Case& c : cases) {
        HRESULT hr;
        DISPID dispid = IdOf(m_pDispatch, c.pszName, &hr);
        EXPECT_EQ(c.hr, hr) << CString(c.pszName);
        EXPECT_EQ(c.dispid, dispid) << CString(c.pszName);
    }

    // The base class on its own numbers the same members from 1.
    CProbeBase* pBase = new CProbeBase;
    EXPECT_EQ(1, IdOf(pBase->GetIDispatch(FALSE), L"BaseName"));
    EXPECT_EQ(2, IdOf(pBase->GetIDispatch(FALSE), L"basecall"));
    pBase->GetIDispatch(FALSE)->Release();

    // Names of parameters are not known.
    LPOLESTR names[2] = {const_cast<LPOLESTR>(L"Sum"), const_cast<LPOLESTR>(L"a")};
    DISPID ids[2] = {0, 0};
    EXPECT_EQ(DISP_E_UNKNOWNNAME, m_pDispatch->GetIDsOfNames(IID_NULL, names, 2, 0, ids));
    EXPECT_EQ(ID_SUM, ids[0]);
    EXPECT_EQ(DISPID_UNKNOWN, ids[1]);

    UINT nTypeInfo = 99;
    EXPECT_EQ(S_OK, m_pDispatch->GetTypeInfoCount(&nTypeInfo));
    EXPECT_EQ(0u, nTypeInfo) << "no type library: clients bind by name";

    // Calls by the base class's DISPIDs reach the base class's members.
    CallResult r;
    Call(r, m_pDispatch, MAKELONG(2, 1), CALL);
    EXPECT_EQ(S_OK, r.hr);
    EXPECT_EQ(VT_I4, r.result.v.vt);
    EXPECT_EQ(7, r.result.v.lVal);
}

TEST_F(DispatchMapTest, PropertiesConvertWhatIsPutToTheirType)
{
    struct Case {
        DISPID dispid;
        Var put;
        VARTYPE vtGet;
        const char* pszGet; // the value read back, as text
    };
    const Case cases[] = {
        {ID_SHORT, Var::Ansi("42"), VT_I2, "42"},
        {ID_SHORT, Var::R8(3.6), VT_I2, "4"},
        {ID_SHORT, Var::Bool(true), VT_I2, "-1"},
        {ID_TEXT, Var::I4(12), VT_BSTR, "12"},
        {ID_TEXT, Var::Ansi("Grüße aus Köln"), VT_BSTR, "Grüße aus Köln"},
        {ID_TEXT, Var::Str(NULL), VT_BSTR, ""},
        {ID_ANY, Var::Ansi("beliebig"), VT_BSTR, "beliebig"},
        {ID_ANY, Var::R8(2.5), VT_R8, "2,5"},
        {ID_WATCHED, Var::I2(5), VT_I4, "5"},
        {ID_DATE, Var::R8(45356.5), VT_DATE, "05.03.2024 12:00:00"},
        {ID_FLAG, Var::I4(5), VT_BOOL, "-1"},
        {ID_FLAG, Var::Ansi("0"), VT_BOOL, "0"},
    };
    for (const Case& c : cases) {
        CallResult put;
        Call(put, m_pDispatch, c.dispid, PUT, {c.put}, FALSE);
        ASSERT_EQ(S_OK, put.hr) << c.dispid << " " << c.pszGet;
        CallResult get;
        Call(get, m_pDispatch, c.dispid, GET);
        ASSERT_EQ(S_OK, get.hr);
        EXPECT_EQ(c.vtGet, get.result.v.vt) << c.dispid << " " << c.pszGet;
        if (c.vtGet == VT_DATE) {
            EXPECT_EQ(CString(c.pszGet), COleDateTime(get.result.v.date).Format("%d.%m.%Y %H:%M:%S"));
            continue;
        }
        Var text;
        ASSERT_EQ(S_OK, VariantChangeType(&text.v, &get.result.v, 0, VT_BSTR));
        EXPECT_EQ(std::string(c.pszGet), afxtest::Ansi(text.v.bstrVal)) << c.dispid;
    }
    // PROPERTYPUTREF puts too; the notification runs after a put only
    CallResult r;
    Call(r, m_pDispatch, ID_WATCHED, DISPATCH_PROPERTYPUTREF, {Var::I4(9)}, FALSE);
    EXPECT_EQ(S_OK, r.hr);
    Call(r, m_pDispatch, ID_WATCHED, GET);
    EXPECT_EQ(9, r.result.v.lVal);
    EXPECT_EQ(2, m_pProbe->m_nWatchCalls);
}

TEST_F(DispatchMapTest, MethodsTakeTheirArgumentsInOrderAndScriptsMayCallGetsAsMethods)
{
    CallResult r;
    Call(r, m_pDispatch, ID_SUM, CALL, {Var::I2(1), Var::Ansi("20"), Var::R4(0.5f), Var::R8(0.25)});
    ASSERT_EQ(S_OK, r.hr);
    EXPECT_EQ(VT_R8, r.result.v.vt);
    EXPECT_DOUBLE_EQ(21.75, r.result.v.dblVal);

    struct Case {
        DISPID dispid;
        WORD wFlags;
        Var arg;
        const char* pszResult;
    };
    const Case cases[] = {
        {ID_ECHO, CALL, Var::Ansi("Maße"), "Maße"},
        {ID_ECHO, CALL, Var::Str(L""), ""},
        {ID_ECHO, CALL, Var::I4(-3), "-3"},
        {ID_ECHO, CALL | GET, Var::Ansi("VBScript"), "VBScript"},
        {ID_ECHO, GET, Var::Ansi("JScript"), "JScript"},
        {ID_WIDE, CALL, Var::Str(L"abcd"), "4"},
        {ID_NEXT, CALL, Var::I2(41), "42"},
        {ID_VARIANT, CALL, Var::I4(99), "99"},
    };
    for (const Case& c : cases) {
        Call(r, m_pDispatch, c.dispid, c.wFlags, {c.arg});
        ASSERT_EQ(S_OK, r.hr) << c.pszResult;
        Var text;
        ASSERT_EQ(S_OK, VariantChangeType(&text.v, &r.result.v, 0, VT_BSTR));
        EXPECT_EQ(std::string(c.pszResult), afxtest::Ansi(text.v.bstrVal));
    }
    // No string at all arrives as NULL, unlike an empty one.
    Call(r, m_pDispatch, ID_ECHO, CALL, {Var::Str(NULL)});
    ASSERT_EQ(S_OK, r.hr);
    EXPECT_EQ("<null>", afxtest::Ansi(r.result.v.bstrVal));
    Call(r, m_pDispatch, ID_CODE, CALL, {Var::I4(E_FAIL)});
    ASSERT_EQ(S_OK, r.hr);
    EXPECT_EQ(VT_ERROR, r.result.v.vt) << "an SCODE result is an error value";
    EXPECT_EQ(E_FAIL, r.result.v.scode);
    Call(r, m_pDispatch, ID_VARIANT, CALL, {Var::Date(2.0)});
    EXPECT_EQ(VT_DATE, r.result.v.vt) << "a VARIANT passes with its type";

    Var cy;
    cy.v.vt = VT_CY;
    cy.v.cyVal.int64 = 12345;
    Call(r, m_pDispatch, ID_TWICE, CALL, {cy});
    ASSERT_EQ(S_OK, r.hr);
    EXPECT_EQ(VT_CY, r.result.v.vt);
    EXPECT_EQ(24690, r.result.v.cyVal.int64);

    // The default member answers DISPID_VALUE.
    Call(r, m_pDispatch, ID_TEXT, PUT, {Var::Ansi("Standard")}, FALSE);
    Call(r, m_pDispatch, DISPID_VALUE, GET);
    ASSERT_EQ(S_OK, r.hr);
    EXPECT_EQ("Standard", afxtest::Ansi(r.result.v.bstrVal));
    Call(r, m_pDispatch, DISPID_VALUE, PUT, {Var::Ansi("Neu")}, FALSE);
    EXPECT_EQ(S_OK, r.hr);
    EXPECT_EQ(CString("Neu"), m_pProbe->m_strText);
}

TEST_F(DispatchMapTest, IndexedPropertiesTakeTheirIndexesBeforeTheValue)
{
    CallResult r;
    Call(r, m_pDispatch, ID_CELL, PUT, {Var::I2(1), Var::I2(2), Var::Ansi("Mitte rechts")}, FALSE);
    ASSERT_EQ(S_OK, r.hr);
    EXPECT_EQ(CString("Mitte rechts"), m_pProbe->m_cells[1][2]);
    Call(r, m_pDispatch, ID_CELL, GET, {Var::I2(1), Var::I2(2)});
    ASSERT_EQ(S_OK, r.hr);
    EXPECT_EQ("Mitte rechts", afxtest::Ansi(r.result.v.bstrVal));
    Call(r, m_pDispatch, ID_CELL, GET, {Var::I2(1)});
    EXPECT_EQ(DISP_E_BADPARAMCOUNT, r.hr) << "an index missing";
    Call(r, m_pDispatch, ID_CELL, GET, {Var::I2(5), Var::I2(0)});
    EXPECT_EQ(DISP_E_EXCEPTION, r.hr);
    EXPECT_EQ(99, r.excepInfo.wCode);
    EXPECT_EQ("Zelle fehlt", r.Description());
}

TEST_F(DispatchMapTest, CallsThatDoNotFitAnswerTheirErrors)
{
    Var bad = Var::Ansi("keine Zahl");
    struct Case {
        const char* pszWhat;
        DISPID dispid;
        WORD wFlags;
        std::vector<Var> args;
        HRESULT hr;
        UINT nArgErr; // index in rgvarg, (UINT)-1 when not set
    };
    const Case cases[] = {
        {"unknown DISPID", 99, CALL, {}, DISP_E_MEMBERNOTFOUND, (UINT)-1},
        {"a base map that is not there", MAKELONG(1, 5), GET, {}, DISP_E_MEMBERNOTFOUND, (UINT)-1},
        {"position 0 of a base map", MAKELONG(0, 1), GET, {}, DISP_E_MEMBERNOTFOUND, (UINT)-1},
        {"too few arguments", ID_SUM, CALL, {Var::I2(1), Var::I4(2), Var::R4(3)}, DISP_E_BADPARAMCOUNT, (UINT)-1},
        {"too many arguments",
         ID_SUM,
         CALL,
         {Var::I2(1), Var::I4(2), Var::R4(3), Var::R8(4), Var::R8(5)},
         DISP_E_BADPARAMCOUNT,
         (UINT)-1},
        {"second argument no number", ID_SUM, CALL, {Var::I2(1), bad, Var::R4(3), Var::R8(4)}, DISP_E_TYPEMISMATCH, 2},
        {"first argument no number", ID_SUM, CALL, {bad, Var::I4(1), Var::R4(3), Var::R8(4)}, DISP_E_TYPEMISMATCH, 3},
        {"a short too large", ID_SHORT, PUT, {Var::I4(70000)}, DISP_E_OVERFLOW, 0},
        {"a put of a method", ID_SUM, PUT, {Var::I2(1)}, DISP_E_MEMBERNOTFOUND, (UINT)-1},
        {"a get of a property with an argument", ID_SHORT, GET, {Var::I2(1)}, DISP_E_BADPARAMCOUNT, (UINT)-1},
        {"a put without a value", ID_SHORT, PUT, {}, DISP_E_BADPARAMCOUNT, (UINT)-1},
        {"no call kind", ID_SHORT, 0, {}, DISP_E_MEMBERNOTFOUND, (UINT)-1},
    };
    for (const Case& c : cases) {
        CallResult r;
        Call(r, m_pDispatch, c.dispid, c.wFlags, c.args);
        EXPECT_EQ(c.hr, r.hr) << c.pszWhat;
        EXPECT_EQ(c.nArgErr, r.nArgErr) << c.pszWhat;
    }

    // Named arguments other than the value of a put, and interfaces other than IID_NULL.
    VARIANT arg = Var::I2(1).v;
    DISPID named = 1;
    DISPPARAMS dp = {&arg, &named, 1, 1};
    VARIANT result;
    VariantInit(&result);
    EXPECT_EQ(DISP_E_NONAMEDARGS, m_pDispatch->Invoke(ID_ECHO, IID_NULL, 0, CALL, &dp, &result, NULL, NULL));
    DISPPARAMS none = {NULL, NULL, 0, 0};
    EXPECT_EQ(DISP_E_UNKNOWNINTERFACE, m_pDispatch->Invoke(ID_SHORT, IID_IProbe, 0, GET, &none, &result, NULL, NULL));
}

TEST_F(DispatchMapTest, ExceptionsOfMembersReachTheCallerAsErrorInformation)
{
    CWinApp app("OX Prüfling");
    struct Case {
        long nKind;
        HRESULT hr;
        WORD wCode;
        SCODE scode;
        const char* pszDescription;
        const char* pszSource;
    };
    const Case cases[] = {
        {0, DISP_E_EXCEPTION, 77, 0, "Siebenundsiebzig", "OX Prüfling"},
        {1, DISP_E_EXCEPTION, 0, E_ACCESSDENIED, "Verweigert", "Probe"},
        {2, DISP_E_EXCEPTION, 0, E_OUTOFMEMORY, "Nicht genügend Arbeitsspeicher.", "OX Prüfling"},
        {3, E_OUTOFMEMORY, 0, 0, "", ""},
        {4, DISP_E_EXCEPTION, 0, E_NOTIMPL, NULL, "OX Prüfling"},
    };
    afxtest::MessageBoxProbe boxes;
    for (const Case& c : cases) {
        CallResult r;
        Call(r, m_pDispatch, ID_RAISE, CALL, {Var::I4(c.nKind)});
        EXPECT_EQ(c.hr, r.hr) << c.nKind;
        EXPECT_EQ(c.wCode, r.excepInfo.wCode) << c.nKind;
        EXPECT_EQ(c.scode, r.excepInfo.scode) << c.nKind;
        if (c.pszDescription != NULL)
            EXPECT_EQ(std::string(c.pszDescription), r.Description()) << c.nKind;
        else
            EXPECT_FALSE(r.Description().empty()) << "the system's text of the status";
        EXPECT_EQ(std::string(c.pszSource), r.Source()) << c.nKind;
    }
    EXPECT_EQ(0, boxes.m_nCalls) << "the caller reports the error, the server shows nothing";
    // The caller passes no EXCEPINFO: the error code alone.
    VARIANT arg = Var::I4(0).v;
    DISPPARAMS dp = {&arg, NULL, 1, 0};
    EXPECT_EQ(DISP_E_EXCEPTION, m_pDispatch->Invoke(ID_RAISE, IID_NULL, 0, CALL, &dp, NULL, NULL, NULL));
}

TEST_F(DispatchMapTest, ByReferenceArgumentsReachTheCallersVariables)
{
    // The caller's own variables of the declared types: the member writes into them.
    short nValue = 4;
    BSTR bstr = SysAllocString(L"vorher");
    CallResult r;
    Call(r, m_pDispatch, ID_SWAP, CALL, {Var::Ref(VT_I2, &nValue), Var::Ref(VT_BSTR, &bstr)});
    ASSERT_EQ(S_OK, r.hr);
    EXPECT_EQ(40, nValue);
    EXPECT_EQ(std::string("getauscht"), afxtest::Ansi(bstr));

    // Script variables (VARIANTs by reference) of other types: converted for the member and
    // written back in the member's type.
    Var number = Var::I4(7);
    Var text = Var::I4(1);
    Call(r, m_pDispatch, ID_SWAP, CALL, {Var::Ref(VT_VARIANT, &number.v), Var::Ref(VT_VARIANT, &text.v)});
    ASSERT_EQ(S_OK, r.hr);
    EXPECT_EQ(VT_I2, number.v.vt);
    EXPECT_EQ(70, number.v.iVal);
    EXPECT_EQ(VT_BSTR, text.v.vt);
    EXPECT_EQ(std::string("getauscht"), afxtest::Ansi(text.v.bstrVal));

    // Values by value: the member works on a copy, the caller's values stay.
    Var byValue = Var::I2(3);
    Var textByValue = Var::Ansi("bleibt");
    Call(r, m_pDispatch, ID_SWAP, CALL, {byValue, textByValue});
    ASSERT_EQ(S_OK, r.hr);
    EXPECT_EQ(3, byValue.v.iVal);
    EXPECT_EQ(std::string("bleibt"), afxtest::Ansi(textByValue.v.bstrVal));

    // A script variable that cannot become the member's type.
    Var letters = Var::Ansi("abc");
    Call(r, m_pDispatch, ID_SWAP, CALL, {Var::Ref(VT_VARIANT, &letters.v), Var::Ref(VT_BSTR, &bstr)});
    EXPECT_EQ(DISP_E_TYPEMISMATCH, r.hr);
    EXPECT_EQ(1u, r.nArgErr);
    EXPECT_EQ(std::string("abc"), afxtest::Ansi(letters.v.bstrVal)) << "nothing written back after a failure";
    SysFreeString(bstr);
}

TEST_F(DispatchMapTest, ObjectsLiveAsLongAsTheirReferencesAndMembersSeeWhetherAResultIsWanted)
{
    EXPECT_EQ(1, m_pProbe->m_dwRef) << "the creation reference";
    m_pDispatch->AddRef();
    EXPECT_EQ(2, m_pProbe->m_dwRef);
    m_pDispatch->Release();

    // A returned object's only reference is the caller's.
    CallResult r;
    Call(r, m_pDispatch, ID_CHILD, CALL);
    ASSERT_EQ(S_OK, r.hr);
    ASSERT_EQ(VT_DISPATCH, r.result.v.vt);
    EXPECT_EQ(2, g_nLive);
    CCmdTarget* pChild = CCmdTarget::FromIDispatch(r.result.v.pdispVal);
    ASSERT_NE(nullptr, pChild);
    EXPECT_EQ(1, pChild->m_dwRef);
    VariantClear(&r.result.v);
    EXPECT_EQ(1, g_nLive) << "the child went with its last reference";
    // A caller that wants no result gets none, and the object is not kept.
    Call(r, m_pDispatch, ID_CHILD, CALL, {}, FALSE);
    EXPECT_EQ(S_OK, r.hr);
    EXPECT_EQ(1, g_nLive);

    Call(r, m_pDispatch, ID_EXPECTED, CALL, {}, TRUE);
    EXPECT_EQ(TRUE, m_pProbe->m_bLastExpected);
    Call(r, m_pDispatch, ID_EXPECTED, CALL, {}, FALSE);
    EXPECT_EQ(FALSE, m_pProbe->m_bLastExpected);
}

TEST_F(DispatchMapTest, InterfacesComeFromTheMapsTheHookAndTheAutomation)
{
    IUnknown* pUnknown = NULL;
    ASSERT_EQ(S_OK, m_pDispatch->QueryInterface(IID_IUnknown, (void**)&pUnknown));
    IDispatch* pDispatch = NULL;
    ASSERT_EQ(S_OK, m_pDispatch->QueryInterface(IID_IDispatch, (void**)&pDispatch));
    IDispatch* pProbe = NULL;
    ASSERT_EQ(S_OK, m_pDispatch->QueryInterface(IID_IProbe, (void**)&pProbe));
    EXPECT_EQ((void*)m_pDispatch, (void*)pUnknown) << "one identity";
    EXPECT_EQ(m_pDispatch, pDispatch);
    EXPECT_EQ(m_pDispatch, pProbe) << "the class's own dispatch interface is its IDispatch";
    EXPECT_EQ(4, m_pProbe->m_dwRef);
    pUnknown->Release();
    pDispatch->Release();
    pProbe->Release();

    // An interface of another object counts its own references.
    IUnknown* pHooked = NULL;
    ASSERT_EQ(S_OK, m_pDispatch->QueryInterface(IID_IHooked, (void**)&pHooked));
    EXPECT_EQ((IUnknown*)&m_pProbe->m_hooked, pHooked);
    EXPECT_EQ(2, m_pProbe->m_hooked.m_nRef);
    EXPECT_EQ(1, m_pProbe->m_dwRef);
    pHooked->Release();

    void* pNone = this;
    EXPECT_EQ(E_NOINTERFACE, m_pDispatch->QueryInterface(IID_IClassFactory, &pNone));
    EXPECT_EQ(nullptr, pNone);

    // Without EnableAutomation an object has no IDispatch.
    CCmdTarget plain;
    EXPECT_EQ(nullptr, plain.GetIDispatch(FALSE));
    EXPECT_EQ(nullptr, plain.GetInterface(&IID_IDispatch));
    EXPECT_EQ(nullptr, CCmdTarget::FromIDispatch(NULL));
    // an IDispatch of another implementation is not one of ours
    LPDISPATCH lpFont = NULL;
    FONTDESC fd = {sizeof(FONTDESC), const_cast<LPOLESTR>(L"Arial"), {{80000, 0}}, FW_NORMAL, ANSI_CHARSET, FALSE, FALSE, FALSE};
    ASSERT_EQ(S_OK, OleCreateFontIndirect(&fd, IID_IFontDisp, (void**)&lpFont));
    EXPECT_EQ(nullptr, CCmdTarget::FromIDispatch(lpFont));
    lpFont->Release();
    EXPECT_EQ(m_pProbe, CCmdTarget::FromIDispatch(m_pDispatch));
}

} // namespace
