// Opening defined tables: creating a missing table with its indexes, asking first, the structure
// check, the upgrade with backups and the import of the old rows, a failed import (the old table
// stays), older backups kept, a table that
// others hold, an existing table that cannot be opened, a long data directory, the side file's
// aliases and collation.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CDbAreaLock.h"
#include "CDbTable.h"
#include "DataTestKit.h"
#include "DbErrors.h"
#include "vlDB07.h"

namespace {

using datatest::DataTest;
using Record = oxtest::CtlLog::Record;

// A small defined table "KUNDEN.DBF": NAME (indexed), ORT, optionally NOTIZ (flag 0x0010).
const DbTableDef kTable = {"KUNDEN.DBF", 0, "KUNDEN", 4, 3};
const DbFieldDef kFields[3] = {
    {"NAME", "Kundenname", 'C', 20, 0, 0x2000},
    {"ORT", "Wohnort", 'C', 15, 0, 0x1000},
    {"NOTIZ", "Notiz", 'C', 30, 0, 0x0010},
};
const DbIndexDef kIndexes[2] = {{1, "nx1", "UPPER(NAME)", 0, "C name"}, {0, "", "", 0, ""}};

class CKundenTable : public CDbTable {
public:
    using CDbTable::CDbTable;
    const DbTableDef* GetTableDefinition() override { return &kTable; }
    const DbFieldDef* GetFieldDefinitions() override { return kFields; }
    const DbIndexDef* GetIndexDefinitions() override { return kIndexes; }
    BOOL OnCreateRefused() override
    {
        ++refusals;
        return TRUE;
    }
    BOOL AfterImport(int nSourceArea) override
    {
        importedFromArea = nSourceArea;
        return TRUE;
    }
    // The import's append: injected failures, else the engine's.
    BOOL AppendRows(int nSourceArea, LPCTSTR lpszFieldList) override
    {
        fieldList = lpszFieldList;
        if (appendFailure == 1)
            return FALSE;
        if (appendFailure == 2)
            AfxThrowFileException(CFileException::generic, -4);
        const BOOL bResult = CDbTable::AppendRows(nSourceArea, lpszFieldList);
        if (appendFailure == 3)
            DbErrorHandler(29); // a read error on the way: the append itself goes on
        return bResult;
    }

    int refusals = 0;
    int importedFromArea = 0;
    // 1: the engine's append fails, 2: a file exception, 3: an engine error during the append
    int appendFailure = 0;
    std::string fieldList;
};

class TableStructureTest : public DataTest {
protected:
    std::string Dir() const { return m_dir->Path() + "\\"; }

    // Rows of (NAME, ORT; ORT only where the table has it) through the open table, or through a
    // plain table object opened on the path (without indexes).
    static void AddRows(CDbTable& table, const std::vector<std::pair<std::string, std::string>>& rows)
    {
        for (const auto& row : rows) {
            ASSERT_TRUE(table.AppendBlank());
            table.SetFieldValue("NAME", row.first.c_str());
            table.SetFieldValue("ORT", row.second.c_str());
            ASSERT_TRUE(table.WriteRecord());
            table.UnlockRecord();
        }
    }
    void AddRows(const std::string& path, const std::vector<std::pair<std::string, std::string>>& rows)
    {
        CDbTable table(m_session.get());
        ASSERT_TRUE(table.Open(path.c_str(), NULL, 0, datatest::kTableOptions));
        AddRows(table, rows);
    }

    // The NAME values in the controlling order of the open table.
    static std::vector<std::string> Names(CDbTable& table)
    {
        std::vector<std::string> names;
        for (table.GoTo(0); !table.IsEof(); table.Skip(1)) {
            CString value;
            table.ReadField("NAME", value);
            names.push_back((LPCTSTR)value);
        }
        return names;
    }

