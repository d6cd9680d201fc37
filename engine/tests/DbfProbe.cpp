// A small program around vlDB07.dll for the tests that check tables with independent readers
// and for the tests that read the engine's trace and dumps from the debug-output channel.
//
//   engine_dbf_probe dump <table> [flags]
//       opens the table and writes its header values, its field descriptors and every record's
//       deleted flag and field contents (db_get_contents, as hexadecimal bytes):
//         table <version> <header length> <record length> <record count> <charset>
//         field <name> <type> <length> <decimals>
//         record <recno> <deleted 0/1> <hex>|- ...
//   engine_dbf_probe create <table> <options>
//       reads the fields ("NAME C 20 0;AMOUNT N 8 2;...") and then one record a line
//       ("<deleted 0/1> <hex>|- ...") from standard input, defines the table with db_define_*,
//       fills each record with db_blank and db_replace and appends the record image made of the
//       fields' contents (appending records is not an export of this engine part yet).
//   engine_dbf_probe trace <table>      a few calls with tracing on
//   engine_dbf_probe debuginfo <table>  the dumps of db_debuginfo
// On failure a line "error <code>" and exit code 1.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "vlDB07.h"

namespace {

int Fail(const char* what)
{
    std::printf("error %u (%s)\n", db_error(), what);
    return 1;
}

std::string Hex(const std::string& bytes)
{
    if (bytes.empty())
        return "-";
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (unsigned char c : bytes) {
        out += digits[c >> 4];
        out += digits[c & 15];
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

std::vector<std::string> Words(const std::string& line, char separator = ' ')
{
    std::vector<std::string> words;
    std::stringstream in(line);
    std::string word;
    while (std::getline(in, word, separator))
        if (!word.empty())
            words.push_back(word);
    return words;
}

int Dump(const char* path, unsigned flags)
{
    unsigned char header[32] = {};
    HANDLE h = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    DWORD read = 0;
    if (h != INVALID_HANDLE_VALUE) {
        ReadFile(h, header, sizeof header, &read, nullptr);
        CloseHandle(h);
    }
    if (!db_use(path, flags, nullptr, 0))
        return Fail("db_use");
    const unsigned count = db_reccount();
    std::printf("table %02x %u %u %u %d\n", header[0], db_header(), db_recsize(), count, db_get_charset());
    const unsigned fields = db_fcount();
    for (unsigned i = 1; i <= fields; ++i) {
        char name[16];
        db_get_fieldname(i, name, 10);
        std::printf("field %s %c %u %d\n", name, (char)db_get_type(name), db_get_length(name), db_get_decimals(name));
    }
    for (unsigned r = 1; r <= count; ++r) {
        if ((unsigned)db_goto((long)r) != r)
            return Fail("db_goto");
        char record[65536];
        if (!db_get_record(record, sizeof record))
            return Fail("db_get_record");
        std::printf("record %u %d", r, record[0] == '*' ? 1 : 0);
        for (unsigned i = 1; i <= fields; ++i) {
            char text[300];
            if (!db_get_contents(DB_FIELDREF(i), text, sizeof text))
                return Fail("db_get_contents");
            std::printf(" %s", Hex(text).c_str());
        }
        std::printf("\n");
    }
    return 0;
}

int Create(const char* path, unsigned options)
{
    std::string line;
    if (!std::getline(std::cin, line))
        return Fail("no fields");
    std::vector<std::string> fields = Words(line, ';');
    if (!db_define_begin(path, 1, nullptr, options, (unsigned)fields.size()))
        return Fail("db_define_begin");
    std::vector<std::string> names;
    for (const std::string& f : fields) {
        std::vector<std::string> w = Words(f);
        if (w.size() != 4 || !db_define_field(w[0].c_str(), w[1][0], (unsigned)std::stoul(w[2]), (unsigned)std::stoul(w[3])))
            return Fail("db_define_field");
        names.push_back(w[0]);
    }
    if (!db_define_end())
        return Fail("db_define_end");
    db_files_open();
    std::vector<std::string> records;
    const unsigned size = db_recsize();
    while (std::getline(std::cin, line)) {
        std::vector<std::string> w = Words(line);
        if (w.size() != names.size() + 1)
            return Fail("bad record line");
        if (!db_blank())
            return Fail("db_blank");
        for (size_t i = 0; i < names.size(); ++i)
            if (!db_replace(names[i].c_str(), Unhex(w[i + 1]).c_str()))
                return Fail("db_replace");
        // The buffer stands at the end-of-file position, where db_get_record answers nothing:
        // the image is put together from the fields as stored.
        std::string record(w[0] == "1" ? "*" : " ");
        for (const std::string& name : names) {
            char text[300];
            db_get_contents(name.c_str(), text, sizeof text);
            record += text;
        }
        if (record.size() != size)
            return Fail("record image");
        records.push_back(record);
    }
    db_close(0);
    db_files_close();

    HANDLE h = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return Fail("reopen");
    DWORD done = 0;
    SetFilePointer(h, 0, nullptr, FILE_END);
    for (const std::string& r : records)
        WriteFile(h, r.data(), (DWORD)r.size(), &done, nullptr);
    unsigned char count[4];
    for (int i = 0; i < 4; ++i)
        count[i] = (unsigned char)(records.size() >> (8 * i));
    SetFilePointer(h, 4, nullptr, FILE_BEGIN);
    WriteFile(h, count, 4, &done, nullptr);
    CloseHandle(h);
    return 0;
}

// Calls whose trace lines the trace test checks.
int Trace(const char* path)
{
    db_files_open();
    db_set_debug(1);
    db_use(path, 0x01, "TR", 0);
    char buffer[200];
    db_get_contents("NAME", buffer, sizeof buffer);
    db_get_contents(DB_FIELDREF(2), buffer, sizeof buffer);
    db_get_contents("LONGTEXT", buffer, sizeof buffer);
    db_get_contents("NOSUCH", buffer, sizeof buffer);
    db_goto(1);
    db_replace("TR.NAME", "Neu");
    db_skip(1);
    db_recno();
    db_get_reference(DB_FIELDREF(2));
    db_close(3);
    db_set_debug(0);
    return 0;
}

int DebugInfo(const char* path)
{
    db_debuginfo(1);
    db_files_open();
    if (!db_use(path, 0x01, "DUMP", 0))
        return Fail("db_use");
    db_goto(2);
    db_debuginfo(0);
    db_debuginfo(3);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3)
        return 2;
    db_job_open();
    const std::string command = argv[1];
    int result = 2;
    if (command == "dump") {
        db_files_open();
        result = Dump(argv[2], argc > 3 ? (unsigned)std::stoul(argv[3], nullptr, 0) : 0x01);
    } else if (command == "create")
        result = Create(argv[2], argc > 3 ? (unsigned)std::stoul(argv[3], nullptr, 0) : 0);
    else if (command == "trace")
        result = Trace(argv[2]);
    else if (command == "debuginfo")
        result = DebugInfo(argv[2]);
    db_close(0);
    db_job_close();
    std::fflush(stdout);
    return result;
}
