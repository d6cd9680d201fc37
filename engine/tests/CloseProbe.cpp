// A small program around vlDB07.dll for the closing-order test: it runs one sequence of engine
// calls on a table with an index, ending the way the sequence says, or walks indexes.
//
//   engine_close_probe run <table> <index> <step> ...
//     runs the steps in order; each one must succeed:
//       files_open, files_close     db_files_open, db_files_close
//       use:excl, use:shared        db_use of the table, exclusively or shared
//       use:cos, use:cos_shared     db_use with close-on-select (option 0x8000), exclusively or
//                                   shared
//       create                      db_index_on (1, "NAME", index)
//       index                       db_set_index_to (1, index)
//       flock                       db_flock, waiting
//       append:<n>                  n rows with NAME "Add0001", "Add0002", ... (db_blank,
//                                   db_replace, db_insert), numbered on from an earlier append
//       change:<recno>:<text>       db_goto, db_rlock, NAME := text; the buffer is not written
//       select:<n>                  db_select_area
//       close:<mode>                db_close
//       job_close                   db_job_close
//   engine_close_probe walk <table> <index> [<table> <index> ...]
//     for each pair: opens the table shared with the index, walks the index from its first key
//     and writes "<recno> <key in hex>" per key, then "end <error>"
// Both end with "ok"; a failed step writes "fail <step> <error>" and ends with exit code 1.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "vlDB07.h"

namespace {

const char kKey[] = "NAME";
const long kMostKeys = 100000;

// The first error the engine reported to its callback.
unsigned s_firstError = 0;
void DB_CALL NoteError(unsigned code)
{
    if (!s_firstError)
        s_firstError = code;
}

std::string Hex(const char* text)
{
    std::string out;
    char digits[3];
    for (const char* p = text; *p; ++p) {
        std::snprintf(digits, sizeof digits, "%02x", (unsigned char)*p);
        out += digits;
    }
    return out;
}

long s_appended = 0;

bool Append(long count)
{
    for (long i = 1; i <= count; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "Add%04ld", ++s_appended);
        if (!db_blank() || !db_replace(kKey, name) || !db_insert())
            return false;
    }
    return true;
}

bool Change(const std::string& argument)
{
    const size_t colon = argument.find(':');
    if (colon == std::string::npos)
        return false;
    const long recno = std::atol(argument.substr(0, colon).c_str());
    char name[32];
    return db_goto(recno) == recno && db_rlock(1) && db_get_contents(kKey, name, sizeof name) &&
           db_replace(kKey, argument.substr(colon + 1).c_str());
}

// One step of a run; false when its call failed.
bool Step(const std::string& step, const char* table, const char* index, bool* jobOpen)
{
    const size_t colon = step.find(':');
    const std::string verb = step.substr(0, colon);
    const std::string argument = colon == std::string::npos ? std::string() : step.substr(colon + 1);
    if (verb == "files_open")
        return db_files_open();
    if (verb == "files_close")
        return db_files_close();
    if (verb == "use") {
        const unsigned options = argument.compare(0, 3, "cos") == 0 ? 0x8000 : 0;
        if (argument == "shared" || argument == "cos_shared")
            return db_set_exclusive(0), db_use(table, 0, nullptr, options);
        db_set_exclusive(1);
        return db_use(table, 0x01, nullptr, options);
    }
    if (verb == "create")
        return db_index_on(1, kKey, index, 0);
    if (verb == "index")
        return db_set_index_to(1, index);
    if (verb == "flock")
        return db_flock(1);
    if (verb == "append")
        return Append(std::atol(argument.c_str()));
    if (verb == "change")
        return Change(argument);
    if (verb == "select")
        return db_select_area(std::atoi(argument.c_str())) == std::atoi(argument.c_str());
    if (verb == "close")
        return db_close(std::atoi(argument.c_str()));
    if (verb == "job_close") {
        db_job_close();
        *jobOpen = false;
        return true;
    }
    return false;
}

int Run(int argc, char** argv)
{
    bool jobOpen = true;
    for (int i = 4; i < argc; ++i) {
        if (!Step(argv[i], argv[2], argv[3], &jobOpen)) {
            std::printf("fail %s %u\n", argv[i], jobOpen ? db_error() : 0u);
            return 1;
        }
    }
    if (jobOpen)
        db_job_close();
    return 0;
}

int Walk(int argc, char** argv)
{
    db_set_exclusive(0);
    db_set_errorcallback(NoteError);
    if (!db_files_open())
        return 1;
    for (int i = 2; i + 1 < argc; i += 2) {
        if (!db_use(argv[i], 0, nullptr, 0) || !db_set_index_to(1, argv[i + 1])) {
            std::printf("fail %s %u\n", argv[i], db_error());
            return 1;
        }
        s_firstError = 0;
        long keys = 0;
        for (long recno = db_goto(0); recno != 0 && !db_eof() && keys < kMostKeys; recno = db_skip(1), ++keys) {
            char key[64];
            if (!db_get_contents("INDEXKEY", key, sizeof key))
                break;
            std::printf("%ld %s\n", recno, Hex(key).c_str());
        }
        std::printf("end %u\n", s_firstError);
        db_close(3);
    }
    db_job_close();
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 4 || db_job_open() < 0)
        return 2;
    const std::string command = argv[1];
    int result = 2;
    if (command == "run")
        result = Run(argc, argv);
    else if (command == "walk")
        result = Walk(argc, argv);
    if (result == 0)
        std::printf("ok\n");
    return result;
}
