// The window layer's global functions of threads and of the application's start and end.
#pragma once

#include "AfxModuleState.h"

class CWinThread;
class CWnd;

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
