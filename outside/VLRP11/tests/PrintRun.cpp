#include "PrintRun.h"

#include <windows.h>

#include <cstdio>

#include "VLRP11.h"

namespace rptest {
namespace {

double Now()
{
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return double(counter.QuadPart) / double(frequency.QuadPart);
}

std::string DateText(double value, bool comma)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%lf", value);
    std::string text = buffer;
    for (char& c : text)
        if (c == '.' || c == ',')
            c = comma ? ',' : '.';
    return text;
}

// A 16 x 16 symbol: a coloured disc on a transparent ground.
HICON MakeIcon(COLORREF colour)
{
    BYTE andMask[16 * 16 / 8] = {}, xorMask[16 * 16 * 4] = {};
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            bool inside = (x - 7.5) * (x - 7.5) + (y - 7.5) * (y - 7.5) <= 56;
            if (!inside)
                andMask[y * 2 + x / 8] |= (BYTE)(0x80 >> (x % 8));
            BYTE* p = &xorMask[(y * 16 + x) * 4];
            p[0] = inside ? GetBValue(colour) : 0;
            p[1] = inside ? GetGValue(colour) : 0;
            p[2] = inside ? GetRValue(colour) : 0;
        }
    return CreateIcon(GetModuleHandleA(nullptr), 16, 16, 1, 32, andMask, xorMask);
}

class Feeder {
public:
    Feeder(int job, const RunSetup& setup) : m_job(job), m_setup(setup) {}

    // Page variables, and for cards the record items as variables (definition pass: their
    // names' values).
    void DefineVariables(bool definitionPass, int& percent, bool& end)
    {
        RpDefineVariableA(m_job, "Aktueller Benutzer", m_setup.currentUser.c_str());
        if (m_setup.withIcons) {
            const char* names[] = {"Symbole.Erinnerung", "Symbole.Privat", m_setup.todo ? "Symbole.Aufgabe" : "Symbole.Serie"};
            const COLORREF colours[] = {RGB(220, 40, 40), RGB(40, 90, 200), RGB(40, 160, 60)};
            for (int i = 0; i < 3; ++i) {
                const char* name = names[i];
                // The icon is made anew for every definition and destroyed at once: the engine
                // keeps its own copy.
                HICON icon = MakeIcon(colours[i]);
                RpDefineVariableExtHandleA(m_job, name, icon, RP_ITEM_ICON, 0);
                DestroyIcon(icon);
            }
        }
        if (m_setup.type == RP_PROJECT_CARD)
            DefineRecord(false, definitionPass, percent, end);
    }

    void DefineFields(bool definitionPass, int& percent, bool& end) { DefineRecord(true, definitionPass, percent, end); }

    int lastIndex = -1;

private:
    void Define(bool field, const char* name, const std::string& value, int type = 0)
    {
        if (field)
            type ? RpDefineFieldExtA(m_job, name, value.c_str(), type, 0) : RpDefineFieldA(m_job, name, value.c_str());
        else
            type ? RpDefineVariableExtA(m_job, name, value.c_str(), type, 0) : RpDefineVariableA(m_job, name, value.c_str());
    }

