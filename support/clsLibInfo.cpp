#include "clsLibInfo.h"

#include <cstring>

#include "PathHelpers.h"
#include "clsCritObj.h"

clsLibInfo::clsLibInfo()
{
    m_hostFileName[0] = m_hostPath[0] = m_hostName[0] = m_hostDir[0] = 0;
    m_libFileName[0] = m_libName[0] = m_libPath[0] = m_libDir[0] = 0;
    std::memset(&m_cpInfo, 0, sizeof m_cpInfo);
    ReadCodePage();
}

clsLibInfo::~clsLibInfo() { Close(); }

void clsLibInfo::ReadCodePage()
{
    m_codePage = (WORD)GetACP();
    if (!GetCPInfo(m_codePage, &m_cpInfo))
        std::memset(&m_cpInfo, 0, sizeof m_cpInfo);
    m_dbcs = m_cpInfo.MaxCharSize > 1;
}

void clsLibInfo::Init(HMODULE module)
{
    clsCritObj lock(m_lock);
    m_debugger = 0;
    m_lineWritten = 0;
    m_opened = 1;
    m_mailslot = INVALID_HANDLE_VALUE;
    m_viewer = nullptr;
    m_module = module;

    ReadCodePage();

    char drive[260], dir[260], name[260], ext[260];
    GetModuleFileNameA(nullptr, m_hostPath, sizeof m_hostPath);
    SplitPath(m_hostPath, drive, dir, name, ext);
    SafeStrCopy(m_hostName, name, sizeof m_hostName);
    SafeStrCopy(m_hostFileName, name, sizeof m_hostFileName);
    SafeStrCat(m_hostFileName, ext, sizeof m_hostFileName);
    SafeStrCopy(m_hostDir, drive, sizeof m_hostDir);
    SafeStrCat(m_hostDir, dir, sizeof m_hostDir);

    GetModuleFileNameA(module, m_libPath, sizeof m_libPath);
    SplitPath(m_libPath, drive, dir, name, ext);
    SafeStrCopy(m_libName, name, sizeof m_libName);
    SafeStrCopy(m_libFileName, name, sizeof m_libFileName);
    SafeStrCat(m_libFileName, ext, sizeof m_libFileName);
    SafeStrCopy(m_libDir, drive, sizeof m_libDir);
    SafeStrCat(m_libDir, dir, sizeof m_libDir);

    GetOSPlatform(&m_platform, &m_version);

    m_mailslot = CreateFileA("\\\\.\\mailslot\\traxel", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (m_mailslot == INVALID_HANDLE_VALUE) {
        m_viewer = FindWindowA("QivClsTraxel32", nullptr);
        if (!m_viewer)
            m_viewer = FindWindowA("QivTraxelDest", nullptr);
    }

    HMODULE kernel = GetModuleHandleA("KERNEL32.DLL");
    if (kernel) {
        g_pfnSetCriticalSectionSpinCount = reinterpret_cast<BOOL(WINAPI*)(CRITICAL_SECTION*, DWORD)>(
            LibGetProcAddress(kernel, "SetCriticalSectionSpinCount"));
        g_pfnTryEnterCriticalSection = reinterpret_cast<BOOL(WINAPI*)(CRITICAL_SECTION*)>(
            LibGetProcAddress(kernel, "TryEnterCriticalSection"));
    }
}

void clsLibInfo::Close()
{
    if (m_lineWritten)
        WriteText("\n");
    if (m_mailslot != INVALID_HANDLE_VALUE) {
        CloseHandle(m_mailslot);
        m_mailslot = INVALID_HANDLE_VALUE;
    }
    m_viewer = nullptr;
    m_module = nullptr;
}

void clsLibInfo::SendLine(char* line, int len)
{
    if (m_mailslot != INVALID_HANDLE_VALUE) {
        line[len] = '\r';
        DWORD written = 0;
        WriteFile(m_mailslot, line, (DWORD)len + 1, &written, nullptr);
    } else if (m_viewer) {
        line[len] = 0;
        COPYDATASTRUCT cds;
        cds.dwData = 0;
        cds.cbData = (DWORD)len + 1;
        cds.lpData = line;
        // A hung viewer must not block every thread that writes a line.
        DWORD_PTR result = 0;
        SendMessageTimeoutA(m_viewer, WM_COPYDATA, 0, (LPARAM)&cds, SMTO_ABORTIFHUNG, 1000, &result);
    }
}

static bool StartsWithNoCase(const char* text, const char* prefix)
{
    size_t n = std::strlen(prefix);
    return _strnicmp(text, prefix, n) == 0;
}

void clsLibInfo::WriteText(const char* text)
{
    if (!HasTarget() || !text)
        return;
    while (*text == '\r' || *text == '\n')
        ++text;
    m_lineWritten = 1;

    const bool prefixed = !(StartsWithNoCase(m_libName, "vl32ut") || StartsWithNoCase(m_libName, "vl3uut") ||
                            StartsWithNoCase(m_libName, "vlut") || StartsWithNoCase(m_libName, "vuut"));
    const int kMax = 512;
    char line[kMax + 2];
    int len = 0;
    bool atStart = true;
    for (const char* p = text; *p; ++p) {
        if (atStart) {
            atStart = false;
            if (prefixed) {
                for (const char* n = m_libName; *n && len <= kMax; ++n)
                    line[len++] = *n;
                if (len <= kMax)
                    line[len++] = ':';
            }
        }
        char c = *p;
        if (c == 7) {
            MessageBeep(0);
            continue;
        }
        if (c == '\r' || c == '\n') {
            SendLine(line, len);
            len = 0;
            atStart = true;
            if (p[1] == '\r' || p[1] == '\n')
                ++p;
            continue;
        }
        line[len++] = c;
        if (len > kMax) {
            SendLine(line, len);
            len = 0;
            atStart = true;
        }
    }
    if (!atStart)
        SendLine(line, len);
}

void clsLibInfo::Output(const char* text)
{
    if (g_LibInfo.HasTarget())
        g_LibInfo.WriteText(text);
}

bool clsLibInfo::IsLeadByte(unsigned char b) const
{
    if (!m_dbcs)
        return false;
    for (int i = 0; i + 1 < MAX_LEADBYTES && (m_cpInfo.LeadByte[i] || m_cpInfo.LeadByte[i + 1]); i += 2)
        if (b >= m_cpInfo.LeadByte[i] && b <= m_cpInfo.LeadByte[i + 1])
            return true;
    return false;
}

const char* clsLibInfo::CharNext(const char* p) const
{
    if (!*p)
        return p;
    if (IsLeadByte((unsigned char)*p) && p[1])
        return p + 2;
    return p + 1;
}

const char* clsLibInfo::CharPrev(const char* start, const char* p) const
{
    if (p <= start + 1)
        return start;
    if (IsLeadByte((unsigned char)p[-1]))
        return p - 2;
    // Count the run of lead bytes right before p - 1: its parity tells whether p[-1] is a trail byte.
    const char* q = p - 1;
    int run = 0;
    while (q > start && IsLeadByte((unsigned char)q[-1])) {
        --q;
        ++run;
    }
    return (run & 1) ? p - 2 : p - 1;
}

bool clsLibInfo::IsDebuggerActive()
{
    if (m_debugger == 0)
        m_debugger = IsDebuggerPresent() ? 1 : 2;
    return m_debugger == 1;
}

void GetOSPlatform(DWORD* platform, WORD* version)
{
    DWORD v = GetVersion();
    BYTE major = LOBYTE(LOWORD(v)), minor = HIBYTE(LOWORD(v));
    DWORD code;
    if (v & 0x80000000u) {
        if (major == 3)
            code = 0x08;
        else if (major == 4)
            code = minor < 10 ? 0x10 : (minor < 90 ? 0x11 : 0x12);
        else
            code = 0x00;
    } else {
        code = 0x20;
        HKEY key;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Control\\ProductOptions", 0, KEY_READ,
                          &key) == ERROR_SUCCESS) {
            char type[64] = {0};
            DWORD size = sizeof type - 1, kind = 0;
            if (RegQueryValueExA(key, "ProductType", nullptr, &kind, (BYTE*)type, &size) == ERROR_SUCCESS &&
                _stricmp(type, "Winnt") == 0)
                code = 0x40;
            RegCloseKey(key);
        }
    }
    if (platform)
        *platform = code;
    if (version)
        *version = (WORD)((major << 8) | minor);
}

FARPROC LibGetProcAddress(HMODULE module, const char* name) { return GetProcAddress(module, name); }
