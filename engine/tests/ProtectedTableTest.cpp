// Protected tables end to end: creation with the password dialog (mismatch, Cancel), records, memo
// texts and index pages enciphered in the files, opening through the shared password list, by a
// second process and by the short path, wrong passwords with the retry box and its pause,
// db_set_bfpw, opening without password handling; the older scrambler on a table.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "CtlLog.h"
#include "Job.h"
#include "TableEncryption.h"
#include "TableTestKit.h"
#include "TestKit.h"
#include "clsBlowfish.h"

using namespace tabletest;

namespace {

const std::vector<FieldDef> kFields = {{"NAME", 'C', 20, 0}, {"NUM", 'N', 5, 0}};
const unsigned kHeaderLength = 32 * 3 + 2;

// A protected table as the engine writes one: version byte 0x23, the check block, every record
// enciphered with the password's key.
std::string ProtectedImage(const std::vector<std::string>& records, const char* password)
{
    std::string image = DbfImage(kFields, records);
    const clsBlowfish cipher(password);
    image[0] = 0x23;
    std::string check = kCheckBlockText;
    cipher.Encode(check.data(), 8);
    image.replace(16, 8, check);
    const unsigned length = Get16(image, 10);
    for (size_t at = kHeaderLength; at + length <= image.size(); at += length)
        cipher.Encode(image.data() + at, length);
    return image;
}

std::vector<DWORD> s_pauses;
size_t s_boxesBeforePause = 0;
oxtest::CtlLog* s_log = nullptr;

void RecordPause(DWORD ms)
{
    s_pauses.push_back(ms);
    s_boxesBeforePause = s_log ? s_log->Records("MessageBox").size() : 0;
}

class ProtectedTable : public TableTest {
protected:
    void SetUp() override
    {
        TableTest::SetUp();
        db_files_open();
        s_log = &m_log;
        s_pauses.clear();
        g_PasswordRetryPause = RecordPause;
    }
    void TearDown() override
    {
        g_PasswordRetryPause = Sleep;
        s_log = nullptr;
        TableTest::TearDown();
    }

    // Defines a table of kFields (and a memo field NOTE when asked) with the dialog's answers.
    BOOL Define(const std::string& name, bool memo, const std::string& dialogs)
    {
        m_log.SetDialogAnswers(dialogs);
        if (!db_define_begin(File(name).c_str(), 1, nullptr, 0x2000, memo ? 3 : 2))
            return FALSE;
        db_define_field("NAME", 'C', 20, 0);
        db_define_field("NUM", 'N', 5, 0);
        if (memo)
            db_define_field("NOTE", 'M', 10, 0);
        return db_define_end();
    }

    std::string Image(const std::string& name) const { return oxtest::ReadFileText(File(name)); }
    size_t Dialogs() const { return m_log.Records("Dialog").size(); }

    oxtest::CtlLog m_log;
};

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// A NAME value as db_get_contents gives it.
std::string Name(const std::string& text) { return text + std::string(20 - text.size(), ' '); }

} // namespace

TEST_F(ProtectedTable, CreationKeysTheFilesAndTheListOpensThemAgain)
{
    ASSERT_TRUE(Define("geheim.dbf", true, "IDOK;101=Sesam;102=Sesam"));
    const auto dialogs = m_log.Records("Dialog");
    ASSERT_EQ(1u, dialogs.size());
    EXPECT_EQ((oxtest::CtlLog::Record{"Dialog", "Passwort-Eingabe", "1", "101,102"}), dialogs[0]);
    ASSERT_TRUE(db_blank());
    ASSERT_TRUE(db_replace("NAME", "Geheimnis"));
    ASSERT_TRUE(db_replace("NUM", "42"));
    ASSERT_TRUE(db_memo_write("NOTE", "Vertrauliche Notiz"));
    ASSERT_TRUE(db_insert());
    ASSERT_TRUE(db_index_on(1, "NAME", File("geheim.ntx").c_str(), 0));
    db_close(3);

    const std::string table = Image("geheim.dbf");
    EXPECT_EQ(0xA3, (unsigned char)table[0]) << "memo and protection bits";
    std::string check = table.substr(16, 8);
    clsBlowfish("Sesam").Decode(check.data(), 8);
    EXPECT_EQ(kCheckBlockText, check);
    EXPECT_FALSE(Contains(table, "Geheimnis"));
    EXPECT_FALSE(Contains(Image("geheim.dbt"), "Vertrauliche"));
    EXPECT_FALSE(Contains(Image("geheim.ntx"), "Geheimnis"));

    // The list holds the password: no dialog this time.
    ASSERT_TRUE(db_use(File("geheim.dbf").c_str(), 0x01, nullptr, 0));
    EXPECT_EQ(1u, Dialogs());
    EXPECT_EQ(Name("Geheimnis"), Contents("NAME"));
    char memo[64];
    ASSERT_TRUE(db_memo_read_buffer("NOTE", memo, sizeof memo));
    EXPECT_STREQ("Vertrauliche Notiz", memo);
    ASSERT_TRUE(db_set_index_to(1, File("geheim.ntx").c_str()));
    EXPECT_TRUE(db_seek(Name("Geheimnis").c_str()));
    EXPECT_EQ(1u, db_recno());
}

