// A process of its own for the fatal error box, which ends the program:
//
//   mfx_probe fatal <text id> <value 1> <value 2> [main]
//       shows MfxFatalErrorBox; with "main" the application has a main window titled
//       "OX Hauptfenster". Exit code 3 when the program ended through AfxAbort; 0 would mean the
//       box returned.
#include <afxwin.h>

#include <stdlib.h>
#include <string.h>

#include "MfxMessageBox.h"

int main(int argc, char** argv)
{
    if (argc < 5 || strcmp(argv[1], "fatal") != 0)
        return 2;
    CWinApp app("mfx_probe");
    CWnd main;
    if (argc > 5 && strcmp(argv[5], "main") == 0) {
        main.Attach(CreateWindowExA(0, "STATIC", "OX Hauptfenster", WS_OVERLAPPED, 0, 0, 200, 100, NULL, NULL,
                                    GetModuleHandleA(NULL), NULL));
        app.m_pMainWnd = &main;
    }
    MfxFatalErrorBox((UINT)atoi(argv[2]), (UINT)strtoul(argv[3], NULL, 10), (UINT)strtoul(argv[4], NULL, 10));
    return 0;
}
