#include "AfxWindowLayer.h"
#include "afxcmn.h"

#include <string.h>

IMPLEMENT_DYNCREATE(CWnd, CCmdTarget)

namespace {

// Records whether a command's update handlers leave it enabled (a disabled command that comes
// from a menu or an accelerator is not executed).
class CTestCmdUI : public CCmdUI {
public:
    BOOL m_bEnabled = TRUE;
    void Enable(BOOL bOn) override
    {
        m_bEnabled = bOn;
        m_bEnableChanged = TRUE;
    }
    void SetCheck(int) override {}
    void SetRadio(BOOL) override {}
    void SetText(LPCTSTR) override {}
};

// The parent of a child window, the owner of a top-level one.
HWND ParentOrOwner(HWND hWnd)
{
    if (::GetWindowLongA(hWnd, GWL_STYLE) & WS_CHILD)
        return ::GetParent(hWnd);
    return ::GetWindow(hWnd, GW_OWNER);
}

void RemoveLastTool(_AFX_THREAD_STATE* pState);

} // namespace

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
ON_WM_NCDESTROY()
ON_WM_DRAWITEM()
ON_WM_MEASUREITEM()
ON_WM_DELETEITEM()
ON_WM_COMPAREITEM()
ON_WM_CTLCOLOR()
ON_WM_HSCROLL()
ON_WM_VSCROLL()
ON_WM_PARENTNOTIFY()
ON_WM_CHARTOITEM()
ON_WM_VKEYTOITEM()
END_MESSAGE_MAP()

CWnd::CWnd()
    : m_hWnd(NULL), m_nFlags(0), m_hWndOwner(NULL), m_pfnSuper(NULL), m_nModalResult(0), m_pCtrlCont(NULL),
      m_pCtrlSite(NULL), m_pOccDialogInfo(NULL)
{
}

CWnd::~CWnd()
{
    if (m_hWnd != NULL && FromHandlePermanent(m_hWnd) == this)
        DestroyWindow();
}

HWND CWnd::GetSafeHwnd() const
{
    // Read through a volatile copy: the compiler may not assume that this is never NULL here.
    const CWnd* volatile pThis = this;
    return pThis == NULL ? NULL : pThis->m_hWnd;
}

// ---- handle maps -------------------------------------------------------------------------------

CWnd* PASCAL CWnd::FromHandlePermanent(HWND hWnd)
{
    CHandleMap* pMap = afxMapHWND();
    return (hWnd != NULL && pMap != NULL) ? (CWnd*)pMap->LookupPermanent(hWnd) : NULL;
}

CWnd* PASCAL CWnd::FromHandle(HWND hWnd)
{
    CWnd* pWnd = (CWnd*)afxMapHWND(TRUE)->FromHandle(hWnd);
    // A temporary object of an OLE control's window reaches the control too.
    COccManager* pOccManager = AfxGetOccManager();
    if (pWnd != NULL && pWnd->m_pCtrlSite == NULL && pOccManager != NULL)
        pOccManager->AttachControlSite(pWnd);
    return pWnd;
}

void PASCAL CWnd::DeleteTempMap()
{
    CHandleMap* pMap = afxMapHWND();
    if (pMap != NULL)
        pMap->DeleteTemp();
}

BOOL CWnd::Attach(HWND hWndNew)
{
    if (hWndNew == NULL || m_hWnd != NULL)
        return FALSE;
    afxMapHWND(TRUE)->SetPermanent(hWndNew, this);
    m_hWnd = hWndNew;
    COccManager* pOccManager = AfxGetOccManager();
    if (pOccManager != NULL)
        pOccManager->AttachControlSite(this);
    return TRUE;
}

HWND CWnd::Detach()
{
    HWND hWnd = m_hWnd;
    if (hWnd != NULL) {
        CHandleMap* pMap = afxMapHWND();
        if (pMap != NULL)
            pMap->RemoveHandle(hWnd, this);
    }
    m_hWnd = NULL;
    m_pCtrlSite = NULL; // the link to a control's site belongs to the window
    return hWnd;
}

// ---- dialog initialisation data ------------------------------------------------------------------

const void* AFXAPI AfxFindDlgInit(LPCTSTR lpszResourceName, DWORD* pcbResource)
{
    *pcbResource = 0;
    if (lpszResourceName == NULL)
        return NULL;
    HINSTANCE hInst = AfxGetResourceHandle();
    HRSRC hResource = ::FindResourceA(hInst, lpszResourceName, (LPCSTR)RT_DLGINIT);
    if (hResource == NULL) {
        hInst = AfxGetInstanceHandle();
        hResource = ::FindResourceA(hInst, lpszResourceName, (LPCSTR)RT_DLGINIT);
    }
    if (hResource == NULL)
        return NULL;
    HGLOBAL hData = ::LoadResource(hInst, hResource);
    const void* lpData = hData != NULL ? ::LockResource(hData) : NULL;
    if (lpData != NULL)
        *pcbResource = ::SizeofResource(hInst, hResource);
    return lpData;
}

BOOL AFXAPI AfxForEachDlgInitRecord(const void* lpResource, DWORD cbResource, AFX_DLGINIT_RECORD_PROC pfn,
                                    void* pContext)
{
    // Records: WORD control id, WORD message, DWORD length, the bytes; a control id 0 ends them.
    // Nothing is read past cbResource: a list without its end mark, or a record whose length runs
    // past the end, ends the walk there and makes the data count as damaged.
    const BYTE* p = (const BYTE*)lpResource;
    DWORD cbLeft = cbResource;
    if (p == NULL)
        return TRUE;
    for (;;) {
        WORD nIDC;
        if (cbLeft < sizeof(WORD))
            return FALSE;
        memcpy(&nIDC, p, sizeof(WORD));
        if (nIDC == 0)
            return TRUE;
        if (cbLeft < 2 * sizeof(WORD) + sizeof(DWORD))
            return FALSE;
        WORD nMsg;
        DWORD dwLen;
        memcpy(&nMsg, p + 2, sizeof(WORD));
        memcpy(&dwLen, p + 4, sizeof(DWORD));
        p += 8;
        cbLeft -= 8;
        if (dwLen > cbLeft)
            return FALSE;
        (*pfn)(pContext, nIDC, nMsg, p, dwLen);
        p += dwLen;
        cbLeft -= dwLen;
    }
}

namespace {

struct DlgInitContext {
    HWND hWnd;
    BOOL bSuccess;
};

void SendDlgInitString(void* pContext, WORD nIDC, WORD nMsg, const BYTE* pData, DWORD dwLen)
{
    // Resource editors write the string messages of list and combo boxes with their 16-bit
    // numbers; the 32-bit ones are read too, and 0x1234 adds an item to an extended combo box.
    // Other records (OLE controls) are not for us.
    const WORD kCbExAddString = 0x1234;
    DlgInitContext* pInit = (DlgInitContext*)pContext;
    UINT nMessage;
    if (nMsg == AFX_DLGINIT_LB_ADDSTRING16 || nMsg == LB_ADDSTRING)
        nMessage = LB_ADDSTRING;
    else if (nMsg == AFX_DLGINIT_CB_ADDSTRING16 || nMsg == CB_ADDSTRING)
        nMessage = CB_ADDSTRING;
    else if (nMsg == kCbExAddString)
        nMessage = CBEM_INSERTITEMA;
    else
        return;
    // the string must end inside its record
    if (dwLen == 0 || memchr(pData, '\0', dwLen) == NULL) {
        pInit->bSuccess = FALSE;
        return;
    }
    LRESULT lResult;
    if (nMessage == CBEM_INSERTITEMA) {
        COMBOBOXEXITEMA item;
        memset(&item, 0, sizeof(item));
        item.mask = CBEIF_TEXT;
        item.iItem = -1;
        item.pszText = (LPSTR)pData;
        lResult = ::SendDlgItemMessageA(pInit->hWnd, nIDC, nMessage, 0, (LPARAM)&item);
    } else {
        lResult = ::SendDlgItemMessageA(pInit->hWnd, nIDC, nMessage, 0, (LPARAM)pData);
    }
    if (lResult == LB_ERR || lResult == LB_ERRSPACE) // CB_ERR, CB_ERRSPACE are the same
        pInit->bSuccess = FALSE;
}

} // namespace

// Fills list and combo boxes from the DLGINIT data; FALSE when the data is damaged or a control
// refused a string. Afterwards the child windows get WM_INITIALUPDATE, as the library's views do.
BOOL CWnd::ExecuteDlgInit(LPCTSTR lpszResourceName)
{
    DWORD cbResource = 0;
    const void* lpResource = AfxFindDlgInit(lpszResourceName, &cbResource);
    return ExecuteDlgInitData(lpResource, cbResource);
}

BOOL CWnd::ExecuteDlgInit(LPVOID lpResource)
{
    // The size of the data is not known here: the walk ends at its end mark.
    return ExecuteDlgInitData(lpResource, MAXDWORD / 2);
}

BOOL CWnd::ExecuteDlgInitData(const void* lpResource, DWORD cbResource)
{
    DlgInitContext init = {m_hWnd, TRUE};
    if (lpResource != NULL && !AfxForEachDlgInitRecord(lpResource, cbResource, &SendDlgInitString, &init))
        init.bSuccess = FALSE;
    if (init.bSuccess)
        SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, FALSE, FALSE);
    return init.bSuccess;
}

BOOL CWnd::CreateDlgIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd, HINSTANCE hInst)
{
    AfxInitCommonControls();
    // The dialog manager cannot make OLE controls: the control container takes them out of the
    // template and creates them at WM_INITDIALOG.
    COccManager* pOccManager = AfxGetOccManager();
    _AFX_OCC_DIALOG_INFO* pOccDialogInfo = NULL;
    LPCDLGTEMPLATE lpTemplate = lpDialogTemplate;
    if (pOccManager != NULL) {
        pOccDialogInfo = pOccManager->PreCreateDialog(lpDialogTemplate, &lpTemplate);
        if (lpTemplate == NULL) {
            PostNcDestroy(); // no window comes of a template that cannot be read
            return FALSE;
        }
    }
    SetOccDialogInfo(pOccDialogInfo);
    AfxHookWindowCreate(this);
    HWND hWnd = ::CreateDialogIndirectParamA(hInst, lpTemplate, pParentWnd->GetSafeHwnd(), &AfxDlgProc, 0);
    if (!AfxUnhookWindowCreate())
        PostNcDestroy();
    if (pOccDialogInfo != NULL)
        pOccManager->PostCreateDialog(pOccDialogInfo);
    // Without a window the object may be gone (PostNcDestroy): it is not touched then. A window
    // destroyed during its initialisation (its OLE controls could not be made) counts as not
    // made, whatever the dialog manager answered.
    if (hWnd == NULL || !::IsWindow(hWnd))
        return FALSE;
    SetOccDialogInfo(NULL);
    return TRUE;
}

