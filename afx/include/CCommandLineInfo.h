// The program's command line as the application understands it (CWinApp::ParseCommandLine hands
// it every parameter; CWinApp::ProcessShellCommand acts on the result).
//
// Parameters beginning with '-' or '/' are flags (passed without that character, compared without
// regard to case): "p" prints the file named next, "pt" prints it to the printer, driver and port
// named after it, "dde" waits for a DDE command, "Embedding" and "Automation" start the program
// for OLE. The first other parameter names the file to open. Unknown flags are ignored.
#pragma once

#include "CObject.h"
#include "CString.h"

class CCommandLineInfo : public CObject {
public:
    CCommandLineInfo();
    virtual ~CCommandLineInfo();

    // One parameter (bFlag: it began with '-' or '/', which lpszParam no longer holds); bLast for
    // the last one, after which the shell command is settled.
    virtual void ParseParam(LPCTSTR lpszParam, BOOL bFlag, BOOL bLast);

    BOOL m_bShowSplash;
    BOOL m_bRunEmbedded;
    BOOL m_bRunAutomated;
    enum { FileNew, FileOpen, FilePrint, FilePrintTo, FileDDE, FileNothing = -1 } m_nShellCommand;
    CString m_strFileName;
    CString m_strPrinterName;
    CString m_strDriverName;
    CString m_strPortName;

protected:
    void ParseParamFlag(LPCTSTR lpszParam);
    void ParseParamNotFlag(LPCTSTR lpszParam);
    void ParseLast(BOOL bLast);
};
