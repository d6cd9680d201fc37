#include "afx.h"
#include "AfxLibraryText.h"

IMPLEMENT_DYNAMIC(CNotSupportedException, CSimpleException)

CNotSupportedException::CNotSupportedException() { m_nTextID = AFX_TEXT_NOT_SUPPORTED; }

CNotSupportedException::CNotSupportedException(BOOL bAutoDelete) : CSimpleException(bAutoDelete) { m_nTextID = AFX_TEXT_NOT_SUPPORTED; }

CNotSupportedException::~CNotSupportedException() {}

void AFXAPI AfxThrowNotSupportedException()
{
    static CNotSupportedException s_exception(FALSE);
    throw &s_exception;
}