    void DefineRecord(bool field, bool definitionPass, int& percent, bool& end)
    {
        Entry entry;
        if (!definitionPass) {
            if (m_next >= m_setup.entries.size()) {
                end = true;
                return;
            }
            lastIndex = (int)m_next;
            entry = m_setup.entries[m_next++];
            percent = m_setup.entries.empty() ? 100 : (int)(m_next * 100 / m_setup.entries.size());
        } else {
            entry.subject = "Betreff";
            entry.place = "Ort";
            entry.with = "Mit";
            entry.user = "UNKNOWN";
            entry.isPrivate = entry.reminder = entry.series = true;
        }
        const bool hidden = !definitionPass && entry.isPrivate && entry.user != m_setup.currentUser;
        const bool comma = m_setup.commaDates;
        Define(field, "Betreff", hidden ? "" : entry.subject);
        if (!m_setup.todo)
            Define(field, "Ort", hidden ? "" : entry.place);
        Define(field, "Mit", hidden ? "" : entry.with);
        if (!m_setup.todo)
            Define(field, "Serie", entry.series ? "T" : "F", RP_ITEM_BOOLEAN);
        Define(field, "Privat", entry.isPrivate ? "T" : "F", RP_ITEM_BOOLEAN);
        Define(field, "Erinnerung", entry.reminder ? "T" : "F", RP_ITEM_BOOLEAN);
        Define(field, "Notizen.formatiert", hidden ? "" : "{\\rtf1\\ansi " + entry.notes + "}", RP_ITEM_RTF);
        Define(field, "Notizen.unformatiert", hidden ? "" : entry.notes);
        Define(field, "Beginn", DateText(entry.start, comma), RP_ITEM_DATE);
        Define(field, "Ende", DateText(entry.end, comma), RP_ITEM_DATE);
        if (m_setup.todo) {
            Define(field, "Priorität", entry.priority);
            Define(field, "% erledigt", std::to_string(entry.percent), RP_ITEM_NUMBER);
        }
        Define(field, "Erstellt von", entry.user);
        Define(field, "Benutzer", entry.user);
        if (!definitionPass && m_next >= m_setup.entries.size())
            end = true;
    }

    int m_job;
    const RunSetup& m_setup;
    size_t m_next = 0;
};

} // namespace

