#include "AfxWindowLayer.h"

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

CCmdTarget::CCmdTarget() : m_dwRef(1), m_pOuterUnknown(NULL), m_bResultExpected(TRUE), m_xDispatch{NULL, NULL} {}

CCmdTarget::~CCmdTarget()
{
    // An object deleted while references are left (by its owner, not by its last release):
    // proxies of other processes may still hold the IDispatch; cut them off, so that their
    // calls fail instead of reaching a deleted object. The releases that follow find the count
    // at 0 and do nothing.
    if (m_xDispatch.m_vtbl != NULL && m_dwRef > 0) {
        m_dwRef = 0;
        ::CoDisconnectObject(reinterpret_cast<LPUNKNOWN>(&m_xDispatch), 0);
    }
}

void CCmdTarget::OnFinalRelease()
{
    // Temporary objects made while the object goes must survive its destructor.
    AfxLockTempMaps();
    delete this;
    AfxUnlockTempMaps();
}

const AFX_MSGMAP* PASCAL CCmdTarget::GetThisMessageMap()
{
    static const AFX_MSGMAP_ENTRY s_entries[] = {{0, 0, 0, 0, AfxSig_end, (AFX_PMSG)0}};
    static const AFX_MSGMAP s_map = {NULL, &s_entries[0]};
    return &s_map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const { return GetThisMessageMap(); }

const AFX_MSGMAP_ENTRY* PASCAL CCmdTarget::FindMessageEntry(const AFX_MSGMAP_ENTRY* lpEntry, UINT nMsg, UINT nCode, UINT nID)
{
    for (; lpEntry->nSig != AfxSig_end; ++lpEntry) {
        if (lpEntry->nMessage == nMsg && lpEntry->nCode == nCode && nID >= lpEntry->nID && nID <= lpEntry->nLastID)
            return lpEntry;
    }
    return NULL;
}

BOOL PASCAL CCmdTarget::DispatchCmdMsg(CCmdTarget* pTarget, UINT nID, int nCode, AFX_PMSG pfn, void* pExtra, UINT_PTR nSig,
                                       AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (pHandlerInfo != NULL) {
        pHandlerInfo->pTarget = pTarget;
        pHandlerInfo->pmf = pfn;
        return TRUE;
    }
    AFX_NOTIFY* pNotify = (AFX_NOTIFY*)pExtra;
    switch (nSig) {
    case AfxSigCmd_v:
        (pTarget->*pfn)();
        return TRUE;
    case AfxSigCmd_b:
        return (pTarget->*reinterpret_cast<BOOL (CCmdTarget::*)(UINT)>(pfn))(nID);
    case AfxSigCmd_RANGE:
        (pTarget->*reinterpret_cast<void (CCmdTarget::*)(UINT)>(pfn))(nID);
        return TRUE;
    case AfxSigCmd_bv:
        return (pTarget->*reinterpret_cast<BOOL (CCmdTarget::*)()>(pfn))();
    case AfxSigCmd_UI: {
        // The handler may ask for the command to be routed on (ContinueRouting).
        CCmdUI* pCmdUI = (CCmdUI*)pExtra;
        pCmdUI->m_bContinueRouting = FALSE;
        (pTarget->*reinterpret_cast<void (CCmdTarget::*)(CCmdUI*)>(pfn))(pCmdUI);
        BOOL bResult = !pCmdUI->m_bContinueRouting;
        pCmdUI->m_bContinueRouting = FALSE;
        return bResult;
    }
    case AfxSigNotify_v:
        (pTarget->*reinterpret_cast<void (CCmdTarget::*)(NMHDR*, LRESULT*)>(pfn))(pNotify->pNMHDR, pNotify->pResult);
        return TRUE;
    case AfxSigNotify_b:
        return (pTarget->*reinterpret_cast<BOOL (CCmdTarget::*)(NMHDR*, LRESULT*)>(pfn))(pNotify->pNMHDR, pNotify->pResult);
    case AfxSigNotify_RANGE:
        (pTarget->*reinterpret_cast<void (CCmdTarget::*)(UINT, NMHDR*, LRESULT*)>(pfn))(nID, pNotify->pNMHDR, pNotify->pResult);
        return TRUE;
    case AfxSigNotify_EX:
        return (pTarget->*reinterpret_cast<BOOL (CCmdTarget::*)(UINT, NMHDR*, LRESULT*)>(pfn))(nID, pNotify->pNMHDR,
                                                                                              pNotify->pResult);
    default:
        UNUSED(nCode);
        return FALSE;
    }
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    // Events of OLE controls go to the event sink maps (through the control container).
    if ((UINT)nCode == CN_EVENT) {
        COccManager* pOccManager = AfxGetOccManager();
        return pOccManager != NULL && pOccManager->OnEvent(this, nID, (AFX_EVENT*)pExtra, pHandlerInfo);
    }
    // The message is packed into the high word of the code; 0 means WM_COMMAND. The update code
    // (-1) is a command code of its own.
    UINT nMsg = WM_COMMAND;
    UINT nNotifyCode = (UINT)nCode;
    if ((UINT)nCode != CN_UPDATE_COMMAND_UI) {
        nMsg = HIWORD(nCode);
        nNotifyCode = LOWORD(nCode);
        if (nMsg == 0)
            nMsg = WM_COMMAND;
    } else {
        nNotifyCode = 0xFFFF;
    }
    for (const AFX_MSGMAP* pMap = GetMessageMap(); pMap != NULL;
         pMap = pMap->pfnGetBaseMap != NULL ? (*pMap->pfnGetBaseMap)() : NULL) {
        const AFX_MSGMAP_ENTRY* lpEntry = FindMessageEntry(pMap->lpEntries, nMsg, nNotifyCode, nID);
        if (lpEntry != NULL)
            return DispatchCmdMsg(this, nID, nCode, lpEntry->pfn, pExtra, lpEntry->nSig, pHandlerInfo);
    }
    return FALSE;
}

namespace {

void DoAppWaitCursor(int nCode)
{
    CWinApp* pApp = AfxGetApp();
    if (pApp != NULL)
        pApp->DoWaitCursor(nCode);
}

} // namespace

void CCmdTarget::BeginWaitCursor() { DoAppWaitCursor(1); }

void CCmdTarget::EndWaitCursor() { DoAppWaitCursor(-1); }

void CCmdTarget::RestoreWaitCursor() { DoAppWaitCursor(0); }