BOOL CWnd::SetOccDialogInfo(_AFX_OCC_DIALOG_INFO* pOccDialogInfo)
{
    m_pOccDialogInfo = pOccDialogInfo;
    return TRUE;
}

// ---- subclassing ---------------------------------------------------------------------------------

WNDPROC* CWnd::GetSuperWndProcAddr() { return &m_pfnSuper; }

void CWnd::PreSubclassWindow() {}

BOOL CWnd::SubclassWindow(HWND hWnd)
{
    if (!Attach(hWnd))
        return FALSE;
    PreSubclassWindow();
    WNDPROC* ppfnSuper = GetSuperWndProcAddr();
    WNDPROC pfnOld = (WNDPROC)::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, (LONG_PTR)&AfxWndProc);
    if (pfnOld != &AfxWndProc)
        *ppfnSuper = pfnOld;
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent)
{
    HWND hWndControl = ::GetDlgItem(pParent->GetSafeHwnd(), (int)nID);
    return hWndControl != NULL && SubclassWindow(hWndControl);
}

HWND CWnd::UnsubclassWindow()
{
    WNDPROC* ppfnSuper = GetSuperWndProcAddr();
    if (m_hWnd != NULL && *ppfnSuper != NULL)
        ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, (LONG_PTR)*ppfnSuper);
    *ppfnSuper = NULL;
    return Detach();
}

// ---- creation and destruction --------------------------------------------------------------------

BOOL CWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                  UINT nID, CCreateContext* pContext)
{
    return CreateEx(0, lpszClassName, lpszWindowName, dwStyle | WS_CHILD, rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top, pParentWnd->GetSafeHwnd(), (HMENU)(UINT_PTR)nID, (LPVOID)pContext);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                    CWnd* pParentWnd, UINT nID, LPVOID lpParam)
{
    return CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top, pParentWnd->GetSafeHwnd(), (HMENU)(UINT_PTR)nID, lpParam);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, int x, int y,
                    int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam)
{
    if (m_hWnd != NULL)
        return FALSE;
    CREATESTRUCTA cs;
    cs.dwExStyle = dwExStyle;
    cs.lpszClass = lpszClassName;
    cs.lpszName = lpszWindowName;
    cs.style = (LONG)dwStyle;
    cs.x = x;
    cs.y = y;
    cs.cx = nWidth;
    cs.cy = nHeight;
    cs.hwndParent = hWndParent;
    cs.hMenu = nIDorHMenu;
    cs.hInstance = AfxGetInstanceHandle();
    cs.lpCreateParams = lpParam;
    if (!PreCreateWindow(cs)) {
        PostNcDestroy();
        return FALSE;
    }

    AfxHookWindowCreate(this);
    HWND hWnd = ::CreateWindowExA(cs.dwExStyle, cs.lpszClass, cs.lpszName, (DWORD)cs.style, cs.x, cs.y, cs.cx, cs.cy,
                                  cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
    // When no window was made at all, the object is cleaned up as if its window had been
    // destroyed (a failure in WM_CREATE has already done so through WM_NCDESTROY).
    if (!AfxUnhookWindowCreate())
        PostNcDestroy();
    return hWnd != NULL;
}

BOOL CWnd::PreCreateWindow(CREATESTRUCT& cs)
{
    if (cs.lpszClass == NULL) {
        if (!AfxEndDeferRegisterClass(AFX_WND_CLASS))
            return FALSE;
        cs.lpszClass = AFX_WND_CLASS;
    }
    return TRUE;
}

BOOL CWnd::DestroyWindow()
{
    HWND hWnd = m_hWnd;
    if (hWnd == NULL)
        return FALSE;
    // An OLE control goes with its site: the control destroys its own window.
    COccManager* pOccManager = AfxGetOccManager();
    if (m_pCtrlSite != NULL && pOccManager != NULL)
        return pOccManager->DestroyControl(this);
    // A window whose messages come through this object is detached by its WM_NCDESTROY, after
    // which the object may be gone (PostNcDestroy): it must not be touched then.
    BOOL bRoutedHere = *GetSuperWndProcAddr() != NULL && FromHandlePermanent(hWnd) == this;
    BOOL bResult = ::DestroyWindow(hWnd);
    if (bRoutedHere)
        return bResult;
    if (bResult || !::IsWindow(hWnd)) {
        // The handle may be reused for another window: no map may answer this object for it.
        CHandleMap* pMap = afxMapHWND();
        if (pMap != NULL)
            pMap->RemoveHandle(hWnd, this);
        m_hWnd = NULL;
    }
    return bResult;
}

void CWnd::PostNcDestroy() {}

BOOL CWnd::OnAmbientProperty(COleControlSite*, DISPID, VARIANT*) { return FALSE; }

void CWnd::HandleMainWindowDestroyed()
{
    CWinThread* pThread = AfxGetThread();
    if (pThread != NULL && pThread->m_pMainWnd == this) {
        // The main window of a thread ends the thread's message loop (a DLL's application runs no
        // loop). The application's loop goes on while others use its objects; without its main
        // window the user cannot end it any more, so it ends when the last of them is released.
        BOOL bApp = pThread == AfxGetApp();
        AFX_MODULE_STATE* pModuleState = AfxGetModuleState();
        if (bApp && !pModuleState->m_bDLL && pModuleState->m_nObjectCount != 0)
            pModuleState->m_bUserCtrl = FALSE;
        else if (!(bApp && pModuleState->m_bDLL))
            AfxPostQuitMessage(0);
        pThread->m_pMainWnd = NULL;
    }
    CWinApp* pApp = AfxGetApp();
    if (pApp != NULL && pApp->m_pMainWnd == this)
        pApp->m_pMainWnd = NULL;
}

void CWnd::OnNcDestroy()
{
    HandleMainWindowDestroyed();
    // the tooltip must not keep a tool of a window that is gone
    _AFX_THREAD_STATE* pState = AfxGetThreadState();
    if (pState->m_pLastHit == this)
        RemoveLastTool(pState);
    Default();
    // Further messages of the window (there may be none) go to its former procedure.
    WNDPROC* ppfnSuper = GetSuperWndProcAddr();
    if (*ppfnSuper != NULL) {
        if ((WNDPROC)::GetWindowLongPtrA(m_hWnd, GWLP_WNDPROC) == &AfxWndProc)
            ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, (LONG_PTR)*ppfnSuper);
        *ppfnSuper = NULL;
    }
    Detach();
    PostNcDestroy();
}

void CWnd::CalcWindowRect(LPRECT lpClientRect, UINT nAdjustType)
{
    DWORD dwExStyle = GetExStyle();
    if (nAdjustType == 0)
        dwExStyle &= ~WS_EX_CLIENTEDGE;
    ::AdjustWindowRectEx(lpClientRect, GetStyle(), FALSE, dwExStyle);
}

