// COleDispatchDriver: every kind of argument through InvokeHelper's variable arguments, results
// stored as the caller asks, errors as exceptions, and the IDispatch's references; against an
// object of the library and against an automation object of the system (Scripting.Dictionary).
#include <gtest/gtest.h>

#include "OleTestSupport.h"

using afxtest::Var;

namespace {

int g_nDriverProbes = 0;

class CDriverProbe : public CCmdTarget {
public:
    CDriverProbe()
    {
        EnableAutomation();
        g_nDriverProbes++;
    }
    ~CDriverProbe()
    {
        if (m_pObject != NULL)
            m_pObject->Release();
        g_nDriverProbes--;
    }

    CString m_strText;
    BOOL m_bFlag = FALSE;
    LPDISPATCH m_pObject = NULL;

    // Every argument as text, to see what arrived.
    BSTR All(short i2, long i4, float r4, double r8, LPCTSTR lpsz, BOOL b, BYTE ui1, DATE date, LPCOLESTR wide,
             const VARIANT& var, CY cy, SCODE sc)
    {
        COleVariant varText;
        VariantChangeType(&varText, const_cast<VARIANT*>(&var), 0, VT_BSTR);
        CString strResult;
        strResult.Format("%d|%ld|%g|%g|%s|%d|%u|%g|%s|%u:%s|%I64d|%lx", i2, i4, (double)r4, r8,
                         lpsz != NULL ? lpsz : "<null>", b, ui1, date, (LPCTSTR)CString(wide), (unsigned)var.vt,
                         (LPCTSTR)CString(varText.vt == VT_BSTR ? varText.bstrVal : L""), (long long)cy.int64,
                         (unsigned long)sc);
        return strResult.AllocSysString();
    }
    void Change(short* pi2, long* pi4, BSTR* pbstr, VARIANT* pvar, VARIANT_BOOL* pb, double* pr8)
    {
        *pi2 += 1;
        *pi4 *= -1;
        SysFreeString(*pbstr);
        *pbstr = SysAllocString(L"neu");
        VariantClear(pvar);
        pvar->vt = VT_I4;
        pvar->lVal = 77;
        *pb = VARIANT_TRUE;
        *pr8 /= 2;
    }
    // A result of each kind, to be converted by the caller.
    VARIANT Give(long nKind)
    {
        VARIANT var;
        VariantInit(&var);
        switch (nKind) {
        case 0:
            var.vt = VT_BSTR;
            var.bstrVal = SysAllocString(L"12");
            break;
        case 1:
            var.vt = VT_I4;
            var.lVal = 1;
            break;
        case 2:
            var.vt = VT_DISPATCH;
            var.pdispVal = (new CDriverProbe)->GetIDispatch(FALSE);
            break;
        case 3:
            var.vt = VT_BSTR;
            var.bstrVal = SysAllocString(L"keine Zahl");
            break;
        default:
            break;
        }
        return var;
    }
    void Raise() { AfxThrowOleDispatchException(321, "Fehler im Objekt"); }

    DECLARE_DISPATCH_MAP()
};

BEGIN_DISPATCH_MAP(CDriverProbe, CCmdTarget)
DISP_FUNCTION(CDriverProbe, "All", All, VT_BSTR,
              VTS_I2 VTS_I4 VTS_R4 VTS_R8 VTS_BSTR VTS_BOOL VTS_UI1 VTS_DATE VTS_WBSTR VTS_VARIANT VTS_CY VTS_SCODE)
DISP_FUNCTION(CDriverProbe, "Change", Change, VT_EMPTY, VTS_PI2 VTS_PI4 VTS_PBSTR VTS_PVARIANT VTS_PBOOL VTS_PR8)
DISP_FUNCTION(CDriverProbe, "Give", Give, VT_VARIANT, VTS_I4)
DISP_FUNCTION(CDriverProbe, "Raise", Raise, VT_EMPTY, VTS_NONE)
DISP_PROPERTY(CDriverProbe, "Text", m_strText, VT_BSTR)
DISP_PROPERTY(CDriverProbe, "Flag", m_bFlag, VT_BOOL)
DISP_PROPERTY(CDriverProbe, "Object", m_pObject, VT_DISPATCH)
END_DISPATCH_MAP()

enum { ID_ALL = 1, ID_CHANGE, ID_GIVE, ID_RAISE, ID_TEXT, ID_FLAG, ID_OBJECT };

class DispatchDriverTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_pProbe = new CDriverProbe;
        m_driver.AttachDispatch(m_pProbe->GetIDispatch(FALSE));
    }
    void TearDown() override
    {
        m_driver.ReleaseDispatch();
        EXPECT_EQ(0, g_nDriverProbes);
    }
    CDriverProbe* m_pProbe = nullptr;
    COleDispatchDriver m_driver;
};

