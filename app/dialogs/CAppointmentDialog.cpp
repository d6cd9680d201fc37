// The appointment dialog: set-up, the date and time fields with their rules, OK with its checks,
// the conflict check, go to record, print and delete. The pages and the notes editor are in
// CAppointmentDialogPages.cpp.
#include "CAppointmentDialog.h"

#include "AppointmentResource.h"
#include "CAppSettings.h"
#include "CDataApplication.h"
#include "CDataController.h"
#include "CLinkedAction.h"
#include "CMfxWaitCursor.h"
#include "FieldDropDown.h"
#include "MfxMessageBox.h"
#include "MfxWindows.h"
#include "SharedDialogHandlers.h"

namespace {

// The anchors of template 153 (the rectangles are recorded when the dialog opens).
MfxResizeAnchor g_appointmentAnchors[CAppointmentDialog::kAnchorRows] = {
    {1052, 0, 0, 0, 0, {}},     {1039, 0, 0, 100, 0, {}},   {1053, 0, 0, 0, 0, {}},   {1040, 0, 0, 100, 0, {}},
    {1057, 0, 0, 0, 0, {}},     {1043, 0, 0, 100, 0, {}},   {1064, 100, 0, 0, 0, {}}, {1079, 0, 0, 100, 0, {}},
    {1062, 0, 0, 100, 0, {}},   {1063, 0, 0, 100, 0, {}},   {1055, 0, 0, 0, 0, {}},   {1015, 0, 0, 0, 0, {}},
    {1048, 0, 0, 0, 0, {}},     {1013, 0, 0, 0, 0, {}},     {1014, 0, 0, 0, 0, {}},   {1044, 0, 0, 0, 0, {}},
    {1046, 0, 0, 0, 0, {}},     {1042, 0, 0, 0, 0, {}},     {1070, 0, 0, 0, 0, {}},   {1041, 0, 0, 0, 0, {}},
    {1068, 0, 0, 0, 0, {}},     {1059, 0, 0, 0, 0, {}},     {1054, 0, 0, 0, 0, {}},   {1060, 0, 0, 0, 0, {}},
    {1051, 0, 0, 100, 0, {}},   {1077, 0, 0, 0, 0, {}},     {1078, 0, 0, 100, 0, {}}, {41, 100, 0, 0, 0, {}},
    {1080, 0, 0, 0, 0, {}},     {1071, 0, 0, 100, 0, {}},   {1090, 0, 0, 100, 0, {}}, {1047, 0, 0, 100, 100, {}},
    {98, 100, 100, 0, 0, {}},   {18, 0, 100, 0, 0, {}},     {161, 100, 100, 0, 0, {}}, {10, 100, 100, 0, 0, {}},
    {2, 100, 100, 0, 0, {}},    {1, 100, 100, 0, 0, {}},
};

const int kLastMinute = 1439;
// The latest date the date field takes: 31.12.2199.
const long kMaxDate = 109572;

CAppSettings* Settings()
{
    CDataApplication* pApp = CDataApplication::Get();
    return pApp != NULL ? pApp->GetSettings() : NULL;
}

// A box of the dialog: the active window's title as caption.
int Box(CWnd* pOwner, UINT nText, UINT nType = MB_ICONEXCLAMATION)
{
    return MfxMessageBoxId(nText, -2, nType, pOwner);
}

} // namespace

IMPLEMENT_DYNAMIC(CAppointmentDialog, CMfxSizableDialog)

