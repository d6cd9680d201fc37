#include "CTestDlg.h"

#include "SharedDialogHandlers.h"
#include "ShellResource.h"

BEGIN_MESSAGE_MAP(CTestDlg, CDialog)
ON_WM_DESTROY()
END_MESSAGE_MAP()

CTestDlg::CTestDlg(CWnd* pParent) : CDialog(IDD_TEST_DIALOG, pParent) {}

BOOL CTestDlg::OnInitDialog()
{
    CountDialogOpened();
    return CDialog::OnInitDialog();
}

void CTestDlg::OnDestroy()
{
    CDialog::OnDestroy();
    CountDialogClosed();
}