RunStats RunPrint(const RunSetup& setup)
{
    RunStats stats;
    int job = RpJobOpen(0x4000);
    RpSetOptionStringA(job, 12, "vlrp11db.rpx");
    RpSetOption(job, 83, 8);
    if (setup.todo) {
        RpSetFileExtensionsA(job, 2, "lad", "lap", "lav");
        RpSetFileExtensionsA(job, 3, "cad", "cap", "cav");
    } else {
        RpSetFileExtensionsA(job, 2, "ltd", "ltp", "ltv");
        RpSetFileExtensionsA(job, 3, "ctd", "ctp", "ctv");
    }
    RpSetOption(job, 19, 1);
    RpSetOption(job, 14, 1);

    Feeder feeder(job, setup);
    const bool card = setup.type == RP_PROJECT_CARD;
    const int mode = card ? 2000 : 1;
    (void)mode;
    int percent = 0;
    bool end = false;
    RpDefineVariableStart(job);
    feeder.DefineVariables(true, percent, end);
    if (!card) {
        RpDefineFieldStart(job);
        feeder.DefineFields(true, percent, end);
    }
    const char* title = card ? "Termin Karteikarten ausgeben" : "Terminliste ausgeben";
    int result = RpPrintWithBoxStartA(job, setup.type, setup.project.c_str(), 0x800, 0, nullptr, title);
    auto finish = [&](int code, int step) {
        char buffer[256] = "";
        RpExprErrorA(job, buffer, 255);
        stats.exprError = buffer;
        stats.result = code;
        stats.step = step;
        RpJobClose(job);
        return stats;
    };
    if (result < 0)
        return finish(result, 1);
    RpPrintSetOption(job, card ? 0 : 14, 1);
    if (!setup.mediumKey.empty())
        RpPrintSetOptionStringA(job, 2, setup.mediumKey.c_str());
    result = RpPrintOptionsDialogA(job, nullptr, title);
    if (result < 0) {
        RpPrintEnd(job, 0);
        return finish(result, 2);
    }
    RpPrintSetOption(job, 1, 1);
    stats.preview = RpPrintGetOption(job, 13) == 2;
    int copies = 1;
    if (card) {
        copies = RpPrintGetOption(job, 0);
        RpPrintSetOption(job, 0, 1);
    } else if (RpPrintGetOption(job, 3) == 0)
        RpPrintSetOption(job, 0, 1);
    stats.copies = copies;
    stats.engineCopies = RpPrintGetOption(job, 0);
    char device[128] = "", port[40] = "";
    RpPrintGetPrinterInfoA(job, device, 127, port, 39);
    stats.device = device;
    if (stats.preview) {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        RpPreviewSetTempPathA(job, temp);
    }

    end = false;
    if (card) {
        while (!end && result == 0) {
            RpDefineVariableStart(job);
            feeder.DefineVariables(false, percent, end);
            if (feeder.lastIndex < 0)
                break; // no entry at all
            double boxStart = Now();
            result = RpPrintSetBoxTextA(job, device, percent < 0 ? 0 : percent > 100 ? 100 : percent);
            stats.boxSeconds += Now() - boxStart;
            if (result == RP_ERR_USER_ABORT)
                break;
            for (int copy = 0; copy < copies && result == 0; ++copy) {
                int guard = 0;
                while ((result = RpPrint(job)) == RP_PAGE_FULL && ++guard < 10000)
                    ++stats.pageFullCards;
            }
        }
    } else {
        RpSetOption(job, 42, 1);
        RpSetOption(job, 47, 1);
        bool repeatRow = false;
        while (result == 0 && (!end || repeatRow)) {
            feeder.DefineVariables(false, percent, end);
            result = RpPrint(job);
            while (result == 0 && (!end || repeatRow)) {
                if (!repeatRow)
                    feeder.DefineFields(false, percent, end);
                if (end && feeder.lastIndex < 0)
                    break;
                double boxStart = Now();
                int box = RpPrintSetBoxTextA(job, device, percent < 0 ? 0 : percent > 100 ? 100 : percent);
                stats.boxSeconds += Now() - boxStart;
                if (box == RP_ERR_USER_ABORT) {
                    result = RP_ERR_USER_ABORT;
                    break;
                }
                result = RpPrintFields(job);
                if (result == RP_PAGE_FULL) {
                    ++stats.pageFullRows;
                    repeatRow = true;
                    result = 0;
                    break;
                }
                if (result == 0)
                    stats.rowOrder.push_back(feeder.lastIndex);
                repeatRow = false;
            }
        }
        if (result == 0) {
            int guard = 0;
            do
                ++stats.fieldsEndCalls;
            while (RpPrintFieldsEnd(job) == RP_PAGE_FULL && ++guard < 10000);
        }
    }
    if (result == RP_ERR_USER_ABORT) {
        RpPrintEnd(job, 0);
        return finish(RP_ERR_USER_ABORT, 3);
    }
    if (result != 0) {
        RpPrintEnd(job, 0);
        return finish(result, 3);
    }
    double endStart = Now();
    result = RpPrintEnd(job, 0);
    stats.endSeconds = Now() - endStart;
    if (result == 0 && stats.preview) {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        stats.previewResult = RpPreviewDisplayA(job, setup.project.c_str(), temp, nullptr);
        RpPreviewDeleteFilesA(job, setup.project.c_str(), temp);
        stats.previewAfterDelete = RpPreviewDisplayA(job, setup.project.c_str(), temp, nullptr);
    }
    return finish(result, result == 0 ? 0 : 4);
}

std::vector<Entry> Appointments(int count)
{
    std::vector<Entry> entries;
    for (int i = 1; i <= count; ++i) {
        Entry entry;
        char subject[64];
        std::snprintf(subject, sizeof subject, "Termin %03d", i);
        entry.subject = subject;
        entry.place = i % 2 ? "Raum Größe" : "Büro";
        entry.with = "Müller";
        entry.start = 45418.375 + i;
        entry.end = entry.start + 1.0 / 24;
        entry.reminder = i % 3 == 0;
        entry.notes = "Notiz zu " + entry.subject;
        entries.push_back(entry);
    }
    return entries;
}

} // namespace rptest
