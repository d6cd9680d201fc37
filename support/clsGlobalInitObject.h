// The process allocator object of the library. Its construction (with the allocator's start-up
// priority) opens the debug-output channel for the library's module and a job of the utility
// library with its heap "MainHeap"; its destruction closes them in reverse order.
#pragma once

#include <windows.h>

class clsGlobalInitObject {
public:
    explicit clsGlobalInitObject(HMODULE module);
    ~clsGlobalInitObject();
    clsGlobalInitObject(const clsGlobalInitObject&) = delete;
    clsGlobalInitObject& operator=(const clsGlobalInitObject&) = delete;

    long UtilJob() const { return m_utilJob; }
    long UtilHeap() const { return m_utilHeap; }

private:
    long m_utilJob = 0;
    long m_utilHeap = 0;
};
