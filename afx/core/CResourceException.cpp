#include "afx.h"
#include "AfxLibraryText.h"

IMPLEMENT_DYNAMIC(CResourceException, CSimpleException)

CResourceException::CResourceException() { m_nTextID = AFX_TEXT_RESOURCE; }

CResourceException::CResourceException(BOOL bAutoDelete) : CSimpleException(bAutoDelete) { m_nTextID = AFX_TEXT_RESOURCE; }

CResourceException::~CResourceException() {}

void AFXAPI AfxThrowResourceException()
{
    static CResourceException s_exception(FALSE);
    throw &s_exception;
}
