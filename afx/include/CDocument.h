// A document: the data that one or more views show. The document keeps the list of its views,
// its title and path, whether it was modified, and the template that made it; it reads and
// writes itself through Serialize with an archive over its file.
//
// Commands reach the document after the active view (CView::OnCmdMsg) and before its frame; the
// document passes what it does not handle on to its template. With m_bAutoDelete (the default)
// the document closes and deletes itself when its last view goes.
//
// Saving writes a temporary file beside the target and puts it in the target's place only when
// everything was written, so a failed save keeps the file as it was.
#pragma once

#include "CCmdTarget.h"
#include "CPtrList.h"
#include "CString.h"

class CArchive;
class CCmdUI;
class CDocTemplate;
class CException;
class CFile;
class CFileException;
class CFrameWnd;
class CView;

class CDocument : public CCmdTarget {
    DECLARE_DYNAMIC(CDocument)
public:
    CDocument();
    // Disconnects views that are left (they no longer refer to the document) and leaves the
    // template.
    virtual ~CDocument();

    const CString& GetTitle() const { return m_strTitle; }
    virtual void SetTitle(LPCTSTR lpszTitle);
    const CString& GetPathName() const { return m_strPathName; }
    // The full path; the title becomes the file's name. The list of recent files is not kept
    // (bAddToMRU is accepted for the callers' sake).
    virtual void SetPathName(LPCTSTR lpszPathName, BOOL bAddToMRU = TRUE);
    CDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }
    virtual BOOL IsModified();
    virtual void SetModifiedFlag(BOOL bModified = TRUE);

    // ---- views ----
    virtual POSITION GetFirstViewPosition() const;
    virtual CView* GetNextView(POSITION& rPosition) const;
    void AddView(CView* pView);
    void RemoveView(CView* pView);
    // OnUpdate of every view but pSender, in the order the views were added.
    void UpdateAllViews(CView* pSender, LPARAM lHint = 0L, CObject* pHint = NULL);
    // A view came or went: without views (and with m_bAutoDelete) the document closes, else the
    // frames' window numbers and titles are brought up to date.
    virtual void OnChangedViewList();
    // Numbers the frames that show the document (":1", ":2" in their titles when there are
    // several) and updates their titles.
    virtual void UpdateFrameCounts();
    // Every view forgets the document (ending a session: the windows go without closing it).
    void DisconnectViews();

    // ---- life of the document ----
    // Empties the document (called before new contents come in and when it closes).
    virtual void DeleteContents();
    virtual BOOL OnNewDocument();
    // Reads the file through Serialize; a file that cannot be opened or read is reported (the
    // document is empty then) and FALSE answered.
    virtual BOOL OnOpenDocument(LPCTSTR lpszPathName);
    // Writes the file through Serialize; a failure is reported, the file stays as it was, and
    // FALSE is answered.
    virtual BOOL OnSaveDocument(LPCTSTR lpszPathName);
    // Destroys the frames of the views, empties the document and (m_bAutoDelete) deletes it.
    virtual void OnCloseDocument();
    // The last reference of a client (automation) went: the document closes (OnCloseDocument),
    // rather than being deleted under its views.
    virtual void OnFinalRelease();
    // Shows why a file could not be read or written (the exception's text, else nIDPDefault
    // with the file's name).
    virtual void ReportSaveLoadException(LPCTSTR lpszPathName, CException* e, BOOL bSaving, UINT nIDPDefault);
    // The file to read or write: files opened for writing (modeCreate) write into a temporary
    // file that ReleaseFile puts in the target's place (bAbort: removes it instead).
    virtual CFile* GetFile(LPCTSTR lpszFileName, UINT nOpenFlags, CFileException* pError);
    virtual void ReleaseFile(CFile* pFile, BOOL bAbort);

    // Whether pFrame may close: when it is the document's last frame the document is asked to
    // save (SaveModified).
    virtual BOOL CanCloseFrame(CFrameWnd* pFrame);
    // A modified document asks whether to save its changes (AFX_IDP_ASK_TO_SAVE, Yes/No/Cancel);
    // FALSE for Cancel or a failed save.
    virtual BOOL SaveModified();
    // Called before a frame of the document is destroyed.
    virtual void PreCloseFrame(CFrameWnd* pFrame);
    // Saves under lpszPathName, or under a name the user chooses when it is NULL; with bReplace
    // the document takes the new name.
    virtual BOOL DoSave(LPCTSTR lpszPathName, BOOL bReplace = TRUE);
    // Saves under the document's path (asking for a name when it has none or it is read-only).
    virtual BOOL DoFileSave();

    // The menu and accelerators a frame uses while the document is active (none by default).
    virtual HMENU GetDefaultMenu();
    virtual HACCEL GetDefaultAccelerator();

    // The document's own handlers, then its template's.
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);

    CString m_strTitle;
    CString m_strPathName;
    CDocTemplate* m_pDocTemplate;
    CPtrList m_viewList;
    BOOL m_bModified;
    BOOL m_bAutoDelete;
    BOOL m_bEmbedded;

    // ID_FILE_CLOSE, ID_FILE_SAVE, ID_FILE_SAVE_AS.
    afx_msg void OnFileClose();
    afx_msg void OnFileSave();
    afx_msg void OnFileSaveAs();
    // The handlers of ID_FILE_SEND_MAIL, for the message maps of documents that offer mail (the
    // document's own map does not route the command).
    // A new mail with the document attached, through Simple MAPI (MAPI32.DLL, loaded for the
    // call) and the mail program's dialog. An untitled or modified document is saved
    // (OnSaveDocument) to a file named after its title in the temporary folder, which is removed
    // after the mail; otherwise its own file goes. The modified flag stays as it was. A missing
    // mail library, a failed save or a failed mail is reported; the user's cancel is not.
    afx_msg void OnFileSendMail();
    // Enabled when mail is installed: MAPI32.DLL in the search path and MAPI=1 in the [Mail]
    // section of WIN.INI.
    afx_msg void OnUpdateFileSendMail(CCmdUI* pCmdUI);

protected:
    DECLARE_MESSAGE_MAP()
};
