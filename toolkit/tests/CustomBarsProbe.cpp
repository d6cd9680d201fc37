// Saves and loads the user-defined bars of a frame through the customize manager, for
// custom_bars_check.py, which reads the stored value with the system's registry tool.
//
//   toolkit_custom_bars_probe <key> save none      no user-defined bar: the value goes
//   toolkit_custom_bars_probe <key> save three     bars 0xE800 "Meine Leiste", 0xE801 (300
//                                                  characters), 0xE802 "Ansicht \xE4\xF6\xFC", plus a
//                                                  customizable bar 0xE803 that is not user-defined
//   toolkit_custom_bars_probe <key> load           a frame that has bar 0xE801 loads the value; prints
//                                                  "create <id> <title length> <title>" per hook call
//                                                  and "result <0|1>"
//
// The settings live below HKCU\Software\<key>\ToolkitProbe\BarStates3.
#include <afxwin.h>
#include <afxext.h>

#include "CTkCustomizeManager.h"

#include <stdio.h>
#include <string.h>

namespace {

class CProbeApp : public CWinApp {
public:
    CProbeApp() : CWinApp("ToolkitProbe") {}
};

struct ProbeBar {
    CToolBar bar;
    BYTE bCustom;
};

// The m_cbBars entry of one bar.
void TellBar(void* pObject, TK_CALLBACK* pRequester)
{
    ProbeBar* pBar = static_cast<ProbeBar*>(pObject);
    TK_BARINFO info;
    info.bCustom = pBar->bCustom;
    info.pBar = &pBar->bar;
    pRequester->Call<void, TK_BARINFO*>(&info);
}

void CreateBar(void*, TK_NEWBAR* pNew)
{
    printf("create %u %d %s\n", pNew->nID, pNew->strTitle.GetLength(), (LPCSTR)pNew->strTitle);
}

BOOL MakeBar(CFrameWnd* pFrame, ProbeBar& bar, UINT nID, LPCSTR lpszTitle, BYTE bCustom)
{
    if (!bar.bar.CreateEx(pFrame, TBSTYLE_FLAT, WS_CHILD | CBRS_TOP, CRect(0, 0, 0, 0), nID))
        return FALSE;
    bar.bar.SetWindowText(lpszTitle);
    bar.bCustom = bCustom;
    CTkCustomizeManager::Instance()->m_cbBars.Register(TellBar, &bar);
    return TRUE;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3)
        return 2;
    CProbeApp app;
    AfxWinInit(::GetModuleHandleA(NULL), NULL, (LPTSTR) "", SW_HIDE);
    app.SetRegistryKey(argv[1]);

    CFrameWnd* pFrame = new CFrameWnd;
    if (!pFrame->Create(NULL, "Probe", WS_OVERLAPPEDWINDOW))
        return 3;
    CTkCustomizeManager* pManager = CTkCustomizeManager::Instance();
    ProbeBar bars[4];
    int nResult = 0;
    if (strcmp(argv[2], "save") == 0 && argc > 3) {
        if (strcmp(argv[3], "three") == 0) {
            CString strLong;
            for (int i = 0; i < 300; i++)
                strLong += (char)('A' + i % 26);
            if (!MakeBar(pFrame, bars[0], 0xE800, "Meine Leiste", 1) || !MakeBar(pFrame, bars[1], 0xE801, strLong, 1) ||
                !MakeBar(pFrame, bars[2], 0xE802, "Ansicht \xE4\xF6\xFC", 1) ||
                !MakeBar(pFrame, bars[3], 0xE803, "Standard", 0))
                return 4;
        }
        nResult = pManager->CallSaveBars(pFrame, "BarStates3");
        // customize mode was switched on for the save and off again
        if (pManager->m_bCustomizeMode)
            return 5;
    } else if (strcmp(argv[2], "load") == 0) {
        if (!MakeBar(pFrame, bars[1], 0xE801, "vorhanden", 1))
            return 4;
        pManager->m_hookCreateBar = TK_CALLBACK(CreateBar, pManager);
        nResult = pManager->CallLoadBars(pFrame, "BarStates3");
    } else {
        return 2;
    }
    printf("result %d\n", nResult);
    fflush(stdout);
    for (ProbeBar& bar : bars)
        pManager->UnregisterAll(&bar);
    pFrame->DestroyWindow();
    return 0;
}
