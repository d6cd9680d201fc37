#include "afxwin.h"
#include "CMirrorFile.h"

#include <mapi.h>

IMPLEMENT_DYNAMIC(CDocument, CCmdTarget)

BEGIN_MESSAGE_MAP(CDocument, CCmdTarget)
ON_COMMAND(ID_FILE_CLOSE, OnFileClose)
ON_COMMAND(ID_FILE_SAVE, OnFileSave)
ON_COMMAND(ID_FILE_SAVE_AS, OnFileSaveAs)
END_MESSAGE_MAP()

namespace {

// A file name made from the document's title: cut before the first character that does not
// belong in a file name, with the template's extension.
CString FileNameFromTitle(const CString& strTitle, CDocTemplate* pTemplate)
{
    CString strName = strTitle;
    int nBad = strName.FindOneOf(" #%;/\\:*?\"<>|");
    if (nBad >= 0)
        strName = strName.Left(nBad);
    CString strExt;
    if (pTemplate != NULL && pTemplate->GetDocString(strExt, CDocTemplate::filterExt) && !strExt.IsEmpty())
        strName += strExt;
    return strName;
}

} // namespace

CDocument::CDocument() : m_pDocTemplate(NULL), m_bModified(FALSE), m_bAutoDelete(TRUE), m_bEmbedded(FALSE) {}

CDocument::~CDocument()
{
    DisconnectViews();
    if (m_pDocTemplate != NULL)
        m_pDocTemplate->RemoveDocument(this);
}

void CDocument::SetTitle(LPCTSTR lpszTitle)
{
    m_strTitle = lpszTitle;
    UpdateFrameCounts();
}

void CDocument::SetPathName(LPCTSTR lpszPathName, BOOL bAddToMRU)
{
    UNUSED(bAddToMRU);
    char szFullPath[MAX_PATH];
    LPSTR lpszFilePart = NULL;
    DWORD n = ::GetFullPathNameA(lpszPathName, MAX_PATH, szFullPath, &lpszFilePart);
    m_strPathName = (n != 0 && n < MAX_PATH) ? szFullPath : lpszPathName;
    m_bEmbedded = FALSE;
    SetTitle(lpszFilePart != NULL && n != 0 && n < MAX_PATH ? lpszFilePart : lpszPathName);
}

BOOL CDocument::IsModified() { return m_bModified; }

void CDocument::SetModifiedFlag(BOOL bModified) { m_bModified = bModified; }

// ---- views -------------------------------------------------------------------------------------

POSITION CDocument::GetFirstViewPosition() const { return m_viewList.GetHeadPosition(); }

CView* CDocument::GetNextView(POSITION& rPosition) const { return (CView*)m_viewList.GetNext(rPosition); }

void CDocument::AddView(CView* pView)
{
    if (pView == NULL || m_viewList.Find(pView) != NULL)
        return;
    m_viewList.AddTail(pView);
    pView->m_pDocument = this;
    OnChangedViewList();
}

void CDocument::RemoveView(CView* pView)
{
    POSITION pos = m_viewList.Find(pView);
    if (pos == NULL)
        return;
    m_viewList.RemoveAt(pos);
    pView->m_pDocument = NULL;
    OnChangedViewList();
}

void CDocument::DisconnectViews()
{
    while (!m_viewList.IsEmpty()) {
        CView* pView = (CView*)m_viewList.RemoveHead();
        pView->m_pDocument = NULL;
    }
}

void CDocument::UpdateAllViews(CView* pSender, LPARAM lHint, CObject* pHint)
{
    for (POSITION pos = GetFirstViewPosition(); pos != NULL;) {
        CView* pView = GetNextView(pos);
        if (pView != pSender)
            pView->OnUpdate(pSender, lHint, pHint);
    }
}

void CDocument::OnChangedViewList()
{
    if (m_viewList.IsEmpty() && m_bAutoDelete) {
        OnCloseDocument();
        return;
    }
    UpdateFrameCounts();
}

