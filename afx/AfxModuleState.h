// The state of the module (EXE or DLL) that the class library is linked into: its application
// object, instance and resource handles and application name. The library is a static library,
// so every module has its own copy of this state.
#pragma once

#include "AfxBase.h"

class CWinApp;
class CWinThread;
class CWnd;

struct AFX_MODULE_STATE {
    CWinApp* m_pCurrentWinApp;
    HINSTANCE m_hCurrentInstanceHandle;
    HINSTANCE m_hCurrentResourceHandle;
    LPCTSTR m_lpszCurrentAppName;
    BOOL m_bDLL; // the module is a DLL whose application object runs from DllMain
};

AFX_MODULE_STATE* AFXAPI AfxGetModuleState();

CWinApp* AFXAPI AfxGetApp();
// Until AfxWinInit names them, the instance and resource handles are this module's own.
HINSTANCE AFXAPI AfxGetInstanceHandle();
HINSTANCE AFXAPI AfxGetResourceHandle();
void AFXAPI AfxSetResourceHandle(HINSTANCE hInstResource);
// NULL until AfxWinInit has set up the application object.
LPCTSTR AFXAPI AfxGetAppName();

// The CWinThread of the calling thread: the thread object for threads started by
// AfxBeginThread, the application object on the thread that constructed it, else NULL.
CWinThread* AFXAPI AfxGetThread();
// The main window of the calling thread's CWinThread, else the application's main window (NULL
// while the program has no windows).
CWnd* AFXAPI AfxGetMainWnd();

// Sets the module's handles and the application object's members (instance, command line,
// names); called once at start (from DllMain for a DLL).
BOOL AFXAPI AfxWinInit(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPTSTR lpCmdLine, int nCmdShow);
void AFXAPI AfxWinTerm();

// Makes pThread the calling thread's CWinThread (used by CWinThread and CWinApp).
void AFXAPI AfxSetCurrentThread(CWinThread* pThread);
