// The report engine through its exports, driven as the program's report jobs drive it.
#include <gtest/gtest.h>

#include <windows.h>
#include <zlib.h>

#include "CtlLog.h"
#include "PrintRun.h"
#include "TestKit.h"
#include "VLRP11.h"

namespace {

const char kListProject[] = "VLRP11 project 1\n"
                            "type = list\n"
                            "font = 7 12\n"
                            "rows = 50\n"
                            "header = \"Terminliste\"\n"
                            "column = Beginn | Beginn | 30 | left\n"
                            "column = Betreff | Betreff | 60 | left\n"
                            "column = Mit | Mit | 40 | left\n"
                            "footer = \"Seite \" + Seite\n";
const char kCardProject[] = "VLRP11 project 1\n"
                            "type = card\n"
                            "line = Betreff | Betreff\n"
                            "line = Beginn | Beginn\n"
                            "line = Notizen | Notizen.unformatiert\n";

class ReportEngine : public ::testing::Test {
protected:
    void SetUp() override
    {
        log.SetDialogAnswers("");
        list = dir.File("liste.ltd");
        card = dir.File("karte.ctd");
        ASSERT_TRUE(oxtest::WriteFileText(list, kListProject));
        ASSERT_TRUE(oxtest::WriteFileText(card, kCardProject));
    }

    // Answers the options dialog with OK, an output file and copies.
    void AnswerOptions(const std::string& output, int copies = 1)
    {
        std::string escaped;
        for (char c : output)
            escaped += c == '\\' ? std::string("\\\\") : std::string(1, c);
        log.SetDialogAnswers("IDOK;1020=" + escaped + ";1030=" + std::to_string(copies));
    }

    rptest::RunSetup Setup(int type, const std::string& project, int entries)
    {
        rptest::RunSetup setup;
        setup.type = type;
        setup.project = project;
        setup.entries = rptest::Appointments(entries);
        return setup;
    }