// ---- messages ------------------------------------------------------------------------------------

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT lResult = 0;
    if (!OnWndMsg(message, wParam, lParam, &lResult))
        lResult = DefWindowProc(message, wParam, lParam);
    return lResult;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    WNDPROC pfnSuper = *GetSuperWndProcAddr();
    if (pfnSuper != NULL)
        return ::CallWindowProcA(pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default()
{
    const MSG& msg = AfxGetThreadState()->m_lastSentMsg;
    return DefWindowProc(msg.message, msg.wParam, msg.lParam);
}

const MSG* PASCAL CWnd::GetCurrentMessage()
{
    MSG* pMsg = &AfxGetThreadState()->m_lastSentMsg;
    DWORD dwPos = ::GetMessagePos();
    pMsg->pt.x = (short)LOWORD(dwPos);
    pMsg->pt.y = (short)HIWORD(dwPos);
    pMsg->time = (DWORD)::GetMessageTime();
    return pMsg;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    LRESULT lResult = 0;
    if (message == WM_COMMAND) {
        if (!OnCommand(wParam, lParam))
            return FALSE;
        if (pResult != NULL)
            *pResult = 1;
        return TRUE;
    }
    if (message == WM_NOTIFY) {
        NMHDR* pNMHDR = (NMHDR*)lParam;
        if (pNMHDR == NULL || pNMHDR->hwndFrom == NULL || !OnNotify(wParam, lParam, &lResult))
            return FALSE;
        if (pResult != NULL)
            *pResult = lResult;
        return TRUE;
    }

    // Every WM_CTLCOLOR... message goes to the one WM_CTLCOLOR handler with its control type.
    UINT nLookup = message;
    UINT nCtlType = 0;
    if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) {
        nLookup = WM_CTLCOLOR;
        nCtlType = message - WM_CTLCOLORMSGBOX;
    }

    const AFX_MSGMAP_ENTRY* lpEntry = NULL;
    for (const AFX_MSGMAP* pMap = GetMessageMap(); pMap != NULL && lpEntry == NULL;
         pMap = pMap->pfnGetBaseMap != NULL ? (*pMap->pfnGetBaseMap)() : NULL) {
        for (const AFX_MSGMAP_ENTRY* p = pMap->lpEntries; p->nSig != AfxSig_end; ++p) {
            if (message >= 0xC000 && message <= 0xFFFF) {
                // a registered message: the entry holds the address of its number
                if (p->nMessage == 0xC000 && *(const UINT*)p->nSig == message) {
                    lpEntry = p;
                    break;
                }
            } else if (p->nMessage == nLookup && p->nCode == 0 && p->nID == 0 && p->nMessage != 0xC000) {
                lpEntry = p;
                break;
            }
        }
    }
    if (lpEntry == NULL)
        return FALSE;

    AFX_PMSGW pfn = (AFX_PMSGW)lpEntry->pfn;
#define AFX_CALL(type) (this->*reinterpret_cast<type>(pfn))
    UINT_PTR nSig = message >= 0xC000 && message <= 0xFFFF ? (UINT_PTR)AfxSig_lwl : lpEntry->nSig;
    switch (nSig) {
    case AfxSig_lwl:
        lResult = AFX_CALL(LRESULT (CWnd::*)(WPARAM, LPARAM))(wParam, lParam);
        break;
    case AfxSig_is:
        lResult = AFX_CALL(int (CWnd::*)(LPCREATESTRUCT))((LPCREATESTRUCT)lParam);
        break;
    case AfxSig_bPtr:
        lResult = AFX_CALL(BOOL (CWnd::*)(void*))((void*)lParam);
        break;
    case AfxSig_vv:
        (this->*pfn)();
        break;
    case AfxSig_vwii:
        AFX_CALL(void (CWnd::*)(UINT, int, int))((UINT)wParam, LOWORD(lParam), HIWORD(lParam));
        break;
    case AfxSig_vii:
        AFX_CALL(void (CWnd::*)(int, int))((short)LOWORD(lParam), (short)HIWORD(lParam));
        break;
    case AfxSig_vup:
        AFX_CALL(void (CWnd::*)(UINT_PTR))((UINT_PTR)wParam);
        break;
    case AfxSig_vwp:
        AFX_CALL(void (CWnd::*)(UINT, CPoint))((UINT)wParam, CPoint(lParam));
        break;
    case AfxSig_bwsp:
        lResult = AFX_CALL(BOOL (CWnd::*)(UINT, short, CPoint))(LOWORD(wParam), (short)HIWORD(wParam), CPoint(lParam));
        break;
    case AfxSig_vwww:
        AFX_CALL(void (CWnd::*)(UINT, UINT, UINT))((UINT)wParam, LOWORD(lParam), HIWORD(lParam));
        break;
    case AfxSig_vW:
        AFX_CALL(void (CWnd::*)(CWnd*))(CWnd::FromHandle((HWND)wParam));
        break;
    case AfxSig_bD:
        lResult = AFX_CALL(BOOL (CWnd::*)(CDC*))(CDC::FromHandle((HDC)wParam));
        break;
    case AfxSig_hDWw:
        lResult = (LRESULT)AFX_CALL(HBRUSH (CWnd::*)(CDC*, CWnd*, UINT))(CDC::FromHandle((HDC)wParam),
                                                                        CWnd::FromHandle((HWND)lParam), nCtlType);
        break;
    case AfxSig_bWww:
        lResult = AFX_CALL(BOOL (CWnd::*)(CWnd*, UINT, UINT))(CWnd::FromHandle((HWND)wParam), LOWORD(lParam), HIWORD(lParam));
        break;
    case AfxSig_vwwW:
        AFX_CALL(void (CWnd::*)(UINT, UINT, CScrollBar*))(LOWORD(wParam), HIWORD(wParam),
                                                          (CScrollBar*)CWnd::FromHandle((HWND)lParam));
        break;
    case AfxSig_vbw:
        AFX_CALL(void (CWnd::*)(BOOL, UINT))((BOOL)wParam, (UINT)lParam);
        break;
    case AfxSig_vwWb:
        AFX_CALL(void (CWnd::*)(UINT, CWnd*, BOOL))(LOWORD(wParam), CWnd::FromHandle((HWND)lParam), HIWORD(wParam));
        break;
    case AfxSig_vbd:
        AFX_CALL(void (CWnd::*)(BOOL, DWORD))((BOOL)wParam, (DWORD)lParam);
        break;
    case AfxSig_vPtr:
        AFX_CALL(void (CWnd::*)(void*))((void*)lParam);
        break;
    case AfxSig_viPtr:
        AFX_CALL(void (CWnd::*)(int, void*))((int)wParam, (void*)lParam);
        if (message == WM_DRAWITEM || message == WM_MEASUREITEM)
            lResult = TRUE;
        break;
    case AfxSig_iiPtr:
        lResult = AFX_CALL(int (CWnd::*)(int, void*))((int)wParam, (void*)lParam);
        break;
    case AfxSig_vWp:
        AFX_CALL(void (CWnd::*)(CWnd*, CPoint))(CWnd::FromHandle((HWND)wParam), CPoint(lParam));
        break;
    case AfxSig_lp:
        lResult = AFX_CALL(LRESULT (CWnd::*)(CPoint))(CPoint(lParam));
        break;
    case AfxSig_vbPtr:
        AFX_CALL(void (CWnd::*)(BOOL, void*))((BOOL)wParam, (void*)lParam);
        break;
    case AfxSig_uv:
        lResult = AFX_CALL(UINT (CWnd::*)())();
        break;
    case AfxSig_vM:
        AFX_CALL(void (CWnd::*)(CMenu*))(CMenu::FromHandle((HMENU)wParam));
        break;
    case AfxSig_vMwb:
        AFX_CALL(void (CWnd::*)(CMenu*, UINT, BOOL))(CMenu::FromHandle((HMENU)wParam), LOWORD(lParam), HIWORD(lParam));
        break;
    case AfxSig_vwwh:
        AFX_CALL(void (CWnd::*)(UINT, UINT, HMENU))(LOWORD(wParam), HIWORD(wParam), (HMENU)lParam);
        break;
    case AfxSig_lwwM:
        lResult = AFX_CALL(LRESULT (CWnd::*)(UINT, UINT, CMenu*))(LOWORD(wParam), HIWORD(wParam),
                                                                  CMenu::FromHandle((HMENU)lParam));
        break;
    case AfxSig_vws:
        AFX_CALL(void (CWnd::*)(UINT, LPCTSTR))((UINT)wParam, (LPCTSTR)lParam);
        break;
    case AfxSig_iWww:
        lResult = AFX_CALL(int (CWnd::*)(CWnd*, UINT, UINT))(CWnd::FromHandle((HWND)wParam), LOWORD(lParam), HIWORD(lParam));
        break;
    case AfxSig_vwl:
        AFX_CALL(void (CWnd::*)(UINT, LPARAM))((UINT)wParam, lParam);
        break;
    case AfxSig_vb:
        AFX_CALL(void (CWnd::*)(BOOL))((BOOL)wParam);
        break;
    case AfxSig_bv:
        lResult = AFX_CALL(BOOL (CWnd::*)())();
        break;
    case AfxSig_bb:
        lResult = AFX_CALL(BOOL (CWnd::*)(BOOL))((BOOL)wParam);
        break;
    case AfxSig_vwPtr:
        AFX_CALL(void (CWnd::*)(UINT, void*))((UINT)wParam, (void*)lParam);
        break;
    case AfxSig_iwWw:
        lResult = AFX_CALL(int (CWnd::*)(UINT, CListBox*, UINT))(LOWORD(wParam), (CListBox*)CWnd::FromHandle((HWND)lParam),
                                                                 HIWORD(wParam));
        break;
    case AfxSig_vwW:
        AFX_CALL(void (CWnd::*)(UINT, CWnd*))((UINT)wParam, CWnd::FromHandle((HWND)lParam));
        break;
    case AfxSig_bWPtr:
        lResult = AFX_CALL(BOOL (CWnd::*)(CWnd*, void*))(CWnd::FromHandle((HWND)wParam), (void*)lParam);
        break;
    // reflected messages (ReflectChildNotify)
    case AfxSig_RhDw: {
        AFX_CTLCOLOR* pCtl = (AFX_CTLCOLOR*)lParam;
        HBRUSH hbr = AFX_CALL(HBRUSH (CWnd::*)(CDC*, UINT))(CDC::FromHandle(pCtl->hDC), pCtl->nCtlType);
        if (hbr == NULL)
            return FALSE; // the parent colours the control
        lResult = (LRESULT)hbr;
        break;
    }
    case AfxSig_RvPtr:
        AFX_CALL(void (CWnd::*)(void*))((void*)lParam);
        lResult = TRUE;
        break;
    case AfxSig_RiPtr:
        lResult = AFX_CALL(int (CWnd::*)(void*))((void*)lParam);
        break;
    case AfxSig_Rvww:
        AFX_CALL(void (CWnd::*)(UINT, UINT))(LOWORD(wParam), HIWORD(wParam));
        break;
    case AfxSig_Rvwl:
        AFX_CALL(void (CWnd::*)(UINT, LPARAM))(LOWORD(wParam), lParam);
        break;
    case AfxSig_Riww:
        lResult = AFX_CALL(int (CWnd::*)(UINT, UINT))(LOWORD(wParam), HIWORD(wParam));
        break;
    default:
        return FALSE;
    }
#undef AFX_CALL
    if (pResult != NULL)
        *pResult = lResult;
    return TRUE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    UINT nID = LOWORD(wParam);
    HWND hWndCtrl = (HWND)lParam;
    int nCode = HIWORD(wParam);
    if (hWndCtrl == NULL) {
        // A menu command or an accelerator: a command whose update handler disabled it is not
        // executed (its menu item or button may be out of date).
        if (nID == 0)
            return FALSE;
        CTestCmdUI state;
        state.m_nID = nID;
        OnCmdMsg(nID, (int)CN_UPDATE_COMMAND_UI, &state, NULL);
        if (!state.m_bEnabled)
            return TRUE;
        nCode = CN_COMMAND;
    } else {
        // A control's notification: the control may handle it itself (reflection).
        if (AfxGetThreadState()->m_hLockoutNotifyWindow == m_hWnd)
            return TRUE;
        if (ReflectLastMsg(hWndCtrl))
            return TRUE;
        if (nID == 0)
            return FALSE;
    }
    return OnCmdMsg(nID, nCode, NULL, NULL);
}

BOOL CWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    UNUSED(wParam);
    NMHDR* pNMHDR = (NMHDR*)lParam;
    HWND hWndCtrl = pNMHDR->hwndFrom;
    UINT nID = (UINT)::GetDlgCtrlID(hWndCtrl);
    int nCode = (int)pNMHDR->code;
    if (AfxGetThreadState()->m_hLockoutNotifyWindow == m_hWnd)
        return TRUE;
    if (ReflectLastMsg(hWndCtrl, pResult))
        return TRUE;
    AFX_NOTIFY notify = {pResult, pNMHDR};
    return OnCmdMsg(nID, MAKELONG(nCode, WM_NOTIFY), &notify, NULL);
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    return ReflectChildNotify(message, wParam, lParam, pResult);
}

