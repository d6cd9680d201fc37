#include "afxmt.h"

IMPLEMENT_DYNAMIC(CSyncObject, CObject)

CSyncObject::CSyncObject(LPCTSTR pstrName) : m_hObject(NULL) { UNUSED(pstrName); }

CSyncObject::~CSyncObject()
{
    if (m_hObject != NULL) {
        ::CloseHandle(m_hObject);
        m_hObject = NULL;
    }
}

BOOL CSyncObject::Lock(DWORD dwTimeout)
{
    DWORD dwRet = ::WaitForSingleObject(m_hObject, dwTimeout);
    return dwRet == WAIT_OBJECT_0 || dwRet == WAIT_ABANDONED;
}

BOOL CSyncObject::Unlock(LONG lCount, LPLONG lpPrevCount)
{
    UNUSED(lCount);
    UNUSED(lpPrevCount);
    return TRUE;
}
