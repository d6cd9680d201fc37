#include "CTkCustomizeManager.h"

#include <afxext.h>

#include "CTkCrc32.h"
#include "CTkDragContext.h"
#include "CTkDropTarget.h"
#include "CTkGlobalData.h"
#include "CTkRegistryHelper.h"

#include <memory>
#include <string.h>

namespace {

const char kCustomBarsEntry[] = "CustomBars-Info";
const DWORD kCustomBarsVersion = 1;

// The manager's own registrations.
BOOL IsCustomizableEntry(void* pObject, UINT nCmdID)
{
    return static_cast<CTkCustomizeManager*>(pObject)->IsCommandCustomizable(nCmdID);
}
void PlaceBarEntry(void* pObject, CFrameWnd* pFrame, CControlBar* pBar)
{
    static_cast<CTkCustomizeManager*>(pObject)->PlaceNewBar(pFrame, pBar);
}
void CustomizeModeEntry(void* pObject, BOOL bOn) { static_cast<CTkCustomizeManager*>(pObject)->SetCustomizeMode(bOn); }
BOOL LoadBarsEntry(void* pObject, CFrameWnd* pFrame, LPCTSTR lpszProfileName)
{
    return static_cast<CTkCustomizeManager*>(pObject)->LoadCustomBars(pFrame, lpszProfileName);
}
BOOL SaveBarsEntry(void* pObject, CFrameWnd* pFrame, LPCTSTR lpszProfileName)
{
    return static_cast<CTkCustomizeManager*>(pObject)->SaveCustomBars(pFrame, lpszProfileName);
}

BOOL FrameHasBar(CFrameWnd* pFrame, CControlBar* pBar)
{
    for (POSITION pos = pFrame->m_listControlBars.GetHeadPosition(); pos != NULL;) {
        if (pFrame->m_listControlBars.GetNext(pos) == pBar)
            return TRUE;
    }
    return FALSE;
}

// The requester handed to m_cbBars by SaveCustomBars: keeps the user-defined bars of one frame.
struct CustomBarCollector {
    CFrameWnd* pFrame;
    CPtrArray arrBars;
};
void CollectCustomBar(void* pObject, TK_BARINFO* pInfo)
{
    CustomBarCollector* pCollector = static_cast<CustomBarCollector*>(pObject);
    if (pInfo != NULL && pInfo->bCustom == 1 && pInfo->pBar != NULL && FrameHasBar(pCollector->pFrame, pInfo->pBar))
        pCollector->arrBars.Add(pInfo->pBar);
}

} // namespace

CTkCustomizeManager* CTkCustomizeManager::Instance()
{
    static CTkCustomizeManager manager;
    return &manager;
}

CTkCustomizeManager::CTkCustomizeManager()
    : m_bCustomizeDialog(0), m_bCustomizeMode(0), m_ptNewBar(200, 200), m_hookIsCustomizable(IsCustomizableEntry, this),
      m_hookPlaceBar(PlaceBarEntry, this), m_hookLoadBars(LoadBarsEntry, this), m_hookSaveBars(SaveBarsEntry, this)
{
    // The manager's flags change before any bar hears of customize mode.
    m_cbCustomizeMode.SetFrontEntry(OwnCustomizeModeEntry());
    m_cbCustomizeMode.Add(OwnCustomizeModeEntry());
}

CTkCustomizeManager::~CTkCustomizeManager() {}

TK_CALLBACK CTkCustomizeManager::OwnCustomizeModeEntry() { return TK_CALLBACK(CustomizeModeEntry, this); }

void CTkCustomizeManager::UnregisterAll(void* pObject)
{
    CTkCallbackList* apLists[] = {&m_cbClearSelection, &m_cbCustomizeMode, &m_cbDropTargets, &m_cbBars,
                                  &m_cbCategories,     &m_cbBarAdded,      &m_cbBarShown,    &m_cbBarRenamed,
                                  &m_cbBarDestroyed,   &m_cbIcons,         &m_cbCommandRemoved};
    for (CTkCallbackList* pList : apLists)
        pList->RemoveObject(pObject);
    if (m_hookCommandPopup.pObject == pObject)
        m_hookCommandPopup = TK_CALLBACK();
    // Only the manager's own entry left: the list empties; the next registration puts it back.
    if (m_cbCustomizeMode.GetSize() == 1)
        m_cbCustomizeMode.RemoveObject(this);
}

void CTkCustomizeManager::DeferDelete(CObject* pObject) { m_arrDeferred.Add(pObject); }

