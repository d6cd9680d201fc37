#include "CMfxModelessDlg.h"

IMPLEMENT_DYNAMIC(CMfxModelessDlg, CMfxDialog)

BEGIN_MESSAGE_MAP(CMfxModelessDlg, CMfxDialog)
END_MESSAGE_MAP()
