#include "CAboutDlg.h"

#include <afxcoll.h>

#include "COrvexApp.h"
#include "CTestDlg.h"
#include "ShellResource.h"

BEGIN_MESSAGE_MAP(CAboutDlg, CDialog)
ON_BN_CLICKED(IDC_ABOUT_SUPPORT, OnSupport)
ON_BN_CLICKED(IDC_ABOUT_TEST, OnTestDialog)
END_MESSAGE_MAP()

CAboutDlg::CAboutDlg(CWnd* pParent) : CDialog(IDD_ABOUTBOX, pParent) {}

CString CAboutDlg::FindVersionBlock(const void* pVersionData)
{
    struct Translation {
        WORD wLanguage;
        WORD wCodePage;
    }* pTranslation = NULL;
    UINT cb = 0;
    CString strBlock;
    if (::VerQueryValueA(pVersionData, "\\VarFileInfo\\Translation", (void**)&pTranslation, &cb) && cb >= 4) {
        strBlock.Format("\\StringFileInfo\\%04x%04x", pTranslation->wLanguage, pTranslation->wCodePage);
        return strBlock;
    }
    // Without a translation: the first string table, when its name looks like one.
    const BYTE* pRoot = (const BYTE*)pVersionData;
    WORD wRootLength = *(const WORD*)pRoot;
    const BYTE* p = pRoot + ((6 + (wcslen((const wchar_t*)(pRoot + 6)) + 1) * 2 + 3) & ~3);
    p += (*(const WORD*)(pRoot + 2) + 3) & ~3; // the fixed file info
    while (p < pRoot + wRootLength) {
        WORD wLength = *(const WORD*)p;
        if (wLength == 0)
            break;
        if (wcscmp((const wchar_t*)(p + 6), L"StringFileInfo") == 0) {
            const BYTE* pTable = p + ((6 + sizeof(L"StringFileInfo") + 3) & ~3);
            if (pTable < p + wLength) {
                const wchar_t* pszName = (const wchar_t*)(pTable + 6);
                if (pszName[0] < L'A') {
                    strBlock = "\\StringFileInfo\\";
                    strBlock += CString(pszName);
                }
            }
            break;
        }
        p += (wLength + 3) & ~3;
    }
    return strBlock;
}

CString CAboutDlg::QueryVersionValue(const void* pVersionData, LPCTSTR lpszBlock, LPCTSTR lpszName)
{
    char* pszValue = NULL;
    UINT cch = 0;
    CString strPath = CString(lpszBlock) + "\\" + lpszName;
    if (lpszBlock == NULL || *lpszBlock == '\0' || !::VerQueryValueA(pVersionData, strPath, (void**)&pszValue, &cch) ||
        pszValue == NULL)
        return CString();
    return CString(pszValue);
}

BOOL CAboutDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    char szPath[MAX_PATH];
    ::GetModuleFileNameA(NULL, szPath, MAX_PATH);
    DWORD dwHandle = 0;
    DWORD cb = ::GetFileVersionInfoSizeA(szPath, &dwHandle);
    if (cb != 0) {
        CByteArray data;
        data.SetSize(cb);
        if (::GetFileVersionInfoA(szPath, 0, cb, data.GetData())) {
            CString strBlock = FindVersionBlock(data.GetData());
            CString strTemplate, strText;
            GetDlgItemText(IDC_ABOUT_VERSION, strTemplate);
            strText.Format(strTemplate, (LPCTSTR)QueryVersionValue(data.GetData(), strBlock, "ProductVersion"));
            SetDlgItemText(IDC_ABOUT_VERSION, strText);
            SetDlgItemText(IDC_ABOUT_COPYRIGHT, QueryVersionValue(data.GetData(), strBlock, "LegalCopyright"));
        }
    }
    if (!IsWindowsXPOrLater()) {
        HICON hIcon = (HICON)::LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDI_ABOUT), IMAGE_ICON, 32, 32, 0);
        SendDlgItemMessage(IDC_ABOUT_ICON, STM_SETICON, (WPARAM)hIcon, 0);
    }
    return TRUE;
}

void CAboutDlg::OnSupport()
{
    // The support information dialog comes with its own issue.
}

void CAboutDlg::OnTestDialog()
{
    CTestDlg dlg(this);
    dlg.DoModal();
}
