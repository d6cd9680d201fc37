// Carries what an error report needs: the owner window of its boxes, which is the application's
// main window at the time the reporter is made. An exception object of the class library, used
// only as such a carrier.
#pragma once

#include <afxwin.h>

class CErrorReporter : public CException {
    DECLARE_DYNAMIC(CErrorReporter)
public:
    CErrorReporter();
    virtual ~CErrorReporter();

    CWnd* m_pWnd;
};
