// The appointment dialog's pages ("Termin", "Aktionen", "Benutzer") and its notes editor with the
// font lists of the format bar.
#include "CAppointmentDialog.h"

#include "AppointmentResource.h"
#include "BrowseForFileName.h"
#include "CAppSettings.h"
#include "CDataApplication.h"
#include "CDataController.h"
#include "CLinkedAction.h"
#include "CLinkedApplication.h"
#include "CMfxString.h"
#include "CMfxWaitCursor.h"
#include "MfxText.h"

namespace {

// The controls of each page.
const int kAppointmentPage[] = {1055, 1015, 1048, 1013, 1014, 1056, 1046, 1042, 1070, 1041, 1068, 1059, 1054, 1044};
const int kActionsPage[] = {1060, 1051, 1077, 1078, 41, 1084, 1082, 1083};
const int kNewUsersPage[] = {1080, 2190, 2189, 1071};

// The resource marker of the users page: "[®name]".
const char kResourceMark = (char)0xAE;
// The picture of the item without action, and the highest picture an action may name.
const int kNoActionPicture = 112;
const int kDefaultActionIcon = 102;
const int kMaxActionPicture = 10000;

CString ResourceRow(const CString& strName)
{
    CString strRow;
    strRow.Format("[%c%s]", kResourceMark, (LPCTSTR)strName);
    return strRow;
}

CString FormatInfoDate(const COleDateTime& date)
{
    if (date.GetStatus() != COleDateTime::valid)
        return CString();
    CString strFormat;
    strFormat.LoadString(IDS_INFO_DATE_FORMAT);
    return date.Format(strFormat);
}

// The rich edit's stream callbacks: in, from the front of a working copy; out, appended.
struct CStreamSource {
    const char* pNext;
    LONG nLeft;
};

DWORD CALLBACK StreamIn(DWORD_PTR dwCookie, LPBYTE pbBuff, LONG cb, LONG* pcb)
{
    CStreamSource* pSource = (CStreamSource*)dwCookie;
    const LONG n = cb < pSource->nLeft ? cb : pSource->nLeft;
    memcpy(pbBuff, pSource->pNext, n);
    pSource->pNext += n;
    pSource->nLeft -= n;
    *pcb = n;
    return 0;
}

DWORD CALLBACK StreamOut(DWORD_PTR dwCookie, LPBYTE pbBuff, LONG cb, LONG* pcb)
{
    CString* pText = (CString*)dwCookie;
    *pText += CString((LPCSTR)pbBuff, cb);
    *pcb = cb;
    return 0;
}

} // namespace

// ---- the tab pages ---------------------------------------------------------------------------------

void CAppointmentDialog::InitTabs()
{
    m_tabs.DeleteAllItems();
    const UINT pages[] = {IDS_TAB_APPOINTMENT, IDS_TAB_ACTIONS, IDS_TAB_USERS};
    for (int i = 0; i < 3; ++i) {
        CString strName, strTab;
        strName.LoadString(pages[i]);
        strTab.Format("  %s  ", (LPCTSTR)strName);
        m_tabs.InsertItem(i, strTab);
    }
    m_tabs.SetCurSel(0);
    OnTabSelChanged();
}

void CAppointmentDialog::OnTabSelChange(NMHDR*, LRESULT* pResult)
{
    OnTabSelChanged();
    *pResult = 0;
}

LRESULT CAppointmentDialog::OnToolkitTabSelChange(WPARAM wParam, LPARAM)
{
    if ((int)wParam == IDC_APPT_TABS)
        OnTabSelChanged();
    return 0;
}

void CAppointmentDialog::ShowPageControls(int nPage)
{
    for (int nId : kAppointmentPage)
        if (CWnd* p = GetDlgItem(nId))
            p->ShowWindow(nPage == 0 ? SW_SHOW : SW_HIDE);
    for (int nId : kActionsPage)
        if (CWnd* p = GetDlgItem(nId))
            p->ShowWindow(nPage == 1 ? SW_SHOW : SW_HIDE);
    for (int nId : kNewUsersPage)
        if (CWnd* p = GetDlgItem(nId))
            p->ShowWindow(nPage == 2 && m_bNew ? SW_SHOW : SW_HIDE);
    if (CWnd* pInfo = GetDlgItem(IDC_APPT_INFO)) {
        if (nPage == 2 && !m_bNew)
            pInfo->SetWindowText(BuildInfoText());
        pInfo->ShowWindow(nPage == 2 && !m_bNew ? SW_SHOW : SW_HIDE);
    }
}

