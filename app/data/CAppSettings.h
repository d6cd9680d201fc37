// The program's user settings for the whole run. The constructor reads every value from the
// section "Settings" of the application's profile (registry values below
// HKEY_CURRENT_USER\Software\<registry key>\<profile name>\Settings); the destructor writes the
// changeable ones back (Save). The user colours of the views are DWORD values named by user in the
// subkey "UserColors" of that section; they are loaded once the users are known (LoadUserColors)
// and saved with the other settings.
//
//   member                 value name              default
//   m_strMainPath          "MainPath"              the program's directory (always ends in "\")
//   m_rectMain             "RectDlgMain"           "0;0;0;0" (left;top;right;bottom)
//   m_bMaximized           "MaximizedDlgMain"      0
//   m_nLastActiveView      "LastActiveView"        0
//   m_nDayViewTimeUnits    "DayView_TimeUnits"     3
//   m_bVisible             "Visible"               1
//   m_bAutoUpdate          "AutoUpdate"            0
//   m_bShowViewBar         "ShowViewBar"           1
//   m_bReminderToFront     "ReminderToFront"       1
//   m_bDefRemind           "DefRemind"             1
//   m_nDefRemindSpan       "DefRemindSpan"         15
//   m_nDefRemindUnit       "DefRemindUnit"         0
//   m_nWidthViewBar        "WidthViewBar"          0
//   m_nDefMoveSpan         "DefMoveSpan"           15
//   m_nDefMoveUnit         "DefMoveUnit"           0
//   m_nWidthDayView        "WidthDayView"          0
//   m_nHeightMonthCal      "HeightMonthCal"        0
//   m_crDayViewBgnd        "ColorDayViewBgnd"      0xFFE2B4
//   m_crDayViewWorkTime    "ColorDayViewWorkTime"  0xCCFFCC
//   m_strCurrentUser       "CurrentUser"           empty (read only)
//   m_strCurrentRights     "CurrentRghts"          empty (read only)
//   m_bShowWeekNr          "ShowWeekNr"            0
//   m_strDefPrnPath        "DefPrnPath"            empty, else ends in "\" (saved as its directory)
//   m_nWorkDayStart        "WorkDayStart"          420 (minutes after midnight)
//   m_nWorkDayEnd          "WorkDayEnd"            1080
//   m_nSortOrderTodoBrw    "SortOrderTodoBrw"      0
//   m_nSortOrderAppBrw     "SortOrderAppBrw"       0
//   m_strFilterUser        "FilterUser"            empty
//   m_bNoStart             "NOS"                   0 (read only)
//   m_strNoStartMessage    "NOSMessage"            empty (read only)
//   m_nUpdateViewTimer     "UpdateViewTimer"       2 (minutes)
//   m_bNoUpdateThread      "NOUPDTH"               0 (read only)
//   m_bShowDataTip         "ShowDataTip"           1
//   m_nWeekViewRows        "WeekViewRows"          7
//   m_bMultiReminderDlg    "MultiReminderDlg"      0
//   m_rectWorkArea         -                       the screen's work area moved to the origin
//   m_bLargeFonts          -                       the screen does not have 96 pixels per inch
//   m_bPackOnStart         "PackOnStart"           1
//   m_userColors           subkey "UserColors"     0xFF0000 for a user without a stored colour
//   m_bMarkFilterUser      "MarkFilterUser"        0
//
// Flags keep the number read (they are written back as read).
#pragma once

#include <afxtempl.h>

class CDataApplication;

class CAppSettings {
public:
    // Reads every value through the application's profile functions.
    explicit CAppSettings(CDataApplication* pApp);
    // Save, then frees the colours.
    ~CAppSettings();
    CAppSettings(const CAppSettings&) = delete;
    CAppSettings& operator=(const CAppSettings&) = delete;

    // Writes the changeable values back, then the user colours.
    void Save();

    // The day-view time unit in minutes: 1 -> 10, 3 -> 30, 4 -> 60, anything else -> 15.
    int GetTimeUnitMinutes() const;
    // Moves the rectangle into the work area: left when its right edge lies beyond the work
    // area's, up when its bottom does, then right and down when its left or top edge lies before.
    void ClampRectToWorkArea(RECT& rect) const;

    // The colour of every known user and resource: the users of the linked applications, the
    // current user, and every resource as "[®name]"; a name without a stored colour gets
    // kDefaultUserColor.
    void LoadUserColors();
    void SaveUserColors();

    enum : COLORREF { kDefaultUserColor = 0xFF0000 };

    CString m_strMainPath;
    RECT m_rectMain;
    BOOL m_bMaximized;
    int m_nLastActiveView;
    int m_nDayViewTimeUnits;
    BOOL m_bVisible;
    BOOL m_bAutoUpdate;
    BOOL m_bShowViewBar;
    BOOL m_bReminderToFront;
    BOOL m_bDefRemind;
    int m_nDefRemindSpan;
    int m_nDefRemindUnit;
    int m_nWidthViewBar;
    int m_nDefMoveSpan;
    int m_nDefMoveUnit;
    int m_nWidthDayView;
    int m_nHeightMonthCal;
    COLORREF m_crDayViewBgnd;
    COLORREF m_crDayViewWorkTime;
    CString m_strCurrentUser;
    CString m_strCurrentRights;
    BOOL m_bShowWeekNr;
    CString m_strDefPrnPath;
    int m_nWorkDayStart;
    int m_nWorkDayEnd;
    int m_nSortOrderTodoBrw;
    int m_nSortOrderAppBrw;
    CString m_strFilterUser;
    BOOL m_bNoStart;
    CString m_strNoStartMessage;
    int m_nUpdateViewTimer;
    BOOL m_bNoUpdateThread;
    BOOL m_bShowDataTip;
    int m_nWeekViewRows;
    BOOL m_bMultiReminderDlg;
    RECT m_rectWorkArea;
    BOOL m_bLargeFonts;
    BOOL m_bPackOnStart;
    CMap<CString, LPCTSTR, COLORREF, COLORREF> m_userColors;
    BOOL m_bMarkFilterUser;
    CDataApplication* m_pApp;

private:
    // "<application key>\Settings\UserColors".
    CString UserColorsKey() const;
};
