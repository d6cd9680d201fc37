// The notification mail through Simple MAPI, against the recording MAPI32.DLL of the tests
// (mapi/FakeMapi32.cpp, in the folder bin\mapi): the subject's layout and its cut at 256
// characters, the body from the notes, the recipient and the addressing dialog for an empty one,
// attachments, the answers of the session, and the result of the action when the mail did not go
// out (logon refused, sending refused, no mail library at all).
//
// The test program runs with WINEDLLOVERRIDES mapi32=n (see CMakeLists.txt): Wine's own MAPI32.DLL
// never loads, so a test can never hand a mail to the system's mail program, and without the
// double in the search path there is no MAPI32.DLL at all.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "CDataAppointment.h"
#include "CDateValue.h"
#include "CMailAction.h"
#include "CMapiSession.h"
#include "TestKit.h"

namespace {

typedef void(WINAPI* SetResultsFn)(ULONG, ULONG);
typedef int(WINAPI* ReadLogFn)(char*, int);

const std::string kSession = "24149"; // the double's session handle

// The recording MAPI32.DLL, loaded by the test (so its log lives across the sessions of the
// code under test, which free the library when they end).
class MapiDouble {
public:
    MapiDouble()
    {
        SetDllDirectoryA((oxtest::ProgramDir() + "\\mapi").c_str());
        m_hLibrary = LoadLibraryA("MAPI32.DLL");
        if (m_hLibrary != NULL) {
            m_pfnSetResults = (SetResultsFn)GetProcAddress(m_hLibrary, "TestMapiSetResults");
            m_pfnReadLog = (ReadLogFn)GetProcAddress(m_hLibrary, "TestMapiReadLog");
        }
    }
    ~MapiDouble()
    {
        if (IsDouble())
            SetResults(SUCCESS_SUCCESS, SUCCESS_SUCCESS);
        if (m_hLibrary != NULL)
            FreeLibrary(m_hLibrary);
        SetDllDirectoryA(NULL);
    }
    bool IsDouble() const { return m_pfnSetResults != NULL && m_pfnReadLog != NULL; }
    void SetResults(ULONG nLogon, ULONG nSend) { m_pfnSetResults(nLogon, nSend); }
    // The calls since the last look, one line each.
    std::vector<std::string> Calls()
    {
        std::vector<char> buffer(1 << 16);
        int n = m_pfnReadLog(buffer.data(), (int)buffer.size());
        EXPECT_LT(n, (int)buffer.size()) << "log cut";
        return oxtest::SplitLines(std::string(buffer.data()));
    }

private:
    HMODULE m_hLibrary = NULL;
    SetResultsFn m_pfnSetResults = NULL;
    ReadLogFn m_pfnReadLog = NULL;
};

long DaySerial(int nYear, int nMonth, int nDay)
{
    return CDateValue(COleDateTime(nYear, nMonth, nDay, 0, 0, 0)).GetDaySerial();
}

// Monday, 4 March 2024, 10:00 to 11:00, with RTF notes and a recipient.
CDataAppointment MailEntry()
{
    CDataAppointment entry;
    entry.m_strSubject = "Besprechung";
    entry.m_strPlace = "Raum 1";
    entry.m_strParticipants = "Anna, Ben";
    entry.m_pattern.m_nPatternStart = DaySerial(2024, 3, 4);
    entry.m_pattern.m_nPatternEnd = entry.m_pattern.m_nPatternStart;
    entry.m_pattern.m_nStartTime = 600;
    entry.m_pattern.m_nEndTime = 660;
    entry.m_strNotes = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 Hallo \\b M\\'fcller\\b0\\par Gru\\'df}";
    entry.m_action.m_strName = "OXMAIL";
    entry.m_action.m_strParameter = "anna@example.org";
    return entry;
}

// The abbreviated name of a weekday in the user's locale (the mail's date asks the locale).
std::string Weekday(LCTYPE nName)
{
    char sz[32] = "";
    GetLocaleInfoA(LOCALE_USER_DEFAULT, nName, sz, sizeof sz);
    return sz;
}

