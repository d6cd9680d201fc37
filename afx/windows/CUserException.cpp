#include "AfxWindowLayer.h"

IMPLEMENT_DYNAMIC(CUserException, CSimpleException)

CUserException::CUserException() {}

CUserException::CUserException(BOOL bAutoDelete) : CSimpleException(bAutoDelete) {}

CUserException::~CUserException() {}

void AFXAPI AfxThrowUserException()
{
    static CUserException s_exception(FALSE);
    throw &s_exception;
}
