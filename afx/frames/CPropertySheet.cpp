#include "afxwin.h"
#include "afxcmn.h"
#include "afxdlgs.h"

IMPLEMENT_DYNAMIC(CPropertySheet, CWnd)

BEGIN_MESSAGE_MAP(CPropertySheet, CWnd)
ON_MESSAGE(WM_INITDIALOG, HandleInitDialog)
ON_WM_CLOSE()
ON_WM_SYSCOMMAND()
END_MESSAGE_MAP()

namespace {

// The ids of the standard buttons and the tab control of a sheet.
const int kStandardButtons[] = {IDOK, IDCANCEL, 0x3021 /* Apply Now */, IDHELP};
const int kTabControl = 0x3020;

// Gives a modeless sheet the window style it was created with: the sheet's template arrives
// here before the window is made.
int CALLBACK SheetCallback(HWND, UINT message, LPARAM lParam)
{
    if (message != PSCB_PRECREATE || lParam == 0)
        return 0;
    CWnd* pWnd = AfxGetThreadState()->m_pWndInit;
    if (pWnd == NULL || !pWnd->IsKindOf(RUNTIME_CLASS(CPropertySheet)))
        return 0;
    CPropertySheet* pSheet = (CPropertySheet*)pWnd;
    if (pSheet->m_dwCreateStyle == (DWORD)-1)
        return 0;
    // an extended template begins with 1, 0xFFFF; its styles follow its help id
    WORD* pw = (WORD*)lParam;
    if (pw[0] == 1 && pw[1] == 0xFFFF) {
        DWORD* pdw = (DWORD*)(pw + 2);
        pdw[1] = pSheet->m_dwCreateExStyle; // after the help id
        pdw[2] = pSheet->m_dwCreateStyle;
    } else {
        DLGTEMPLATE* pTemplate = (DLGTEMPLATE*)lParam;
        pTemplate->style = pSheet->m_dwCreateStyle;
        pTemplate->dwExtendedStyle = pSheet->m_dwCreateExStyle;
    }
    return 0;
}

} // namespace

CPropertySheet::CPropertySheet() { CommonConstruct(NULL, 0); }

CPropertySheet::CPropertySheet(UINT nIDCaption, CWnd* pParentWnd, UINT iSelectPage) { Construct(nIDCaption, pParentWnd, iSelectPage); }

CPropertySheet::CPropertySheet(LPCTSTR pszCaption, CWnd* pParentWnd, UINT iSelectPage)
{
    Construct(pszCaption, pParentWnd, iSelectPage);
}

void CPropertySheet::Construct(UINT nIDCaption, CWnd* pParentWnd, UINT iSelectPage)
{
    CommonConstruct(pParentWnd, iSelectPage);
    AfxLoadString(nIDCaption, m_strCaption);
}

void CPropertySheet::Construct(LPCTSTR pszCaption, CWnd* pParentWnd, UINT iSelectPage)
{
    CommonConstruct(pParentWnd, iSelectPage);
    m_strCaption = pszCaption != NULL ? pszCaption : "";
}

void CPropertySheet::CommonConstruct(CWnd* pParentWnd, UINT iSelectPage)
{
    memset(&m_psh, 0, sizeof(m_psh));
    m_psh.dwSize = sizeof(m_psh);
    m_psh.dwFlags = PSH_PROPSHEETPAGE;
    m_psh.nStartPage = iSelectPage;
    m_pParentWnd = pParentWnd;
    m_bStacked = TRUE;
    m_bModeless = FALSE;
    m_dwCreateStyle = (DWORD)-1;
    m_dwCreateExStyle = 0;
}

CPropertySheet::~CPropertySheet()
{
    delete[] (PROPSHEETPAGEA*)m_psh.ppsp;
    m_psh.ppsp = NULL;
}

void CPropertySheet::BuildPropPageArray()
{
    delete[] (PROPSHEETPAGEA*)m_psh.ppsp;
    m_psh.ppsp = NULL;
    INT_PTR nPages = m_pages.GetSize();
    PROPSHEETPAGEA* ppsp = new PROPSHEETPAGEA[nPages > 0 ? nPages : 1];
    for (INT_PTR i = 0; i < nPages; i++)
        ppsp[i] = GetPage((int)i)->m_psp;
    m_psh.ppsp = ppsp;
    m_psh.nPages = (UINT)nPages;
    m_psh.dwFlags |= PSH_PROPSHEETPAGE;
    m_psh.pszCaption = m_strCaption;
    if (m_psh.hInstance == NULL)
        m_psh.hInstance = AfxGetResourceHandle();
}

