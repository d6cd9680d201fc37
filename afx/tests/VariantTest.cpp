// COleVariant and the compiler-support string classes _bstr_t and _variant_t.
#include <afxcoll.h>
#include <afxdisp.h>
#include <comdef.h>
#include <gtest/gtest.h>

TEST(OleVariant, ConstructorsSetTypeAndValue)
{
    EXPECT_EQ(VT_EMPTY, COleVariant().vt);
    EXPECT_EQ(VT_UI1, COleVariant((BYTE)7).vt);
    EXPECT_EQ(VT_I2, COleVariant((short)7).vt);
    EXPECT_EQ(VT_I4, COleVariant(7L).vt);
    EXPECT_EQ(VT_R4, COleVariant(1.5f).vt);
    EXPECT_EQ(VT_R8, COleVariant(1.5).vt);
    EXPECT_EQ(VT_DATE, COleVariant(COleDateTime(2000, 1, 1, 0, 0, 0)).vt);

    COleVariant error(DISP_E_PARAMNOTFOUND, VT_ERROR);
    EXPECT_EQ(VT_ERROR, error.vt);
    EXPECT_EQ(DISP_E_PARAMNOTFOUND, error.scode);

    COleVariant yes((short)5, VT_BOOL);
    EXPECT_EQ(VT_BOOL, yes.vt);
    EXPECT_EQ(VARIANT_TRUE, V_BOOL(&yes));

    COleVariant text("Grüße");
    ASSERT_EQ(VT_BSTR, text.vt);
    EXPECT_EQ(0, wcscmp(L"Grüße", text.bstrVal));
    COleVariant fromCString(CString("Öl"));
    EXPECT_EQ(0, wcscmp(L"Öl", fromCString.bstrVal));
}

TEST(OleVariant, AssignmentKeepsBoolAndErrorTypes)
{
    COleVariant v((short)0, VT_BOOL);
    v = (short)3;
    EXPECT_EQ(VT_BOOL, v.vt);
    EXPECT_EQ(VARIANT_TRUE, V_BOOL(&v));
    v = 3.5;
    EXPECT_EQ(VT_R8, v.vt);
    v = (short)3;
    EXPECT_EQ(VT_I2, v.vt);
    v = 9L;
    EXPECT_EQ(VT_I4, v.vt);
    EXPECT_EQ(9, v.lVal);
    v = "Text";
    EXPECT_EQ(VT_BSTR, v.vt);
}

TEST(OleVariant, CopiesAreDeep)
{
    COleVariant original("Original");
    COleVariant copy(original);
    EXPECT_NE(original.bstrVal, copy.bstrVal);
    EXPECT_TRUE(copy == original);
    copy = "anders";
    EXPECT_EQ(0, wcscmp(L"Original", original.bstrVal));
    EXPECT_FALSE(copy == original);
    EXPECT_FALSE(COleVariant(1L) == COleVariant((short)1)); // the types differ
}

TEST(OleVariant, ChangeType)
{
    COleVariant v(42L);
    v.ChangeType(VT_BSTR);
    ASSERT_EQ(VT_BSTR, v.vt);
    EXPECT_EQ(0, wcscmp(L"42", v.bstrVal));

    COleVariant text("kein Zahl");
    SCODE sc = S_OK;
    try {
        text.ChangeType(VT_I4);
    } catch (COleException* e) {
        sc = e->m_sc;
        e->Delete();
    }
    EXPECT_EQ(DISP_E_TYPEMISMATCH, sc);
}

TEST(OleVariant, ByteArrays)
{
    CByteArray bytes;
    for (int i = 0; i < 300; ++i)
        bytes.Add((BYTE)i);
    COleVariant v(bytes);
    EXPECT_EQ(VT_ARRAY | VT_UI1, v.vt);
    EXPECT_EQ(1u, SafeArrayGetDim(v.parray));

    CByteArray back;
    v.GetByteArrayFromVariantArray(back);
    ASSERT_EQ(300, back.GetSize());
    EXPECT_EQ(0, memcmp(bytes.GetData(), back.GetData(), 300));

    COleVariant notArray(1L);
    SCODE sc = S_OK;
    try {
        notArray.GetByteArrayFromVariantArray(back);
    } catch (COleException* e) {
        sc = e->m_sc;
        e->Delete();
    }
    EXPECT_EQ(DISP_E_TYPEMISMATCH, sc);
}

TEST(OleVariant, AttachAndDetach)
{
    VARIANT raw;
    VariantInit(&raw);
    raw.vt = VT_BSTR;
    raw.bstrVal = SysAllocString(L"übernommen");
    COleVariant v;
    v.Attach(raw);
    EXPECT_EQ(VT_EMPTY, raw.vt);
    EXPECT_EQ(0, wcscmp(L"übernommen", v.bstrVal));
    VARIANT detached = v.Detach();
    EXPECT_EQ(VT_EMPTY, v.vt);
    EXPECT_EQ(VT_BSTR, detached.vt);
    VariantClear(&detached);
}

TEST(ComSupport, BstrAndVariantConvertThroughTheAnsiCodePage)
{
    _bstr_t fromAnsi("Grüße");
    EXPECT_EQ(5u, fromAnsi.length());
    EXPECT_EQ(0, wcscmp(L"Grüße", (const wchar_t*)fromAnsi));

    _bstr_t fromWide(L"Öl und Ähre");
    EXPECT_STREQ("Öl und Ähre", (const char*)fromWide);

    _bstr_t joined = fromAnsi + " " + fromWide;
    EXPECT_STREQ("Grüße Öl und Ähre", (const char*)joined);

    _variant_t v("Termin");
    EXPECT_EQ(VT_BSTR, v.vt);
    EXPECT_EQ(0, wcscmp(L"Termin", v.bstrVal));
    _bstr_t fromVariant(v);
    EXPECT_STREQ("Termin", (const char*)fromVariant);

    _bstr_t empty((const char*)NULL);
    EXPECT_EQ(0u, empty.length());
}
