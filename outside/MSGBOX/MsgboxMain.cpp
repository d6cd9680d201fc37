// MSGBOX.EXE: shows the administrator's message after a shutdown of the program, with the
// controls library's box (so that unattended runs log it instead of waiting).
// Exit code: 0 after the box, 2 when the command line holds no text ("/t:").
#include <windows.h>

#include "MsgboxArguments.h"
#include "vlCT11.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    const MsgboxArguments arguments = ParseMsgboxArguments(ArgumentsOf(GetCommandLineA()));
    if (!arguments.hasText)
        return 2;
    CtlMessageBoxA(nullptr, arguments.text.c_str(), arguments.caption.c_str(), MB_OK | MB_ICONINFORMATION);
    return 0;
}