void CAppointmentDialog::OnTabSelChanged()
{
    const int nPage = m_tabs.m_hWnd != NULL ? m_tabs.GetCurSel() : -1;
    if (nPage < 0)
        return;
    ShowPageControls(nPage);
    if (nPage == 1) {
        const BOOL bRemind = IsDlgButtonChecked(IDC_APPT_REMIND);
        if (!bRemind)
            CheckRadioButton(IDC_APPT_RUN_AUTO, IDC_APPT_RUN_MANUAL, IDC_APPT_RUN_AUTO);
        if (CWnd* pManual = GetDlgItem(IDC_APPT_RUN_MANUAL))
            pManual->EnableWindow(bRemind);
        OnActionSelChange();
    }
}

CString CAppointmentDialog::BuildInfoText() const
{
    CString strLink;
    if (!m_copy.m_strDbPath.IsEmpty()) {
        CString strFormat;
        strFormat.LoadString(IDS_ENTRY_LINK);
        strLink.Format(strFormat, (int)m_copy.m_nDbRecId, (LPCTSTR)m_copy.m_strDbPath);
        strLink.Replace('~', ' ');
        strLink.Replace('|', ' ');
    }
    CString strFormat, strText;
    strFormat.LoadString(IDS_ENTRY_INFO);
    strText.Format(strFormat, (LPCTSTR)m_copy.m_strUser, (LPCTSTR)m_copy.m_strCreatedBy,
                   (LPCTSTR)FormatInfoDate(m_copy.m_dtCreated), (LPCTSTR)m_copy.m_strChangedBy,
                   (LPCTSTR)(FormatInfoDate(m_copy.m_dtChanged) + strLink));
    return strText;
}

// ---- the users page --------------------------------------------------------------------------------

void CAppointmentDialog::InitUsers()
{
    CWnd* pControl = GetDlgItem(IDC_APPT_USERS);
    m_pUserList = new CBrowserCheckList(pControl != NULL ? pControl->m_hWnd : NULL, m_hWnd, NULL, TRUE);

    CStringList users, resources;
    CDataApplication* pApp = CDataApplication::Get();
    if (CDataUserSource* pSource = pApp != NULL ? pApp->GetUserSource() : NULL) {
        CStringList linked;
        pSource->GetLinkedUsers(linked);
        for (POSITION pos = linked.GetHeadPosition(); pos != NULL;) {
            const CString strUser = linked.GetNext(pos);
            if (users.Find(strUser) == NULL)
                users.AddTail(strUser);
        }
        pSource->GetResourceNames(resources);
    }
    const CString strCurrent = GetCurrentUser();
    if (!strCurrent.IsEmpty() && users.Find(strCurrent) == NULL)
        users.AddTail(strCurrent);
    MfxSortStringList(users);
    MfxSortStringList(resources);
    FillUserList(users, resources);

    if (!m_bNew)
        for (int nId : {IDC_APPT_USERS, IDC_APPT_CHECK_ALL, IDC_APPT_UNCHECK_ALL})
            if (CWnd* p = GetDlgItem(nId))
                p->EnableWindow(FALSE);
}

void CAppointmentDialog::FillUserList(const CStringList& users, const CStringList& resources)
{
    CMfxWaitCursor wait;
    // The list is filled once, when the dialog opens: it starts empty.
    const CString strCurrent = GetCurrentUser();
    CString strPreselected = strCurrent;
    CAppSettings* pSettings = CDataApplication::Get() != NULL ? CDataApplication::Get()->GetSettings() : NULL;
    if (pSettings != NULL && pSettings->m_bMarkFilterUser) {
        CDataApplication* pApp = CDataApplication::Get();
        CDataUserSource* pSource = pApp != NULL ? pApp->GetUserSource() : NULL;
        const CString strFilter = pSource != NULL ? pSource->GetFilterUser() : CString();
        if (!strFilter.IsEmpty())
            strPreselected = strFilter;
    }
    const CString strResourceUser = ResourceRow(m_copy.m_strUser);
    const BOOL bOthers = (GetRights() & CDataController::kRightDelegate) != 0;
    for (POSITION pos = users.GetHeadPosition(); pos != NULL;) {
        const CString strUser = users.GetNext(pos);
        if (!bOthers && strUser != strCurrent)
            continue;
        BOOL bChecked;
        if (m_bNew)
            bChecked = strUser == strPreselected;
        else
            bChecked = strUser == m_copy.m_strUser || strUser == strResourceUser;
        m_pUserList->AddEntry(strUser, bChecked);
    }
    for (POSITION pos = resources.GetHeadPosition(); pos != NULL;) {
        const CString strResource = resources.GetNext(pos);
        const BOOL bChecked = m_bNew ? strResource == strPreselected : strResource == m_copy.m_strUser;
        m_pUserList->AddEntry(ResourceRow(strResource), bChecked);
    }
}

