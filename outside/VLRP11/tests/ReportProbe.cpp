// Runs print runs of the report engine for the Linux-side checks (ReportOutputTest.py):
//
//   report_probe list <medium> <project> <output> <rows> [comma]
//       an appointment list of <rows> fixture entries; prints "pagefull <n>" and "rows <order>"
//   report_probe cards <medium> <project> <output> <copies> <entries> [<note lines>]
//       appointment cards; the last entry gets <note lines> lines of notes
//       medium prv: the preview window, pictured into <output> (a BMP)
//   report_probe shot <bmp>
//       shows the options dialog on the screen and writes a picture of it
//   report_probe design <bmp>
//       the same of the layout designer on a new appointment list
//
// The options dialog is answered with OK, the output file and the copies.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "PrintRun.h"
#include "VLRP11.h"

namespace {

std::string Escaped(const std::string& text)
{
    std::string out;
    for (char c : text) {
        if (c == '\\' || c == '|' || c == ';')
            out += '\\';
        out += c;
    }
    return out;
}

const char* Key(const std::string& name)
{
    return name == "html" ? "HTML" : name == "rtf" ? "RTF" : name == "prv" ? "PRV" : "PDF";
}

int Report(const rptest::RunStats& stats)
{
    std::printf("result %d step %d\n", stats.result, stats.step);
    std::printf("pagefull %d cards %d\n", stats.pageFullRows, stats.pageFullCards);
    std::printf("copies %d engine %d\n", stats.copies, stats.engineCopies);
    std::printf("device %s\n", stats.device.c_str());
    std::printf("rows");
    for (int index : stats.rowOrder)
        std::printf(" %d", index);
    std::printf("\n");
    if (!stats.exprError.empty())
        std::printf("error %s\n", stats.exprError.c_str());
    return stats.result == 0 ? 0 : 1;
}

// The options dialog, shown as a person sees it, pictured once it is painted and then cancelled.
struct Shot {
    static inline std::string path;
    static inline bool done = false;

    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam)
    {
        if (code == HCBT_ACTIVATE && !done) {
            done = true;
            SetTimer((HWND)wParam, 1, 300, Picture);
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }

    static void CALLBACK Picture(HWND window, UINT, UINT_PTR id, DWORD)
    {
        KillTimer(window, id);
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
        RECT rect;
        GetWindowRect(window, &rect);
        int width = rect.right - rect.left, height = rect.bottom - rect.top;
        HDC screen = GetDC(nullptr);
        HDC memory = CreateCompatibleDC(screen);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 24;
        void* bits = nullptr;
        HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
        SelectObject(memory, old);
        DWORD stride = ((DWORD)width * 3 + 3) & ~3u;
        DWORD size = stride * (DWORD)height;
        BITMAPFILEHEADER header{};
        header.bfType = 0x4D42;
        header.bfOffBits = sizeof header + sizeof info.bmiHeader;
        header.bfSize = header.bfOffBits + size;
        if (FILE* file = std::fopen(path.c_str(), "wb")) {
            std::fwrite(&header, sizeof header, 1, file);
            std::fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, file);
            std::fwrite(bits, size, 1, file);
            std::fclose(file);
        }
        DeleteObject(bitmap);
        DeleteDC(memory);
        ReleaseDC(nullptr, screen);
        PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    }
};

