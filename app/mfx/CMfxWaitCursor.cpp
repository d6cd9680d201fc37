#include "CMfxWaitCursor.h"

namespace {

// The wait cursor is the application's; it is reached through the main window when there is one.
CCmdTarget* WaitCursorTarget()
{
    CWnd* pMain = AfxGetMainWnd();
    if (pMain != NULL)
        return pMain;
    return AfxGetApp();
}

} // namespace

CMfxWaitCursor::CMfxWaitCursor() : m_bActive(TRUE)
{
    if (CCmdTarget* pTarget = WaitCursorTarget())
        pTarget->BeginWaitCursor();
}

CMfxWaitCursor::~CMfxWaitCursor()
{
    if (!m_bActive)
        return;
    if (CCmdTarget* pTarget = WaitCursorTarget())
        pTarget->EndWaitCursor();
}
