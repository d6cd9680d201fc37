#include "AfxWindowLayer.h"

#include <errno.h>
#include <stdio.h>
#include <stdlib.h>

CDataExchange::CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
    : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd), m_hWndLastControl(NULL), m_bEditLastControl(FALSE),
      m_hWndBoxOwnerOuter(AfxGetThreadState()->m_hWndBoxOwner)
{
    // (m_hWnd read after the NULL test, not through GetSafeHwnd)
    HWND hWndDlg = pDlgWnd != NULL ? pDlgWnd->m_hWnd : NULL;
    if (hWndDlg != NULL)
        AfxGetThreadState()->m_hWndBoxOwner = AfxGetSafeOwner(pDlgWnd);
}

CDataExchange::~CDataExchange() { AfxGetThreadState()->m_hWndBoxOwner = m_hWndBoxOwnerOuter; }

HWND CDataExchange::PrepareCtrl(int nIDC)
{
    HWND hWndCtrl = NULL;
    m_pDlgWnd->GetDlgItem(nIDC, &hWndCtrl);
    if (hWndCtrl == NULL) {
        TRACE("No control with id %d in the dialog.\n", nIDC);
        AfxThrowNotSupportedException();
    }
    m_hWndLastControl = hWndCtrl;
    m_bEditLastControl = FALSE;
    return hWndCtrl;
}

HWND CDataExchange::PrepareEditCtrl(int nIDC)
{
    HWND hWndCtrl = PrepareCtrl(nIDC);
    m_bEditLastControl = TRUE;
    return hWndCtrl;
}

void CDataExchange::Fail()
{
    if (!m_bSaveAndValidate) {
        TRACE("A value cannot be shown in the dialog.\n");
    } else if (m_hWndLastControl != NULL) {
        // the user corrects the value where it was typed
        ::SetFocus(m_hWndLastControl);
        if (m_bEditLastControl)
            ::SendMessageA(m_hWndLastControl, EM_SETSEL, 0, -1);
    }
    AfxThrowUserException();
}

namespace {

CString GetControlText(HWND hWndCtrl)
{
    CString str;
    int nLen = ::GetWindowTextLengthA(hWndCtrl);
    int nCopied = ::GetWindowTextA(hWndCtrl, str.GetBuffer(nLen), nLen + 1);
    str.ReleaseBuffer(nCopied);
    return str;
}

// Reads a whole number (blanks around it allowed); FALSE when the text is none or out of range.
BOOL ParseSigned(const CString& str, long long nMin, long long nMax, long long& nValue)
{
    const char* psz = str;
    char* pEnd = NULL;
    errno = 0;
    long long n = strtoll(psz, &pEnd, 10);
    if (pEnd == psz || errno == ERANGE)
        return FALSE;
    while (*pEnd == ' ' || *pEnd == '\t')
        ++pEnd;
    if (*pEnd != '\0' || n < nMin || n > nMax)
        return FALSE;
    nValue = n;
    return TRUE;
}

BOOL ParseUnsigned(const CString& str, unsigned long long nMax, unsigned long long& nValue)
{
    const char* psz = str;
    while (*psz == ' ' || *psz == '\t')
        ++psz;
    if (*psz < '0' || *psz > '9')
        return FALSE; // no sign: a negative number is not an unsigned one
    char* pEnd = NULL;
    errno = 0;
    unsigned long long n = strtoull(psz, &pEnd, 10);
    if (errno == ERANGE)
        return FALSE;
    while (*pEnd == ' ' || *pEnd == '\t')
        ++pEnd;
    if (*pEnd != '\0' || n > nMax)
        return FALSE;
    nValue = n;
    return TRUE;
}

void TextSigned(CDataExchange* pDX, int nIDC, long long& value, long long nMin, long long nMax, UINT nIDPrompt)
{
    HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        long long n = 0;
        if (!ParseSigned(GetControlText(hWndCtrl), nMin, nMax, n)) {
            AfxMessageBox(nIDPrompt);
            pDX->Fail();
        }
        value = n;
    } else {
        char szText[32];
        snprintf(szText, sizeof(szText), "%lld", value);
        ::SetWindowTextA(hWndCtrl, szText);
    }
}

void TextUnsigned(CDataExchange* pDX, int nIDC, unsigned long long& value, unsigned long long nMax, UINT nIDPrompt)
{
    HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        unsigned long long n = 0;
        if (!ParseUnsigned(GetControlText(hWndCtrl), nMax, n)) {
            AfxMessageBox(nIDPrompt);
            pDX->Fail();
        }
        value = n;
    } else {
        char szText[32];
        snprintf(szText, sizeof(szText), "%llu", value);
        ::SetWindowTextA(hWndCtrl, szText);
    }
}

