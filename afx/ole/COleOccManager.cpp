#include "COleOccManager.h"

#include "AfxDispatchCall.h"

#include <string.h>

#include <string>

namespace {

WORD ReadWord(const BYTE* p)
{
    WORD w;
    memcpy(&w, p, sizeof(w));
    return w;
}

DWORD ReadDword(const BYTE* p)
{
    DWORD dw;
    memcpy(&dw, p, sizeof(dw));
    return dw;
}

// Past a name or ordinal field of a template: 0 (none), 0xFFFF and an ordinal, or a string.
const BYTE* SkipNameOrOrdinal(const BYTE* p)
{
    WORD w = ReadWord(p);
    if (w == 0)
        return p + 2;
    if (w == 0xFFFF)
        return p + 4;
    while (ReadWord(p) != 0)
        p += 2;
    return p + 2;
}

const BYTE* AlignDword(const BYTE* p, const BYTE* pBase) { return pBase + ((p - pBase + 3) & ~(ptrdiff_t)3); }

// The text of a string field, "" for none or an ordinal.
CString FieldText(const BYTE* p)
{
    WORD w = ReadWord(p);
    if (w == 0 || w == 0xFFFF)
        return CString();
    std::wstring strWide;
    for (; (w = ReadWord(p)) != 0; p += 2)
        strWide += (wchar_t)w;
    return CString(strWide.c_str());
}

// The CLSID of an item whose class is a "{...}" string.
BOOL ItemClassId(const BYTE* pClass, CLSID* pClsid)
{
    if (ReadWord(pClass) != L'{')
        return FALSE;
    std::wstring strWide;
    for (WORD w; (w = ReadWord(pClass)) != 0; pClass += 2)
        strWide += (wchar_t)w;
    return SUCCEEDED(::CLSIDFromString(strWide.c_str(), pClsid));
}

// Where an OLE control's saved state is in the DLGINIT data.
struct PersistRecord {
    UINT nID;
    BOOL bFound;
    WORD nMsg;
    const BYTE* pData;
    DWORD dwLen;
};

void FindPersistRecord(void* pContext, WORD nIDC, WORD nMsg, const BYTE* pData, DWORD dwLen)
{
    PersistRecord* pRecord = (PersistRecord*)pContext;
    if (pRecord->bFound || nIDC != pRecord->nID)
        return;
    if (nMsg != WM_OCC_LOADFROMSTREAM && nMsg != WM_OCC_LOADFROMSTORAGE && nMsg != WM_OCC_INITNEW)
        return;
    pRecord->bFound = TRUE;
    pRecord->nMsg = nMsg;
    pRecord->pData = pData;
    pRecord->dwLen = dwLen;
}

} // namespace

void AFXAPI AfxEnableControlContainer(COccManager* pOccManager)
{
    static COleOccManager s_occManager;
    AfxSetOccManager(pOccManager != NULL ? pOccManager : &s_occManager);
}

