#include "clsDBGHelpWrapperGPFProt.h"

#include <new>

#include "DBGHelpEntryPoints.h"
#include "PrintfFormat.h"
#include "StackTraceText.h"
#include "clsAutoRelease.h"
#include "clsDebugOutput.h"
#include "clsGPFProtection.h"

namespace {

// The report's lines through the frame's Log, to both of its targets.
class FrameOutput : public clsDebugOutput {
public:
    explicit FrameOutput(clsGPFProtection& frame) : m_frame(frame) {}
    void Output(const char* format, va_list args) override
    {
        char text[4097];
        VFormat(text, sizeof text, format, args);
        m_frame.Log(m_frame.GetLogTargets(), "%s", text);
    }

private:
    clsGPFProtection& m_frame;
};

// Installed when the library is loaded: from then on crash reports have a symbol reader.
struct FactoryInstaller {
    FactoryInstaller() { SetCrashSymbolReaderFactory(&clsDBGHelpWrapperGPFProt::Open); }
} s_installer;

} // namespace

clsCrashSymbolReader* clsDBGHelpWrapperGPFProt::Open()
{
    clsDBGHELP* help = DBGHelpCreate();
    if (!help)
        return nullptr;
    clsDBGHelpWrapperGPFProt* reader = new (std::nothrow) clsDBGHelpWrapperGPFProt(help);
    if (!reader)
        DBGHelpRelease(help);
    return reader;
}

clsDBGHelpWrapperGPFProt::clsDBGHelpWrapperGPFProt(clsDBGHELP* help) : m_help(help)
{
    m_progress.bShow = 1;
    m_progress.dwOwner = 0;
    m_progress.pszCaption = nullptr;
    m_progress.pszMessage = nullptr;
    m_progress.lStartValue = 1;
}

clsDBGHelpWrapperGPFProt::~clsDBGHelpWrapperGPFProt() { DBGHelpRelease(m_help); }

bool clsDBGHelpWrapperGPFProt::WriteMiniDump(char* path, size_t size, EXCEPTION_POINTERS* exception, DWORD threadId)
{
    return DBGHelpWriteMiniDump(m_help, path, size > 0x7FFFFFFF ? 0x7FFFFFFF : (int)size, exception, &m_progress,
                                threadId) != FALSE;
}

void clsDBGHelpWrapperGPFProt::LogModuleList(clsGPFProtection& frame)
{
    FrameOutput out(frame);
    clsAutoRelease<IDBGModuleList> list;
    if (!DBGHelpGetModuleList(m_help, &list.m_ptr, &m_progress)) {
        out.Printf("List of Modules:");
        return;
    }
    WriteModuleList(list, out);
}

bool clsDBGHelpWrapperGPFProt::LogStackTrace(clsGPFProtection& frame, CONTEXT* context)
{
    clsAutoRelease<IDBGStackTraceList> list;
    if (!DBGHelpGetStackTraceList(m_help, context, kFrameLimit, &list.m_ptr, &m_progress))
        return false;
    FrameOutput out(frame);
    WriteStackTrace(list, out);
    return true;
}
