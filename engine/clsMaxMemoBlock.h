// The process-wide 1 MB transfer block through which memo texts are read: a movable global memory
// block and the critical section that guards it. It exists from library load to unload; without
// memory for it the readers allocate their own.
#pragma once

#include <windows.h>

#include "clsCrit.h"

class clsMaxMemoBlock {
public:
    static const SIZE_T kSize = 0x100000;

    clsMaxMemoBlock();
    virtual ~clsMaxMemoBlock();
    clsMaxMemoBlock(const clsMaxMemoBlock&) = delete;
    clsMaxMemoBlock& operator=(const clsMaxMemoBlock&) = delete;

    // NULL when the block could not be allocated.
    HGLOBAL Block() const { return m_block; }
    clsCrit& Lock() { return m_lock; }

private:
    clsCrit m_lock;
    HGLOBAL m_block = nullptr;
};

extern clsMaxMemoBlock g_MaxMemoBlock;
