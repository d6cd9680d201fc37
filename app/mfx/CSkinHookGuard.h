// Keeps the controls library from skinning windows for a scope: sets its skin-hooking
// prohibition flags to 3 and puts the previous flags back at the end.
#pragma once

class CSkinHookGuard {
public:
    CSkinHookGuard();
    ~CSkinHookGuard();
    CSkinHookGuard(const CSkinHookGuard&) = delete;
    CSkinHookGuard& operator=(const CSkinHookGuard&) = delete;

private:
    int m_nPreviousFlags;
};
