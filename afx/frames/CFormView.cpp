#include "afxwin.h"
#include "CFormView.h"

IMPLEMENT_DYNAMIC(CFormView, CScrollView)

BEGIN_MESSAGE_MAP(CFormView, CScrollView)
ON_WM_CREATE()
ON_WM_SETFOCUS()
ON_MESSAGE(WM_INITDIALOG, OnInitForm)
END_MESSAGE_MAP()

CFormView::CFormView(LPCTSTR lpszTemplateName)
    : m_lpszTemplateName(lpszTemplateName), m_pCreateContext(NULL), m_hWndFocus(NULL)
{
}

CFormView::CFormView(UINT nIDTemplate)
    : m_lpszTemplateName(MAKEINTRESOURCEA(nIDTemplate)), m_pCreateContext(NULL), m_hWndFocus(NULL)
{
}

CFormView::~CFormView() {}

BOOL CFormView::Create(LPCTSTR, LPCTSTR, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID,
                       CCreateContext* pContext)
{
    // The style asked for decides the border (PreCreateWindow turns WS_BORDER into a client
    // edge); everything else comes from the template.
    CREATESTRUCT cs;
    memset(&cs, 0, sizeof(cs));
    cs.style = dwStyle != 0 ? dwStyle : AFX_WS_DEFAULT_VIEW;
    if (!PreCreateWindow(cs))
        return FALSE;

    HINSTANCE hInst = AfxGetResourceHandle();
    HRSRC hResource = ::FindResourceA(hInst, m_lpszTemplateName, (LPCSTR)RT_DIALOG);
    if (hResource == NULL) {
        hInst = AfxGetInstanceHandle();
        hResource = ::FindResourceA(hInst, m_lpszTemplateName, (LPCSTR)RT_DIALOG);
    }
    HGLOBAL hTemplate = hResource != NULL ? ::LoadResource(hInst, hResource) : NULL;
    LPCDLGTEMPLATE lpTemplate = hTemplate != NULL ? (LPCDLGTEMPLATE)::LockResource(hTemplate) : NULL;
    if (lpTemplate == NULL) {
        PostNcDestroy(); // the view goes as if its window had been made and destroyed
        return FALSE;
    }

    // The window's creation message cannot carry the context (the dialog manager passes its
    // own): OnCreate takes it from here. A form that could not be made (also one whose OLE
    // controls could not be made at WM_INITDIALOG) is gone with its view.
    m_pCreateContext = pContext;
    if (!CreateDlgIndirect(lpTemplate, pParentWnd, hInst))
        return FALSE;
    m_pCreateContext = NULL;

    ModifyStyle(WS_BORDER | WS_CAPTION, cs.style & (WS_BORDER | WS_CAPTION));
    ModifyStyleEx(WS_EX_CLIENTEDGE, cs.dwExStyle & WS_EX_CLIENTEDGE, SWP_FRAMECHANGED);
    SetDlgCtrlID((int)nID);
    // the template's size is what scrolls
    CRect rectTemplate;
    GetWindowRect(&rectTemplate);
    SetScrollSizes(MM_TEXT, rectTemplate.Size());
    SetWindowPos(NULL, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, SWP_NOZORDER | SWP_NOACTIVATE);
    if (dwStyle & WS_VISIBLE)
        ShowWindow(SW_SHOWNORMAL);
    return TRUE;
}

int CFormView::OnCreate(LPCREATESTRUCT lpcs)
{
    CREATESTRUCT cs = *lpcs;
    cs.lpCreateParams = m_pCreateContext;
    return CScrollView::OnCreate(&cs);
}

LRESULT CFormView::OnInitForm(WPARAM, LPARAM)
{
    // the dialog manager's own handling first (its answer decides the first focus)
    LRESULT lResult = Default();
    // The template's OLE controls, with their saved state, and the strings of its list and combo
    // boxes (DLGINIT). A control that cannot be made, or a box that refuses a string, fails the
    // form: its window goes, and with it the view.
    _AFX_OCC_DIALOG_INFO* pOccDialogInfo = m_pOccDialogInfo;
    m_pOccDialogInfo = NULL;
    COccManager* pOccManager = AfxGetOccManager();
    BOOL bMade = pOccDialogInfo == NULL ||
                 (pOccManager != NULL && pOccManager->CreateDlgControls(this, m_lpszTemplateName, pOccDialogInfo));
    if (!bMade || !ExecuteDlgInit(m_lpszTemplateName)) {
        DestroyWindow();
        return FALSE;
    }
    return lResult;
}

void CFormView::OnInitialUpdate()
{
    UpdateData(FALSE); // a refused value at this point is the program's mistake
    CScrollView::OnInitialUpdate();
}

void CFormView::OnDraw(CDC*) {}

BOOL CFormView::PreTranslateMessage(MSG* pMsg)
{
    if (CScrollView::PreTranslateMessage(pMsg))
        return TRUE; // tooltips
    // The dialog manager would swallow the frames' accelerators: the frames above the view
    // translate first.
    for (CFrameWnd* pFrame = GetParentFrame(); pFrame != NULL; pFrame = pFrame->GetParentFrame()) {
        if (pFrame->m_bHelpMode)
            return FALSE;
        if (pFrame->PreTranslateMessage(pMsg))
            return TRUE;
    }
    if (::GetWindow(m_hWnd, GW_CHILD) == NULL)
        return FALSE; // an empty form has no keyboard handling
    if ((pMsg->message < WM_KEYFIRST || pMsg->message > WM_KEYLAST) &&
        (pMsg->message < WM_MOUSEFIRST || pMsg->message > WM_MOUSELAST))
        return FALSE;
    return ::IsDialogMessageA(m_hWnd, pMsg);
}

BOOL CFormView::SaveFocusControl()
{
    HWND hWndFocus = ::GetFocus();
    if (hWndFocus != NULL && ::IsChild(m_hWnd, hWndFocus)) {
        m_hWndFocus = hWndFocus;
        return TRUE;
    }
    return FALSE;
}

void CFormView::OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView)
{
    // a control of the form keeps the focus it has
    if (SaveFocusControl())
        return;
    CScrollView::OnActivateView(bActivate, pActivateView, pDeactiveView);
}

void CFormView::OnActivateFrame(UINT nState, CFrameWnd*)
{
    if (nState == WA_INACTIVE)
        SaveFocusControl();
}

void CFormView::OnSetFocus(CWnd*)
{
    // the focus goes back to the control that had it last
    if (m_hWndFocus == NULL || !::IsWindow(m_hWndFocus) || !::IsChild(m_hWnd, m_hWndFocus)) {
        m_hWndFocus = NULL;
        Default();
        return;
    }
    ::SetFocus(m_hWndFocus);
}
