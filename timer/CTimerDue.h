// One pending due of a job, kept in the job's due list in the order of insertion (not sorted).
// A timer has at most one due at a time; removing a timer removes its due with it, so the
// position never names a recycled node of the timer list.
#pragma once

#include <afxdisp.h>

class CTimerDue {
public:
    CTimerDue(const COleDateTime& due, POSITION posTimer) : m_due(due), m_posTimer(posTimer) {}

    COleDateTime m_due;
    // Position of the timer in the job's timer list.
    POSITION m_posTimer;
};