const std::string kMonday = Weekday(LOCALE_SABBREVDAYNAME1);
const std::string kSubject = "04.03.24 " + kMonday + "  um  10:00 - 11:00 Uhr; Besprechung; Raum 1; Anna, Ben";
const std::string kBody = "Hallo M\xFCller\\nGru\xDF";
const std::string kLogon = "Logon|0|||0x1";
const std::string kLogoff = "Logoff|" + kSession;

std::string Sent(const std::string& flags, const std::string& subject, const std::string& body)
{
    return "SendMail|" + kSession + "|" + flags + "|" + subject + "|" + body;
}

std::string To(const std::string& recipient) { return "Recipient|1|" + recipient + "|(null)"; }

struct MailCase {
    const char* name;
    std::function<void(CDataAppointment&)> change;
    ULONG nLogonResult;
    ULONG nSendResult;
    int nResult;
    std::vector<std::string> calls;
};

const std::string kLongSubject(300, 'S');

const MailCase kMailCases[] = {
    {"single entry", [](CDataAppointment&) {}, SUCCESS_SUCCESS, SUCCESS_SUCCESS, 1,
     {kLogon, Sent("0x0", kSubject, kBody), To("anna@example.org"), kLogoff}},
    {"empty recipient: the mail system asks for one", [](CDataAppointment& e) { e.m_action.m_strParameter.Empty(); },
     SUCCESS_SUCCESS, SUCCESS_SUCCESS, 1, {kLogon, Sent("0x8", kSubject, kBody), To(""), kLogoff}},
    {"series: next occurrence plus the lead time",
     [](CDataAppointment& e) {
         e.m_bSeries = TRUE;
         e.m_dtNextOccurrence = COleDateTime(2024, 5, 6, 23, 50, 0);
         e.m_nRemindSpan = 15;
     },
     SUCCESS_SUCCESS, SUCCESS_SUCCESS, 1,
     {kLogon, Sent("0x0", "07.05.24 " + Weekday(LOCALE_SABBREVDAYNAME2) + "  um  10:00 - 11:00 Uhr; Besprechung; Raum 1; Anna, Ben", kBody),
      To("anna@example.org"), kLogoff}},
    {"subject cut at 256 characters", [](CDataAppointment& e) { e.m_strSubject = kLongSubject.c_str(); },
     SUCCESS_SUCCESS, SUCCESS_SUCCESS, 1,
     {kLogon, Sent("0x0", ("04.03.24 " + kMonday + "  um  10:00 - 11:00 Uhr; " + kLongSubject).substr(0, 256), kBody),
      To("anna@example.org"), kLogoff}},
    {"notes that are no readable RTF go as they are", [](CDataAppointment& e) { e.m_strNotes = "{\\rtf1 offen"; },
     SUCCESS_SUCCESS, SUCCESS_SUCCESS, 1,
     {kLogon, Sent("0x0", kSubject, "{\\rtf1 offen"), To("anna@example.org"), kLogoff}},
    {"sending refused is no success", [](CDataAppointment&) {}, SUCCESS_SUCCESS, MAPI_E_USER_ABORT, 0,
     {kLogon, Sent("0x0", kSubject, kBody), To("anna@example.org"), kLogoff}},
    {"logon refused: nothing sent, no success", [](CDataAppointment&) {}, MAPI_E_LOGON_FAILURE, SUCCESS_SUCCESS, 0,
     {kLogon}},
};

class MailTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_mapi.IsDouble()) << "MAPI32.DLL is not the test double of bin\\mapi (does the test run with "
                                          "WINEDLLOVERRIDES mapi32=n?)";
        m_mapi.Calls();
    }
    MapiDouble m_mapi;
};

