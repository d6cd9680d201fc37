#include "afx.h"
#include "AfxLibraryText.h"

IMPLEMENT_DYNAMIC(CException, CObject)

CException::CException(BOOL bAutoDelete) : m_bAutoDelete(bAutoDelete) {}

CException::~CException() {}

void CException::Delete()
{
    if (m_bAutoDelete > 0)
        delete this;
}

BOOL CException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext)
{
    if (pnHelpContext != NULL)
        *pnHelpContext = 0;
    if (lpszError != NULL && nMaxError != 0)
        *lpszError = '\0';
    return FALSE;
}

int CException::ReportError(UINT nType, UINT nMessageID)
{
    char szErrorMessage[512];
    UINT nHelpContext = 0;
    if (GetErrorMessage(szErrorMessage, sizeof szErrorMessage, &nHelpContext) && szErrorMessage[0] != '\0')
        return AfxShowMessageBox(szErrorMessage, nType, nHelpContext);

    CString text;
    if (nMessageID == 0 || !text.LoadString(nMessageID))
        text = AfxGetLibraryText(AFX_TEXT_NO_ERROR_MESSAGE);
    return AfxShowMessageBox(text, nType, nHelpContext);
}
