#include "afx.h"
#include "AfxLibraryText.h"

IMPLEMENT_DYNAMIC(CInvalidArgException, CSimpleException)

CInvalidArgException::CInvalidArgException() { m_nTextID = AFX_TEXT_INVALID_ARG; }

CInvalidArgException::CInvalidArgException(BOOL bAutoDelete) : CSimpleException(bAutoDelete) { m_nTextID = AFX_TEXT_INVALID_ARG; }

CInvalidArgException::~CInvalidArgException() {}

void AFXAPI AfxThrowInvalidArgException()
{
    static CInvalidArgException s_exception(FALSE);
    throw &s_exception;
}
