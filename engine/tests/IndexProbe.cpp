// A small program around vlDB07.dll for the index interop test: it builds, writes through and
// seeks the two indexes of the program's schedule table.
//
//   engine_index_probe build <table> <nt0> <nt1>
//       opens the table exclusively and creates both indexes with db_index_on
//   engine_index_probe write <table> <nt0> <nt1> <operations>
//       opens the table shared with both indexes and applies the operations, one a line:
//         w <recno> <FIELD>=<hex> ...   db_goto, db_rlock, db_replace of each field, db_write
//         a <FIELD>=<hex> ...           db_blank, db_replace of each field, db_insert
//   engine_index_probe seek <table> <nt0> <nt1> <record id> ...
//       seeks each record id in the record-id index and writes "<id> <recno>" (0: not found)
// Every command ends with "ok"; a failure writes "fail <line> <error>" and ends with exit code 1.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "vlDB07.h"

namespace {

const char kRecordIdKey[] = "RECORDID";
const char kCompositeKey[] =
    "UPPER(USER+DTOORD(D_FIRST_OC)+STR(T_BEGIN,4,0)+TYPE+PRIO+APP_ID+STR(DB_RECID,10,0)+TODOSTAT+STATUS+"
    "DTOORD(D_LAST_OC)+PRIVAT+SERIE+LEFT(BETREFF,30)+LEFT(WITH,30)+REMIND+RIGHT(RTRIM(DB_PATH),100))";
// db_use options of the schedule table: database type 4.
const unsigned kTableOptions = 4;

int Fail(long line)
{
    std::printf("fail %ld %u\n", line, db_error());
    return 1;
}

std::string Unhex(const std::string& text)
{
    std::string bytes;
    for (size_t i = 0; i + 1 < text.size(); i += 2)
        bytes += (char)std::strtoul(text.substr(i, 2).c_str(), nullptr, 16);
    return bytes;
}

bool Open(const char* table, int exclusive)
{
    db_set_exclusive(exclusive);
    return db_files_open() && db_use(table, 0, "TERMIN", kTableOptions);
}

// "FIELD=hex" assignments of one operation line.
bool Replace(std::istringstream& words)
{
    std::string assignment;
    while (words >> assignment) {
        const size_t equals = assignment.find('=');
        if (equals == std::string::npos)
            return false;
        const std::string field = assignment.substr(0, equals);
        if (!db_replace(field.c_str(), Unhex(assignment.substr(equals + 1)).c_str()))
            return false;
    }
    return true;
}

int Build(char** argv)
{
    if (!Open(argv[2], 1) || !db_index_on(1, kRecordIdKey, argv[3], 1) || !db_index_on(2, kCompositeKey, argv[4], 0))
        return Fail(0);
    return 0;
}

int Write(char** argv)
{
    if (!Open(argv[2], 0) || !db_set_index_to(1, argv[3]) || !db_set_index_to(2, argv[4]))
        return Fail(0);
    std::ifstream in(argv[5]);
    std::string text;
    long line = 0;
    while (std::getline(in, text)) {
        ++line;
        std::istringstream words(text);
        std::string verb;
        words >> verb;
        if (verb == "w") {
            long recno = 0;
            words >> recno;
            char probe[8];
            if (db_goto(recno) != recno || !db_rlock(1) || !db_get_contents("TYPE", probe, sizeof probe) ||
                !Replace(words) || !db_write() || !db_unlock(0))
                return Fail(line);
        } else if (verb == "a") {
            if (!db_blank() || !Replace(words) || !db_insert())
                return Fail(line);
        } else
            return Fail(line);
    }
    return 0;
}

int Seek(int argc, char** argv)
{
    if (!Open(argv[2], 0) || !db_set_index_to(1, argv[3]) || !db_set_index_to(2, argv[4]) || !db_set_order(1))
        return Fail(0);
    for (int i = 5; i < argc; ++i) {
        const BOOL found = db_seek(argv[i]);
        if (db_error())
            return Fail(i);
        std::printf("%s %u\n", argv[i], found ? db_recno() : 0u);
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 5 || db_job_open() < 0)
        return 2;
    db_set_dateformat(3);
    const std::string command = argv[1];
    int result = 2;
    if (command == "build")
        result = Build(argv);
    else if (command == "write" && argc == 6)
        result = Write(argv);
    else if (command == "seek")
        result = Seek(argc, argv);
    db_close(0);
    db_job_close();
    if (result == 0)
        std::printf("ok\n");
    return result;
}
