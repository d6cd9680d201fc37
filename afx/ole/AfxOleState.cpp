// The OLE layer's start and end, and the object count that keeps an automation server running.
#include "afxole.h"

namespace {

// The module's OLE state (the library is linked into each module of its own).
struct OleState {
    BOOL bNeedTerm = FALSE;          // OleInitialize succeeded and is to be undone
    COleMessageFilter* pMessageFilter = NULL;
};

OleState& State()
{
    static OleState s_state;
    return s_state;
}

void AFXAPI OleTermAtWinTerm() { AfxOleTerm(FALSE); }

} // namespace

BOOL AFXAPI AfxOleInit()
{
    OleState& state = State();
    if (state.bNeedTerm)
        return TRUE;
    if (FAILED(::OleInitialize(NULL)))
        return FALSE;
    state.bNeedTerm = TRUE;
    // A DLL has no message loop of its own: the host's filter stays.
    if (!AfxGetModuleState()->m_bDLL) {
        state.pMessageFilter = new COleMessageFilter;
        if (!state.pMessageFilter->Register()) {
            delete state.pMessageFilter;
            state.pMessageFilter = NULL;
        }
    }
    AfxSetOleTermHook(&OleTermAtWinTerm);
    return TRUE;
}

void AFXAPI AfxOleTerm(BOOL bJustRevoke)
{
    COleObjectFactory::RevokeAll();
    if (bJustRevoke)
        return;
    OleState& state = State();
    if (state.pMessageFilter != NULL) {
        state.pMessageFilter->Revoke();
        delete state.pMessageFilter;
        state.pMessageFilter = NULL;
    }
    if (state.bNeedTerm) {
        ::CoFreeUnusedLibraries();
        ::OleUninitialize();
        state.bNeedTerm = FALSE;
    }
    AfxSetOleTermHook(NULL);
}

COleMessageFilter* AFXAPI AfxOleGetMessageFilter() { return State().pMessageFilter; }

// The count and the user's control live in the module state, where the window and frame layers
// read them when the main window closes or goes.
void AFXAPI AfxOleLockApp() { ::InterlockedIncrement(&AfxGetModuleState()->m_nObjectCount); }

void AFXAPI AfxOleUnlockApp()
{
    if (::InterlockedDecrement(&AfxGetModuleState()->m_nObjectCount) == 0)
        AfxOleOnReleaseAllObjects();
}

BOOL AFXAPI AfxOleCanExitApp() { return AfxGetModuleState()->m_nObjectCount == 0; }

void AFXAPI AfxOleSetUserCtrl(BOOL bUserCtrl) { AfxGetModuleState()->m_bUserCtrl = bUserCtrl; }

BOOL AFXAPI AfxOleGetUserCtrl() { return AfxGetModuleState()->m_bUserCtrl; }

void AFXAPI AfxOleOnReleaseAllObjects()
{
    // A user who started the program ends it himself.
    if (AfxOleGetUserCtrl())
        return;
    AfxOleSetUserCtrl(TRUE); // once
    CWinApp* pApp = AfxGetApp();
    HWND hWndMain = pApp != NULL ? pApp->m_pMainWnd->GetSafeHwnd() : NULL;
    if (hWndMain != NULL) {
        DWORD dwThread = ::GetWindowThreadProcessId(hWndMain, NULL);
        if (dwThread != ::GetCurrentThreadId()) {
            ::PostThreadMessageA(dwThread, WM_QUIT, 0, 0);
            return;
        }
        // The main window posts the quit message when it goes; a disabled one (a modal dialog
        // is up) stays.
        if (::IsWindowEnabled(hWndMain))
            pApp->m_pMainWnd->DestroyWindow();
    } else if (!AfxGetModuleState()->m_bDLL) {
        AfxPostQuitMessage(0);
    }
}

HRESULT AFXAPI AfxGetClassIDFromString(LPCTSTR lpsz, LPCLSID lpClsID)
{
    if (lpsz == NULL || lpClsID == NULL)
        return E_INVALIDARG;
    WCHAR szWide[256];
    if (::MultiByteToWideChar(CP_ACP, 0, lpsz, -1, szWide, 256) == 0)
        return E_INVALIDARG;
    if (szWide[0] == L'{')
        return ::CLSIDFromString(szWide, lpClsID);
    return ::CLSIDFromProgID(szWide, lpClsID);
}