void CDocument::UpdateFrameCounts()
{
    // Every frame that shows a view of the document gets a number, in the order of the views;
    // the number appears in the titles only when there are several frames.
    for (POSITION pos = GetFirstViewPosition(); pos != NULL;) {
        CFrameWnd* pFrame = GetNextView(pos)->GetParentFrame();
        if (pFrame != NULL)
            pFrame->m_nWindow = -1;
    }
    int nFrames = 0;
    for (POSITION pos = GetFirstViewPosition(); pos != NULL;) {
        CFrameWnd* pFrame = GetNextView(pos)->GetParentFrame();
        if (pFrame != NULL && pFrame->m_nWindow == -1)
            pFrame->m_nWindow = ++nFrames;
    }
    int nFrame = 1;
    for (POSITION pos = GetFirstViewPosition(); pos != NULL;) {
        CFrameWnd* pFrame = GetNextView(pos)->GetParentFrame();
        if (pFrame != NULL && pFrame->m_nWindow == nFrame) {
            if (nFrames == 1)
                pFrame->m_nWindow = 0;
            pFrame->OnUpdateFrameTitle(TRUE);
            nFrame++;
        }
    }
}

// ---- life of the document ----------------------------------------------------------------------

void CDocument::DeleteContents() {}

BOOL CDocument::OnNewDocument()
{
    DeleteContents();
    m_strPathName.Empty();
    SetModifiedFlag(FALSE);
    return TRUE;
}

CFile* CDocument::GetFile(LPCTSTR lpszFileName, UINT nOpenFlags, CFileException* pError)
{
    CMirrorFile* pFile = new CMirrorFile;
    if (!pFile->Open(lpszFileName, nOpenFlags, pError)) {
        delete pFile;
        return NULL;
    }
    return pFile;
}

void CDocument::ReleaseFile(CFile* pFile, BOOL bAbort)
{
    if (bAbort) {
        pFile->Abort();
        delete pFile;
        return;
    }
    // a failed close throws: the file object must not stay behind
    try {
        pFile->Close();
    } catch (...) {
        delete pFile;
        throw;
    }
    delete pFile;
}

