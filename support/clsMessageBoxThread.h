// The question box of a crash report, shown on a thread of its own so that the crashing thread's
// message queue is not used. The box goes through the library's message box (the controls
// library, which answers from its script when it runs unattended). Text and caption are kept in
// fixed buffers: a question must not need the allocator, which may be what crashed.
#pragma once

#include <windows.h>

#include "clsThreadBase.h"

class clsMessageBoxThread : public clsThreadBase {
public:
    clsMessageBoxThread(const char* text, const char* caption, UINT style);
    ~clsMessageBoxThread() override;

    // Shows the box on the thread (normal priority), waits for the answer without a time limit
    // and returns it.
    int Ask();

protected:
    DWORD ThreadMain() override;

private:
    char m_text[2048];
    char m_caption[128];
    UINT m_style;
    int m_answer = 0;
};