BEGIN_MESSAGE_MAP(CAppointmentDialog, CMfxSizableDialog)
ON_BN_CLICKED(IDC_APPT_SERIES_TYPE, OnSeriesType)
ON_BN_CLICKED(IDC_APPT_SERIES, OnSeriesClicked)
ON_BN_CLICKED(IDC_APPT_ALL_DAY, OnAllDay)
ON_BN_CLICKED(IDC_APPT_REMIND, OnReminderClicked)
ON_WM_DESTROY()
ON_BN_CLICKED(IDC_APPT_HELP, OnHelpClicked)
ON_NOTIFY(TCN_SELCHANGE, IDC_APPT_TABS, OnTabSelChange)
ON_MESSAGE(TKWM_TAB_SELCHANGE, OnToolkitTabSelChange)
ON_BN_CLICKED(IDC_APPT_CHECK_ALL, OnCheckAllUsers)
ON_BN_CLICKED(IDC_APPT_UNCHECK_ALL, OnUncheckAllUsers)
ON_CBN_SELCHANGE(IDC_APPT_ACTION, OnActionSelChange)
ON_BN_CLICKED(IDC_APPT_BROWSE, OnBrowseFile)
ON_BN_CLICKED(IDC_APPT_GO_TO_RECORD, OnGoToRecord)
ON_BN_CLICKED(IDC_APPT_PRINT, OnPrintCard)
ON_BN_CLICKED(IDC_APPT_DELETE, OnDeleteEntry)
ON_BN_CLICKED(IDC_APPT_CONFLICTS, OnConflictCheck)
ON_CBN_SELENDOK(IDC_APPT_FONT_NAME, OnFontChosen)
ON_CBN_SELENDOK(IDC_APPT_FONT_SIZE, OnSizeChosen)
ON_NOTIFY(EN_SELCHANGE, IDC_APPT_NOTES, OnNotesSelChange)
ON_WM_TIMER()
END_MESSAGE_MAP()

BEGIN_EVENTSINK_MAP(CAppointmentDialog, CMfxSizableDialog)
ON_EVENT(CAppointmentDialog, IDC_APPT_DATE, 1, OnDateDropDown, VTS_NONE)
ON_EVENT(CAppointmentDialog, IDC_APPT_START, 1, OnStartTimeDropDown, VTS_NONE)
ON_EVENT(CAppointmentDialog, IDC_APPT_END, 1, OnEndTimeDropDown, VTS_NONE)
ON_EVENT(CAppointmentDialog, IDC_APPT_START, 2, OnStartTimeSpin, VTS_I2)
ON_EVENT(CAppointmentDialog, IDC_APPT_END, 2, OnEndTimeSpin, VTS_I2)
ON_EVENT(CAppointmentDialog, IDC_APPT_START, 4, OnStartTimeChange, VTS_NONE)
END_EVENTSINK_MAP()

CAppointmentDialog::CAppointmentDialog(CDataAppointment* pRecord, CWnd* pParent, BOOL bNew, UINT nIDTemplate,
                                       MfxResizeAnchor* pAnchors, int nAnchors)
    : CMfxSizableDialog(nIDTemplate, pAnchors != NULL ? pAnchors : g_appointmentAnchors,
                        nAnchors != 0 ? nAnchors : (int)kAnchorRows, pParent),
      m_bSeries(FALSE), m_bPrivate(FALSE), m_bRemind(FALSE), m_bAllDay(FALSE), m_nLead(0), m_pRecord(pRecord),
      m_hIcon(NULL), m_pUserList(NULL), m_pActionImages(NULL), m_bNew(bNew), m_nFormatTimer(0),
      m_bInitialised(FALSE), m_strPosSuffix("WndPosAppointment")
{
    OSVERSIONINFOA version = {sizeof(version)};
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    ::GetVersionExA(&version);
#pragma GCC diagnostic pop
    const BOOL bXpOrLater = version.dwMajorVersion > 5 || (version.dwMajorVersion == 5 && version.dwMinorVersion >= 1);
    m_hIcon = (HICON)::LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(bXpOrLater ? 128 : 138), IMAGE_ICON, 16, 16, 0);
    if (pRecord != NULL)
        m_copy = *pRecord;
    // The rich edit's window class must exist before the template is created.
    ::LoadLibraryA("riched20.dll");
}

CAppointmentDialog::~CAppointmentDialog()
{
    if (m_hIcon != NULL)
        ::DestroyIcon(m_hIcon);
    delete m_pUserList;
    delete m_pActionImages;
}

// ---- helpers ---------------------------------------------------------------------------------------

