// A document template: the classes of a kind of document, of its frame and of its first view,
// and the resource id of the frame (menu, icon, accelerators and the document strings). The
// template makes documents (CreateNewDocument) and their frames (CreateNewFrame) and knows the
// documents it made.
//
// The document strings (string resource nIDResource) are seven parts separated by '\n': the
// window title, the document name (for new documents' titles), the name in the "new" list, the
// file filter's name and its extension, the registry type id and type name.
#pragma once

#include "CCmdTarget.h"
#include "CString.h"

class CDocument;
class CFrameWnd;

class CDocTemplate : public CCmdTarget {
    DECLARE_DYNAMIC(CDocTemplate)
protected:
    CDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass, CRuntimeClass* pViewClass);

public:
    virtual ~CDocTemplate();

    // Loads the document strings (the application calls it when the template is added).
    virtual void LoadTemplate();

    enum DocStringIndex { windowTitle, docName, fileNewName, filterName, filterExt, regFileTypeId, regFileTypeName };
    // FALSE (and an empty string) when the strings have no such part.
    virtual BOOL GetDocString(CString& rString, enum DocStringIndex index) const;

    virtual POSITION GetFirstDocPosition() const = 0;
    virtual CDocument* GetNextDoc(POSITION& rPos) const = 0;
    virtual void AddDocument(CDocument* pDoc);
    virtual void RemoveDocument(CDocument* pDoc);

    // How well the template fits a file: an open document of that path, the template's
    // extension, or a try.
    enum Confidence { noAttempt, maybeAttemptForeign, maybeAttemptNative, yesAttemptForeign, yesAttemptNative, yesAlreadyOpen };
    virtual Confidence MatchDocType(LPCTSTR lpszPathName, CDocument*& rpDocMatch);

    // A new document of the template's class, added to the template; NULL when it cannot be
    // made.
    virtual CDocument* CreateNewDocument();
    // A frame of the template's class loaded from nIDResource with a view of the template's
    // class on pDoc; NULL when it cannot be made.
    virtual CFrameWnd* CreateNewFrame(CDocument* pDoc, CFrameWnd* pOther);
    virtual void InitialUpdateFrame(CFrameWnd* pFrame, CDocument* pDoc, BOOL bMakeVisible = TRUE);
    virtual BOOL SaveAllModified();
    virtual void CloseAllDocuments(BOOL bEndSession);
    // lpszPathName NULL: a new document.
    virtual CDocument* OpenDocumentFile(LPCTSTR lpszPathName, BOOL bMakeVisible = TRUE) = 0;
    // The title of a new document: the document name, else "Unbenannt" (AFX_IDS_UNTITLED).
    virtual void SetDefaultTitle(CDocument* pDocument) = 0;

    UINT m_nIDResource;
    CRuntimeClass* m_pDocClass;
    CRuntimeClass* m_pFrameClass;
    CRuntimeClass* m_pViewClass;
    CString m_strDocStrings;
    BOOL m_bAutoDelete;         // the document manager deletes the template
    CObject* m_pAttachedFactory; // the OLE class factory connected to the template, or NULL
};
