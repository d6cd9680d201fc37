// A signal that the job's notification thread delivers 350 ms after the polling thread queued it:
// type 2 (next occurrence scheduled) or 0 (finished).
#pragma once

#include <afxdisp.h>

class CTimerNotification {
public:
    CTimerNotification(int nType, long lId, const COleDateTime& time, ULONGLONG nDueTick)
        : m_nType(nType), m_lId(lId), m_time(time), m_nDueTick(nDueTick)
    {
    }

    int m_nType;
    long m_lId;
    COleDateTime m_time;
    // GetTickCount64 value from which on it is delivered.
    ULONGLONG m_nDueTick;
};
