// Start-up and shut-down of the database library (the DLL's entry point).
#pragma once

#include <windows.h>

#include "LibHeap.h"

extern "C" BOOL WINAPI LibraryEntry(HINSTANCE module, DWORD reason, LPVOID reserved);
extern "C" BOOL WINAPI LibraryMain(HINSTANCE module, DWORD reason, LPVOID reserved);

// The engine's part of the attach and detach processing.
extern "C" int _db_process_attach(HMODULE module);
extern "C" int _db_process_detach();

// Warnings about the host program's stack reserve, read from its PE headers (PE32 or PE32+).
void CheckHostStackReserve(const char* hostPath);