    CKundenTable m_table{m_session.get()};
};

TEST_F(TableStructureTest, AMissingTableIsCreatedSilentlyWithItsIndexesAndOpenedAgainLater)
{
    EXPECT_EQ(DB_OPEN_CREATED, m_table.OpenChecked(Dir().c_str(), "KUNDEN.DBF", 0, 0));
    EXPECT_TRUE(m_table.IsOpen());
    EXPECT_TRUE(Boxes().empty());
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(File("KUNDEN.nx1").c_str()));
    EXPECT_EQ(1u, m_table.GetOrder());
    EXPECT_EQ(0x2000, m_table.GetFieldMap().Lookup("NAME")->m_wFlags);
    EXPECT_EQ(0x1000, m_table.GetFieldMap().Lookup("ORT")->m_wFlags);
    // Aliases come from the definitions and are written to the side file on close.
    EXPECT_EQ(CString("Wohnort"), m_table.GetFieldMap().Lookup("ORT")->m_strAlias);
    m_table.Close();
    char alias[32] = "";
    GetPrivateProfileStringA("Aliasnamen", "ORT", "", alias, sizeof alias, File("KUNDEN.DBA").c_str());
    EXPECT_STREQ("Wohnort", alias);

    EXPECT_EQ(DB_OPEN_OPENED, m_table.OpenChecked(Dir().c_str(), "KUNDEN.DBF", 0, 0));
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(TableStructureTest, CreatingIsAskedAboutAndARefusalCreatesNothing)
{
    m_log.SetAnswers("IDNO,IDNO");
    EXPECT_EQ(DB_OPEN_FAILED, m_table.OpenChecked(Dir().c_str(), "KUNDEN.DBF", 0, 1));
    EXPECT_EQ(DB_OPEN_FAILED, m_table.OpenChecked(Dir().c_str(), "KUNDEN.DBF", 0, 2));
    const std::vector<Record> asked = {
        {"MessageBox", "Die Datei existiert nicht!", "Soll die Datenbank \"KUNDEN.DBF\" neu erstellt werden?", "0x24", "7"},
        {"MessageBox", "Die Datei existiert nicht!", "Soll die Datenbank \"KUNDEN.DBF\" neu erstellt werden?", "0x24", "7"}};
    EXPECT_EQ(asked, Boxes());
    EXPECT_EQ(1, m_table.refusals); // only ask mode 2 tells the table
    EXPECT_FALSE(m_table.IsOpen());
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(File("KUNDEN.DBF").c_str()));

    m_log.Clear();
    m_log.SetAnswers("IDYES");
    EXPECT_EQ(DB_OPEN_CREATED, m_table.OpenChecked(Dir().c_str(), "KUNDEN.DBF", 0, 1));
}

// The structure check, table-driven: the file's fields against the definitions above.
TEST_F(TableStructureTest, TheStructureCheckWantsRequiredFieldsAndDefinedLengthsAndTypes)
{
    struct Case {
        const char* what;
        std::vector<datatest::FieldDef> fields;
        int expected;
    };
    const Case cases[] = {
        {"as defined", {{"NAME", 'C', 20, 0}, {"ORT", 'C', 15, 0}, {"NOTIZ", 'C', 30, 0}}, DB_CHECK_USABLE},
        {"optional field absent", {{"NAME", 'C', 20, 0}, {"ORT", 'C', 15, 0}}, DB_CHECK_USABLE},
        {"extra field", {{"NAME", 'C', 20, 0}, {"ORT", 'C', 15, 0}, {"PLZ", 'C', 5, 0}}, DB_CHECK_USABLE},
        {"other decimals", {{"NAME", 'C', 20, 0}, {"ORT", 'C', 15, 0}}, DB_CHECK_USABLE},
        {"optional field with another length", {{"NAME", 'C', 20, 0}, {"ORT", 'C', 15, 0}, {"NOTIZ", 'C', 31, 0}},
         DB_CHECK_CHANGED},
        {"required field absent", {{"NAME", 'C', 20, 0}}, DB_CHECK_CHANGED},
        {"required field longer", {{"NAME", 'C', 25, 0}, {"ORT", 'C', 15, 0}}, DB_CHECK_CHANGED},
        {"required field of another type", {{"NAME", 'C', 20, 0}, {"ORT", 'N', 15, 0}}, DB_CHECK_CHANGED},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DeleteFileA(File("KUNDEN.DBF").c_str());
        ASSERT_TRUE(datatest::CreateTable(File("KUNDEN.DBF"), c.fields));
        EXPECT_EQ(c.expected, m_table.CheckFile(File("KUNDEN.DBF").c_str(), 0));
        EXPECT_FALSE(m_table.IsOpen());
    }
    EXPECT_EQ(DB_CHECK_ABSENT, m_table.CheckFile(File("NICHTDA.DBF").c_str(), 0));
}

