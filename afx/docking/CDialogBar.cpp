#include "AfxDockingPrivate.h"
#include "CDialogBar.h"

#include <string.h>

IMPLEMENT_DYNAMIC(CDialogBar, CControlBar)

BEGIN_MESSAGE_MAP(CDialogBar, CControlBar)
END_MESSAGE_MAP()

CDialogBar::CDialogBar() : m_sizeDefault(0, 0), m_lpszTemplateName(NULL) {}

CDialogBar::~CDialogBar()
{
    m_bAutoDelete = FALSE;
    if (m_hWnd != NULL && CWnd::FromHandlePermanent(m_hWnd) == this)
        DestroyWindow();
}

BOOL CDialogBar::Create(CWnd* pParentWnd, LPCTSTR lpszTemplateName, UINT nStyle, UINT nID)
{
    if (pParentWnd == NULL || lpszTemplateName == NULL)
        return FALSE;
    m_dwStyle = nStyle & CBRS_ALL;
    // the styles may be changed as for any bar (the template's own window styles count then)
    CREATESTRUCT cs;
    memset(&cs, 0, sizeof(cs));
    cs.lpszClass = AFX_WNDCONTROLBAR_CLASS;
    cs.style = (DWORD)nStyle | WS_CHILD;
    cs.hMenu = (HMENU)(UINT_PTR)nID;
    cs.hInstance = AfxGetInstanceHandle();
    cs.hwndParent = pParentWnd->m_hWnd;
    if (!PreCreateWindow(cs))
        return FALSE;

    // the template, from the resources of the program (else of the module)
    HINSTANCE hInst = AfxGetResourceHandle();
    HRSRC hResource = ::FindResourceA(hInst, lpszTemplateName, (LPCSTR)RT_DIALOG);
    if (hResource == NULL && hInst != AfxGetInstanceHandle()) {
        hInst = AfxGetInstanceHandle();
        hResource = ::FindResourceA(hInst, lpszTemplateName, (LPCSTR)RT_DIALOG);
    }
    HGLOBAL hTemplate = hResource != NULL ? ::LoadResource(hInst, hResource) : NULL;
    LPCDLGTEMPLATE lpTemplate = hTemplate != NULL ? (LPCDLGTEMPLATE)::LockResource(hTemplate) : NULL;
    if (lpTemplate == NULL)
        return FALSE;

    // a modeless child dialog, attached to this object before its first message
    m_lpszTemplateName = lpszTemplateName;
    AfxInitCommonControls();
    AfxHookWindowCreate(this);
    HWND hWnd = ::CreateDialogIndirectParamA(hInst, lpTemplate, pParentWnd->m_hWnd, &AfxDlgProc, 0);
    AfxUnhookWindowCreate();
    m_lpszTemplateName = NULL;
    if (hWnd == NULL)
        return FALSE;
    if (m_hWnd == NULL) {
        ::DestroyWindow(hWnd);
        return FALSE;
    }

    SetDlgCtrlID((int)nID);
    // the template's size is the bar's size
    CRect rect;
    GetWindowRect(&rect);
    m_sizeDefault = rect.Size();
    ModifyStyle(0, WS_CLIPSIBLINGS);
    if (!ExecuteDlgInit(lpszTemplateName))
        return FALSE;
    // the frame's layout gives the bar its place and size
    SetWindowPos(NULL, 0, 0, 0, 0, SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    return TRUE;
}

CSize CDialogBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz)
{
    // docked, the bar stretches over the frame's width (height)
    if (bStretch)
        return CSize(bHorz ? 32767 : m_sizeDefault.cx, bHorz ? m_sizeDefault.cy : 32767);
    return m_sizeDefault;
}

void CDialogBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler)
{
    UpdateDialogControls(pTarget, bDisableIfNoHndler);
}
