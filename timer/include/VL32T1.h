// VL32T1.dll, the timer library: the one header its callers include.
//
// A caller opens a job, registers one-shot and recurring timers under ids of its own, chooses how
// it is told (a callback, or a message posted to a window of its own), and starts the job's
// polling. The job's polling thread wakes every poll interval (and whenever some process sets the
// named event "vl32t1EventSignal", shared by all jobs of all processes), signals every timer whose
// due time has come, and schedules the next occurrence of recurring timers.
//
// Signals (the first argument of TimerCallback, wParam of the channel message):
//   TIMER_SIGNAL_DUE (1)       a timer is due; sent at once from the job's polling thread;
//   TIMER_SIGNAL_NEXT (2)      a recurring timer has its next occurrence (the record's time);
//   TIMER_SIGNAL_FINISHED (0)  the id's last timer has run out (one-shot signalled, series ended).
// Types 2 and 0 follow their type 1 about 350 ms later from the job's notification thread; the
// signals of one job never overlap. Types 1 and 0 carry the current time with status null.
//
// A callback must return without waiting for a thread that may be calling the library, and must
// not call the library itself: the exports stop the polling thread and wait for it.
//
// Results: TIMER_OK (0); TIMER_ERROR (-1) the handle names no open job, or the operation failed;
// TIMER_DUPLICATE (-2) the key is already registered in the job; TIMER_NO_TIMER (-3) the id has
// no timer. Job handles are small positive integers; -1 is never a job.
//
// Dates: a TimerDateTime has exactly the layout of the class library's COleDateTime (the DATE at
// offset 0, the status at offset 8, 16 bytes), so that the exports do not depend on the class
// library's class: C++ callers convert with TimerDateTimeFrom(date). Status 0 valid, 1 invalid,
// 2 null. The start argument of a recurring timer is its first occurrence; the end argument the
// last moment of the series (null: an open series). Weekdays are 1 Sunday ... 7 Saturday; a week
// index is 0 to 3 for the first to fourth and 4 for the last such weekday of a month; intervals of
// less than 1 count as 1; lead minutes move the signal earlier than the occurrence.
#pragma once

#include <windows.h>
#include <stddef.h>
#include <stdint.h>

#ifdef VL32T1_BUILD
#define VL32T1_API
#else
#define VL32T1_API DECLSPEC_IMPORT
#endif

