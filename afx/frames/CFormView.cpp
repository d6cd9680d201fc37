#include "afxwin.h"
#include "CFormView.h"

IMPLEMENT_DYNAMIC(CFormView, CScrollView)

BEGIN_MESSAGE_MAP(CFormView, CScrollView)
ON_WM_CREATE()
ON_WM_SETFOCUS()
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
    if (lpTemplate == NULL)
        return FALSE;

    // The window's creation message cannot carry the context (the dialog manager passes its
    // own): OnCreate takes it from here.
    m_pCreateContext = pContext;
    AfxInitCommonControls();
    AfxHookWindowCreate(this);
    HWND hWnd = ::CreateDialogIndirectParamA(hInst, lpTemplate, pParentWnd->GetSafeHwnd(), &AfxDlgProc, 0);
    if (!AfxUnhookWindowCreate())
        PostNcDestroy();
    m_pCreateContext = NULL;
    if (hWnd == NULL)
        return FALSE;

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
