// Basic definitions shared by every header of the class library: calling-convention and data
// macros, POSITION, the diagnostic macros (ASSERT, VERIFY, TRACE, ASSERT_VALID, DEBUG_NEW) and the
// one replaceable message-box function through which library code shows text to the user.
#pragma once

#ifdef _UNICODE
#error "The class library is built for ANSI only (no _UNICODE)."
#endif

#include <windows.h>
#include <tchar.h>
#include <stddef.h>
#include <stdarg.h>

// Win16 leftovers of winbase.h that would swallow member names of this library.
#ifdef GetCurrentTime
#undef GetCurrentTime
#endif
#ifdef Yield
#undef Yield
#endif
// A macro of winuser.h for GetWindow that would swallow CWnd::GetNextWindow.
#ifdef GetNextWindow
#undef GetNextWindow
#endif

#ifndef AFXAPI
#define AFXAPI __stdcall
#endif
#ifndef AFX_CDECL
#define AFX_CDECL __cdecl
#endif
#ifndef AFX_DATA
#define AFX_DATA
#endif
#ifndef AFX_INLINE
#define AFX_INLINE inline
#endif

// An abstract iteration position of the collections.
struct __POSITION {};
typedef __POSITION* POSITION;
#define BEFORE_START_POSITION ((POSITION)(INT_PTR)-1)

class CObject;
class CRuntimeClass;

// ---- diagnostics ---------------------------------------------------------------------------
// Trace output goes to OutputDebugString. Failed assertions write a line there and break into a
// debugger only when one is attached, so an unattended run never stops on a box.
void AFX_CDECL AfxTrace(LPCTSTR lpszFormat, ...);
BOOL AFXAPI AfxAssertFailedLine(LPCSTR lpszFileName, int nLine);
void AFXAPI AfxAssertValidObject(const CObject* pOb, LPCSTR lpszFileName, int nLine);
BOOL AFXAPI AfxIsValidAddress(const void* lp, UINT_PTR nBytes, BOOL bReadWrite = TRUE);
BOOL AFXAPI AfxIsValidString(LPCSTR lpsz, int nLength = -1);

#define AfxDebugBreak() DebugBreak()

// Ends the program abnormally after a fatal error: AfxWinTerm, then the end that abort() makes
// (SIGABRT, exit code 3), without the run time's "abnormal program termination" box, which
// would wait for a person. Static objects are not destroyed.
[[noreturn]] void AFXAPI AfxAbort();

#ifdef _DEBUG
#ifndef THIS_FILE
#define THIS_FILE __FILE__
#endif
#define ASSERT(f)                                                                               \
    do {                                                                                        \
        if (!(f) && AfxAssertFailedLine(THIS_FILE, __LINE__))                                   \
            AfxDebugBreak();                                                                    \
    } while (0)
#define VERIFY(f) ASSERT(f)
#define ASSERT_VALID(pOb) (::AfxAssertValidObject(pOb, THIS_FILE, __LINE__))
#define TRACE ::AfxTrace
#define DEBUG_ONLY(f) (f)
void* AFX_CDECL operator new(size_t nSize, LPCSTR lpszFileName, int nLine);
void* AFX_CDECL operator new[](size_t nSize, LPCSTR lpszFileName, int nLine);
void AFX_CDECL operator delete(void* p, LPCSTR lpszFileName, int nLine);
void AFX_CDECL operator delete[](void* p, LPCSTR lpszFileName, int nLine);
#define DEBUG_NEW new (THIS_FILE, __LINE__)
#else
#define ASSERT(f) ((void)0)
#define VERIFY(f) ((void)(f))
#define ASSERT_VALID(pOb) ((void)0)
#define TRACE 1 ? (void)0 : ::AfxTrace
#define DEBUG_ONLY(f) ((void)0)
#define DEBUG_NEW new
#endif

#define TRACE0(sz) TRACE("%s", sz)
#define TRACE1(sz, p1) TRACE(sz, p1)
#define TRACE2(sz, p1, p2) TRACE(sz, p1, p2)
#define TRACE3(sz, p1, p2, p3) TRACE(sz, p1, p2, p3)

#define UNUSED(x) ((void)(x))
#define UNUSED_ALWAYS(x) ((void)(x))

// ---- the library's message box ----------------------------------------------------------------
// Every text that library code shows to the user (CException::ReportError, later AfxMessageBox)
// goes through AfxShowMessageBox. Without a hook it calls MessageBoxA with the application name as
// caption; a program or a test installs a hook to route boxes elsewhere or answer them itself.
typedef int(AFXAPI* AFX_MESSAGEBOX_HOOK)(LPCTSTR lpszText, UINT nType, UINT nIDHelp);

// Installs pfnHook (NULL restores the default) and returns the hook that was installed before.
AFX_MESSAGEBOX_HOOK AFXAPI AfxSetMessageBoxHook(AFX_MESSAGEBOX_HOOK pfnHook);
int AFXAPI AfxShowMessageBox(LPCTSTR lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);
// The same box owned by hWndOwner (disabled while the box is up; NULL: no owner).
int AFXAPI AfxShowMessageBox(HWND hWndOwner, LPCTSTR lpszText, UINT nType, UINT nIDHelp);
// While a hook is called: the window that owns the box it is asked to show (NULL for none).
HWND AFXAPI AfxGetMessageBoxOwner();
