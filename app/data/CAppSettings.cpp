#include "CAppSettings.h"

#include <stdlib.h>

#include "CDataApplication.h"
#include "CDataUserSource.h"
#include "CMfxString.h"
#include "CRegistryKey.h"

namespace {

const char kSection[] = "Settings";
// Resources appear among the user colours as "[®name]".
const char kResourceColorFormat[] = "[%c%s]";
const char kResourceMark = '\xAE';

// The directory of the program file, with its trailing backslash.
CString ProgramDirectory()
{
    char szPath[MAX_PATH];
    DWORD n = GetModuleFileNameA(NULL, szPath, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return CString();
    return CMfxString(szPath).GetDirectory();
}

void AppendBackslash(CString& strPath)
{
    if (strPath.IsEmpty() || strPath[strPath.GetLength() - 1] != '\\')
        strPath += '\\';
}

} // namespace

CAppSettings::CAppSettings(CDataApplication* pApp) : m_userColors(5), m_pApp(pApp)
{
    CWinApp* pWinApp = pApp->GetWinApp();
    auto GetInt = [pWinApp](LPCTSTR lpszEntry, int nDefault) {
        return (int)pWinApp->GetProfileInt(kSection, lpszEntry, nDefault);
    };
    auto GetString = [pWinApp](LPCTSTR lpszEntry, LPCTSTR lpszDefault = "") {
        return pWinApp->GetProfileString(kSection, lpszEntry, lpszDefault);
    };

    m_strMainPath = GetString("MainPath");
    if (m_strMainPath.IsEmpty())
        m_strMainPath = ProgramDirectory();
    AppendBackslash(m_strMainPath);

    CMfxString strRect = GetString("RectDlgMain", "0;0;0;0");
    LONG* aEdges[4] = {&m_rectMain.left, &m_rectMain.top, &m_rectMain.right, &m_rectMain.bottom};
    for (int i = 0; i < 4; ++i) {
        CString strToken;
        strRect.GetToken(i + 1, strToken, ';');
        *aEdges[i] = atol(strToken);
    }

    m_bMaximized = GetInt("MaximizedDlgMain", 0);
    m_nLastActiveView = GetInt("LastActiveView", 0);
    m_nDayViewTimeUnits = GetInt("DayView_TimeUnits", 3);
    m_bVisible = GetInt("Visible", 1);
    m_bAutoUpdate = GetInt("AutoUpdate", 0);
    m_bShowViewBar = GetInt("ShowViewBar", 1);
    m_bReminderToFront = GetInt("ReminderToFront", 1);
    m_bDefRemind = GetInt("DefRemind", 1);
    m_nDefRemindSpan = GetInt("DefRemindSpan", 15);
    m_nDefRemindUnit = GetInt("DefRemindUnit", 0);
    m_nWidthViewBar = GetInt("WidthViewBar", 0);
    m_nDefMoveSpan = GetInt("DefMoveSpan", 15);
    m_nDefMoveUnit = GetInt("DefMoveUnit", 0);
    m_nWidthDayView = GetInt("WidthDayView", 0);
    m_nHeightMonthCal = GetInt("HeightMonthCal", 0);
    m_crDayViewBgnd = (COLORREF)GetInt("ColorDayViewBgnd", 0xFFE2B4);
    m_crDayViewWorkTime = (COLORREF)GetInt("ColorDayViewWorkTime", 0xCCFFCC);
    m_strCurrentUser = GetString("CurrentUser");
    m_strCurrentRights = GetString("CurrentRghts");
    m_bShowWeekNr = GetInt("ShowWeekNr", 0);
    m_strDefPrnPath = GetString("DefPrnPath");
    if (!m_strDefPrnPath.IsEmpty())
        AppendBackslash(m_strDefPrnPath);
    m_nWorkDayStart = GetInt("WorkDayStart", 420);
    m_nWorkDayEnd = GetInt("WorkDayEnd", 1080);
    m_nSortOrderTodoBrw = GetInt("SortOrderTodoBrw", 0);
    m_nSortOrderAppBrw = GetInt("SortOrderAppBrw", 0);
    m_strFilterUser = GetString("FilterUser");
    m_bNoStart = GetInt("NOS", 0);
    m_strNoStartMessage = GetString("NOSMessage");
    m_nUpdateViewTimer = GetInt("UpdateViewTimer", 2);
    m_bNoUpdateThread = GetInt("NOUPDTH", 0);
    m_bShowDataTip = GetInt("ShowDataTip", 1);
    m_nWeekViewRows = GetInt("WeekViewRows", 7);
    m_bMultiReminderDlg = GetInt("MultiReminderDlg", 0);

    SetRectEmpty(&m_rectWorkArea);
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &m_rectWorkArea, 0);
    OffsetRect(&m_rectWorkArea, -m_rectWorkArea.left, -m_rectWorkArea.top);
    HDC hdc = GetDC(NULL);
    m_bLargeFonts = hdc != NULL && GetDeviceCaps(hdc, LOGPIXELSX) != 96;
    if (hdc != NULL)
        ReleaseDC(NULL, hdc);

    m_bPackOnStart = GetInt("PackOnStart", 1);
    m_bMarkFilterUser = GetInt("MarkFilterUser", 0);
}

CAppSettings::~CAppSettings()
{
    Save();
    m_userColors.RemoveAll();
}