template <class T> void FailMinMax(CDataExchange* pDX, T minVal, T maxVal, LPCTSTR lpszFormat, UINT nIDPrompt)
{
    if (!pDX->m_bSaveAndValidate)
        return; // values are checked only on their way from the controls
    char szMin[32];
    char szMax[32];
    snprintf(szMin, sizeof(szMin), lpszFormat, minVal);
    snprintf(szMax, sizeof(szMax), lpszFormat, maxVal);
    CString strPrompt;
    AfxFormatString2(strPrompt, nIDPrompt, szMin, szMax);
    AfxMessageBox(strPrompt, MB_ICONEXCLAMATION, nIDPrompt);
    pDX->Fail();
}

} // namespace

void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, CString& value)
{
    HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = GetControlText(hWndCtrl);
    else
        ::SetWindowTextA(hWndCtrl, value);
}

void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, int& value)
{
    long long n = value;
    TextSigned(pDX, nIDC, n, INT_MIN, INT_MAX, AFX_IDP_PARSE_INT);
    value = (int)n;
}

void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, long& value)
{
    long long n = value;
    TextSigned(pDX, nIDC, n, LONG_MIN, LONG_MAX, AFX_IDP_PARSE_INT);
    value = (long)n;
}

void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, short& value)
{
    long long n = value;
    TextSigned(pDX, nIDC, n, SHRT_MIN, SHRT_MAX, AFX_IDP_PARSE_INT);
    value = (short)n;
}

void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, UINT& value)
{
    unsigned long long n = value;
    TextUnsigned(pDX, nIDC, n, UINT_MAX, AFX_IDP_PARSE_UINT);
    value = (UINT)n;
}

void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, DWORD& value)
{
    unsigned long long n = value;
    TextUnsigned(pDX, nIDC, n, 0xFFFFFFFFu, AFX_IDP_PARSE_UINT);
    value = (DWORD)n;
}

void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, BYTE& value)
{
    unsigned long long n = value;
    TextUnsigned(pDX, nIDC, n, 255, AFX_IDP_PARSE_BYTE);
    value = (BYTE)n;
}

void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, double& value)
{
    HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        CString str = GetControlText(hWndCtrl);
        const char* psz = str;
        char* pEnd = NULL;
        double d = strtod(psz, &pEnd);
        while (pEnd != NULL && (*pEnd == ' ' || *pEnd == '\t'))
            ++pEnd;
        if (pEnd == psz || *pEnd != '\0') {
            AfxMessageBox(AFX_IDP_PARSE_REAL);
            pDX->Fail();
        }
        value = d;
    } else {
        char szText[64];
        snprintf(szText, sizeof(szText), "%.15g", value);
        ::SetWindowTextA(hWndCtrl, szText);
    }
}

void AFXAPI DDX_Check(CDataExchange* pDX, int nIDC, int& value)
{
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = (int)::SendMessageA(hWndCtrl, BM_GETCHECK, 0, 0);
    else
        ::SendMessageA(hWndCtrl, BM_SETCHECK, (WPARAM)(value >= 0 && value <= 2 ? value : 0), 0);
}

void AFXAPI DDX_Radio(CDataExchange* pDX, int nIDC, int& value)
{
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = -1;
    // the buttons of the group: from the first one up to the next WS_GROUP
    int iButton = 0;
    do {
        if (::SendMessageA(hWndCtrl, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) {
            if (pDX->m_bSaveAndValidate) {
                if (::SendMessageA(hWndCtrl, BM_GETCHECK, 0, 0) != 0)
                    value = iButton;
            } else {
                ::SendMessageA(hWndCtrl, BM_SETCHECK, iButton == value, 0);
            }
            iButton++;
        }
        hWndCtrl = ::GetWindow(hWndCtrl, GW_HWNDNEXT);
    } while (hWndCtrl != NULL && !(::GetWindowLongA(hWndCtrl, GWL_STYLE) & WS_GROUP));
}

void AFXAPI DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index)
{
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        index = (int)::SendMessageA(hWndCtrl, CB_GETCURSEL, 0, 0);
    else
        ::SendMessageA(hWndCtrl, CB_SETCURSEL, (WPARAM)index, 0);
}

