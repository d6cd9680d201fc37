#include "clsMessageBoxThread.h"

#include "LibMessageBox.h"
#include "PathHelpers.h"

clsMessageBoxThread::clsMessageBoxThread(const char* text, const char* caption, UINT style)
    : clsThreadBase("clsMessageBoxThread"), m_style(style)
{
    SafeStrCopy(m_text, text, sizeof m_text);
    SafeStrCopy(m_caption, caption, sizeof m_caption);
}

clsMessageBoxThread::~clsMessageBoxThread() { CloseThreadHandle(); }

DWORD clsMessageBoxThread::ThreadMain()
{
    m_answer = LibMessageBox(nullptr, m_text, m_caption, m_style);
    return 0;
}

int clsMessageBoxThread::Ask()
{
    ThreadStart(THREAD_PRIORITY_NORMAL);
    if (ThreadHandle())
        WaitForSingleObject(ThreadHandle(), INFINITE);
    CloseThreadHandle();
    return m_answer;
}
