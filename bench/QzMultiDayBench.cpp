// The day and week grid (qzmday2.dll) at 1000 x 700 pixels: 200 entries of a week loaded as the
// view loads them (eleven calls each, goal under 20 ms), then a full repaint of the week with
// those 200 items (goal under 30 ms).
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
const int kEntries = 200;
const long kMonday = 39452; // 07.01.2008

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

void PutItem(CWnd* pGrid, DISPID dispid, short nItem, const BYTE* parms, long nValue)
{
    pGrid->InvokeHelper(dispid, DISPATCH_PROPERTYPUT, VT_EMPTY, NULL, parms, nItem, nValue);
}

// One entry in the view's eleven calls.
void AddEntry(CWnd* pGrid, int i)
{
    static const BYTE addParms[] = VTS_I2 VTS_I2 VTS_I4 VTS_BSTR VTS_BSTR;
    static const BYTE boolParms[] = VTS_I2 VTS_BOOL;
    static const BYTE shortParms[] = VTS_I2 VTS_I2;
    static const BYTE longParms[] = VTS_I2 VTS_I4;
    static const BYTE textParms[] = VTS_I2 VTS_BSTR;
    short nStart = (short)(420 + (i * 37) % 660), nEnd = (short)(nStart + 30 + (i % 4) * 30);
    char szKey[16];
    snprintf(szKey, sizeof(szKey), "%010d", 5000 + i);
    short nItem = 0;
    pGrid->InvokeHelper(QZ_MDAY_ADDITEM, DISPATCH_METHOD, VT_I2, &nItem, addParms, nStart, nEnd, kMonday + i % 7,
                        "Besprechung Vertrieb", szKey);
    pGrid->InvokeHelper(QZ_MDAY_ITEMOPTION188, DISPATCH_PROPERTYPUT, VT_EMPTY, NULL, boolParms, nItem, TRUE);
    pGrid->InvokeHelper(QZ_MDAY_ITEMREMINDER, DISPATCH_PROPERTYPUT, VT_EMPTY, NULL, boolParms, nItem, i % 3 == 0);
    pGrid->InvokeHelper(QZ_MDAY_ITEMPRIVATE, DISPATCH_PROPERTYPUT, VT_EMPTY, NULL, boolParms, nItem, i % 5 == 0);
    pGrid->InvokeHelper(QZ_MDAY_ITEMHASLOCATION, DISPATCH_PROPERTYPUT, VT_EMPTY, NULL, boolParms, nItem, TRUE);
    pGrid->InvokeHelper(QZ_MDAY_ITEMSERIES, DISPATCH_PROPERTYPUT, VT_EMPTY, NULL, shortParms, nItem, (short)(i % 2));
    pGrid->InvokeHelper(QZ_MDAY_ITEMOPTION196, DISPATCH_PROPERTYPUT, VT_EMPTY, NULL, boolParms, nItem, i % 2 == 1);
    pGrid->InvokeHelper(QZ_MDAY_ITEMLOCATION, DISPATCH_PROPERTYPUT, VT_EMPTY, NULL, textParms, nItem, "Raum 2");
    PutItem(pGrid, QZ_MDAY_ITEMCOLOR, nItem, longParms, RGB(0x2F, 0x62, 0xB8));
    if (i % 11 == 0) {
        pGrid->InvokeHelper(QZ_MDAY_ITEMOPTION189, DISPATCH_PROPERTYPUT, VT_EMPTY, NULL, boolParms, nItem, TRUE);
        pGrid->InvokeHelper(QZ_MDAY_ITEMOPTION188, DISPATCH_PROPERTYPUT, VT_EMPTY, NULL, boolParms, nItem, TRUE);
        pGrid->InvokeHelper(QZ_MDAY_ITEMOPTION196, DISPATCH_PROPERTYPUT, VT_EMPTY, NULL, boolParms, nItem, TRUE);
    }
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main()
{
    if (!AfxOleInit())
        return 1;
    AfxEnableControlContainer();
    if (!Serve(QZ_MDAY_DLL, CLSID_QzMultiDay)) {
        printf("the control library is missing\n");
        return 1;
    }
    CDialog dlg;
    if (!dlg.Create(IDD_QZ_MULTIDAY)) {
        printf("the dialog could not be made\n");
        return 1;
    }
    CWnd* pGrid = dlg.GetDlgItem(IDC_QZ_MDAY);
    dlg.SetWindowPos(NULL, 0, 0, 1010, 740, SWP_NOZORDER);
    pGrid->SetWindowPos(NULL, 0, 0, 1000, 700, SWP_NOZORDER);
    dlg.ShowWindow(SW_SHOW);
    pGrid->SetProperty(QZ_MDAY_DAYCOUNT, VT_I2, 7);
    pGrid->SetProperty(QZ_MDAY_STARTDATE, VT_I4, kMonday);
    pGrid->SetProperty(QZ_MDAY_TOPMINUTE, VT_I2, 420);
    pGrid->SetProperty(QZ_MDAY_WEEKCAPTION, VT_BSTR, "KW 2");

    std::vector<double> loads, paints;
    for (int nRun = 0; nRun < kRuns; nRun++) {
        double t0 = BenchNow();
        pGrid->InvokeHelper(QZ_MDAY_CLEARITEMS, DISPATCH_METHOD, VT_EMPTY, NULL, NULL);
        for (int i = 0; i < kEntries; i++)
            AddEntry(pGrid, i);
        double t1 = BenchNow();
        pGrid->RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
        double t2 = BenchNow();
        loads.push_back((t1 - t0) * 1000);
        paints.push_back((t2 - t1) * 1000);
        MSG msg;
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
    }
    double nLoad = Median(loads), nPaint = Median(paints);
    printf("week grid: %d entries in 11 calls each %.1f ms (median of %d, goal < 20 ms); full repaint %.1f ms "
           "(goal < 30 ms)\n",
           kEntries, nLoad, kRuns, nPaint);
    dlg.DestroyWindow();
    AfxOleTerm(FALSE);
    return nLoad < 20 && nPaint < 30 ? 0 : 2;
}
