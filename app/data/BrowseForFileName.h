// The file-name dialog of the parameter fields' select button (entry dialogs).
#pragma once

#include <afxwin.h>

// Shows the controls library's file-name dialog, starting in lpszStartDir when that is not empty;
// the drive and directory of the process are the same afterwards as before. bOpen FALSE asks for
// a save dialog. strFileName receives the chosen path (at most 260 characters); lpszInitial and
// lpszFilter go to the dialog as they are; lpszUnused is not read. Returns the dialog's answer
// (IDOK when a name was chosen).
int BrowseForFileName(LPCTSTR lpszTitle, LPCTSTR lpszStartDir, CString& strFileName, BOOL bOpen, LPCTSTR lpszFilter,
                      LPCTSTR lpszUnused, DWORD dwFlags, LPCTSTR lpszInitial, CWnd* pOwner);
