// The settings object against the registry of a test application (a key of its own per test):
// defaults from an empty registry, stored values read, values written back at the end (and the
// read-only ones left alone), and the user colours of users and resources.
#include <gtest/gtest.h>

#include <string>

#include "CMfxString.h"
#include "CRegistryKey.h"
#include "CTestDataApp.h"

namespace {

class SettingsTest : public testing::Test {
protected:
    CTestDataApp app;

    DWORD StoredInt(LPCTSTR lpszName)
    {
        DWORD dw = 0xDEADBEEF;
        EXPECT_TRUE(CRegistryKey(HKEY_CURRENT_USER).ReadDword(app.SettingsKey(), lpszName, dw)) << lpszName;
        return dw;
    }
    std::string StoredString(LPCTSTR lpszName)
    {
        CString text = "(none)";
        CRegistryKey(HKEY_CURRENT_USER).ReadString(app.SettingsKey(), lpszName, text);
        return (LPCTSTR)text;
    }
    bool Stored(LPCTSTR lpszName)
    {
        CRegistryValue value;
        return CRegistryKey(HKEY_CURRENT_USER).ReadValue(app.SettingsKey(), lpszName, value);
    }
};

CString ProgramDirectory()
{
    char szPath[MAX_PATH];
    GetModuleFileNameA(NULL, szPath, MAX_PATH);
    return CMfxString(szPath).GetDirectory();
}

} // namespace

TEST_F(SettingsTest, EmptyRegistryGivesTheDefaults)
{
    CAppSettings& s = app.CreateSettings();
    CString strProgramDir = ProgramDirectory();
    ASSERT_FALSE(strProgramDir.IsEmpty());
    EXPECT_EQ('\\', strProgramDir[strProgramDir.GetLength() - 1]);
    EXPECT_STREQ(strProgramDir, s.m_strMainPath);
    EXPECT_EQ(0, s.m_rectMain.left);
    EXPECT_EQ(0, s.m_rectMain.top);
    EXPECT_EQ(0, s.m_rectMain.right);
    EXPECT_EQ(0, s.m_rectMain.bottom);

    struct Default {
        const char* name;
        long nActual;
        long nExpected;
    };
    const Default defaults[] = {
        {"MaximizedDlgMain", s.m_bMaximized, 0},     {"LastActiveView", s.m_nLastActiveView, 0},
        {"DayView_TimeUnits", s.m_nDayViewTimeUnits, 3}, {"Visible", s.m_bVisible, 1},
        {"AutoUpdate", s.m_bAutoUpdate, 0},          {"ShowViewBar", s.m_bShowViewBar, 1},
        {"ReminderToFront", s.m_bReminderToFront, 1}, {"DefRemind", s.m_bDefRemind, 1},
        {"DefRemindSpan", s.m_nDefRemindSpan, 15},   {"DefRemindUnit", s.m_nDefRemindUnit, 0},
        {"WidthViewBar", s.m_nWidthViewBar, 0},      {"DefMoveSpan", s.m_nDefMoveSpan, 15},
        {"DefMoveUnit", s.m_nDefMoveUnit, 0},        {"WidthDayView", s.m_nWidthDayView, 0},
        {"HeightMonthCal", s.m_nHeightMonthCal, 0},  {"ColorDayViewBgnd", (long)s.m_crDayViewBgnd, 16769716},
        {"ColorDayViewWorkTime", (long)s.m_crDayViewWorkTime, 13434828},
        {"ShowWeekNr", s.m_bShowWeekNr, 0},          {"WorkDayStart", s.m_nWorkDayStart, 420},
        {"WorkDayEnd", s.m_nWorkDayEnd, 1080},       {"SortOrderTodoBrw", s.m_nSortOrderTodoBrw, 0},
        {"SortOrderAppBrw", s.m_nSortOrderAppBrw, 0}, {"NOS", s.m_bNoStart, 0},
        {"UpdateViewTimer", s.m_nUpdateViewTimer, 2}, {"NOUPDTH", s.m_bNoUpdateThread, 0},
        {"ShowDataTip", s.m_bShowDataTip, 1},        {"WeekViewRows", s.m_nWeekViewRows, 7},
        {"MultiReminderDlg", s.m_bMultiReminderDlg, 0}, {"PackOnStart", s.m_bPackOnStart, 1},
        {"MarkFilterUser", s.m_bMarkFilterUser, 0},
    };
    for (const Default& d : defaults)
        EXPECT_EQ(d.nExpected, d.nActual) << d.name;
    for (const CString* p : {&s.m_strCurrentUser, &s.m_strCurrentRights, &s.m_strDefPrnPath, &s.m_strFilterUser,
                             &s.m_strNoStartMessage})
        EXPECT_STREQ("", *p);
    EXPECT_EQ(30, s.GetTimeUnitMinutes());

    RECT rcWork;
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &rcWork, 0));
    EXPECT_EQ(0, s.m_rectWorkArea.left);
    EXPECT_EQ(0, s.m_rectWorkArea.top);
    EXPECT_EQ(rcWork.right - rcWork.left, s.m_rectWorkArea.right);
    EXPECT_EQ(rcWork.bottom - rcWork.top, s.m_rectWorkArea.bottom);
    HDC hdc = GetDC(NULL);
    EXPECT_EQ(GetDeviceCaps(hdc, LOGPIXELSX) != 96, (bool)s.m_bLargeFonts);
    ReleaseDC(NULL, hdc);
}

