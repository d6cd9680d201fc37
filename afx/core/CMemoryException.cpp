#include "afx.h"
#include "AfxLibraryText.h"

IMPLEMENT_DYNAMIC(CMemoryException, CSimpleException)

CMemoryException::CMemoryException() { m_nTextID = AFX_TEXT_MEMORY; }

CMemoryException::CMemoryException(BOOL bAutoDelete) : CSimpleException(bAutoDelete) { m_nTextID = AFX_TEXT_MEMORY; }

CMemoryException::~CMemoryException() {}

void AFXAPI AfxThrowMemoryException()
{
    static CMemoryException s_exception(FALSE);
    throw &s_exception;
}
