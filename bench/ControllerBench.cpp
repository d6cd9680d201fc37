// Figures of the data controller: a full start on a schedule table of 10,000 rows with 1,000
// series (goals: usable maps under 1 s, day index complete under 3 s), the memory the loaded
// entries take per 10,000, and the day-index build of one ten-year daily series; the controller
// uses the real timer library, as the program does. Then the entry operations and the update
// thread's pass on a table of 10,000 rows of one user: saving one appointment end to end, the
// incremental pass over the unchanged rows (goal under 20 ms) and with 100 changed rows, and
// where the pass's time goes. Last, a filter change until its reload is complete on those 10,000
// rows, with the program's waits and without them.
//
//   bench_controller [start] [passes] [dayindex] [filter] [rows=<n>]   (no argument: start,
//                                                           passes and filter on 10,000 rows;
//                                                           dayindex: the day-index build alone,
//                                                           part of start)
//   bench_controller calls=walk|bulk|none [rows=<n>]        one walk over the filtered rows, for
//                                                           strace -c (the table is made once)
#include <afx.h>
#include <psapi.h>

#include <stdio.h>

#include <algorithm>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "BenchClock.h"
#include "BenchTable.h"
#include "CDataAppointment.h"
#include "CDataController.h"
#include "CDateValue.h"
#include "CTerminRecordBuffer.h"
#include "DbTableDef.h"
#include "vlDB07.h"
#include "CDbSession.h"
#include "CTerminTable.h"
#include "CTimerLibrary.h"
#include "Recurrence.h"