CDataController* CAppointmentDialog::GetController() const
{
    CDataApplication* pApp = CDataApplication::Get();
    return pApp != NULL ? dynamic_cast<CDataController*>(pApp->GetUserSource()) : NULL;
}

CString CAppointmentDialog::GetCurrentUser() const
{
    CDataApplication* pApp = CDataApplication::Get();
    CDataUserSource* pUsers = pApp != NULL ? pApp->GetUserSource() : NULL;
    return pUsers != NULL ? pUsers->GetCurrentUser() : CString();
}

DWORD CAppointmentDialog::GetRights() const
{
    CDataController* pController = GetController();
    return pController != NULL ? pController->GetRights() : 0;
}

int CAppointmentDialog::GetTimeUnit() const
{
    CAppSettings* pSettings = Settings();
    return pSettings != NULL ? pSettings->GetTimeUnitMinutes() : 30;
}

int CAppointmentDialog::ApplyEndRule(int nStart, int nEnd, int nUnit)
{
    if (nStart >= nEnd)
        nEnd = nStart + nUnit >= 1440 ? kLastMinute : nStart + nUnit;
    return nEnd;
}

int CAppointmentDialog::LeadUnitFor(long nSpan)
{
    static const int units[] = {1440, 60, 1};
    for (int nUnit : units)
        if (nSpan % nUnit == 0)
            return nUnit;
    return 1;
}

void CAppointmentDialog::ShowTimes(int nStart, int nEnd)
{
    m_start.SetTime((short)nStart);
    m_end.SetTime((short)nEnd);
}

void CAppointmentDialog::ApplyEndRuleToFields()
{
    const int nStart = m_start.GetTime();
    const int nEnd = m_end.GetTime();
    const int nRuled = ApplyEndRule(nStart, nEnd, GetTimeUnit());
    if (nRuled != nEnd)
        m_end.SetTime((short)nRuled);
}

// ---- data exchange ---------------------------------------------------------------------------------

void CAppointmentDialog::DoDataExchange(CDataExchange* pDX)
{
    CMfxSizableDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_APPT_ACTION, m_actionCombo);
    DDX_Control(pDX, IDC_APPT_TABS, m_tabs);
    DDX_Control(pDX, IDC_APPT_FONT_SIZE, m_sizeCombo);
    DDX_Control(pDX, IDC_APPT_FONT_NAME, m_fontCombo);
    DDX_Control(pDX, IDC_APPT_COLOR, m_colorCombo);
    DDX_Control(pDX, IDC_APPT_NOTES, m_notes);
    DDX_Text(pDX, IDC_APPT_SUBJECT, m_strSubject);
    DDX_Text(pDX, IDC_APPT_PARTNER, m_strPartner);
    DDX_Text(pDX, IDC_APPT_PLACE, m_strPlace);
    DDX_Control(pDX, IDC_APPT_DATE, m_date);
    DDX_Control(pDX, IDC_APPT_START, m_start);
    DDX_Control(pDX, IDC_APPT_END, m_end);
    DDX_Check(pDX, IDC_APPT_SERIES, m_bSeries);
    DDX_Check(pDX, IDC_APPT_PRIVATE, m_bPrivate);
    DDX_Control(pDX, IDC_APPT_LEAD_UNIT, m_leadUnit);
    DDX_Check(pDX, IDC_APPT_REMIND, m_bRemind);
    DDX_Text(pDX, IDC_APPT_LEAD, m_nLead);
    DDX_Control(pDX, IDC_APPT_SUBJECT, m_subjectCombo);
    DDX_Control(pDX, IDC_APPT_PARTNER, m_partnerCombo);
    DDX_Control(pDX, IDC_APPT_PLACE, m_placeCombo);
    DDX_Check(pDX, IDC_APPT_ALL_DAY, m_bAllDay);
}

// ---- set-up ----------------------------------------------------------------------------------------