BOOL CWnd::ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    switch (message) {
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_PARENTNOTIFY:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_DELETEITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_COMPAREITEM:
        return OnWndMsg(WM_REFLECT_BASE + message, wParam, lParam, pResult);
    case WM_COMMAND: {
        int nCode = HIWORD(wParam);
        if (OnCmdMsg(0, MAKELONG(nCode, WM_REFLECT_BASE + WM_COMMAND), NULL, NULL)) {
            if (pResult != NULL)
                *pResult = 1;
            return TRUE;
        }
        return FALSE;
    }
    case WM_NOTIFY: {
        NMHDR* pNMHDR = (NMHDR*)lParam;
        LRESULT lResult = 0;
        AFX_NOTIFY notify = {pResult != NULL ? pResult : &lResult, pNMHDR};
        return OnCmdMsg(0, MAKELONG((int)pNMHDR->code, WM_REFLECT_BASE + WM_NOTIFY), &notify, NULL);
    }
    default:
        if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) {
            AFX_CTLCOLOR ctl = {(HWND)lParam, (HDC)wParam, message - WM_CTLCOLORMSGBOX};
            return OnWndMsg(WM_REFLECT_BASE + WM_CTLCOLOR, 0, (LPARAM)&ctl, pResult);
        }
        return FALSE;
    }
}

BOOL PASCAL CWnd::ReflectLastMsg(HWND hWndChild, LRESULT* pResult)
{
    CWnd* pWnd = FromHandlePermanent(hWndChild);
    return pWnd != NULL && pWnd->SendChildNotifyLastMsg(pResult);
}

BOOL CWnd::SendChildNotifyLastMsg(LRESULT* pResult)
{
    const MSG& msg = AfxGetThreadState()->m_lastSentMsg;
    LRESULT lResult = 0;
    return OnChildNotify(msg.message, msg.wParam, msg.lParam, pResult != NULL ? pResult : &lResult);
}

// The default handlers of the messages that controls may handle themselves: the control first.
void CWnd::OnDrawItem(int, LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    if (lpDrawItemStruct->CtlType == ODT_MENU) {
        CMenu* pMenu = CMenu::FromHandlePermanent((HMENU)lpDrawItemStruct->hwndItem);
        if (pMenu != NULL) {
            pMenu->DrawItem(lpDrawItemStruct);
            return;
        }
    } else if (ReflectLastMsg(lpDrawItemStruct->hwndItem)) {
        return;
    }
    Default();
}

namespace {
// The menu (or submenu) of hMenu that holds the command id, or NULL.
HMENU FindMenuOfItem(HMENU hMenu, UINT nID)
{
    if (hMenu == NULL || !::IsMenu(hMenu))
        return NULL;
    int nCount = ::GetMenuItemCount(hMenu);
    for (int i = 0; i < nCount; i++) {
        HMENU hSubMenu = ::GetSubMenu(hMenu, i);
        if (hSubMenu != NULL) {
            HMENU hFound = FindMenuOfItem(hSubMenu, nID);
            if (hFound != NULL)
                return hFound;
        } else if (::GetMenuItemID(hMenu, i) == nID) {
            return hMenu;
        }
    }
    return NULL;
}
} // namespace

void CWnd::OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMeasureItemStruct)
{
    if (lpMeasureItemStruct->CtlType == ODT_MENU) {
        // The message names only the item: its menu is the one being tracked, or this window's.
        _AFX_THREAD_STATE* pState = AfxGetThreadState();
        HMENU hMenu = FindMenuOfItem(pState->m_hTrackingMenu, lpMeasureItemStruct->itemID);
        if (hMenu == NULL)
            hMenu = FindMenuOfItem(::GetMenu(m_hWnd), lpMeasureItemStruct->itemID);
        CMenu* pMenu = CMenu::FromHandlePermanent(hMenu);
        if (pMenu != NULL) {
            pMenu->MeasureItem(lpMeasureItemStruct);
            return;
        }
    } else {
        // WM_MEASUREITEM comes before the control's window may be known by its handle in a
        // dialog; the control is found by its id.
        HWND hWndChild = ::GetDlgItem(m_hWnd, nIDCtl);
        if (hWndChild != NULL && ReflectLastMsg(hWndChild))
            return;
    }
    Default();
}

void CWnd::OnDeleteItem(int, LPDELETEITEMSTRUCT lpDeleteItemStruct)
{
    if (ReflectLastMsg(lpDeleteItemStruct->hwndItem))
        return;
    Default();
}

int CWnd::OnCompareItem(int, LPCOMPAREITEMSTRUCT lpCompareItemStruct)
{
    LRESULT lResult = 0;
    if (ReflectLastMsg(lpCompareItemStruct->hwndItem, &lResult))
        return (int)lResult;
    return (int)Default();
}

HBRUSH CWnd::OnCtlColor(CDC*, CWnd* pWnd, UINT)
{
    LRESULT lResult = 0;
    if (pWnd != NULL && ReflectLastMsg(pWnd->m_hWnd, &lResult))
        return (HBRUSH)lResult;
    return (HBRUSH)Default();
}

void CWnd::OnHScroll(UINT, UINT, CScrollBar* pScrollBar)
{
    if (pScrollBar != NULL && ReflectLastMsg(((CWnd*)pScrollBar)->m_hWnd))
        return;
    Default();
}

void CWnd::OnVScroll(UINT, UINT, CScrollBar* pScrollBar)
{
    if (pScrollBar != NULL && ReflectLastMsg(((CWnd*)pScrollBar)->m_hWnd))
        return;
    Default();
}

void CWnd::OnParentNotify(UINT message, LPARAM lParam)
{
    if ((LOWORD(message) == WM_CREATE || LOWORD(message) == WM_DESTROY) && ReflectLastMsg((HWND)lParam))
        return;
    Default();
}

int CWnd::OnCharToItem(UINT, CListBox* pListBox, UINT)
{
    LRESULT lResult = 0;
    if (pListBox != NULL && ReflectLastMsg(((CWnd*)pListBox)->m_hWnd, &lResult))
        return (int)lResult;
    return (int)Default();
}

int CWnd::OnVKeyToItem(UINT, CListBox* pListBox, UINT)
{
    LRESULT lResult = 0;
    if (pListBox != NULL && ReflectLastMsg(((CWnd*)pListBox)->m_hWnd, &lResult))
        return (int)lResult;
    return (int)Default();
}

int CWnd::OnCreate(LPCREATESTRUCT) { return (int)Default(); }
BOOL CWnd::OnNcCreate(LPCREATESTRUCT) { return (BOOL)Default(); }
void CWnd::OnDestroy() { Default(); }
void CWnd::OnPaint() { Default(); }
void CWnd::OnNcPaint() { Default(); }
void CWnd::OnClose() { Default(); }
void CWnd::OnCancelMode() { Default(); }
void CWnd::OnSysColorChange() { Default(); }
void CWnd::OnTimeChange() { Default(); }
void CWnd::OnFontChange() { Default(); }
void CWnd::OnChildActivate() { Default(); }
void CWnd::OnSize(UINT, int, int) { Default(); }
void CWnd::OnMove(int, int) { Default(); }
void CWnd::OnTimer(UINT_PTR) { Default(); }
void CWnd::OnMouseMove(UINT, CPoint) { Default(); }
void CWnd::OnLButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnLButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnLButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnRButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnRButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnRButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnMButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnMButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnMButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnNcMouseMove(UINT, CPoint) { Default(); }
void CWnd::OnNcLButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnNcLButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnNcLButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnNcRButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnNcRButtonUp(UINT, CPoint) { Default(); }
BOOL CWnd::OnMouseWheel(UINT, short, CPoint) { return (BOOL)Default(); }
void CWnd::OnKeyDown(UINT, UINT, UINT) { Default(); }
void CWnd::OnKeyUp(UINT, UINT, UINT) { Default(); }
void CWnd::OnChar(UINT, UINT, UINT) { Default(); }
void CWnd::OnDeadChar(UINT, UINT, UINT) { Default(); }
void CWnd::OnSysKeyDown(UINT, UINT, UINT) { Default(); }
void CWnd::OnSysKeyUp(UINT, UINT, UINT) { Default(); }
void CWnd::OnSysChar(UINT, UINT, UINT) { Default(); }
void CWnd::OnSetFocus(CWnd*) { Default(); }
void CWnd::OnKillFocus(CWnd*) { Default(); }
void CWnd::OnCaptureChanged(CWnd*) { Default(); }
void CWnd::OnPaletteChanged(CWnd*) { Default(); }
BOOL CWnd::OnEraseBkgnd(CDC*) { return (BOOL)Default(); }
BOOL CWnd::OnSetCursor(CWnd*, UINT, UINT) { return (BOOL)Default(); }
void CWnd::OnShowWindow(BOOL, UINT) { Default(); }
void CWnd::OnActivate(UINT, CWnd*, BOOL) { Default(); }
void CWnd::OnActivateApp(BOOL, DWORD) { Default(); }
void CWnd::OnGetMinMaxInfo(MINMAXINFO*) { Default(); }
void CWnd::OnWindowPosChanging(WINDOWPOS*) { Default(); }
void CWnd::OnWindowPosChanged(WINDOWPOS*) { Default(); }
void CWnd::OnDropFiles(HDROP) { Default(); }
void CWnd::OnStyleChanged(int, LPSTYLESTRUCT) { Default(); }
void CWnd::OnStyleChanging(int, LPSTYLESTRUCT) { Default(); }
void CWnd::OnContextMenu(CWnd*, CPoint) { Default(); }
LRESULT CWnd::OnNcHitTest(CPoint) { return (LRESULT)Default(); }
void CWnd::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS*) { Default(); }
UINT CWnd::OnGetDlgCode() { return (UINT)Default(); }
void CWnd::OnInitMenu(CMenu*) { Default(); }
void CWnd::OnInitMenuPopup(CMenu*, UINT, BOOL) { Default(); }
void CWnd::OnMenuSelect(UINT, UINT, HMENU) { Default(); }
LRESULT CWnd::OnMenuChar(UINT, UINT, CMenu*) { return (LRESULT)Default(); }
void CWnd::OnSettingChange(UINT, LPCTSTR) { Default(); }
int CWnd::OnMouseActivate(CWnd*, UINT, UINT) { return (int)Default(); }
void CWnd::OnSysCommand(UINT, LPARAM) { Default(); }
void CWnd::OnEnable(BOOL) { Default(); }
void CWnd::OnEndSession(BOOL) { Default(); }
void CWnd::OnEnterMenuLoop(BOOL) { Default(); }
void CWnd::OnExitMenuLoop(BOOL) { Default(); }
BOOL CWnd::OnQueryEndSession() { return (BOOL)Default(); }
BOOL CWnd::OnQueryNewPalette() { return (BOOL)Default(); }
BOOL CWnd::OnNcActivate(BOOL) { return (BOOL)Default(); }
void CWnd::OnSizing(UINT, LPRECT) { Default(); }
void CWnd::OnEnterIdle(UINT, CWnd*) { Default(); }
BOOL CWnd::OnCopyData(CWnd*, COPYDATASTRUCT*) { return (BOOL)Default(); }
BOOL CWnd::OnHelpInfo(HELPINFO*) { return (BOOL)Default(); }

