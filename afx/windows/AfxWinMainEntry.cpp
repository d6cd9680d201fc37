// The entry point of a program that links the class library and defines no WinMain of its own:
// the linker takes it from the library only then.
#include "AfxWindowLayer.h"

extern "C" int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow)
{
    return AfxWinMain(hInstance, hPrevInstance, lpCmdLine, nCmdShow);
}