BOOL CAppointmentDialog::OnInitDialog()
{
    SendMessage(WM_SETICON, ICON_BIG, (LPARAM)m_hIcon);
    CMfxSizableDialog::OnInitDialog();

    CountDialogOpened();
    SetHelpID(153);

    if (!m_bNew && m_copy.m_strUser != GetCurrentUser() && (GetRights() & CDataController::kRightManageOthers) == 0)
        if (CWnd* pOk = GetDlgItem(IDOK))
            pOk->EnableWindow(FALSE);

    CMfxWaitCursor wait;

    m_subjectCombo.LimitText(140);
    m_subjectCombo.LoadHistory("History", "CmbBetr");
    if (m_placeCombo.m_hWnd != NULL) {
        m_placeCombo.LimitText(100);
        m_placeCombo.LoadHistory("History", "CmbOrt");
    }
    if (m_partnerCombo.m_hWnd != NULL) {
        m_partnerCombo.LimitText(100);
        m_partnerCombo.LoadHistory("History", "CmbMit");
    }
    if (GetDlgItem(IDC_APPT_LEAD) != NULL) {
        m_leadEdit.SubclassEdit(IDC_APPT_LEAD, this, PES_DIGITS);
        m_leadEdit.LimitText(2);
    }

    InitTabs();

    if (CWnd* pGoTo = GetDlgItem(IDC_APPT_GO_TO_RECORD))
        pGoTo->ShowWindow(!m_copy.m_strAppId.IsEmpty() && !m_copy.m_strDbPath.IsEmpty() && m_copy.m_nDbRecId != 0 && !m_bNew
                              ? SW_SHOW
                              : SW_HIDE);

    for (UINT nId = IDS_LEAD_UNIT_MINUTES; nId <= IDS_LEAD_UNIT_DAYS; ++nId) {
        CString strItem;
        strItem.LoadString(nId);
        const int nSemicolon = strItem.Find(';');
        const int nIndex = m_leadUnit.AddString(nSemicolon >= 0 ? strItem.Left(nSemicolon) : strItem);
        m_leadUnit.SetItemData(nIndex, nSemicolon >= 0 ? (DWORD_PTR)atoi(strItem.Mid(nSemicolon + 1)) : 1);
    }
    m_leadUnit.SetCurSel(0);

    CAppSettings* pSettings = Settings();
    if (m_bNew && pSettings != NULL) {
        m_copy.m_bRemind = pSettings->m_bDefRemind;
        if (pSettings->m_nDefRemindUnit >= 0 && pSettings->m_nDefRemindUnit < m_leadUnit.GetCount()) {
            m_leadUnit.SetCurSel(pSettings->m_nDefRemindUnit);
            m_copy.m_nRemindSpan = pSettings->m_nDefRemindSpan * (LONG)m_leadUnit.GetItemData(pSettings->m_nDefRemindUnit);
        }
    }
    // A damaged negative lead time shows as none.
    const long nSpan = m_copy.m_nRemindSpan > 0 ? m_copy.m_nRemindSpan : 0;
    const int nUnit = LeadUnitFor(nSpan);
    for (int i = m_leadUnit.GetCount() - 1; i >= 0; --i)
        if ((int)m_leadUnit.GetItemData(i) == nUnit) {
            m_leadUnit.SetCurSel(i);
            break;
        }
    m_nLead = (UINT)(nSpan / nUnit);

    LoadFromRecord();

    // The notes editor.
    m_notes.LimitText(kNotesLimit);
    m_notes.SetEventMask(ENM_LINK | ENM_SELCHANGE);
    m_notes.SetOptions(ECOOP_OR, ECO_SAVESEL);
    m_notes.SetOptions(ECOOP_OR, ECO_NOHIDESEL);
    m_notes.SendMessage(EM_AUTOURLDETECT, TRUE, 0);
    CHARFORMATA cf = {};
    m_notes.GetDefaultCharFormat(cf);
    LOGFONTA lf = {};
    ::GetObjectA(::GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
    cf.dwMask = CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT | CFM_SIZE | CFM_COLOR | CFM_FACE | CFM_CHARSET;
    lstrcpynA(cf.szFaceName, "Arial", LF_FACESIZE);
    cf.crTextColor = ::GetSysColor(COLOR_WINDOWTEXT);
    cf.dwEffects &= ~CFE_AUTOCOLOR;
    cf.yHeight = -20 * lf.lfHeight;
    m_notes.SetDefaultCharFormat(cf);
    SetNotesRtf(m_copy.m_strNotes);
    FillFontNames();
    UpdateFormatBar();

    InitUsers();
    InitActionImages();
    FillActions();
    OnAllDay();

    m_date.SetMaxDate(kMaxDate);
    if (m_fontCombo.m_hWnd != NULL && m_colorCombo.m_hWnd != NULL)
        m_colorCombo.SetItemHeight(-1, m_fontCombo.GetItemHeight(-1));

    CRect rect;
    m_notes.GetWindowRect(rect);
    ScreenToClient(rect);
    m_notes.MoveWindow(rect.left, rect.top, rect.Width() + 1, rect.Height() + 1);
    m_notes.MoveWindow(rect);

    if (m_bNew) {
        if (CWnd* pPrint = GetDlgItem(IDC_APPT_PRINT))
            pPrint->ShowWindow(SW_HIDE);
        if (CWnd* pDelete = GetDlgItem(IDC_APPT_DELETE))
            pDelete->ShowWindow(SW_HIDE);
    }
    // Cards cannot be printed yet.
    if (CWnd* pPrint = GetDlgItem(IDC_APPT_PRINT))
        pPrint->EnableWindow(FALSE);

    if (m_windowPos.LoadWindowPos(m_strPosSuffix) && m_windowPos.Apply(this))
        RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);

    m_bInitialised = TRUE;
    MfxForceForegroundWindow(this);
    return TRUE;
}

