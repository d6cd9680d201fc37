#include "afx.h"
#include "AfxLibraryText.h"

IMPLEMENT_DYNAMIC(CSimpleException, CException)

CSimpleException::CSimpleException() : m_nTextID(AFX_TEXT_NO_ERROR_MESSAGE) {}

CSimpleException::CSimpleException(BOOL bAutoDelete) : CException(bAutoDelete), m_nTextID(AFX_TEXT_NO_ERROR_MESSAGE) {}

CSimpleException::~CSimpleException() {}

BOOL CSimpleException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext)
{
    if (pnHelpContext != NULL)
        *pnHelpContext = 0;
    AfxFormatLibraryText(lpszError, nMaxError, AfxGetLibraryText(m_nTextID), NULL);
    return TRUE;
}
