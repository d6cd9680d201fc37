// A small program around vlDB07.dll for the filter test: it opens a table, sets the job's exact
// and deleted settings, and for every filter read from standard input (one a line, as
// hexadecimal bytes) writes what the engine makes of it:
//
//   engine_expr_filter_probe <table> <exact 0/1> <deleted 0/1>
//       filter <n>
//       set <result of db_set_filter_to> <db_error>
//       forward <record numbers visible from db_goto(0) on with db_skip(1)>
//       backward <record numbers visible from db_goto(-1) on with db_skip(-1)>
//       match <record numbers for which db_matches_condition holds, every record visited by number>
// On failure to open the table: "error <code>" and exit code 1.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "vlDB07.h"

namespace {

std::string Unhex(const std::string& text)
{
    std::string out;
    for (size_t i = 0; i + 1 < text.size(); i += 2)
        out += (char)std::stoi(text.substr(i, 2), nullptr, 16);
    return out;
}

void Print(const char* what, const std::vector<long>& records)
{
    std::printf("%s", what);
    for (long r : records)
        std::printf(" %ld", r);
    std::printf("\n");
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 4)
        return 2;
    db_job_open();
    db_files_open();
    db_set_exact(std::atoi(argv[2]));
    db_set_deleted(std::atoi(argv[3]));
    if (!db_use(argv[1], 0x01, nullptr, 0)) {
        std::printf("error %u\n", db_error());
        return 1;
    }
    const long count = (long)db_reccount();
    std::string line;
    for (int n = 1; std::getline(std::cin, line); ++n) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const std::string filter = Unhex(line);
        std::printf("filter %d\n", n);
        const BOOL set = db_set_filter_to(filter.c_str());
        std::printf("set %d %u\n", set, db_error());

        std::vector<long> forward, backward, match;
        for (long r = db_goto(0); r != 0 && r != DB_EOF && !db_eof() && (long)forward.size() <= count; r = db_skip(1))
            forward.push_back(r);
        for (long r = db_goto(-1); r != 0 && r != DB_EOF && !db_bof() && (long)backward.size() <= count; r = db_skip(-1))
            backward.push_back(r);
        Print("forward", forward);
        Print("backward", backward);

        db_set_filter_to(nullptr);
        for (long r = 1; r <= count; ++r) {
            db_goto(r);
            if (db_matches_condition(filter.c_str()))
                match.push_back(r);
        }
        Print("match", match);
        std::fflush(stdout);
    }
    db_close(0);
    db_job_close();
    return 0;
}
