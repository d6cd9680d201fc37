// Probe of the ciphers and the record digest for the Linux-side checks, and a second station for
// protected tables.
//
//   engine_crypt_probe open <table> <field> <text>   opens a protected table (exit 0 when the
//                                                    field of record 1 holds the text, 1 when
//                                                    the table does not open, 2 otherwise)
//   engine_crypt_probe blowfish <password> <hex>     "key <hex>" (the 72-byte key text) and
//                                                    "data <hex>" (the bytes enciphered in place)
//   engine_crypt_probe scramble <password> <position> <hex>   "data <hex>"
//   (passwords in hexadecimal too, so that no code page changes their bytes on the way)
//   engine_crypt_probe md5 <folder>                  makes digest.dbf/.dbt and prints one line
//                                                    "<recno> <digest>" per record
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "Job.h"
#include "Scrambler.h"
#include "clsBlowfish.h"
#include "vlDB07.h"

namespace {

std::string FromHex(const char* hex)
{
    std::string bytes;
    for (size_t i = 0; hex[i] && hex[i + 1]; i += 2) {
        char pair[3] = {hex[i], hex[i + 1], 0};
        bytes += (char)std::strtoul(pair, nullptr, 16);
    }
    return bytes;
}

void PrintHex(const char* label, const void* data, size_t length)
{
    std::printf("%s ", label);
    for (size_t i = 0; i < length; ++i)
        std::printf("%02X", ((const unsigned char*)data)[i]);
    std::printf("\n");
}

int Open(const char* table, const char* field, const char* text)
{
    db_files_open();
    if (!db_use(table, 0x01, nullptr, 0))
        return 1;
    char value[256] = {};
    db_goto(1);
    db_get_contents(field, value, sizeof value);
    std::string trimmed = value;
    trimmed.erase(trimmed.find_last_not_of(' ') + 1);
    return trimmed == text ? 0 : 2;
}

int Blowfish(const char* passwordHex, const char* hex)
{
    clsBlowfish cipher(FromHex(passwordHex).c_str());
    PrintHex("key", (const char*)cipher.Key(), cipher.Key().GetLength());
    std::string data = FromHex(hex);
    cipher.Encode(data.data(), (unsigned)data.size());
    PrintHex("data", data.data(), data.size());
    return 0;
}

int Scramble(const char* passwordHex, const char* position, const char* hex)
{
    char dir[MAX_PATH], table[MAX_PATH];
    GetTempPathA(sizeof dir, dir);
    std::snprintf(table, sizeof table, "%sscramble_%lu.dbf", dir, GetCurrentProcessId());
    db_files_open();
    if (!db_define_begin(table, 1, nullptr, 0, 1) || !db_define_field("A", 'C', 1, 0) || !db_define_end()) {
        const DWORD systemError = GetLastError();
        std::printf("defining %s failed: error %u, system error %lu\n", table, db_error(), systemError);
        return 1;
    }
    db_set_password(1, FromHex(passwordHex).c_str());
    std::string data = FromHex(hex);
    _scr_encode(*g_Job->currentArea, (int32_t)std::strtol(position, nullptr, 10), data.data(), (unsigned)data.size());
    PrintHex("data", data.data(), data.size());
    db_close(3);
    DeleteFileA(table);
    return 0;
}

// Records of every kind: memo texts of one and several blocks, none, an empty one, a deleted
// record, a changed memo.
int Md5(const char* folder)
{
    const std::string table = std::string(folder) + "\\digest.dbf";
    db_files_open();
    if (!db_define_begin(table.c_str(), 1, nullptr, 0, 4) || !db_define_field("NAME", 'C', 12, 0) ||
        !db_define_field("BETRAG", 'N', 8, 2) || !db_define_field("NOTIZ", 'M', 10, 0) ||
        !db_define_field("ANHANG", 'M', 10, 0) || !db_define_end())
        return 1;
    const char* const memos[] = {"kurz", "", nullptr, "lang und lang und lang "};
    for (int n = 1; n <= 8; ++n) {
        char text[32];
        db_blank();
        std::snprintf(text, sizeof text, "Zeile %d", n);
        db_replace("NAME", text);
        std::snprintf(text, sizeof text, "%d.25", n * 11);
        db_replace("BETRAG", text);
        for (const char* field : {"NOTIZ", "ANHANG"}) {
            const char* memo = memos[(n + (field[0] == 'A')) % 4];
            if (!memo)
                continue;
            std::string value = memo;
            if (n % 3 == 0)
                for (int i = 0; i < 40; ++i)
                    value += memo;
            db_memo_write(field, value.c_str());
        }
        if (!db_insert())
            return 1;
    }
    db_close(3);
    if (!db_use(table.c_str(), 0x01, nullptr, 0))
        return 1;
    db_goto(5);
    db_delete();
    db_goto(2);
    db_memo_write("NOTIZ", "ge\xE4ndert");
    db_write();
    for (int n = 1; n <= 8; ++n) {
        char digest[33];
        db_goto(n);
        if (!db_calc_md5(digest))
            return 1;
        std::printf("%d %s\n", n, digest);
    }
    db_close(3);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    _db_process_attach(GetModuleHandleA(nullptr));
    db_job_open();
    int result = 3;
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "open" && argc == 5)
        result = Open(argv[2], argv[3], argv[4]);
    else if (mode == "blowfish" && argc == 4)
        result = Blowfish(argv[2], argv[3]);
    else if (mode == "scramble" && argc == 5)
        result = Scramble(argv[2], argv[3], argv[4]);
    else if (mode == "md5" && argc == 3)
        result = Md5(argv[2]);
    std::fflush(stdout);
    db_job_close();
    return result;
}
