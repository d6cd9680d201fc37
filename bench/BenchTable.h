// Filling a benchmark table fast: raw rows appended after the header of a table just created
// with db_define_end, and the header's record count set to match.
#pragma once

#include <windows.h>

#include <stdio.h>

#include <string>
#include <utility>
#include <vector>

// rows: the records' bytes, one after another; count: how many. False when the file cannot be
// written.
inline bool AppendRawRows(const char* path, const std::string& rows, long count)
{
    HANDLE h = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    DWORD done = 0;
    SetFilePointer(h, 0, nullptr, FILE_END);
    WriteFile(h, rows.data(), (DWORD)rows.size(), &done, nullptr);
    const unsigned char header[4] = {(unsigned char)count, (unsigned char)(count >> 8),
                                     (unsigned char)(count >> 16), (unsigned char)(count >> 24)};
    SetFilePointer(h, 4, nullptr, FILE_BEGIN);
    WriteFile(h, header, 4, &done, nullptr);
    CloseHandle(h);
    return done == 4;
}

// The fields (name, length) of a table file in their order and its record length; false when the
// file cannot be read.
inline bool ReadFieldLayout(const char* path, std::vector<std::pair<std::string, int>>& fields,
                            unsigned& recordLength)
{
    std::string header(32, '\0');
    FILE* f = fopen(path, "rb");
    if (!f)
        return false;
    fread(&header[0], 1, 32, f);
    fields.clear();
    std::string descriptor(32, '\0');
    while (fread(&descriptor[0], 1, 32, f) == 32 && descriptor[0] != 0x0D)
        fields.emplace_back(descriptor.substr(0, descriptor.find('\0')), (unsigned char)descriptor[16]);
    fclose(f);
    recordLength = (unsigned char)header[10] | ((unsigned char)header[11] << 8);
    return true;
}

// The folder of a benchmark's tables: the first argument, else name in the temporary directory.
inline std::string BenchFolder(int argc, char** argv, const char* name)
{
    if (argc > 1)
        return argv[1];
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    return std::string(temp) + name;
}