BOOL COleOccManager::SplitDialogTemplate(LPCDLGTEMPLATE lpTemplate, _AFX_OCC_DIALOG_INFO* pInfo)
{
    if (lpTemplate == NULL)
        return FALSE;
    const BYTE* pBase = (const BYTE*)lpTemplate;
    BOOL bEx = ReadWord(pBase) == 1 && ReadWord(pBase + 2) == 0xFFFF;
    DWORD dwStyle = bEx ? ReadDword(pBase + 12) : ReadDword(pBase);
    size_t nCountOffset = bEx ? 16 : 8;
    int nItems = ReadWord(pBase + nCountOffset);
    const BYTE* p = pBase + (bEx ? 26 : 18);
    p = SkipNameOrOrdinal(p); // menu
    p = SkipNameOrOrdinal(p); // class
    p = SkipNameOrOrdinal(p); // caption
    if (dwStyle & DS_SETFONT) {
        p += bEx ? 6 : 2; // size (weight, italic, character set)
        p = SkipNameOrOrdinal(p);
    }
    const BYTE* pHeaderEnd = AlignDword(p, pBase);

    struct Span {
        const BYTE* pStart;
        const BYTE* pEnd;
    };
    std::vector<Span> keep;
    p = pHeaderEnd;
    for (int i = 0; i < nItems; i++) {
        p = AlignDword(p, pBase);
        const BYTE* pItem = p;
        _AFX_OCC_DIALOG_INFO::Item item;
        item.nIndex = i;
        if (bEx) {
            item.dwExStyle = ReadDword(p + 4);
            item.dwStyle = ReadDword(p + 8);
            item.rect.left = (short)ReadWord(p + 12);
            item.rect.top = (short)ReadWord(p + 14);
            item.rect.right = item.rect.left + (short)ReadWord(p + 16);
            item.rect.bottom = item.rect.top + (short)ReadWord(p + 18);
            item.nID = ReadDword(p + 20);
            p += 24;
        } else {
            item.dwStyle = ReadDword(p);
            item.dwExStyle = ReadDword(p + 4);
            item.rect.left = (short)ReadWord(p + 8);
            item.rect.top = (short)ReadWord(p + 10);
            item.rect.right = item.rect.left + (short)ReadWord(p + 12);
            item.rect.bottom = item.rect.top + (short)ReadWord(p + 14);
            item.nID = ReadWord(p + 16);
            p += 18;
        }
        const BYTE* pClass = p;
        p = SkipNameOrOrdinal(p);
        const BYTE* pText = p;
        p = SkipNameOrOrdinal(p);
        WORD cbExtra = ReadWord(p);
        p += 2 + cbExtra;
        if (ItemClassId(pClass, &item.clsid)) {
            item.strText = FieldText(pText);
            pInfo->items.push_back(item);
        } else {
            keep.push_back({pItem, p});
        }
    }
    pInfo->nTemplateItems = nItems;

    // The header with the new count, then the other items, each starting on a DWORD.
    std::vector<BYTE>& out = pInfo->newTemplate;
    out.assign(pBase, pHeaderEnd);
    WORD nKept = (WORD)keep.size();
    memcpy(out.data() + nCountOffset, &nKept, sizeof(nKept));
    for (const Span& span : keep) {
        out.resize((out.size() + 3) & ~(size_t)3, 0);
        out.insert(out.end(), span.pStart, span.pEnd);
    }
    return TRUE;
}

_AFX_OCC_DIALOG_INFO* COleOccManager::PreCreateDialog(LPCDLGTEMPLATE lpTemplate, LPCDLGTEMPLATE* plpNewTemplate)
{
    _AFX_OCC_DIALOG_INFO* pInfo = new _AFX_OCC_DIALOG_INFO;
    if (!SplitDialogTemplate(lpTemplate, pInfo)) {
        delete pInfo;
        *plpNewTemplate = NULL;
        return NULL;
    }
    if (pInfo->items.empty()) {
        delete pInfo;
        *plpNewTemplate = lpTemplate;
        return NULL;
    }
    *plpNewTemplate = (LPCDLGTEMPLATE)pInfo->newTemplate.data();
    return pInfo;
}

void COleOccManager::PostCreateDialog(_AFX_OCC_DIALOG_INFO* pOccDialogInfo) { delete pOccDialogInfo; }