TEST_F(DispatchDriverTest, EveryKindOfArgumentArrivesAsPassed)
{
    static const BYTE parms[] =
        VTS_I2 VTS_I4 VTS_R4 VTS_R8 VTS_BSTR VTS_BOOL VTS_UI1 VTS_DATE VTS_WBSTR VTS_VARIANT VTS_CY VTS_SCODE;
    CY cy;
    cy.int64 = 1234567890123LL;
    Var var = Var::Ansi("Größe");
    CString strResult;
    m_driver.InvokeHelper(ID_ALL, DISPATCH_METHOD, VT_BSTR, &strResult, parms, (short)-5, 100000L, 1.5f, 2.25,
                          "Äpfel", TRUE, (BYTE)200, 45356.0, L"breit", &var.v, cy, (SCODE)E_FAIL);
    EXPECT_EQ(CString("-5|100000|1.5|2.25|Äpfel|1|200|45356|breit|8:Größe|1234567890123|80004005"), strResult);

    // a null string stays one
    m_driver.InvokeHelper(ID_ALL, DISPATCH_METHOD, VT_BSTR, &strResult, parms, (short)0, 0L, 0.0f, 0.0, (LPCSTR)NULL,
                          FALSE, (BYTE)0, 0.0, L"", &var.v, cy, (SCODE)0);
    EXPECT_EQ(0, strResult.Find("0|0|0|0|<null>|0|0|0||8:"));
}

TEST_F(DispatchDriverTest, ByReferenceArgumentsComeBackChanged)
{
    static const BYTE parms[] = VTS_PI2 VTS_PI4 VTS_PBSTR VTS_PVARIANT VTS_PBOOL VTS_PR8;
    short i2 = 9;
    long i4 = 30;
    BSTR bstr = SysAllocString(L"alt");
    Var var = Var::Ansi("alt");
    VARIANT_BOOL b = VARIANT_FALSE;
    double r8 = 5.0;
    m_driver.InvokeHelper(ID_CHANGE, DISPATCH_METHOD, VT_EMPTY, NULL, parms, &i2, &i4, &bstr, &var.v, &b, &r8);
    EXPECT_EQ(10, i2);
    EXPECT_EQ(-30, i4);
    EXPECT_EQ(std::string("neu"), afxtest::Ansi(bstr));
    EXPECT_EQ(VT_I4, var.v.vt);
    EXPECT_EQ(77, var.v.lVal);
    EXPECT_EQ(VARIANT_TRUE, b);
    EXPECT_DOUBLE_EQ(2.5, r8);
    SysFreeString(bstr);
}

TEST_F(DispatchDriverTest, ResultsAreStoredAsTheCallerAsks)
{
    static const BYTE parms[] = VTS_I4;
    long n = 0;
    m_driver.InvokeHelper(ID_GIVE, DISPATCH_METHOD, VT_I4, &n, parms, 0L);
    EXPECT_EQ(12, n) << "the text \"12\" as a number";
    short s = 0;
    m_driver.InvokeHelper(ID_GIVE, DISPATCH_METHOD, VT_I2, &s, parms, 0L);
    EXPECT_EQ(12, s);
    double d = 0;
    m_driver.InvokeHelper(ID_GIVE, DISPATCH_METHOD, VT_R8, &d, parms, 0L);
    EXPECT_DOUBLE_EQ(12.0, d);
    CString str;
    m_driver.InvokeHelper(ID_GIVE, DISPATCH_METHOD, VT_BSTR, &str, parms, 1L);
    EXPECT_EQ(CString("1"), str);
    BOOL b = FALSE;
    m_driver.InvokeHelper(ID_GIVE, DISPATCH_METHOD, VT_BOOL, &b, parms, 1L);
    EXPECT_EQ(TRUE, b) << "a BOOL is 1, not VARIANT_TRUE";
    VARIANT var;
    VariantInit(&var);
    m_driver.InvokeHelper(ID_GIVE, DISPATCH_METHOD, VT_VARIANT, &var, parms, 0L);
    EXPECT_EQ(VT_BSTR, var.vt) << "a VARIANT as it came";
    VariantClear(&var);

    LPDISPATCH pObject = NULL;
    m_driver.InvokeHelper(ID_GIVE, DISPATCH_METHOD, VT_DISPATCH, &pObject, parms, 2L);
    ASSERT_NE(nullptr, pObject);
    EXPECT_EQ(2, g_nDriverProbes) << "the returned object lives on its reference";
    pObject->Release();
    EXPECT_EQ(1, g_nDriverProbes);

    // A result that cannot be converted, and no result at all.
    try {
        m_driver.InvokeHelper(ID_GIVE, DISPATCH_METHOD, VT_I4, &n, parms, 3L);
        ADD_FAILURE() << "no exception";
    } catch (COleException* e) {
        EXPECT_EQ(DISP_E_TYPEMISMATCH, e->m_sc);
        e->Delete();
    }
    m_driver.InvokeHelper(ID_GIVE, DISPATCH_METHOD, VT_EMPTY, NULL, parms, 2L);
    EXPECT_EQ(1, g_nDriverProbes) << "an unwanted object result is released";
}

