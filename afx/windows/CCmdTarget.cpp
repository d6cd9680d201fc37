#include "afxwin.h"

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

CCmdTarget::CCmdTarget() {}

CCmdTarget::~CCmdTarget() {}

namespace {

void DoAppWaitCursor(int nCode)
{
    CWinApp* pApp = AfxGetApp();
    if (pApp != NULL)
        pApp->DoWaitCursor(nCode);
}

} // namespace

void CCmdTarget::BeginWaitCursor() { DoAppWaitCursor(1); }

void CCmdTarget::EndWaitCursor() { DoAppWaitCursor(-1); }

void CCmdTarget::RestoreWaitCursor() { DoAppWaitCursor(0); }
