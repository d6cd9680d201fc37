// The exported functions: a table of jobs by handle, and each call handed to its job.
#include <windows.h>

#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "ReportJob.h"
#include "VLRP11.h"

namespace {

HINSTANCE g_module = nullptr;
std::mutex g_jobsLock;
std::map<int, std::unique_ptr<rp::ReportJob>> g_jobs;
int g_lastHandle = 0;

// The job of a handle; calls come from the callers' user-interface thread, and a job is never
// closed while one of its calls runs, so the pointer stays valid after the lock.
rp::ReportJob* Find(int job)
{
    std::lock_guard<std::mutex> lock(g_jobsLock);
    auto found = g_jobs.find(job);
    return found == g_jobs.end() ? nullptr : found->second.get();
}

std::string Text(const char* text)
{
    return text ? std::string(text) : std::string();
}

} // namespace

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        g_module = instance;
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

VLRP11_API int WINAPI RpJobOpen(int)
{
    std::lock_guard<std::mutex> lock(g_jobsLock);
    do
        g_lastHandle = g_lastHandle >= 0x7FFFFFFF ? 1 : g_lastHandle + 1;
    while (g_jobs.count(g_lastHandle));
    g_jobs[g_lastHandle].reset(new rp::ReportJob(g_module));
    return g_lastHandle;
}

VLRP11_API int WINAPI RpJobClose(int job)
{
    std::unique_ptr<rp::ReportJob> closed;
    {
        std::lock_guard<std::mutex> lock(g_jobsLock);
        auto found = g_jobs.find(job);
        if (found == g_jobs.end())
            return RP_ERR_BAD_JOB;
        closed = std::move(found->second);
        g_jobs.erase(found);
    }
    return RP_OK; // a run still in progress ends without output
}

VLRP11_API int WINAPI RpSetOption(int job, int option, int value)
{
    rp::ReportJob* j = Find(job);
    if (!j)
        return RP_ERR_BAD_JOB;
    j->SetOption(option, value);
    return RP_OK;
}

VLRP11_API int WINAPI RpSetOptionStringA(int job, int option, const char* value)
{
    rp::ReportJob* j = Find(job);
    if (!j)
        return RP_ERR_BAD_JOB;
    j->SetOptionString(option, Text(value));
    return RP_OK;
}

VLRP11_API int WINAPI RpSetFileExtensionsA(int job, int type, const char* project, const char*, const char*)
{
    rp::ReportJob* j = Find(job);
    if (!j)
        return RP_ERR_BAD_JOB;
    j->SetFileExtension(type, Text(project));
    return RP_OK;
}

VLRP11_API int WINAPI RpDefineVariableStart(int job)
{
    rp::ReportJob* j = Find(job);
    if (!j)
        return RP_ERR_BAD_JOB;
    j->Variables().Clear();
    return RP_OK;
}

VLRP11_API int WINAPI RpDefineFieldStart(int job)
{
    rp::ReportJob* j = Find(job);
    if (!j)
        return RP_ERR_BAD_JOB;
    j->Fields().Clear();
    return RP_OK;
}

VLRP11_API int WINAPI RpDefineVariableA(int job, const char* name, const char* value)
{
    return RpDefineVariableExtA(job, name, value, 0, 0);
}

VLRP11_API int WINAPI RpDefineVariableExtA(int job, const char* name, const char* value, int type, int)
{
    rp::ReportJob* j = Find(job);
    if (!j)
        return RP_ERR_BAD_JOB;
    if (!name || !*name)
        return RP_ERR_BAD_ARGUMENT;
    j->Variables().Define(name, Text(value), type);
    return RP_OK;
}

VLRP11_API int WINAPI RpDefineVariableExtHandleA(int job, const char* name, HANDLE icon, int type, int)
{
    rp::ReportJob* j = Find(job);
    if (!j)
        return RP_ERR_BAD_JOB;
    if (!name || !*name)
        return RP_ERR_BAD_ARGUMENT;
    j->Variables().DefineIcon(name, (HICON)icon, type);
    return RP_OK;
}

VLRP11_API int WINAPI RpDefineFieldA(int job, const char* name, const char* value)
{
    return RpDefineFieldExtA(job, name, value, 0, 0);
}

VLRP11_API int WINAPI RpDefineFieldExtA(int job, const char* name, const char* value, int type, int)
{
    rp::ReportJob* j = Find(job);
    if (!j)
        return RP_ERR_BAD_JOB;
    if (!name || !*name)
        return RP_ERR_BAD_ARGUMENT;
    j->Fields().Define(name, Text(value), type);
    return RP_OK;
}

