// A second station on an index file, run from the index tests and the interop driver:
//
//   engine_ntx_probe add <index> <prefix> <first> <count> [<event>]
//       waits for the named event when given, then adds the keys <prefix><n> for record numbers
//       n = first .. first + count - 1, each in a lock period of its own (waiting for the lock)
//   engine_ntx_probe apply <index> <operations>
//       one lock period for the whole file of operations, one a line:
//         a <recno> <key in hex>      add the key
//         d <recno> <key in hex>      delete the key
//         n <recno> <number>          add the number's key (the engine's numeric key form, with
//                                     the key size and decimals of the header)
//
// The index is plugged into slot 0 of a work area of its own on a shared table. Failures are
// written as "fail <line> <error>" and end the probe with exit code 1.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "BTree.h"
#include "Conversions.h"
#include "Job.h"
#include "Locks.h"
#include "NtxFormat.h"
#include "NtxTestKit.h"
#include "vlDB07.h"

namespace {

std::string FromHex(const std::string& hex)
{
    std::string text;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        text += (char)std::strtoul(hex.substr(i, 2).c_str(), nullptr, 16);
    return text;
}

int Fail(long line)
{
    std::printf("fail %ld %u\n", line, g_Job ? g_Job->currentError : 0u);
    return 1;
}

int Add(s_Area& area, const std::string& prefix, long first, long count, const char* event)
{
    if (event) {
        // Stations started together wait for the lock without pauses, so that their lock
        // periods interleave.
        s_LockClock clock;
        clock.retryMs = 1;
        _db_set_lock_clock(&clock);
        HANDLE start = CreateEventA(nullptr, TRUE, FALSE, event);
        WaitForSingleObject(start, 60000);
        CloseHandle(start);
    }
    for (long n = first; n < first + count; ++n) {
        if (!LockIndex(area, 0, TRUE, FALSE))
            return Fail(n);
        const bool added = _ntx_add_counted(area.indexes[0], (prefix + std::to_string(n)).c_str(), (int32_t)n);
        if (!UnlockIndex(area, 0, FALSE) || !added)
            return Fail(n);
    }
    std::printf("added %ld\n", count);
    return 0;
}

int Apply(s_Area& area, const char* path)
{
    s_Index& index = area.indexes[0];
    const unsigned keySize = ntx::KeySize(index.header);
    const int decimals = dbf::Get16(index.header + ntx::kDecimalsAt);
    if (!LockIndex(area, 0, TRUE, FALSE))
        return Fail(0);
    std::ifstream in(path);
    std::string verb, text;
    long recno = 0, line = 0;
    while (in >> verb >> recno >> text) {
        ++line;
        bool done;
        if (verb == "n") {
            char key[64];
            _numeric_key((int)keySize, std::atof(text.c_str()), key, (int)keySize, decimals);
            done = _ntx_add_counted(index, key, (int32_t)recno);
        } else if (verb == "a")
            done = _ntx_add_counted(index, FromHex(text).c_str(), (int32_t)recno);
        else
            done = _ntx_delete(index, FromHex(text).c_str(), (int32_t)recno);
        if (!done)
            return UnlockIndex(area, 0, FALSE), Fail(line);
    }
    if (!UnlockIndex(area, 0, FALSE))
        return Fail(line);
    std::printf("applied %ld\n", line);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3)
        return 2;
    _db_process_attach(GetModuleHandleA(nullptr));
    db_job_open();
    static s_Area area;
    area.job = g_Job;
    if (!ntxtest::PlugIndex(area, 0, argv[2])) {
        std::printf("cannot open %s\n", argv[2]);
        return 1;
    }
    const std::string mode = argv[1];
    int result = 2;
    if (mode == "add" && argc >= 6)
        result = Add(area, argv[3], std::atol(argv[4]), std::atol(argv[5]), argc > 6 ? argv[6] : nullptr);
    else if (mode == "apply" && argc >= 4)
        result = Apply(area, argv[3]);
    g_EngineHooks.releaseIndexSlot(area, 0);
    std::fflush(stdout);
    return result;
}