// ---- translation and sending -----------------------------------------------------------------

BOOL CWnd::PreTranslateMessage(MSG* pMsg)
{
    // mouse messages go to the tooltip control (they may show or hide a tip)
    if (m_nFlags & WF_TOOLTIPS)
        FilterToolTipMessage(pMsg);
    return FALSE;
}

BOOL PASCAL CWnd::WalkPreTranslateTree(HWND hWndStop, MSG* pMsg)
{
    for (HWND hWnd = pMsg->hwnd; hWnd != NULL; hWnd = ::GetParent(hWnd)) {
        CWnd* pWnd = FromHandlePermanent(hWnd);
        if (pWnd != NULL && pWnd->PreTranslateMessage(pMsg))
            return TRUE;
        if (hWnd == hWndStop)
            break;
    }
    return FALSE;
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::SendMessageA(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::PostMessageA(m_hWnd, message, wParam, lParam);
}

void CWnd::SendMessageToDescendants(UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep, BOOL bOnlyPerm)
{
    SendMessageToDescendants(m_hWnd, message, wParam, lParam, bDeep, bOnlyPerm);
}

void PASCAL CWnd::SendMessageToDescendants(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep,
                                           BOOL bOnlyPerm)
{
    for (HWND hWndChild = ::GetTopWindow(hWnd); hWndChild != NULL; hWndChild = ::GetWindow(hWndChild, GW_HWNDNEXT)) {
        if (bOnlyPerm) {
            CWnd* pWnd = FromHandlePermanent(hWndChild);
            if (pWnd != NULL)
                AfxCallWndProc(pWnd, pWnd->m_hWnd, message, wParam, lParam);
        } else {
            ::SendMessageA(hWndChild, message, wParam, lParam);
        }
        if (bDeep && ::GetTopWindow(hWndChild) != NULL)
            SendMessageToDescendants(hWndChild, message, wParam, lParam, bDeep, bOnlyPerm);
    }
}

void CWnd::UpdateDialogControls(CCmdTarget* pTarget, BOOL bDisableIfNoHndler)
{
    CCmdUI state;
    CWnd wndTemp;
    for (HWND hWndChild = ::GetTopWindow(m_hWnd); hWndChild != NULL; hWndChild = ::GetWindow(hWndChild, GW_HWNDNEXT)) {
        state.m_nID = (UINT)::GetDlgCtrlID(hWndChild);
        // A control with an update handler of its own keeps its state to itself.
        CWnd* pCtrl = FromHandlePermanent(hWndChild);
        if (pCtrl != NULL) {
            state.m_pOther = pCtrl;
            if (pCtrl->OnCmdMsg(0, MAKELONG(0xFFFF, WM_COMMAND + WM_REFLECT_BASE), &state, NULL))
                continue;
        } else {
            wndTemp.m_hWnd = hWndChild;
            state.m_pOther = &wndTemp;
        }
        // Only push buttons are disabled for want of a handler (check boxes and radio buttons
        // keep their state for the dialog's data).
        BOOL bAutoDisable = bDisableIfNoHndler &&
                            (::SendMessageA(hWndChild, WM_GETDLGCODE, 0, 0) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON));
        state.DoUpdate(pTarget, bAutoDisable);
    }
    wndTemp.m_hWnd = NULL;
}

// ---- modal loop --------------------------------------------------------------------------------

BOOL CWnd::ContinueModal() { return (m_nFlags & WF_CONTINUEMODAL) != 0; }

void CWnd::EndModalLoop(int nResult)
{
    m_nModalResult = nResult;
    if (m_nFlags & WF_CONTINUEMODAL) {
        m_nFlags &= ~WF_CONTINUEMODAL;
        PostMessage(WM_NULL); // wakes the loop up
    }
}

int CWnd::RunModalLoop(DWORD dwFlags)
{
    BOOL bIdle = TRUE;
    LONG lIdleCount = 0;
    BOOL bShowIdle = (dwFlags & MLF_SHOWONIDLE) && !(GetStyle() & WS_VISIBLE);
    HWND hWndParent = ::GetParent(m_hWnd);
    m_nFlags |= (WF_MODALLOOP | WF_CONTINUEMODAL);
    _AFX_THREAD_STATE* pState = AfxGetThreadState();
    MSG* pMsg = &pState->m_msgCur;

    for (;;) {
        // idle time: show the window, tell the parent, let the window update its controls
        while (bIdle && !::PeekMessageA(pMsg, NULL, 0, 0, PM_NOREMOVE)) {
            if (bShowIdle) {
                ShowWindow(SW_SHOWNORMAL);
                UpdateWindow();
                bShowIdle = FALSE;
            }
            if (!(dwFlags & MLF_NOIDLEMSG) && hWndParent != NULL && lIdleCount == 0)
                ::SendMessageA(hWndParent, WM_ENTERIDLE, MSGF_DIALOGBOX, (LPARAM)m_hWnd);
            if ((dwFlags & MLF_NOKICKIDLE) || !SendMessage(WM_KICKIDLE, MSGF_DIALOGBOX, lIdleCount++))
                bIdle = FALSE;
        }
        // messages until the queue is empty
        do {
            if (!AfxPumpMessage()) {
                // WM_QUIT ends the loop and stays for the loop outside
                AfxPostQuitMessage((int)pMsg->wParam);
                m_nFlags &= ~(WF_MODALLOOP | WF_CONTINUEMODAL);
                return -1;
            }
            if (bShowIdle && (pMsg->message == 0x118 || pMsg->message == WM_SYSKEYDOWN)) {
                ShowWindow(SW_SHOWNORMAL);
                UpdateWindow();
                bShowIdle = FALSE;
            }
            // A window destroyed without EndDialog/EndModalLoop ends its loop too (instead of
            // waiting for ever for an end that cannot come).
            if (!ContinueModal() || m_hWnd == NULL)
                goto ExitModal;
            if (AfxIsIdleMessage(pMsg)) {
                bIdle = TRUE;
                lIdleCount = 0;
            }
        } while (::PeekMessageA(pMsg, NULL, 0, 0, PM_NOREMOVE));
        if (!ContinueModal() || m_hWnd == NULL)
            break;
    }
ExitModal:
    m_nFlags &= ~(WF_MODALLOOP | WF_CONTINUEMODAL);
    return m_nModalResult;
}

// ---- dialog data -------------------------------------------------------------------------------

BOOL CWnd::UpdateData(BOOL bSaveAndValidate)
{
    CDataExchange dx(this, bSaveAndValidate);
    // Controls report changes while they are filled; the dialog must not take them for the user's.
    _AFX_THREAD_STATE* pState = AfxGetThreadState();
    HWND hWndOldLockout = pState->m_hLockoutNotifyWindow;
    pState->m_hLockoutNotifyWindow = m_hWnd;
    BOOL bOK = FALSE;
    try {
        DoDataExchange(&dx);
        bOK = TRUE;
    } catch (CUserException* e) {
        // the user has been told already (DDV box)
        e->Delete();
    } catch (CException* e) {
        e->ReportError(MB_ICONEXCLAMATION, AFX_IDP_INTERNAL_FAILURE);
        e->Delete();
    }
    pState->m_hLockoutNotifyWindow = hWndOldLockout;
    return bOK;
}

void CWnd::DoDataExchange(CDataExchange*) {}

// ---- relations ---------------------------------------------------------------------------------

CWnd* CWnd::GetParent() const { return FromHandle(::GetParent(m_hWnd)); }

CWnd* CWnd::SetParent(CWnd* pWndNewParent) { return FromHandle(::SetParent(m_hWnd, pWndNewParent->GetSafeHwnd())); }

CWnd* CWnd::GetOwner() const { return m_hWndOwner != NULL ? FromHandle(m_hWndOwner) : GetParent(); }

void CWnd::SetOwner(CWnd* pOwnerWnd) { m_hWndOwner = pOwnerWnd->GetSafeHwnd(); }

namespace {
// The last window of the chain that pfnStep walks from hWnd (hWnd itself when the first step
// finds nothing).
HWND Climb(HWND hWnd, HWND (*pfnStep)(HWND))
{
    HWND hWndNext;
    while ((hWndNext = pfnStep(hWnd)) != NULL)
        hWnd = hWndNext;
    return hWnd;
}

HWND OwnerOf(HWND hWnd) { return ::GetWindow(hWnd, GW_OWNER); }

HWND ParentOfChild(HWND hWnd) { return (::GetWindowLongA(hWnd, GWL_STYLE) & WS_CHILD) ? ::GetParent(hWnd) : NULL; }
} // namespace

CWnd* CWnd::GetTopLevelParent() const { return m_hWnd == NULL ? NULL : FromHandle(Climb(m_hWnd, &ParentOrOwner)); }

CWnd* CWnd::GetTopLevelOwner() const { return m_hWnd == NULL ? NULL : FromHandle(Climb(m_hWnd, &OwnerOf)); }

CWnd* CWnd::GetParentOwner() const { return m_hWnd == NULL ? NULL : FromHandle(Climb(m_hWnd, &ParentOfChild)); }

