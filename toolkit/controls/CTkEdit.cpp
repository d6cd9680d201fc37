#include "CTkEdit.h"

#include <afxres.h>

#include "CTkGlobalData.h"
#include "CTkMemDC.h"
#include "ToolkitResource.h"

IMPLEMENT_DYNAMIC(CTkEdit, CEdit)

BEGIN_MESSAGE_MAP(CTkEdit, CEdit)
    ON_WM_CREATE()
    ON_WM_CONTEXTMENU()
    ON_COMMAND(ID_EDIT_UNDO, OnEditUndo)
    ON_UPDATE_COMMAND_UI(ID_EDIT_UNDO, OnUpdateEditUndo)
    ON_COMMAND(ID_EDIT_CUT, OnEditCut)
    ON_UPDATE_COMMAND_UI(ID_EDIT_CUT, OnUpdateNeedsSelection)
    ON_COMMAND(ID_EDIT_COPY, OnEditCopy)
    ON_UPDATE_COMMAND_UI(ID_EDIT_COPY, OnUpdateNeedsSelection)
    ON_COMMAND(ID_EDIT_PASTE, OnEditPaste)
    ON_UPDATE_COMMAND_UI(ID_EDIT_PASTE, OnUpdateEditPaste)
    ON_COMMAND(ID_EDIT_CLEAR, OnEditClear)
    ON_UPDATE_COMMAND_UI(ID_EDIT_CLEAR, OnUpdateNeedsSelection)
    ON_COMMAND(ID_EDIT_SELECT_ALL, OnEditSelectAll)
    ON_UPDATE_COMMAND_UI(ID_EDIT_SELECT_ALL, OnUpdateEditSelectAll)
    ON_WM_ERASEBKGND()
    ON_WM_PAINT()
    ON_WM_INITMENUPOPUP()
END_MESSAGE_MAP()

CTkEdit::CTkEdit() : m_bCreated(false)
{
}

CTkEdit::~CTkEdit()
{
    m_coolMenu.HookWindow((HWND)NULL);
}

BOOL CTkEdit::CanPaste()
{
    return ::IsClipboardFormatAvailable(CF_TEXT);
}

BOOL CTkEdit::HasSelection()
{
    DWORD dwStart = 0, dwEnd = 0;
    ::SendMessage(m_hWnd, EM_GETSEL, (WPARAM)&dwStart, (LPARAM)&dwEnd);
    return dwStart < dwEnd;
}

BOOL CTkEdit::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    m_bCreated = true;
    return CEdit::Create(dwStyle, rect, pParentWnd, nID);
}

BOOL CTkEdit::InitControl()
{
    if (!::IsWindow(m_hWnd))
        return FALSE;
    m_coolMenu.HookWindow(m_hWnd);
    m_coolMenu.LoadToolbar(IDR_TK_EDIT_PICTURES, TRUE);
    SetFont(&tkAfxData.fontMenu, TRUE);
    return TRUE;
}

void CTkEdit::PreSubclassWindow()
{
    CEdit::PreSubclassWindow();
    if (!m_bCreated)
        InitControl();
}

int CTkEdit::OnCreate(LPCREATESTRUCT lpcs)
{
    if (CEdit::OnCreate(lpcs) == -1)
        return -1;
    if (m_bCreated)
        InitControl();
    return 0;
}

CPoint CTkEdit::ContextMenuPoint(CPoint pos)
{
    if (pos.x != -1 || pos.y != -1)
        return pos;
    CRect rc;
    GetClientRect(&rc);
    ClientToScreen(&rc);
    return CPoint(rc.left + 5, rc.top + 5);
}

void CTkEdit::OnContextMenu(CWnd*, CPoint pos)
{
    CPoint pt = ContextMenuPoint(pos);
    HINSTANCE hInst = tkAfxData.hInstance != NULL ? tkAfxData.hInstance : AfxGetResourceHandle();
    HMENU hMenu = ::LoadMenu(hInst, MAKEINTRESOURCE(IDR_TK_CONTEXT_MENUS));
    if (hMenu == NULL)
        return;
    HMENU hPopup = ::GetSubMenu(hMenu, 1);
    if (hPopup != NULL)
        ::TrackPopupMenu(hPopup, TPM_RIGHTBUTTON, pt.x, pt.y, 0, m_hWnd, NULL);
    ::DestroyMenu(hMenu);
}

void CTkEdit::OnEditUndo()
{
    SendMessage(EM_UNDO);
}

void CTkEdit::OnUpdateEditUndo(CCmdUI* pCmdUI)
{
    pCmdUI->Enable((BOOL)SendMessage(EM_CANUNDO));
}

void CTkEdit::OnEditCut()
{
    SendMessage(WM_CUT);
}

void CTkEdit::OnEditCopy()
{
    SendMessage(WM_COPY);
}

void CTkEdit::OnEditClear()
{
    SendMessage(WM_CLEAR);
}

void CTkEdit::OnUpdateNeedsSelection(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(HasSelection());
}

void CTkEdit::OnEditPaste()
{
    SendMessage(WM_PASTE);
}

void CTkEdit::OnUpdateEditPaste(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(CanPaste());
}

void CTkEdit::OnEditSelectAll()
{
    SendMessage(EM_SETSEL, 0, -1);
    SendMessage(EM_SCROLLCARET);
}

void CTkEdit::OnUpdateEditSelectAll(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(GetWindowTextLength() > 0);
}

BOOL CTkEdit::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void CTkEdit::OnPaint()
{
    CPaintDC dc(this);
    CRect rc;
    GetClientRect(&rc);
    CTkMemDC memDC(&dc, rc, tkAfxData.clrWindow);
    DefWindowProc(WM_PAINT, (WPARAM)memDC.GetSafeHdc(), 0);
}

void CTkEdit::OnInitMenuPopup(CMenu* pMenu, UINT nIndex, BOOL bSysMenu)
{
    CEdit::OnInitMenuPopup(pMenu, nIndex, bSysMenu);
    if (bSysMenu)
        return;
    CCmdUI state;
    state.m_pMenu = pMenu;
    state.m_nIndexMax = pMenu->GetMenuItemCount();
    for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; state.m_nIndex++) {
        state.m_nID = pMenu->GetMenuItemID((int)state.m_nIndex);
        if (state.m_nID == 0)
            continue;
        if (state.m_nID == (UINT)-1) {
            state.m_pSubMenu = pMenu->GetSubMenu((int)state.m_nIndex);
            if (state.m_pSubMenu == NULL || (state.m_nID = state.m_pSubMenu->GetMenuItemID(0)) == 0 ||
                state.m_nID == (UINT)-1)
                continue;
            state.DoUpdate(this, FALSE);
        } else {
            state.m_pSubMenu = NULL;
            state.DoUpdate(this, state.m_nID < 0xF000);
        }
    }
}
