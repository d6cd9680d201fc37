// Process-wide record of the library: where the host program and the library live, the
// platform, the ANSI code page with its double-byte data, and the debug-output channel targets.
//
// The channel sends each line to the mailslot "\\.\mailslot\traxel" when a viewer owns it, else
// to a viewer window of class "QivClsTraxel32" or "QivTraxelDest" by WM_COPYDATA. The targets are
// looked up once, when the channel opens; without a target every output returns at once.
#pragma once

#include <windows.h>

#include "clsCrit.h"

class clsLibInfo {
public:
    clsLibInfo();
    ~clsLibInfo();

    // Fills the record and opens the channel (once, when the allocator object is made).
    void Init(HMODULE module);
    // Closes the channel.
    void Close();

    bool HasTarget() const { return m_mailslot != INVALID_HANDLE_VALUE || m_viewer != nullptr; }
    // Line protocol: splits text into lines and sends them.
    void WriteText(const char* text);
    // Writes through the global record when it has a target.
    static void Output(const char* text);

    // Double-byte helpers for the library's code page.
    bool IsLeadByte(unsigned char b) const;
    const char* CharNext(const char* p) const;
    const char* CharPrev(const char* start, const char* p) const;
    bool IsDBCS() const { return m_dbcs != 0; }
    UINT CodePage() const { return m_codePage; }

    bool IsDebuggerActive();

    HMODULE Module() const { return m_module; }
    const char* HostFileName() const { return m_hostFileName; }
    const char* HostPath() const { return m_hostPath; }
    const char* HostName() const { return m_hostName; }
    const char* HostDir() const { return m_hostDir; }
    const char* LibFileName() const { return m_libFileName; }
    const char* LibName() const { return m_libName; }
    const char* LibPath() const { return m_libPath; }
    const char* LibDir() const { return m_libDir; }
    DWORD PlatformCode() const { return m_platform; }
    WORD PlatformVersion() const { return m_version; }

private:
    void SendLine(char* line, int len);
    void ReadCodePage();

    HMODULE m_module = nullptr;
    char m_hostFileName[260];
    char m_hostPath[260];
    char m_hostName[256];
    char m_hostDir[256];
    char m_libFileName[260];
    char m_libName[256];
    char m_libPath[260];
    char m_libDir[260];
    WORD m_version = 0;
    DWORD m_platform = 0;
    clsCrit m_lock;
    WORD m_codePage = 0;
    CPINFO m_cpInfo;
    int m_dbcs = 0;
    int m_lineWritten = 0;
    int m_opened = 0;
    HANDLE m_mailslot = INVALID_HANDLE_VALUE;
    HWND m_viewer = nullptr;
    int m_debugger = 0; // 0 not asked, 1 attached, 2 none
};

// The one global record (constructed with the library's first objects).
extern clsLibInfo g_LibInfo;

// Platform code and version word of the running system (see the table in clsLibInfo.cpp).
void GetOSPlatform(DWORD* platform, WORD* version);

// Binding by name, used for every function the library looks up at run time.
FARPROC LibGetProcAddress(HMODULE module, const char* name);