VLRP11_API int WINAPI RpSelectFileDlgTitleExA(int job, HWND owner, const char* title, int type, char* buffer, int size,
                                              void*)
{
    rp::ReportJob* j = Find(job);
    if (!j)
        return RP_ERR_BAD_JOB;
    return j->SelectFile(owner, title, type, buffer, size);
}

VLRP11_API int WINAPI RpDefineLayoutA(int job, HWND owner, const char* title, int type, const char* project)
{
    rp::ReportJob* j = Find(job);
    return j ? j->Design(owner, Text(title), type, Text(project)) : RP_ERR_BAD_JOB;
}

VLRP11_API int WINAPI RpPrintWithBoxStartA(int job, int type, const char* project, int, int, HWND owner,
                                           const char* title)
{
    rp::ReportJob* j = Find(job);
    if (!j)
        return RP_ERR_BAD_JOB;
    return j->PrintStart(type, Text(project), owner, Text(title));
}

VLRP11_API int WINAPI RpPrintOptionsDialogA(int job, HWND owner, const char* title)
{
    rp::ReportJob* j = Find(job);
    return j ? j->ShowOptions(owner, title) : RP_ERR_BAD_JOB;
}

VLRP11_API int WINAPI RpPrintGetOption(int job, int option)
{
    rp::ReportJob* j = Find(job);
    return j ? j->PrintGetOption(option) : RP_ERR_BAD_JOB;
}

VLRP11_API int WINAPI RpPrintSetOption(int job, int option, int value)
{
    rp::ReportJob* j = Find(job);
    return j ? j->PrintSetOption(option, value) : RP_ERR_BAD_JOB;
}

VLRP11_API int WINAPI RpPrintSetOptionStringA(int job, int option, const char* value)
{
    rp::ReportJob* j = Find(job);
    return j ? j->PrintSetOptionString(option, Text(value)) : RP_ERR_BAD_JOB;
}

VLRP11_API int WINAPI RpPrintGetPrinterInfoA(int job, char* device, int deviceSize, char* port, int portSize)
{
    rp::ReportJob* j = Find(job);
    return j ? j->PrinterInfo(device, deviceSize, port, portSize) : RP_ERR_BAD_JOB;
}

VLRP11_API int WINAPI RpPreviewSetTempPathA(int job, const char*)
{
    return Find(job) ? RP_OK : RP_ERR_BAD_JOB;
}

VLRP11_API int WINAPI RpPrintSetBoxTextA(int job, const char* text, int percent)
{
    rp::ReportJob* j = Find(job);
    return j ? j->SetBoxText(Text(text), percent) : RP_ERR_BAD_JOB;
}

VLRP11_API int WINAPI RpPrint(int job)
{
    rp::ReportJob* j = Find(job);
    return j ? j->Print() : RP_ERR_BAD_JOB;
}

VLRP11_API int WINAPI RpPrintFields(int job)
{
    rp::ReportJob* j = Find(job);
    return j ? j->PrintFields() : RP_ERR_BAD_JOB;
}

VLRP11_API int WINAPI RpPrintFieldsEnd(int job)
{
    rp::ReportJob* j = Find(job);
    return j ? j->PrintFieldsEnd() : RP_ERR_BAD_JOB;
}

VLRP11_API int WINAPI RpPrintEnd(int job, int)
{
    rp::ReportJob* j = Find(job);
    return j ? j->PrintEnd() : RP_ERR_BAD_JOB;
}

VLRP11_API int WINAPI RpPreviewDisplayA(int job, const char*, const char*, HWND owner)
{
    rp::ReportJob* j = Find(job);
    return j ? j->ShowPreview(owner) : RP_ERR_BAD_JOB;
}

VLRP11_API int WINAPI RpPreviewDeleteFilesA(int job, const char*, const char*)
{
    rp::ReportJob* j = Find(job);
    if (!j)
        return RP_ERR_BAD_JOB;
    j->DeletePreview();
    return RP_OK;
}

VLRP11_API int WINAPI RpExprErrorA(int job, char* buffer, int size)
{
    rp::ReportJob* j = Find(job);
    if (!j)
        return RP_ERR_BAD_JOB;
    rp::CopyToBuffer(j->LastError(), buffer, size);
    return RP_OK;
}
