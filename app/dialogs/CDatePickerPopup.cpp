#include "CDatePickerPopup.h"

#include "DialogsResource.h"
#include "qzcontrols.h"

namespace {

// Days the calendar can show: 01.01.1900 .. 31.12.2199 (the date fields' latest date).
const long kLatestDay = QZ_DEDIT_DEFAULT_MAXDATE;

CString Text(UINT nID)
{
    CString str;
    str.LoadString(nID);
    return str;
}

} // namespace

HHOOK CDatePickerPopup::s_hHook = NULL;
HWND CDatePickerPopup::s_hWndPopup = NULL;
CDatePickerPopup* CDatePickerPopup::s_pPopup = NULL;

BEGIN_EVENTSINK_MAP(CDatePickerPopup, CDialog)
    ON_EVENT(CDatePickerPopup, IDC_POPUP_MONTH, QZ_EV_KEYPRESS, OnMonthKeyPress, VTS_PI2)
    ON_EVENT(CDatePickerPopup, IDC_POPUP_MONTH, QZ_MONTH_EV_DAYCLICKED, OnMonthDayClick, VTS_PI2)
    ON_EVENT(CDatePickerPopup, IDC_POPUP_MONTH, QZ_EV_KEYDOWN, OnMonthKeyDown, VTS_PI2 VTS_I2)
END_EVENTSINK_MAP()

CDatePickerPopup::CDatePickerPopup(CWnd* pParent, long nDay, int x, int y)
    : CDialog(IDD_DATE_PICKER_POPUP, pParent), m_nDay(nDay), m_x(x), m_y(y)
{
}

void CDatePickerPopup::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_POPUP_MONTH, m_month);
}

INT_PTR CDatePickerPopup::DoModal()
{
    INT_PTR nResult = CDialog::DoModal();
    if (nResult == -1) {
        CString strText;
        strText.Format(Text(IDS_CONTROL_NOT_LOADED), QZ_MONTH_DLL);
        AfxMessageBox(strText, MB_OK | MB_ICONSTOP);
    }
    return nResult;
}

BOOL CDatePickerPopup::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (m_nDay != 0)
        m_month.SetDate(m_nDay < 0 ? 0 : m_nDay > kLatestDay ? kLatestDay : m_nDay);
    else
        m_month.SelectToday();
    SetWindowPos(NULL, m_x, m_y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOOWNERZORDER);
    m_month.SetFocus();
    m_month.SetOption55(FALSE);
    m_month.SetOption67(4);

    CString strMonths;
    strMonths.Format("%s,%s,%s,%s,%s,%s,%s,%s,%s,%s,%s,%s", (LPCTSTR)Text(6020), (LPCTSTR)Text(6021),
                     (LPCTSTR)Text(6022), (LPCTSTR)Text(6023), (LPCTSTR)Text(6024), (LPCTSTR)Text(6025),
                     (LPCTSTR)Text(6026), (LPCTSTR)Text(6027), (LPCTSTR)Text(6028), (LPCTSTR)Text(6029),
                     (LPCTSTR)Text(6030), (LPCTSTR)Text(6031));
    m_month.SetMonthNames(strMonths);
    CString strDays;
    strDays.Format("%s,%s,%s,%s,%s,%s,%s", (LPCTSTR)Text(6053).Left(1), (LPCTSTR)Text(6047).Left(1),
                   (LPCTSTR)Text(6048).Left(1), (LPCTSTR)Text(6049).Left(1), (LPCTSTR)Text(6050).Left(1),
                   (LPCTSTR)Text(6051).Left(1), (LPCTSTR)Text(6052).Left(1));
    m_month.SetDayNames(strDays);

    s_hWndPopup = m_hWnd;
    s_pPopup = this;
    if (s_hHook == NULL)
        s_hHook = ::SetWindowsHookExA(WH_MOUSE, &CDatePickerPopup::PopupMouseHook, NULL, ::GetCurrentThreadId());
    return FALSE; // the focus is on the calendar
}

BOOL CDatePickerPopup::DestroyWindow()
{
    if (s_hHook != NULL && ::UnhookWindowsHookEx(s_hHook))
        s_hHook = NULL;
    if (s_pPopup == this) {
        s_hWndPopup = NULL;
        s_pPopup = NULL;
    }
    return CDialog::DestroyWindow();
}

void CDatePickerPopup::OnMonthKeyPress(short*)
{
    m_nDay = m_month.GetDate();
    EndDialog(IDOK);
}

void CDatePickerPopup::OnMonthDayClick(short* pDay)
{
    if (*pDay < 1 || *pDay > 31)
        return;
    m_nDay = m_month.GetDate();
    EndDialog(IDOK);
}

void CDatePickerPopup::OnMonthKeyDown(short* pKey, short)
{
    if (*pKey == 13 || *pKey == 32)
        m_nDay = m_month.GetDate();
}

LRESULT CALLBACK CDatePickerPopup::PopupMouseHook(int nCode, WPARAM wParam, LPARAM lParam)
{
    if (nCode >= 0 && s_hWndPopup != NULL && s_pPopup != NULL) {
        switch (wParam) {
        case WM_NCLBUTTONDOWN:
        case WM_NCRBUTTONDOWN:
        case WM_NCMBUTTONDOWN:
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN: {
            HWND hTarget = ((const MOUSEHOOKSTRUCT*)lParam)->hwnd;
            if (hTarget != s_hWndPopup && !::IsChild(s_hWndPopup, hTarget))
                s_pPopup->EndDialog(IDCANCEL);
            break;
        }
        }
    }
    return ::CallNextHookEx(NULL, nCode, wParam, lParam);
}
