// Figures of the report engine: 10,000 appointment rows through a whole print run (definitions,
// pagination, writing) to PDF, HTML and RTF; time and file size. Goal for PDF: under 2 s and 1 MB.
#include <windows.h>

#include <cstdio>
#include <string>

#include "BenchClock.h"
#include "PrintRun.h"

namespace {

const int kRows = 10000;

long long FileSize(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return -1;
    return ((long long)data.nFileSizeHigh << 32) | data.nFileSizeLow;
}

std::string Escaped(const std::string& text)
{
    std::string out;
    for (char c : text)
        out += c == '\\' ? std::string("\\\\") : std::string(1, c);
    return out;
}

} // namespace

int main()
{
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    std::string dir = std::string(temp) + "bench_report_" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(dir.c_str(), nullptr);
    std::string project = dir + "\\Terminliste.ltd";
    FILE* file = std::fopen(project.c_str(), "wb");
    std::fputs("VLRP11 project 1\n"
               "type = list\n"
               "header = \"Terminliste\"\n"
               "header = \"Benutzer: \" + Aktueller Benutzer\n"
               "column = Beginn | Beginn | 28 | left\n"
               "column = Ende | Ende | 28 | left\n"
               "column = Betreff | Betreff | 50 | left\n"
               "column = Ort | Ort | 28 | left\n"
               "column = Mit | Mit | 24 | left\n"
               "column = Benutzer | Benutzer | 22 | left\n"
               "footer = \"Seite \" + Seite\n",
               file);
    std::fclose(file);
    SetEnvironmentVariableA("VLCT11_UNATTENDED", "1");
    std::vector<rptest::Entry> entries = rptest::Appointments(kRows);
    std::printf("%d appointment rows, A4, 9 pt\n", kRows);
    int failures = 0;
    // Each medium once as the program runs it (three symbol icons made and destroyed by the caller
    // for every page) and PDF once more without them: the engine's own share.
    struct Run {
        const char* medium;
        bool icons;
    };
    for (const Run& r : {Run{"PDF", true}, Run{"PDF", false}, Run{"HTML", true}, Run{"RTF", true}}) {
        const char* medium = r.medium;
        // A different answer each time: the controls library starts its list again only then.
        std::string output = dir + "\\Terminliste" + (r.icons ? "" : "-ohne") + "." + medium;
        SetEnvironmentVariableA("VLCT11_DIALOGS", ("IDOK;1020=" + Escaped(output)).c_str());
        rptest::RunSetup setup;
        setup.project = project;
        setup.mediumKey = medium;
        setup.entries = entries;
        setup.withIcons = r.icons;
        double start = BenchNow();
        rptest::RunStats stats = rptest::RunPrint(setup);
        double seconds = BenchNow() - start;
        long long size = FileSize(output);
        std::printf("%-5s %-8s %6.3f s  %9lld bytes  result %d  (progress box %.3f s, writing %.3f s)\n", medium,
                    r.icons ? "icons" : "no icons", seconds, size, stats.result, stats.boxSeconds, stats.endSeconds);
        if (stats.result != 0)
            ++failures;
        if (std::string(medium) == "PDF")
            std::printf("      goal: under 2 s and 1,000,000 bytes: %s\n",
                        seconds < 2.0 && size >= 0 && size < 1000000 ? "met" : "MISSED");
        DeleteFileA(output.c_str());
    }
    DeleteFileA(project.c_str());
    RemoveDirectoryA(dir.c_str());
    return failures ? 1 : 0;
}
