// Test double of the controls library's progress dialog: every call is appended to a log
// ("JobOpen", "Create", "SetOption 0 vt=3 7", "Start 0 0 <caption>|<message> 3",
// "SetProgress <message or NULL> <position>", "Refresh", "Finish", "Release", "JobClose"),
// one line each, which the test reads with DoubleLog.
#include <windows.h>
#include <oleauto.h>

#include <cstdio>
#include <string>

namespace {

std::string g_log;
bool g_create = true;

void Log(const std::string& line) { g_log += line + "\n"; }

std::string Narrow(const wchar_t* text)
{
    if (!text)
        return "NULL";
    char buffer[1024];
    WideCharToMultiByte(1252, 0, text, -1, buffer, sizeof buffer, nullptr, nullptr);
    return buffer;
}

struct Dialog final : public IUnknown {
    long refs = 1;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override
    {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        Log("Release");
        if (--refs == 0) {
            delete this;
            return 0;
        }
        return refs;
    }
    virtual HRESULT STDMETHODCALLTYPE SetOption(long index, VARIANT value)
    {
        char line[64];
        snprintf(line, sizeof line, "SetOption %ld vt=%d %ld", index, value.vt, value.lVal);
        Log(line);
        return S_OK;
    }
    virtual HRESULT STDMETHODCALLTYPE Start(DWORD owner, long reserved, const wchar_t* caption, const wchar_t* message, long mode)
    {
        char line[32];
        snprintf(line, sizeof line, "Start %lu %ld ", owner, reserved);
        Log(line + Narrow(caption) + "|" + Narrow(message) + " " + std::to_string(mode));
        return S_OK;
    }
    virtual HRESULT STDMETHODCALLTYPE SetProgress(const wchar_t* message, long position)
    {
        Log("SetProgress " + Narrow(message) + " " + std::to_string(position));
        return S_OK;
    }
    virtual HRESULT STDMETHODCALLTYPE Refresh()
    {
        Log("Refresh");
        return S_OK;
    }
    virtual HRESULT STDMETHODCALLTYPE Finish()
    {
        Log("Finish");
        return S_OK;
    }
};

} // namespace

extern "C" {
__declspec(dllexport) int WINAPI CtlJobOpen()
{
    Log("JobOpen");
    return 1;
}
__declspec(dllexport) int WINAPI CtlJobClose()
{
    Log("JobClose");
    return 1;
}
__declspec(dllexport) HRESULT WINAPI CtlCreateObject(const CLSID* clsid, void** out)
{
    static const CLSID expected = {0x3CF56E68, 0x1880, 0x53F4, {0x96, 0xA3, 0x00, 0x60, 0x08, 0x6F, 0xEF, 0xC9}};
    *out = nullptr;
    bool match = IsEqualCLSID(*clsid, expected);
    Log(std::string("Create ") + (match ? "lengthy" : "other"));
    if (!g_create || !match)
        return CLASS_E_CLASSNOTAVAILABLE;
    *out = new Dialog;
    return S_OK;
}
__declspec(dllexport) const char* DoubleLog() { return g_log.c_str(); }
__declspec(dllexport) void DoubleReset(int create)
{
    g_log.clear();
    g_create = create != 0;
}
}