TEST_F(TableStructureTest, AChangedTableIsUpgradedWithBackupsAndEveryRowImported)
{
    // The old table: NAME shorter, no ORT, an extra field.
    ASSERT_TRUE(datatest::CreateTable(File("KUNDEN.DBF"), {{"NAME", 'C', 12, 0}, {"ALT", 'C', 4, 0}}));
    AddRows(File("KUNDEN.DBF"), {{"Zander", ""}, {"Bauer", ""}, {"M\xfcller", ""}});
    const std::string oldImage = oxtest::ReadFileText(File("KUNDEN.DBF"));
    WritePrivateProfileStringA("Aliasnamen", "NAME", "Alter Name", File("KUNDEN.DBA").c_str());

    m_log.SetAnswers("IDYES");
    EXPECT_EQ(DB_OPEN_UPGRADED, m_table.OpenChecked(Dir().c_str(), "KUNDEN.DBF", 0, 0));
    const std::vector<Record> boxes = Boxes();
    ASSERT_EQ(2u, boxes.size());
    EXPECT_EQ((Record{"MessageBox", "Die Datenbank hat nicht die geforderte Struktur!",
                      "Soll die Struktur der Datenbank\\nKUNDEN.DBF\\nautomatisch angepasst werden?\\n(Eine "
                      "Sicherheitskopie der alten Datenbank wird angelegt.)",
                      "0x24", "6"}),
              boxes[0]);
    EXPECT_EQ("Es wurde eine Sicherungskopie der Datenbank unter dem Namen\\n" + Dir() + "~UNDEN\\nangelegt.", boxes[1][2]);
    EXPECT_EQ("NAME", m_table.fieldList); // only the fields the new table still has
    EXPECT_NE(0, m_table.importedFromArea);
    EXPECT_EQ(oldImage, oxtest::ReadFileText(File("~UNDEN.DBF"))); // the backup stays
    // Every row, in the index order; the aliases of the old structure are gone.
    EXPECT_EQ((std::vector<std::string>{"Bauer", "M\xfcller", "Zander"}), Names(m_table));
    EXPECT_EQ(20, m_table.GetFieldMap().Lookup("NAME")->m_nLength);
    EXPECT_EQ(CString("Kundenname"), m_table.GetFieldMap().Lookup("NAME")->m_strAlias);
}

// A failed import answers failure: the program must not go on with an empty table while the rows
// live only in the backup. The old table stays in its place, byte for byte; a second attempt that
// fails again leaves it so, and the backup is not doubled; a later upgrade that succeeds imports
// every row.
TEST_F(TableStructureTest, AFailedImportAnswersFailureAndLeavesTheOldTableInItsPlace)
{
    for (int failure : {1, 2, 3}) {
        SCOPED_TRACE("failure " + std::to_string(failure));
        m_table.Close();
        for (const char* name : {"KUNDEN.DBF", "~UNDEN.DBF", "KUNDEN.DBA"})
            DeleteFileA(File(name).c_str());
        ASSERT_TRUE(datatest::CreateTable(File("KUNDEN.DBF"), {{"NAME", 'C', 12, 0}}));
        AddRows(File("KUNDEN.DBF"), {{"Zander", ""}, {"Bauer", ""}});
        WritePrivateProfileStringA("Aliasnamen", "NAME", "Alter Name", File("KUNDEN.DBA").c_str());
        const std::string oldImage = oxtest::ReadFileText(File("KUNDEN.DBF"));
        for (int attempt = 1; attempt <= 2; ++attempt) {
            SCOPED_TRACE("attempt " + std::to_string(attempt));
            m_log.Clear();
            m_log.SetAnswers("IDYES");
            m_table.appendFailure = failure;
            m_table.importedFromArea = 0;
            EXPECT_EQ(DB_OPEN_FAILED, m_table.OpenChecked(Dir().c_str(), "KUNDEN.DBF", 0, 0));
            EXPECT_FALSE(m_table.IsOpen());
            const std::vector<Record> boxes = Boxes();
            ASSERT_LE(3u, boxes.size());
            EXPECT_EQ((Record{"MessageBox", Dir() + "~UNDEN.DBF",
                              "Es ist ein Fehler bei der automatischen Strukturanpassung aufgetreten!", "0x30", "1"}),
                      boxes.back());
            EXPECT_EQ(0, m_table.importedFromArea);
            EXPECT_EQ(oldImage, oxtest::ReadFileText(File("KUNDEN.DBF"))) << "the old table is in its place";
            EXPECT_EQ(oldImage, oxtest::ReadFileText(File("~UNDEN.DBF")));
            EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(File("~UNDEN_1.DBF").c_str()))
                << "a backup of the same table is not kept twice";
            EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(File("$UNDEN.DBF").c_str()));
            char alias[32] = "";
            GetPrivateProfileStringA("Aliasnamen", "NAME", "", alias, sizeof alias, File("KUNDEN.DBA").c_str());
            EXPECT_STREQ("Alter Name", alias) << "the old table keeps its aliases";
        }
        m_table.appendFailure = 0;
        m_log.SetAnswers("IDYES");
        ASSERT_EQ(DB_OPEN_UPGRADED, m_table.OpenChecked(Dir().c_str(), "KUNDEN.DBF", 0, 0));
        EXPECT_EQ((std::vector<std::string>{"Bauer", "Zander"}), Names(m_table));
        EXPECT_EQ(20, m_table.GetFieldMap().Lookup("NAME")->m_nLength);
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(File("$UNDEN.DBF").c_str()));
    }
}