void CTkCustomizeManager::DeleteDeferred()
{
    while (m_arrDeferred.GetSize() > 0) {
        CObArray arrRound;
        arrRound.Copy(m_arrDeferred);
        m_arrDeferred.RemoveAll();
        for (int i = 0; i < arrRound.GetSize(); i++)
            delete arrRound[i];
    }
}

void CTkCustomizeManager::SetCustomizeMode(BOOL bOn)
{
    m_bCustomizeDialog = bOn ? 1 : 0;
    m_bCustomizeMode = bOn ? 1 : 0;
    if (!bOn)
        DeleteDeferred();
}

BOOL CTkCustomizeManager::IsCommandCustomizable(UINT nCmdID)
{
    if (nCmdID >= 57616 && nCmdID <= 57631) // recent files
        return FALSE;
    if (nCmdID >= 65280 && nCmdID <= 65288) // window list
        return FALSE;
    return nCmdID != TK_SHOW_FULL_MENUS;
}

void CTkCustomizeManager::PlaceNewBar(CFrameWnd* pFrame, CControlBar* pBar)
{
    pFrame->FloatControlBar(pBar, m_ptNewBar, CBRS_ALIGN_TOP);
    pFrame->ShowControlBar(pBar, TRUE, FALSE);
    m_ptNewBar.x += 15;
    m_ptNewBar.y += 15;
    pFrame->RecalcLayout(TRUE);
}

BOOL CTkCustomizeManager::CallIsCustomizable(UINT nCmdID)
{
    return m_hookIsCustomizable.IsEmpty() ? TRUE : m_hookIsCustomizable.Call<BOOL, UINT>(nCmdID);
}

BOOL CTkCustomizeManager::CallLoadBars(CFrameWnd* pFrame, LPCTSTR lpszProfileName)
{
    return m_hookLoadBars.IsEmpty() ? FALSE : m_hookLoadBars.Call<BOOL, CFrameWnd*, LPCTSTR>(pFrame, lpszProfileName);
}

BOOL CTkCustomizeManager::CallSaveBars(CFrameWnd* pFrame, LPCTSTR lpszProfileName)
{
    return m_hookSaveBars.IsEmpty() ? FALSE : m_hookSaveBars.Call<BOOL, CFrameWnd*, LPCTSTR>(pFrame, lpszProfileName);
}

// ---- "CustomBars-Info" --------------------------------------------------------------------------

BOOL CTkCustomizeManager::LoadCustomBars(CFrameWnd* pFrame, LPCTSTR lpszProfileName)
{
    CTkRegistryHelper reg(HKEY_CURRENT_USER);
    BYTE* pData = NULL;
    UINT nBytes = 0;
    if (!reg.GetProfileBinary(lpszProfileName, kCustomBarsEntry, &pData, &nBytes) || pData == NULL)
        return FALSE;
    std::unique_ptr<BYTE[]> guard(pData);
    if (nBytes < 4)
        return FALSE;
    DWORD dwStoredCrc = 0;
    memcpy(&dwStoredCrc, pData, 4);
    CTkCrc32 crc;
    crc.Update(pData + 4, nBytes - 4);
    if (crc.GetValue() != dwStoredCrc)
        return FALSE;

    try {
        CMemFile file(pData + 4, nBytes - 4);
        CArchive ar(&file, CArchive::load);
        DWORD dwVersion = 0, nCount = 0;
        ar >> dwVersion;
        if (dwVersion != kCustomBarsVersion)
            return FALSE;
        ar >> nCount;
        if (nCount == 0)
            return TRUE;

        CMap<UINT, UINT, void*, void*> mapIDs;
        mapIDs.InitHashTable(17);
        for (POSITION pos = pFrame->m_listControlBars.GetHeadPosition(); pos != NULL;) {
            CControlBar* pBar = (CControlBar*)pFrame->m_listControlBars.GetNext(pos);
            mapIDs.SetAt((UINT)pBar->GetDlgCtrlID(), pBar);
        }
        // Records are read one by one: a count beyond the data ends in the archive's end of file.
        for (DWORD i = 0; i < nCount; i++) {
            DWORD dwID = 0;
            CString strTitle;
            ar >> dwID;
            ar >> strTitle;
            void* pExisting = NULL;
            if (dwID < TK_FIRST_CUSTOM_BAR_ID || dwID > TK_LAST_CUSTOM_BAR_ID || mapIDs.Lookup((UINT)dwID, pExisting))
                continue;
            if (m_hookCreateBar.IsEmpty())
                continue;
            TK_NEWBAR newBar;
            newBar.nID = dwID;
            newBar.strTitle = strTitle;
            newBar.pFrame = pFrame;
            m_hookCreateBar.Call<void, TK_NEWBAR*>(&newBar);
            // A second record with the same id makes no second bar.
            mapIDs.SetAt((UINT)dwID, newBar.pBar);
        }
    } catch (CException* e) {
        e->Delete();
        return FALSE;
    }
    return TRUE;
}

