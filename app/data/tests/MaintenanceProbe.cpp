// The data controller's maintenance as a Linux-side test driver sees it
// (MaintenanceInteropTest.py): starts a controller on the data directory (the real timer library,
// no application object), runs one operation and prints its result and whether the controller's
// tables are open afterwards, "<result> <open>". The last output line is "ok" when the command
// ran.
//
//   maintenance_probe reorganize <dir> <silent 0|1> <clean-up 0|1>
//   maintenance_probe reindex <dir>
//   maintenance_probe clean <dir>                 RemoveInvalidRows
#include <afx.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>

#include "CDataController.h"

namespace {

const char kUser[] = "PROBE";

int Usage()
{
    fprintf(stderr, "usage: maintenance_probe reorganize|reindex|clean <dir> [<silent> <clean-up>]\n");
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3)
        return Usage();
    const std::string command = argv[1];
    std::string dir = argv[2];
    if (!dir.empty() && dir.back() != '\\')
        dir += '\\';
    if (command == "reorganize" && argc < 5)
        return Usage();
    if (command != "reorganize" && command != "reindex" && command != "clean")
        return Usage();

    CDataController controller(dir.c_str(), kUser);
    if (!controller.IsOpen()) {
        printf("not open\n");
        return 3;
    }
    BOOL bResult;
    if (command == "reorganize")
        bResult = controller.Reorganize(atoi(argv[3]) != 0, atoi(argv[4]) != 0);
    else if (command == "reindex")
        bResult = controller.Reindex();
    else
        bResult = controller.RemoveInvalidRows();
    printf("%d %d\nok\n", bResult ? 1 : 0, controller.IsOpen() ? 1 : 0);
    return 0;
}
