// A second station for the tests of shared writing, built from the engine's objects:
//
//   engine_write_probe serve
//       runs the steps of WriteCommands.h read from standard input, one a line, and answers each
//       with one line "<result> <error>" (the lock tests drive it through a pipe).
//   engine_write_probe append <table> <writer> <count> [<start file>]
//       opens the shared table (fields WRITER N, SEQ N, TEXT C), writes "ready", waits until the
//       start file exists (when one is named), and appends count records, each with db_blank,
//       db_replace and db_insert; writes "rec <writer> <seq> <record number>" for each.
//   engine_write_probe memo-write <table> <options>
//       defines the table (ID N 6, NOTE M) with the options (database type 1: dBase 4 memos) and
//       runs the lines of standard input: "new <hex>" appends a record with that memo text,
//       "set <recno> <hex>" writes the memo of a record again ("-" is the empty text). Writes
//       "ref <recno> <field text>" for every record at the end.
//   engine_write_probe memo-read <table> <options>
//       opens the table and writes "memo <recno> <hex>" with each record's NOTE (db_memo_read).
// On failure a line "error <code> (<step>)" and exit code 1.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>

#include "Job.h"
#include "WriteCommands.h"
#include "vlDB07.h"

namespace {

int Fail(const char* what)
{
    std::printf("error %u (%s)\n", db_error(), what);
    return 1;
}

std::string Hex(const char* bytes, size_t n)
{
    if (n == 0)
        return "-";
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (size_t i = 0; i < n; ++i) {
        out += digits[(unsigned char)bytes[i] >> 4];
        out += digits[(unsigned char)bytes[i] & 15];
    }
    return out;
}

std::string Unhex(const std::string& text)
{
    std::string out;
    if (text == "-")
        return out;
    for (size_t i = 0; i + 1 < text.size(); i += 2)
        out += (char)std::stoi(text.substr(i, 2), nullptr, 16);
    return out;
}

int Serve()
{
    std::string line;
    while (std::getline(std::cin, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line == "quit")
            break;
        std::printf("%s\n", writetest::RunCommand(line).c_str());
        std::fflush(stdout);
    }
    return 0;
}

int Append(const char* path, const char* writer, long count, const char* start)
{
    g_Job->exclusive = 0;
    db_files_open();
    if (!db_use(path, 0, nullptr, 0))
        return Fail("db_use");
    std::printf("ready\n");
    std::fflush(stdout);
    // All writers begin together, so that their appends meet.
    while (start && GetFileAttributesA(start) == INVALID_FILE_ATTRIBUTES)
        Sleep(5);
    for (long seq = 1; seq <= count; ++seq) {
        const std::string text = std::string("writer ") + writer + " row " + std::to_string(seq);
        if (!db_blank() || !db_replace("WRITER", writer) || !db_replace("SEQ", std::to_string(seq).c_str()) ||
            !db_replace("TEXT", text.c_str()) || !db_insert())
            return Fail("append");
        std::printf("rec %s %ld %u\n", writer, seq, db_recno());
    }
    db_close(0);
    return 0;
}

int MemoWrite(const char* path, unsigned options)
{
    db_files_open();
    if (!db_define_begin(path, 1, nullptr, options, 2) || !db_define_field("ID", 'N', 6, 0) ||
        !db_define_field("NOTE", 'M', 10, 0) || !db_define_end())
        return Fail("define");
    std::string line;
    long id = 0;
    while (std::getline(std::cin, line)) {
        const size_t space = line.find(' ');
        const std::string verb = line.substr(0, space);
        if (verb == "new") {
            const std::string text = Unhex(line.substr(space + 1));
            if (!db_blank() || !db_replace("ID", std::to_string(++id).c_str()) || !db_memo_write("NOTE", text.c_str()) ||
                !db_insert())
                return Fail("new");
        } else if (verb == "set") {
            const size_t second = line.find(' ', space + 1);
            const long recno = std::atol(line.substr(space + 1, second - space - 1).c_str());
            const std::string text = Unhex(line.substr(second + 1));
            if (db_goto(recno) != recno || !db_rlock(0) || !db_memo_write("NOTE", text.c_str()) || !db_write() ||
                !db_unlock(0))
                return Fail("set");
        }
    }
    for (unsigned r = 1; r <= db_reccount(); ++r) {
        char reference[16];
        db_goto((long)r);
        if (!db_get_contents("NOTE", reference, sizeof reference))
            return Fail("reference");
        std::printf("ref %u %s\n", r, reference);
    }
    db_close(0);
    return 0;
}

int MemoRead(const char* path, unsigned options)
{
    db_files_open();
    if (!db_use(path, 0x01, nullptr, options))
        return Fail("db_use");
    for (unsigned r = 1; r <= db_reccount(); ++r) {
        db_goto((long)r);
        HGLOBAL memo = db_memo_read("NOTE", nullptr);
        if (!memo)
            return Fail("db_memo_read");
        const char* text = (const char*)GlobalLock(memo);
        std::printf("memo %u %s\n", r, Hex(text, std::strlen(text)).c_str());
        GlobalUnlock(memo);
        GlobalFree(memo);
    }
    db_close(0);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    _db_process_attach(GetModuleHandleA(nullptr));
    db_job_open();
    const std::string mode = argc > 1 ? argv[1] : "";
    int rc = 2;
    if (mode == "serve")
        rc = Serve();
    else if (mode == "append" && (argc == 5 || argc == 6))
        rc = Append(argv[2], argv[3], std::atol(argv[4]), argc == 6 ? argv[5] : nullptr);
    else if (mode == "memo-write" && argc == 4)
        rc = MemoWrite(argv[2], (unsigned)std::strtoul(argv[3], nullptr, 0));
    else if (mode == "memo-read" && argc == 4)
        rc = MemoRead(argv[2], (unsigned)std::strtoul(argv[3], nullptr, 0));
    db_job_close();
    std::fflush(stdout);
    return rc;
}
