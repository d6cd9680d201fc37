// What the window layer needs of OLE control containment, as an interface: windows and dialogs
// call it only while AfxEnableControlContainer (in the OLE layer, <afxdisp.h>) has installed a
// manager; without one, dialog templates are created as they are and CWnd knows no controls.
//
// The manager
//   - takes the OLE controls (items whose class is a CLSID "{...}") out of a dialog template
//     before the dialog is created, and creates them when the dialog is initialised, at their
//     template place, with their id, in their template order, with the initial data of the
//     template's DLGINIT resource;
//   - links a CWnd attached to a control's window with the control's site (InvokeHelper,
//     GetProperty, SetProperty then reach the control);
//   - delivers the controls' events to the event sink maps (CN_EVENT through OnCmdMsg);
//   - tears the controls of a container window down when that window is destroyed.
#pragma once

#include "AfxBase.h"

class CCmdTarget;
class CWnd;
class COleControlSite;
class COleControlContainer;
struct AFX_CMDHANDLERINFO;
struct AFX_EVENT;
struct _AFX_OCC_DIALOG_INFO;

class COccManager {
public:
    virtual ~COccManager() {}

    // A template without the OLE controls in *plpNewTemplate and what is needed to create them
    // (NULL and the template itself when it has none). A template that cannot be read answers
    // NULL and *plpNewTemplate NULL.
    virtual _AFX_OCC_DIALOG_INFO* PreCreateDialog(LPCDLGTEMPLATE lpTemplate, LPCDLGTEMPLATE* plpNewTemplate) = 0;
    // Frees what PreCreateDialog made.
    virtual void PostCreateDialog(_AFX_OCC_DIALOG_INFO* pOccDialogInfo) = 0;
    // Creates the OLE controls of the dialog pWndParent (at WM_INITDIALOG, before OnInitDialog);
    // lpszResourceName names the DLGINIT data (NULL: none). FALSE when one could not be made.
    virtual BOOL CreateDlgControls(CWnd* pWndParent, LPCTSTR lpszResourceName, _AFX_OCC_DIALOG_INFO* pOccDialogInfo) = 0;

    // Links pWnd with the site of the control whose window it has, if there is one.
    virtual void AttachControlSite(CWnd* pWnd) = 0;
    // Destroys the control of pWnd (its site and window); FALSE when pWnd has no site.
    virtual BOOL DestroyControl(CWnd* pWnd) = 0;
    // The container window is being destroyed: its controls go first.
    virtual void OnContainerDestroy(CWnd* pWnd) = 0;

    // Calls the event sink map entry of pCmdTarget for the event of control idCtrl; FALSE when
    // there is none. With pHandlerInfo the handler is only looked up.
    virtual BOOL OnEvent(CCmdTarget* pCmdTarget, UINT idCtrl, AFX_EVENT* pEvent, AFX_CMDHANDLERINFO* pHandlerInfo) = 0;
};

// The manager installed by AfxEnableControlContainer, or NULL.
COccManager* AFXAPI AfxGetOccManager();
void AFXAPI AfxSetOccManager(COccManager* pOccManager);
