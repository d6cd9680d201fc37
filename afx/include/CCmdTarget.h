// Base of the classes that receive commands (threads, the application, windows; later documents).
// Command routing is not part of the library yet.
#pragma once

#include "CObject.h"

class CCmdTarget : public CObject {
    DECLARE_DYNAMIC(CCmdTarget)
public:
    CCmdTarget();
    virtual ~CCmdTarget();

    // The application's wait cursor (CWinApp::DoWaitCursor with 1, -1 and 0); nothing happens
    // while the module has no application object.
    void BeginWaitCursor();
    void EndWaitCursor();
    void RestoreWaitCursor();
};
