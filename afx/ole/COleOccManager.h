// The library's control containment (installed by AfxEnableControlContainer); see
// COccManager.h for what the window layer asks of it.
#pragma once

#include "afxdisp.h"

#include <vector>

// The OLE controls of a dialog template, taken out of it before the dialog is created.
struct _AFX_OCC_DIALOG_INFO {
    struct Item {
        int nIndex; // position in the template
        CLSID clsid;
        UINT nID;
        DWORD dwStyle;
        DWORD dwExStyle;
        RECT rect; // dialog units
        CString strText;
    };
    std::vector<BYTE> newTemplate; // the template without them
    std::vector<Item> items;
    int nTemplateItems;            // items of the whole template
};

class COleOccManager : public COccManager {
public:
    _AFX_OCC_DIALOG_INFO* PreCreateDialog(LPCDLGTEMPLATE lpTemplate, LPCDLGTEMPLATE* plpNewTemplate) override;
    void PostCreateDialog(_AFX_OCC_DIALOG_INFO* pOccDialogInfo) override;
    BOOL CreateDlgControls(CWnd* pWndParent, LPCTSTR lpszResourceName, _AFX_OCC_DIALOG_INFO* pOccDialogInfo) override;
    void AttachControlSite(CWnd* pWnd) override;
    BOOL DestroyControl(CWnd* pWnd) override;
    void OnContainerDestroy(CWnd* pWnd) override;
    BOOL OnEvent(CCmdTarget* pCmdTarget, UINT idCtrl, AFX_EVENT* pEvent, AFX_CMDHANDLERINFO* pHandlerInfo) override;

    // Splits a template (DLGTEMPLATE or DLGTEMPLATEEX) into one without its OLE controls and the
    // list of them; FALSE for a template that cannot be read.
    static BOOL SplitDialogTemplate(LPCDLGTEMPLATE lpTemplate, _AFX_OCC_DIALOG_INFO* pInfo);
};