BOOL CTkCustomizeManager::SaveCustomBars(CFrameWnd* pFrame, LPCTSTR lpszProfileName)
{
    // Every bar's customizer (and with it its m_cbBars entry) exists only in customize mode.
    BOOL bSwitchedOn = FALSE;
    if (!m_bCustomizeMode) {
        m_cbCustomizeMode.CallAll<BOOL>(TRUE);
        bSwitchedOn = TRUE;
    }
    try {
        CustomBarCollector collector;
        collector.pFrame = pFrame;
        TK_CALLBACK requester(CollectCustomBar, &collector);
        m_cbBars.CallAll<TK_CALLBACK*>(&requester);

        CTkRegistryHelper reg(HKEY_CURRENT_USER);
        if (collector.arrBars.GetSize() == 0) {
            reg.DeleteProfileValue(lpszProfileName, kCustomBarsEntry);
        } else {
            CMemFile file(1024);
            {
                CArchive ar(&file, CArchive::store);
                ar << kCustomBarsVersion << (DWORD)collector.arrBars.GetSize();
                for (int i = 0; i < collector.arrBars.GetSize(); i++) {
                    CControlBar* pBar = (CControlBar*)collector.arrBars[i];
                    CString strTitle;
                    pBar->GetWindowText(strTitle);
                    ar << (DWORD)pBar->GetDlgCtrlID();
                    ar << strTitle;
                }
                ar.Close();
            }
            UINT nPayload = (UINT)file.GetLength();
            BYTE* pPayload = file.Detach();
            std::unique_ptr<BYTE[]> value(new BYTE[4 + nPayload]);
            CTkCrc32 crc;
            crc.Update(pPayload, nPayload);
            DWORD dwCrc = crc.GetValue();
            memcpy(value.get(), &dwCrc, 4);
            memcpy(value.get() + 4, pPayload, nPayload);
            free(pPayload);
            reg.WriteProfileBinary(lpszProfileName, kCustomBarsEntry, value.get(), 4 + nPayload);
        }
    } catch (...) {
        if (bSwitchedOn)
            m_cbCustomizeMode.CallAll<BOOL>(FALSE);
        throw;
    }
    if (bSwitchedOn)
        m_cbCustomizeMode.CallAll<BOOL>(FALSE);
    return TRUE;
}

// ---- the drag loop ------------------------------------------------------------------------------
//
// States: no target (cursor "none") -> over an accepting target (cursor "move" while the drop
// moves or the target refuses copies, else "copy") -> back to no target when HitTest fails.
// The loop ends with a drop (left button released, or a move without the left button), or with a
// cancel (Escape, right button, WM_CANCELMODE to the source, WM_QUIT, capture lost).

BOOL CTkCustomizeManager::DoDragDrop(CWnd* pSource, BOOL bAllowCopy, CTkButtonDesc* pDesc)
{
    if (pSource == NULL || ::GetCapture() != NULL)
        return FALSE;
    CTkDragContext ctx;
    ctx.m_hcurSaved = ::GetCursor();
    ctx.m_pSource = pSource;
    ctx.m_pDesc = pDesc;
    HWND hSource = pSource->m_hWnd;
    ::SetCapture(hSource);
    m_cbDropTargets.CallAll<CTkDragContext*>(&ctx);

    BOOL bResult = TrackDrag(ctx, bAllowCopy);

    if (ctx.m_pCurTarget != NULL) {
        ctx.m_pCurTarget->OnDragLeave();
        ctx.m_pCurTarget = NULL;
    }
    if (::GetCursor() != ctx.m_hcurSaved)
        ::SetCursor(ctx.m_hcurSaved);
    if (::GetCapture() == hSource)
        ::ReleaseCapture();
    return bResult;
}

void CTkCustomizeManager::SetDragCursor(CTkDragContext& ctx)
{
    if (ctx.m_pCurTarget == NULL)
        ::SetCursor(tkAfxData.hcurDragNone);
    else if (ctx.m_bMove || !ctx.m_bCopyOk)
        ::SetCursor(tkAfxData.hcurDragMove);
    else
        ::SetCursor(tkAfxData.hcurDragCopy);
}