void CAppointmentDialog::GetSelectedUsers(CStringList& list)
{
    list.RemoveAll();
    if (m_pUserList == NULL)
        return;
    const int nCount = m_pUserList->GetEntryCount();
    for (int nRow = 0; nRow < nCount; ++nRow) {
        if (!m_pUserList->IsChecked(nRow))
            continue;
        CString strText;
        m_pUserList->GetEntryText(nRow, strText);
        strText.Remove('[');
        strText.Remove(']');
        strText.Remove(kResourceMark);
        list.AddTail(strText);
    }
}

void CAppointmentDialog::OnCheckAllUsers()
{
    if (m_pUserList != NULL)
        m_pUserList->CheckAll();
}

void CAppointmentDialog::OnUncheckAllUsers()
{
    if (m_pUserList != NULL)
        m_pUserList->UncheckAll();
}

// ---- the actions page ------------------------------------------------------------------------------

void CAppointmentDialog::InitActionImages()
{
    if (m_actionCombo.m_hWnd == NULL)
        return;
    int nHighest = kNoActionPicture;
    if (CDataController* pController = GetController()) {
        CLinkedApplicationList& apps = pController->GetLinkedApplications();
        CSingleLock lock(apps.GetLock(), TRUE);
        for (POSITION pos = apps.GetHeadPosition(); pos != NULL;) {
            CLinkedApplication* pApp = apps.GetNext(pos);
            CSingleLock actionsLock(pApp->m_actions.GetLock(), TRUE);
            for (POSITION actionPos = pApp->m_actions.GetHeadPosition(); actionPos != NULL;) {
                const int nPicture = pApp->m_actions.GetNext(actionPos)->m_nPictureId;
                // A damaged picture number gets the default picture, not an image list that large.
                if (nPicture > nHighest && nPicture <= kMaxActionPicture)
                    nHighest = nPicture;
            }
        }
    }
    m_pActionImages = new CImageList;
    m_pActionImages->Create(16, 16, ILC_COLOR8 | ILC_MASK, nHighest + 1, 2);
    m_pActionImages->SetBkColor(::GetSysColor(COLOR_WINDOW));
    HICON hDefault = m_pUserList != NULL ? m_pUserList->GetIcon(kDefaultActionIcon) : NULL;
    for (int i = 0; i <= nHighest; ++i) {
        HICON hIcon = m_pUserList != NULL ? m_pUserList->GetIcon(i) : NULL;
        m_pActionImages->Add(hIcon != NULL ? hIcon : hDefault);
    }
    m_actionCombo.SetImageList(m_pActionImages);
}

