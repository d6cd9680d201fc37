// What the schedule data asks of the program's application object. The program's application
// class derives from CWinApp and from this interface; CDataApplication::Get finds it through
// AfxGetApp, so the schedule data never includes the shell. Tests put a small application of
// their own in its place.
#pragma once

#include <afxwin.h>

class CAppSettings;
class CDataUserSource;
class CDataDocument;
class CDataMainFrame;
class CDataDialogs;
class CDataEntryObjects;

class CDataApplication {
public:
    virtual ~CDataApplication();

    // The application object of this module when it provides these services, else NULL.
    static CDataApplication* Get();

    // The application object whose profile functions hold the settings.
    virtual CWinApp* GetWinApp() = 0;
    // "Software\<registry key>\<profile name>", the application's key below HKEY_CURRENT_USER.
    virtual CString GetRegistryPath() = 0;
    // The directory of the program file, ending in a backslash.
    virtual CString GetProgramDirectory() = 0;
    // The settings object, or NULL before it exists.
    virtual CAppSettings* GetSettings() = 0;
    // The data controller's users, or NULL while there is no data controller.
    virtual CDataUserSource* GetUserSource() = 0;
    // The document, the main frame and the dialogs, or NULL while they do not exist.
    virtual CDataDocument* GetDocument() = 0;
    virtual CDataMainFrame* GetMainFrame() = 0;
    virtual CDataDialogs* GetDialogs() = 0;
    // The automation objects of single entries, or NULL while there are none to be had (then
    // nothing that needs them runs: no jump to a linked record, no action of a linked
    // application).
    virtual CDataEntryObjects* GetEntryObjects() { return NULL; }
};
