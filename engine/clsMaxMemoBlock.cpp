#include "clsMaxMemoBlock.h"

clsMaxMemoBlock g_MaxMemoBlock;

clsMaxMemoBlock::clsMaxMemoBlock() : m_block(GlobalAlloc(GMEM_MOVEABLE, kSize)) {}

clsMaxMemoBlock::~clsMaxMemoBlock()
{
    if (m_block)
        GlobalFree(m_block);
}
