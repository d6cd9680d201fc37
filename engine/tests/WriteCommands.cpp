#include "WriteCommands.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>

#include "Area.h"
#include "EngineHooks.h"
#include "Job.h"
#include "Locks.h"
#include "vlDB07.h"

namespace writetest {

namespace {

int s_changes = 0;

void CountChange(s_Area&, int, bool) { ++s_changes; }

s_Area& Current() { return *g_Job->currentArea; }

std::string Trimmed(std::string text)
{
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
}

int PlugIndex(int slot, const std::string& path)
{
    s_Index& index = Current().indexes[slot];
    std::snprintf(index.name, sizeof index.name, "%s", path.c_str());
    CharUpperA(index.name);
    index.file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             OPEN_EXISTING, 0, nullptr);
    g_EngineHooks.indexChanged = CountChange;
    // The stand-in index has no key expression: writes leave its keys alone.
    g_EngineHooks.evaluateKey = nullptr;
    s_changes = 0;
    return index.file != INVALID_HANDLE_VALUE;
}

int MemoLock(bool lock)
{
    HANDLE memo = Current().memoFile;
    return lock ? LockRange(memo, 0, DB_MEMO_WRITE_LOCK_LENGTH, FALSE) : UnlockRange(memo, 0, DB_MEMO_WRITE_LOCK_LENGTH);
}

long Run(const std::string& verb, const std::string& arg)
{
    const long n = std::atol(arg.c_str());
    if (verb == "use") {
        g_Job->exclusive = 0;
        if (!db_files_checkopen())
            db_files_open();
        return db_use(arg.c_str(), 0, nullptr, 0);
    }
    if (verb == "exclusive") {
        g_Job->exclusive = 0;
        if (!db_files_checkopen())
            db_files_open();
        // Exclusively, without flushing (option 0x4000): the fastest mode of writing.
        return db_use(arg.c_str(), 0x01, nullptr, 0x4000);
    }
    if (verb == "slot") {
        const size_t space = arg.find(' ');
        return PlugIndex(std::atoi(arg.c_str()), arg.substr(space + 1));
    }
    if (verb == "goto")
        return db_goto(n);
    if (verb == "rlock")
        return db_rlock((int)n);
    if (verb == "flock")
        return db_flock((int)n);
    if (verb == "unlock")
        return db_unlock((int)n);
    if (verb == "header")
        return LockArea(Current(), DB_LOCK_HEADER_WHAT, FALSE, DB_OWNER_CALLER);
    if (verb == "unheader")
        return UnlockArea(Current(), DB_LOCK_HEADER_WHAT, DB_OWNER_CALLER);
    if (verb == "ilock")
        return LockIndex(Current(), (int)n, FALSE, FALSE);
    if (verb == "iunlock")
        return UnlockIndex(Current(), (int)n, FALSE);
    if (verb == "ichange") {
        s_Index& index = Current().indexes[n];
        const uint32_t counter = index.changeCounter + 1;
        index.header[2] = (uint8_t)counter;
        index.header[3] = (uint8_t)(counter >> 8);
        return 1;
    }
    if (verb == "changes")
        return s_changes;
    if (verb == "memolock")
        return MemoLock(true);
    if (verb == "memounlock")
        return MemoLock(false);
    if (verb == "append") {
        if (!db_blank() || !db_replace("NAME", arg.c_str()) || !db_insert())
            return 0;
        return (long)db_recno();
    }
    if (verb == "replace") {
        // A record lock makes the buffer count as not read: the record is read first.
        char name[32];
        return db_get_contents("NAME", name, sizeof name) && db_replace("NAME", arg.c_str()) && db_write();
    }
    if (verb == "memo")
        return db_memo_write("NOTE", arg.c_str());
    if (verb == "write")
        return db_write();
    if (verb == "close")
        return db_close(3);
    if (verb == "area")
        return db_select_area((int)n);
    if (verb == "name") {
        char name[32];
        return db_get_contents("NAME", name, sizeof name) && Trimmed(name) == arg;
    }
    if (verb == "record") {
        char record[64];
        return db_get_record(record, sizeof record) && Trimmed(std::string(record + 1, 10)) == arg;
    }
    return -1;
}

} // namespace

std::string RunCommand(const std::string& line)
{
    const size_t space = line.find(' ');
    const std::string verb = line.substr(0, space);
    const std::string arg = space == std::string::npos ? std::string() : line.substr(space + 1);
    g_Job->currentError = 0;
    const long result = Run(verb, arg);
    std::ostringstream out;
    out << result << ' ' << g_Job->currentError;
    return out.str();
}

} // namespace writetest