void CAppointmentDialog::LoadFromRecord()
{
    m_strSubject = m_copy.m_strSubject;
    m_strPartner = m_copy.m_strParticipants;
    m_strPlace = m_copy.m_strPlace;
    m_strNotesRtf = m_copy.m_strNotes;
    m_bPrivate = m_copy.m_bPrivate;
    m_bSeries = m_copy.m_bSeries;
    m_bRemind = m_copy.m_bRemind;
    if (CWnd* pType = GetDlgItem(IDC_APPT_SERIES_TYPE))
        pType->EnableWindow(m_bSeries);
    if (CWnd* pConflicts = GetDlgItem(IDC_APPT_CONFLICTS))
        pConflicts->EnableWindow(!m_bSeries);

    const int nUnit = GetTimeUnit();
    CheckRadioButton(IDC_APPT_RUN_AUTO, IDC_APPT_RUN_MANUAL,
                     m_copy.m_action.m_nActionType == 1 ? IDC_APPT_RUN_MANUAL : IDC_APPT_RUN_AUTO);
    int nStart = m_copy.m_pattern.m_nStartTime;
    int nEnd = m_copy.m_pattern.m_nEndTime;
    if (nStart < 0) {
        nStart = m_start.SetNow();
        if (nEnd == -1)
            nEnd = nStart + nUnit;
    }
    // Damaged stored times are brought into the day by the end rule.
    if (nStart > kLastMinute)
        nStart = kLastMinute;
    if (nEnd > kLastMinute)
        nEnd = kLastMinute;
    nEnd = ApplyEndRule(nStart, nEnd, nUnit);
    ShowTimes(nStart, nEnd);
    if (m_copy.m_pattern.m_nPatternStart != 0)
        m_date.SetDate(m_copy.m_pattern.m_nPatternStart);
    else
        m_date.SetToday();
    m_bAllDay = nStart == 0 && nEnd == kLastMinute;
    UpdateData(FALSE);
}

// ---- date and time fields --------------------------------------------------------------------------

void CAppointmentDialog::OnDateDropDown() { DropDownUnderField(this, m_date, false); }

void CAppointmentDialog::OnStartTimeDropDown()
{
    if (DropDownUnderField(this, m_start, true) == IDOK)
        ApplyEndRuleToFields();
}