// An older backup that holds another table than the one being backed up (rows the current table
// may lack) is kept under the next free numbered name, with its memo file; the new backup takes
// the plain name.
TEST_F(TableStructureTest, AnOlderBackupThatDiffersIsKeptUnderANumberedName)
{
    ASSERT_TRUE(datatest::CreateTable(File("~UNDEN.DBF"), {{"NAME", 'C', 12, 0}}));
    AddRows(File("~UNDEN.DBF"), {{"Nur im Alten", ""}});
    oxtest::WriteFileText(File("~UNDEN.DBT"), "alte Notizen");
    oxtest::WriteFileText(File("~UNDEN_1.DBF"), "belegt");
    const std::string olderBackup = oxtest::ReadFileText(File("~UNDEN.DBF"));
    ASSERT_TRUE(datatest::CreateTable(File("KUNDEN.DBF"), {{"NAME", 'C', 12, 0}}));
    AddRows(File("KUNDEN.DBF"), {{"Zander", ""}});
    const std::string oldImage = oxtest::ReadFileText(File("KUNDEN.DBF"));

    m_log.SetAnswers("IDYES");
    ASSERT_EQ(DB_OPEN_UPGRADED, m_table.OpenChecked(Dir().c_str(), "KUNDEN.DBF", 0, 0));
    EXPECT_EQ(oldImage, oxtest::ReadFileText(File("~UNDEN.DBF")));
    EXPECT_EQ("belegt", oxtest::ReadFileText(File("~UNDEN_1.DBF"))) << "a numbered name in use is passed over";
    EXPECT_EQ(olderBackup, oxtest::ReadFileText(File("~UNDEN_2.DBF")));
    EXPECT_EQ("alte Notizen", oxtest::ReadFileText(File("~UNDEN_2.DBT")));
    EXPECT_EQ((std::vector<std::string>{"Zander"}), Names(m_table));
}

TEST_F(TableStructureTest, ATableThatOthersHoldIsNeitherOpenedNorUpgraded)
{
    ASSERT_TRUE(datatest::CreateTable(File("KUNDEN.DBF"), {{"NAME", 'C', 12, 0}}));
    HANDLE hOther = CreateFileA(File("KUNDEN.DBF").c_str(), GENERIC_READ | GENERIC_WRITE, 0, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, hOther);
    EXPECT_EQ(DB_OPEN_FAILED, m_table.OpenChecked(Dir().c_str(), "KUNDEN.DBF", 0, 0));
    CloseHandle(hOther);
    const std::vector<Record> expected = {
        {"MessageBox", "Fehler!",
         "Momentan haben andere Anwender die Datenbank \"KUNDEN.DBF\" ebenfalls in Benutzung! \\nDadurch kann sie auf "
         "Ihrem System leider nicht auf die erforderliche Art geöffnet werden.",
         "0x10", "1"}};
    EXPECT_EQ(expected, Boxes());
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(File("~UNDEN.DBF").c_str()));
}