BOOL COleOccManager::CreateDlgControls(CWnd* pWndParent, LPCTSTR lpszResourceName, _AFX_OCC_DIALOG_INFO* pInfo)
{
    if (pInfo == NULL || pInfo->items.empty())
        return TRUE;
    if (!pWndParent->InitControlContainer())
        return FALSE;
    DWORD cbDlgInit = 0;
    const void* pDlgInit = AfxFindDlgInit(lpszResourceName, &cbDlgInit);

    // The dialog manager made the other items in template order: the dialog's children in Z
    // order. Each OLE control goes right after the item before it in the template.
    std::vector<HWND> children;
    for (HWND hWnd = ::GetWindow(pWndParent->m_hWnd, GW_CHILD); hWnd != NULL; hWnd = ::GetWindow(hWnd, GW_HWNDNEXT))
        children.push_back(hWnd);
    size_t nNextChild = 0;
    HWND hWndPrevious = HWND_TOP;
    size_t nNextOle = 0;
    for (int i = 0; i < pInfo->nTemplateItems; i++) {
        if (nNextOle >= pInfo->items.size() || pInfo->items[nNextOle].nIndex != i) {
            if (nNextChild < children.size())
                hWndPrevious = children[nNextChild++];
            continue;
        }
        const _AFX_OCC_DIALOG_INFO::Item& item = pInfo->items[nNextOle++];
        RECT rect = item.rect;
        ::MapDialogRect(pWndParent->m_hWnd, &rect);
        PersistRecord record = {item.nID, FALSE, 0, NULL, 0};
        if (pDlgInit != NULL)
            AfxForEachDlgInitRecord(pDlgInit, cbDlgInit, &FindPersistRecord, &record);
        BOOL bState = record.bFound && record.nMsg != WM_OCC_INITNEW;
        COleControlSite* pSite = NULL;
        if (!pWndParent->m_pCtrlCont->CreateControlFromData(
                NULL, item.clsid, item.strText, item.dwStyle, &rect, item.nID, bState ? record.pData : NULL,
                bState ? record.dwLen : 0, record.bFound && record.nMsg == WM_OCC_LOADFROMSTORAGE, &pSite))
            return FALSE;
        ::SetWindowPos(pSite->m_hWnd, hWndPrevious, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        hWndPrevious = pSite->m_hWnd;
    }
    return TRUE;
}

void COleOccManager::AttachControlSite(CWnd* pWnd)
{
    HWND hWnd = pWnd->m_hWnd;
    HWND hWndParent = hWnd != NULL ? ::GetParent(hWnd) : NULL;
    CWnd* pParent = hWndParent != NULL ? CWnd::FromHandlePermanent(hWndParent) : NULL;
    if (pParent == NULL || pParent->m_pCtrlCont == NULL)
        return;
    COleControlSite* pSite = pParent->m_pCtrlCont->FindSite(hWnd);
    if (pSite != NULL)
        pWnd->m_pCtrlSite = pSite;
}

BOOL COleOccManager::DestroyControl(CWnd* pWnd)
{
    COleControlSite* pSite = pWnd->m_pCtrlSite;
    if (pSite == NULL)
        return FALSE;
    HWND hWnd = pWnd->m_hWnd;
    pWnd->m_pCtrlSite = NULL;
    // The control destroys its window; a subclassed CWnd is detached by that (and may delete
    // itself), so it is found again through the map before it is touched.
    pSite->DestroyControl();
    CWnd* pStill = hWnd != NULL ? CWnd::FromHandlePermanent(hWnd) : NULL;
    if (pStill == pWnd && !::IsWindow(hWnd))
        pWnd->Detach();
    return TRUE;
}

void COleOccManager::OnContainerDestroy(CWnd* pWnd)
{
    COleControlContainer* pCtrlCont = pWnd->m_pCtrlCont;
    pWnd->m_pCtrlCont = NULL;
    pWnd->m_nFlags &= ~WF_OLECTLCONTAINER;
    delete pCtrlCont;
}

BOOL COleOccManager::OnEvent(CCmdTarget* pCmdTarget, UINT idCtrl, AFX_EVENT* pEvent, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (pEvent == NULL || pEvent->m_eventKind != AFX_EVENT::event)
        return FALSE;
    for (const AFX_EVENTSINKMAP* pMap = pCmdTarget->GetEventSinkMap(); pMap != NULL; pMap = (*pMap->pfnGetBaseMap)()) {
        for (const AFX_EVENTSINKMAP_ENTRY* pEntry = pMap->lpEntries; pEntry->pfn != NULL; pEntry++) {
            if (pEntry->nCtlID != idCtrl || pEntry->dispid != pEvent->m_dispid)
                continue;
            if (pHandlerInfo != NULL) {
                pHandlerInfo->pTarget = pCmdTarget;
                pHandlerInfo->pmf = NULL;
                return TRUE;
            }
            CDispatchArgs args;
            HRESULT hr = args.Prepare(pEntry->lpszParams, 0, pEvent->m_pDispParams, pEvent->m_puArgError);
            if (FAILED(hr)) {
                pEvent->m_hResult = hr;
                return TRUE;
            }
            BOOL bHandled = FALSE;
            hr = AfxCallCatching([&] { bHandled = (*pEntry->pfn)(pCmdTarget, args.GetArgs()); }, pEvent->m_pExcepInfo,
                                 TRUE);
            if (FAILED(hr)) {
                pEvent->m_hResult = hr;
                return TRUE;
            }
            args.WriteBack();
            if (!bHandled)
                return FALSE;
            pEvent->m_hResult = S_OK;
            return TRUE;
        }
    }
    return FALSE;
}
