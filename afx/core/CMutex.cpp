#include "afxmt.h"

IMPLEMENT_DYNAMIC(CMutex, CSyncObject)

CMutex::CMutex(BOOL bInitiallyOwn, LPCTSTR pstrName, LPSECURITY_ATTRIBUTES lpsaAttribute) : CSyncObject(pstrName)
{
    m_hObject = ::CreateMutexA(lpsaAttribute, bInitiallyOwn, pstrName);
    if (m_hObject == NULL)
        AfxThrowResourceException();
}

CMutex::~CMutex() {}

BOOL CMutex::Unlock() { return ::ReleaseMutex(m_hObject); }
