#include "clsGlobalInitObject.h"

#include "DebugOutput.h"
#include "clsLibInfo.h"
#include "vlUT11.h"

clsGlobalInitObject::clsGlobalInitObject(HMODULE module)
{
    DebugChannelOpen(module);
    m_utilJob = UtilJobOpenA(g_LibInfo.LibFileName(), 0);
    m_utilHeap = UtilHeapCreate(m_utilJob, "MainHeap", 0);
}

clsGlobalInitObject::~clsGlobalInitObject()
{
    UtilHeapDelete(m_utilHeap);
    UtilJobClose(m_utilJob);
    DebugChannelClose();
}
