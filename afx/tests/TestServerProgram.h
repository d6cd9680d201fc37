// What the two test server programs (afx_test_server.exe, afx_test_docserver.exe) share: their
// log of starts and ends, and the reading of their command line's switches.
#pragma once

#include <afx.h>

#include <stdio.h>

#include "TestServerShared.h"

namespace testserver {

// Appends one line (pszFormat with nValue) to the file named by OX_TEST_SERVER_LOG, if it is set.
inline void Log(const char* pszFormat, long nValue)
{
    char szPath[MAX_PATH];
    if (GetEnvironmentVariableA(OXTS_LOG_VARIABLE, szPath, MAX_PATH) == 0)
        return;
    FILE* pFile = fopen(szPath, "a");
    if (pFile == NULL)
        return;
    fprintf(pFile, pszFormat, nValue);
    fputc('\n', pFile);
    fclose(pFile);
}

// The "/Name" or "-Name" switch (without regard to case) of the command line.
inline BOOL HasSwitch(LPCTSTR lpszCmdLine, LPCTSTR lpszName)
{
    CString strLine = lpszCmdLine;
    strLine.MakeLower();
    CString strName = lpszName;
    strName.MakeLower();
    return strLine.Find("/" + strName) >= 0 || strLine.Find("-" + strName) >= 0;
}

} // namespace testserver