TEST_F(ProtectedTable, WithoutMemoTheVersionByteIs0x23)
{
    ASSERT_TRUE(Define("klein.dbf", false, "IDOK;101=x;102=x"));
    db_close(3);
    EXPECT_EQ(0x23, (unsigned char)Image("klein.dbf")[0]);
}

TEST_F(ProtectedTable, SecondProcessOpensWithoutDialogAlsoByShortPath)
{
    const std::string name = "eine sehr lange Tabelle.dbf";
    ASSERT_TRUE(Define(name, false, "IDOK;101=Zweiter Prozess;102=Zweiter Prozess"));
    ASSERT_TRUE(db_blank());
    ASSERT_TRUE(db_replace("NAME", "Fremd gelesen"));
    ASSERT_TRUE(db_insert());
    db_close(3);

    char shortPath[MAX_PATH] = {};
    ASSERT_NE(0u, GetShortPathNameA(File(name).c_str(), shortPath, sizeof shortPath));
    ASSERT_STRNE(File(name).c_str(), shortPath) << "the file system gives no short name";
    m_log.SetDialogAnswers("");
    for (const std::string& path : {File(name), std::string(shortPath)}) {
        SCOPED_TRACE(path);
        const std::string command = "\"" + oxtest::ProgramDir() + "\\engine_crypt_probe.exe\" open \"" + path +
                                    "\" NAME \"Fremd gelesen\"";
        EXPECT_EQ(0, oxtest::RunProcess(command));
    }
    EXPECT_EQ(1u, Dialogs()) << "only the creation asked";
}

TEST_F(ProtectedTable, CreationDialogKeepsAskingWhileTheTwoTextsDiffer)
{
    ASSERT_TRUE(Define("zweimal.dbf", false, "IDOK;101=eins;102=zwei|IDOK;101=eins;102=eins"));
    EXPECT_EQ(2u, Dialogs());
    const auto boxes = m_log.Records("MessageBox");
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ((oxtest::CtlLog::Record{
                  "MessageBox", "Fehler",
                  "Die Passwort-Best\xE4tigung ist nicht mit dem Passwort identisch.\\nBitte geben Sie es erneut ein!",
                  "0x2010", "1"}),
              boxes[0]);
    db_close(3);
    std::string check = Image("zweimal.dbf").substr(16, 8);
    clsBlowfish("eins").Decode(check.data(), 8);
    EXPECT_EQ(kCheckBlockText, check);
}

TEST_F(ProtectedTable, CancelledCreationLeavesNoFiles)
{
    EXPECT_FALSE(Define("abbruch.dbf", true, "IDCANCEL"));
    EXPECT_EQ(1u, m_error);
    EXPECT_EQ(0u, db_fcount());
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(File("abbruch.dbf").c_str()));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(File("abbruch.dbt").c_str()));

    // An empty password is a password.
    ASSERT_TRUE(Define("leer.dbf", false, "IDOK"));
    db_close(3);
    std::string check = Image("leer.dbf").substr(16, 8);
    clsBlowfish("").Decode(check.data(), 8);
    EXPECT_EQ(kCheckBlockText, check);
}