// Only a table that is not there is made anew: a name that exists but cannot be opened as a
// file (here a folder) is reported and left alone.
TEST_F(TableStructureTest, ANameThatExistsButCannotBeOpenedIsNeverMadeAnew)
{
    ASSERT_TRUE(CreateDirectoryA(File("KUNDEN.DBF").c_str(), NULL));
    EXPECT_EQ(DB_OPEN_FAILED, m_table.OpenChecked(Dir().c_str(), "KUNDEN.DBF", 0, 0));
    EXPECT_EQ((std::vector<Record>{{"MessageBox", "Fehler beim Öffnen der Datenbank!", "KUNDEN.DBF", "0x10", "1"}}),
              Boxes());
    EXPECT_NE(0u, GetFileAttributesA(File("KUNDEN.DBF").c_str()) & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(File("~UNDEN.DBF").c_str()));
}

TEST_F(TableStructureTest, ADataDirectoryOfMoreThan150CharactersKeepsItsTable)
{
    std::string dir = m_dir->Path();
    while (dir.size() < 160) {
        dir += "\\Verzeichnis_mit_langem_Namen";
        ASSERT_TRUE(CreateDirectoryA(dir.c_str(), NULL));
    }
    dir += "\\";
    ASSERT_GE(dir.size() + strlen("KUNDEN.DBF"), 160u);
    ASSERT_EQ(DB_OPEN_CREATED, m_table.OpenChecked(dir.c_str(), "KUNDEN.DBF", 0, 0));
    AddRows(m_table, {{"Bauer", "Bonn"}, {"Abel", "Aachen"}});
    m_table.Close();
    for (int round = 0; round < 2; ++round) {
        EXPECT_EQ(DB_OPEN_OPENED, m_table.OpenChecked(dir.c_str(), "KUNDEN.DBF", 0, 0));
        EXPECT_EQ((std::vector<std::string>{"Abel", "Bauer"}), Names(m_table));
        m_table.Close();
    }
    EXPECT_TRUE(Boxes().empty());
}

// The collation of the side file holds for the indexes made in an upgrade, and the upgrade keeps it.
TEST_F(TableStructureTest, TheSideFilesCollationIsSetBeforeTheIndexesAreMade)
{
    struct Case {
        const char* sortOrder;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"1", {"\xc4rger", "Bauer", "Zander"}},  // German: Ä with A
        {"7", {"Bauer", "Zander", "\xc4rger"}},  // out of range: ASCII (OEM 0x8E after Z)
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("SortOrder ") + c.sortOrder);
        m_table.Close();
        for (const char* name : {"KUNDEN.DBF", "~UNDEN.DBF", "KUNDEN.DBA", "KUNDEN.nx1"})
            DeleteFileA(File(name).c_str());
        ASSERT_TRUE(datatest::CreateTable(File("KUNDEN.DBF"), {{"NAME", 'C', 12, 0}}));
        AddRows(File("KUNDEN.DBF"), {{"Zander", ""}, {"\xc4rger", ""}, {"Bauer", ""}});
        WritePrivateProfileStringA("Allgemein", "SortOrder", c.sortOrder, File("KUNDEN.DBA").c_str());
        m_log.SetAnswers("IDYES");
        ASSERT_EQ(DB_OPEN_UPGRADED, m_table.OpenChecked(Dir().c_str(), "KUNDEN.DBF", 0, 0));
        EXPECT_EQ(c.expected, Names(m_table));
        char kept[8] = "";
        GetPrivateProfileStringA("Allgemein", "SortOrder", "", kept, sizeof kept, File("KUNDEN.DBA").c_str());
        EXPECT_STREQ(c.sortOrder, kept);
        // Seeks find the rows in the same order.
        EXPECT_TRUE(m_table.Seek("\xc4rger", "NAME"));
    }
}

} // namespace