    oxtest::CtlLog log;
    oxtest::TempDir dir{"vlrp11"};
    std::string list, card;
};

TEST_F(ReportEngine, ListRowThatMetAFullPageIsPrintedOnceOnTheNextPage)
{
    std::string pdf = dir.File("liste.pdf");
    AnswerOptions(pdf);
    rptest::RunStats stats = rptest::RunPrint(Setup(2, list, 120));
    ASSERT_EQ(0, stats.result) << stats.exprError;
    EXPECT_EQ(2, stats.pageFullRows); // rows 51 and 101 opened pages 2 and 3
    ASSERT_EQ(120u, stats.rowOrder.size());
    for (int i = 0; i < 120; ++i)
        ASSERT_EQ(i, stats.rowOrder[i]) << "each entry printed once, in order";
    EXPECT_EQ(1, stats.fieldsEndCalls);
    EXPECT_EQ("PDF-Datei liste.pdf", stats.device);
    EXPECT_EQ(1, stats.engineCopies);
    std::string data = oxtest::ReadFileText(pdf);
    EXPECT_EQ(0u, data.find("%PDF-1.4")) << "a PDF file";
    EXPECT_NE(std::string::npos, data.find("/Count 3 ")) << "three pages";
}

TEST_F(ReportEngine, CardCopiesAreMadeByTheCallerAndTheEngineCopiesOne)
{
    std::string html = dir.File("karten.html");
    AnswerOptions(html, 3);
    rptest::RunSetup setup = Setup(3, card, 4);
    setup.mediumKey = "HTML";
    rptest::RunStats stats = rptest::RunPrint(setup);
    ASSERT_EQ(0, stats.result) << stats.exprError;
    EXPECT_EQ(3, stats.copies);
    EXPECT_EQ(1, stats.engineCopies);
    EXPECT_EQ("HTML-Datei karten.html", stats.device);
    std::string text = oxtest::ReadFileText(html);
    size_t cards = 0;
    for (size_t at = text.find("<div class=\"card\">"); at != std::string::npos; at = text.find("<div class=\"card\">", at + 1))
        ++cards;
    EXPECT_EQ(12u, cards);
    // Each card three times before the next entry.
    size_t second = text.find("<dd>Termin 002</dd>");
    ASSERT_NE(std::string::npos, second);
    size_t copiesBeforeSecond = 0;
    for (size_t at = text.find("<dd>Termin 001</dd>"); at != std::string::npos && at < second;
         at = text.find("<dd>Termin 001</dd>", at + 1))
        ++copiesBeforeSecond;
    EXPECT_EQ(3u, copiesBeforeSecond);
}

TEST_F(ReportEngine, ACardTallerThanAPageGoesOnPageByPage)
{
    std::string pdf = dir.File("karten.pdf");
    AnswerOptions(pdf);
    rptest::RunSetup setup = Setup(3, card, 2);
    std::string notes;
    for (int i = 1; i <= 300; ++i)
        notes += "Notizzeile " + std::to_string(i) + "\n";
    setup.entries[1].notes = notes;
    rptest::RunStats stats = rptest::RunPrint(setup);
    ASSERT_EQ(0, stats.result) << stats.exprError;
    // 300 lines of 9 pt fill about four pages after the first card.
    EXPECT_GE(stats.pageFullCards, 3);
    EXPECT_LE(stats.pageFullCards, 6);
}

TEST_F(ReportEngine, ARowTallerThanAPageIsCutInsteadOfFullForEver)
{
    ASSERT_TRUE(oxtest::WriteFileText(list, "VLRP11 project 1\ncolumn = Notizen | Notizen.unformatiert | 100 | left\n"));
    int job = RpJobOpen(0x4000);
    RpDefineFieldStart(job);
    RpDefineFieldA(job, "Notizen.unformatiert", "");
    ASSERT_EQ(0, RpPrintWithBoxStartA(job, 2, list.c_str(), 0x800, 0, nullptr, "Liste"));
    ASSERT_EQ(0, RpPrintSetOptionStringA(job, 2, "PDF"));
    ASSERT_EQ(0, RpPrintSetOptionStringA(job, 3, dir.File("lang.pdf").c_str()));
    std::string tall;
    for (int i = 0; i < 200; ++i)
        tall += "Zeile\n";
    RpDefineFieldA(job, "Notizen.unformatiert", "kurz");
    ASSERT_EQ(0, RpPrint(job));
    EXPECT_EQ(0, RpPrintFields(job));
    RpDefineFieldA(job, "Notizen.unformatiert", tall.c_str());
    EXPECT_EQ(RP_PAGE_FULL, RpPrintFields(job)) << "does not fit below the first row";
    ASSERT_EQ(0, RpPrint(job));
    EXPECT_EQ(0, RpPrintFields(job)) << "alone on a page it is cut";
    EXPECT_EQ(0, RpPrintFieldsEnd(job));
    EXPECT_EQ(0, RpPrintEnd(job, 0));
    EXPECT_EQ(0, RpJobClose(job));
    EXPECT_NE(std::string::npos, oxtest::ReadFileText(dir.File("lang.pdf")).find("/Count 2 "));
}

TEST_F(ReportEngine, ErrorsOfTheRunAndWhatTheyLeave)
{
    std::string older = dir.File("alt.pdf");
    const std::string olderText = "%PDF-1.4 older file";
    ASSERT_TRUE(oxtest::WriteFileText(older, olderText));
    std::string noTable = dir.File("leer.ltd"), damaged = dir.File("kaputt.ltd"), unknown = dir.File("falsch.ltd");
    ASSERT_TRUE(oxtest::WriteFileText(noTable, "VLRP11 project 1\nheader = \"Liste\"\n"));
    ASSERT_TRUE(oxtest::WriteFileText(damaged, "VLRP11 project 1\ncolumn = Betreff\n"));
    ASSERT_TRUE(oxtest::WriteFileText(unknown, "VLRP11 project 1\ncolumn = Betreff | Bettreff | 40 | left\n"));

    struct Case {
        const char* name;
        int type;
        std::string project;
        std::string answers;  // options dialog
        int abortAfter;       // progress checks before an abort; -1: none
        int result, step;
        const char* exprError; // part of RpExprErrorA's text
    } cases[] = {
        {"missing project", 2, dir.File("fehlt.ltd"), "", -1, RP_ERR_PROJECT_MISSING, 1, "fehlt.ltd"},
        {"card project for a list", 2, card, "", -1, RP_ERR_WRONG_PROJECT, 1, ""},
        {"list project for cards", 3, list, "", -1, RP_ERR_WRONG_PROJECT, 1, ""},
        {"list without table", 2, noTable, "", -1, RP_ERR_NO_TABLE, 1, ""},
        {"damaged file", 2, damaged, "", -1, RP_ERR_BAD_PROJECT, 1, "Zeile 2"},
        {"unknown item", 2, unknown, "", -1, RP_ERR_EXPRESSION, 1, "\"Bettreff\" in Spalte 1"},
        {"Abbrechen in the options", 2, list, "IDCANCEL", -1, RP_ERR_USER_ABORT, 2, ""},
        {"printer", 2, list, "IDOK", -1, RP_ERR_NO_PRINTER, 2, ""},
        {"abort after two rows", 2, list, "", 3, RP_ERR_USER_ABORT, 3, ""},
    };
    char printer[512];
    DWORD printerSize = sizeof printer;
    const bool hasPrinter = GetDefaultPrinterA(printer, &printerSize) != FALSE;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (hasPrinter && std::string(c.name) == "printer")
            continue; // a test prints on no real printer
        std::string escaped;
        for (char ch : older)
            escaped += ch == '\\' ? std::string("\\\\") : std::string(1, ch);
        log.SetDialogAnswers(c.abortAfter >= 0 ? "IDOK;1020=" + escaped : c.answers);
        log.SetAbortAfter(c.abortAfter);
        rptest::RunSetup setup = Setup(c.type, c.project, 10);
        setup.mediumKey = std::string(c.name) == "printer" ? "PRN" : "PDF";
        rptest::RunStats stats = rptest::RunPrint(setup);
        EXPECT_EQ(c.result, stats.result);
        EXPECT_EQ(c.step, stats.step);
        EXPECT_NE(std::string::npos, stats.exprError.find(c.exprError)) << stats.exprError;
        if (c.abortAfter >= 0) {
            EXPECT_EQ(2u, stats.rowOrder.size());
        }
        EXPECT_EQ(olderText, oxtest::ReadFileText(older)) << "the older file is untouched";
        EXPECT_EQ("", oxtest::ReadFileText(dir.File("liste.pdf"))) << "no output of a failed run";
    }
    log.SetAbortAfter(-1);
    // The progress box showed the run's title and was closed by every run that opened it.
    auto starts = log.Records("AbortDlgStart"), ends = log.Records("AbortDlgEnd");
    ASSERT_FALSE(starts.empty());
    EXPECT_EQ("Terminliste ausgeben", starts[0][1]);
    EXPECT_EQ("PDF-Datei alt.pdf", starts[0][2]);
    EXPECT_EQ(starts.size(), ends.size());
    // No temporary file is left behind.
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA(dir.File("*.tmp").c_str(), &found);
    EXPECT_EQ(INVALID_HANDLE_VALUE, find);
    if (find != INVALID_HANDLE_VALUE)
        FindClose(find);
}