TEST_F(ProtectedTable, WrongPasswordsRetryWithAPauseAtEveryThird)
{
    ASSERT_TRUE(oxtest::WriteFileText(File("tresor.dbf"), ProtectedImage({" Inhalt"}, "richtig")));
    m_log.SetDialogAnswers("IDOK;101=falsch|IDOK;101=auch falsch|IDOK;101=Richtig|IDOK;101=richtig");
    m_log.SetAnswers("IDRETRY,IDRETRY,IDRETRY");
    ASSERT_TRUE(db_use(File("tresor.dbf").c_str(), 0x01, nullptr, 0));
    EXPECT_EQ(Name("Inhalt"), Contents("NAME"));
    const auto boxes = m_log.Records("MessageBox");
    ASSERT_EQ(3u, boxes.size());
    EXPECT_EQ((oxtest::CtlLog::Record{"MessageBox", "Fehler",
                                      "Das eingegebene Passwort ist falsch.\\nBitte achten Sie auf die Gro\xDF- und "
                                      "Kleinschreibung des Passworts!",
                                      "0x2015", "4"}),
              boxes[0]);
    EXPECT_EQ(std::vector<DWORD>{DB_PASSWORD_RETRY_PAUSE_MS}, s_pauses);
    EXPECT_EQ(2u, s_boxesBeforePause) << "the third box comes after the pause";
    EXPECT_EQ(4u, Dialogs());

    // Cancel in the box, or in the dialog: the open fails with error 1.
    ASSERT_TRUE(oxtest::WriteFileText(File("tresor2.dbf"), ProtectedImage({" Inhalt"}, "richtig")));
    struct Case {
        const char* dialogs;
        const char* boxes;
        size_t boxesShown;
    } cases[] = {{"IDOK;101=falsch", "IDCANCEL", 1}, {"IDCANCEL", "", 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dialogs);
        m_log.Clear();
        m_log.SetDialogAnswers(c.dialogs);
        m_log.SetAnswers(c.boxes);
        m_error = 0;
        EXPECT_FALSE(db_use(File("tresor2.dbf").c_str(), 0x01, nullptr, 0));
        EXPECT_EQ(1u, m_error);
        EXPECT_EQ(c.boxesShown, m_log.Records("MessageBox").size());
        EXPECT_EQ(0u, db_fcount());
    }
}

