// Test side of the report engine: a print run driven through the exports as the program's report
// jobs drive it (options, definition pass, start, options dialog, page and row loop or card loop
// with copies, end), over a table of fixture entries.
#pragma once

#include <string>
#include <vector>

namespace rptest {

struct Entry {
    std::string subject, place, with, user = "Müller", notes;
    double start = 45418.375, end = 45418.4375; // OLE dates
    bool isPrivate = false, reminder = false, series = false;
    std::string priority = "2";
    int percent = 0;
};

struct RunSetup {
    int type = 2;              // 2 list, 3 card
    bool todo = false;         // to-do items instead of appointment items
    std::string project;       // project file
    std::string mediumKey = "PDF";
    std::vector<Entry> entries;
    bool commaDates = false;   // dates with a decimal comma, as under the German locale
    std::string currentUser = "Müller";
    bool withIcons = true;     // define the symbol variables, destroying the icons after each pass
};

struct RunStats {
    int result = 0;            // the run's result (0, -99 or an engine code)
    int step = 0;              // 0: ran to the end; else where it stopped: 1 start, 2 options, 3 print, 4 end
    int pageFullRows = 0;      // RpPrintFields answers RP_PAGE_FULL
    int pageFullCards = 0;     // RpPrint answers RP_PAGE_FULL for a card
    int fieldsEndCalls = 0;
    int copies = 0;            // copies read after the options dialog
    int engineCopies = 0;      // option 0 as the run leaves it
    std::string device;        // the first text of the printer information
    std::string exprError;     // RpExprErrorA after a failure
    std::vector<int> rowOrder; // indexes of the entries in the order of successful RpPrintFields
    bool preview = false;      // option 13 said preview after the options dialog
    int previewResult = 0;     // RpPreviewDisplayA
    int previewAfterDelete = 0; // RpPreviewDisplayA again after RpPreviewDeleteFilesA
    double boxSeconds = 0;     // time spent in RpPrintSetBoxTextA (the progress box)
    double endSeconds = 0;     // time spent in RpPrintEnd (writing the file)
};

// Runs the whole print run on a new job and closes the job. The options dialog is answered by
// the controls library's dialog answers (VLCT11_DIALOGS), which the caller sets.
RunStats RunPrint(const RunSetup& setup);

// n appointments "Termin 001" ... with umlauts in place and with-text.
std::vector<Entry> Appointments(int count);

} // namespace rptest