void CAppSettings::Save()
{
    CWinApp* pWinApp = m_pApp->GetWinApp();
    auto PutInt = [pWinApp](LPCTSTR lpszEntry, int nValue) { pWinApp->WriteProfileInt(kSection, lpszEntry, nValue); };
    auto PutString = [pWinApp](LPCTSTR lpszEntry, LPCTSTR lpszValue) {
        pWinApp->WriteProfileString(kSection, lpszEntry, lpszValue);
    };

    PutString("MainPath", m_strMainPath);
    CString strRect;
    strRect.Format("%d;%d;%d;%d", (int)m_rectMain.left, (int)m_rectMain.top, (int)m_rectMain.right,
                   (int)m_rectMain.bottom);
    PutString("RectDlgMain", strRect);
    PutInt("MaximizedDlgMain", m_bMaximized);
    PutInt("LastActiveView", m_nLastActiveView);
    PutInt("DayView_TimeUnits", m_nDayViewTimeUnits);
    PutInt("Visible", m_bVisible);
    PutInt("AutoUpdate", m_bAutoUpdate);
    PutInt("ShowViewBar", m_bShowViewBar);
    PutInt("ReminderToFront", m_bReminderToFront);
    PutInt("DefRemind", m_bDefRemind);
    PutInt("DefRemindSpan", m_nDefRemindSpan);
    PutInt("DefRemindUnit", m_nDefRemindUnit);
    PutInt("DefMoveSpan", m_nDefMoveSpan);
    PutInt("DefMoveUnit", m_nDefMoveUnit);
    PutInt("ShowWeekNr", m_bShowWeekNr);
    PutInt("WidthViewBar", m_nWidthViewBar);
    PutInt("WidthDayView", m_nWidthDayView);
    PutInt("HeightMonthCal", m_nHeightMonthCal);
    PutInt("ColorDayViewBgnd", (int)m_crDayViewBgnd);
    PutInt("ColorDayViewWorkTime", (int)m_crDayViewWorkTime);
    PutString("DefPrnPath", CMfxString(m_strDefPrnPath).GetDirectory());
    PutInt("WorkDayStart", m_nWorkDayStart);
    PutInt("WorkDayEnd", m_nWorkDayEnd);
    PutInt("SortOrderTodoBrw", m_nSortOrderTodoBrw);
    PutInt("SortOrderAppBrw", m_nSortOrderAppBrw);
    PutString("FilterUser", m_strFilterUser);
    PutInt("UpdateViewTimer", m_nUpdateViewTimer);
    PutInt("ShowDataTip", m_bShowDataTip);
    PutInt("WeekViewRows", m_nWeekViewRows);
    PutInt("MultiReminderDlg", m_bMultiReminderDlg);
    PutInt("PackOnStart", m_bPackOnStart);
    PutInt("MarkFilterUser", m_bMarkFilterUser);
    SaveUserColors();
}

int CAppSettings::GetTimeUnitMinutes() const
{
    switch (m_nDayViewTimeUnits) {
    case 1:
        return 10;
    case 3:
        return 30;
    case 4:
        return 60;
    default:
        return 15;
    }
}

void CAppSettings::ClampRectToWorkArea(RECT& rect) const
{
    if (rect.right > m_rectWorkArea.right)
        OffsetRect(&rect, m_rectWorkArea.right - rect.right, 0);
    if (rect.bottom > m_rectWorkArea.bottom)
        OffsetRect(&rect, 0, m_rectWorkArea.bottom - rect.bottom);
    if (rect.left < m_rectWorkArea.left)
        OffsetRect(&rect, m_rectWorkArea.left - rect.left, 0);
    if (rect.top < m_rectWorkArea.top)
        OffsetRect(&rect, 0, m_rectWorkArea.top - rect.top);
}

CString CAppSettings::UserColorsKey() const { return m_pApp->GetRegistryPath() + "\\Settings\\UserColors"; }

void CAppSettings::LoadUserColors()
{
    m_userColors.RemoveAll();
    CDataUserSource* pUsers = m_pApp->GetUserSource();
    if (pUsers == NULL)
        return;

    CStringList names;
    CStringList linked;
    pUsers->GetLinkedUsers(linked);
    for (POSITION pos = linked.GetHeadPosition(); pos != NULL;) {
        const CString& strName = linked.GetNext(pos);
        if (names.Find(strName) == NULL)
            names.AddTail(strName);
    }
    CString strCurrent = pUsers->GetCurrentUser();
    if (names.Find(strCurrent) == NULL)
        names.AddTail(strCurrent);
    CStringList resources;
    pUsers->GetResourceNames(resources);
    for (POSITION pos = resources.GetHeadPosition(); pos != NULL;) {
        CString strName;
        strName.Format(kResourceColorFormat, kResourceMark, (LPCTSTR)resources.GetNext(pos));
        names.AddTail(strName);
    }

    CRegistryKey key(HKEY_CURRENT_USER);
    CString strKey = UserColorsKey();
    for (POSITION pos = names.GetHeadPosition(); pos != NULL;) {
        const CString& strName = names.GetNext(pos);
        if (!strName.IsEmpty())
            m_userColors.SetAt(strName, key.ReadDwordDefault(strKey, strName, kDefaultUserColor));
    }
}

void CAppSettings::SaveUserColors()
{
    if (m_userColors.IsEmpty())
        return;
    CRegistryKey key(HKEY_CURRENT_USER);
    CString strKey = UserColorsKey();
    for (POSITION pos = m_userColors.GetStartPosition(); pos != NULL;) {
        CString strName;
        COLORREF cr;
        m_userColors.GetNextAssoc(pos, strName, cr);
        key.WriteDword(strKey, strName, cr);
    }
}