TEST_F(SettingsTest, StoredValuesAreRead)
{
    app.WriteProfileString("Settings", "MainPath", "D:\\Daten");
    app.WriteProfileString("Settings", "RectDlgMain", "10;-20;300");
    app.WriteProfileString("Settings", "DefPrnPath", "C:\\Druck");
    app.WriteProfileString("Settings", "CurrentRghts", "FFFTTFT");
    app.WriteProfileInt("Settings", "DayView_TimeUnits", 4);
    app.WriteProfileInt("Settings", "Visible", 0);
    app.WriteProfileInt("Settings", "ShowWeekNr", 2);
    app.WriteProfileInt("Settings", "ColorDayViewBgnd", 0x00FF00);
    app.WriteProfileString("Settings", "WeekViewRows", "5"); // a text is no number: the default

    CAppSettings& s = app.CreateSettings();
    EXPECT_STREQ("D:\\Daten\\", s.m_strMainPath);
    EXPECT_EQ(10, s.m_rectMain.left);
    EXPECT_EQ(-20, s.m_rectMain.top);
    EXPECT_EQ(300, s.m_rectMain.right);
    EXPECT_EQ(0, s.m_rectMain.bottom) << "a fourth number is missing";
    EXPECT_STREQ("C:\\Druck\\", s.m_strDefPrnPath);
    EXPECT_STREQ("FFFTTFT", s.m_strCurrentRights);
    EXPECT_EQ(4, s.m_nDayViewTimeUnits);
    EXPECT_EQ(60, s.GetTimeUnitMinutes());
    EXPECT_EQ(0, s.m_bVisible);
    EXPECT_EQ(2, s.m_bShowWeekNr) << "a flag keeps the number stored";
    EXPECT_EQ(0x00FF00u, s.m_crDayViewBgnd);
    EXPECT_EQ(7, s.m_nWeekViewRows);
}

TEST_F(SettingsTest, ValuesAreWrittenBackAtTheEnd)
{
    app.WriteProfileString("Settings", "CurrentUser", "Anna");
    app.WriteProfileString("Settings", "DefPrnPath", "C:\\Druck\\");
    CAppSettings& s = app.CreateSettings();
    s.m_rectMain = {1, 2, 640, -480};
    s.m_bMaximized = 1;
    s.m_nDefRemindSpan = 45;
    s.m_crDayViewWorkTime = 0x123456;
    s.m_strDefPrnPath = "E:\\Listen\\karte.prn";
    s.m_strFilterUser = "Bernd";
    s.m_nWorkDayEnd = 1200;
    s.m_bMarkFilterUser = 1;
    // Read only: not written back.
    s.m_strCurrentUser = "Mallory";
    s.m_strCurrentRights = "TTTTTTT";
    s.m_bNoStart = 1;
    s.m_strNoStartMessage = "gesperrt";
    s.m_bNoUpdateThread = 1;
    app.DestroySettings();

    EXPECT_EQ(ProgramDirectory(), StoredString("MainPath").c_str());
    EXPECT_EQ("1;2;640;-480", StoredString("RectDlgMain"));
    EXPECT_EQ("E:\\Listen\\", StoredString("DefPrnPath"));
    EXPECT_EQ("Bernd", StoredString("FilterUser"));
    EXPECT_EQ(1u, StoredInt("MaximizedDlgMain"));
    EXPECT_EQ(45u, StoredInt("DefRemindSpan"));
    EXPECT_EQ(0x123456u, StoredInt("ColorDayViewWorkTime"));
    EXPECT_EQ(1200u, StoredInt("WorkDayEnd"));
    EXPECT_EQ(1u, StoredInt("MarkFilterUser"));
    EXPECT_EQ(15u, StoredInt("DefMoveSpan"));
    EXPECT_EQ(1u, StoredInt("PackOnStart"));
    EXPECT_EQ("Anna", StoredString("CurrentUser"));
    for (LPCTSTR lpszName : {"CurrentRghts", "NOS", "NOSMessage", "NOUPDTH"})
        EXPECT_FALSE(Stored(lpszName)) << lpszName;

    // The next start reads what was written.
    CAppSettings& again = app.CreateSettings();
    EXPECT_EQ(-480, again.m_rectMain.bottom);
    EXPECT_STREQ("E:\\Listen\\", again.m_strDefPrnPath);
    EXPECT_EQ(45, again.m_nDefRemindSpan);
}

