#include "DBGHelpEntryPoints.h"

#include <new>

#include "FileNames.h"
#include "PathHelpers.h"
#include "clsDBGHELP.h"
#include "clsLengthyOpCond.h"

clsCrit DBGHelpLock;

namespace {

const DBGProgressInfo kNoWindow = {};

const DBGProgressInfo& WindowOf(const DBGProgressInfo* progress) { return progress ? *progress : kNoWindow; }

} // namespace

clsDBGHELP* DBGHelpCreate()
{
    DBGHelpLock.Enter();
    clsDBGHELP* help = new (std::nothrow) clsDBGHELP;
    if (help && help->Init(0))
        return help;
    delete help;
    DBGHelpLock.Leave();
    return nullptr;
}

clsDBGHELP* DBGHelpRelease(clsDBGHELP* help)
{
    if (help) {
        delete help;
        DBGHelpLock.Leave();
    }
    return help;
}

BOOL DBGHelpGetStackTraceList(clsDBGHELP* help, CONTEXT* context, int frameLimit, IDBGStackTraceList** list,
                              const DBGProgressInfo* progress)
{
    if (!help)
        return FALSE;
    clsLengthyOpCond window(*help, WindowOf(progress));
    return SUCCEEDED(help->GetStackTraceList(context, frameLimit, list));
}

BOOL DBGHelpGetModuleList(clsDBGHELP* help, IDBGModuleList** list, const DBGProgressInfo* progress)
{
    if (!help)
        return FALSE;
    clsLengthyOpCond window(*help, WindowOf(progress));
    return SUCCEEDED(help->GetModuleList(list));
}

BOOL DBGHelpWriteMiniDump(clsDBGHELP* help, char* path, int pathSize, EXCEPTION_POINTERS* exception,
                          const DBGProgressInfo* progress, DWORD exceptionThread)
{
    if (!help || !path || pathSize <= 0)
        return FALSE;
    clsLengthyOpCond window(*help, WindowOf(progress));
    if (!path[0]) {
        String name = CreateTempFileName("Mem", ".dmp", true);
        // A name that does not fit would send the dump elsewhere: give the reservation back.
        if (name.GetLength() >= (unsigned)pathSize) {
            DeleteFileA(name);
            return FALSE;
        }
        SafeStrCopy(path, name, (size_t)pathSize);
    }
    return help->WriteMiniDump(path, MiniDumpWithHandleData, exception, exceptionThread) >= 0;
}