TEST_F(ReportEngine, CallsOutsideAJobOrARun)
{
    const int bad = 0x7654321;
    char buffer[16];
    struct Case {
        const char* call;
        int result;
    } badJob[] = {
        {"RpJobClose", RpJobClose(bad)},
        {"RpSetOption", RpSetOption(bad, 83, 8)},
        {"RpDefineVariableA", RpDefineVariableA(bad, "a", "b")},
        {"RpDefineFieldExtA", RpDefineFieldExtA(bad, "a", "T", RP_ITEM_BOOLEAN, 0)},
        {"RpSelectFileDlgTitleExA", RpSelectFileDlgTitleExA(bad, nullptr, nullptr, 2, buffer, 15, nullptr)},
        {"RpPrintWithBoxStartA", RpPrintWithBoxStartA(bad, 2, list.c_str(), 0x800, 0, nullptr, "")},
        {"RpPrint", RpPrint(bad)},
        {"RpPrintEnd", RpPrintEnd(bad, 0)},
        {"RpExprErrorA", RpExprErrorA(bad, buffer, 15)},
        {"RpDefineLayoutA", RpDefineLayoutA(bad, nullptr, "", 2, "x.ltd")},
    };
    for (const Case& c : badJob)
        EXPECT_EQ(RP_ERR_BAD_JOB, c.result) << c.call;

    int job = RpJobOpen(0x4000);
    int other = RpJobOpen(0x4000);
    ASSERT_GT(job, 0);
    ASSERT_GT(other, 0);
    EXPECT_NE(job, other);
    Case notPrinting[] = {
        {"RpPrint", RpPrint(job)},
        {"RpPrintFields", RpPrintFields(job)},
        {"RpPrintFieldsEnd", RpPrintFieldsEnd(job)},
        {"RpPrintOptionsDialogA", RpPrintOptionsDialogA(job, nullptr, "")},
        {"RpPrintSetBoxTextA", RpPrintSetBoxTextA(job, "x", 5)},
        {"RpPrintGetOption", RpPrintGetOption(job, 0)},
        {"RpPrintEnd", RpPrintEnd(job, 0)},
    };
    for (const Case& c : notPrinting)
        EXPECT_EQ(RP_ERR_NOT_PRINTING, c.result) << c.call;
    EXPECT_EQ(RP_ERR_NOT_PRINTING, RpPreviewDisplayA(job, list.c_str(), "C:\\", nullptr)) << "no preview made";
    EXPECT_EQ(0, RpPreviewDeleteFilesA(job, list.c_str(), "C:\\"));
    EXPECT_EQ(0, RpJobClose(job));
    EXPECT_EQ(RP_ERR_BAD_JOB, RpJobClose(job));
    EXPECT_EQ(0, RpJobClose(other));
}

