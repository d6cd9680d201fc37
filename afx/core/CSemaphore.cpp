#include "afxmt.h"

IMPLEMENT_DYNAMIC(CSemaphore, CSyncObject)

CSemaphore::CSemaphore(LONG lInitialCount, LONG lMaxCount, LPCTSTR pstrName, LPSECURITY_ATTRIBUTES lpsaAttributes)
    : CSyncObject(pstrName)
{
    m_hObject = ::CreateSemaphoreA(lpsaAttributes, lInitialCount, lMaxCount, pstrName);
    if (m_hObject == NULL)
        AfxThrowResourceException();
}

CSemaphore::~CSemaphore() {}

BOOL CSemaphore::Unlock() { return Unlock(1, NULL); }

BOOL CSemaphore::Unlock(LONG lCount, LPLONG lpPrevCount) { return ::ReleaseSemaphore(m_hObject, lCount, lpPrevCount); }
