#include "BrowseForFileName.h"

#include <direct.h>
#include <string.h>

#include "vlCT11.h"

int BrowseForFileName(LPCTSTR lpszTitle, LPCTSTR lpszStartDir, CString& strFileName, BOOL bOpen, LPCTSTR lpszFilter,
                      LPCTSTR /*lpszUnused*/, DWORD dwFlags, LPCTSTR lpszInitial, CWnd* pOwner)
{
    // Remember where the process stands: the dialog starts where it is sent.
    const int nOldDrive = _getdrive();
    char* pszOldDir = _getcwd(NULL, 0);
    if (lpszStartDir != NULL && lpszStartDir[0] != '\0') {
        const char cDrive = lpszStartDir[0];
        if ((cDrive >= 'A' && cDrive <= 'Z') || (cDrive >= 'a' && cDrive <= 'z'))
            _chdrive((cDrive | 0x20) - 'a' + 1);
        _chdir(lpszStartDir);
    }

    char szFile[MAX_PATH + 1];
    lstrcpynA(szFile, strFileName, MAX_PATH + 1);
    DWORD dwDialogFlags = bOpen ? dwFlags : (dwFlags | 0x80000000u);
    int nResult = CtlGetNameDlgA(pOwner != NULL ? pOwner->GetSafeHwnd() : NULL, lpszTitle, AfxGetInstanceHandle(), 0, 0, 0,
                                 lpszInitial, lpszFilter, dwDialogFlags, szFile, MAX_PATH);
    szFile[MAX_PATH] = '\0';
    strFileName = szFile;

    _chdrive(nOldDrive);
    if (pszOldDir != NULL) {
        _chdir(pszOldDir);
        free(pszOldDir);
    }
    return nResult;
}