void CAppointmentDialog::OnEndTimeDropDown() { DropDownUnderField(this, m_end, true); }

void CAppointmentDialog::OnStartTimeSpin(short nDirection)
{
    int nStart = m_start.GetTime();
    if (nDirection == 0)
        nStart = nStart + 1 > kLastMinute ? kLastMinute : nStart + 1;
    else
        nStart = nStart < 2 ? 0 : nStart - 1;
    m_start.SetTime((short)nStart);
    ApplyEndRuleToFields();
}

void CAppointmentDialog::OnEndTimeSpin(short nDirection)
{
    int nEnd = m_end.GetTime();
    if (nDirection == 0)
        nEnd = nEnd + 1 > kLastMinute ? kLastMinute : nEnd + 1;
    else
        nEnd = nEnd < 2 ? 0 : nEnd - 1;
    m_end.SetTime((short)nEnd);
    const int nStart = m_start.GetTime();
    if (nStart >= nEnd) {
        const int nNewStart = nEnd - GetTimeUnit();
        m_start.SetTime((short)(nNewStart < 0 ? 0 : nNewStart));
    }
}

void CAppointmentDialog::OnStartTimeChange() { ApplyEndRuleToFields(); }

void CAppointmentDialog::OnAllDay()
{
    UpdateData(TRUE);
    m_start.EnableWindow(!m_bAllDay);
    m_end.EnableWindow(!m_bAllDay);
    if (m_bAllDay)
        ShowTimes(0, kLastMinute);
}

void CAppointmentDialog::OnReminderClicked() { UpdateData(TRUE); }

void CAppointmentDialog::OnSeriesClicked()
{
    UpdateData(TRUE);
    if (CWnd* pType = GetDlgItem(IDC_APPT_SERIES_TYPE))
        pType->EnableWindow(m_bSeries);
    if (CWnd* pConflicts = GetDlgItem(IDC_APPT_CONFLICTS))
        pConflicts->EnableWindow(!m_bSeries);
    m_copy.m_bSeries = m_bSeries;
    if (m_bSeries)
        OnSeriesType();
}

int CAppointmentDialog::RunRecurrenceDialog(CDataSerienTermin&, BOOL) { return IDCANCEL; }

void CAppointmentDialog::OnSeriesType()
{
    CDataSerienTermin series = m_copy.m_pattern;
    series.m_nPatternStart = m_date.GetDate();
    series.m_nStartTime = m_start.GetTime();
    series.m_nEndTime = m_end.GetTime();
    UpdateData(TRUE);
    if (RunRecurrenceDialog(series, m_bAllDay) != IDOK)
        return;
    m_copy.m_pattern = series;
    m_copy.m_strSubject = m_strSubject;
    m_copy.m_strParticipants = m_strPartner;
    m_copy.m_strPlace = m_strPlace;
    GetNotesRtf(m_copy.m_strNotes);
    m_copy.m_bSeries = m_bSeries;
    LoadFromRecord();
}

// ---- OK --------------------------------------------------------------------------------------------

