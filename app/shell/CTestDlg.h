// The program's test dialog (template 169, reached through a hidden button of the About box): a
// rich edit field that shows whether the rich edit library is there. It counts as an open dialog
// of the program, so the program does not close under it.
#pragma once

#include <afxwin.h>

class CTestDlg : public CDialog {
public:
    explicit CTestDlg(CWnd* pParent = NULL);

protected:
    BOOL OnInitDialog() override;
    afx_msg void OnDestroy();

    DECLARE_MESSAGE_MAP()
};
