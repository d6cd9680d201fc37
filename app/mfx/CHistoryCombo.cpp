#include "CHistoryCombo.h"

namespace {

void TrimSpaces(CString& text)
{
    text.TrimLeft(' ');
    text.TrimRight(' ');
}

CString Key(const CString& prefix, int n)
{
    CString key;
    key.Format("%s%d", (LPCTSTR)prefix, n);
    return key;
}

} // namespace

CHistoryCombo::CHistoryCombo() : m_nMaxHistory(20), m_bRememberLast(1) {}

BOOL CHistoryCombo::PreCreateWindow(CREATESTRUCT& cs) { return CComboBox::PreCreateWindow(cs); }

CString CHistoryCombo::LastValueKey() const
{
    if (!m_strLastKey.IsEmpty())
        return m_strLastKey;
    if (!m_strKeyPrefix.IsEmpty())
        return m_strKeyPrefix;
    return "Last";
}

CString CHistoryCombo::LoadHistory(LPCTSTR lpszSection, LPCTSTR lpszKeyPrefix, BOOL bRememberLast, LPCTSTR lpszLastKey)
{
    if (lpszSection == NULL || *lpszSection == '\0' || lpszKeyPrefix == NULL)
        return CString();
    m_strSection = lpszSection;
    m_strKeyPrefix = lpszKeyPrefix;
    m_strLastKey = lpszLastKey != NULL ? lpszLastKey : "";
    m_bRememberLast = bRememberLast;

    CWinApp* pApp = AfxGetApp();
    if (pApp == NULL)
        return CString();
    CString value;
    for (int n = 0;; ++n) {
        value = pApp->GetProfileString(m_strSection, Key(m_strKeyPrefix, n));
        if (value.IsEmpty())
            break;
        AddString(value);
    }
    if (!m_bRememberLast)
        return value;
    value = pApp->GetProfileString(m_strSection, LastValueKey());
    if (!value.IsEmpty()) {
        int nIndex = FindExact(-1, value);
        if (nIndex >= 0)
            SetCurSel(nIndex);
        else if (GetStyle() & CBS_DROPDOWN)
            SetWindowText(value);
    }
    return value;
}

int CHistoryCombo::AddToHistory(LPCTSTR lpszText)
{
    if (m_strSection.IsEmpty() || m_strKeyPrefix.IsEmpty())
        return AddString(lpszText);
    CString text = lpszText;
    TrimSpaces(text);
    int nIndex = InsertString(0, text);
    int nOlder = FindExact(1, text);
    if (nOlder > 0)
        DeleteString((UINT)nOlder);
    SetCurSel(nIndex);
    return nIndex;
}

void CHistoryCombo::SaveHistory(BOOL bAddCurrentText)
{
    if (m_strSection.IsEmpty())
        return;
    if (bAddCurrentText) {
        CString text;
        GetWindowText(text);
        TrimSpaces(text);
        if (!text.IsEmpty() && FindExact(-1, text) < 0)
            AddToHistory(text);
    }
    CWinApp* pApp = AfxGetApp();
    if (pApp == NULL)
        return;
    int nCount = GetCount();
    if (nCount > m_nMaxHistory + 1)
        nCount = m_nMaxHistory + 1;
    for (int n = 0; n < nCount; ++n) {
        CString text;
        GetLBText(n, text);
        pApp->WriteProfileString(m_strSection, Key(m_strKeyPrefix, n), text);
    }
    if (m_bRememberLast) {
        CString text;
        GetWindowText(text);
        pApp->WriteProfileString(m_strSection, LastValueKey(), text);
    }
}

int CHistoryCombo::FindExact(int nStart, LPCTSTR lpszText) const
{
    const int nCount = GetCount();
    CString entry;
    for (int i = nStart < 0 ? 0 : nStart; i < nCount; ++i) {
        GetLBText(i, entry);
        if (entry == lpszText)
            return i;
    }
    return -1;
}