void CAppointmentDialog::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    CAppSettings* pSettings = Settings();
    if (!m_bNew && !m_bRemind && pSettings != NULL && pSettings->m_bDefRemind)
        MfxMessageBoxAutoId(IDS_REMINDER_OFF_WARNING, -2, MB_ICONEXCLAMATION, this, -1, "WRNREMIND");

    // Text past the editor's limit that the platform's rich edit let in is not stored.
    if (m_notes.GetTextLength() > kNotesLimit) {
        // (Wine's rich edit deletes nothing while its text is over the limit: the text within the
        // limit is put back as plain text.)
        const CString strKept = m_notes.GetTextRange(0, kNotesLimit);
        m_notes.LimitText(0x7FFFFFFE);
        m_notes.SetWindowText(strKept);
        m_notes.LimitText(kNotesLimit);
    }
    GetNotesRtf(m_strNotesRtf);

    // Everything goes into a copy of the copy first: the dialog's copy and the caller's record
    // change only when every check passed.
    CDataAppointment result = m_copy;
    result.m_bSeries = m_bSeries;
    result.m_strSubject = m_strSubject;
    result.m_strParticipants = m_strPartner;
    result.m_strPlace = m_strPlace;
    result.m_strNotes = m_strNotesRtf;
    result.m_bPrivate = m_bPrivate;
    result.m_bRemind = m_bRemind;
    result.m_strChangedBy = GetCurrentUser();
    result.m_dtChanged = COleDateTime::GetCurrentTime();
    const int nUnitSel = m_leadUnit.GetCurSel();
    result.m_nRemindSpan = (LONG)(nUnitSel >= 0 ? m_leadUnit.GetItemData(nUnitSel) : 1) * (LONG)m_nLead;

    if (m_actionCombo.m_hWnd != NULL && m_actionCombo.GetCurSel() >= 0) {
        if (CLinkedAction* pAction = GetSelectedAction()) {
            result.m_action.m_nActionType = IsDlgButtonChecked(IDC_APPT_RUN_MANUAL) ? 1 : 0;
            result.m_action.m_strName = pAction->m_strId;
            if (!pAction->m_bAskForData && !pAction->m_bBinaryData && GetDlgItem(IDC_APPT_PARAM) != NULL)
                GetDlgItemText(IDC_APPT_PARAM, result.m_action.m_strParameter);
        } else {
            result.m_action.m_strName.Empty();
            result.m_action.m_strParameter.Empty();
        }
    }

    if (m_date.m_hWnd != NULL) {
        const long nDate = m_date.GetDate();
        if (nDate < 0) {
            m_date.SetFocus();
            Box(this, IDS_INVALID_DATE);
            return;
        }
        result.m_pattern.m_nPatternStart = nDate;
    }
    if (m_start.m_hWnd != NULL)
        result.m_pattern.m_nStartTime = m_start.GetTime();
    if (m_end.m_hWnd != NULL)
        result.m_pattern.m_nEndTime = m_end.GetTime();
    if (!result.m_bSeries)
        result.m_pattern.m_nPatternEnd = result.m_pattern.m_nPatternStart;
    if (!m_bNew && result.m_bRemind && result.m_strStatus == "N")
        result.m_strStatus = "C";
    if (!m_bNew && result.m_bSeries)
        result.m_dtNextOccurrence.SetStatus(COleDateTime::null);

    CStringList users;
    GetSelectedUsers(users);
    if (m_bNew && users.IsEmpty()) {
        Box(this, IDS_NO_USER_CHOSEN);
        return;
    }
    if (result.m_bSeries && !result.m_pattern.m_bNoEnd && !result.m_pattern.m_bDefaultEnd &&
        result.m_pattern.m_nPatternStart >= result.m_pattern.m_nPatternEnd) {
        Box(this, IDS_SERIES_END_BEFORE_START);
        OnSeriesType();
        return;
    }
    if (!result.m_bTodo && result.m_pattern.m_nStartTime >= result.m_pattern.m_nEndTime) {
        Box(this, IDS_END_BEFORE_START);
        m_end.SetFocus();
        return;
    }
    const CString strCurrent = GetCurrentUser();
    if ((GetRights() & CDataController::kRightReserved) == 0 && !result.m_action.m_strName.IsEmpty() &&
        (users.GetCount() > 1 || (users.GetCount() == 1 && users.GetHead() != strCurrent))) {
        Box(this, IDS_NO_RIGHT_FOR_ACTIONS);
        return;
    }

    m_copy = result;
    if (m_pRecord != NULL)
        *m_pRecord = m_copy;
    m_selectedUsers.RemoveAll();
    m_selectedUsers.AddTail(&users);
    m_subjectCombo.SaveHistory(TRUE);
    if (m_placeCombo.m_hWnd != NULL)
        m_placeCombo.SaveHistory(TRUE);
    if (m_partnerCombo.m_hWnd != NULL)
        m_partnerCombo.SaveHistory(TRUE);
    CDialog::OnOK();
}

