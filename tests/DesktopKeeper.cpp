// Holds the Wine desktop of a test session open. The first program of a prefix that touches the
// desktop makes Wine start the desktop process, and that process inherits the program's standard
// output and error. Under a test run those are ctest's (or a test script's) pipes, so a test looked
// as if it hung after its last line while the desktop process, busy with the windows of other
// tests, held its pipe open. The session script starts this program first, with its standard
// handles on /dev/null, so the desktop process is started from here and lives until the session
// ends. Its only argument names a file it creates once the desktop exists.
#include <windows.h>

int main(int argc, char** argv)
{
    GetDesktopWindow();
    if (argc > 1) {
        HANDLE ready = CreateFileA(argv[1], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (ready != INVALID_HANDLE_VALUE)
            CloseHandle(ready);
    }
    // Ended by the session's end (wineserver -k).
    Sleep(INFINITE);
    return 0;
}