TEST_F(ReportEngine, AllEntryPointsAreExportedUnderPlainNames)
{
    HMODULE module = GetModuleHandleA("VLRP11.dll");
    ASSERT_NE(nullptr, module);
    const char* names[] = {"RpJobOpen", "RpJobClose", "RpSetOption", "RpSetOptionStringA", "RpSetFileExtensionsA",
                           "RpDefineVariableStart", "RpDefineFieldStart", "RpDefineVariableA", "RpDefineVariableExtA",
                           "RpDefineVariableExtHandleA", "RpDefineFieldA", "RpDefineFieldExtA",
                           "RpSelectFileDlgTitleExA", "RpDefineLayoutA", "RpPrintWithBoxStartA", "RpPrintOptionsDialogA",
                           "RpPrintGetOption", "RpPrintSetOption", "RpPrintSetOptionStringA", "RpPrintGetPrinterInfoA",
                           "RpPreviewSetTempPathA", "RpPrintSetBoxTextA", "RpPrint", "RpPrintFields", "RpPrintFieldsEnd",
                           "RpPrintEnd", "RpPreviewDisplayA", "RpPreviewDeleteFilesA", "RpExprErrorA"};
    static_assert(sizeof names / sizeof names[0] == 29, "the entry points the program calls");
    for (const char* name : names)
        EXPECT_NE(nullptr, (void*)GetProcAddress(module, name)) << name;
}

