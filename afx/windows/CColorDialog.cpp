#include "AfxWindowLayer.h"
#include "CColorDialog.h"

#include <string.h>

IMPLEMENT_DYNAMIC(CColorDialog, CDialog)

namespace {
// The custom colours of the program's colour dialogs, white until the user defines some.
COLORREF g_clrSavedCustom[16] = {RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
                                 RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
                                 RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
                                 RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255)};
} // namespace

CColorDialog::CColorDialog(COLORREF clrInit, DWORD dwFlags, CWnd* pParentWnd)
{
    m_pParentWnd = pParentWnd;
    memset(&m_cc, 0, sizeof(m_cc));
    m_cc.lStructSize = sizeof(m_cc);
    m_cc.lpCustColors = g_clrSavedCustom;
    m_cc.Flags = dwFlags;
    if ((m_cc.rgbResult = clrInit) != 0)
        m_cc.Flags |= CC_RGBINIT;
}

COLORREF* PASCAL CColorDialog::GetSavedCustomColors() { return g_clrSavedCustom; }

INT_PTR CColorDialog::DoModal()
{
    m_cc.hwndOwner = AfxGetSafeOwner(m_pParentWnd, NULL);
    if (m_cc.hInstance == NULL)
        m_cc.hInstance = (HWND)AfxGetResourceHandle();
    CWinApp* pApp = AfxGetApp();
    if (pApp != NULL)
        pApp->EnableModeless(FALSE);
    BOOL bResult = ::ChooseColorA(&m_cc);
    if (pApp != NULL)
        pApp->EnableModeless(TRUE);
    return bResult ? IDOK : IDCANCEL;
}

void CColorDialog::SetCurrentColor(COLORREF clr)
{
    m_cc.rgbResult = clr;
    m_cc.Flags |= CC_RGBINIT;
    // while the dialog is up it shows the colour at once (its colour-choice message)
    if (m_hWnd != NULL) {
        static const UINT nMsgSetRgb = ::RegisterWindowMessageA(SETRGBSTRINGA);
        SendMessage(nMsgSetRgb, 0, (LPARAM)clr);
    }
}
