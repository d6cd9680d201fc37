#include "AfxWindowLayer.h"

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
END_MESSAGE_MAP()

INT_PTR CALLBACK AfxDlgProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

CDialog::CDialog() : m_lpszTemplateName(NULL), m_nIDHelp(0), m_lpDialogTemplate(NULL), m_pParentWnd(NULL) {}

CDialog::CDialog(LPCTSTR lpszTemplateName, CWnd* pParentWnd)
    : m_lpszTemplateName(lpszTemplateName), m_nIDHelp(0), m_lpDialogTemplate(NULL), m_pParentWnd(pParentWnd)
{
    if (IS_INTRESOURCE(lpszTemplateName))
        m_nIDHelp = LOWORD((ULONG_PTR)lpszTemplateName);
}

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_lpszTemplateName(MAKEINTRESOURCEA(nIDTemplate)), m_nIDHelp(nIDTemplate), m_lpDialogTemplate(NULL),
      m_pParentWnd(pParentWnd)
{
}

CDialog::~CDialog()
{
    if (m_hWnd != NULL && FromHandlePermanent(m_hWnd) == this)
        DestroyWindow();
}

LPCDLGTEMPLATE CDialog::LoadTemplate(HINSTANCE* phInst) const
{
    *phInst = AfxGetResourceHandle();
    if (m_lpDialogTemplate != NULL)
        return m_lpDialogTemplate;
    if (m_lpszTemplateName == NULL)
        return NULL;
    HRSRC hResource = ::FindResourceA(*phInst, m_lpszTemplateName, (LPCSTR)RT_DIALOG);
    if (hResource == NULL) {
        *phInst = AfxGetInstanceHandle();
        hResource = ::FindResourceA(*phInst, m_lpszTemplateName, (LPCSTR)RT_DIALOG);
    }
    HGLOBAL hTemplate = hResource != NULL ? ::LoadResource(*phInst, hResource) : NULL;
    return hTemplate != NULL ? (LPCDLGTEMPLATE)::LockResource(hTemplate) : NULL;
}

BOOL CDialog::Create(LPCTSTR lpszTemplateName, CWnd* pParentWnd)
{
    m_lpszTemplateName = lpszTemplateName;
    if (IS_INTRESOURCE(lpszTemplateName) && m_nIDHelp == 0)
        m_nIDHelp = LOWORD((ULONG_PTR)lpszTemplateName);
    HINSTANCE hInst = NULL;
    LPCDLGTEMPLATE lpTemplate = LoadTemplate(&hInst);
    if (lpTemplate == NULL)
        return FALSE;
    if (pParentWnd == NULL)
        pParentWnd = AfxGetMainWnd();
    m_pParentWnd = pParentWnd;
    return CreateDlgIndirect(lpTemplate, pParentWnd, hInst);
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd) { return Create(MAKEINTRESOURCEA(nIDTemplate), pParentWnd); }

BOOL CDialog::CreateIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd)
{
    if (pParentWnd == NULL)
        pParentWnd = AfxGetMainWnd();
    m_pParentWnd = pParentWnd;
    return CreateDlgIndirect(lpDialogTemplate, pParentWnd, AfxGetResourceHandle());
}

BOOL CDialog::InitModalIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd)
{
    m_lpDialogTemplate = lpDialogTemplate;
    m_pParentWnd = pParentWnd;
    return lpDialogTemplate != NULL;
}

HWND CDialog::PreModal()
{
    // A modal dialog belongs to a top-level window, never to a child.
    HWND hWnd = AfxGetSafeOwner(m_pParentWnd, NULL);
    CWinApp* pApp = AfxGetApp();
    if (pApp != NULL)
        pApp->EnableModeless(FALSE);
    return hWnd;
}

void CDialog::PostModal()
{
    CWinApp* pApp = AfxGetApp();
    if (pApp != NULL)
        pApp->EnableModeless(TRUE);
}

