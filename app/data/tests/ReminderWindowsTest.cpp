// The data controller's smaller services: the collective reminder window made on demand, the
// arrangement of the reminder windows after the setting "MultiReminderDlg" changed (in both
// directions, with window doubles), the resource list in "ox_res.ini" beside the program, and the
// time conflicts of a day.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "CTestReminderWindow.h"
#include "ControllerTestKit.h"
#include "TestKit.h"

namespace {

using namespace controllertest;

class ReminderWindowsTest : public ControllerTest {
protected:
    void SetUp() override
    {
        ControllerTest::SetUp();
        m_app.m_frame.MakeWindow();
    }

    // Delivers the messages posted to this thread's windows.
    static void Pump()
    {
        MSG msg;
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
    }

    CTestReminderWindow* Open(long nId)
    {
        CDataAppointment record;
        record.m_strSubject = "Erinnerung";
        auto* pWindow = new CTestReminderWindow(nId, record, &m_app.m_dialogs.m_reminderJournal);
        m_controller->GetReminderWindows().SetAt((DWORD)nId, pWindow);
        return pWindow;
    }

    CTestReminderWindow::Journal& Journal() { return m_app.m_dialogs.m_reminderJournal; }

    static RECT Place(HWND hWnd)
    {
        RECT rect = {};
        GetWindowRect(hWnd, &rect);
        return rect;
    }
};

std::vector<std::string> ReadLines(const std::string& path)
{
    std::vector<std::string> lines;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty())
            lines.push_back(line);
    }
    return lines;
}

} // namespace

// The collective window is made once, with the desktop as parent and the main window to tell,
// and gets message 1133 with each record id; a window that cannot be made gives FALSE and is not
// kept.
TEST_F(ReminderWindowsTest, CollectiveWindowOnDemand)
{
    CDataController& c = Start();
    m_app.m_dialogs.m_bCollectiveFails = TRUE;
    EXPECT_FALSE(c.ShowInCollectiveReminder(11));
    EXPECT_EQ(nullptr, c.GetCollectiveReminder());
    m_app.m_dialogs.m_bCollectiveFails = FALSE;
    EXPECT_TRUE(c.ShowInCollectiveReminder(12));
    EXPECT_TRUE(c.ShowInCollectiveReminder(13));
    Pump();
    EXPECT_EQ(2, m_app.m_dialogs.m_nCollectiveMade);
    EXPECT_EQ(GetDesktopWindow(), m_app.m_dialogs.m_hCollectiveParent);
    EXPECT_EQ(m_app.m_frame.GetFrameWindow(), m_app.m_dialogs.m_hCollectiveNotify);
    EXPECT_EQ((std::vector<std::string>{"create collective parent=desktop", "delete collective",
                                        "create collective parent=desktop", "entry 12", "entry 13"}),
              Journal());
    Journal().clear();
    m_controller.reset();
    EXPECT_EQ((std::vector<std::string>{"delete collective"}), Journal()) << "the controller owns it";
}