namespace {

// The table's rows (argument rows=<n>), one in ten a series.
long kRows = 10000;
long kSeries = 1000;
const char kUser[] = "MEIER";
const int kRuns = 3;

double PrivateMB(bool peak)
{
    PROCESS_MEMORY_COUNTERS pmc = {};
    GetProcessMemoryInfo(GetCurrentProcess(), &pmc, sizeof pmc);
    return double(peak ? pmc.PeakPagefileUsage : pmc.PagefileUsage) / (1024.0 * 1024.0);
}

// CPU seconds of the process so far (all its threads), for figures that do not depend on how busy
// the machine is.
double ProcessCpuSeconds()
{
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto value = [](const FILETIME& t) { return (double)(((ULONGLONG)t.dwHighDateTime << 32) | t.dwLowDateTime); };
    return (value(kernel) + value(user)) / 1e7;
}

std::string DbfDate(long nDay)
{
    CDateValue date;
    date.SetDaySerial(nDay);
    char szText[16];
    snprintf(szText, sizeof szText, "%04d%02d%02d", date.GetYear(), date.GetMonth(), date.GetDay());
    return szText;
}

// The field values of one row: singles of this user and three others spread over 2020-2030 (half
// of this user's with a reminder), and series of every kind, most ending after ten years, a few
// without end.
std::map<std::string, std::string> RowValues(long n, std::mt19937& rng, bool bAllMine)
{
    std::map<std::string, std::string> v;
    const char* users[] = {kUser, kUser, kUser, bAllMine ? kUser : "HUBER"};
    char szText[64];
    snprintf(szText, sizeof szText, "%10ld", 1000000 + n * 7);
    v["RECORDID"] = szText;
    v["FOOTPRINT"] = "   0";
    v["USER"] = users[n % 4];
    snprintf(szText, sizeof szText, "Termin %ld", n);
    v["BETREFF"] = szText;

    CDataSerienTermin p;
    const long nFirst = CDateValue(COleDateTime(2020, 1, 1, 0, 0, 0)).GetDaySerial();
    p.m_nPatternStart = nFirst + (long)(rng() % 3650);
    p.m_nPatternEnd = p.m_nPatternStart;
    p.m_nStartTime = (short)(rng() % 96 * 15);
    const bool bSeries = n % (kRows / kSeries) == 0;
    if (bSeries) {
        const int nKind = (int)(rng() % 100);
        p.m_bDefaultEnd = TRUE;
        if (nKind < 25) {
            p.m_nType = CDataSerienTermin::daily;
            p.m_nDailyInterval = (WORD)(1 + rng() % 3);
            p.m_bEveryWorkday = nKind % 5 == 0;
            p.m_bNoEnd = nKind < 5;
        } else if (nKind < 60) {
            p.m_nType = CDataSerienTermin::weekly;
            p.m_nWeeklyInterval = (WORD)(1 + rng() % 2);
            for (int i = 0; i < 1 + (int)(rng() % 3); ++i)
                p.m_bWeekdays[1 + rng() % 5] = TRUE;
        } else if (nKind < 85) {
            p.m_nType = CDataSerienTermin::monthly;
            p.m_nMonthlyInterval = 1;
            p.m_bMonthlyByDay = nKind % 2 == 0;
            p.m_nDayOfMonth = (WORD)(1 + rng() % 31);
            p.m_nInstance = (WORD)(1 + rng() % 5);
            p.m_nWeekday = (WORD)(1 + rng() % 7);
        } else {
            p.m_nType = CDataSerienTermin::yearly;
            p.m_nMonth = (WORD)(1 + rng() % 12);
            p.m_nDayOfMonth = (WORD)(1 + rng() % 28);
        }
    }
    static const char* const kTypes[] = {"AD", "AW", "AM", "AY"};
    v["TYPE"] = bSeries ? kTypes[p.m_nType] : "AF";
    v["SERIE"] = bSeries ? "1" : "";
    v["REMIND"] = n % 2 == 0 ? "1" : "";
    v["T_REMSPAN"] = "     15";
    snprintf(szText, sizeof szText, "%4d", (int)p.m_nStartTime);
    v["T_BEGIN"] = szText;
    v["D_FIRST_OC"] = DbfDate(p.m_nPatternStart);
    v["D_LAST_OC"] = DbfDate(p.m_nPatternEnd);
    CString strImage;
    p.ToText(strImage, 180);
    v["TERMIN"] = (LPCTSTR)strImage;
    return v;
}

std::string MakeRows(const std::string& path, bool bAllMine)
{
    std::vector<std::pair<std::string, int>> fields;
    unsigned recordLength = 0;
    if (!ReadFieldLayout(path.c_str(), fields, recordLength))
        return std::string();
    std::mt19937 rng(4711);
    std::string rows;
    rows.reserve((size_t)recordLength * kRows);
    for (long n = 0; n < kRows; ++n) {
        const std::map<std::string, std::string> values = RowValues(n, rng, bAllMine);
        std::string row(recordLength, ' ');
        size_t at = 1;
        for (const auto& field : fields) {
            auto it = values.find(field.first);
            if (it != values.end())
                row.replace(at, std::min<size_t>(it->second.size(), field.second), it->second, 0,
                            std::min<size_t>(it->second.size(), field.second));
            at += field.second;
        }
        rows += row;
    }
    return rows;
}

bool Prepare(const std::string& dir, bool bAllMine)
{
    CreateDirectoryA(dir.c_str(), NULL);
    for (const char* name : {"OX4.DBE", "OX4.DBT", "OX4.nt0", "OX4.nt1"})
        DeleteFileA((dir + name).c_str());
    CDbSession session;
    CTerminTable table(&session, FALSE);
    if (table.OpenMain(dir.c_str(), 0, 0) != DB_OPEN_CREATED)
        return false;
    table.Close();
    const std::string path = dir + "OX4.DBE";
    if (!AppendRawRows(path.c_str(), MakeRows(path, bAllMine), kRows))
        return false;
    table.OpenMain(dir.c_str(), 0, 0);
    table.RebuildIndexes(TRUE);
    return table.GetRecCount() == (unsigned)kRows;
}

long DayEntries(CDataController& c)
{
    CArray<DWORD, DWORD> days;
    CArray<CDayList*, CDayList*> lists;
    c.GetDayIndex().GetSnapshot(days, lists);
    long nEntries = 0;
    for (long nDay : std::vector<DWORD>(days.GetData(), days.GetData() + days.GetSize()))
        nEntries += c.GetDayItemCount(nDay);
    return nEntries;
}

// A timer library that does nothing: the start's cost without the library's.
class CSilentTimers : public CTimerLibrary {
public:
    long JobOpen() override { return 1; }
    int JobClose(long) override { return 0; }
    int SetPollTime(long, int) override { return 0; }
    int SetMessageCallback(long, TimerCallback) override { return 0; }
    int StartPolling(long) override { return 0; }
    int StopPolling(long) override { return 0; }
    int Delete(long, long) override { return 0; }
    int AddFixed(long, const COleDateTime&, long, int) override { return 0; }
    int AddCyclicDay(long, long, const COleDateTime&, const COleDateTime&, int, int, int) override { return 0; }
    int AddCyclicWeekByDay(long, long, const COleDateTime&, const COleDateTime&, int, const int*, int) override
    {
        return 0;
    }
    int AddCyclicMonth(long, long, const COleDateTime&, const COleDateTime&, int, int, int) override { return 0; }
    int AddCyclicMonthExt(long, long, const COleDateTime&, const COleDateTime&, int, int, int, int) override
    {
        return 0;
    }
    int AddCyclicYearDayInMonth(long, long, const COleDateTime&, const COleDateTime&, int, int, int) override
    {
        return 0;
    }
    int AddCyclicYearExt(long, long, const COleDateTime&, const COleDateTime&, int, int, int, int) override
    {
        return 0;
    }
};

void FullStart(const std::string& dir, CTimerLibrary* pTimers)
{
    std::vector<double> usable, complete, cpu;
    for (int run = 0; run < kRuns; ++run) {
        const double before = PrivateMB(false);
        const double cpuStart = ProcessCpuSeconds();
        const double start = BenchNow();
        CDataController* pController = new CDataController(dir.c_str(), kUser, pTimers);
        const double tUsable = BenchNow() - start;
        pController->WaitForOccurrences(INFINITE);
        const double tComplete = BenchNow() - start;
        cpu.push_back((ProcessCpuSeconds() - cpuStart) * 1000.0);
        usable.push_back(tUsable * 1000.0);
        complete.push_back(tComplete * 1000.0);
        const double loaded = PrivateMB(false);
        if (run == 0) {
            printf("  loaded: %d appointments, %d to-dos, %d listed, %ld day entries on %d days\n",
                   pController->GetAppointmentMap().GetCount(), pController->GetTaskMap().GetCount(),
                   pController->GetAppointmentList().GetCount(), DayEntries(*pController),
                   pController->GetDayIndex().GetCount());
            printf("  memory: %.1f MB more private bytes with the entries loaded (peak %.1f MB in all)\n",
                   loaded - before, PrivateMB(true));
        }
        delete pController;
    }
    std::sort(usable.begin(), usable.end());
    std::sort(complete.begin(), complete.end());
    std::sort(cpu.begin(), cpu.end());
    printf("  usable maps: median %.0f ms (goal < 1000 ms); day index complete: median %.0f ms (goal < 3000 ms); "
           "CPU time of the process until complete: median %.0f ms; %d runs\n",
           usable[kRuns / 2], complete[kRuns / 2], cpu[kRuns / 2], kRuns);
}

void TenYearDailySeries(const std::string& dir)
{
    CDataController controller(dir.c_str(), kUser);
    controller.WaitForOccurrences(INFINITE);
    std::vector<double> times;
    for (int run = 0; run < 5; ++run) {
        CDataAppointment record;
        record.m_strUser = "HUBER"; // no timer
        record.m_bSeries = TRUE;
        record.m_pattern.m_nType = CDataSerienTermin::daily;
        record.m_pattern.m_nDailyInterval = 1;
        record.m_pattern.m_nPatternStart = CDateValue(COleDateTime(2024, 1, 1, 0, 0, 0)).GetDaySerial();
        record.m_pattern.m_bDefaultEnd = TRUE;
        char szId[16];
        snprintf(szId, sizeof szId, "%010d", 900000 + run);
        const double start = BenchNow();
        controller.AddAppointmentItem(record, szId, "0000");
        controller.WaitForOccurrences(INFINITE);
        times.push_back((BenchNow() - start) * 1000.0);
    }
    std::sort(times.begin(), times.end());
    printf("  one ten-year daily series (3,654 days) into the loaded day index: median %.1f ms, best %.1f ms\n",
           times[times.size() / 2], times.front());
}

// The day-index build alone: expanding a ten-year daily series and adding its days to an index,
// one series after the other on one thread, as the occurrence thread does.
void DayIndexBuild()
{
    CDataSerienTermin pattern;
    pattern.m_nType = CDataSerienTermin::daily;
    pattern.m_nDailyInterval = 1;
    pattern.m_nPatternStart = CDateValue(COleDateTime(2024, 1, 1, 0, 0, 0)).GetDaySerial();
    pattern.m_bDefaultEnd = TRUE;
    const int kSeriesCount = 100;
    CDayIndex index;
    std::vector<CItemVersionRef> keys;
    double tExpand = 0, tAdd = 0;
    long nDays = 0;
    for (int i = 0; i < kSeriesCount; ++i) {
        CList<DWORD, DWORD> days(100);
        long nFirst = 0;
        double t = BenchNow();
        ExpandRecurrence(pattern, days, nFirst);
        tExpand += BenchNow() - t;
        keys.emplace_back(new CItemVersion(1000L + i, 0), FALSE);
        t = BenchNow();
        POSITION pos = days.GetHeadPosition();
        while (pos != NULL)
            index.AddDays(days, pos, 256, keys.back().Get());
        tAdd += BenchNow() - t;
        nDays += days.GetCount();
    }
    printf("  day-index build, %d ten-year daily series one after the other: expansion %.2f ms, adding %.2f ms "
           "per series (%.0f ns per day entry)\n",
           kSeriesCount, tExpand * 1000.0 / kSeriesCount, tAdd * 1000.0 / kSeriesCount, tAdd * 1e9 / nDays);
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Saving one existing appointment without its dialog, end to end (find, lock, read, write, read
// back, new key, timer, notice), and one new appointment; with the program's pauses after a save
// and without them.
void SaveOne(const std::string& dir)
{
    CSilentTimers silent;
    for (bool bPauses : {false, true}) {
        CControllerTimings timings;
        if (!bPauses)
            timings.dwSavePause = timings.dwSeriesPause = timings.dwNoticePause = 0;
        CDataController controller(dir.c_str(), kUser, &silent, &timings);
        controller.WaitForOccurrences(INFINITE);
        std::vector<CItemVersionRef> keys = controller.GetAppointmentMap().GetKeys();
        std::vector<double> existing, created;
        const int kSaves = bPauses ? 5 : 25;
        for (int i = 0; i < kSaves; ++i) {
            const CString strKey = keys[(size_t)i * 37 % keys.size()]->GetIdText();
            CDataAppointment record;
            CTerminRecordBuffer buffer(controller.GetAppointmentTable());
            controller.ReadAppointment(strKey, record, buffer);
            if (record.m_bSeries)
                continue;
            record.m_strSubject.Format("Geändert %d", i);
            CString strId = strKey;
            double t = BenchNow();
            controller.SaveAppointment(record, strId, TRUE, TRUE);
            existing.push_back((BenchNow() - t) * 1000.0);

            CDataAppointment fresh;
            fresh.m_strUser = kUser;
            fresh.m_strSubject.Format("Neu %d", i);
            fresh.m_bRemind = TRUE;
            fresh.m_pattern.m_nPatternStart = fresh.m_pattern.m_nPatternEnd = record.m_pattern.m_nPatternStart;
            fresh.m_pattern.m_nStartTime = 600;
            CString strNew;
            t = BenchNow();
            controller.SaveAppointment(fresh, strNew, TRUE, TRUE);
            created.push_back((BenchNow() - t) * 1000.0);
        }
        printf("  save one appointment without dialog%s: existing median %.2f ms, new median %.2f ms (%d saves)\n",
               bPauses ? " (with the program's pauses of 200 ms)" : "", Median(existing), Median(created),
               (int)existing.size());
    }
}

// Changes the footprint of every n-th row of the appointment instance (the way another station's
// save does), nCount rows in all.
void ChangeRows(CDataController& controller, int nCount)
{
    std::vector<CItemVersionRef> keys = controller.GetAppointmentMap().GetKeys();
    CDbSession session;
    CTerminTable table(&session, TRUE);
    table.SetUserName("HUBER");
    table.OpenMain(controller.GetDataPath(), 0, 0);
    for (int i = 0; i < nCount; ++i) {
        CTerminRecordBuffer row(&table);
        row.AttachFields();
        const long nRecNo = table.FindRecordById(keys[(size_t)i * keys.size() / nCount]->GetIdText());
        if (nRecNo <= 0 || row.LockAndRead(nRecNo) != 0)
            continue;
        row.SetFieldValue("ORT", "Raum");
        row.WriteRecord();
    }
}

// The table's visible rows from the top through the engine's bulk read, 256 a call: ms.
double BulkRead(CTerminTable& table)
{
    std::vector<long> recnos;
    std::vector<char> rows;
    const double t = BenchNow();
    table.GoTo(0);
    while (table.ReadRows(256, recnos, rows) == 256) {
    }
    return (BenchNow() - t) * 1000.0;
}

// The incremental pass of the appointment instance, as the update thread runs it, over the
// unchanged table, over the table with 100 changed rows, and on an unchanged file; then the walk's
// parts: the filtered walk alone, with the reads of record id, footprint and moved id.
void Passes(const std::string& dir)
{
    CSilentTimers silent;
    CControllerTimings timings;
    timings.dwUpdateInterval = INFINITE;
    CDataController controller(dir.c_str(), kUser, &silent, &timings);
    controller.WaitForOccurrences(INFINITE);
    printf("  %d appointments loaded, %d listed, %ld day entries\n", controller.GetAppointmentMap().GetCount(),
           controller.GetAppointmentList().GetCount(), DayEntries(controller));
    const int kRunsPass = 5;
    std::vector<double> unchanged, unchangedFile, changed;
    for (int run = 0; run < kRunsPass; ++run) {
        controller.ResetFileTime(FALSE);
        double t = BenchNow();
        controller.ReloadAppointments();
        unchanged.push_back((BenchNow() - t) * 1000.0);
        t = BenchNow();
        controller.ReloadAppointments();
        unchangedFile.push_back((BenchNow() - t) * 1000.0);
        ChangeRows(controller, 100);
        t = BenchNow();
        controller.ReloadAppointments();
        changed.push_back((BenchNow() - t) * 1000.0);
        controller.WaitForOccurrences(INFINITE);
    }
    printf("  incremental pass over %d unchanged rows: median %.1f ms (goal < 20 ms); with 100 changed rows: "
           "median %.1f ms; on an unchanged file: median %.3f ms\n",
           controller.GetAppointmentList().GetCount(), Median(unchanged), Median(changed), Median(unchangedFile));

    // Where the time goes: the same walk over the filtered table, step by step.
    CTerminTable* pTable = controller.GetAppointmentTable();
    controller.EnterBusy();
    std::vector<double> walk, bulk, reads, lookups;
    for (int run = 0; run < kRunsPass; ++run) {
        COleDateTime none;
        none.SetStatus(COleDateTime::null);
        pTable->BuildFilter(kUser, "A", NULL, NULL, NULL, NULL, 0, none, none, none, none, NULL, FALSE, NULL, NULL,
                            NULL, FALSE, NULL, NULL, NULL);
        double t = BenchNow();
        long nRows = 0;
        pTable->GoTo(0);
        for (unsigned n = pTable->GetRecNo(); n != (unsigned)DB_EOF; n = pTable->GetRecNo()) {
            ++nRows;
            if (pTable->Skip(1) == 0)
                break;
        }
        walk.push_back((BenchNow() - t) * 1000.0);
        // The same rows through the engine's bulk read, as the passes read them.
        t = BenchNow();
        std::vector<long> recnos;
        std::vector<char> rows;
        long nBulk = 0;
        pTable->GoTo(0);
        for (;;) {
            const long nRead = pTable->ReadRows(256, recnos, rows);
            nBulk += nRead > 0 ? nRead : 0;
            if (nRead < 256)
                break;
        }
        bulk.push_back((BenchNow() - t) * 1000.0);
        if (nBulk != nRows)
            printf("  the bulk read gave %ld rows, the walk %ld\n", nBulk, nRows);
        CTerminRecordBuffer row(pTable);
        row.AttachFields();
        t = BenchNow();
        std::vector<long> ids;
        pTable->GoTo(0);
        for (unsigned n = pTable->GetRecNo(); n != (unsigned)DB_EOF; n = pTable->GetRecNo()) {
            row.ReadRecordFields((long)n, kDbFieldMaskVersion);
            ids.push_back(CItemVersion::ParseNumber(row.FieldValue("RECORDID")));
            if (pTable->Skip(1) == 0)
                break;
        }
        reads.push_back((BenchNow() - t) * 1000.0);
        t = BenchNow();
        for (long nId : ids)
            controller.GetAppointmentMap().Find(nId);
        lookups.push_back((BenchNow() - t) * 1000.0);
        if (run == 0)
            printf("  the pass's parts over %ld rows:\n", nRows);
    }
    // The same walk without the filter (the index order alone), in record order without index or
    // filter, and the masked reads alone in record order: what the engine's filtered index walk
    // costs over a plain pass over the rows.
    std::vector<double> indexWalk, recordWalk, recordReads, bulkIndex, bulkRecord;
    const unsigned nRecords = pTable->GetRecCount();
    for (int run = 0; run < kRunsPass; ++run) {
        pTable->SetFilter(NULL);
        double t = BenchNow();
        pTable->GoTo(0);
        for (unsigned n = pTable->GetRecNo(); n != (unsigned)DB_EOF; n = pTable->GetRecNo())
            if (pTable->Skip(1) == 0)
                break;
        indexWalk.push_back((BenchNow() - t) * 1000.0);
        bulkIndex.push_back(BulkRead(*pTable));
        pTable->SetOrder(0);
        t = BenchNow();
        pTable->GoTo(0);
        for (unsigned n = pTable->GetRecNo(); n != (unsigned)DB_EOF; n = pTable->GetRecNo())
            if (pTable->Skip(1) == 0)
                break;
        recordWalk.push_back((BenchNow() - t) * 1000.0);
        bulkRecord.push_back(BulkRead(*pTable));
        CTerminRecordBuffer row(pTable);
        row.AttachFields();
        t = BenchNow();
        for (unsigned n = 1; n <= nRecords; ++n)
            row.ReadRecordFields((long)n, kDbFieldMaskVersion);
        recordReads.push_back((BenchNow() - t) * 1000.0);
        pTable->SetOrder(CTerminTable::kOrderKey);
    }
    controller.LeaveBusy();
    printf("    filtered walk alone (goto, skip, record number): median %.1f ms (%.2f us per row)\n", Median(walk),
           Median(walk) * 1000.0 / kRows);
    printf("    the same rows through the bulk read (256 a call), stored records included: median %.1f ms (%.2f us "
           "per row)\n",
           Median(bulk), Median(bulk) * 1000.0 / kRows);
    printf("    walk with the reads of record id, footprint, moved id: median %.1f ms\n", Median(reads));
    printf("    map look-ups of the ids: median %.2f ms\n", Median(lookups));
    printf("    the same index order without the filter: median %.1f ms; record order without index: median %.1f ms\n",
           Median(indexWalk), Median(recordWalk));
    printf("    the bulk read without the filter: index order median %.1f ms, record order median %.1f ms\n",
           Median(bulkIndex), Median(bulkRecord));
    printf("    masked reads of record id, footprint, moved id alone, record order: median %.1f ms (%.2f us per row)\n",
           Median(recordReads), Median(recordReads) * 1000.0 / nRecords);

    // A changed or deleted entry leaves the day index: the cost of one removal over the index as
    // loaded, for entries spread over the map (singles and series; the last thing done here, the
    // removed keys stay retired).
    std::vector<double> removals;
    double tLongest = 0;
    const long nEntriesBefore = DayEntries(controller);
    const std::vector<CItemVersionRef> keys = controller.GetAppointmentMap().GetKeys();
    for (int i = 0; i < 40; ++i) {
        const CItemVersionRef& key = keys[(size_t)i * keys.size() / 40];
        const double t = BenchNow();
        controller.GetDayIndex().Remove(key.Get());
        removals.push_back((BenchNow() - t) * 1000.0);
        tLongest = std::max(tLongest, removals.back());
    }
    printf("    one entry out of the day index (%ld day entries before): median %.3f ms, longest %.3f ms\n",
           nEntriesBefore, Median(removals), tLongest);
}

// A filter change (the filter user to every user and back, the appointments' series condition on
// and off) until the update thread has loaded the emptied maps again: the time the call takes,
// and until the day index is complete; with the program's waits (a first wait of 1 s, then polls
// of 500 ms) and with polls of 1 ms.
void FilterChange(const std::string& dir)
{
    CSilentTimers silent;
    for (bool bProgramWaits : {false, true}) {
        CControllerTimings timings;
        if (!bProgramWaits) {
            timings.dwFilterSettle = timings.dwFilterFirstWait = 0;
            timings.dwFilterPoll = timings.dwLinkFilterPoll = 1;
            timings.nFilterPolls = timings.nLinkFilterPolls = 1000000;
        }
        CDataController controller(dir.c_str(), kUser, &silent, &timings);
        controller.WaitForOccurrences(INFINITE);
        COleDateTime none;
        none.SetStatus(COleDateTime::null);
        std::vector<double> users, usersComplete, series;
        int nLoaded = 0;
        const int kChanges = bProgramWaits ? 3 : 6;
        for (int i = 0; i < kChanges; ++i) {
            double t = BenchNow();
            controller.SetFilterUser(i % 2 == 0 ? "" : kUser);
            users.push_back((BenchNow() - t) * 1000.0);
            controller.WaitForOccurrences(INFINITE);
            usersComplete.push_back((BenchNow() - t) * 1000.0);
            nLoaded = controller.GetAppointmentMap().GetCount() + controller.GetTaskMap().GetCount();
            t = BenchNow();
            controller.SetAppointmentFilter("", "", i % 2 == 0 ? "0" : "", none, none, FALSE);
            series.push_back((BenchNow() - t) * 1000.0);
            controller.WaitForOccurrences(INFINITE);
        }
        printf("  filter change%s: filter user (both kinds, %d entries loaded) median %.0f ms, day index complete "
               "%.0f ms; appointments' series condition median %.0f ms (%d changes each)\n",
               bProgramWaits ? " with the program's waits" : " (polls of 1 ms)", nLoaded, Median(users),
               Median(usersComplete), Median(series), kChanges);
    }
}

// One walk over the filtered rows of a prepared table, for counting system calls under strace:
// "walk" the pass's former way (goto, record number, masked read and skip per row), "bulk" the
// bulk read with the version fields cut from each stored record, "none" only the opening and
// the filter (the count to subtract).
void CallsWalk(const std::string& dir, const char* pszHow)
{
    CDbSession session;
    CTerminTable table(&session, FALSE);
    if (table.OpenMain(dir.c_str(), 0, 0) == DB_OPEN_FAILED) {
        printf("cannot open the table in %s\n", dir.c_str());
        return;
    }
    COleDateTime none;
    none.SetStatus(COleDateTime::null);
    table.BuildFilter(kUser, "A", NULL, NULL, NULL, NULL, 0, none, none, none, none, NULL, FALSE, NULL, NULL, NULL,
                      FALSE, NULL, NULL, NULL);
    CTerminRecordBuffer row(&table);
    row.AttachFields();
    long nRows = 0;
    const double t = BenchNow();
    if (strcmp(pszHow, "walk") == 0) {
        table.GoTo(0);
        for (unsigned n = table.GetRecNo(); n != (unsigned)DB_EOF; n = table.GetRecNo()) {
            row.ReadRecordFields((long)n, kDbFieldMaskVersion);
            ++nRows;
            if (table.Skip(1) == 0)
                break;
        }
    } else if (strcmp(pszHow, "bulk") == 0) {
        std::vector<long> recnos;
        std::vector<char> rows;
        table.GoTo(0);
        for (;;) {
            const long nRead = table.ReadRows(256, recnos, rows);
            for (long i = 0; i < nRead; ++i)
                row.TakeStoredRow(recnos[(size_t)i], rows.data() + (size_t)i * table.GetStoredRecordSize(),
                                  kDbFieldMaskVersion);
            nRows += nRead > 0 ? nRead : 0;
            if (nRead < 256)
                break;
        }
    }
    printf("  calls=%s: %ld rows in %.1f ms\n", pszHow, nRows, (BenchNow() - t) * 1000.0);
}

} // namespace

int main(int argc, char** argv)
{
    bool bStart = argc < 2, bPasses = argc < 2, bDayIndex = false, bFilter = argc < 2;
    int nModes = 0;
    for (int i = 1; i < argc; ++i) {
        if (strncmp(argv[i], "rows=", 5) == 0) {
            kRows = std::max(100L, atol(argv[i] + 5));
            kSeries = kRows / 10;
            continue;
        }
        ++nModes;
    }
    for (int i = 1; i < argc; ++i)
        if (strncmp(argv[i], "calls=", 6) == 0) {
            char temp[MAX_PATH];
            GetTempPathA(sizeof temp, temp);
            const std::string dir = std::string(temp) + "ox_bench_calls\\";
            if (GetFileAttributesA((dir + "OX4.DBE").c_str()) == INVALID_FILE_ATTRIBUTES && !Prepare(dir, true)) {
                printf("cannot prepare the table in %s\n", dir.c_str());
                return 1;
            }
            CallsWalk(dir, argv[i] + 6);
            return 0;
        }
    bStart = bPasses = bFilter = nModes == 0;
    for (int i = 1; i < argc; ++i) {
        bStart |= strcmp(argv[i], "start") == 0;
        bPasses |= strcmp(argv[i], "passes") == 0;
        bDayIndex |= strcmp(argv[i], "dayindex") == 0;
        bFilter |= strcmp(argv[i], "filter") == 0;
    }
    if (bDayIndex && !bStart)
        DayIndexBuild();
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    if (bStart) {
        const std::string dir = std::string(temp) + "ox_bench_controller\\";
        if (!Prepare(dir, false)) {
            printf("cannot prepare the table in %s\n", dir.c_str());
            return 1;
        }
        printf("data controller start on %ld rows with %ld series (user %s)\n", kRows, kSeries, kUser);
        FullStart(dir, NULL);
        printf("the same without the timer library's work:\n");
        CSilentTimers silent;
        FullStart(dir, &silent);
        TenYearDailySeries(dir);
        DayIndexBuild();
    }
    if (bPasses) {
        const std::string dir = std::string(temp) + "ox_bench_passes\\";
        if (!Prepare(dir, true)) {
            printf("cannot prepare the table in %s\n", dir.c_str());
            return 1;
        }
        printf("entries and passes on %ld rows of user %s with %ld series\n", kRows, kUser, kSeries);
        SaveOne(dir);
        Passes(dir);
    }
    if (bFilter) {
        const std::string dir = std::string(temp) + "ox_bench_filter\\";
        if (!Prepare(dir, true)) {
            printf("cannot prepare the table in %s\n", dir.c_str());
            return 1;
        }
        printf("filter changes on %ld rows of user %s with %ld series\n", kRows, kUser, kSeries);
        FilterChange(dir);
    }
    return 0;
}
