// The waits of the data controller. The defaults are the program's; tests and benchmarks shorten
// them (CDataController's constructor takes a set), so that nothing waits for the program's
// intervals there.
#pragma once

#include <windows.h>

struct CControllerTimings {
    // The update thread wakes this often without being asked (milliseconds).
    DWORD dwUpdateInterval = 90000;
    // EnterBusy and WaitIdleEnterBusy look this often whether a reload pass still runs, at most
    // nBusyPolls times (then the caller goes on regardless).
    DWORD dwBusyPoll = 100;
    int nBusyPolls = 5000;
    // ReloadNow looks this often whether the update thread's pass is done, at most
    // nReloadNowPolls times.
    DWORD dwReloadNowPoll = 1000;
    int nReloadNowPolls = 200;
    // After an appointment has been saved and registered again: a pause, a further pause for a
    // series (whose days may go to the occurrence thread), and a pause before the companion
    // notice.
    DWORD dwSavePause = 100;
    DWORD dwSeriesPause = 700;
    DWORD dwNoticePause = 100;
    // After a deletion, before the views are told.
    DWORD dwDeletePause = 100;
    // A filter change: the pause before the maps are emptied, the first wait after the update
    // thread was woken, and then the polls while its passes run: nFilterPolls of dwFilterPoll for
    // the filter and user changes, nLinkFilterPolls of dwLinkFilterPoll for the link filters and
    // the to-do filter dialog.
    DWORD dwFilterSettle = 100;
    DWORD dwFilterFirstWait = 1000;
    DWORD dwFilterPoll = 500;
    int nFilterPolls = 400;
    DWORD dwLinkFilterPoll = 1000;
    int nLinkFilterPolls = 200;
};