CWnd* PASCAL CWnd::GetSafeOwner(CWnd* pParent, HWND* pWndTop) { return FromHandle(AfxGetSafeOwner(pParent, pWndTop)); }

HWND AFXAPI AfxGetSafeOwner(CWnd* pParent, HWND* pWndTop)
{
    // (not through GetSafeHwnd: a member call would let the compiler drop the NULL tests below)
    HWND hWnd = pParent != NULL ? pParent->m_hWnd : NULL;
    if (hWnd == NULL) {
        CWnd* pMain = AfxGetMainWnd();
        hWnd = pMain != NULL ? pMain->m_hWnd : NULL;
    }
    // A child window cannot own a popup: take its top-level window.
    HWND hWndTop = hWnd;
    while (hWndTop != NULL && (::GetWindowLongA(hWndTop, GWL_STYLE) & WS_CHILD))
        hWndTop = ::GetParent(hWndTop);
    if (hWndTop != NULL) {
        HWND hWndOwner;
        while ((hWndOwner = ::GetWindow(hWndTop, GW_OWNER)) != NULL && pParent == NULL)
            hWndTop = hWndOwner;
    }
    // Without a parent of its own the box belongs to what the user works with now.
    if (pParent == NULL && hWndTop != NULL)
        hWnd = ::GetLastActivePopup(hWndTop);
    else
        hWnd = hWndTop;
    if (pWndTop != NULL) {
        if (hWndTop != NULL && ::IsWindowEnabled(hWndTop) && hWndTop != hWnd) {
            *pWndTop = hWndTop;
            ::EnableWindow(hWndTop, FALSE);
        } else {
            *pWndTop = NULL;
        }
    }
    return hWnd;
}

CWnd* CWnd::GetDlgItem(int nID) const { return FromHandle(::GetDlgItem(m_hWnd, nID)); }

void CWnd::GetDlgItem(int nID, HWND* phWnd) const { *phWnd = ::GetDlgItem(m_hWnd, nID); }

CWnd* CWnd::GetDescendantWindow(int nID, BOOL bOnlyPerm) const
{
    // the direct children first
    HWND hWndChild = ::GetDlgItem(m_hWnd, nID);
    if (hWndChild != NULL) {
        if (::GetTopWindow(hWndChild) != NULL) {
            // a child with children of its own may hide a permanent descendant of the same id
            CWnd wndTemp;
            wndTemp.m_hWnd = hWndChild;
            CWnd* pWnd = wndTemp.GetDescendantWindow(nID, bOnlyPerm);
            wndTemp.m_hWnd = NULL;
            if (pWnd != NULL)
                return pWnd;
        }
        if (!bOnlyPerm)
            return FromHandle(hWndChild);
        CWnd* pWnd = FromHandlePermanent(hWndChild);
        if (pWnd != NULL)
            return pWnd;
    }
    for (hWndChild = ::GetTopWindow(m_hWnd); hWndChild != NULL; hWndChild = ::GetWindow(hWndChild, GW_HWNDNEXT)) {
        if (::GetTopWindow(hWndChild) != NULL) {
            CWnd wndTemp;
            wndTemp.m_hWnd = hWndChild;
            CWnd* pWnd = wndTemp.GetDescendantWindow(nID, bOnlyPerm);
            wndTemp.m_hWnd = NULL;
            if (pWnd != NULL)
                return pWnd;
        }
    }
    return NULL;
}

int CWnd::GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }

int CWnd::SetDlgCtrlID(int nID) { return (int)::SetWindowLongPtrA(m_hWnd, GWLP_ID, nID); }

CWnd* CWnd::GetWindow(UINT nCmd) const { return FromHandle(::GetWindow(m_hWnd, nCmd)); }

CWnd* CWnd::GetNextWindow(UINT nFlag) const { return FromHandle(::GetWindow(m_hWnd, nFlag)); }

CWnd* CWnd::GetTopWindow() const { return FromHandle(::GetTopWindow(m_hWnd)); }

CWnd* CWnd::GetLastActivePopup() const { return FromHandle(::GetLastActivePopup(m_hWnd)); }

BOOL CWnd::IsChild(const CWnd* pWnd) const { return ::IsChild(m_hWnd, pWnd->GetSafeHwnd()); }

CWnd* CWnd::ChildWindowFromPoint(POINT point) const { return FromHandle(::ChildWindowFromPoint(m_hWnd, point)); }

CWnd* PASCAL CWnd::WindowFromPoint(POINT point) { return FromHandle(::WindowFromPoint(point)); }

CWnd* PASCAL CWnd::GetDesktopWindow() { return FromHandle(::GetDesktopWindow()); }

CWnd* PASCAL CWnd::FindWindow(LPCTSTR lpszClassName, LPCTSTR lpszWindowName)
{
    return FromHandle(::FindWindowA(lpszClassName, lpszWindowName));
}

// ---- state and style ---------------------------------------------------------------------------

DWORD CWnd::GetStyle() const { return (DWORD)::GetWindowLongA(m_hWnd, GWL_STYLE); }

DWORD CWnd::GetExStyle() const { return (DWORD)::GetWindowLongA(m_hWnd, GWL_EXSTYLE); }

namespace {
BOOL ModifyStyleOf(HWND hWnd, int nStyleOffset, DWORD dwRemove, DWORD dwAdd, UINT nFlags)
{
    DWORD dwStyle = (DWORD)::GetWindowLongA(hWnd, nStyleOffset);
    DWORD dwNewStyle = (dwStyle & ~dwRemove) | dwAdd;
    if (dwStyle == dwNewStyle)
        return FALSE;
    ::SetWindowLongA(hWnd, nStyleOffset, (LONG)dwNewStyle);
    if (nFlags != 0)
        ::SetWindowPos(hWnd, NULL, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | nFlags);
    return TRUE;
}
} // namespace

BOOL PASCAL CWnd::ModifyStyle(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags)
{
    return ModifyStyleOf(hWnd, GWL_STYLE, dwRemove, dwAdd, nFlags);
}

BOOL PASCAL CWnd::ModifyStyleEx(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags)
{
    return ModifyStyleOf(hWnd, GWL_EXSTYLE, dwRemove, dwAdd, nFlags);
}

BOOL CWnd::ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags) { return ModifyStyle(m_hWnd, dwRemove, dwAdd, nFlags); }

BOOL CWnd::ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags) { return ModifyStyleEx(m_hWnd, dwRemove, dwAdd, nFlags); }

BOOL CWnd::ShowWindow(int nCmdShow) { return ::ShowWindow(m_hWnd, nCmdShow); }

BOOL CWnd::IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }

BOOL CWnd::EnableWindow(BOOL bEnable) { return ::EnableWindow(m_hWnd, bEnable); }

BOOL CWnd::IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }

BOOL CWnd::IsIconic() const { return ::IsIconic(m_hWnd); }

BOOL CWnd::IsZoomed() const { return ::IsZoomed(m_hWnd); }

// ---- size and position -------------------------------------------------------------------------

void CWnd::MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint) { ::MoveWindow(m_hWnd, x, y, nWidth, nHeight, bRepaint); }

void CWnd::MoveWindow(LPCRECT lpRect, BOOL bRepaint)
{
    ::MoveWindow(m_hWnd, lpRect->left, lpRect->top, lpRect->right - lpRect->left, lpRect->bottom - lpRect->top, bRepaint);
}

BOOL CWnd::SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags)
{
    // The special positions (wndTop, wndBottom, ...) are passed as pointers of their handles.
    return ::SetWindowPos(m_hWnd, (HWND)pWndInsertAfter == NULL ? NULL : pWndInsertAfter->m_hWnd, x, y, cx, cy, nFlags);
}

void CWnd::GetWindowRect(LPRECT lpRect) const { ::GetWindowRect(m_hWnd, lpRect); }

void CWnd::GetClientRect(LPRECT lpRect) const { ::GetClientRect(m_hWnd, lpRect); }

void CWnd::ClientToScreen(LPPOINT lpPoint) const { ::ClientToScreen(m_hWnd, lpPoint); }

void CWnd::ClientToScreen(LPRECT lpRect) const { ::MapWindowPoints(m_hWnd, NULL, (LPPOINT)lpRect, 2); }

void CWnd::ScreenToClient(LPPOINT lpPoint) const { ::ScreenToClient(m_hWnd, lpPoint); }

void CWnd::ScreenToClient(LPRECT lpRect) const { ::MapWindowPoints(NULL, m_hWnd, (LPPOINT)lpRect, 2); }

void CWnd::MapWindowPoints(CWnd* pwndTo, LPPOINT lpPoint, UINT nCount) const
{
    ::MapWindowPoints(m_hWnd, pwndTo->GetSafeHwnd(), lpPoint, nCount);
}

void CWnd::MapWindowPoints(CWnd* pwndTo, LPRECT lpRect) const { ::MapWindowPoints(m_hWnd, pwndTo->GetSafeHwnd(), (LPPOINT)lpRect, 2); }

