// The program's start: from CreateProcess of OX.exe to its visible main window, with an empty data
// directory (the tables are created) and with 10,000 and 50,000 appointments. The data
// controller's share is the same controller made in this process on the same directory; the rest
// is the program's own start (OLE, registration, document, frame). Goal: under 2 s at 50,000.
// Then, with OX running, 1,000 gets of "CurrentUser" by an automation client out of process.
// OX.exe is taken from this program's folder; the setting "MainPath" is changed while it runs.
#include <afx.h>

#include <stdio.h>

#include <algorithm>
#include <string>
#include <vector>

#include <ole2.h>
#include <oleauto.h>

#include "BenchClock.h"
#include "BenchScheduleRows.h"
#include "BenchTable.h"
#include "CDataController.h"
#include "CDbSession.h"
#include "CTerminTable.h"

namespace {

const int kRuns = 5;
const char kSettings[] = "Software\\velmar\\chronivo\\Settings";

bool FillDirectory(const std::string& dir, long rows)
{
    CreateDirectoryA(dir.c_str(), NULL);
    for (const char* name : {"OX4.DBE", "OX4.DBT", "OX4.nt0", "OX4.nt1"})
        DeleteFileA((dir + name).c_str());
    if (rows == 0)
        return true;
    CDbSession session;
    CTerminTable table(&session, FALSE);
    if (table.OpenMain(dir.c_str(), 0, 0) != DB_OPEN_CREATED)
        return false;
    table.Close();
    const std::string path = dir + "OX4.DBE";
    if (!AppendRawRows(path.c_str(), MakeScheduleRows(path, rows), rows))
        return false;
    table.OpenMain(dir.c_str(), 0, 0);
    table.RebuildIndexes(TRUE);
    return true;
}

std::string GetMainPath()
{
    char szValue[MAX_PATH] = "";
    DWORD cb = sizeof(szValue);
    if (RegGetValueA(HKEY_CURRENT_USER, kSettings, "MainPath", RRF_RT_REG_SZ, NULL, szValue, &cb) != ERROR_SUCCESS)
        return std::string();
    return szValue;
}

void SetMainPath(const std::string& dir)
{
    HKEY hKey;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kSettings, 0, NULL, 0, KEY_WRITE, NULL, &hKey, NULL) == ERROR_SUCCESS) {
        RegSetValueExA(hKey, "MainPath", 0, REG_SZ, (const BYTE*)dir.c_str(), (DWORD)dir.size() + 1);
        RegCloseKey(hKey);
    }
}

HWND FindVisibleMain(DWORD pid)
{
    // the main window's own class: message boxes share its title
    for (HWND hWnd = FindWindowA("OrvexMainFrame", "velmar chronivo"); hWnd != NULL;
         hWnd = FindWindowExA(NULL, hWnd, "OrvexMainFrame", "velmar chronivo")) {
        DWORD owner = 0;
        GetWindowThreadProcessId(hWnd, &owner);
        if (owner == pid && IsWindowVisible(hWnd))
            return hWnd;
    }
    return NULL;
}

// Milliseconds to the visible main window; the window is left running in *pInfo (or -1).
double StartOx(const std::string& program, PROCESS_INFORMATION* pInfo, HWND* phWnd)
{
    std::string command = "\"" + program + "\"";
    STARTUPINFOA si = {sizeof(si)};
    const double start = BenchNow();
    if (!CreateProcessA(NULL, &command[0], NULL, NULL, FALSE, 0, NULL, NULL, &si, pInfo))
        return -1;
    for (;;) {
        if ((*phWnd = FindVisibleMain(pInfo->dwProcessId)) != NULL)
            return (BenchNow() - start) * 1000.0;
        if (WaitForSingleObject(pInfo->hProcess, 2) == WAIT_OBJECT_0 || BenchNow() - start > 60)
            return -1;
    }
}

void EndOx(PROCESS_INFORMATION& info, HWND hWnd)
{
    PostMessageA(hWnd, WM_COMMAND, 0xE141, 0); // the exit command
    if (WaitForSingleObject(info.hProcess, 30000) != WAIT_OBJECT_0)
        TerminateProcess(info.hProcess, 1);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void PropertyGets()
{
    CoInitialize(NULL);
    CLSID clsid;
    IUnknown* pUnknown = NULL;
    IDispatch* pDispatch = NULL;
    if (FAILED(CLSIDFromProgID(L"Orvex.Application", &clsid)) || FAILED(GetActiveObject(clsid, NULL, &pUnknown)) ||
        FAILED(pUnknown->QueryInterface(IID_IDispatch, (void**)&pDispatch))) {
        printf("  no running Orvex.Application\n");
        CoUninitialize();
        return;
    }
    LPOLESTR name = (LPOLESTR)L"CurrentUser";
    DISPID dispid = 0;
    pDispatch->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &dispid);
    const double start = BenchNow();
    int nFailed = 0;
    for (int i = 0; i < 1000; ++i) {
        VARIANT value;
        VariantInit(&value);
        DISPPARAMS params = {NULL, NULL, 0, 0};
        if (FAILED(pDispatch->Invoke(dispid, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &params, &value,
                                     NULL, NULL)))
            nFailed++;
        VariantClear(&value);
    }
    const double ms = (BenchNow() - start) * 1000.0;
    printf("1,000 gets of CurrentUser out of process: %.0f ms (%.3f ms each), %d failed\n", ms, ms / 1000, nFailed);
    pDispatch->Release();
    pUnknown->Release();
    CoUninitialize();
}

} // namespace

int main()
{
    char szSelf[MAX_PATH];
    GetModuleFileNameA(NULL, szSelf, MAX_PATH);
    std::string program = szSelf;
    program = program.substr(0, program.find_last_of('\\') + 1) + "OX.exe";
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);

    const std::string strUsersPath = GetMainPath(); // given back at the end
    printf("OX.exe start to the visible main window (median of %d); goal: < 2000 ms at 50,000\n", kRuns);
    for (long rows : {0L, 10000L, 50000L}) {
        const std::string dir = std::string(temp) + "ox_bench_shell_" + std::to_string(rows) + "\\";
        std::vector<double> total, controller;
        for (int run = 0; run < kRuns; ++run) {
            if (!FillDirectory(dir, rows)) { // the empty directory is made empty again each run
                printf("cannot fill %s\n", dir.c_str());
                break;
            }
            SetMainPath(dir);
            PROCESS_INFORMATION info;
            HWND hWnd = NULL;
            const double ms = StartOx(program, &info, &hWnd);
            if (ms < 0) {
                printf("OX did not show its window\n");
                break;
            }
            total.push_back(ms);
            if (rows == 50000 && run == kRuns - 1)
                PropertyGets();
            EndOx(info, hWnd);
            if (rows == 0)
                FillDirectory(dir, 0);
            const double start = BenchNow();
            {
                CDataController data(dir.c_str(), "MEIER");
            }
            controller.push_back((BenchNow() - start) * 1000.0);
        }
        if (total.empty() || controller.size() != total.size())
            break;
        const double t = Median(total), c = Median(controller);
        printf("  %6ld appointments: %.0f ms; controller %.0f ms (%.0f %%), the rest of the start %.0f ms\n", rows, t,
               c, 100.0 * c / t, t - c);
    }
    if (!strUsersPath.empty())
        SetMainPath(strUsersPath);
    return 0;
}