// ---- pages -------------------------------------------------------------------------------------

int CPropertySheet::GetPageCount() const { return (int)m_pages.GetSize(); }

CPropertyPage* CPropertySheet::GetPage(int nPage) const
{
    if (nPage < 0 || nPage >= m_pages.GetSize())
        return NULL;
    return (CPropertyPage*)m_pages[nPage];
}

int CPropertySheet::GetPageIndex(CPropertyPage* pPage)
{
    for (int i = 0; i < (int)m_pages.GetSize(); i++) {
        if (m_pages[i] == pPage)
            return i;
    }
    return -1;
}

void CPropertySheet::AddPage(CPropertyPage* pPage)
{
    if (pPage == NULL)
        return;
    m_pages.Add(pPage);
    if (m_hWnd == NULL)
        return;
    // the sheet exists: the page joins it at once
    PROPSHEETPAGEA psp = pPage->m_psp;
    HPROPSHEETPAGE hPage = ::CreatePropertySheetPageA(&psp);
    if (hPage == NULL) {
        m_pages.RemoveAt(m_pages.GetSize() - 1);
        AfxThrowMemoryException();
    }
    if (!SendMessage(PSM_ADDPAGE, 0, (LPARAM)hPage)) {
        ::DestroyPropertySheetPage(hPage);
        m_pages.RemoveAt(m_pages.GetSize() - 1);
        AfxThrowMemoryException();
    }
}

void CPropertySheet::RemovePage(CPropertyPage* pPage)
{
    int nPage = GetPageIndex(pPage);
    if (nPage >= 0)
        RemovePage(nPage);
}

void CPropertySheet::RemovePage(int nPage)
{
    if (nPage < 0 || nPage >= m_pages.GetSize())
        return;
    if (m_hWnd != NULL)
        SendMessage(PSM_REMOVEPAGE, (WPARAM)nPage);
    m_pages.RemoveAt(nPage);
}

CTabCtrl* CPropertySheet::GetTabControl() const
{
    if (m_hWnd == NULL)
        return NULL;
    // the control has no object of its own: the wrapper adds no data to CWnd
    return (CTabCtrl*)CWnd::FromHandle((HWND)::SendMessageA(m_hWnd, PSM_GETTABCONTROL, 0, 0));
}

int CPropertySheet::GetActiveIndex() const
{
    if (m_hWnd == NULL)
        return (int)m_psh.nStartPage;
    HWND hTab = (HWND)::SendMessageA(m_hWnd, PSM_GETTABCONTROL, 0, 0);
    return hTab != NULL ? (int)::SendMessageA(hTab, TCM_GETCURSEL, 0, 0) : -1;
}

CPropertyPage* CPropertySheet::GetActivePage() const
{
    if (m_hWnd != NULL) {
        // the page whose window the sheet shows
        HWND hPage = (HWND)::SendMessageA(m_hWnd, PSM_GETCURRENTPAGEHWND, 0, 0);
        for (INT_PTR i = 0; i < m_pages.GetSize(); i++) {
            CPropertyPage* pPage = (CPropertyPage*)m_pages[i];
            if (hPage != NULL && pPage->m_hWnd == hPage)
                return pPage;
        }
    }
    return GetPage(GetActiveIndex());
}

BOOL CPropertySheet::SetActivePage(int nPage)
{
    if (nPage < 0 || nPage >= m_pages.GetSize())
        return FALSE;
    if (m_hWnd == NULL) {
        m_psh.nStartPage = (UINT)nPage;
        return TRUE;
    }
    return SendMessage(PSM_SETCURSEL, (WPARAM)nPage, 0) != 0;
}

BOOL CPropertySheet::SetActivePage(CPropertyPage* pPage) { return SetActivePage(GetPageIndex(pPage)); }

