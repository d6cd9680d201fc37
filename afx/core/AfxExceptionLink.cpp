#include "afx.h"

namespace {
thread_local AFX_EXCEPTION_LINK* t_pLinkTop = NULL;
}

AFX_EXCEPTION_LINK::AFX_EXCEPTION_LINK() : m_pLinkPrev(t_pLinkTop), m_pException(NULL) { t_pLinkTop = this; }

AFX_EXCEPTION_LINK::~AFX_EXCEPTION_LINK()
{
    t_pLinkTop = m_pLinkPrev;
    if (m_pException != NULL)
        m_pException->Delete();
}

void AFXAPI AfxThrowLastCleanup()
{
    if (t_pLinkTop != NULL)
        t_pLinkTop->m_pException = NULL;
}