TEST_F(DispatchDriverTest, PropertiesAreSetWithTheirValueAsTheNamedArgument)
{
    m_driver.SetProperty(ID_TEXT, VT_BSTR, "Übergröße");
    EXPECT_EQ(CString("Übergröße"), m_pProbe->m_strText);
    CString str;
    m_driver.GetProperty(ID_TEXT, VT_BSTR, &str);
    EXPECT_EQ(CString("Übergröße"), str);

    m_driver.SetProperty(ID_FLAG, VT_BOOL, TRUE);
    EXPECT_EQ(TRUE, m_pProbe->m_bFlag);
    BOOL b = FALSE;
    m_driver.GetProperty(ID_FLAG, VT_BOOL, &b);
    EXPECT_EQ(TRUE, b);

    // an object is put by reference and kept by the property with a reference of its own
    CDriverProbe* pOther = new CDriverProbe;
    LPDISPATCH lpOther = pOther->GetIDispatch(FALSE);
    m_driver.SetProperty(ID_OBJECT, VT_DISPATCH, lpOther);
    EXPECT_EQ(lpOther, m_pProbe->m_pObject);
    EXPECT_EQ(2, pOther->m_dwRef);
    lpOther->Release();
    EXPECT_EQ(2, g_nDriverProbes) << "the property keeps it";
}

TEST_F(DispatchDriverTest, FailuresBecomeExceptionsWithTheServersInformation)
{
    CWinApp app("OX Treiber");
    try {
        m_driver.InvokeHelper(ID_RAISE, DISPATCH_METHOD, VT_EMPTY, NULL, NULL);
        ADD_FAILURE() << "no exception";
    } catch (COleDispatchException* e) {
        EXPECT_EQ(321, e->m_wCode);
        EXPECT_EQ(CString("Fehler im Objekt"), e->m_strDescription);
        EXPECT_EQ(CString("OX Treiber"), e->m_strSource);
        e->Delete();
    }
    struct Case {
        DISPID dispid;
        WORD wFlags;
        HRESULT sc;
    };
    const Case cases[] = {
        {99, DISPATCH_METHOD, DISP_E_MEMBERNOTFOUND},
        {ID_GIVE, DISPATCH_METHOD, DISP_E_BADPARAMCOUNT}, // its argument missing
        {ID_ALL, DISPATCH_PROPERTYPUT, DISP_E_MEMBERNOTFOUND},
    };
    for (const Case& c : cases) {
        try {
            m_driver.InvokeHelper(c.dispid, c.wFlags, VT_EMPTY, NULL, NULL);
            ADD_FAILURE() << c.dispid;
        } catch (COleException* e) {
            EXPECT_EQ(c.sc, e->m_sc) << c.dispid;
            e->Delete();
        }
    }
    COleDispatchDriver empty;
    try {
        empty.InvokeHelper(1, DISPATCH_METHOD, VT_EMPTY, NULL, NULL);
        ADD_FAILURE() << "a driver without an IDispatch";
    } catch (COleException* e) {
        e->Delete();
    }
}