// Setting on: every single window is hidden and its entry goes to the collective window. Setting
// off: the collective window goes; every single window is (made again when it has none, with the
// desktop as parent,) placed at 5 x count + 10 and shown. No windows: nothing.
TEST_F(ReminderWindowsTest, ArrangementInBothDirections)
{
    CDataController& c = Start();
    CAppSettings& settings = *m_app.GetSettings();
    settings.m_bMultiReminderDlg = TRUE;
    EXPECT_EQ(1, c.ArrangeReminderWindows());
    EXPECT_EQ(nullptr, c.GetCollectiveReminder()) << "no window open: nothing made";

    // Two single windows, shown on their own (the setting was off when they came).
    CTestReminderWindow* pFirst = Open(21);
    CTestReminderWindow* pSecond = Open(22);
    for (CTestReminderWindow* pWindow : {pFirst, pSecond}) {
        pWindow->SetParentWindow(GetDesktopWindow());
        ASSERT_TRUE(pWindow->Create());
        ShowWindow(pWindow->GetWindowHandle(), SW_SHOW);
    }
    Journal().clear();
    EXPECT_EQ(1, c.ArrangeReminderWindows());
    Pump();
    EXPECT_FALSE(IsWindowVisible(pFirst->GetWindowHandle()));
    EXPECT_FALSE(IsWindowVisible(pSecond->GetWindowHandle()));
    std::vector<std::string> journal = Journal();
    ASSERT_EQ(3u, journal.size());
    EXPECT_EQ("create collective parent=desktop", journal[0]);
    std::sort(journal.begin() + 1, journal.end());
    EXPECT_EQ((std::vector<std::string>{"create collective parent=desktop", "entry 21", "entry 22"}), journal);
    EXPECT_NE(nullptr, c.GetCollectiveReminder());

    // A third reminder came while the setting was on: it has no window of its own.
    CTestReminderWindow* pThird = Open(23);
    Journal().clear();
    settings.m_bMultiReminderDlg = FALSE;
    EXPECT_EQ(1, c.ArrangeReminderWindows());
    EXPECT_EQ(nullptr, c.GetCollectiveReminder());
    EXPECT_EQ((std::vector<std::string>{"delete collective", "create 23 parent=desktop"}), Journal());
    for (CTestReminderWindow* pWindow : {pFirst, pSecond, pThird}) {
        const HWND hWnd = pWindow->GetWindowHandle();
        ASSERT_NE(nullptr, hWnd);
        EXPECT_TRUE(IsWindowVisible(hWnd));
        const RECT rect = Place(hWnd);
        EXPECT_EQ(25, rect.left) << "5 x 3 windows + 10";
        EXPECT_EQ(25, rect.top);
        EXPECT_EQ(120, rect.right - rect.left) << "the size stays";
        EXPECT_EQ(80, rect.bottom - rect.top);
    }

    // The windows go with the controller.
    Journal().clear();
    m_controller.reset();
    std::sort(Journal().begin(), Journal().end());
    EXPECT_EQ((std::vector<std::string>{"delete 21", "delete 22", "delete 23"}), Journal());
}

// The resource list: keys read from RES_0 up to the first one missing (0, 1 and 3 give two), the
// section written anew from RES_0 in list order; the controller loads it at its start.
TEST_F(ReminderWindowsTest, ResourceList)
{
    oxtest::TempDir program("ox_program");
    m_app.m_strProgramDirectory = (program.Path() + "\\").c_str();
    const std::string ini = program.Path() + "\\ox_res.ini";
    {
        std::ofstream out(ini);
        out << "[Andere]\nRES_0=Fremd\n[chronivo Resources]\nRES_0=Beamer\nRES_1=Raum 1\nRES_3=Auto\n";
    }
    CDataController& c = Start();
    CStringList names;
    c.GetResourceNames(names);
    ASSERT_EQ(2, names.GetCount()) << "loaded at the start";
    EXPECT_EQ("Beamer", std::string(names.GetHead()));
    EXPECT_EQ("Raum 1", std::string(names.GetTail()));

    CStringList list;
    list.AddTail("stale");
    EXPECT_EQ(1, c.LoadResourceList(list));
    ASSERT_EQ(2, list.GetCount());
    EXPECT_EQ("Beamer", std::string(list.GetHead()));

    list.AddTail("Auto");
    EXPECT_EQ(0, c.SaveResourceList(list));
    EXPECT_EQ((std::vector<std::string>{"[Andere]", "RES_0=Fremd", "[chronivo Resources]", "RES_0=Beamer",
                                        "RES_1=Raum 1", "RES_2=Auto"}),
              ReadLines(ini));
    CStringList shorter;
    shorter.AddTail("Beamer");
    EXPECT_EQ(0, c.SaveResourceList(shorter));
    EXPECT_EQ(1, c.LoadResourceList(list));
    EXPECT_EQ(1, list.GetCount()) << "the section was written anew";

    c.SetResourceList(shorter);
    shorter.AddTail("danach");
    c.GetResourceNames(names);
    EXPECT_EQ(1, names.GetCount()) << "a copy of the list";
}

