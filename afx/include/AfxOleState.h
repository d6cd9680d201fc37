// The global functions of the OLE layer: start and end, the object count that keeps an
// automation server running, server registration and control containment.
#pragma once

#include "AfxBase.h"

class COleMessageFilter;
class COccManager;

// Initialises OLE for the program's thread (OleInitialize) and registers the application's
// message filter (an EXE only); AfxWinTerm ends it again (AfxOleTerm). FALSE when OLE cannot
// be initialised.
BOOL AFXAPI AfxOleInit();
// Revokes the class factories; unless bJustRevoke, also revokes the message filter and
// uninitialises OLE.
void AFXAPI AfxOleTerm(BOOL bJustRevoke = FALSE);
// The message filter that AfxOleInit registered, or NULL.
COleMessageFilter* AFXAPI AfxOleGetMessageFilter();

// The count of live objects (automation objects lock the application in their constructor and
// unlock it in their destructor, LockServer(TRUE) of a class factory too). When it reaches 0
// while the user is not in control (a server started for automation: AfxOleSetUserCtrl(FALSE))
// the application ends: the main window is destroyed (its loop then ends) or, without one,
// the loop is told to quit. A count that reaches 0 on another thread than the main window's
// ends that window's thread's loop instead, since a window is destroyed only by its own thread.
void AFXAPI AfxOleLockApp();
void AFXAPI AfxOleUnlockApp();
// TRUE when no object keeps the application.
BOOL AFXAPI AfxOleCanExitApp();
// What AfxOleUnlockApp does when the count reaches 0 (also callable directly).
void AFXAPI AfxOleOnReleaseAllObjects();
// Whether the user controls the application (TRUE until set otherwise).
void AFXAPI AfxOleSetUserCtrl(BOOL bUserCtrl);
BOOL AFXAPI AfxOleGetUserCtrl();

// What kind of server a registration describes. The library registers automation servers
// (OAT_DISPATCH_OBJECT); the other kinds are refused (FALSE).
enum OLE_APPTYPE {
    OAT_UNKNOWN = -1,
    OAT_INPLACE_SERVER = 0,
    OAT_SERVER = 1,
    OAT_CONTAINER = 2,
    OAT_DISPATCH_OBJECT = 3,
    OAT_DOC_OBJECT_SERVER = 4,
    OAT_DOC_OBJECT_CONTAINER = 5
};

// Registers the server class below HKEY_CLASSES_ROOT: <ProgID> = long type name,
// <ProgID>\CLSID = {clsid}, CLSID\{clsid} = long type name, CLSID\{clsid}\ProgID = ProgID and
// CLSID\{clsid}\LocalServer32 = the module's path (in quotes when it holds a space) followed by
// " /Automation". rglpszRegister and rglpszOverwrite add "key\0value" entries (NULL-ended
// arrays; %1 the CLSID text, %2 the class name, %3 the module path, %4 the short and %5 the long
// type name): the first only where the key has no value yet, the second always. FALSE when a
// key could not be written.
BOOL AFXAPI AfxOleRegisterServerClass(REFCLSID clsid, LPCTSTR lpszClassName, LPCTSTR lpszShortTypeName,
                                      LPCTSTR lpszLongTypeName, OLE_APPTYPE nAppType = OAT_SERVER,
                                      LPCTSTR* rglpszRegister = NULL, LPCTSTR* rglpszOverwrite = NULL);
// Removes CLSID\{clsid} and the ProgID key (lpszProgID may be NULL) with everything below them.
BOOL AFXAPI AfxOleUnregisterClass(REFCLSID clsid, LPCTSTR lpszProgID);

// Enables OLE control containment (CWnd::CreateControl, OLE controls in dialog templates, event
// sink maps) with the library's manager, or with pOccManager.
void AFXAPI AfxEnableControlContainer(COccManager* pOccManager = NULL);

// A CLSID from its "{...}" text or from a ProgID.
HRESULT AFXAPI AfxGetClassIDFromString(LPCTSTR lpsz, LPCLSID lpClsID);
