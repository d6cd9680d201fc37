// The window layer's global functions of threads and of the application's start and end.
#pragma once

#include "AfxModuleState.h"
#include "CString.h"

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
// A function that AfxWinTerm calls first (the OLE layer's end, set by AfxOleInit), or NULL.
typedef void(AFXAPI* AFX_TERM_HOOK)();
void AFXAPI AfxSetOleTermHook(AFX_TERM_HOOK pfnTerm);

// Makes pThread the calling thread's CWinThread (used by CWinThread and CWinApp).
void AFXAPI AfxSetCurrentThread(CWinThread* pThread);

// Ends the calling thread's message loop (WM_QUIT with the exit code).
void AFXAPI AfxPostQuitMessage(int nExitCode);
// One message of the calling thread's loop (its CWinThread's PumpMessage); FALSE on WM_QUIT.
BOOL AFXAPI AfxPumpMessage();
// FALSE for messages that must not restart idle processing (a mouse move to where the mouse
// was, paints, the caret's timer).
BOOL AFXAPI AfxIsIdleMessage(MSG* pMsg);

// The program's start: AfxWinInit, the application's InitApplication and InitInstance, then its
// Run; AfxWinTerm at the end. Answers the program's exit code (-1 when the start failed).
int AFXAPI AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPTSTR lpCmdLine, int nCmdShow);

// Dialog initialisation data (resource type RT_DLGINIT, named like its dialog): records of a
// WORD control id, a WORD message, a DWORD length and that many bytes, ended by a control id 0.
// The messages are the string messages of list and combo boxes (their 16-bit numbers as
// resource editors write them, or the 32-bit ones) with a NUL-terminated text, and the OLE
// control messages below with the control's saved state.
#define RT_DLGINIT MAKEINTRESOURCE(240)
#define AFX_DLGINIT_LB_ADDSTRING16 0x0401
#define AFX_DLGINIT_CB_ADDSTRING16 0x0403
#define WM_OCC_LOADFROMSTREAM 0x0376
#define WM_OCC_LOADFROMSTORAGE 0x0377
#define WM_OCC_INITNEW 0x0378
typedef void (*AFX_DLGINIT_RECORD_PROC)(void* pContext, WORD nIDC, WORD nMsg, const BYTE* pData, DWORD dwLen);
// The DLGINIT resource named lpszResourceName (in the resource module, else the instance) and
// its size, or NULL.
const void* AFXAPI AfxFindDlgInit(LPCTSTR lpszResourceName, DWORD* pcbResource);
// Calls pfn for every record of the data, reading no byte past cbResource; FALSE when the data
// ends before its end mark or a record runs past it.
BOOL AFXAPI AfxForEachDlgInitRecord(const void* lpResource, DWORD cbResource, AFX_DLGINIT_RECORD_PROC pfn,
                                    void* pContext);

// The window that should own a box or dialog of pParent (see CWnd::GetSafeOwner).
HWND AFXAPI AfxGetSafeOwner(CWnd* pParent, HWND* pWndTop = NULL);

// Registers the common controls' window classes (once per process).
void AFXAPI AfxInitCommonControls();
// Creates the window of a control wrapper: a child of pParentWnd of the class lpszClassName
// (the common controls and the rich edit library are loaded first).
BOOL AFXAPI AfxCreateControl(CWnd* pWnd, LPCTSTR lpszClassName, LPCTSTR lpszText, DWORD dwStyle, const RECT& rect,
                             CWnd* pParentWnd, UINT nID);

// A message box through the application's DoMessageBox (else the library's box function, which
// a program or test may replace). Without an icon in nType one is chosen from the buttons. The
// prompt id form loads the text from the resources (the library's own prompts have German
// texts of their own); nIDHelp -1 means the prompt id.
int AFXAPI AfxMessageBox(LPCTSTR lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);
int AFXAPI AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK, UINT nIDHelp = (UINT)-1);

// The string resource nIDS with %1 (and %2) replaced; AfxFormatStrings replaces %1 to %9 of
// lpszFormat with the nString strings (a placeholder without a string stays as it is).
void AFXAPI AfxFormatString1(CString& rString, UINT nIDS, LPCTSTR lpsz1);
void AFXAPI AfxFormatString2(CString& rString, UINT nIDS, LPCTSTR lpsz1, LPCTSTR lpsz2);
void AFXAPI AfxFormatStrings(CString& rString, LPCTSTR lpszFormat, LPCTSTR const* rglpsz, int nString);
// The iSubString-th part (from 0) of lpszFullString, whose parts are separated by chSep; FALSE
// (and an empty string) when it has fewer parts.
BOOL AFXAPI AfxExtractSubString(CString& rString, LPCTSTR lpszFullString, int iSubString, TCHAR chSep = '\n');
// Loads a string resource; for the library's prompt ids without a resource its own text.
BOOL AFXAPI AfxLoadString(UINT nIDS, CString& rString);

// Prompts of the library (string ids; a program may supply its own texts as resources).
#define AFX_IDP_INTERNAL_FAILURE 0xF108
#define AFX_IDP_PARSE_INT 0xF110
#define AFX_IDP_PARSE_REAL 0xF111
#define AFX_IDP_PARSE_INT_RANGE 0xF112
#define AFX_IDP_PARSE_REAL_RANGE 0xF113
#define AFX_IDP_PARSE_STRING_SIZE 0xF114
#define AFX_IDP_PARSE_RADIO_BUTTON 0xF115
#define AFX_IDP_PARSE_BYTE 0xF116
#define AFX_IDP_PARSE_UINT 0xF117
