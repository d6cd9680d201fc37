// The schedule table as a Linux-side test driver sees it (TerminInteropTest.py): opens, creates or
// upgrades it, writes rows through the table class, appends rows as one of several stations, and
// prints week numbers of date values. The last output line is "ok" when the command ran.
//
//   termin_probe open <dir>                       OpenMain (ask mode 0); prints the result
//   termin_probe open-failing <dir>               the same, but an upgrade's import fails after the
//                                                 engine appended the rows; prints the result
//   termin_probe fill <dir> <rows file>           one new row per line: NAME=hex of its text, ...
//   termin_probe append <dir> <count> <first id> <last id> [<tag>]
//                                                 appends count rows, record ids drawn from the range
//   termin_probe weeks <first serial> <last serial>
//                                                 "serial yyyy-mm-dd iso-week week-mode-1" per day
#include <afx.h>

#include <stdio.h>
#include <stdlib.h>

#include <string>
#include <vector>

#include "CDateValue.h"
#include "CDbSession.h"
#include "CTerminTable.h"

namespace {

std::string Directory(const char* arg)
{
    std::string dir(arg);
    if (!dir.empty() && dir.back() != '\\')
        dir += '\\';
    return dir;
}

std::string FromHex(const std::string& hex)
{
    std::string text;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        text += (char)strtoul(hex.substr(i, 2).c_str(), nullptr, 16);
    return text;
}

// The schedule table whose import fails once the engine has appended the rows, as a read error
// on the way makes it fail.
class CFailingImportTable : public CTerminTable {
public:
    using CTerminTable::CTerminTable;

protected:
    BOOL AppendRows(int nSourceArea, LPCTSTR lpszFieldList) override
    {
        CTerminTable::AppendRows(nSourceArea, lpszFieldList);
        return FALSE;
    }
};

int Open(const char* dir, bool bFailImport)
{
    CDbSession session;
    CFailingImportTable failing(&session, FALSE);
    CTerminTable plain(&session, FALSE);
    CTerminTable& table = bFailImport ? failing : plain;
    printf("%d\n", table.OpenMain(Directory(dir).c_str(), 0, 0));
    return 0;
}

// Each line: NAME=hex NAME=hex ... (hexadecimal of the ANSI text of the value).
int Fill(const char* dir, const char* rowsFile)
{
    FILE* f = fopen(rowsFile, "r");
    if (!f)
        return 2;
    CDbSession session;
    CTerminTable table(&session, TRUE);
    table.SetUserName("PROBE");
    if (table.OpenMain(Directory(dir).c_str(), 0, 0) == DB_OPEN_FAILED)
        return 3;
    char line[8192];
    int rows = 0;
    while (fgets(line, sizeof line, f)) {
        std::string rest(line);
        while (!rest.empty() && (rest.back() == '\n' || rest.back() == '\r'))
            rest.pop_back();
        if (rest.empty())
            continue;
        if (!table.AppendBlank())
            return 4;
        size_t at = 0;
        while (at < rest.size()) {
            size_t end = rest.find(' ', at);
            if (end == std::string::npos)
                end = rest.size();
            const std::string item = rest.substr(at, end - at);
            const size_t eq = item.find('=');
            if (eq != std::string::npos)
                table.SetFieldValue(item.substr(0, eq).c_str(), FromHex(item.substr(eq + 1)).c_str());
            at = end + 1;
        }
        if (!table.WriteRecord(TRUE, 0))
            return 5;
        table.UnlockRecord(0);
        ++rows;
    }
    fclose(f);
    printf("%d rows\n", rows);
    return 0;
}

int Append(const char* dir, int count, long first, long last, const char* tag)
{
    CTerminTable::SetRecordIdRange(first, last);
    CDbSession session;
    CTerminTable table(&session, TRUE);
    table.SetUserName(tag);
    if (table.OpenMain(Directory(dir).c_str(), 0, 0) == DB_OPEN_FAILED)
        return 3;
    for (int n = 0; n < count; ++n) {
        if (!table.AppendBlank())
            return 4;
        CString subject;
        subject.Format("%s %d", tag, n);
        table.SetFieldValue("BETREFF", subject);
        table.SetFieldValue("USER", tag);
        if (!table.WriteRecord(TRUE, 0))
            return 5;
        table.UnlockRecord(0);
    }
    printf("%d rows\n", count);
    return 0;
}

int Weeks(long first, long last)
{
    for (long serial = first; serial <= last; ++serial) {
        CDateValue date(serial, 0);
        printf("%ld %04d-%02d-%02d %d %d\n", serial, date.GetYear(), date.GetMonth(), date.GetDay(),
               date.GetWeekNumber(0), date.GetWeekNumber(1));
    }
    return 0;
}

int Run(int argc, char** argv)
{
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "open" && argc == 3)
        return Open(argv[2], false);
    if (command == "open-failing" && argc == 3)
        return Open(argv[2], true);
    if (command == "fill" && argc == 4)
        return Fill(argv[2], argv[3]);
    if (command == "append" && argc >= 6)
        return Append(argv[2], atoi(argv[3]), atol(argv[4]), atol(argv[5]), argc > 6 ? argv[6] : "PROBE");
    if (command == "weeks" && argc == 4)
        return Weeks(atol(argv[2]), atol(argv[3]));
    fprintf(stderr, "usage: termin_probe open|fill|append|weeks ...\n");
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    int result;
    try {
        result = Run(argc, argv);
    } catch (CException* e) {
        e->Delete();
        result = 9;
    }
    if (result == 0)
        printf("ok\n");
    fflush(stdout);
    return result;
}
