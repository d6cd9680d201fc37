// The one function through which toolkit code shows a message box, and its replaceable hook
// (tests answer the boxes and record what was shown).
#pragma once

#include <windows.h>

typedef int(WINAPI* TK_MESSAGEBOX_HOOK)(HWND hWndOwner, LPCSTR lpszText, LPCSTR lpszCaption, UINT nType);

// Installs pfnHook (NULL restores MessageBoxA) and returns the hook installed before.
TK_MESSAGEBOX_HOOK TkSetMessageBoxHook(TK_MESSAGEBOX_HOOK pfnHook);
int TkMessageBox(HWND hWndOwner, LPCSTR lpszText, LPCSTR lpszCaption, UINT nType);
