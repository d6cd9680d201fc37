// Test double of the program's application object: a CWinApp whose settings live below a registry
// key of its own (HKEY_CURRENT_USER\Software\<key>\<name>, removed when the object ends), with the
// users, document, main frame and dialog doubles the test sets. The settings object is made by the
// test (CreateSettings) so that it can prepare the registry first.
#pragma once

#include <memory>

#include "CAppSettings.h"
#include "CDataApplication.h"
#include "CHintRecorder.h"
#include "CScriptedDialogs.h"
#include "CTestMainFrame.h"
#include "CTestUserSource.h"

class CTestDataApp : public CWinApp, public CDataApplication {
public:
    // A registry key named after the process and a counter, so that tests never share one.
    CTestDataApp();
    ~CTestDataApp() override;

    CWinApp* GetWinApp() override { return this; }
    CString GetRegistryPath() override;
    CString GetProgramDirectory() override;
    CAppSettings* GetSettings() override { return m_pSettings.get(); }
    CDataUserSource* GetUserSource() override { return m_bWithUsers ? &m_users : NULL; }
    CDataDocument* GetDocument() override { return &m_document; }
    CDataMainFrame* GetMainFrame() override { return &m_frame; }
    CDataDialogs* GetDialogs() override { return &m_dialogs; }
    CDataEntryObjects* GetEntryObjects() override { return m_pEntryObjects; }

    // Reads the settings (as the program does at start); DestroySettings saves them.
    CAppSettings& CreateSettings();
    void DestroySettings() { m_pSettings.reset(); }

    // The full path of the settings section below HKEY_CURRENT_USER.
    CString SettingsKey() { return GetRegistryPath() + "\\Settings"; }

    // The program's directory GetProgramDirectory answers (empty: the test program's own).
    CString m_strProgramDirectory;
    // FALSE: the application has no data controller yet.
    BOOL m_bWithUsers = TRUE;
    CTestUserSource m_users;
    CHintRecorder m_document;
    CTestMainFrame m_frame;
    CScriptedDialogs m_dialogs;
    // The automation objects of entries the application answers (none unless the test sets them).
    CDataEntryObjects* m_pEntryObjects = NULL;

private:
    std::unique_ptr<CAppSettings> m_pSettings;
    CString m_strRootKey;
};
