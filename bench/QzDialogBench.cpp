// Opening a dialog with four date fields and two month calendars (qzdedit.dll, qzmonth.dll):
// creation of the dialog with its controls from the template, their saved states, first paint,
// and closing it again. Goal: under 300 ms to open.
#include <afxwin.h>
#include <afxdisp.h>

#include <stdio.h>

#include <algorithm>
#include <vector>

#include "BenchClock.h"
#include "QzTestResource.h"
#include "qzcontrols.h"

namespace {

const int kRuns = 9;

// The controls' classes served from their libraries without the registry.
bool Serve(const char* pszDll, REFCLSID clsid)
{
    HMODULE hModule = LoadLibraryA(pszDll);
    auto pfnGet = hModule != NULL ? (HRESULT(WINAPI*)(REFCLSID, REFIID, void**))GetProcAddress(hModule, "DllGetClassObject")
                                  : NULL;
    IUnknown* pFactory = NULL;
    if (pfnGet == NULL || FAILED(pfnGet(clsid, IID_IClassFactory, (void**)&pFactory)))
        return false;
    DWORD dwCookie = 0;
    HRESULT hr = CoRegisterClassObject(clsid, pFactory, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &dwCookie);
    pFactory->Release();
    return SUCCEEDED(hr);
}

} // namespace

int main()
{
    if (!AfxOleInit())
        return 1;
    AfxEnableControlContainer();
    if (!Serve(QZ_DEDIT_DLL, CLSID_QzDEdit) || !Serve(QZ_MONTH_DLL, CLSID_QzMonth)) {
        printf("the control libraries are missing\n");
        return 1;
    }
    std::vector<double> opens, closes;
    for (int i = 0; i < kRuns; i++) {
        CDialog dlg;
        double t0 = BenchNow();
        if (!dlg.Create(IDD_QZ_BENCH)) {
            printf("the dialog could not be made\n");
            return 1;
        }
        dlg.ShowWindow(SW_SHOW);
        dlg.UpdateWindow();
        dlg.RedrawWindow(NULL, NULL, RDW_UPDATENOW | RDW_ALLCHILDREN);
        double t1 = BenchNow();
        dlg.DestroyWindow();
        double t2 = BenchNow();
        opens.push_back((t1 - t0) * 1000);
        closes.push_back((t2 - t1) * 1000);
        MSG msg;
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
    }
    std::sort(opens.begin(), opens.end());
    std::sort(closes.begin(), closes.end());
    printf("dialog with 4 date fields and 2 calendars: open %.1f ms (median of %d, slowest %.1f ms, goal < 300 ms), "
           "close %.1f ms\n",
           opens[kRuns / 2], kRuns, opens.back(), closes[kRuns / 2]);
    AfxOleTerm(FALSE);
    return opens[kRuns / 2] < 300 ? 0 : 2;
}