TEST_F(ReportEngine, PageDefaultsComeFromTheJobsDefaultsFile)
{
    std::string a5 = dir.File("a5.rpx"), broken = dir.File("kaputt.rpx"), own = dir.File("eigen.ltd");
    ASSERT_TRUE(oxtest::WriteFileText(a5, "VLRP11 project 1\npage = 148 210\nfont = 8\n"));
    ASSERT_TRUE(oxtest::WriteFileText(broken, "VLRP11 project 1\ntype = card\n"));
    ASSERT_TRUE(oxtest::WriteFileText(own, std::string(kListProject) + "page = 100 100\n"));
    struct Case {
        const char* name;
        std::string defaults; // option 12; empty: not set
        std::string project;
        const char* box;
    } cases[] = {
        {"built in", "", list, "[0 0 595.28 841.89]"},
        {"shipped beside the library", "vlrp11db.rpx", list, "[0 0 595.28 841.89]"},
        {"a file of its own", a5, list, "[0 0 419.53 595.28]"},
        {"missing", dir.File("fehlt.rpx"), list, "[0 0 595.28 841.89]"},
        {"damaged", broken, list, "[0 0 595.28 841.89]"},
        {"the project's own page wins", a5, own, "[0 0 283.46 283.46]"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string pdf = dir.File("seite.pdf");
        int job = RpJobOpen(0x4000);
        if (!c.defaults.empty())
            RpSetOptionStringA(job, RP_OPTION_DATABASE, c.defaults.c_str());
        RpDefineFieldStart(job);
        for (const char* name : {"Beginn", "Betreff", "Mit"})
            RpDefineFieldA(job, name, name);
        ASSERT_EQ(0, RpPrintWithBoxStartA(job, 2, c.project.c_str(), 0x800, 0, nullptr, "Liste"));
        RpPrintSetOptionStringA(job, RP_PRINT_MEDIUM_KEY, "PDF");
        RpPrintSetOptionStringA(job, RP_PRINT_OUTPUT_FILE, pdf.c_str());
        ASSERT_EQ(0, RpPrint(job));
        ASSERT_EQ(0, RpPrintEnd(job, 0));
        RpJobClose(job);
        std::string data = oxtest::ReadFileText(pdf);
        EXPECT_NE(std::string::npos, data.find(std::string("/MediaBox ") + c.box)) << data.substr(0, 2000);
    }
}

TEST_F(ReportEngine, ARunNeverEndedIsDroppedByTheNextStart)
{
    std::string first = dir.File("erste.pdf"), second = dir.File("zweite.pdf");
    int job = RpJobOpen(0x4000);
    RpDefineFieldStart(job);
    for (const char* name : {"Beginn", "Betreff", "Mit"})
        RpDefineFieldA(job, name, name);
    for (const std::string& output : {first, second}) {
        ASSERT_EQ(0, RpPrintWithBoxStartA(job, 2, list.c_str(), 0x800, 0, nullptr, "Liste"));
        RpPrintSetOptionStringA(job, RP_PRINT_MEDIUM_KEY, "PDF");
        RpPrintSetOptionStringA(job, RP_PRINT_OUTPUT_FILE, output.c_str());
        ASSERT_EQ(0, RpPrint(job));
        ASSERT_EQ(0, RpPrintFields(job));
    }
    ASSERT_EQ(0, RpPrintEnd(job, 0));
    EXPECT_EQ("", oxtest::ReadFileText(first));
    EXPECT_NE("", oxtest::ReadFileText(second));
    // Closing a job in the middle of a run leaves no file either.
    ASSERT_EQ(0, RpPrintWithBoxStartA(job, 2, list.c_str(), 0x800, 0, nullptr, "Liste"));
    RpPrintSetOptionStringA(job, RP_PRINT_MEDIUM_KEY, "PDF");
    RpPrintSetOptionStringA(job, RP_PRINT_OUTPUT_FILE, first.c_str());
    ASSERT_EQ(0, RpPrint(job));
    EXPECT_EQ(0, RpJobClose(job));
    EXPECT_EQ("", oxtest::ReadFileText(first));
}

TEST_F(ReportEngine, PreviewShowsThePagesOfTheRunUntilTheyAreDeleted)
{
    std::string picture = dir.File("vorschau.bmp");
    SetEnvironmentVariableA("VLRP11_PREVIEW_PICTURE", picture.c_str());
    log.SetDialogAnswers("IDOK");
    rptest::RunSetup setup = Setup(2, list, 60);
    setup.mediumKey = "PRV";
    rptest::RunStats stats = rptest::RunPrint(setup);
    SetEnvironmentVariableA("VLRP11_PREVIEW_PICTURE", nullptr);
    EXPECT_EQ(0, stats.result) << stats.exprError;
    EXPECT_EQ(0, stats.step);
    EXPECT_TRUE(stats.preview);
    EXPECT_EQ(0, stats.previewResult);
    EXPECT_EQ(RP_ERR_NOT_PRINTING, stats.previewAfterDelete) << "the pages are gone after the delete";
    EXPECT_EQ("Vorschau", stats.device);
    std::string bmp = oxtest::ReadFileText(picture);
    ASSERT_GT(bmp.size(), 10000u) << "a picture of the window";
    EXPECT_EQ("BM", bmp.substr(0, 2));
    // The window is gone: nothing of it is left on the desktop.
    EXPECT_EQ(nullptr, FindWindowA("VLRP11Preview", nullptr));
}

TEST_F(ReportEngine, DesignerSavesTheEditedLayout)
{
    auto open = [] {
        int job = RpJobOpen(0x4000);
        RpSetFileExtensionsA(job, 2, "ltd", "ltp", "ltv");
        RpDefineVariableStart(job);
        RpDefineVariableA(job, "Aktueller Benutzer", "Müller");
        RpDefineFieldStart(job);
        for (const char* name : {"Beginn", "Ende", "Betreff", "Ort", "Mit", "Benutzer"})
            RpDefineFieldA(job, name, name);
        return job;
    };
    std::string created = dir.File("neu.ltd");
    int job = open();
    // A new file starts from the default list; the header and the first column's expression are
    // changed.
    log.SetDialogAnswers("IDOK;2016=\"Meine Liste\" + Aktueller Benutzer;2011=Betreff;2018=8,5;2020=40");
    ASSERT_EQ(0, RpDefineLayoutA(job, nullptr, "Terminlisten konfigurieren", 0x8002 & 0x7FFF, created.c_str()));
    auto dialogs = log.Records("Dialog");
    ASSERT_EQ(1u, dialogs.size());
    EXPECT_EQ("Terminlisten konfigurieren", dialogs[0][1]);
    std::string text = oxtest::ReadFileText(created);
    EXPECT_NE(std::string::npos, text.find("header = \"Meine Liste\" + Aktueller Benutzer\r\n")) << text;
    EXPECT_NE(std::string::npos, text.find("column = Beginn | Betreff | 28 | left\r\n")) << text;
    EXPECT_NE(std::string::npos, text.find("column = Benutzer | Benutzer | 22 | left\r\n")) << text;
    EXPECT_NE(std::string::npos, text.find("font = 8.5 14\r\n")) << text;
    EXPECT_NE(std::string::npos, text.find("rows = 40\r\n")) << text;
    // The saved layout prints.
    ASSERT_EQ(0, RpPrintWithBoxStartA(job, 2, created.c_str(), 0x800, 0, nullptr, "Liste")) << text;
    RpPrintEnd(job, 0);

    // An unknown name is refused with a message; Abbrechen leaves the file as it was.
    log.Clear();
    log.SetDialogAnswers("IDOK;2011=Bettreff|IDCANCEL");
    EXPECT_EQ(RP_ERR_USER_ABORT, RpDefineLayoutA(job, nullptr, "Liste", 2, created.c_str()));
    auto boxes = log.Records("MessageBox");
    ASSERT_EQ(1u, boxes.size());
    EXPECT_NE(std::string::npos, boxes[0][2].find("Spalte 1: Unbekannter Name \"Bettreff\"")) << boxes[0][2];
    EXPECT_EQ(text, oxtest::ReadFileText(created));

    // A text size out of range is refused.
    log.Clear();
    log.SetDialogAnswers("IDOK;2018=99|IDCANCEL");
    EXPECT_EQ(RP_ERR_USER_ABORT, RpDefineLayoutA(job, nullptr, "Liste", 2, created.c_str()));
    boxes = log.Records("MessageBox");
    ASSERT_EQ(1u, boxes.size());
    EXPECT_NE(std::string::npos, boxes[0][2].find("4 bis 72")) << boxes[0][2];

    // Files it cannot edit.
    std::string damaged = dir.File("kaputt.ltd");
    ASSERT_TRUE(oxtest::WriteFileText(damaged, "VLRP11 project 1\nfarbe = rot\n"));
    EXPECT_EQ(RP_ERR_WRONG_PROJECT, RpDefineLayoutA(job, nullptr, "Liste", 2, card.c_str()));
    EXPECT_EQ(RP_ERR_BAD_PROJECT, RpDefineLayoutA(job, nullptr, "Liste", 2, damaged.c_str()));
    EXPECT_EQ(RP_ERR_PROJECT_MISSING, RpDefineLayoutA(job, nullptr, "Liste", 2, ""));
    RpJobClose(job);
}

TEST_F(ReportEngine, FormattedNotesKeepTheirStylesInEveryFile)
{
    ASSERT_TRUE(oxtest::WriteFileText(card, "VLRP11 project 1\ntype = card\nline = Notizen | Notizen.formatiert\n"));
    struct Case {
        const char* key;
        const char* file;
        const char* expected;
    } cases[] = {
        {"HTML", "karte.html", "<span style=\"font-weight: bold; \">fett</span> und <span style=\"font-style: italic; \">kursiv</span>"},
        {"RTF", "karte.rtf", "\\b \\i0 \\ulnone fett\\b0 \\i0 \\ulnone  und \\b0 \\i \\ulnone kursiv\\b0\\i0\\ulnone "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        AnswerOptions(dir.File(c.file));
        rptest::RunSetup setup = Setup(3, card, 1);
        setup.mediumKey = c.key;
        setup.entries[0].notes = "{\\b fett} und {\\i kursiv}";
        ASSERT_EQ(0, rptest::RunPrint(setup).result);
        std::string text = oxtest::ReadFileText(dir.File(c.file));
        EXPECT_NE(std::string::npos, text.find(c.expected)) << text;
    }
    // PDF: the parts in the bold and the oblique font, on the same line one after the other.
    AnswerOptions(dir.File("karte.pdf"));
    rptest::RunSetup setup = Setup(3, card, 1);
    setup.entries[0].notes = "{\\b fett} und {\\i kursiv}";
    ASSERT_EQ(0, rptest::RunPrint(setup).result);
    std::string pdf = oxtest::ReadFileText(dir.File("karte.pdf")), content;
    const std::string marker = "/FlateDecode >>\nstream\n";
    for (size_t at = pdf.find(marker); at != std::string::npos; at = pdf.find(marker, at + 1)) {
        size_t start = at + marker.size(), end = pdf.find("\nendstream", start);
        std::string plain(1 << 16, '\0');
        uLongf size = (uLongf)plain.size();
        if (end != std::string::npos &&
            uncompress((Bytef*)&plain[0], &size, (const Bytef*)pdf.data() + start, (uLong)(end - start)) == Z_OK)
            content += plain.substr(0, size);
    }
    EXPECT_NE(std::string::npos, content.find("/F2 9 Tf")) << content.substr(0, 600);
    EXPECT_NE(std::string::npos, content.find("(fett) Tj"));
    EXPECT_NE(std::string::npos, content.find("/F4 9 Tf"));
    EXPECT_NE(std::string::npos, content.find("(kursiv) Tj"));
}

TEST_F(ReportEngine, TextsIntoCallersBuffersAreCutAndTerminated)
{
    ASSERT_TRUE(oxtest::WriteFileText(list, "VLRP11 project 1\ncolumn = X | " + std::string(300, 'N') + " | 40 | left\n"));
    int job = RpJobOpen(0x4000);
    ASSERT_EQ(RP_ERR_EXPRESSION, RpPrintWithBoxStartA(job, 2, list.c_str(), 0x800, 0, nullptr, ""));
    char buffer[300];
    memset(buffer, 'x', sizeof buffer);
    ASSERT_EQ(0, RpExprErrorA(job, buffer, 255));
    EXPECT_EQ(255u, strlen(buffer));
    EXPECT_EQ('x', buffer[256]) << "nothing written past the terminator";

    // Printer information: 127 and 39 characters.
    std::string longName = dir.File(std::string(150, 'p') + ".pdf");
    ASSERT_TRUE(oxtest::WriteFileText(list, kListProject));
    RpDefineVariableStart(job);
    RpDefineFieldStart(job);
    for (const char* name : {"Beginn", "Betreff", "Mit"})
        RpDefineFieldA(job, name, name);
    ASSERT_EQ(0, RpPrintWithBoxStartA(job, 2, list.c_str(), 0x800, 0, nullptr, ""));
    RpPrintSetOptionStringA(job, 2, "PDF");
    RpPrintSetOptionStringA(job, 3, longName.c_str());
    char device[200], port[60];
    memset(device, 'x', sizeof device);
    memset(port, 'x', sizeof port);
    ASSERT_EQ(0, RpPrintGetPrinterInfoA(job, device, 127, port, 39));
    EXPECT_EQ(127u, strlen(device));
    EXPECT_EQ(0, strncmp(device, "PDF-Datei ppp", 13)) << device;
    EXPECT_EQ(39u, strlen(port));
    EXPECT_EQ(0, RpPrintEnd(job, 0)) << "a run without rows gives one page";
    RpJobClose(job);
}

TEST_F(ReportEngine, OptionsDialogPreselectsTheMediumAndTakesFileAndCopies)
{
    std::string rtf = dir.File("liste.rtf");
    int job = RpJobOpen(0x4000);
    RpDefineFieldStart(job);
    for (const char* name : {"Beginn", "Betreff", "Mit"})
        RpDefineFieldA(job, name, name);
    ASSERT_EQ(0, RpPrintWithBoxStartA(job, 2, list.c_str(), 0x800, 0, nullptr, "Terminliste ausgeben"));
    ASSERT_EQ(0, RpPrintSetOptionStringA(job, 2, "RTF"));
    AnswerOptions(rtf, 4);
    ASSERT_EQ(0, RpPrintOptionsDialogA(job, nullptr, "Terminliste ausgeben"));
    EXPECT_EQ(RP_MEDIUM_RTF, RpPrintGetOption(job, RP_PRINT_MEDIUM));
    EXPECT_EQ(4, RpPrintGetOption(job, RP_PRINT_COPIES));
    EXPECT_EQ(0, RpPrintGetOption(job, RP_PRINT_ENGINE_COPIES)) << "a file does not copy itself";
    auto dialogs = log.Records("Dialog");
    ASSERT_EQ(1u, dialogs.size());
    EXPECT_EQ("Terminliste ausgeben", dialogs[0][1]);
    EXPECT_EQ(RP_ERR_BAD_ARGUMENT, RpPrintSetOptionStringA(job, 2, "FAX"));
    ASSERT_EQ(0, RpPrint(job));
    RpDefineFieldA(job, "Betreff", "Größe");
    ASSERT_EQ(0, RpPrintFields(job));
    ASSERT_EQ(0, RpPrintEnd(job, 0));
    RpJobClose(job);
    std::string data = oxtest::ReadFileText(rtf);
    EXPECT_EQ(0u, data.find("{\\rtf1\\ansi\\ansicpg1252")) << data.substr(0, 40);
    EXPECT_NE(std::string::npos, data.find("Gr\\'f6\\'dfe"));

    // A copies count out of range is refused with a message, and the next answer is taken.
    job = RpJobOpen(0x4000);
    RpDefineFieldStart(job);
    for (const char* name : {"Beginn", "Betreff", "Mit"})
        RpDefineFieldA(job, name, name);
    ASSERT_EQ(0, RpPrintWithBoxStartA(job, 2, list.c_str(), 0x800, 0, nullptr, "Liste"));
    log.Clear();
    log.SetDialogAnswers("IDOK;1030=0|IDCANCEL");
    EXPECT_EQ(RP_ERR_USER_ABORT, RpPrintOptionsDialogA(job, nullptr, "Liste"));
    auto boxes = log.Records("MessageBox");
    ASSERT_EQ(1u, boxes.size());
    EXPECT_NE(std::string::npos, boxes[0][2].find("1 bis 999"));
    RpPrintEnd(job, 0);
    RpJobClose(job);
}

TEST_F(ReportEngine, ChooserCreatesTheDefaultProjectOfTheChosenKind)
{
    struct Case {
        int type;
        const char* extension;
        const char* chosen;   // as the user typed it
        const char* expected; // file name and first setting of the new project
        const char* content;
    } cases[] = {
        {2, "ltd", "neu", "neu.ltd", "column = Beginn"},
        {0x8003, "cad", "aufgaben.cad", "aufgaben.cad", "line = Priorit\xE4t"},
        {2, "lad", "todo.lad", "todo.lad", "column = Priorit\xE4t"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.chosen);
        int job = RpJobOpen(0x4000);
        RpSetFileExtensionsA(job, c.type & 0x0F, c.extension, "x", "y");
        log.SetFileName(dir.File(c.chosen));
        char buffer[261];
        strcpy(buffer, "C:\\anders\\alt.ltd");
        ASSERT_EQ(0, RpSelectFileDlgTitleExA(job, nullptr, nullptr, c.type, buffer, 260, nullptr));
        EXPECT_EQ(dir.File(c.expected), buffer);
        EXPECT_NE(std::string::npos, oxtest::ReadFileText(buffer).find(c.content));
        RpJobClose(job);
    }
    // An existing project is chosen as it is; cancel is -99.
    int job = RpJobOpen(0x4000);
    RpSetFileExtensionsA(job, 2, "ltd", "ltp", "ltv");
    log.SetFileName(list);
    char buffer[261] = "";
    ASSERT_EQ(0, RpSelectFileDlgTitleExA(job, nullptr, nullptr, 2, buffer, 260, nullptr));
    EXPECT_EQ(kListProject, oxtest::ReadFileText(list));
    log.SetFileName("");
    EXPECT_EQ(RP_ERR_USER_ABORT, RpSelectFileDlgTitleExA(job, nullptr, nullptr, 2, buffer, 260, nullptr));
    auto names = log.Records("GetNameDlg");
    ASSERT_FALSE(names.empty());
    EXPECT_EQ("Druckdefinition w\xE4hlen", names.back()[1]);
    RpJobClose(job);
}

TEST_F(ReportEngine, DatesWithADecimalCommaPrintAsWithAPoint)
{
    std::string point = dir.File("punkt.html"), comma = dir.File("komma.html");
    for (bool useComma : {false, true}) {
        AnswerOptions(useComma ? comma : point);
        rptest::RunSetup setup = Setup(2, list, 1);
        setup.entries[0].start = 45418.375;
        setup.commaDates = useComma;
        setup.mediumKey = "HTML";
        ASSERT_EQ(0, rptest::RunPrint(setup).result);
    }
    std::string text = oxtest::ReadFileText(comma);
    EXPECT_NE(std::string::npos, text.find("<td>06.05.2024 09:00</td>"));
    EXPECT_EQ(oxtest::ReadFileText(point), text);
}

} // namespace

namespace {

// The preview window driven as a person drives it: the thread's timer clicks its buttons once it
// is active, notes what it shows, and closes it.
struct PreviewDriver {
    static inline HWND window = nullptr;
    static inline std::vector<std::string> seen;
    static inline bool widthScrolls = false;

    static std::string PageText()
    {
        char text[64] = "";
        HWND label = FindWindowExA(window, nullptr, "Static", nullptr);
        GetWindowTextA(label, text, sizeof text);
        return text;
    }
    static void Click(const char* text)
    {
        SendMessageA(FindWindowExA(window, nullptr, "Button", text), BM_CLICK, 0, 0);
    }
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam)
    {
        char name[32] = "";
        if (code == HCBT_ACTIVATE && !window && GetClassNameA((HWND)wParam, name, sizeof name) &&
            std::string(name) == "VLRP11Preview") {
            window = (HWND)wParam;
            SetTimer(nullptr, 0, 50, Drive);
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static void CALLBACK Drive(HWND, UINT, UINT_PTR id, DWORD)
    {
        KillTimer(nullptr, id);
        seen.push_back(PageText());
        Click(">");
        seen.push_back(PageText());
        Click(">|");
        seen.push_back(PageText());
        seen.push_back(IsWindowEnabled(FindWindowExA(window, nullptr, "Button", ">")) ? ">" : "");
        Click("Seiten&breite");
        widthScrolls = (GetWindowLongA(window, GWL_STYLE) & WS_VSCROLL) != 0;
        SendMessageA(window, WM_KEYDOWN, VK_HOME, 0);
        seen.push_back(PageText());
        Click("&Schlie\xDF" "en");
    }
};

TEST_F(ReportEngine, PreviewPagesAndZoomsByItsButtons)
{
    int job = RpJobOpen(0x4000);
    RpDefineFieldStart(job);
    for (const char* name : {"Beginn", "Betreff", "Mit"})
        RpDefineFieldA(job, name, name);
    ASSERT_EQ(0, RpPrintWithBoxStartA(job, 2, list.c_str(), 0x800, 0, nullptr, "Terminliste ausgeben"));
    ASSERT_EQ(0, RpPrintSetOptionStringA(job, RP_PRINT_MEDIUM_KEY, "PRV"));
    ASSERT_EQ(0, RpPrint(job));
    for (int row = 0; row < 120; ++row) {
        RpDefineFieldA(job, "Betreff", ("Termin " + std::to_string(row)).c_str());
        if (RpPrintFields(job) == RP_PAGE_FULL) {
            ASSERT_EQ(0, RpPrint(job));
            ASSERT_EQ(0, RpPrintFields(job));
        }
    }
    ASSERT_EQ(0, RpPrintEnd(job, 0));

    PreviewDriver::window = nullptr;
    PreviewDriver::seen.clear();
    SetEnvironmentVariableA("VLCT11_UNATTENDED", "0");
    HHOOK hook = SetWindowsHookExA(WH_CBT, PreviewDriver::Hook, nullptr, GetCurrentThreadId());
    int result = RpPreviewDisplayA(job, list.c_str(), dir.Path().c_str(), nullptr);
    UnhookWindowsHookEx(hook);
    SetEnvironmentVariableA("VLCT11_UNATTENDED", "1");
    EXPECT_EQ(0, result);
    EXPECT_EQ((std::vector<std::string>{"Seite 1 von 3", "Seite 2 von 3", "Seite 3 von 3", "", "Seite 1 von 3"}),
              PreviewDriver::seen);
    EXPECT_TRUE(PreviewDriver::widthScrolls) << "a page at the window's width scrolls";
    EXPECT_FALSE(IsWindow(PreviewDriver::window));
    RpJobClose(job);
}

} // namespace