BOOL CDocument::OnOpenDocument(LPCTSTR lpszPathName)
{
    CFileException fe;
    CFile* pFile = GetFile(lpszPathName, CFile::modeRead | CFile::shareDenyWrite, &fe);
    if (pFile == NULL) {
        ReportSaveLoadException(lpszPathName, &fe, FALSE, AFX_IDP_FAILED_TO_OPEN_DOC);
        return FALSE;
    }
    DeleteContents();
    SetModifiedFlag(); // half-read contents are not the file's
    BeginWaitCursor();
    try {
        CArchive loadArchive(pFile, CArchive::load | CArchive::bNoFlushOnDelete);
        loadArchive.m_pDocument = this;
        if (pFile->GetLength() != 0)
            Serialize(loadArchive);
        loadArchive.Close();
        ReleaseFile(pFile, FALSE);
    } catch (CException* e) {
        EndWaitCursor();
        ReleaseFile(pFile, TRUE);
        DeleteContents(); // no half-read contents stay
        ReportSaveLoadException(lpszPathName, e, FALSE, AFX_IDP_FAILED_TO_OPEN_DOC);
        e->Delete();
        return FALSE;
    }
    EndWaitCursor();
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDocument::OnSaveDocument(LPCTSTR lpszPathName)
{
    CFileException fe;
    CFile* pFile = GetFile(lpszPathName, CFile::modeCreate | CFile::modeReadWrite | CFile::shareExclusive, &fe);
    if (pFile == NULL) {
        ReportSaveLoadException(lpszPathName, &fe, TRUE, AFX_IDP_INVALID_FILENAME);
        return FALSE;
    }
    BeginWaitCursor();
    try {
        CArchive saveArchive(pFile, CArchive::store | CArchive::bNoFlushOnDelete);
        saveArchive.m_pDocument = this;
        Serialize(saveArchive);
        saveArchive.Close();
        ReleaseFile(pFile, FALSE);
    } catch (CException* e) {
        EndWaitCursor();
        ReleaseFile(pFile, TRUE);
        ReportSaveLoadException(lpszPathName, e, TRUE, AFX_IDP_FAILED_TO_SAVE_DOC);
        e->Delete();
        return FALSE;
    }
    EndWaitCursor();
    SetModifiedFlag(FALSE);
    return TRUE;
}

void CDocument::ReportSaveLoadException(LPCTSTR lpszPathName, CException* e, BOOL bSaving, UINT nIDPDefault)
{
    UNUSED(bSaving);
    if (e != NULL && e->IsKindOf(RUNTIME_CLASS(CUserException)))
        return; // the user has been told already
    char szText[512] = "";
    if (e != NULL && (e->IsKindOf(RUNTIME_CLASS(CFileException)) || e->IsKindOf(RUNTIME_CLASS(CArchiveException)))) {
        // The file and archive texts name the file; an exception that does not know it gets
        // the document's.
        if (e->IsKindOf(RUNTIME_CLASS(CFileException)) && ((CFileException*)e)->m_strFileName.IsEmpty())
            ((CFileException*)e)->m_strFileName = lpszPathName;
        if (e->IsKindOf(RUNTIME_CLASS(CArchiveException)) && ((CArchiveException*)e)->m_strFileName.IsEmpty())
            ((CArchiveException*)e)->m_strFileName = lpszPathName;
        e->GetErrorMessage(szText, sizeof(szText));
    }
    CString strPrompt = szText;
    if (strPrompt.IsEmpty())
        AfxFormatString1(strPrompt, nIDPDefault, lpszPathName);
    AfxMessageBox(strPrompt, MB_ICONEXCLAMATION, nIDPDefault);
}

void CDocument::OnFinalRelease()
{
    // temporary objects made while the frames go must survive the document's end
    AfxLockTempMaps();
    OnCloseDocument();
    AfxUnlockTempMaps();
}

void CDocument::OnCloseDocument()
{
    // The frames of the views go first (which takes the views with them); the document stays
    // until the end even when the last view goes.
    BOOL bAutoDelete = m_bAutoDelete;
    m_bAutoDelete = FALSE;
    while (!m_viewList.IsEmpty()) {
        CView* pView = (CView*)m_viewList.GetHead();
        CFrameWnd* pFrame = pView->GetParentFrame();
        if (pFrame != NULL) {
            PreCloseFrame(pFrame);
            pFrame->DestroyWindow();
        }
        // A view without a frame, or one its frame did not take along, goes by itself.
        if (!m_viewList.IsEmpty() && m_viewList.GetHead() == pView) {
            if (pView->m_hWnd != NULL)
                pView->DestroyWindow();
            else
                RemoveView(pView);
        }
    }
    m_bAutoDelete = bAutoDelete;
    DeleteContents();
    if (m_bAutoDelete)
        delete this;
}

BOOL CDocument::CanCloseFrame(CFrameWnd* pFrame)
{
    UNUSED(pFrame);
    // Another frame keeps the document open: nothing to save yet.
    for (POSITION pos = GetFirstViewPosition(); pos != NULL;) {
        CFrameWnd* pViewFrame = GetNextView(pos)->GetParentFrame();
        if (pViewFrame != NULL && pViewFrame->m_nWindow > 0)
            return TRUE;
    }
    return SaveModified();
}

BOOL CDocument::SaveModified()
{
    if (!IsModified())
        return TRUE;
    CString strName;
    if (m_strPathName.IsEmpty()) {
        strName = m_strTitle;
        if (strName.IsEmpty())
            AfxLoadString(AFX_IDS_UNTITLED, strName);
    } else {
        strName = m_strPathName;
    }
    CString strPrompt;
    AfxFormatString1(strPrompt, AFX_IDP_ASK_TO_SAVE, strName);
    switch (AfxMessageBox(strPrompt, MB_YESNOCANCEL, AFX_IDP_ASK_TO_SAVE)) {
    case IDCANCEL:
        return FALSE;
    case IDYES:
        return DoFileSave();
    default:
        return TRUE; // the changes are dropped
    }
}

void CDocument::PreCloseFrame(CFrameWnd* pFrame) { UNUSED(pFrame); }

BOOL CDocument::DoSave(LPCTSTR lpszPathName, BOOL bReplace)
{
    CString strNewName = lpszPathName != NULL ? lpszPathName : "";
    if (strNewName.IsEmpty()) {
        CDocTemplate* pTemplate = GetDocTemplate();
        strNewName = m_strPathName;
        if (bReplace && strNewName.IsEmpty()) {
            // a name from the title, without characters a file name cannot have, with the
            // template's extension
            strNewName = FileNameFromTitle(m_strTitle, pTemplate);
        }
        CWinApp* pApp = AfxGetApp();
        if (pApp == NULL || pApp->m_pDocManager == NULL ||
            !pApp->m_pDocManager->DoPromptFileName(strNewName, AFX_IDS_SAVEFILE, OFN_HIDEREADONLY | OFN_PATHMUSTEXIST,
                                                   FALSE, pTemplate))
            return FALSE;
    }
    if (!OnSaveDocument(strNewName))
        return FALSE; // the file is as it was
    if (bReplace)
        SetPathName(strNewName);
    return TRUE;
}

BOOL CDocument::DoFileSave()
{
    DWORD dwAttrib = ::GetFileAttributesA(m_strPathName);
    // without a file, or with a read-only one, the user chooses where to save
    if (m_strPathName.IsEmpty() || dwAttrib == INVALID_FILE_ATTRIBUTES || (dwAttrib & FILE_ATTRIBUTE_READONLY))
        return DoSave(NULL);
    return DoSave(m_strPathName);
}

HMENU CDocument::GetDefaultMenu() { return NULL; }

HACCEL CDocument::GetDefaultAccelerator() { return NULL; }

BOOL CDocument::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (CCmdTarget::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    return m_pDocTemplate != NULL && m_pDocTemplate->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

void CDocument::OnFileClose()
{
    if (!SaveModified())
        return;
    OnCloseDocument();
}

void CDocument::OnFileSave() { DoFileSave(); }

void CDocument::OnFileSaveAs() { DoSave(NULL); }

void CDocument::OnFileSendMail()
{
    HMODULE hMapi = ::LoadLibraryA("MAPI32.DLL");
    if (hMapi == NULL) {
        AfxMessageBox(AFX_IDP_FAILED_MAPI_LOAD);
        return;
    }
    LPMAPISENDMAIL pfnSendMail = (LPMAPISENDMAIL)::GetProcAddress(hMapi, "MAPISendMail");
    if (pfnSendMail == NULL) {
        ::FreeLibrary(hMapi);
        AfxMessageBox(AFX_IDP_INVALID_MAPI_DLL);
        return;
    }

    CString strPath = m_strPathName;
    BOOL bTemporary = strPath.IsEmpty() || IsModified();
    if (bTemporary) {
        CString strName = FileNameFromTitle(m_strTitle, m_pDocTemplate);
        if (strName.IsEmpty() || strName[0] == '.') {
            CString strUntitled;
            AfxLoadString(AFX_IDS_UNTITLED, strUntitled);
            strName = strUntitled + strName;
        }
        char szTempDir[MAX_PATH];
        DWORD n = ::GetTempPathA(MAX_PATH, szTempDir);
        strPath = (n != 0 && n < MAX_PATH) ? szTempDir : "";
        strPath += strName;
        // the copy in the temporary folder does not save the document
        BOOL bModified = IsModified();
        BOOL bSaved = OnSaveDocument(strPath);
        SetModifiedFlag(bModified);
        if (!bSaved) {
            ::FreeLibrary(hMapi);
            return; // reported by OnSaveDocument
        }
    }

    int nSlash = strPath.ReverseFind('\\');
    CString strFileName = nSlash >= 0 ? strPath.Mid(nSlash + 1) : strPath;
    MapiFileDesc file = {};
    file.nPosition = (ULONG)-1; // the mail program places the attachment
    file.lpszPathName = (LPSTR)(LPCSTR)strPath;
    file.lpszFileName = (LPSTR)(LPCSTR)strFileName;
    MapiMessage message = {};
    message.nFileCount = 1;
    message.lpFiles = &file;

    CWnd* pMainWnd = AfxGetMainWnd();
    HWND hWndOwner = pMainWnd != NULL ? pMainWnd->GetSafeHwnd() : NULL;
    ULONG nResult = pfnSendMail(0, (ULONG_PTR)hWndOwner, &message, MAPI_LOGON_UI | MAPI_DIALOG, 0);

    if (bTemporary)
        ::DeleteFileA(strPath);
    ::FreeLibrary(hMapi);
    if (nResult != SUCCESS_SUCCESS && nResult != MAPI_E_USER_ABORT)
        AfxMessageBox(AFX_IDP_FAILED_MAPI_SEND);
}

void CDocument::OnUpdateFileSendMail(CCmdUI* pCmdUI)
{
    char szPath[MAX_PATH];
    BOOL bMail = ::GetProfileIntA("Mail", "MAPI", 0) != 0 &&
                 ::SearchPathA(NULL, "MAPI32.DLL", NULL, MAX_PATH, szPath, NULL) != 0;
    pCmdUI->Enable(bMail);
}