INT_PTR CDialog::DoModal()
{
    HINSTANCE hInst = NULL;
    LPCDLGTEMPLATE lpTemplate = LoadTemplate(&hInst);
    if (lpTemplate == NULL)
        return -1;

    HWND hWndParent = PreModal();
    BOOL bEnableParent = FALSE;
    if (hWndParent != NULL && ::IsWindowEnabled(hWndParent)) {
        ::EnableWindow(hWndParent, FALSE);
        bEnableParent = TRUE;
    }

    m_nModalResult = -1;
    m_nFlags |= WF_CONTINUEMODAL;
    CWnd wndParent;
    wndParent.m_hWnd = hWndParent;
    BOOL bCreated = CreateDlgIndirect(lpTemplate, hWndParent != NULL ? &wndParent : NULL, hInst);
    wndParent.m_hWnd = NULL;
    if (bCreated) {
        if (m_nFlags & WF_CONTINUEMODAL) {
            DWORD dwFlags = MLF_SHOWONIDLE;
            if (GetStyle() & DS_NOIDLEMSG)
                dwFlags |= MLF_NOIDLEMSG;
            RunModalLoop(dwFlags);
        }
        // hidden before the owner is enabled, so the owner becomes the active window
        if (m_hWnd != NULL)
            SetWindowPos(NULL, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
    }
    m_nFlags &= ~WF_CONTINUEMODAL;
    if (bEnableParent)
        ::EnableWindow(hWndParent, TRUE);
    if (hWndParent != NULL && ::GetActiveWindow() == m_hWnd)
        ::SetActiveWindow(hWndParent);
    DestroyWindow();
    PostModal();
    return m_nModalResult;
}

void CDialog::EndDialog(int nResult)
{
    if (m_nFlags & (WF_MODALLOOP | WF_CONTINUEMODAL))
        EndModalLoop(nResult);
    ::EndDialog(m_hWnd, nResult);
}

BOOL CDialog::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message == WM_INITDIALOG) {
        // the dialog manager's own handling first, then the dialog's
        Default();
        // The template's OLE controls come before OnInitDialog, which may exchange data with
        // them. A control that cannot be made fails the dialog (the object may be gone after
        // DestroyWindow: it is not touched then).
        _AFX_OCC_DIALOG_INFO* pOccDialogInfo = m_pOccDialogInfo;
        m_pOccDialogInfo = NULL;
        if (pOccDialogInfo != NULL) {
            COccManager* pOccManager = AfxGetOccManager();
            LPCTSTR lpszDlgInit = m_lpDialogTemplate == NULL ? m_lpszTemplateName : NULL;
            if (pOccManager == NULL || !pOccManager->CreateDlgControls(this, lpszDlgInit, pOccDialogInfo)) {
                if (pResult != NULL)
                    *pResult = FALSE;
                DestroyWindow();
                return TRUE;
            }
        }
        BOOL bResult = OnInitDialog();
        if (pResult != NULL)
            *pResult = bResult;
        return TRUE;
    }
    if (message == WM_SETFONT) {
        OnSetFont(CFont::FromHandle((HFONT)wParam));
        Default();
        return TRUE;
    }
    return CWnd::OnWndMsg(message, wParam, lParam, pResult);
}

BOOL CDialog::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    // OK and Cancel without handlers of their own: OnOK and OnCancel
    if (nCode != CN_COMMAND && nCode != (int)CN_UPDATE_COMMAND_UI)
        return FALSE;
    if (nID != IDOK && nID != IDCANCEL)
        return FALSE;
    if (pHandlerInfo != NULL) {
        pHandlerInfo->pTarget = this;
        pHandlerInfo->pmf = nID == IDOK ? static_cast<void (CCmdTarget::*)()>(&CDialog::OnOK)
                                        : static_cast<void (CCmdTarget::*)()>(&CDialog::OnCancel);
        return TRUE;
    }
    if (nCode == (int)CN_UPDATE_COMMAND_UI)
        return FALSE; // no state of its own
    if (nID == IDOK)
        OnOK();
    else
        OnCancel();
    return TRUE;
}

BOOL CDialog::OnInitDialog()
{
    // The strings of the template's list and combo boxes (DLGINIT); a box that refuses one
    // ends the dialog.
    if (!ExecuteDlgInit(m_lpDialogTemplate == NULL ? m_lpszTemplateName : NULL)) {
        EndDialog(-1);
        return FALSE;
    }
    // A refused value at this point is the program's mistake, not the user's.
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK()
{
    if (!UpdateData(TRUE))
        return; // the user was told and corrects the value
    EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

void CDialog::OnSetFont(CFont*) {}

BOOL CDialog::PreTranslateMessage(MSG* pMsg)
{
    if (CWnd::PreTranslateMessage(pMsg))
        return TRUE; // tooltips
    // The dialog manager's keyboard handling (Tab, arrows, Enter, Escape, mnemonics) for
    // messages of the dialog and its controls.
    if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST) {
        if (::IsDialogMessageA(m_hWnd, pMsg))
            return TRUE;
    }
    return FALSE;
}

void CDialog::NextDlgCtrl() const { ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, 0, 0); }

void CDialog::PrevDlgCtrl() const { ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, 1, 0); }

void CDialog::GotoDlgCtrl(CWnd* pWndCtrl) { ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, (WPARAM)pWndCtrl->GetSafeHwnd(), 1L); }

void CDialog::SetDefID(UINT nID) { ::SendMessageA(m_hWnd, DM_SETDEFID, nID, 0); }

DWORD CDialog::GetDefID() const { return (DWORD)::SendMessageA(m_hWnd, DM_GETDEFID, 0, 0); }

void CDialog::MapDialogRect(LPRECT lpRect) const { ::MapDialogRect(m_hWnd, lpRect); }
