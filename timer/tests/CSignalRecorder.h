// Records the signals a timer job delivers to its callback, for the signalling tests: one
// recorder per process (callbacks are plain functions), waited on with generous time limits.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "VL32T1.h"

struct RecordedSignal {
    int nType;
    TimerInfo info;
    ULONGLONG nTick;
    DWORD nThreadId;
    // Delivered after the recorder was told that the job was closed.
    bool bAfterClose;
};

class CSignalRecorder {
public:
    static CSignalRecorder& Instance();

    // The callback to hand to TimerSetMessageCallback.
    static int CALLBACK Callback(int nType, const TimerInfo* pInfo);

    void Clear();
    // From now on every signal counts as delivered after a close.
    void MarkClosed();
    std::vector<RecordedSignal> Signals();
    // Waits until condition holds for the signals recorded so far, at most dwTimeout ms; whether
    // it holds.
    bool WaitFor(const std::function<bool(const std::vector<RecordedSignal>&)>& condition, DWORD dwTimeout);
    // Waits until at least n signals have come.
    bool WaitForCount(size_t n, DWORD dwTimeout);

    // "type id" of each signal, separated by spaces, for failure messages.
    static std::string Describe(const std::vector<RecordedSignal>& signals);

private:
    CSignalRecorder();
    void Record(int nType, const TimerInfo& info);

    CRITICAL_SECTION m_lock;
    HANDLE m_hRecorded;
    std::vector<RecordedSignal> m_signals;
    bool m_bClosed;
};
