#include "afxwin.h"
#include "afxdlgs.h"

IMPLEMENT_DYNAMIC(CDocManager, CObject)

CDocManager::CDocManager() {}

CDocManager::~CDocManager()
{
    while (!m_templateList.IsEmpty()) {
        CDocTemplate* pTemplate = (CDocTemplate*)m_templateList.RemoveHead();
        if (pTemplate->m_bAutoDelete)
            delete pTemplate;
    }
}

void CDocManager::AddDocTemplate(CDocTemplate* pTemplate)
{
    if (pTemplate == NULL || m_templateList.Find(pTemplate) != NULL)
        return;
    pTemplate->LoadTemplate();
    m_templateList.AddTail(pTemplate);
}

POSITION CDocManager::GetFirstDocTemplatePosition() const { return m_templateList.GetHeadPosition(); }

CDocTemplate* CDocManager::GetNextDocTemplate(POSITION& pos) const { return (CDocTemplate*)m_templateList.GetNext(pos); }

CDocument* CDocManager::OpenDocumentFile(LPCTSTR lpszFileName)
{
    // the template that fits the file best; an open document of that path is activated
    CDocTemplate* pBestTemplate = NULL;
    CDocument* pOpenDocument = NULL;
    CDocTemplate::Confidence bestMatch = CDocTemplate::noAttempt;
    for (POSITION pos = m_templateList.GetHeadPosition(); pos != NULL;) {
        CDocTemplate* pTemplate = (CDocTemplate*)m_templateList.GetNext(pos);
        CDocument* pDocMatch = NULL;
        CDocTemplate::Confidence match = pTemplate->MatchDocType(lpszFileName, pDocMatch);
        if (match > bestMatch) {
            bestMatch = match;
            pBestTemplate = pTemplate;
        }
        if (match == CDocTemplate::yesAlreadyOpen) {
            pOpenDocument = pDocMatch;
            break;
        }
    }
    if (pOpenDocument != NULL) {
        POSITION pos = pOpenDocument->GetFirstViewPosition();
        if (pos != NULL) {
            CFrameWnd* pFrame = pOpenDocument->GetNextView(pos)->GetParentFrame();
            if (pFrame != NULL)
                pFrame->ActivateFrame();
        }
        return pOpenDocument;
    }
    if (pBestTemplate == NULL) {
        AfxMessageBox(AFX_IDP_FAILED_TO_OPEN_DOC);
        return NULL;
    }
    return pBestTemplate->OpenDocumentFile(lpszFileName);
}

BOOL CDocManager::SaveAllModified()
{
    for (POSITION pos = m_templateList.GetHeadPosition(); pos != NULL;) {
        if (!((CDocTemplate*)m_templateList.GetNext(pos))->SaveAllModified())
            return FALSE;
    }
    return TRUE;
}

void CDocManager::CloseAllDocuments(BOOL bEndSession)
{
    for (POSITION pos = m_templateList.GetHeadPosition(); pos != NULL;)
        ((CDocTemplate*)m_templateList.GetNext(pos))->CloseAllDocuments(bEndSession);
}

int CDocManager::GetOpenDocumentCount()
{
    int nCount = 0;
    for (POSITION pos = m_templateList.GetHeadPosition(); pos != NULL;) {
        CDocTemplate* pTemplate = (CDocTemplate*)m_templateList.GetNext(pos);
        for (POSITION posDoc = pTemplate->GetFirstDocPosition(); posDoc != NULL;) {
            pTemplate->GetNextDoc(posDoc);
            nCount++;
        }
    }
    return nCount;
}

BOOL CDocManager::DoPromptFileName(CString& fileName, UINT nIDSTitle, DWORD lFlags, BOOL bOpenFileDialog,
                                   CDocTemplate* pTemplate)
{
    // the filters of the templates (or of the one template), then all files
    CString strFilter;
    CString strDefault;
    for (POSITION pos = m_templateList.GetHeadPosition(); pos != NULL;) {
        CDocTemplate* pT = (CDocTemplate*)m_templateList.GetNext(pos);
        if (pTemplate != NULL && pT != pTemplate)
            continue;
        CString strName;
        CString strExt;
        if (pT->GetDocString(strName, CDocTemplate::filterName) && !strName.IsEmpty() &&
            pT->GetDocString(strExt, CDocTemplate::filterExt) && !strExt.IsEmpty()) {
            strFilter += strName + "|*" + strExt + "|";
            if (strDefault.IsEmpty())
                strDefault = strExt.Mid(1);
        }
    }
    CString strAll;
    AfxLoadString(AFX_IDS_ALLFILTER, strAll);
    strFilter += strAll + "|*.*||";
    CString strTitle;
    AfxLoadString(nIDSTitle, strTitle);

    CFileDialog dlg(bOpenFileDialog, strDefault.IsEmpty() ? NULL : (LPCTSTR)strDefault, fileName,
                    lFlags | OFN_HIDEREADONLY, strFilter, NULL);
    dlg.m_ofn.lpstrTitle = strTitle;
    if (dlg.DoModal() != IDOK)
        return FALSE;
    fileName = dlg.GetPathName();
    return TRUE;
}

void CDocManager::OnFileNew()
{
    if (m_templateList.IsEmpty()) {
        AfxMessageBox(AFX_IDP_FAILED_TO_CREATE_DOC);
        return;
    }
    // the program's first template (a choice among several is not offered)
    ((CDocTemplate*)m_templateList.GetHead())->OpenDocumentFile(NULL);
}

void CDocManager::OnFileOpen()
{
    CString strName;
    if (!DoPromptFileName(strName, AFX_IDS_OPENFILE, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, TRUE, NULL))
        return;
    CWinApp* pApp = AfxGetApp();
    if (pApp != NULL)
        pApp->OpenDocumentFile(strName);
}
