// A small program around vlDB07.dll for the pack test against independent readers:
//
//   engine_pack_probe <table>
//       opens the table exclusively, packs it and writes "pack <result> <db_error>"; exit code 0,
//       or 1 with "error <code>" when the table cannot be opened.
#include <windows.h>

#include <cstdio>

#include "vlDB07.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::printf("usage: engine_pack_probe <table>\n");
        return 2;
    }
    db_job_open();
    db_files_open();
    if (!db_use(argv[1], 0x01, nullptr, 0)) {
        std::printf("error %u\n", db_error());
        db_job_close();
        return 1;
    }
    const BOOL packed = db_pack();
    std::printf("pack %d %u\n", packed, db_error());
    db_close(3);
    db_job_close();
    return 0;
}