TEST_F(ProtectedTable, PasswordsGivenBeforehand)
{
    const std::string image = ProtectedImage({" Inhalt"}, "richtig");
    struct Case {
        const char* what;
        std::string registered; // path registered (as given)
        std::string opened;     // path opened
        std::string password;
        bool opens;
    } cases[] = {
        {"the password", File("a.dbf"), File("a.dbf"), "richtig", true},
        {"letter case of the path does not matter", File("b.dbf"), File("B.DBF"), "richtig", true},
        {"the password's key text", File("c.dbf"), File("c.dbf"), (const char*)clsBlowfish::DeriveKey("richtig"), true},
        {"a wrong password: the box comes back until Cancel", File("d.dbf"), File("d.dbf"), "falsch", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(oxtest::WriteFileText(c.opened, image));
        m_log.Clear();
        m_log.SetDialogAnswers("");
        m_log.SetAnswers("IDRETRY,IDRETRY,IDCANCEL");
        EXPECT_FALSE(db_set_bfpw(c.registered.c_str(), c.password.c_str())) << "always FALSE";
        EXPECT_EQ(c.opens, db_use(c.opened.c_str(), 0x01, nullptr, 0) != FALSE);
        EXPECT_EQ(0u, Dialogs()) << "the list answers, never the dialog";
        EXPECT_EQ(c.opens ? 0u : 3u, m_log.Records("MessageBox").size());
        if (c.opens) {
            EXPECT_EQ(Name("Inhalt"), Contents("NAME"));
        }
        db_close(3);
    }
}

TEST_F(ProtectedTable, WithoutPasswordHandlingTheRecordsStayEnciphered)
{
    ASSERT_TRUE(oxtest::WriteFileText(File("roh.dbf"), ProtectedImage({" Inhalt"}, "richtig")));
    ASSERT_TRUE(db_use(File("roh.dbf").c_str(), 0x41, nullptr, 0));
    EXPECT_EQ(0u, Dialogs());
    EXPECT_EQ(2u, db_fcount());
    EXPECT_NE(Name("Inhalt"), Contents("NAME"));
}

TEST_F(ProtectedTable, ScramblerKeepsRecordsUnreadableWithoutItsPassword)
{
    ASSERT_TRUE(Use("verwuerfelt.dbf", DbfImage(kFields, {" erste Zeile", " zweite Zeile"})));
    ASSERT_TRUE(db_set_password(1, "abc"));
    ASSERT_EQ(2, db_goto(2));
    ASSERT_TRUE(db_replace("NAME", "Neuer Inhalt"));
    ASSERT_TRUE(db_write());
    ASSERT_EQ(1, db_goto(1));
    ASSERT_EQ(2, db_goto(2));
    EXPECT_EQ(Name("Neuer Inhalt"), Contents("NAME")) << "read back with the password";
    db_close(3);
    const std::string stored = Image("verwuerfelt.dbf").substr(kHeaderLength + 26, 26);
    EXPECT_FALSE(Contains(stored, "Neuer Inhalt"));
    EXPECT_EQ(26u, stored.size()) << "the length stays";

    // Another area without the password reads the scrambled bytes.
    ASSERT_TRUE(db_use(File("verwuerfelt.dbf").c_str(), 0x01, nullptr, 0));
    ASSERT_EQ(2, db_goto(2));
    EXPECT_NE(Name("Neuer Inhalt"), Contents("NAME"));
    ASSERT_TRUE(db_set_password(1, "abc"));
    ASSERT_EQ(1, db_goto(1));
    ASSERT_EQ(2, db_goto(2));
    EXPECT_EQ(Name("Neuer Inhalt"), Contents("NAME"));
}

TEST_F(ProtectedTable, MemoTextsReadBackUnderEitherCipher)
{
    const std::string longText = [] {
        std::string t;
        for (int i = 0; t.size() < 1500; ++i)
            t += "Zeile " + std::to_string(i) + " einer langen Notiz; ";
        return t;
    }();
    struct Case {
        const char* what;
        unsigned options;  // 1: dBase 4 memo blocks with a header
        bool protect;      // Blowfish, else the scrambler
    } cases[] = {{"dBase III memo, scrambler", 0, false},
                 {"dBase 4 memo, scrambler", 1, false},
                 {"dBase III memo, Blowfish", 0, true},
                 {"dBase 4 memo, Blowfish", 1, true}};
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string name = "memo" + std::to_string(n++) + ".dbf";
        m_log.SetDialogAnswers("IDOK;101=Notizen;102=Notizen");
        ASSERT_TRUE(db_define_begin(File(name).c_str(), 1, nullptr, c.options | (c.protect ? 0x2000 : 0), 2));
        db_define_field("NAME", 'C', 20, 0);
        db_define_field("NOTE", 'M', 10, 0);
        ASSERT_TRUE(db_define_end());
        ASSERT_TRUE(db_blank());
        ASSERT_TRUE(db_replace("NAME", "eins"));
        ASSERT_TRUE(db_insert());
        db_close(3);
        ASSERT_TRUE(db_use(File(name).c_str(), 0x01, nullptr, c.options));
        if (!c.protect) {
            ASSERT_TRUE(db_set_password(1, "Notizen"));
        }
        ASSERT_EQ(1, db_goto(1));
        for (const std::string& text : {std::string("kurz"), longText, std::string("wieder kurz")}) {
            ASSERT_TRUE(db_memo_write("NOTE", text.c_str()));
            ASSERT_TRUE(db_write());
            std::vector<char> read(4096);
            ASSERT_TRUE(db_memo_read_buffer("NOTE", read.data(), (unsigned)read.size()));
            EXPECT_EQ(text, read.data());
        }
        db_close(3);
        const std::string memo = oxtest::ReadFileText(File(name.substr(0, name.size() - 3) + "dbt"));
        EXPECT_FALSE(Contains(memo, "wieder kurz")) << "enciphered in the file";
    }
}
