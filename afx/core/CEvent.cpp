#include "afxmt.h"

IMPLEMENT_DYNAMIC(CEvent, CSyncObject)

CEvent::CEvent(BOOL bInitiallyOwn, BOOL bManualReset, LPCTSTR pstrName, LPSECURITY_ATTRIBUTES lpsaAttribute)
    : CSyncObject(pstrName)
{
    m_hObject = ::CreateEventA(lpsaAttribute, bManualReset, bInitiallyOwn, pstrName);
    if (m_hObject == NULL)
        AfxThrowResourceException();
}

CEvent::~CEvent() {}

BOOL CEvent::SetEvent() { return ::SetEvent(m_hObject); }

BOOL CEvent::PulseEvent() { return ::PulseEvent(m_hObject); }

BOOL CEvent::ResetEvent() { return ::ResetEvent(m_hObject); }

BOOL CEvent::Unlock() { return TRUE; }
