#include "afx.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

AFX_MODULE_STATE* AFXAPI AfxGetModuleState()
{
    static AFX_MODULE_STATE s_state = {NULL, (HINSTANCE)&__ImageBase, (HINSTANCE)&__ImageBase, NULL, FALSE, 0, TRUE};
    return &s_state;
}

CWinApp* AFXAPI AfxGetApp() { return AfxGetModuleState()->m_pCurrentWinApp; }

HINSTANCE AFXAPI AfxGetInstanceHandle() { return AfxGetModuleState()->m_hCurrentInstanceHandle; }

HINSTANCE AFXAPI AfxGetResourceHandle() { return AfxGetModuleState()->m_hCurrentResourceHandle; }

void AFXAPI AfxSetResourceHandle(HINSTANCE hInstResource)
{
    if (hInstResource != NULL)
        AfxGetModuleState()->m_hCurrentResourceHandle = hInstResource;
}

HINSTANCE AFXAPI AfxFindResourceHandle(LPCTSTR lpszName, LPCTSTR lpszType)
{
    HINSTANCE hResource = AfxGetResourceHandle();
    if (hResource != NULL && ::FindResourceA(hResource, lpszName, lpszType) != NULL)
        return hResource;
    HINSTANCE hInstance = AfxGetInstanceHandle();
    if (hInstance != NULL && hInstance != hResource && ::FindResourceA(hInstance, lpszName, lpszType) != NULL)
        return hInstance;
    return hResource;
}

LPCTSTR AFXAPI AfxGetAppName() { return AfxGetModuleState()->m_lpszCurrentAppName; }

AFX_MODULE_STATE* AFXAPI AfxGetStaticModuleState() { return AfxGetModuleState(); }
