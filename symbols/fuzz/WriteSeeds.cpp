// Writes the hand-made fixtures as fuzz seeds into the folder given as argument.
#include <cstdio>
#include <string>

#include "EdgeFixture.h"

static void Write(const std::string& path, const Bytes& bytes)
{
    if (FILE* f = fopen(path.c_str(), "wb")) {
        fwrite(bytes.data(), 1, bytes.size(), f);
        fclose(f);
    }
}

int main(int argc, char** argv)
{
    if (argc != 2)
        return 2;
    std::string dir = argv[1];
    Write(dir + "/edge.elf", BuildEdgeFixture());
    Write(dir + "/pubnames2.elf", BuildPubnamesFixture(2));
    Write(dir + "/pubnames3.elf", BuildPubnamesFixture(3));
    Write(dir + "/edge64.elf", BuildElf({{".debug_info", Bytes(16, 0)}, {".debug_line", Bytes(16, 0)}}, true));
    return 0;
}
