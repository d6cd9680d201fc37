#include "afxdisp.h"

IMPLEMENT_DYNAMIC(COleTemplateServer, COleObjectFactory)

COleTemplateServer::COleTemplateServer() : COleObjectFactory(CLSID_NULL, NULL, FALSE, NULL), m_pDocTemplate(NULL) {}

void COleTemplateServer::ConnectTemplate(REFCLSID clsid, CDocTemplate* pDocTemplate, BOOL bMultiInstance)
{
    Revoke(); // a running registration was for the class before
    m_clsid = clsid;
    m_bMultiInstance = bMultiInstance;
    m_pDocTemplate = pDocTemplate;
    if (pDocTemplate != NULL)
        pDocTemplate->m_pAttachedFactory = this;
}

BOOL COleTemplateServer::Register()
{
    if (m_pDocTemplate == NULL)
        return FALSE;
    return COleObjectFactory::Register();
}

BOOL COleTemplateServer::RegisterTemplate(OLE_APPTYPE nAppType, LPCTSTR* rglpszRegister, LPCTSTR* rglpszOverwrite,
                                          BOOL bRegister)
{
    if (m_pDocTemplate == NULL)
        return FALSE;
    // the strings are loaded when the template is added to the application; a template that
    // is registered before that loads them here
    m_pDocTemplate->LoadTemplate();
    CString strProgID, strShortName, strLongName;
    if (!m_pDocTemplate->GetDocString(strProgID, CDocTemplate::regFileTypeId) || strProgID.IsEmpty())
        return FALSE;
    m_strProgID = strProgID;
    m_lpszProgID = m_strProgID;
    if (!bRegister)
        return AfxOleUnregisterClass(m_clsid, m_strProgID);
    m_pDocTemplate->GetDocString(strShortName, CDocTemplate::fileNewName);
    m_pDocTemplate->GetDocString(strLongName, CDocTemplate::regFileTypeName);
    // missing names fall back to the next one (the short name to the ProgID, the long name to
    // the short one)
    return AfxOleRegisterServerClass(m_clsid, m_strProgID, strShortName.IsEmpty() ? NULL : (LPCTSTR)strShortName,
                                     strLongName.IsEmpty() ? NULL : (LPCTSTR)strLongName, nAppType, rglpszRegister,
                                     rglpszOverwrite);
}

void COleTemplateServer::UpdateRegistry(OLE_APPTYPE nAppType, LPCTSTR* rglpszRegister, LPCTSTR* rglpszOverwrite,
                                        BOOL bRegister)
{
    RegisterTemplate(nAppType, rglpszRegister, rglpszOverwrite, bRegister);
}

BOOL COleTemplateServer::UpdateRegistry(BOOL bRegister)
{
    return RegisterTemplate(OAT_DISPATCH_OBJECT, NULL, NULL, bRegister);
}

BOOL COleTemplateServer::Unregister() { return RegisterTemplate(OAT_DISPATCH_OBJECT, NULL, NULL, FALSE); }

CCmdTarget* COleTemplateServer::OnCreateObject()
{
    if (m_pDocTemplate == NULL)
        return NULL;
    // A document opened for a client stays hidden: the client, or the program, shows it.
    return m_pDocTemplate->OpenDocumentFile(NULL, FALSE);
}