int TakeShot(const std::string& bmp)
{
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    std::string project = std::string(temp) + "report_probe_shot.ltd";
    FILE* file = std::fopen(project.c_str(), "wb");
    if (!file)
        return 2;
    std::fputs("VLRP11 project 1\ncolumn = Betreff | Betreff | 60 | left\n", file);
    std::fclose(file);
    int job = RpJobOpen(0x4000);
    RpDefineFieldStart(job);
    RpDefineFieldA(job, "Betreff", "Betreff");
    int result = RpPrintWithBoxStartA(job, 2, project.c_str(), 0x800, 0, nullptr, "Terminliste ausgeben");
    RpPrintSetOptionStringA(job, 2, "PDF");
    RpPrintSetOptionStringA(job, 3, "C:\\Berichte\\Terminliste.pdf");
    Shot::path = bmp;
    SetEnvironmentVariableA("VLCT11_UNATTENDED", "0");
    HHOOK hook = SetWindowsHookExA(WH_CBT, Shot::Hook, nullptr, GetCurrentThreadId());
    if (result == 0)
        result = RpPrintOptionsDialogA(job, nullptr, "Terminliste ausgeben");
    UnhookWindowsHookEx(hook);
    SetEnvironmentVariableA("VLCT11_UNATTENDED", "1");
    RpPrintEnd(job, 0);
    RpJobClose(job);
    DeleteFileA(project.c_str());
    std::printf("result %d\n", result);
    return Shot::done && result == RP_ERR_USER_ABORT ? 0 : 1;
}

int TakeDesignShot(const std::string& bmp)
{
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    std::string project = std::string(temp) + "report_probe_design.ltd";
    DeleteFileA(project.c_str());
    int job = RpJobOpen(0x4000);
    RpSetFileExtensionsA(job, 2, "ltd", "ltp", "ltv");
    RpDefineVariableStart(job);
    RpDefineVariableA(job, "Aktueller Benutzer", "Müller");
    RpDefineFieldStart(job);
    for (const char* name : {"Beginn", "Ende", "Betreff", "Ort", "Mit", "Benutzer"})
        RpDefineFieldA(job, name, name);
    RpDefineFieldExtA(job, "Erinnerung", "T", RP_ITEM_BOOLEAN, 0);
    Shot::path = bmp;
    SetEnvironmentVariableA("VLCT11_UNATTENDED", "0");
    HHOOK hook = SetWindowsHookExA(WH_CBT, Shot::Hook, nullptr, GetCurrentThreadId());
    int result = RpDefineLayoutA(job, nullptr, "Terminlisten konfigurieren", 2, project.c_str());
    UnhookWindowsHookEx(hook);
    SetEnvironmentVariableA("VLCT11_UNATTENDED", "1");
    RpJobClose(job);
    DeleteFileA(project.c_str());
    std::printf("result %d\n", result);
    return Shot::done && result == RP_ERR_USER_ABORT ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc >= 3 && std::string(argv[1]) == "shot")
        return TakeShot(argv[2]);
    if (argc >= 3 && std::string(argv[1]) == "design")
        return TakeDesignShot(argv[2]);
    if (argc < 6)
        return 2;
    std::string command = argv[1], medium = argv[2];
    rptest::RunSetup setup;
    setup.project = argv[3];
    setup.mediumKey = Key(medium);
    std::string output = argv[4];
    std::string answer = "IDOK;1020=" + Escaped(output);
    if (command == "list") {
        setup.type = RP_PROJECT_LIST;
        setup.entries = rptest::Appointments(std::atoi(argv[5]));
        setup.commaDates = argc > 6 && std::string(argv[6]) == "comma";
    } else if (command == "cards" && argc >= 7) {
        setup.type = RP_PROJECT_CARD;
        answer += ";1030=" + std::string(argv[5]);
        setup.entries = rptest::Appointments(std::atoi(argv[6]));
        if (argc > 7 && !setup.entries.empty()) {
            std::string notes;
            int lines = std::atoi(argv[7]);
            for (int i = 1; i <= lines; ++i)
                notes += "Notizzeile " + std::to_string(i) + (i < lines ? "\n" : "");
            setup.entries.back().notes = notes;
        }
    } else
        return 2;
    SetEnvironmentVariableA("VLCT11_UNATTENDED", "1");
    SetEnvironmentVariableA("VLCT11_DIALOGS", answer.c_str());
    if (medium == "prv")
        SetEnvironmentVariableA("VLRP11_PREVIEW_PICTURE", output.c_str());
    return Report(rptest::RunPrint(setup));
}
