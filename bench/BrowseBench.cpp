// Figures of the browse control with 10,000 rows: adding rows unsorted and sorted by an owner
// comparison, a header sort through the owner (comparisons counted against 1.5 N log2 N), reading
// every row's text as the list views' row-cache rebuild does, and a repaint against one of 100 rows.
#include <windows.h>

#include <math.h>
#include <stdio.h>
#include <string.h>

#include <string>
#include <vector>

#include "BenchClock.h"
#include "vlBR11.h"

namespace {

const int kRows = 10000;
long s_compares = 0;

LRESULT CALLBACK Owner(HWND list, int code, LPARAM param)
{
    if (code != BRE_COMPARE)
        return 0;
    s_compares++;
    const BRCOMPARE* c = (const BRCOMPARE*)param;
    // as the appointment list: the date first (day.month.year), then the texts
    int d1 = 0, m1 = 0, y1 = 0, d2 = 0, m2 = 0, y2 = 0;
    sscanf(c->textA, "%d.%d.%d", &d1, &m1, &y1);
    sscanf(c->textB, "%d.%d.%d", &d2, &m2, &y2);
    long a = y1 * 10000L + m1 * 100 + d1, b = y2 * 10000L + m2 * 100 + d2;
    if (a != b)
        return a < b ? -1 : 1;
    (void)list;
    return 0;
}

std::string Row(int i)
{
    char row[400];
    sprintf(row, "\x02%d\x02\t\x02" "0\x02 \t\x02" "1117\x02\tBesprechung %d mit dem Vertrieb\tHerr M\xFCller\t"
                 "%02d.%02d.%04d Mo\t\t60 Minuten\t%02d:%02d\t\t01.01.2026 Do\tabel\t02.01.2026 Fr\tmeier\tabel",
            (i % 4) ? 1124 : 1141, i, 1 + (i * 7) % 28, 1 + (i * 5) % 12, 2020 + i % 9, 8 + i % 10, (i * 13) % 60);
    return row;
}

HWND MakeList()
{
    HWND hwnd = CreateWindowExA(0, VLBR_CLASSNAME, "", WS_POPUP | WS_VISIBLE, 0, 0, 900, 500, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    SendMessageA(hwnd, BRM_SETTITLES, 0,
                 (LPARAM) "\x02" "1118\x02\t\x02" "1140\x02\t\x02" "1145\x02\tBetreff\tMit\tBeginn\tSerienende\tDauer\t"
                          "Startzeit\tSerientyp\tErstellt am\tErstellt von\tLetzte \xC4nderung\tGe\xE4ndert von\tBenutzer");
    SendMessageA(hwnd, BRM_SETCALLBACK, 0, (LPARAM)Owner);
    for (int c = 0; c < 15; c++) {
        BRCOLUMN d;
        memset(&d, 0, sizeof d);
        d.cb = sizeof d;
        SendMessageA(hwnd, BRM_GETCOLUMN, c, (LPARAM)&d);
        d.flags |= BRCF_OWNERSORT;
        SendMessageA(hwnd, BRM_SETCOLUMN, c, (LPARAM)&d);
    }
    int32_t widths[15] = {2, 2, 2, 40, 40, 24, 24, 24, 24, 24, 24, 24, 24, 24, 24};
    SendMessageA(hwnd, BRM_SETCOLWIDTHS, 15, (LPARAM)widths);
    return hwnd;
}

void Pump()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);
}

double AddRows(HWND hwnd, int count)
{
    std::vector<std::string> rows;
    for (int i = 0; i < count; i++)
        rows.push_back(Row(i));
    double start = BenchNow();
    for (int i = 0; i < count; i++) {
        BRADDROW add{sizeof add, rows[i].c_str(), i};
        SendMessageA(hwnd, BRM_ADDROW, BRPOS_END, (LPARAM)&add);
    }
    return BenchNow() - start;
}

double Repaint(HWND hwnd, int times)
{
    Pump();
    double start = BenchNow();
    for (int i = 0; i < times; i++)
        RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    return (BenchNow() - start) / times;
}

void Report(const char* what, double seconds, double goal)
{
    printf("%-62s %9.1f ms  (goal under %.0f ms: %s)\n", what, seconds * 1e3, goal * 1e3,
           seconds < goal ? "met" : "MISSED");
}

} // namespace

int main()
{
    BrwsGetVersion(0);
    const double limit = 1.5 * kRows * log2((double)kRows);

    HWND list = MakeList();
    Report("AddRow 10,000 rows, no order", AddRows(list, kRows), 0.1);
    Pump();

    s_compares = 0;
    double start = BenchNow();
    SendMessageA(list, BRM_SETSORTORDER, 6, 0);
    double sortSeconds = BenchNow() - start;
    Report("sort 10,000 rows by the owner's comparison (as a header click)", sortSeconds, 1.0);
    printf("  comparisons: %ld (limit 1.5 N log2 N = %.0f: %s)\n", s_compares, limit,
           s_compares <= limit ? "met" : "MISSED");

    start = BenchNow();
    std::string text;
    size_t total = 0;
    for (int i = 0; i < kRows; i++) {
        LRESULT len = SendMessageA(list, BRM_GETTEXTLEN, i, 0);
        text.resize(len + 1);
        SendMessageA(list, BRM_GETTEXT, i, (LPARAM)&text[0]);
        total += (size_t)len;
    }
    Report("read every row's text (length, then text)", BenchNow() - start, 0.1);
    printf("  %zu characters\n", total);

    double big = Repaint(list, 20);
    DestroyWindow(list);

    HWND sortedList = MakeList();
    SendMessageA(sortedList, BRM_SETSORTORDER, 6, 0);
    s_compares = 0;
    Report("AddRow 10,000 rows in place, order by the owner's comparison", AddRows(sortedList, kRows), 1.0);
    printf("  comparisons: %ld (%.1f per row)\n", s_compares, s_compares / (double)kRows);
    DestroyWindow(sortedList);

    HWND small = MakeList();
    AddRows(small, 100);
    double little = Repaint(small, 20);
    DestroyWindow(small);
    printf("%-62s %9.2f ms with 10,000 rows, %.2f ms with 100 (%s)\n", "repaint", big * 1e3, little * 1e3,
           big < little * 1.5 + 0.002 ? "as fast" : "SLOWER");
    return 0;
}
