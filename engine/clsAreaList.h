// The area guard: which threads are inside a guarded export on each work area. It only warns
// (a box "Bitte QIV anrufen!!!") when a second thread enters or leaves a guarded export on an area
// another thread is working on; it never blocks a call.
#pragma once

#include <windows.h>

#include <vector>

#include "clsCrit.h"

class clsAreaList {
public:
    void Enter(int areaIndex);
    void Leave(int areaIndex);
    // Depth of the guard stack of an area (for diagnostics and tests).
    int Depth(int areaIndex);

private:
    struct clsAreaState {
        std::vector<DWORD> threads; // stack of entering threads
    };
    clsAreaState& StateOf(int areaIndex);

    clsCrit m_lock;
    std::vector<clsAreaState> m_areas;
};

extern clsAreaList g_AreaList;
