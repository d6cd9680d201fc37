#include "AllocatorAssert.h"

#include <windows.h>

#include "LibMessageBox.h"
#include "PrintfFormat.h"

void AllocatorAssert(const char* sourcePath, int line, const char* assertion)
{
    char caption[400];
    Format(caption, sizeof caption, "file '%hs', line %d", sourcePath, line);
    char text[1100];
    Format(text, sizeof text, "%s\r\n(Retry to break)", assertion);

    // A pending WM_QUIT would end the box at once: keep it aside until the box is gone.
    MSG quit;
    bool hadQuit = PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE;
    int answer = LibMessageBox(GetActiveWindow(), text, caption,
                               MB_ABORTRETRYIGNORE | MB_ICONERROR | MB_TASKMODAL | MB_SETFOREGROUND);
    if (answer == IDABORT)
        ExitProcess(1);
    if (answer == IDRETRY && IsDebuggerPresent())
        DebugBreak();
    if (hadQuit)
        PostQuitMessage((int)quit.wParam);
}
