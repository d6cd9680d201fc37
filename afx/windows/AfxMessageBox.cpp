// Message boxes of the window layer and the formatting of prompts with placeholders.
#include "AfxWindowLayer.h"
#include "AfxLibraryText.h"

#include <string.h>

int AFXAPI AfxMessageBox(LPCTSTR lpszText, UINT nType, UINT nIDHelp)
{
    CWinApp* pApp = AfxGetApp();
    if (pApp != NULL)
        return pApp->DoMessageBox(lpszText, nType, nIDHelp);
    return CWinApp::DoMessageBoxDefault(lpszText, nType, nIDHelp);
}

int AFXAPI AfxMessageBox(UINT nIDPrompt, UINT nType, UINT nIDHelp)
{
    CString strPrompt;
    AfxLoadString(nIDPrompt, strPrompt);
    if (nIDHelp == (UINT)-1)
        nIDHelp = nIDPrompt;
    return AfxMessageBox(strPrompt, nType, nIDHelp);
}

BOOL AFXAPI AfxLoadString(UINT nIDS, CString& rString)
{
    if (rString.LoadString(nIDS))
        return TRUE;
    LPCTSTR lpszText = AfxGetLibraryPrompt(nIDS);
    rString = lpszText != NULL ? lpszText : "";
    return lpszText != NULL;
}

BOOL AFXAPI AfxExtractSubString(CString& rString, LPCTSTR lpszFullString, int iSubString, TCHAR chSep)
{
    rString.Empty();
    if (lpszFullString == NULL)
        return FALSE;
    LPCTSTR p = lpszFullString;
    for (int i = 0; i < iSubString; i++) {
        p = strchr(p, chSep);
        if (p == NULL)
            return FALSE;
        ++p;
    }
    LPCTSTR pEnd = strchr(p, chSep);
    rString = pEnd != NULL ? CString(p, (int)(pEnd - p)) : CString(p);
    return TRUE;
}

void AFXAPI AfxFormatStrings(CString& rString, LPCTSTR lpszFormat, LPCTSTR const* rglpsz, int nString)
{
    CString strResult;
    for (LPCTSTR p = lpszFormat; *p != '\0'; ++p) {
        if (p[0] == '%' && p[1] >= '1' && p[1] <= '9' && p[1] - '1' < nString) {
            LPCTSTR lpszArg = rglpsz[p[1] - '1'];
            strResult += lpszArg != NULL ? lpszArg : "";
            ++p;
        } else {
            strResult += *p;
        }
    }
    rString = strResult;
}

void AFXAPI AfxFormatString1(CString& rString, UINT nIDS, LPCTSTR lpsz1)
{
    CString strFormat;
    AfxLoadString(nIDS, strFormat);
    AfxFormatStrings(rString, strFormat, &lpsz1, 1);
}

void AFXAPI AfxFormatString2(CString& rString, UINT nIDS, LPCTSTR lpsz1, LPCTSTR lpsz2)
{
    CString strFormat;
    AfxLoadString(nIDS, strFormat);
    LPCTSTR rglpsz[2] = {lpsz1, lpsz2};
    AfxFormatStrings(rString, strFormat, rglpsz, 2);
}
