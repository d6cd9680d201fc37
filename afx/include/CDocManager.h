// The application's document templates and the file commands that work through them. The
// application object (CWinApp::AddDocTemplate) makes one when it gets its first template and
// deletes it with itself; the manager deletes the templates that delete themselves
// (CDocTemplate::m_bAutoDelete).
//
// Declared with the application (whose members hand their work to it); its code belongs to the
// frame layer, where documents and templates are known.
#pragma once

#include "CObject.h"
#include "CPtrList.h"
#include "CString.h"

class CDocTemplate;
class CDocument;

class CDocManager : public CObject {
    DECLARE_DYNAMIC(CDocManager)
public:
    CDocManager();
    virtual ~CDocManager();

    virtual void AddDocTemplate(CDocTemplate* pTemplate);
    virtual POSITION GetFirstDocTemplatePosition() const;
    virtual CDocTemplate* GetNextDocTemplate(POSITION& pos) const;

    // An open document of that path, else the document made by the template whose file types
    // match the name best (else the first template); NULL when none could be opened.
    virtual CDocument* OpenDocumentFile(LPCTSTR lpszFileName);
    // Asks every modified document to save (CDocument::SaveModified); FALSE when one refused.
    virtual BOOL SaveAllModified();
    virtual void CloseAllDocuments(BOOL bEndSession);
    virtual int GetOpenDocumentCount();

    // The file dialog of the file commands (bOpenFileDialog: open, else save); FALSE when the
    // user cancelled.
    virtual BOOL DoPromptFileName(CString& fileName, UINT nIDSTitle, DWORD lFlags, BOOL bOpenFileDialog,
                                  CDocTemplate* pTemplate);

    // ID_FILE_NEW: a new document of the (first) template. ID_FILE_OPEN: the file the user
    // chooses.
    virtual void OnFileNew();
    virtual void OnFileOpen();

    CPtrList m_templateList;
};
