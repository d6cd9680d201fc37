// A modeless dialog in the controls library's look (CMfxDialog created with Create).
#pragma once

#include "CMfxDialog.h"

class CMfxModelessDlg : public CMfxDialog {
    DECLARE_DYNAMIC(CMfxModelessDlg)
public:
    CMfxModelessDlg() {}
    explicit CMfxModelessDlg(UINT nIDTemplate, CWnd* pParentWnd = NULL) : CMfxDialog(nIDTemplate, pParentWnd) {}

protected:
    DECLARE_MESSAGE_MAP()
};
