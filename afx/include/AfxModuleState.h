// The state of the module (EXE or DLL) that the class library is linked into: its application
// object, instance and resource handles and application name. The library is a static library,
// so every module has its own copy of this state.
#pragma once

#include "AfxBase.h"

class CWinApp;

struct AFX_MODULE_STATE {
    CWinApp* m_pCurrentWinApp;
    HINSTANCE m_hCurrentInstanceHandle;
    HINSTANCE m_hCurrentResourceHandle;
    LPCTSTR m_lpszCurrentAppName;
    BOOL m_bDLL; // the module is a DLL whose application object runs from DllMain
    // Objects that others use and that keep the program running (AfxOleLockApp/AfxOleUnlockApp
    // count them): while it is not 0, closing the main window hides it instead of ending the
    // program.
    LONG m_nObjectCount;
    // Whether the user controls the program (TRUE until set otherwise): a program that COM started
    // for its objects, or whose main window the user closed while its objects were in use, is not
    // in the user's control and ends when the count goes back to 0.
    BOOL m_bUserCtrl;
};

AFX_MODULE_STATE* AFXAPI AfxGetModuleState();

CWinApp* AFXAPI AfxGetApp();
// Until AfxWinInit names them, the instance and resource handles are this module's own.
HINSTANCE AFXAPI AfxGetInstanceHandle();
HINSTANCE AFXAPI AfxGetResourceHandle();
void AFXAPI AfxSetResourceHandle(HINSTANCE hInstResource);
// The module that holds the resource lpszName of type lpszType: the resource module when it has
// it, else the instance when that has it, else the resource module (where a load then fails).
HINSTANCE AFXAPI AfxFindResourceHandle(LPCTSTR lpszName, LPCTSTR lpszType);
// NULL until AfxWinInit has set up the application object.
LPCTSTR AFXAPI AfxGetAppName();

// The library is linked into every module (EXE, DLL) of its own, so each module's functions
// always see their module's state: switching the state around the exported functions of a DLL
// is not needed, and AFX_MANAGE_STATE only keeps such code compiling.
AFX_MODULE_STATE* AFXAPI AfxGetStaticModuleState();
#define AFX_MANAGE_STATE(p) ((void)(p))
