#include "CSignalRecorder.h"

CSignalRecorder& CSignalRecorder::Instance()
{
    static CSignalRecorder recorder;
    return recorder;
}

CSignalRecorder::CSignalRecorder() : m_hRecorded(CreateEventA(NULL, FALSE, FALSE, NULL)), m_bClosed(false)
{
    InitializeCriticalSection(&m_lock);
}

int CALLBACK CSignalRecorder::Callback(int nType, const TimerInfo* pInfo)
{
    Instance().Record(nType, *pInfo);
    return 0;
}

void CSignalRecorder::Record(int nType, const TimerInfo& info)
{
    EnterCriticalSection(&m_lock);
    m_signals.push_back({nType, info, GetTickCount64(), GetCurrentThreadId(), m_bClosed});
    LeaveCriticalSection(&m_lock);
    SetEvent(m_hRecorded);
}

void CSignalRecorder::Clear()
{
    EnterCriticalSection(&m_lock);
    m_signals.clear();
    m_bClosed = false;
    LeaveCriticalSection(&m_lock);
}

void CSignalRecorder::MarkClosed()
{
    EnterCriticalSection(&m_lock);
    m_bClosed = true;
    LeaveCriticalSection(&m_lock);
}

std::vector<RecordedSignal> CSignalRecorder::Signals()
{
    EnterCriticalSection(&m_lock);
    std::vector<RecordedSignal> signals = m_signals;
    LeaveCriticalSection(&m_lock);
    return signals;
}

bool CSignalRecorder::WaitFor(const std::function<bool(const std::vector<RecordedSignal>&)>& condition,
                              DWORD dwTimeout)
{
    const ULONGLONG nEnd = GetTickCount64() + dwTimeout;
    for (;;) {
        if (condition(Signals()))
            return true;
        const ULONGLONG nNow = GetTickCount64();
        if (nNow >= nEnd)
            return false;
        WaitForSingleObject(m_hRecorded, (DWORD)(nEnd - nNow));
    }
}

bool CSignalRecorder::WaitForCount(size_t n, DWORD dwTimeout)
{
    return WaitFor([n](const std::vector<RecordedSignal>& signals) { return signals.size() >= n; }, dwTimeout);
}

std::string CSignalRecorder::Describe(const std::vector<RecordedSignal>& signals)
{
    std::string text;
    for (const RecordedSignal& s : signals) {
        if (!text.empty())
            text += ' ';
        text += std::to_string(s.nType) + ":" + std::to_string(s.info.lTimerId);
    }
    return "[" + text + "]";
}