TEST_F(DispatchDriverTest, TheIDispatchIsReleasedOnlyWhenTheDriverOwnsIt)
{
    LPDISPATCH lpDispatch = m_driver.m_lpDispatch;
    {
        COleDispatchDriver copy(m_driver);
        EXPECT_EQ(lpDispatch, copy.m_lpDispatch);
        EXPECT_EQ(2, m_pProbe->m_dwRef) << "a copy holds a reference of its own";
        COleDispatchDriver assigned;
        assigned = m_driver;
        EXPECT_EQ(3, m_pProbe->m_dwRef);
    }
    EXPECT_EQ(1, m_pProbe->m_dwRef);
    {
        COleDispatchDriver borrowed(lpDispatch, FALSE);
    }
    EXPECT_EQ(1, m_pProbe->m_dwRef) << "a borrowed IDispatch is not released";
    LPDISPATCH lpDetached = m_driver.DetachDispatch();
    EXPECT_EQ(lpDispatch, lpDetached);
    EXPECT_EQ(nullptr, m_driver.m_lpDispatch);
    EXPECT_EQ(1, m_pProbe->m_dwRef);
    m_driver.AttachDispatch(lpDetached, TRUE);
}

// An automation object that is not the library's: the driver's calls as any client makes them.
TEST(DispatchDriverSystem, DrivesTheSystemsDictionaryByName)
{
    COleDispatchDriver dict;
    COleException error;
    ASSERT_TRUE(dict.CreateDispatch("Scripting.Dictionary", &error)) << std::hex << error.m_sc;
    DISPID idAdd = afxtest::IdOf(dict.m_lpDispatch, L"Add");
    DISPID idCount = afxtest::IdOf(dict.m_lpDispatch, L"count");
    DISPID idItem = afxtest::IdOf(dict.m_lpDispatch, L"Item");
    DISPID idExists = afxtest::IdOf(dict.m_lpDispatch, L"Exists");
    ASSERT_NE(DISPID_UNKNOWN, idAdd);

    static const BYTE parmsAdd[] = VTS_VARIANT VTS_VARIANT;
    Var key = Var::Ansi("Schlüssel");
    Var item = Var::Ansi("Wert ä");
    dict.InvokeHelper(idAdd, DISPATCH_METHOD, VT_EMPTY, NULL, parmsAdd, &key.v, &item.v);
    Var key2 = Var::I4(2);
    Var item2 = Var::R8(2.5);
    dict.InvokeHelper(idAdd, DISPATCH_METHOD, VT_EMPTY, NULL, parmsAdd, &key2.v, &item2.v);
    long nCount = 0;
    dict.GetProperty(idCount, VT_I4, &nCount);
    EXPECT_EQ(2, nCount);

    static const BYTE parmsKey[] = VTS_VARIANT;
    CString strItem;
    dict.InvokeHelper(idItem, DISPATCH_PROPERTYGET, VT_BSTR, &strItem, parmsKey, &key.v);
    EXPECT_EQ(CString("Wert ä"), strItem);
    BOOL bExists = FALSE;
    dict.InvokeHelper(idExists, DISPATCH_METHOD, VT_BOOL, &bExists, parmsKey, &key2.v);
    EXPECT_EQ(TRUE, bExists);
    Var missing = Var::Ansi("fehlt");
    dict.InvokeHelper(idExists, DISPATCH_METHOD, VT_BOOL, &bExists, parmsKey, &missing.v);
    EXPECT_EQ(FALSE, bExists);
    // an indexed put names its value DISPID_PROPERTYPUT
    static const BYTE parmsPut[] = VTS_VARIANT VTS_BSTR;
    dict.InvokeHelper(idItem, DISPATCH_PROPERTYPUT, VT_EMPTY, NULL, parmsPut, &key2.v, "ersetzt");
    dict.InvokeHelper(idItem, DISPATCH_PROPERTYGET, VT_BSTR, &strItem, parmsKey, &key2.v);
    EXPECT_EQ(CString("ersetzt"), strItem);

    // the same key twice is the object's error
    try {
        dict.InvokeHelper(idAdd, DISPATCH_METHOD, VT_EMPTY, NULL, parmsAdd, &key.v, &item.v);
        ADD_FAILURE() << "a key added twice";
    } catch (COleException* e) {
        EXPECT_TRUE(FAILED(e->m_sc));
        e->Delete();
    } catch (COleDispatchException* e) {
        e->Delete();
    }

    COleDispatchDriver none;
    EXPECT_FALSE(none.CreateDispatch("OX.Keine.Klasse", &error));
    EXPECT_TRUE(FAILED(error.m_sc));
    EXPECT_EQ(nullptr, none.m_lpDispatch);
}

} // namespace