void CWnd::CenterWindow(CWnd* pAlternateOwner)
{
    // Centred over the owner (or parent), or over the work area when there is none or it is
    // hidden or minimised; kept inside the work area.
    HWND hWndCenter = pAlternateOwner != NULL ? pAlternateOwner->m_hWnd
                      : (GetStyle() & WS_CHILD) ? ::GetParent(m_hWnd)
                                                : ::GetWindow(m_hWnd, GW_OWNER);
    CRect rcDlg;
    GetWindowRect(&rcDlg);
    CRect rcArea;
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &rcArea, 0);
    CRect rcCenter;
    if (GetStyle() & WS_CHILD) {
        HWND hWndParent = ::GetParent(m_hWnd);
        ::GetClientRect(hWndParent, &rcArea);
        ::GetClientRect(hWndCenter, &rcCenter);
        ::MapWindowPoints(hWndCenter, hWndParent, (LPPOINT)&rcCenter, 2);
    } else if (hWndCenter != NULL && ::IsWindowVisible(hWndCenter) && !::IsIconic(hWndCenter)) {
        ::GetWindowRect(hWndCenter, &rcCenter);
    } else {
        rcCenter = rcArea;
    }
    int xLeft = (rcCenter.left + rcCenter.right) / 2 - rcDlg.Width() / 2;
    int yTop = (rcCenter.top + rcCenter.bottom) / 2 - rcDlg.Height() / 2;
    if (xLeft + rcDlg.Width() > rcArea.right)
        xLeft = rcArea.right - rcDlg.Width();
    if (xLeft < rcArea.left)
        xLeft = rcArea.left;
    if (yTop + rcDlg.Height() > rcArea.bottom)
        yTop = rcArea.bottom - rcDlg.Height();
    if (yTop < rcArea.top)
        yTop = rcArea.top;
    SetWindowPos(NULL, xLeft, yTop, -1, -1, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CWnd::BringWindowToTop() { ::BringWindowToTop(m_hWnd); }

// ---- painting ----------------------------------------------------------------------------------

CDC* CWnd::GetDC() { return CDC::FromHandle(::GetDC(m_hWnd)); }

CDC* CWnd::GetWindowDC() { return CDC::FromHandle(::GetWindowDC(m_hWnd)); }

int CWnd::ReleaseDC(CDC* pDC) { return ::ReleaseDC(m_hWnd, pDC->m_hDC); }

CDC* CWnd::BeginPaint(LPPAINTSTRUCT lpPaint) { return CDC::FromHandle(::BeginPaint(m_hWnd, lpPaint)); }

void CWnd::EndPaint(LPPAINTSTRUCT lpPaint) { ::EndPaint(m_hWnd, lpPaint); }

void CWnd::UpdateWindow() { ::UpdateWindow(m_hWnd); }

void CWnd::Invalidate(BOOL bErase) { ::InvalidateRect(m_hWnd, NULL, bErase); }

void CWnd::InvalidateRect(LPCRECT lpRect, BOOL bErase) { ::InvalidateRect(m_hWnd, lpRect, bErase); }

void CWnd::ValidateRect(LPCRECT lpRect) { ::ValidateRect(m_hWnd, lpRect); }

BOOL CWnd::RedrawWindow(LPCRECT lpRectUpdate, HRGN hrgnUpdate, UINT flags)
{
    return ::RedrawWindow(m_hWnd, lpRectUpdate, hrgnUpdate, flags);
}

void CWnd::SetRedraw(BOOL bRedraw) { ::SendMessageA(m_hWnd, WM_SETREDRAW, bRedraw, 0); }

// ---- texts and fonts ---------------------------------------------------------------------------

void CWnd::SetWindowText(LPCTSTR lpszString) { ::SetWindowTextA(m_hWnd, lpszString); }

int CWnd::GetWindowText(LPTSTR lpszStringBuf, int nMaxCount) const { return ::GetWindowTextA(m_hWnd, lpszStringBuf, nMaxCount); }

void CWnd::GetWindowText(CString& rString) const
{
    int nLength = ::GetWindowTextLengthA(m_hWnd);
    // The length may count more bytes than the text has (it is an upper bound).
    int nCopied = ::GetWindowTextA(m_hWnd, rString.GetBuffer(nLength), nLength + 1);
    rString.ReleaseBuffer(nCopied);
}

int CWnd::GetWindowTextLength() const { return ::GetWindowTextLengthA(m_hWnd); }

void CWnd::SetFont(CFont* pFont, BOOL bRedraw) { ::SendMessageA(m_hWnd, WM_SETFONT, (WPARAM)pFont->GetSafeHandle(), bRedraw); }

CFont* CWnd::GetFont() const { return CFont::FromHandle((HFONT)::SendMessageA(m_hWnd, WM_GETFONT, 0, 0)); }

// ---- dialog items ------------------------------------------------------------------------------

void CWnd::SetDlgItemText(int nID, LPCTSTR lpszString) { ::SetDlgItemTextA(m_hWnd, nID, lpszString); }

int CWnd::GetDlgItemText(int nID, LPTSTR lpStr, int nMaxCount) const { return (int)::GetDlgItemTextA(m_hWnd, nID, lpStr, nMaxCount); }

int CWnd::GetDlgItemText(int nID, CString& rString) const
{
    rString.Empty();
    HWND hWnd = ::GetDlgItem(m_hWnd, nID);
    if (hWnd != NULL) {
        CWnd wndTemp;
        wndTemp.m_hWnd = hWnd;
        wndTemp.GetWindowText(rString);
        wndTemp.m_hWnd = NULL;
    }
    return rString.GetLength();
}

void CWnd::SetDlgItemInt(int nID, UINT nValue, BOOL bSigned) { ::SetDlgItemInt(m_hWnd, nID, nValue, bSigned); }

UINT CWnd::GetDlgItemInt(int nID, BOOL* lpTrans, BOOL bSigned) const { return ::GetDlgItemInt(m_hWnd, nID, lpTrans, bSigned); }

LRESULT CWnd::SendDlgItemMessage(int nID, UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::SendDlgItemMessageA(m_hWnd, nID, message, wParam, lParam);
}

void CWnd::CheckDlgButton(int nIDButton, UINT nCheck) { ::CheckDlgButton(m_hWnd, nIDButton, nCheck); }

UINT CWnd::IsDlgButtonChecked(int nIDButton) const { return ::IsDlgButtonChecked(m_hWnd, nIDButton); }

void CWnd::CheckRadioButton(int nIDFirstButton, int nIDLastButton, int nIDCheckButton)
{
    ::CheckRadioButton(m_hWnd, nIDFirstButton, nIDLastButton, nIDCheckButton);
}

int CWnd::GetCheckedRadioButton(int nIDFirstButton, int nIDLastButton)
{
    for (int nID = nIDFirstButton; nID <= nIDLastButton; nID++) {
        if (IsDlgButtonChecked(nID))
            return nID;
    }
    return 0;
}

// ---- focus, capture, activation, timers ------------------------------------------------------

CWnd* PASCAL CWnd::GetFocus() { return FromHandle(::GetFocus()); }

CWnd* CWnd::SetFocus() { return FromHandle(::SetFocus(m_hWnd)); }

CWnd* PASCAL CWnd::GetCapture() { return FromHandle(::GetCapture()); }

CWnd* CWnd::SetCapture() { return FromHandle(::SetCapture(m_hWnd)); }

CWnd* PASCAL CWnd::GetActiveWindow() { return FromHandle(::GetActiveWindow()); }

CWnd* CWnd::SetActiveWindow() { return FromHandle(::SetActiveWindow(m_hWnd)); }

CWnd* PASCAL CWnd::GetForegroundWindow() { return FromHandle(::GetForegroundWindow()); }

BOOL CWnd::SetForegroundWindow() { return ::SetForegroundWindow(m_hWnd); }

UINT_PTR CWnd::SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC lpfnTimer) { return ::SetTimer(m_hWnd, nIDEvent, nElapse, lpfnTimer); }

BOOL CWnd::KillTimer(UINT_PTR nIDEvent) { return ::KillTimer(m_hWnd, nIDEvent); }

// ---- scrolling ---------------------------------------------------------------------------------

int CWnd::GetScrollPos(int nBar) const { return ::GetScrollPos(m_hWnd, nBar); }

int CWnd::SetScrollPos(int nBar, int nPos, BOOL bRedraw) { return ::SetScrollPos(m_hWnd, nBar, nPos, bRedraw); }

void CWnd::GetScrollRange(int nBar, LPINT lpMinPos, LPINT lpMaxPos) const { ::GetScrollRange(m_hWnd, nBar, lpMinPos, lpMaxPos); }

void CWnd::SetScrollRange(int nBar, int nMinPos, int nMaxPos, BOOL bRedraw) { ::SetScrollRange(m_hWnd, nBar, nMinPos, nMaxPos, bRedraw); }

BOOL CWnd::GetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, UINT nMask)
{
    lpScrollInfo->cbSize = sizeof(SCROLLINFO);
    lpScrollInfo->fMask = nMask;
    return ::GetScrollInfo(m_hWnd, nBar, lpScrollInfo);
}

BOOL CWnd::SetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, BOOL bRedraw)
{
    lpScrollInfo->cbSize = sizeof(SCROLLINFO);
    ::SetScrollInfo(m_hWnd, nBar, lpScrollInfo, bRedraw);
    return TRUE;
}

int CWnd::GetScrollLimit(int nBar)
{
    SCROLLINFO info;
    if (!GetScrollInfo(nBar, &info, SIF_RANGE | SIF_PAGE))
        return 0;
    int nMax = info.nMax;
    if (info.nPage > 1)
        nMax -= (int)info.nPage - 1;
    return nMax;
}

void CWnd::ShowScrollBar(UINT nBar, BOOL bShow) { ::ShowScrollBar(m_hWnd, (int)nBar, bShow); }

void CWnd::ScrollWindow(int xAmount, int yAmount, LPCRECT lpRect, LPCRECT lpClipRect)
{
    ::ScrollWindow(m_hWnd, xAmount, yAmount, lpRect, lpClipRect);
}

// ---- menus -------------------------------------------------------------------------------------

CMenu* CWnd::GetMenu() const { return CMenu::FromHandle(::GetMenu(m_hWnd)); }

BOOL CWnd::SetMenu(CMenu* pMenu) { return ::SetMenu(m_hWnd, pMenu->GetSafeHmenu()); }

void CWnd::DrawMenuBar() { ::DrawMenuBar(m_hWnd); }

CMenu* CWnd::GetSystemMenu(BOOL bRevert) const { return CMenu::FromHandle(::GetSystemMenu(m_hWnd, bRevert)); }

int CWnd::MessageBox(LPCTSTR lpszText, LPCTSTR lpszCaption, UINT nType)
{
    if (lpszCaption == NULL)
        lpszCaption = AfxGetAppName();
    return ::MessageBoxA(m_hWnd, lpszText, lpszCaption != NULL ? lpszCaption : "", nType);
}

// ---- frames and their layout ----------------------------------------------------------------

BOOL CWnd::IsFrameWnd() const { return FALSE; }

CScrollBar* CWnd::GetScrollBarCtrl(int) const { return NULL; }

