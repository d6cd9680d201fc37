#include "afx.h"
#include "AfxLibraryText.h"

IMPLEMENT_DYNAMIC(CArchiveException, CException)

CArchiveException::CArchiveException(int cause, LPCTSTR lpszArchiveName)
    : m_cause(cause), m_strFileName(lpszArchiveName)
{
}

CArchiveException::~CArchiveException() {}

BOOL CArchiveException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext)
{
    if (pnHelpContext != NULL)
        *pnHelpContext = 0;
    int cause = (m_cause >= none && m_cause <= badSchema) ? m_cause : generic;
    LPCTSTR lpszName = m_strFileName.IsEmpty() ? AfxGetLibraryText(AFX_TEXT_UNNAMED_FILE) : (LPCTSTR)m_strFileName;
    AfxFormatLibraryText(lpszError, nMaxError, AfxGetLibraryText(AFX_TEXT_ARCHIVE_FIRST + cause), lpszName);
    return TRUE;
}

void AFXAPI AfxThrowArchiveException(int cause, LPCTSTR lpszArchiveName)
{
    throw new CArchiveException(cause, lpszArchiveName);
}
