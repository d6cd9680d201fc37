#include "afxmt.h"

CMultiLock::CMultiLock(CSyncObject* ppObjects[], DWORD dwCount, BOOL bInitialLock)
    : m_ppObjectArray(ppObjects), m_pHandleArray(m_hPreallocated), m_bLockedArray(m_bPreallocated), m_dwCount(dwCount)
{
    if (ppObjects == NULL || dwCount == 0 || dwCount > MAXIMUM_WAIT_OBJECTS)
        AfxThrowInvalidArgException();
    for (DWORD i = 0; i < dwCount; i++) {
        if (ppObjects[i] == NULL || ppObjects[i]->m_hObject == NULL)
            AfxThrowInvalidArgException();
    }
    if (dwCount > 8) {
        m_pHandleArray = new HANDLE[dwCount];
        m_bLockedArray = new BOOL[dwCount];
    }
    for (DWORD i = 0; i < dwCount; i++) {
        m_pHandleArray[i] = ppObjects[i]->m_hObject;
        m_bLockedArray[i] = FALSE;
    }
    if (bInitialLock)
        Lock();
}

CMultiLock::~CMultiLock()
{
    Unlock();
    if (m_pHandleArray != m_hPreallocated) {
        delete[] m_pHandleArray;
        delete[] m_bLockedArray;
    }
}

DWORD CMultiLock::Lock(DWORD dwTimeOut, BOOL bWaitForAll, DWORD dwWakeMask)
{
    DWORD dwResult;
    if (dwWakeMask == 0)
        dwResult = ::WaitForMultipleObjects(m_dwCount, m_pHandleArray, bWaitForAll, dwTimeOut);
    else
        dwResult = ::MsgWaitForMultipleObjects(m_dwCount, m_pHandleArray, bWaitForAll, dwTimeOut, dwWakeMask);

    DWORD dwIndex = WAIT_TIMEOUT;
    if (dwResult < WAIT_OBJECT_0 + m_dwCount)
        dwIndex = dwResult - WAIT_OBJECT_0;
    else if (dwResult >= WAIT_ABANDONED_0 && dwResult < WAIT_ABANDONED_0 + m_dwCount)
        dwIndex = dwResult - WAIT_ABANDONED_0;
    if (dwIndex != WAIT_TIMEOUT) {
        if (bWaitForAll) {
            for (DWORD i = 0; i < m_dwCount; i++)
                m_bLockedArray[i] = TRUE;
        } else
            m_bLockedArray[dwIndex] = TRUE;
    }
    return dwResult;
}

BOOL CMultiLock::Unlock()
{
    for (DWORD i = 0; i < m_dwCount; i++) {
        if (m_bLockedArray[i])
            m_bLockedArray[i] = !m_ppObjectArray[i]->Unlock();
    }
    return TRUE;
}

BOOL CMultiLock::Unlock(LONG lCount, LPLONG lpPrevCount)
{
    BOOL bGotOne = FALSE;
    for (DWORD i = 0; i < m_dwCount; i++) {
        if (m_bLockedArray[i]) {
            if (m_ppObjectArray[i]->IsKindOf(RUNTIME_CLASS(CSemaphore))) {
                bGotOne = TRUE;
                m_bLockedArray[i] = !m_ppObjectArray[i]->Unlock(lCount, lpPrevCount);
            }
        }
    }
    return bGotOne;
}

BOOL CMultiLock::IsLocked(DWORD dwObject)
{
    if (dwObject >= m_dwCount)
        AfxThrowInvalidArgException();
    return m_bLockedArray[dwObject];
}
