// A process of its own for the reports that end the program:
//
//   data_probe <events file> <folder> report <severity> [nomain]
//       ReportError with message 40049, the severity and the context "Test". The application has
//       a main window "OX Hauptfenster", or with "nomain" only an active window.
//   data_probe <events file> <folder> noarea
//       opens a table of the folder in all 250 work areas, then once more with the alias
//       "LETZTE".
//   data_probe <events file> <folder> handler <code>...
//       calls the error handler with each code, a table HANDLER current (for the tests of the debug
//       lines, which go to the channel that was there when the libraries loaded); exit code 0.
//
// The windows write the messages WM_CLOSE and WM_DESTROY they receive into the events file
// ("main WM_CLOSE", "active WM_CLOSE", ...). The program should end through AfxAbort (exit code
// 3); 0 means it went on.
#include <afxwin.h>

#include <stdlib.h>
#include <string.h>

#include <memory>
#include <string>
#include <vector>

#include "CDbAreaLock.h"
#include "CDbTable.h"
#include "CErrorReporter.h"
#include "DataStrings.h"
#include "DataTestKit.h"
#include "DbErrors.h"
#include "TestKit.h"

namespace {

std::string s_events;

LRESULT CALLBACK RecordingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CLOSE || message == WM_DESTROY) {
        char title[64] = "";
        GetWindowTextA(hwnd, title, sizeof title);
        std::string line = std::string(strcmp(title, "OX Hauptfenster") == 0 ? "main" : "active") +
                           (message == WM_CLOSE ? " WM_CLOSE\n" : " WM_DESTROY\n");
        oxtest::WriteFileText(s_events, oxtest::ReadFileText(s_events) + line);
        if (message == WM_CLOSE)
            return 0; // the window stays: the report ends the program
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

HWND MakeWindow(const char* title)
{
    HWND hwnd = CreateWindowExA(0, "OxDataProbe", title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 300, 200, NULL,
                                NULL, GetModuleHandleA(NULL), NULL);
    SetForegroundWindow(hwnd);
    SetActiveWindow(hwnd);
    return hwnd;
}

int NoFreeArea(const std::string& folder)
{
    CDbSession session;
    const std::string path = folder + "\\VOLL.DBF";
    if (!datatest::CreateTable(path, {{"NAME", 'C', 10, 0}}))
        return 4;
    std::vector<std::unique_ptr<CDbTable>> tables;
    for (int i = 0; i < 250; ++i) {
        tables.push_back(std::make_unique<CDbTable>(&session));
        if (!tables.back()->Open(path.c_str(), NULL, 0, datatest::kTableOptions))
            return 5;
    }
    CDbTable last(&session);
    last.Open(path.c_str(), "LETZTE", 0, datatest::kTableOptions);
    return 0;
}

int CallHandler(const std::string& folder, int count, char** codes)
{
    CDbSession session;
    const std::string path = folder + "\\HANDLER.DBF";
    if (!datatest::CreateTable(path, {{"NAME", 'C', 10, 0}}))
        return 4;
    CDbTable table(&session);
    if (!table.Open(path.c_str(), "HANDLER", 0, datatest::kTableOptions))
        return 5;
    for (int i = 0; i < count; ++i) {
        CDbAreaLock lock(table.GetArea());
        DbErrorHandler((unsigned)strtoul(codes[i], NULL, 10));
        DbClearPendingError();
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 4)
        return 2;
    s_events = argv[1];
    const std::string folder = argv[2], mode = argv[3];

    WNDCLASSA wc{};
    wc.lpfnWndProc = RecordingProc;
    wc.hInstance = GetModuleHandleA(NULL);
    wc.lpszClassName = "OxDataProbe";
    RegisterClassA(&wc);

    CWinApp app("data_probe");
    CWnd main;
    const bool withMain = !(argc > 5 && strcmp(argv[5], "nomain") == 0);
    if (withMain) {
        main.Attach(MakeWindow("OX Hauptfenster"));
        app.m_pMainWnd = &main;
    } else
        MakeWindow("aktiv");

    if (mode == "report" && argc > 4) {
        CErrorReporter reporter;
        ReportError(&reporter, IDS_DB_NO_JOB, atoi(argv[4]), "Test");
        return 0;
    }
    if (mode == "noarea")
        return NoFreeArea(folder);
    if (mode == "handler")
        return CallHandler(folder, argc - 4, argv + 4);
    return 2;
}