void CPropertySheet::SetTitle(LPCTSTR lpszText, UINT nStyle)
{
    m_strCaption = lpszText != NULL ? lpszText : "";
    m_psh.dwFlags = (m_psh.dwFlags & ~PSH_PROPTITLE) | (nStyle & PSH_PROPTITLE);
    if (m_hWnd != NULL)
        SendMessage(PSM_SETTITLEA, nStyle, (LPARAM)(LPCTSTR)m_strCaption);
}

void CPropertySheet::SetWizardMode() { m_psh.dwFlags |= PSH_WIZARD; }

void CPropertySheet::SetWizardButtons(DWORD dwFlags)
{
    if (m_hWnd != NULL)
        PostMessage(PSM_SETWIZBUTTONS, 0, (LPARAM)dwFlags);
}

void CPropertySheet::SetFinishText(LPCTSTR lpszText)
{
    if (m_hWnd != NULL)
        SendMessage(PSM_SETFINISHTEXTA, 0, (LPARAM)lpszText);
}

void CPropertySheet::EnableStackedTabs(BOOL bStacked) { m_bStacked = bStacked; }

// ---- creation and the modal loop -----------------------------------------------------------------

BOOL CPropertySheet::Create(CWnd* pParentWnd, DWORD dwStyle, DWORD dwExStyle)
{
    if (dwStyle == (DWORD)-1) {
        dwStyle = DS_MODALFRAME | DS_3DLOOK | DS_SETFONT | WS_POPUP | WS_VISIBLE | WS_CAPTION;
        if (!IsWizard())
            dwStyle |= WS_SYSMENU;
    }
    m_dwCreateStyle = dwStyle;
    m_dwCreateExStyle = dwExStyle;
    AfxInitCommonControls();
    BuildPropPageArray();
    m_bModeless = TRUE;
    m_psh.dwFlags |= PSH_MODELESS | PSH_USECALLBACK;
    m_psh.pfnCallback = &SheetCallback;
    m_psh.hwndParent = pParentWnd->GetSafeHwnd();
    AfxHookWindowCreate(this);
    HWND hWnd = (HWND)::PropertySheetA(&m_psh);
    if (!AfxUnhookWindowCreate())
        PostNcDestroy();
    m_psh.dwFlags &= ~PSH_USECALLBACK;
    m_dwCreateStyle = (DWORD)-1;
    return hWnd != NULL && hWnd != (HWND)-1;
}