void AFXAPI DDX_CBString(CDataExchange* pDX, int nIDC, CString& value)
{
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        value = GetControlText(hWndCtrl);
    } else {
        // select the first item that starts with the text; else the text itself (drop-down combos)
        if (::SendMessageA(hWndCtrl, CB_SELECTSTRING, (WPARAM)-1, (LPARAM)(LPCTSTR)value) == CB_ERR)
            ::SetWindowTextA(hWndCtrl, value);
    }
}

void AFXAPI DDX_LBIndex(CDataExchange* pDX, int nIDC, int& index)
{
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        index = (int)::SendMessageA(hWndCtrl, LB_GETCURSEL, 0, 0);
    else
        ::SendMessageA(hWndCtrl, LB_SETCURSEL, (WPARAM)index, 0);
}

void AFXAPI DDX_LBString(CDataExchange* pDX, int nIDC, CString& value)
{
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        int nIndex = (int)::SendMessageA(hWndCtrl, LB_GETCURSEL, 0, 0);
        value.Empty();
        if (nIndex != LB_ERR) {
            int nLen = (int)::SendMessageA(hWndCtrl, LB_GETTEXTLEN, (WPARAM)nIndex, 0);
            ::SendMessageA(hWndCtrl, LB_GETTEXT, (WPARAM)nIndex, (LPARAM)value.GetBuffer(nLen));
            value.ReleaseBuffer();
        }
    } else {
        // the first item that begins with the value (without regard to case); none when no
        // item does (the list box would keep its old selection)
        if (::SendMessageA(hWndCtrl, LB_SELECTSTRING, (WPARAM)-1, (LPARAM)(LPCTSTR)value) == LB_ERR)
            ::SendMessageA(hWndCtrl, LB_SETCURSEL, (WPARAM)-1, 0);
    }
}

void AFXAPI DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl)
{
    if (rControl.m_hWnd != NULL)
        return;
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (!rControl.SubclassWindow(hWndCtrl))
        AfxThrowNotSupportedException();
}

void AFXAPI DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars)
{
    if (pDX->m_bSaveAndValidate && value.GetLength() > nChars) {
        char szChars[16];
        snprintf(szChars, sizeof(szChars), "%d", nChars);
        CString strPrompt;
        AfxFormatString1(strPrompt, AFX_IDP_PARSE_STRING_SIZE, szChars);
        AfxMessageBox(strPrompt, MB_ICONEXCLAMATION, AFX_IDP_PARSE_STRING_SIZE);
        pDX->Fail();
    } else if (!pDX->m_bSaveAndValidate && pDX->m_hWndLastControl != NULL && pDX->m_bEditLastControl) {
        // the edit control takes no more than that
        ::SendMessageA(pDX->m_hWndLastControl, EM_LIMITTEXT, (WPARAM)nChars, 0);
    }
}

void AFXAPI DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal)
{
    if (value < minVal || value > maxVal)
        FailMinMax<long>(pDX, minVal, maxVal, "%ld", AFX_IDP_PARSE_INT_RANGE);
}

void AFXAPI DDV_MinMaxLong(CDataExchange* pDX, long value, long minVal, long maxVal)
{
    if (value < minVal || value > maxVal)
        FailMinMax<long>(pDX, minVal, maxVal, "%ld", AFX_IDP_PARSE_INT_RANGE);
}

void AFXAPI DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal)
{
    if (value < minVal || value > maxVal)
        FailMinMax<unsigned long>(pDX, minVal, maxVal, "%lu", AFX_IDP_PARSE_INT_RANGE);
}

void AFXAPI DDV_MinMaxDWord(CDataExchange* pDX, DWORD value, DWORD minVal, DWORD maxVal)
{
    if (value < minVal || value > maxVal)
        FailMinMax<unsigned long>(pDX, minVal, maxVal, "%lu", AFX_IDP_PARSE_INT_RANGE);
}

void AFXAPI DDV_MinMaxByte(CDataExchange* pDX, BYTE value, BYTE minVal, BYTE maxVal)
{
    if (value < minVal || value > maxVal)
        FailMinMax<unsigned int>(pDX, minVal, maxVal, "%u", AFX_IDP_PARSE_INT_RANGE);
}

void AFXAPI DDV_MinMaxDouble(CDataExchange* pDX, const double& value, double minVal, double maxVal)
{
    if (value < minVal || value > maxVal)
        FailMinMax<double>(pDX, minVal, maxVal, "%g", AFX_IDP_PARSE_REAL_RANGE);
}
