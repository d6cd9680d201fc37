// The program's command line: split as the C run time splits it, understood by CCommandLineInfo
// (files, printing, OLE starts), and acted on by ProcessShellCommand.
#include <gtest/gtest.h>

#include <afxwin.h>

#include "FrameTestSupport.h"

TEST(CommandLine, ParametersAreUnderstood)
{
    framestest::CProbeApp app;
    struct Case {
        const char* pszCmdLine;
        int nShellCommand;
        const char* pszFile;
        BOOL bEmbedded, bAutomation, bSplash;
        const char* pszPrinter;
        const char* pszPort;
    } const cases[] = {
        {"", CCommandLineInfo::FileNew, "", FALSE, FALSE, TRUE, "", ""},
        {"termin.prb", CCommandLineInfo::FileOpen, "termin.prb", FALSE, FALSE, TRUE, "", ""},
        {"\"C:\\Meine Daten\\termin.prb\"", CCommandLineInfo::FileOpen, "C:\\Meine Daten\\termin.prb", FALSE, FALSE, TRUE, "", ""},
        {"/p termin.prb", CCommandLineInfo::FilePrint, "termin.prb", FALSE, FALSE, TRUE, "", ""},
        {"/pt termin.prb Drucker Treiber LPT1", CCommandLineInfo::FilePrintTo, "termin.prb", FALSE, FALSE, TRUE, "Drucker", "LPT1"},
        {"-Embedding", CCommandLineInfo::FileNew, "", TRUE, FALSE, FALSE, "", ""},
        {"/AUTOMATION", CCommandLineInfo::FileNew, "", FALSE, TRUE, FALSE, "", ""},
        {"/dde", CCommandLineInfo::FileDDE, "", FALSE, FALSE, TRUE, "", ""},
        {"/unbekannt datei", CCommandLineInfo::FileOpen, "datei", FALSE, FALSE, TRUE, "", ""},
        // the run time's quoting: 2n backslashes before a quote give n, 2n+1 a literal quote
        {"a\\\\\"b c\"", CCommandLineInfo::FileOpen, "a\\b c", FALSE, FALSE, TRUE, "", ""},
        {"x\\\"y", CCommandLineInfo::FileOpen, "x\"y", FALSE, FALSE, TRUE, "", ""},
        {"c:\\pfad\\", CCommandLineInfo::FileOpen, "c:\\pfad\\", FALSE, FALSE, TRUE, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszCmdLine);
        app.m_lpCmdLine = (LPTSTR)c.pszCmdLine;
        AfxGetModuleState()->m_bUserCtrl = TRUE;
        CCommandLineInfo info;
        app.ParseCommandLine(info);
        // a program that COM started is not in the user's control
        EXPECT_EQ((BOOL)(!c.bEmbedded && !c.bAutomation), AfxGetModuleState()->m_bUserCtrl);
        EXPECT_EQ(c.nShellCommand, (int)info.m_nShellCommand);
        EXPECT_STREQ(c.pszFile, info.m_strFileName);
        EXPECT_EQ(c.bEmbedded, info.m_bRunEmbedded);
        EXPECT_EQ(c.bAutomation, info.m_bRunAutomated);
        EXPECT_EQ(c.bSplash, info.m_bShowSplash);
        EXPECT_STREQ(c.pszPrinter, info.m_strPrinterName);
        EXPECT_STREQ(c.pszPort, info.m_strPortName);
    }
    AfxGetModuleState()->m_bUserCtrl = TRUE;
}

TEST(CommandLine, ShellCommandsWithoutTemplates)
{
    framestest::CProbeApp app;
    struct Case {
        int nShellCommand;
        BOOL bResult;
    } const cases[] = {
        {CCommandLineInfo::FileNothing, TRUE},
        {CCommandLineInfo::FileNew, FALSE},  // no template: no main window comes of it
        {CCommandLineInfo::FileOpen, FALSE}, // no template can open the file
        {CCommandLineInfo::FileDDE, FALSE},  // DDE is not part of the program
    };
    for (const Case& c : cases) {
        CCommandLineInfo info;
        info.m_nShellCommand = (decltype(info.m_nShellCommand))c.nShellCommand;
        info.m_strFileName = "termin.prb";
        EXPECT_EQ(c.bResult, app.ProcessShellCommand(info)) << c.nShellCommand;
    }
    EXPECT_EQ(nullptr, app.m_pMainWnd);
}
