#include "CDbProgressDialog.h"

#include <afxwin.h>

#include "CMfxString.h"
#include "vlCT11.h"

namespace {

const int kModeWithBar = 2;
const int kNoDialog = -1;

} // namespace

CDbProgressDialog::CDbProgressDialog(BOOL bQuiet, UINT nCaptionId, UINT nTextId) : m_nHandle(kNoDialog)
{
    if (bQuiet)
        return;
    CWnd* pMain = AfxGetMainWnd();
    const CMfxString strCaption(nCaptionId), strText(nTextId);
    m_nHandle = CtlAbortDlgStartA(pMain != NULL ? pMain->GetSafeHwnd() : NULL, strCaption, strText, kModeWithBar);
}

CDbProgressDialog::~CDbProgressDialog() { End(); }

void CDbProgressDialog::SetText(LPCTSTR lpszText, int nPercent)
{
    if (m_nHandle >= 0)
        CtlAbortDlgSetTextA(m_nHandle, lpszText, nPercent);
}

void CDbProgressDialog::End()
{
    if (m_nHandle >= 0)
        CtlAbortDlgEnd(m_nHandle);
    m_nHandle = kNoDialog;
}
