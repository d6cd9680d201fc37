// The control libraries' own entries in the registry: DllRegisterServer writes them where the
// system finds the class (HKLM\Software\Classes), CreateControl then works without the test's
// class objects, and DllUnregisterServer removes them again.
#include <gtest/gtest.h>

#include "QzTestSupport.h"
#include "TestKit.h"

using namespace qztest;

namespace {

int RegQuery(const char* pszClsid)
{
    return oxtest::RunProcess(std::string("reg query \"HKLM\\Software\\Classes\\CLSID\\") + pszClsid + "\\InprocServer32\"");
}

TEST(QzRegistrationTest, RegisteredClassesAreFoundAndUnregisteringRemovesThem)
{
    ASSERT_TRUE(ServeClasses()); // loads the libraries
    RevokeClasses();             // from here on only the registry serves them
    struct Lib {
        const char* pszDll;
        const char* pszClsid;
        const CLSID* pClsid;
    };
    const Lib libs[] = {{QZ_DEDIT_DLL, QZ_DEDIT_CLSID_TEXT, &CLSID_QzDEdit},
                        {QZ_MONTH_DLL, QZ_MONTH_CLSID_TEXT, &CLSID_QzMonth},
                        {QZ_MDAY_DLL, QZ_MDAY_CLSID_TEXT, &CLSID_QzMultiDay}};

    CQzHost host(IDD_QZ_PICKER);
    ASSERT_TRUE(ServeClasses());
    ASSERT_TRUE(host.Make());
    RevokeClasses();
    for (const Lib& lib : libs) {
        HMODULE hModule = Library(lib.pszDll);
        ASSERT_NE(nullptr, hModule);
        auto pfnRegister = (HRESULT(WINAPI*)())GetProcAddress(hModule, "DllRegisterServer");
        auto pfnUnregister = (HRESULT(WINAPI*)())GetProcAddress(hModule, "DllUnregisterServer");
        ASSERT_NE(nullptr, pfnRegister);
        ASSERT_NE(nullptr, pfnUnregister);

        CWnd unknown;
        EXPECT_FALSE(unknown.CreateControl(*lib.pClsid, "", WS_VISIBLE, CRect(0, 0, 100, 20), &host, 2000))
            << lib.pszDll << " is neither served nor registered";
        ASSERT_EQ(S_OK, pfnRegister());
        EXPECT_EQ(0, RegQuery(lib.pszClsid)) << "reg query finds " << lib.pszDll;
        CWnd ctl;
        ASSERT_TRUE(ctl.CreateControl(*lib.pClsid, "", WS_VISIBLE, CRect(0, 0, 100, 20), &host, 2000)) << lib.pszDll;
        if (lib.pClsid == &CLSID_QzDEdit) {
            EXPECT_EQ(QZ_DEDIT_MODE_DATE, GetShort(&ctl, QZ_DEDIT_MODE)) << "a field without a saved state shows a date";
        }
        ctl.DestroyWindow();

        ASSERT_EQ(S_OK, pfnUnregister());
        EXPECT_NE(0, RegQuery(lib.pszClsid)) << "the keys are gone";
        EXPECT_EQ(S_OK, pfnUnregister()) << "unregistering twice is no error";
        CWnd again;
        EXPECT_FALSE(again.CreateControl(*lib.pClsid, "", WS_VISIBLE, CRect(0, 0, 100, 20), &host, 2000));
    }
    host.DestroyWindow();
    Settle();
}

} // namespace
