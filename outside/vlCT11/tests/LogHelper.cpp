// A second process for the activity-log tests: shows <count> message boxes with the texts
// "<tag> 0" ... "<tag> count-1" under the caption "Helfer" (unattended, inherited from the test).
// Exit code 0 when every box answered IDOK, 2 otherwise, 1 for wrong arguments.
#include <cstdlib>
#include <string>

#include "vlCT11.h"

int main(int argc, char** argv)
{
    if (argc != 3)
        return 1;
    std::string tag = argv[1];
    int count = std::atoi(argv[2]);
    int result = 0;
    for (int i = 0; i < count; ++i)
        if (CtlMessageBoxA(nullptr, (tag + " " + std::to_string(i)).c_str(), "Helfer", MB_OK) != IDOK)
            result = 2;
    return result;
}
