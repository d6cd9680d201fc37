// Raises the main frame's busy counter for the guard's lifetime (nothing without a main frame).
#pragma once

#include "CDataMainFrame.h"

class CFrameBusyGuard {
public:
    explicit CFrameBusyGuard(CDataMainFrame* pFrame);
    ~CFrameBusyGuard();
    CFrameBusyGuard(const CFrameBusyGuard&) = delete;
    CFrameBusyGuard& operator=(const CFrameBusyGuard&) = delete;

private:
    volatile LONG* m_pCounter;
};
