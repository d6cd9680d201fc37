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
};

AFX_MODULE_STATE* AFXAPI AfxGetModuleState();

CWinApp* AFXAPI AfxGetApp();
// Until AfxWinInit names them, the instance and resource handles are this module's own.
HINSTANCE AFXAPI AfxGetInstanceHandle();
HINSTANCE AFXAPI AfxGetResourceHandle();
void AFXAPI AfxSetResourceHandle(HINSTANCE hInstResource);
// NULL until AfxWinInit has set up the application object.
LPCTSTR AFXAPI AfxGetAppName();
