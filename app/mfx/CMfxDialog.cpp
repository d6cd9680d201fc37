#include "CMfxDialog.h"

#include "MfxMessages.h"
#include "vlCT11.h"

IMPLEMENT_DYNAMIC(CMfxDialog, CDialog)

BEGIN_MESSAGE_MAP(CMfxDialog, CDialog)
ON_WM_ERASEBKGND()
ON_WM_DESTROY()
ON_COMMAND(18, OnHelpCommand)
ON_REGISTERED_MESSAGE(g_nMfxMsgKdMfx, OnMfxMessage)
ON_REGISTERED_MESSAGE(g_nMfxMsgCtlColorBtn, OnCtlColorBtn)
ON_REGISTERED_MESSAGE(g_nMfxMsgCtlColorStatic, OnCtlColorStatic)
ON_REGISTERED_MESSAGE(g_nMfxMsgCtlColorListBox, OnCtlColorListBox)
ON_REGISTERED_MESSAGE(g_nMfxMsgCtlColorScrollBar, OnCtlColorScrollBar)
ON_REGISTERED_MESSAGE(g_nMfxMsgCtlColorEdit, OnCtlColorEdit)
ON_REGISTERED_MESSAGE(g_nMfxMsgCtlColorDlg, OnCtlColorDlg)
END_MESSAGE_MAP()

CMfxDialog::CMfxDialog() : m_bFlag(FALSE), m_pAttachedObject(NULL) {}

CMfxDialog::CMfxDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : CDialog(nIDTemplate, pParentWnd), m_bFlag(FALSE), m_pAttachedObject(NULL)
{
}

CMfxDialog::CMfxDialog(LPCTSTR lpszTemplateName, CWnd* pParentWnd)
    : CDialog(lpszTemplateName, pParentWnd), m_bFlag(FALSE), m_pAttachedObject(NULL)
{
}

CMfxDialog::~CMfxDialog() { delete m_pAttachedObject; }

void CMfxDialog::SetAttachedObject(CObject* pObject)
{
    if (pObject != m_pAttachedObject)
        delete m_pAttachedObject;
    m_pAttachedObject = pObject;
}

void CMfxDialog::OnMfxNotifyValues(WORD, WORD) {}

void CMfxDialog::OnMfxNotify() {}

HBRUSH CMfxDialog::OnMfxCtlColor(CWnd*, CDC*, UINT) { return NULL; }

BOOL CMfxDialog::OnEraseBkgnd(CDC* pDC)
{
    CtlEraseBkgnd(m_hWnd, pDC->GetSafeHdc());
    return TRUE;
}

void CMfxDialog::OnDestroy()
{
    m_bFlag = FALSE;
    delete m_pAttachedObject;
    m_pAttachedObject = NULL;
    CWnd::OnDestroy();
}

void CMfxDialog::OnHelpCommand() {}

LRESULT CMfxDialog::OnMfxMessage(WPARAM wParam, LPARAM lParam)
{
    switch (wParam) {
    case MFX_MSG_NOTIFY_VALUES:
        OnMfxNotifyValues(LOWORD(lParam), HIWORD(lParam));
        return 1;
    case MFX_MSG_NOTIFY:
        OnMfxNotify();
        return 1;
    default:
        return 0;
    }
}

LRESULT CMfxDialog::RouteCtlColor(WPARAM wParam, LPARAM lParam, UINT nCtlType)
{
    return (LRESULT)OnMfxCtlColor(CWnd::FromHandle((HWND)lParam), CDC::FromHandle((HDC)wParam), nCtlType);
}

LRESULT CMfxDialog::OnCtlColorBtn(WPARAM wParam, LPARAM lParam) { return RouteCtlColor(wParam, lParam, CTLCOLOR_BTN); }
LRESULT CMfxDialog::OnCtlColorStatic(WPARAM wParam, LPARAM lParam) { return RouteCtlColor(wParam, lParam, CTLCOLOR_STATIC); }
LRESULT CMfxDialog::OnCtlColorListBox(WPARAM wParam, LPARAM lParam) { return RouteCtlColor(wParam, lParam, CTLCOLOR_LISTBOX); }
LRESULT CMfxDialog::OnCtlColorScrollBar(WPARAM wParam, LPARAM lParam) { return RouteCtlColor(wParam, lParam, CTLCOLOR_SCROLLBAR); }
LRESULT CMfxDialog::OnCtlColorEdit(WPARAM wParam, LPARAM lParam) { return RouteCtlColor(wParam, lParam, CTLCOLOR_EDIT); }
LRESULT CMfxDialog::OnCtlColorDlg(WPARAM wParam, LPARAM lParam) { return RouteCtlColor(wParam, lParam, CTLCOLOR_DLG); }
