// The timer library's one application object, constructed when the library is loaded and closed
// down from its entry point when the library is unloaded.
//
// It keeps the job table and the API lock. Job handles are small positive integers (1, 2, ...)
// handed out in turn and never reused while the library stays loaded (after 2,147,483,647 opens
// they start again at 1, skipping open jobs), so a closed or unknown handle always answers -1.
#pragma once

#include <afxmt.h>
#include <afxwin.h>

#include "CLockedMap.h"

class CTimerJob;

class CTimerApp : public CWinApp {
public:
    CTimerApp();
    virtual ~CTimerApp();

    // Closes and deletes every job still open. At process end (the other threads are gone and may
    // have left locks held) nothing is waited for and nothing is freed.
    int ExitInstance() override;

    // Creates a job; its handle, or -1.
    long OpenJob();
    // The open job of the handle, or NULL.
    CTimerJob* GetJob(long lJob) const;
    // Closes and deletes the job; 0, or -1 for a handle that names no open job.
    int CloseJob(long lJob);

    // Set by the entry point before ExitInstance: the library is unloaded because the process ends
    // (TRUE) or by FreeLibrary (FALSE).
    BOOL m_bProcessEnding;

    // Held by every export for its whole run.
    CCriticalSection m_csApi;

private:
    // Handle -> job; the table owns its jobs.
    CLockedMap<long, long, CTimerJob*, CTimerJob*>* m_pJobs;
    long m_lLastHandle;
};

extern CTimerApp theApp;