TEST_F(SettingsTest, UserColors)
{
    app.m_users.m_linkedUsers.AddTail("Anna");
    app.m_users.m_linkedUsers.AddTail("Bernd");
    app.m_users.m_linkedUsers.AddTail("");
    app.m_users.m_linkedUsers.AddTail("Anna");
    app.m_users.m_strCurrentUser = "Carl";
    app.m_users.m_resources.AddTail("Raum 1");
    CString strColorKey = app.SettingsKey() + "\\UserColors";
    CRegistryKey registry(HKEY_CURRENT_USER);
    ASSERT_TRUE(registry.WriteDword(strColorKey, "Bernd", 0x00FF00));
    ASSERT_TRUE(registry.WriteString(strColorKey, "Carl", "255")); // no DWORD: no colour

    CAppSettings& s = app.CreateSettings();
    EXPECT_EQ(0, s.m_userColors.GetCount()) << "colours are loaded once the users are known";
    s.LoadUserColors();
    struct Entry {
        const char* name;
        COLORREF cr;
    };
    const Entry entries[] = {{"Anna", 0xFF0000}, {"Bernd", 0x00FF00}, {"Carl", 0xFF0000}, {"[\xAERaum 1]", 0xFF0000}};
    EXPECT_EQ((int)(sizeof entries / sizeof entries[0]), s.m_userColors.GetCount());
    for (const Entry& e : entries) {
        COLORREF cr = 0;
        EXPECT_TRUE(s.m_userColors.Lookup(e.name, cr)) << e.name;
        EXPECT_EQ(e.cr, cr) << e.name;
    }

    // The current user is not added twice.
    app.m_users.m_strCurrentUser = "Anna";
    s.LoadUserColors();
    EXPECT_EQ(3, s.m_userColors.GetCount());
    app.m_users.m_strCurrentUser = "Carl";
    s.LoadUserColors();

    // Every known name gets its value written, the default colour included.
    s.m_userColors.SetAt("Anna", 0x0000FF);
    app.DestroySettings();
    for (const Entry& e : entries) {
        DWORD dw = 0;
        EXPECT_TRUE(registry.ReadDword(strColorKey, e.name, dw)) << e.name;
        EXPECT_EQ(strcmp(e.name, "Anna") == 0 ? 0x0000FFu : e.cr, dw) << e.name;
    }

    // Without a data controller there is no one to colour.
    app.m_bWithUsers = FALSE;
    CAppSettings& noUsers = app.CreateSettings();
    noUsers.LoadUserColors();
    EXPECT_EQ(0, noUsers.m_userColors.GetCount());
}

TEST_F(SettingsTest, TimeUnitsAndWorkArea)
{
    CAppSettings& s = app.CreateSettings();
    const int units[][2] = {{1, 10}, {2, 15}, {3, 30}, {4, 60}, {0, 15}, {5, 15}, {-1, 15}};
    for (const auto& u : units) {
        s.m_nDayViewTimeUnits = u[0];
        EXPECT_EQ(u[1], s.GetTimeUnitMinutes()) << "unit " << u[0];
    }

    s.m_rectWorkArea = {0, 0, 1000, 700};
    struct Case {
        RECT in;
        RECT out;
    };
    const Case cases[] = {
        {{10, 10, 500, 400}, {10, 10, 500, 400}},     // inside: unchanged
        {{800, 600, 1200, 900}, {600, 400, 1000, 700}}, // beyond right and bottom: moved left and up
        {{-50, -30, 200, 100}, {0, 0, 250, 130}},     // before left and top: moved right and down
        {{-10, 0, 1100, 200}, {0, 0, 1110, 200}},     // wider than the area: the left edge wins
    };
    for (const Case& c : cases) {
        RECT r = c.in;
        s.ClampRectToWorkArea(r);
        EXPECT_TRUE(EqualRect(&r, &c.out)) << c.in.left << "," << c.in.top << "," << c.in.right << "," << c.in.bottom
                                           << " -> " << r.left << "," << r.top << "," << r.right << "," << r.bottom;
    }
}
