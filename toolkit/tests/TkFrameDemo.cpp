// The toolkit frame for a person to try under Wine: the menu bar by mouse and keys (Alt, F10,
// mnemonics, arrows), the toolbar, cool menus with pictures, fly-by texts in the status bar.
// Every menu command shows its id in the status bar; "Beenden" ends the program.
#include <afxwin.h>

#include "CDemoFrame.h"

class CDemoApp : public CWinApp {
public:
    BOOL InitInstance() override
    {
        CDemoFrame* pFrame = new CDemoFrame;
        if (!pFrame->Create(NULL, "Termine - Werkzeugrahmen", WS_OVERLAPPEDWINDOW, CRect(40, 40, 1064, 808)))
            return FALSE;
        m_pMainWnd = pFrame;
        pFrame->ShowWindow(SW_SHOW);
        pFrame->UpdateWindow();
        return TRUE;
    }
};

CDemoApp theApp;

// The library's WinMain is not taken from it here: the run time's start code, which asks for
// WinMain, comes after the library on the link line.
extern "C" int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow)
{
    return AfxWinMain(hInstance, hPrevInstance, lpCmdLine, nCmdShow);
}