void CWnd::RepositionBars(UINT nIDFirst, UINT nIDLast, UINT nIDLeftOver, UINT nFlag, LPRECT lpRectParam, LPCRECT lpRectClient,
                          BOOL bStretch)
{
    UINT nMode = nFlag & ~(UINT)reposNoPosLeftOver;
    AFX_SIZEPARENTPARAMS layout;
    layout.bStretch = bStretch;
    layout.sizeTotal.cx = layout.sizeTotal.cy = 0;
    if (lpRectClient != NULL)
        layout.rect = *lpRectClient;
    else
        ::GetClientRect(m_hWnd, &layout.rect);
    // A query moves nothing: the bars see no deferred moves and only report their sizes.
    layout.hDWP = nMode == reposQuery ? NULL : ::BeginDeferWindowPos(8);

    // The bars in the order of the child windows (top of the z-order first) take their parts.
    HWND hWndLeftOver = NULL;
    for (HWND hWndChild = ::GetTopWindow(m_hWnd); hWndChild != NULL; hWndChild = ::GetWindow(hWndChild, GW_HWNDNEXT)) {
        UINT nIDC = (UINT)(WORD)::GetDlgCtrlID(hWndChild);
        if (nIDC == nIDLeftOver)
            hWndLeftOver = hWndChild;
        else if (nIDC >= nIDFirst && nIDC <= nIDLast && FromHandlePermanent(hWndChild) != NULL)
            ::SendMessageA(hWndChild, WM_SIZEPARENT, 0, (LPARAM)&layout);
    }

    if (nMode == reposQuery) {
        if (lpRectParam != NULL) {
            if (bStretch)
                *lpRectParam = layout.rect;
            else
                ::SetRect(lpRectParam, 0, 0, layout.sizeTotal.cx, layout.sizeTotal.cy);
        }
        return;
    }

    // The pane gets the rest (less the extra border the caller keeps free).
    if (nIDLeftOver != 0 && hWndLeftOver != NULL) {
        if (nMode == reposExtra && lpRectParam != NULL) {
            layout.rect.left += lpRectParam->left;
            layout.rect.top += lpRectParam->top;
            layout.rect.right -= lpRectParam->right;
            layout.rect.bottom -= lpRectParam->bottom;
        }
        if (!(nFlag & reposNoPosLeftOver)) {
            CWnd* pLeftOver = FromHandle(hWndLeftOver);
            pLeftOver->CalcWindowRect(&layout.rect);
            AfxRepositionWindow(&layout, hWndLeftOver, &layout.rect);
        }
    }
    // All windows move at once; a failed deferral moved none of them.
    if (layout.hDWP != NULL)
        ::EndDeferWindowPos(layout.hDWP);
}

void AFXAPI AfxRepositionWindow(AFX_SIZEPARENTPARAMS* lpLayout, HWND hWnd, LPCRECT lpRect)
{
    if (lpLayout != NULL && lpLayout->hDWP == NULL)
        return; // only asking
    HWND hWndParent = ::GetParent(hWnd);
    RECT rectOld;
    ::GetWindowRect(hWnd, &rectOld);
    ::MapWindowPoints(NULL, hWndParent, (LPPOINT)&rectOld, 2);
    if (::EqualRect(&rectOld, lpRect))
        return;
    int cx = lpRect->right - lpRect->left;
    int cy = lpRect->bottom - lpRect->top;
    if (lpLayout != NULL)
        lpLayout->hDWP = ::DeferWindowPos(lpLayout->hDWP, hWnd, NULL, lpRect->left, lpRect->top, cx, cy,
                                          SWP_NOACTIVATE | SWP_NOZORDER);
    else
        ::SetWindowPos(hWnd, NULL, lpRect->left, lpRect->top, cx, cy, SWP_NOACTIVATE | SWP_NOZORDER);
}

BOOL CWnd::GetWindowPlacement(WINDOWPLACEMENT* lpwndpl) const
{
    lpwndpl->length = sizeof(WINDOWPLACEMENT);
    return ::GetWindowPlacement(m_hWnd, lpwndpl);
}

BOOL CWnd::SetWindowPlacement(const WINDOWPLACEMENT* lpwndpl)
{
    // The system refuses a record whose length is not its own size (a stored record may be
    // longer); the fields are the same.
    WINDOWPLACEMENT wp = *lpwndpl;
    wp.length = sizeof(WINDOWPLACEMENT);
    return ::SetWindowPlacement(m_hWnd, &wp);
}

// ---- help --------------------------------------------------------------------------------------

void CWnd::WinHelp(DWORD_PTR dwData, UINT nCmd)
{
    CWinApp* pApp = AfxGetApp();
    BeginWaitCursor();
    // Menus, drags and captures end before the help window comes up.
    CWnd* pTop = GetTopLevelParent();
    if (pTop == NULL)
        pTop = this;
    SendMessage(WM_CANCELMODE);
    SendMessageToDescendants(WM_CANCELMODE, 0, 0, TRUE, TRUE);
    if (pTop != this) {
        pTop->SendMessage(WM_CANCELMODE);
        pTop->SendMessageToDescendants(WM_CANCELMODE, 0, 0, TRUE, TRUE);
    }
    HWND hWndCapture = ::GetCapture();
    if (hWndCapture != NULL)
        ::SendMessageA(hWndCapture, WM_CANCELMODE, 0, 0);
    LPCTSTR lpszHelpFile = pApp != NULL ? pApp->m_pszHelpFilePath : NULL;
    BOOL bStarted = ::WinHelpA(pTop->m_hWnd, lpszHelpFile, nCmd, dwData);
    EndWaitCursor();
    if (!bStarted)
        AfxMessageBox(AFX_IDP_FAILED_TO_LAUNCH_HELP);
}

// ---- tooltips ----------------------------------------------------------------------------------

namespace {

// The thread's tooltip control, made (again) when it has no window.
CToolTipCtrl* GetThreadToolTip(CWnd* pOwner)
{
    _AFX_THREAD_STATE* pState = AfxGetThreadState();
    if (pState->m_pToolTip == NULL)
        pState->m_pToolTip = new CToolTipCtrl;
    CToolTipCtrl* pTip = pState->m_pToolTip;
    if (pTip->m_hWnd == NULL) {
        AfxInitCommonControls();
        CWnd* pTop = pOwner->GetTopLevelParent();
        if (!pTip->CreateEx(0, TOOLTIPS_CLASSA, NULL, WS_POPUP | TTS_ALWAYSTIP, 0, 0, 0, 0, pTop->GetSafeHwnd(), NULL))
            return NULL;
        pState->m_pLastHit = NULL;
        pState->m_nLastHit = -1;
    }
    return pTip;
}

void RemoveLastTool(_AFX_THREAD_STATE* pState)
{
    if (pState->m_pLastHit != NULL && pState->m_pToolTip != NULL && pState->m_pToolTip->m_hWnd != NULL)
        pState->m_pToolTip->SendMessage(TTM_DELTOOLA, 0, (LPARAM)&pState->m_lastInfo);
    pState->m_pLastHit = NULL;
    pState->m_nLastHit = -1;
}

} // namespace

BOOL CWnd::EnableToolTips(BOOL bEnable)
{
    if (!bEnable) {
        m_nFlags &= ~WF_TOOLTIPS;
        _AFX_THREAD_STATE* pState = AfxGetThreadState();
        if (pState->m_pLastHit == this)
            RemoveLastTool(pState);
        return TRUE;
    }
    if (GetThreadToolTip(this) == NULL)
        return FALSE;
    m_nFlags |= WF_TOOLTIPS;
    return TRUE;
}

void PASCAL CWnd::CancelToolTips(BOOL)
{
    _AFX_THREAD_STATE* pState = AfxGetThreadState();
    if (pState->m_pToolTip != NULL && pState->m_pToolTip->m_hWnd != NULL)
        pState->m_pToolTip->SendMessage(TTM_POP);
    RemoveLastTool(pState);
}

INT_PTR CWnd::OnToolHitTest(CPoint point, TOOLINFO* pTI) const
{
    HWND hWndChild = ::ChildWindowFromPointEx(m_hWnd, point, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
    if (hWndChild == NULL || hWndChild == m_hWnd)
        return -1;
    int nID = ::GetDlgCtrlID(hWndChild);
    if (nID == 0 || nID == -1 || nID == 0xFFFF)
        return -1; // static texts without an id have no tips
    if (pTI != NULL) {
        pTI->hwnd = m_hWnd;
        pTI->uId = (UINT_PTR)hWndChild;
        pTI->uFlags |= TTF_IDISHWND;
        pTI->lpszText = LPSTR_TEXTCALLBACKA;
        if (!(::SendMessageA(hWndChild, WM_GETDLGCODE, 0, 0) & DLGC_BUTTON))
            pTI->uFlags |= TTF_NOTBUTTON | TTF_CENTERTIP;
    }
    return nID;
}

void CWnd::FilterToolTipMessage(MSG* pMsg)
{
    UINT message = pMsg->message;
    if (message != WM_MOUSEMOVE && message != WM_LBUTTONDOWN && message != WM_LBUTTONUP && message != WM_RBUTTONDOWN &&
        message != WM_RBUTTONUP && message != WM_MBUTTONDOWN && message != WM_MBUTTONUP)
        return;
    if (!(m_nFlags & WF_TOOLTIPS))
        return;
    _AFX_THREAD_STATE* pState = AfxGetThreadState();
    CToolTipCtrl* pTip = GetThreadToolTip(this);
    if (pTip == NULL)
        return;

    CPoint point = pMsg->pt;
    ScreenToClient(&point);
    TOOLINFO ti;
    memset(&ti, 0, sizeof(ti));
    ti.cbSize = sizeof(ti);
    INT_PTR nHit = OnToolHitTest(point, &ti);
    if (nHit != pState->m_nLastHit || pState->m_pLastHit != this ||
        (nHit != -1 && (ti.hwnd != pState->m_lastInfo.hwnd || ti.uId != pState->m_lastInfo.uId))) {
        RemoveLastTool(pState);
        if (nHit != -1) {
            ti.uFlags &= ~TTF_NOTBUTTON; // the library's own flag, not the control's
            pTip->SendMessage(TTM_ADDTOOLA, 0, (LPARAM)&ti);
            pTip->SendMessage(TTM_ACTIVATE, TRUE);
            pState->m_lastInfo = ti;
            pState->m_pLastHit = this;
            pState->m_nLastHit = nHit;
        }
    }
    if (nHit != -1)
        pTip->SendMessage(TTM_RELAYEVENT, 0, (LPARAM)pMsg);
}
