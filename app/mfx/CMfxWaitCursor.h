// Shows the application's wait cursor while it lives (long operations run under one).
#pragma once

#include <afxwin.h>

class CMfxWaitCursor {
public:
    CMfxWaitCursor();
    ~CMfxWaitCursor();
    CMfxWaitCursor(const CMfxWaitCursor&) = delete;
    CMfxWaitCursor& operator=(const CMfxWaitCursor&) = delete;

private:
    BOOL m_bActive;
};
