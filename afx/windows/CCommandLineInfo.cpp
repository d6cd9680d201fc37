#include "AfxWindowLayer.h"

CCommandLineInfo::CCommandLineInfo()
    : m_bShowSplash(TRUE), m_bRunEmbedded(FALSE), m_bRunAutomated(FALSE), m_nShellCommand(FileNew)
{
}

CCommandLineInfo::~CCommandLineInfo() {}

void CCommandLineInfo::ParseParam(LPCTSTR lpszParam, BOOL bFlag, BOOL bLast)
{
    if (bFlag)
        ParseParamFlag(lpszParam);
    else
        ParseParamNotFlag(lpszParam);
    ParseLast(bLast);
}

void CCommandLineInfo::ParseParamFlag(LPCTSTR lpszParam)
{
    if (lstrcmpiA(lpszParam, "pt") == 0)
        m_nShellCommand = FilePrintTo;
    else if (lstrcmpiA(lpszParam, "p") == 0)
        m_nShellCommand = FilePrint;
    else if (lstrcmpiA(lpszParam, "dde") == 0)
        m_nShellCommand = FileDDE;
    else if (lstrcmpiA(lpszParam, "Embedding") == 0)
        m_bRunEmbedded = TRUE;
    else if (lstrcmpiA(lpszParam, "Automation") == 0)
        m_bRunAutomated = TRUE;
    else
        return;
    // A program that COM started for its objects is not in the user's control: it ends when
    // its last object is released.
    if (m_bRunEmbedded || m_bRunAutomated)
        AfxGetModuleState()->m_bUserCtrl = FALSE;
}

void CCommandLineInfo::ParseParamNotFlag(LPCTSTR lpszParam)
{
    // the file first; for printing to a printer then its name, driver and port
    if (m_strFileName.IsEmpty())
        m_strFileName = lpszParam;
    else if (m_nShellCommand == FilePrintTo && m_strPrinterName.IsEmpty())
        m_strPrinterName = lpszParam;
    else if (m_nShellCommand == FilePrintTo && m_strDriverName.IsEmpty())
        m_strDriverName = lpszParam;
    else if (m_nShellCommand == FilePrintTo && m_strPortName.IsEmpty())
        m_strPortName = lpszParam;
}

void CCommandLineInfo::ParseLast(BOOL bLast)
{
    if (!bLast)
        return;
    // a file named without another command is opened
    if (m_nShellCommand == FileNew && !m_strFileName.IsEmpty())
        m_nShellCommand = FileOpen;
    // a program started for OLE shows no splash screen
    m_bShowSplash = !m_bRunEmbedded && !m_bRunAutomated;
}
