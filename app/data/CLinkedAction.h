// One action that an application offers for entries: the program's own ones (CMailAction,
// COpenFileAction) and the actions of linked applications, which the linked application's
// registry key describes (its "Actions" subkeys). An entry names its action by the id.
#pragma once

#include <afxwin.h>

class CDataAppointment;
class CLinkedApplication;

class CLinkedAction {
public:
    // Strings empty, numbers 0, no owner.
    CLinkedAction();
    virtual ~CLinkedAction();

    // Runs the action for the entry; 1 when it ran, else 0. An action of a linked application
    // is handed to that application through automation ("OXExecuteAction"): the entry's action
    // name, an automation object of the entry (CDataEntryObjects; without a provider the action
    // does not run), the owner window's handle as a number and the object's action data.
    virtual int Execute(HWND hOwner, CLinkedApplication* pApplication, const CDataAppointment& entry);

    CString m_strId;              // the name under which an entry refers to the action
    CString m_strTitle;           // shown in the action lists
    int m_nPictureId;             // the controls library's picture shown with it
    int m_bAskForData;            // the action needs a parameter entered by the user
    int m_bBinaryData;            // the parameter is a byte array rather than text
    CString m_strParameterLabel;  // label of the parameter field in the entry dialogs
    int m_bSelectButton;          // the parameter field has a button for a file-name dialog
    CString m_strSelectFilter;    // the file filter of that dialog
    CLinkedApplication* m_pApplication; // the application offering it (not owned)

protected:
    // A built-in action: its texts from the string table (a filter id of 0: no filter).
    CLinkedAction(LPCTSTR lpszId, UINT nTitleId, int nPictureId, UINT nLabelId, int bSelectButton, UINT nFilterId,
                  CLinkedApplication* pApplication);

private:
    CLinkedAction(const CLinkedAction&) = delete;
    CLinkedAction& operator=(const CLinkedAction&) = delete;
};