void CTkCustomizeManager::UpdateDragTarget(CTkDragContext& ctx, CPoint pt)
{
    if (ctx.m_pCurTarget != NULL) {
        if (ctx.m_pCurTarget->HitTest(pt)) {
            ctx.m_ptLast = pt;
            ctx.m_pCurTarget->OnDragOver(pt);
        } else {
            ctx.m_pCurTarget->OnDragLeave();
            ctx.m_pCurTarget = NULL;
        }
    } else {
        for (int i = 0; i < ctx.m_arrTargets.GetSize(); i++) {
            CTkDropTarget* pTarget = (CTkDropTarget*)ctx.m_arrTargets[i];
            if (pTarget == NULL || !pTarget->HitTest(pt))
                continue;
            BYTE bCopyOk = 1;
            if (pTarget->OnDragEnter(ctx.m_pDesc, pt, &bCopyOk)) {
                ctx.m_pCurTarget = pTarget;
                ctx.m_bCopyOk = bCopyOk;
                ctx.m_ptLast = pt;
            }
            break;
        }
    }
    SetDragCursor(ctx);
}

namespace {

// The screen position of a mouse message: its client coordinates in its own window.
CPoint MessagePoint(const MSG& msg)
{
    POINT pt = {(short)LOWORD(msg.lParam), (short)HIWORD(msg.lParam)};
    if (msg.hwnd != NULL)
        ::ClientToScreen(msg.hwnd, &pt);
    return CPoint(pt);
}

} // namespace

BOOL CTkCustomizeManager::TrackDrag(CTkDragContext& ctx, BOOL bAllowCopy)
{
    HWND hSource = ctx.m_pSource->m_hWnd;
    ctx.m_bMove = bAllowCopy && ::GetKeyState(VK_CONTROL) >= 0 ? 1 : 0;
    POINT ptCursor = {0, 0};
    ::GetCursorPos(&ptCursor);
    UpdateDragTarget(ctx, CPoint(ptCursor));

    BOOL bHaveMove = FALSE; // the previous message was a move with the button held, at ptMove
    CPoint ptMove;
    for (;;) {
        // Losing the capture (to another window or by a release) cancels the drag.
        if (::GetCapture() != hSource)
            return FALSE;

        MSG msg;
        // Windows uncovered by the drag feedback repaint first (bounded, in case one never
        // validates).
        for (int nPaints = 0; nPaints < 64 && ::PeekMessageA(&msg, NULL, WM_PAINT, WM_PAINT, PM_REMOVE); nPaints++)
            ::DispatchMessageA(&msg);
        if (!::GetMessageA(&msg, NULL, 0, 0)) {
            AfxPostQuitMessage((int)msg.wParam);
            return FALSE;
        }
        if (::GetCapture() != hSource)
            return FALSE;

        if (msg.message != WM_MOUSEMOVE)
            bHaveMove = FALSE;
        switch (msg.message) {
        case WM_MOUSEMOVE: {
            CPoint pt = MessagePoint(msg);
            if (!(msg.wParam & MK_LBUTTON)) {
                if (bAllowCopy)
                    ctx.m_bMove = (msg.wParam & MK_CONTROL) ? 0 : 1;
                UpdateDragTarget(ctx, pt);
                goto drop;
            }
            if (bHaveMove && pt == ptMove)
                break;
            bHaveMove = TRUE;
            ptMove = pt;
            if (bAllowCopy)
                ctx.m_bMove = (msg.wParam & MK_CONTROL) ? 0 : 1;
            UpdateDragTarget(ctx, pt);
            break;
        }
        case WM_TIMER:
            break;
        case WM_CANCELMODE:
            ::DispatchMessageA(&msg);
            if (msg.hwnd == hSource)
                return FALSE;
            break;
        case WM_KEYDOWN:
            if (msg.wParam == VK_ESCAPE)
                return FALSE;
            if (bAllowCopy && msg.wParam == VK_CONTROL && ctx.m_bMove) {
                ctx.m_bMove = 0;
                SetDragCursor(ctx);
            }
            break;
        case WM_KEYUP:
            if (bAllowCopy && msg.wParam == VK_CONTROL && !ctx.m_bMove) {
                ctx.m_bMove = 1;
                SetDragCursor(ctx);
            }
            break;
        case WM_LBUTTONUP:
            if (bAllowCopy)
                ctx.m_bMove = (msg.wParam & MK_CONTROL) ? 0 : 1;
            UpdateDragTarget(ctx, MessagePoint(msg));
            goto drop;
        case WM_RBUTTONDOWN:
            return FALSE;
        default:
            ::DispatchMessageA(&msg);
            break;
        }
    }

drop:
    if (ctx.m_pCurTarget != NULL) {
        ctx.m_pCurTarget->OnDrop(ctx.m_pDesc, ctx.m_ptLast);
        ctx.m_pCurTarget = NULL;
    }
    return ctx.m_bMove;
}
