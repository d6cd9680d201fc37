#include "AfxWindowLayer.h"
#include "afxcmn.h"

namespace {
// The state is made on first use and deleted when the thread ends, through a fiber-local slot
// whose callback runs at the thread's end. (A thread_local object with a destructor would keep
// a DLL that links the library from being unloaded.) Code that runs after the clean-up on the
// same thread gets a fresh state.
thread_local _AFX_THREAD_STATE* t_pThreadState = NULL;

void NTAPI DeleteThreadState(PVOID pData)
{
    _AFX_THREAD_STATE* pState = (_AFX_THREAD_STATE*)pData;
    if (t_pThreadState == pState)
        t_pThreadState = NULL;
    delete pState;
}

struct ThreadStateSlot {
    DWORD dwIndex;
    ThreadStateSlot() : dwIndex(::FlsAlloc(&DeleteThreadState)) {}
    // Deletes the states of all threads (the module is unloaded or the process ends).
    ~ThreadStateSlot()
    {
        if (dwIndex != FLS_OUT_OF_INDEXES)
            ::FlsFree(dwIndex);
        dwIndex = FLS_OUT_OF_INDEXES;
    }
};

ThreadStateSlot& GetThreadStateSlot()
{
    static ThreadStateSlot s_slot;
    return s_slot;
}

template <class T> CObject* PASCAL NewObject() { return new T; }

void PASCAL SetWndHandle(CObject* p, HANDLE h) { ((CWnd*)p)->m_hWnd = (HWND)h; }
void PASCAL SetMenuHandle(CObject* p, HANDLE h) { ((CMenu*)p)->m_hMenu = (HMENU)h; }
void PASCAL SetDCHandle(CObject* p, HANDLE h)
{
    // A temporary device context uses its one handle for output and for attributes.
    ((CDC*)p)->m_hDC = (HDC)h;
    ((CDC*)p)->m_hAttribDC = (HDC)h;
}
void PASCAL SetGdiHandle(CObject* p, HANDLE h) { ((CGdiObject*)p)->m_hObject = (HGDIOBJ)h; }
void PASCAL SetImageListHandle(CObject* p, HANDLE h) { ((CImageList*)p)->m_hImageList = (HIMAGELIST)h; }

CHandleMap* GetMap(CHandleMap*& pMap, BOOL bCreate, CHandleMap::PFN_NEW pfnNew, CHandleMap::PFN_SET_HANDLE pfnSet)
{
    if (pMap == NULL && bCreate)
        pMap = new CHandleMap(pfnNew, pfnSet);
    return pMap;
}
} // namespace

_AFX_THREAD_STATE::_AFX_THREAD_STATE()
    : m_pCurrentWinThread(NULL), m_msgCur(), m_lastSentMsg(), m_ptCursorLast(), m_nMsgLast(0),
      m_hTrackingWindow(NULL), m_hTrackingMenu(NULL), m_pWndInit(NULL), m_hHookOldCbtFilter(NULL),
      m_hLockoutNotifyWindow(NULL), m_hWndBoxOwner(NULL), m_pToolTip(NULL), m_pLastHit(NULL), m_nLastHit(-1), m_lastInfo(), m_pLastStatus(NULL), m_nLastStatus(-1), m_nTempMapLock(0), m_pmapHWND(NULL), m_pmapHMENU(NULL), m_pmapHDC(NULL),
      m_pmapHGDIOBJ(NULL), m_pmapHIMAGELIST(NULL)
{
}

_AFX_THREAD_STATE::~_AFX_THREAD_STATE()
{
    if (m_hHookOldCbtFilter != NULL)
        ::UnhookWindowsHookEx(m_hHookOldCbtFilter);
    if (m_pToolTip != NULL) {
        m_pToolTip->DestroyWindow();
        delete m_pToolTip;
        m_pToolTip = NULL;
    }
    // Temporary objects first: deleting them needs the maps no more.
    DeleteTempMaps();
    delete m_pmapHWND;
    delete m_pmapHMENU;
    delete m_pmapHDC;
    delete m_pmapHGDIOBJ;
    delete m_pmapHIMAGELIST;
    m_pmapHWND = m_pmapHMENU = m_pmapHDC = m_pmapHGDIOBJ = m_pmapHIMAGELIST = NULL;
}

void _AFX_THREAD_STATE::DeleteTempMaps()
{
    for (CHandleMap* pMap : {m_pmapHWND, m_pmapHMENU, m_pmapHDC, m_pmapHGDIOBJ, m_pmapHIMAGELIST})
        if (pMap != NULL)
            pMap->DeleteTemp();
}

_AFX_THREAD_STATE* AFXAPI AfxGetThreadState()
{
    if (t_pThreadState == NULL) {
        t_pThreadState = new _AFX_THREAD_STATE;
        DWORD dwIndex = GetThreadStateSlot().dwIndex;
        if (dwIndex != FLS_OUT_OF_INDEXES)
            ::FlsSetValue(dwIndex, t_pThreadState);
    }
    return t_pThreadState;
}

CHandleMap* PASCAL afxMapHWND(BOOL bCreate)
{
    return GetMap(AfxGetThreadState()->m_pmapHWND, bCreate, &NewObject<CWnd>, &SetWndHandle);
}

CHandleMap* PASCAL afxMapHMENU(BOOL bCreate)
{
    return GetMap(AfxGetThreadState()->m_pmapHMENU, bCreate, &NewObject<CMenu>, &SetMenuHandle);
}

CHandleMap* PASCAL afxMapHDC(BOOL bCreate) { return GetMap(AfxGetThreadState()->m_pmapHDC, bCreate, &NewObject<CDC>, &SetDCHandle); }

CHandleMap* PASCAL afxMapHGDIOBJ(BOOL bCreate)
{
    return GetMap(AfxGetThreadState()->m_pmapHGDIOBJ, bCreate, &NewObject<CGdiObject>, &SetGdiHandle);
}

CHandleMap* PASCAL afxMapHIMAGELIST(BOOL bCreate)
{
    return GetMap(AfxGetThreadState()->m_pmapHIMAGELIST, bCreate, &NewObject<CImageList>, &SetImageListHandle);
}

void AFXAPI AfxLockTempMaps() { ++AfxGetThreadState()->m_nTempMapLock; }

BOOL AFXAPI AfxUnlockTempMaps(BOOL bDeleteTemps)
{
    _AFX_THREAD_STATE* pState = AfxGetThreadState();
    if (pState->m_nTempMapLock > 0 && --pState->m_nTempMapLock == 0 && bDeleteTemps) {
        pState->DeleteTempMaps();
        return TRUE;
    }
    return FALSE;
}
