// The program's session with the database engine: one per process (the data controller owns it;
// tables keep a pointer). Opening it opens an engine job with the program's defaults and installs
// the error handler; closing it ends the job.
#pragma once

#include <afx.h>

#include "vlDB07.h"

class CDbSession {
public:
    // Opens the session (Open).
    CDbSession();
    // Closes it when it is still open.
    ~CDbSession();
    CDbSession(const CDbSession&) = delete;
    CDbSession& operator=(const CDbSession&) = delete;

    // An engine job (without one the program ends with message 40049), DbErrorHandler, files
    // open, not exclusive, not exact, dates DD.MM.CCYY, 2 decimals, rows marked deleted hidden.
    void Open();
    // Removes the callback, closes the files and ends the job.
    void Close();

    // Installs the callback (NULL: DbErrorHandler), removing an installed one first.
    void SetErrorCallback(DbErrorCallback pfnCallback = NULL);
    // The engine's result.
    intptr_t RemoveErrorCallback();

    DbErrorCallback m_pfnCallback;

private:
    BOOL m_bOpen;
};