void CAppointmentDialog::FillActions()
{
    if (m_actionCombo.m_hWnd == NULL)
        return;
    const int nImages = m_pActionImages != NULL ? m_pActionImages->GetImageCount() : 0;
    CString strNone;
    strNone.LoadString(IDS_NO_ACTION);
    COMBOBOXEXITEMA item = {};
    item.mask = CBEIF_TEXT | CBEIF_IMAGE | CBEIF_SELECTEDIMAGE | CBEIF_LPARAM;
    item.iItem = 0;
    item.pszText = (LPSTR)(LPCSTR)strNone;
    item.iImage = item.iSelectedImage = kNoActionPicture;
    item.lParam = 0;
    m_actionCombo.InsertItem(&item);
    int nSelect = 0;
    if (CDataController* pController = GetController()) {
        CLinkedApplicationList& apps = pController->GetLinkedApplications();
        CSingleLock lock(apps.GetLock(), TRUE);
        for (POSITION pos = apps.GetHeadPosition(); pos != NULL;) {
            CLinkedApplication* pApp = apps.GetNext(pos);
            CSingleLock actionsLock(pApp->m_actions.GetLock(), TRUE);
            for (POSITION actionPos = pApp->m_actions.GetHeadPosition(); actionPos != NULL;) {
                CLinkedAction* pAction = pApp->m_actions.GetNext(actionPos);
                int nPicture = pAction->m_nPictureId;
                if (nPicture < 0 || nPicture >= nImages)
                    nPicture = kNoActionPicture;
                item.iItem = m_actionCombo.GetCount();
                item.pszText = (LPSTR)(LPCSTR)pAction->m_strTitle;
                item.iImage = item.iSelectedImage = nPicture;
                item.lParam = (LPARAM)pAction;
                const int nIndex = m_actionCombo.InsertItem(&item);
                if (!m_copy.m_action.m_strName.IsEmpty() && pAction->m_strId == m_copy.m_action.m_strName)
                    nSelect = nIndex;
            }
        }
    }
    m_actionCombo.SetCurSel(nSelect);
    if (nSelect > 0 && !m_copy.m_action.m_bBinary && !m_copy.m_action.m_strParameter.IsEmpty())
        SetDlgItemText(IDC_APPT_PARAM, m_copy.m_action.m_strParameter);
}

CLinkedAction* CAppointmentDialog::GetSelectedAction()
{
    const int nSel = m_actionCombo.m_hWnd != NULL ? m_actionCombo.GetCurSel() : -1;
    if (nSel < 0)
        return NULL;
    COMBOBOXEXITEMA item = {};
    item.mask = CBEIF_LPARAM;
    item.iItem = nSel;
    return m_actionCombo.GetItem(&item) ? (CLinkedAction*)item.lParam : NULL;
}

void CAppointmentDialog::OnActionSelChange()
{
    CLinkedAction* pAction = GetSelectedAction();
    const BOOL bOnPage = m_tabs.m_hWnd == NULL || m_tabs.GetCurSel() == 1;
    const BOOL bLabel = pAction != NULL && !pAction->m_strParameterLabel.IsEmpty();
    if (CWnd* pLabel = GetDlgItem(IDC_APPT_PARAM_LABEL)) {
        if (bLabel)
            pLabel->SetWindowText(pAction->m_strParameterLabel);
        pLabel->ShowWindow(bLabel && bOnPage ? SW_SHOW : SW_HIDE);
    }
    if (CWnd* pParam = GetDlgItem(IDC_APPT_PARAM))
        pParam->ShowWindow(bLabel && bOnPage ? SW_SHOW : SW_HIDE);
    if (CWnd* pBrowse = GetDlgItem(IDC_APPT_BROWSE))
        pBrowse->ShowWindow(pAction != NULL && pAction->m_bSelectButton && bOnPage ? SW_SHOW : SW_HIDE);
}

void CAppointmentDialog::OnBrowseFile()
{
    CLinkedAction* pAction = GetSelectedAction();
    CString strTitle, strFilter, strCurrent;
    strTitle.LoadString(IDS_CHOOSE_FILE_TITLE);
    if (pAction != NULL && !pAction->m_strSelectFilter.IsEmpty())
        strFilter = pAction->m_strSelectFilter;
    else
        strFilter.LoadString(6401);
    GetDlgItemText(IDC_APPT_PARAM, strCurrent);
    CString strFile;
    if (BrowseForFileName(strTitle, CMfxString(strCurrent).GetDirectory(), strFile, TRUE, strFilter, "*", 0x40001004,
                          "*.*", this) == IDOK)
        SetDlgItemText(IDC_APPT_PARAM, strFile);
}

// ---- the notes editor ------------------------------------------------------------------------------

void CAppointmentDialog::SetNotesRtf(LPCTSTR lpszText)
{
    const CString strText = lpszText != NULL ? lpszText : "";
    if (strText.IsEmpty() || strncmp(strText, "{\\rtf", 5) != 0) {
        m_notes.SetSel(0, -1);
        m_notes.ReplaceSel(strText, FALSE);
        return;
    }
    CStreamSource source = {(LPCTSTR)strText, strText.GetLength()};
    EDITSTREAM stream = {(DWORD_PTR)&source, 0, &StreamIn};
    m_notes.SendMessage(EM_STREAMIN, SF_RTF, (LPARAM)&stream);
}

