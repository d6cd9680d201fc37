// A program that starts as the scheduler does: its main frame's constructor reaches the toolkit's
// data first, and a frame refuses to be created when the common-controls library is too old.
//
//   toolkit_comctl_probe.exe <log file> <common-controls library>
//
// The log gets one line per message box ("box|<caption>|<type>|<text>"), "frame created" or
// "frame failed", and "clean-up" from ExitInstance. The exit code is 1 when the frame failed.
#include <afxwin.h>

#include "CTkGlobalData.h"
#include "TkMessageBox.h"

#include <stdio.h>

namespace {

CString g_strLog;

void Log(const CString& strLine)
{
    FILE* f = fopen(g_strLog, "ab");
    if (f != NULL) {
        fprintf(f, "%s\n", (LPCSTR)strLine);
        fclose(f);
    }
}

int WINAPI RecordBox(HWND, LPCSTR lpszText, LPCSTR lpszCaption, UINT nType)
{
    CString strLine;
    strLine.Format("box|%s|%u|%s", lpszCaption, nType, lpszText);
    Log(strLine);
    return IDOK;
}

class CProbeFrame : public CFrameWnd {
public:
    CProbeFrame() { tkAfxData.bFlatLook = TRUE; }

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct)
    {
        if (tkAfxData.bComCtlVersionFailed)
            return -1;
        return CFrameWnd::OnCreate(lpCreateStruct);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CProbeFrame, CFrameWnd)
ON_WM_CREATE()
END_MESSAGE_MAP()

class CProbeApp : public CWinApp {
public:
    BOOL m_bFailed = FALSE;

    BOOL InitInstance() override
    {
        if (__argc < 3)
            return FALSE;
        g_strLog = __argv[1];
        TkSetMessageBoxHook(RecordBox);
        TkSetComCtlLibraryName(__argv[2]);

        CProbeFrame* pFrame = new CProbeFrame;
        if (!pFrame->Create(NULL, "Probe")) {
            // the frame's window went at once (WM_NCDESTROY), and with it the frame object
            Log("frame failed");
            m_bFailed = TRUE;
            return FALSE;
        }
        Log("frame created");
        pFrame->DestroyWindow();
        return FALSE;
    }

    int ExitInstance() override
    {
        Log("clean-up");
        return m_bFailed ? 1 : 0;
    }
};

CProbeApp theApp;

} // namespace

// The library's WinMain is not taken from it here: the run time's start code, which asks for
// WinMain, comes after the library on the link line.
extern "C" int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow)
{
    return AfxWinMain(hInstance, hPrevInstance, lpCmdLine, nCmdShow);
}
