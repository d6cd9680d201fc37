// The progress object of CtlCreateObject, called through its vtable slots as callers do.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <oleauto.h>

#include "CtlLog.h"
#include "ProgressDialog.h"
#include "vlCT11.h"

namespace {

using oxtest::CtlLog;

// The caller's view: IUnknown's three operations, then slots 3 and 4.
using SetValueSlot = HRESULT(STDMETHODCALLTYPE*)(void* self, int reserved, VARIANT value);
using ShowSlot = HRESULT(STDMETHODCALLTYPE*)(void* self, HWND owner, int reserved, BSTR title, BSTR text, int mode);

void** Slots(void* object) { return *static_cast<void***>(object); }

HRESULT CallSetValue(void* object, VARIANT value)
{
    return reinterpret_cast<SetValueSlot>(Slots(object)[3])(object, 0, value);
}

HRESULT CallShow(void* object, const wchar_t* title, const wchar_t* text)
{
    BSTR t = SysAllocString(title);
    BSTR x = SysAllocString(text);
    HRESULT hr = reinterpret_cast<ShowSlot>(Slots(object)[4])(object, nullptr, 0, t, x, 2);
    SysFreeString(t);
    SysFreeString(x);
    return hr;
}

VARIANT Int4(int value)
{
    VARIANT v;
    VariantInit(&v);
    V_VT(&v) = VT_I4;
    V_I4(&v) = value;
    return v;
}

HWND FindThreadWindow(const char* caption)
{
    struct Search {
        const char* caption;
        HWND found;
    } search{caption, nullptr};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND hwnd, LPARAM lParam) -> BOOL {
            Search* s = reinterpret_cast<Search*>(lParam);
            char text[256] = "";
            GetWindowTextA(hwnd, text, sizeof text);
            if (std::string(text) != s->caption)
                return TRUE;
            s->found = hwnd;
            return FALSE;
        },
        (LPARAM)&search);
    return search.found;
}

int BarPosition(HWND window)
{
    return (int)SendDlgItemMessageA(window, ProgressDialog::kBarId, PBM_GETPOS, 0, 0);
}

TEST(CtlCreateObject, ProgressObjectShowsTitleTextAndValue)
{
    CtlLog log;
    void* object = nullptr;
    ASSERT_EQ(S_OK, CtlCreateObject(CLSID_CtlProgress, &object));
    ASSERT_NE(nullptr, object);

    EXPECT_EQ(S_OK, CallSetValue(object, Int4(0)));
    EXPECT_EQ(nullptr, FindThreadWindow("Anpassung")); // no window before Show
    EXPECT_EQ(S_OK, CallShow(object, L"Anpassung", L"Die Struktur der Datenbank wird nun angepasst."));
    HWND window = FindThreadWindow("Anpassung");
    ASSERT_NE(nullptr, window);
    EXPECT_TRUE(IsWindowVisible(window));
    char text[256] = "";
    GetDlgItemTextA(window, ProgressDialog::kTextId, text, sizeof text);
    EXPECT_STREQ("Die Struktur der Datenbank wird nun angepasst.", text);
    EXPECT_EQ(0, BarPosition(window));
    EXPECT_EQ(nullptr, GetDlgItem(window, ProgressDialog::kAbortId));

    EXPECT_EQ(S_OK, CallSetValue(object, Int4(55)));
    EXPECT_EQ(55, BarPosition(window));
    VARIANT number;
    VariantInit(&number);
    V_VT(&number) = VT_BSTR;
    V_BSTR(&number) = SysAllocString(L"70");
    EXPECT_EQ(S_OK, CallSetValue(object, number));
    EXPECT_EQ(70, BarPosition(window));
    SysFreeString(V_BSTR(&number));
    V_BSTR(&number) = SysAllocString(L"viel");
    EXPECT_TRUE(FAILED(CallSetValue(object, number)));
    EXPECT_EQ(70, BarPosition(window));
    VariantClear(&number);

    EXPECT_EQ(0u, static_cast<IUnknown*>(object)->Release());
    EXPECT_FALSE(IsWindow(window));

    std::vector<CtlLog::Record> records = log.Records();
    ASSERT_EQ(4u, records.size());
    EXPECT_EQ((CtlLog::Record{"ProgressValue", "0"}), records[0]);
    EXPECT_EQ((CtlLog::Record{"ProgressShow", "Anpassung", "Die Struktur der Datenbank wird nun angepasst."}),
              records[1]);
    EXPECT_EQ((CtlLog::Record{"ProgressValue", "55"}), records[2]);
    EXPECT_EQ((CtlLog::Record{"ProgressValue", "70"}), records[3]);
}

TEST(CtlCreateObject, ValueBeforeShowAppearsWithTheWindow)
{
    CtlLog log;
    void* object = nullptr;
    ASSERT_EQ(S_OK, CtlCreateObject(CLSID_CtlProgress, &object));
    CallSetValue(object, Int4(30));
    CallShow(object, L"Vorher gesetzt", L"Text");
    HWND window = FindThreadWindow("Vorher gesetzt");
    ASSERT_NE(nullptr, window);
    EXPECT_EQ(30, BarPosition(window));
    CallShow(object, L"Neuer Titel", L"Neuer Text"); // a second Show updates the same window
    EXPECT_EQ(window, FindThreadWindow("Neuer Titel"));
    static_cast<IUnknown*>(object)->Release();
}

TEST(CtlCreateObject, ObjectCountsItsReferences)
{
    IUnknown* object = nullptr;
    ASSERT_EQ(S_OK, CtlCreateObject(CLSID_CtlProgress, reinterpret_cast<void**>(&object)));
    IUnknown* same = nullptr;
    EXPECT_EQ(S_OK, object->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&same)));
    EXPECT_EQ(object, same);
    void* other = &same;
    EXPECT_EQ(E_NOINTERFACE, object->QueryInterface(IID_IDispatch, &other));
    EXPECT_EQ(nullptr, other);
    EXPECT_EQ(1u, same->Release());
    EXPECT_EQ(0u, object->Release());
}

TEST(CtlCreateObject, OtherClassIdsGiveAnErrorAndNull)
{
    for (const CLSID* clsid : {&IID_IUnknown, &CLSID_NULL}) {
        void* object = &object;
        EXPECT_EQ(CLASS_E_CLASSNOTAVAILABLE, CtlCreateObject(*clsid, &object));
        EXPECT_EQ(nullptr, object);
    }
    EXPECT_EQ(E_POINTER, CtlCreateObject(CLSID_CtlProgress, nullptr));
}

} // namespace