void CAppointmentDialog::GetNotesRtf(CString& strRtf)
{
    strRtf.Empty();
    EDITSTREAM stream = {(DWORD_PTR)&strRtf, 0, &StreamOut};
    m_notes.SendMessage(EM_STREAMOUT, SF_RTF, (LPARAM)&stream);
}

void CAppointmentDialog::FillFontNames()
{
    if (m_fontCombo.m_hWnd == NULL)
        return;
    const int nFonts = m_fontCombo.FillFonts();
    if (nFonts <= 0) {
        m_fontCombo.EnableWindow(FALSE);
        m_sizeCombo.EnableWindow(FALSE);
        return;
    }
    m_fontCombo.SetCurSel(0);
    FillFontSizes();
}

void CAppointmentDialog::FillFontSizes()
{
    if (m_sizeCombo.m_hWnd == NULL || m_fontCombo.m_hWnd == NULL)
        return;
    CString strFace;
    const int nSel = m_fontCombo.GetCurSel();
    if (nSel >= 0)
        m_fontCombo.GetLBText(nSel, strFace);
    m_sizeCombo.FillSizes(strFace);
    const int nFound = m_strLastSize.IsEmpty() ? CB_ERR : m_sizeCombo.FindStringExact(-1, m_strLastSize);
    if (nFound != CB_ERR) {
        m_sizeCombo.SetCurSel(nFound);
    } else {
        m_sizeCombo.SetCurSel(-1);
        m_sizeCombo.SetWindowText(m_strLastSize);
    }
}

void CAppointmentDialog::UpdateFormatBar()
{
    if (m_notes.m_hWnd == NULL)
        return;
    CHARFORMATA cf = {};
    cf.dwMask = CFM_FACE | CFM_COLOR | CFM_SIZE | CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT;
    m_notes.GetSelectionCharFormat(cf);
    if (m_fontCombo.m_hWnd != NULL && m_fontCombo.SelectFont(cf.szFaceName) != CB_ERR)
        FillFontSizes();
    if (m_sizeCombo.m_hWnd != NULL)
        m_sizeCombo.SelectTwips(cf.yHeight);
    if (m_colorCombo.m_hWnd != NULL)
        m_colorCombo.SelectColor(cf.crTextColor);
}

void CAppointmentDialog::OnFontChosen()
{
    const int nSel = m_fontCombo.GetCurSel();
    if (nSel < 0)
        return;
    FillFontSizes();
    const CFontDesc* pDesc = m_fontCombo.GetFontDesc(nSel);
    if (pDesc == NULL)
        return;
    CHARFORMATA cf = {};
    cf.dwMask = CFM_FACE | CFM_CHARSET;
    lstrcpynA(cf.szFaceName, pDesc->m_strName, LF_FACESIZE);
    cf.bCharSet = pDesc->m_nCharSet;
    m_notes.SetSelectionCharFormat(cf);
}

void CAppointmentDialog::OnSizeChosen()
{
    const int nSel = m_sizeCombo.GetCurSel();
    if (nSel < 0)
        return;
    m_sizeCombo.GetLBText(nSel, m_strLastSize);
    CHARFORMATA cf = {};
    cf.dwMask = CFM_SIZE;
    cf.yHeight = atoi(m_strLastSize) * 20;
    m_notes.SetSelectionCharFormat(cf);
}

// The format bar is refreshed once, 200 ms after the selection stopped moving. Text beyond the
// limit that got in anyway (the rich edit of some platforms pastes past it) is taken out of what
// came in last, in front of the caret, so the notes never hold more than the limit.
void CAppointmentDialog::OnNotesSelChange(NMHDR*, LRESULT* pResult)
{
    *pResult = 0;
    const long nOver = m_notes.GetTextLength() - kNotesLimit;
    if (nOver > 0) {
        long nStart = 0, nEnd = 0;
        m_notes.GetSel(nStart, nEnd);
        const long nFrom = nStart - nOver > 0 ? nStart - nOver : 0;
        m_notes.SetSel(nFrom, nStart);
        m_notes.ReplaceSel("", FALSE);
    }
    if (m_nFormatTimer != 0)
        KillTimer(m_nFormatTimer);
    m_nFormatTimer = SetTimer(kFormatTimer, 200, NULL);
}

void CAppointmentDialog::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent != kFormatTimer) {
        CMfxSizableDialog::OnTimer(nIDEvent);
        return;
    }
    KillTimer(kFormatTimer);
    m_nFormatTimer = 0;
    UpdateFormatBar();
}