// The time conflicts of a day: both ends exclusive, all-day and private entries left out on
// request, the users' filter, the line of each conflict.
TEST_F(ReminderWindowsTest, TimeConflicts)
{
    auto entry = [](const char* subject, int start, int end) {
        Entry e{subject};
        e.startTime = start;
        e.endTime = end;
        e.partner = "Herr Huber";
        e.place = "Raum 2";
        return e;
    };
    Entry privat = entry("Privat", 620, 640);
    privat.isPrivate = true;
    Entry other = entry("Fremd", 600, 700);
    other.user = kOtherUser;
    Entry otherDay = entry("Anderer Tag", 600, 700);
    otherDay.start = otherDay.end = "2005-03-02";
    Write({entry("Davor", 540, 600), entry("Mitten", 630, 700), entry("Danach", 660, 720), entry("Ganztags", 0, 1439),
           privat, other, otherDay});
    CDataController& c = Start();
    ASSERT_EQ(1, c.SetFilterUser("")) << "the day shows every user's entries";
    const long nDay = Day("2005-03-01");
    auto line = [&](const char* subject, const char* user, const char* range) {
        return std::string(subject) + "\tHerr Huber\tRaum 2\t" + user + "\t" + IdText(Id(subject)) + "\t" + range;
    };
    auto run = [&](int nFrom, int nTo, BOOL bSkipAllDay, BOOL bSkipPrivate, std::vector<std::string> users,
                   int& nResult) {
        CStringList userList, result;
        for (const std::string& user : users)
            userList.AddTail(user.c_str());
        result.AddTail("alt");
        nResult = c.ListTimeConflicts(nDay, nFrom, nTo, bSkipAllDay, bSkipPrivate, userList, result);
        std::set<std::string> lines;
        for (POSITION pos = result.GetHeadPosition(); pos != NULL;)
            lines.insert((LPCTSTR)result.GetNext(pos));
        return lines;
    };
    struct Case {
        const char* name;
        int from, to;
        BOOL skipAllDay, skipPrivate;
        std::vector<std::string> users;
        std::set<std::string> expected;
    };
    const Case cases[] = {
        {"600-660: bounds exclusive", 600, 660, FALSE, FALSE, {},
         {line("Mitten", kUser, "10:30 - 11:40"), line("Ganztags", kUser, "00:00 - 23:59"),
          line("Privat", kUser, "10:20 - 10:40"), line("Fremd", kOtherUser, "10:00 - 11:40")}},
        {"all-day and private left out", 600, 660, TRUE, TRUE, {},
         {line("Mitten", kUser, "10:30 - 11:40"), line("Fremd", kOtherUser, "10:00 - 11:40")}},
        {"only the other user", 600, 660, TRUE, FALSE, {kOtherUser}, {line("Fremd", kOtherUser, "10:00 - 11:40")}},
        {"a user with nothing then", 600, 660, TRUE, FALSE, {"Carla"}, {}},
        {"720-800: none but all day", 720, 800, FALSE, FALSE, {}, {line("Ganztags", kUser, "00:00 - 23:59")}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        int nResult = -1;
        EXPECT_EQ(k.expected, run(k.from, k.to, k.skipAllDay, k.skipPrivate, k.users, nResult));
        EXPECT_EQ(k.expected.empty() ? 1 : 0, nResult);
    }
    // A day without entries leaves the result as it was.
    CStringList none, result;
    result.AddTail("alt");
    EXPECT_EQ(1, c.ListTimeConflicts(Day("2005-04-01"), 0, 1439, FALSE, FALSE, none, result));
    EXPECT_EQ(1, result.GetCount());
    EXPECT_EQ(0, *c.GetBusyCounter());
}