// ---- the buttons -----------------------------------------------------------------------------------

void CAppointmentDialog::OnConflictCheck()
{
    const int nStart = m_start.GetTime();
    const int nEnd = m_end.GetTime();
    const long nDate = m_date.GetDate();
    CStringList users;
    GetSelectedUsers(users);
    if (users.IsEmpty()) {
        Box(this, IDS_NO_USER_CHOSEN);
        return;
    }
    CDataController* pController = GetController();
    if (pController == NULL)
        return;
    const CString strFilterUser = pController->GetFilterUser();
    if (!strFilterUser.IsEmpty() && (users.GetCount() > 1 || users.GetHead() != strFilterUser)) {
        Box(this, IDS_CONFLICT_FILTER_USER);
        return;
    }
    CStringList result;
    int nFound;
    {
        CMfxWaitCursor wait;
        nFound = pController->ListTimeConflicts(nDate, nStart, nEnd, TRUE, FALSE, users, result);
    }
    if (nFound < 0)
        return; // the controller has told the user why
    // The first row that is not the edited entry itself.
    CString strRow;
    for (POSITION pos = result.GetHeadPosition(); pos != NULL;) {
        const CString strLine = result.GetNext(pos);
        CString strId;
        AfxExtractSubString(strId, strLine, 4, '\t');
        if (!m_bNew && atol(strId) == atol(m_copy.m_strRecordId))
            continue;
        strRow = strLine;
        break;
    }
    if (nFound == 1 || strRow.IsEmpty()) {
        Box(this, IDS_NO_CONFLICTS, MB_ICONINFORMATION);
        return;
    }
    CString strSubject, strPartner, strPlace, strUser, strTimes;
    AfxExtractSubString(strSubject, strRow, 0, '\t');
    AfxExtractSubString(strPartner, strRow, 1, '\t');
    AfxExtractSubString(strPlace, strRow, 2, '\t');
    AfxExtractSubString(strUser, strRow, 3, '\t');
    AfxExtractSubString(strTimes, strRow, 5, '\t');
    CString strText = "Uhrzeit: " + strTimes + " Uhr\nBetreff: " + strSubject + "\n";
    if (!strPartner.IsEmpty())
        strText += "Mit: " + strPartner + "\n";
    if (!strPlace.IsEmpty())
        strText += "Ort: " + strPlace + "\n";
    strText += "Benutzer: " + strUser + "\n";
    CString strFormat, strMessage;
    strFormat.LoadString(IDS_CONFLICT_FOUND);
    strMessage.Format(strFormat, (LPCTSTR)strText);
    MfxMessageBoxText(strMessage, -2, MB_ICONEXCLAMATION, this);
}

void CAppointmentDialog::OnGoToRecord()
{
    CDataController* pController = GetController();
    if (pController != NULL && !m_copy.m_strRecordId.IsEmpty())
        pController->GoToLinkedRecord(m_copy.m_strRecordId);
}

// Cards cannot be printed yet: the button stays disabled.
void CAppointmentDialog::OnPrintCard() {}

void CAppointmentDialog::OnDeleteEntry()
{
    if (Box(this, 41003, MB_YESNO | MB_ICONQUESTION) == IDYES)
        EndDialog(kDeleteResult);
}

void CAppointmentDialog::OnHelpClicked() { OnHelpButton(m_nIDHelp); }

void CAppointmentDialog::OnDestroy()
{
    m_windowPos.SaveWindowPos(this, m_strPosSuffix);
    if (m_nFormatTimer != 0)
        KillTimer(m_nFormatTimer);
    delete m_pUserList;
    m_pUserList = NULL;
    if (m_actionCombo.m_hWnd != NULL)
        m_actionCombo.SendMessage(CBEM_SETIMAGELIST, 0, 0);
    delete m_pActionImages;
    m_pActionImages = NULL;
    CountDialogClosed();
    CMfxSizableDialog::OnDestroy();
}
