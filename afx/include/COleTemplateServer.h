// The class factory of a document template: a client's creation request opens a new document
// of the template (COleObjectFactory's OnCreateObject), and that document, which enables
// automation, is the object the client gets. Its creation reference goes to the client, so the
// client's last release closes it (CDocument::OnFinalRelease) with its frames.
//
// The document is opened without being made visible: its frame stays hidden until the program
// shows it, so a single-document program started for automation keeps its main window hidden
// when a client connects (it reuses the document and frame that the start made, hidden as the
// start asked). A single-document template has one document at a time: each creation request
// gets that document, so such a server is connected multi-instance (one client per process).
//
// The registration comes from the template's document strings: the ProgID is the registry type
// id (regFileTypeId), the short type name the name in the "new" list (fileNewName), the long
// type name the registry type name (regFileTypeName). The library registers automation servers
// only (OAT_DISPATCH_OBJECT: LocalServer32 is the program's path with "/Automation"); other
// kinds and a template without a type id write nothing.
#pragma once

#include "COleObjectFactory.h"
#include "AfxOleState.h"

class CDocTemplate;

class COleTemplateServer : public COleObjectFactory {
    DECLARE_DYNAMIC(COleTemplateServer)
public:
    COleTemplateServer();

    // Serves the documents of pDocTemplate under clsid; bMultiInstance: each creation request
    // starts a process of its own (REGCLS_SINGLEUSE). The template's m_pAttachedFactory is this
    // server.
    void ConnectTemplate(REFCLSID clsid, CDocTemplate* pDocTemplate, BOOL bMultiInstance);

    // Writes the registration of the template's document type (bRegister), or removes it.
    void UpdateRegistry(OLE_APPTYPE nAppType = OAT_INPLACE_SERVER, LPCTSTR* rglpszRegister = NULL,
                        LPCTSTR* rglpszOverwrite = NULL, BOOL bRegister = TRUE);
    // What COleObjectFactory::UpdateRegistryAll asks of every factory: the template's
    // registration as an automation server (or its removal); FALSE when that failed.
    virtual BOOL UpdateRegistry(BOOL bRegister);
    // Removes the registration of the template's document type; FALSE when that failed.
    BOOL Unregister();

    // Registers the server with COM as running; FALSE when no template is connected.
    virtual BOOL Register();

    CDocTemplate* m_pDocTemplate; // the connected template, or NULL

protected:
    // A new document of the template, not made visible; NULL when it could not be made.
    virtual CCmdTarget* OnCreateObject();

private:
    // Registers or removes the template's type; FALSE when the template has no type id or a
    // key could not be written.
    BOOL RegisterTemplate(OLE_APPTYPE nAppType, LPCTSTR* rglpszRegister, LPCTSTR* rglpszOverwrite, BOOL bRegister);

    CString m_strProgID; // the template's type id, once read (m_lpszProgID points here)
};