INT_PTR CPropertySheet::DoModal()
{
    AfxInitCommonControls();
    BuildPropPageArray();
    CWinApp* pApp = AfxGetApp();
    if (pApp != NULL)
        pApp->EnableModeless(FALSE);

    // the owner (never a child window) is disabled while the sheet runs
    HWND hWndTop = NULL;
    HWND hWndParent = AfxGetSafeOwner(m_pParentWnd, &hWndTop);
    m_psh.hwndParent = hWndParent;
    BOOL bEnableParent = FALSE;
    if (hWndParent != NULL && ::IsWindowEnabled(hWndParent)) {
        ::EnableWindow(hWndParent, FALSE);
        bEnableParent = TRUE;
    }
    HWND hWndCapture = ::GetCapture();
    if (hWndCapture != NULL)
        ::SendMessageA(hWndCapture, WM_CANCELMODE, 0, 0);

    // a modeless sheet in a loop of its own
    m_nModalResult = 0;
    m_nFlags |= WF_CONTINUEMODAL;
    AfxHookWindowCreate(this);
    m_psh.dwFlags |= PSH_MODELESS;
    HWND hWnd = (HWND)::PropertySheetA(&m_psh);
    m_psh.dwFlags &= ~PSH_MODELESS;
    AfxUnhookWindowCreate();
    INT_PTR nResult = -1;
    if (hWnd == NULL || hWnd == (HWND)-1) {
        m_nFlags &= ~WF_CONTINUEMODAL;
    } else {
        nResult = m_nModalResult;
        if (ContinueModal()) {
            DWORD dwFlags = MLF_SHOWONIDLE;
            if (GetStyle() & DS_NOIDLEMSG)
                dwFlags |= MLF_NOIDLEMSG;
            nResult = RunModalLoop(dwFlags);
        }
        // hidden before the owner is enabled, so the owner becomes the active window
        if (m_hWnd != NULL)
            SetWindowPos(NULL, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
    }
    m_nFlags &= ~WF_CONTINUEMODAL;
    if (bEnableParent)
        ::EnableWindow(hWndParent, TRUE);
    if (hWndTop != NULL)
        ::EnableWindow(hWndTop, TRUE);
    if (hWndParent != NULL && m_hWnd != NULL && ::GetActiveWindow() == m_hWnd)
        ::SetActiveWindow(hWndParent);
    DestroyWindow();
    if (pApp != NULL)
        pApp->EnableModeless(TRUE);
    return nResult;
}

BOOL CPropertySheet::ContinueModal()
{
    if (!CWnd::ContinueModal())
        return FALSE; // EndModalLoop
    // OK and Cancel leave a modeless sheet without a current page
    return m_hWnd != NULL && SendMessage(PSM_GETCURRENTPAGEHWND) != 0;
}

void CPropertySheet::EndDialog(int nEndID)
{
    m_nModalResult = nEndID;
    if (m_bModeless)
        DestroyWindow();
    else
        EndModalLoop(nEndID);
}

LRESULT CPropertySheet::HandleInitDialog(WPARAM, LPARAM) { return OnInitDialog(); }

BOOL CPropertySheet::OnInitDialog()
{
    // one scrolling row of tabs when stacked tabs are not wanted
    HWND hTab = ::GetDlgItem(m_hWnd, kTabControl);
    if (!m_bStacked && hTab != NULL)
        CWnd::ModifyStyle(hTab, TCS_MULTILINE, TCS_SINGLELINE, 0);
    // the sheet's own initialisation (pages, tabs, buttons)
    BOOL bResult = (BOOL)Default();
    if (m_bModeless && !IsWizard()) {
        // a modeless sheet has no standard buttons: the window ends above them
        CRect rectWnd;
        GetWindowRect(&rectWnd);
        HWND hOK = ::GetDlgItem(m_hWnd, IDOK);
        if (hOK != NULL) {
            CRect rectButton;
            ::GetWindowRect(hOK, &rectButton);
            SetWindowPos(NULL, 0, 0, rectWnd.Width(), rectButton.top - rectWnd.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        for (int nID : kStandardButtons) {
            HWND hButton = ::GetDlgItem(m_hWnd, nID);
            if (hButton != NULL) {
                ::ShowWindow(hButton, SW_HIDE);
                ::EnableWindow(hButton, FALSE);
            }
        }
    }
    if (!(GetStyle() & WS_CHILD))
        CenterWindow();
    return bResult;
}

BOOL CPropertySheet::PreTranslateMessage(MSG* pMsg)
{
    if (CWnd::PreTranslateMessage(pMsg))
        return TRUE; // tooltips
    // the keyboard of the sheet and its pages (Tab, mnemonics, Ctrl+Tab between the pages)
    if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST)
        return (BOOL)SendMessage(PSM_ISDIALOGMESSAGE, 0, (LPARAM)pMsg);
    return FALSE;
}

BOOL CPropertySheet::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (CWnd::OnCommand(wParam, lParam))
        return TRUE;
    // the push button that was clicked is the modal result (the sheet ends on OK and Cancel)
    HWND hWndCtrl = (HWND)lParam;
    if (hWndCtrl != NULL && HIWORD(wParam) == BN_CLICKED &&
        (::SendMessageA(hWndCtrl, WM_GETDLGCODE, 0, 0) & (DLGC_BUTTON | DLGC_DEFPUSHBUTTON))) {
        LONG lStyle = ::GetWindowLongA(hWndCtrl, GWL_STYLE) & 0x0F;
        if (lStyle == BS_PUSHBUTTON || lStyle == BS_DEFPUSHBUTTON || lStyle == BS_USERBUTTON || lStyle == BS_OWNERDRAW)
            m_nModalResult = LOWORD(wParam);
    }
    return FALSE; // the sheet's own handling follows
}

void CPropertySheet::OnClose()
{
    m_nModalResult = IDCANCEL;
    if (m_bModeless)
        DestroyWindow();
    else
        Default();
}

void CPropertySheet::OnSysCommand(UINT nID, LPARAM)
{
    m_nModalResult = IDCANCEL;
    if ((nID & 0xFFF0) == SC_CLOSE && m_bModeless) {
        SendMessage(WM_CLOSE);
        return;
    }
    Default();
}