#ifdef __cplusplus
extern "C" {
#endif

enum {
    TIMER_SIGNAL_FINISHED = 0,
    TIMER_SIGNAL_DUE = 1,
    TIMER_SIGNAL_NEXT = 2
};

enum {
    TIMER_OK = 0,
    TIMER_ERROR = -1,
    TIMER_DUPLICATE = -2,
    TIMER_NO_TIMER = -3
};

enum {
    TIMER_STATUS_VALID = 0,
    TIMER_STATUS_INVALID = 1,
    TIMER_STATUS_NULL = 2
};

// The record handed with every signal: 20 bytes, packed to 4, as stored and exchanged.
//   offset 0  size 2  nSize     size of the record, always 20
//   offset 2  size 2  nPadding  not set
//   offset 4  size 4  lTimerId  the timer id
//   offset 8  size 8  dtTime    an OLE automation date in local time
//   offset 16 size 4  lStatus   status of the time: 0 valid, 1 invalid, 2 null
#pragma pack(push, 4)
typedef struct TimerInfo {
    uint16_t nSize;
    uint16_t nPadding;
    int32_t lTimerId;
    double dtTime;
    int32_t lStatus;
} TimerInfo;
#pragma pack(pop)

// A date argument, laid out as COleDateTime: DATE at 0, status at 8, 16 bytes.
typedef struct TimerDateTime {
    double dt;
    int32_t status;
} TimerDateTime;

// The caller's notification function: the signal type and the record, valid only during the
// call. The result is ignored.
typedef int(CALLBACK* TimerCallback)(int nType, const TimerInfo* pInfo);

// Jobs and their signalling.
VL32T1_API long WINAPI TimerJobOpen(void);
VL32T1_API int WINAPI TimerJobClose(long lJob);
// Signals go to hWnd as message nMessage (wParam the type, lParam the address of a TimerInfo
// that stays unchanged for the next 1024 signals of the process) while no callback is set.
// -1 when nMessage or hWnd is 0; both are stored in any case.
VL32T1_API int WINAPI TimerSetMessageChannel(long lJob, UINT nMessage, HWND hWnd);
// -1 for NULL, which is stored all the same and switches back to the message channel.
VL32T1_API int WINAPI TimerSetMessageCallback(long lJob, TimerCallback pfnCallback);
// -1 for 0, which is stored all the same; the polling thread waits at least one second.
VL32T1_API int WINAPI TimerSetPollTime(long lJob, int nSeconds);
VL32T1_API int WINAPI TimerStartPolling(long lJob);
// Returns when the polling thread has ended.
VL32T1_API int WINAPI TimerStopPolling(long lJob);
// Removes every timer of the id with its pending dues; -3 when the id has no timer.
VL32T1_API int WINAPI TimerDelete(long lJob, long lId);
// Copies a text of all pending dues ("id;dd.mm.yyyy;hh:mm" and a line feed each) into the
// buffer, at most nSize - 1 characters, always followed by a zero byte (nSize >= 1).
VL32T1_API int WINAPI TimerDump(long lJob, char* pszBuffer, int nSize);

// Timers. Every add returns 0, -1 (no job, or no first occurrence) or -2 (the id is registered).
VL32T1_API int WINAPI TimerAddFixed(long lJob, TimerDateTime when, long lId, int nLeadMinutes);
VL32T1_API int WINAPI TimerAddCyclicSec(long lJob, long lId, TimerDateTime start, TimerDateTime end,
                                        int nSeconds);
VL32T1_API int WINAPI TimerAddCyclicMinutes(long lJob, long lId, TimerDateTime start, TimerDateTime end,
                                            int nMinutes);
VL32T1_API int WINAPI TimerAddCyclicDay(long lJob, long lId, TimerDateTime start, TimerDateTime end,
                                        int bWorkingDaysOnly, int nEveryDays, int nLeadMinutes);
VL32T1_API int WINAPI TimerAddCyclicWeek(long lJob, long lId, TimerDateTime start, TimerDateTime end,
                                         int nEveryWeeks, int nWeekday);
// One weekly timer per non-zero flag of pWeekdays[1] (Sunday) to pWeekdays[7] (Saturday);
// pWeekdays[0] is no weekday and is ignored. Returns 0 once the job exists (-1 for NULL flags).
VL32T1_API int WINAPI TimerAddCyclicWeekByDay(long lJob, long lId, TimerDateTime start, TimerDateTime end,
                                              int nEveryWeeks, const int* pWeekdays, int nLeadMinutes);
VL32T1_API int WINAPI TimerAddCyclicMonth(long lJob, long lId, TimerDateTime start, TimerDateTime end,
                                          int nEveryMonths, int nDayOfMonth, int nLeadMinutes);
VL32T1_API int WINAPI TimerAddCyclicMonthExt(long lJob, long lId, TimerDateTime start, TimerDateTime end,
                                             int nWeekIndex, int nWeekday, int nEveryMonths, int nLeadMinutes);
// Yearly on a day of the year (1 to 366).
VL32T1_API int WINAPI TimerAddCyclicYear(long lJob, long lId, TimerDateTime start, TimerDateTime end,
                                         int nDayOfYear, int nLeadMinutes);
// Yearly on a month and day; 29 February falls on 28 February in common years.
VL32T1_API int WINAPI TimerAddCyclicYearDayInMonth(long lJob, long lId, TimerDateTime start, TimerDateTime end,
                                                   int nMonth, int nDay, int nLeadMinutes);
VL32T1_API int WINAPI TimerAddCyclicYearExt(long lJob, long lId, TimerDateTime start, TimerDateTime end,
                                            int nMonth, int nWeekIndex, int nWeekday, int nLeadMinutes);

#ifdef __cplusplus
} // extern "C"

static_assert(sizeof(TimerInfo) == 20, "TimerInfo is 20 bytes");
static_assert(offsetof(TimerInfo, nSize) == 0 && offsetof(TimerInfo, nPadding) == 2 &&
                  offsetof(TimerInfo, lTimerId) == 4 && offsetof(TimerInfo, dtTime) == 8 &&
                  offsetof(TimerInfo, lStatus) == 16,
              "TimerInfo layout is fixed");
static_assert(sizeof(TimerDateTime) == 16, "TimerDateTime is laid out as COleDateTime");
static_assert(offsetof(TimerDateTime, dt) == 0 && offsetof(TimerDateTime, status) == 8,
              "TimerDateTime is laid out as COleDateTime");

// A date argument from any date object with the members m_dt and m_status (COleDateTime).
template <class DATE_OBJECT> inline TimerDateTime TimerDateTimeFrom(const DATE_OBJECT& date)
{
    TimerDateTime result = {date.m_dt, (int32_t)date.m_status};
    return result;
}
#endif