TEST_F(MailTest, MailActionSendsTheEntry)
{
    for (const MailCase& c : kMailCases) {
        SCOPED_TRACE(c.name);
        CDataAppointment entry = MailEntry();
        c.change(entry);
        m_mapi.SetResults(c.nLogonResult, c.nSendResult);
        CMailAction action;
        EXPECT_EQ(c.nResult, action.Execute(NULL, NULL, entry));
        EXPECT_EQ(c.calls, m_mapi.Calls());
    }
}

TEST_F(MailTest, SessionSendsAttachmentsAtBlanksAfterTheBody)
{
    CMapiSession session;
    ASSERT_TRUE(session.IsLoaded());
    EXPECT_EQ(0, session.Logon());
    EXPECT_TRUE(session.IsLoggedOn());
    CMailMessage message;
    message.m_strRecipient = "ben@example.org";
    message.m_strSubject = "Betreff";
    message.m_strBody = "Text";
    message.m_attachments.AddTail("C:\\Daten\\a.txt");
    message.m_attachments.AddTail("C:\\Daten\\b.pdf");
    EXPECT_EQ(0, session.SendMail(message));
    EXPECT_EQ((std::vector<std::string>{kLogon, Sent("0x0", "Betreff", "Text\\n  \\n"), To("ben@example.org"),
                                        "File|5|C:\\Daten\\a.txt|(null)", "File|6|C:\\Daten\\b.pdf|(null)"}),
              m_mapi.Calls());
}

TEST_F(MailTest, SessionAnswers)
{
    CMailMessage message;
    message.m_strRecipient = "ben@example.org";
    {
        CMapiSession session;
        EXPECT_EQ(-1, session.SendMail(message)) << "not logged on";
        EXPECT_TRUE(m_mapi.Calls().empty());
    }
    const struct {
        ULONG nMapi;
        int nAnswer;
    } kAnswers[] = {{SUCCESS_SUCCESS, 0}, {MAPI_E_USER_ABORT, -101}, {MAPI_E_FAILURE, -102}, {MAPI_E_UNKNOWN_RECIPIENT, -114}};
    for (const auto& a : kAnswers) {
        SCOPED_TRACE(a.nMapi);
        m_mapi.SetResults(SUCCESS_SUCCESS, a.nMapi);
        CMapiSession session;
        session.Logon();
        EXPECT_EQ(a.nAnswer, session.SendMail(message));
    }
    m_mapi.Calls();

    // A session logs on once, and off when it ends.
    {
        CMapiSession session;
        session.Logon();
        session.Logon();
    }
    EXPECT_EQ((std::vector<std::string>{kLogon, kLogoff}), m_mapi.Calls());

    // A refused logon leaves the session logged off.
    m_mapi.SetResults(MAPI_E_LOGON_FAILURE, SUCCESS_SUCCESS);
    {
        CMapiSession session;
        EXPECT_EQ(0, session.Logon());
        EXPECT_FALSE(session.IsLoggedOn());
        EXPECT_EQ(-1, session.SendMail(message));
    }
    EXPECT_EQ((std::vector<std::string>{kLogon}), m_mapi.Calls());
}

// Without any MAPI32.DLL: no logon, nothing sent, and the action says so.
TEST(MailWithoutLibrary, ActionReportsNoSuccess)
{
    ASSERT_EQ((HMODULE)NULL, GetModuleHandleA("MAPI32.DLL"));
    SetDllDirectoryA(NULL);
    UINT nOldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    HMODULE hSystem = LoadLibraryA("MAPI32.DLL");
    SetErrorMode(nOldMode);
    if (hSystem != NULL) {
        FreeLibrary(hSystem);
        FAIL() << "a MAPI32.DLL of the system loads: the test must run with WINEDLLOVERRIDES mapi32=n";
    }
    {
        CMapiSession session;
        EXPECT_FALSE(session.IsLoaded());
        EXPECT_EQ(0, session.Logon());
        EXPECT_FALSE(session.IsLoggedOn());
        EXPECT_EQ(-1, session.SendMail(CMailMessage()));
    }
    CMailAction action;
    EXPECT_EQ(0, action.Execute(NULL, NULL, MailEntry()));
}

} // namespace
