#include "afx.h"

#include <string.h>

namespace {

// The module's registered classes. Registration runs during static initialisation, look-ups at
// any time and from any thread.
SRWLOCK g_classListLock = SRWLOCK_INIT;
CRuntimeClass* g_pFirstClass = NULL;

// Longest class name an archive may name (longer names are treated as unknown classes).
const UINT kMaxClassName = 64;

} // namespace

void AFXAPI AfxClassInit(CRuntimeClass* pNewClass)
{
    AcquireSRWLockExclusive(&g_classListLock);
    pNewClass->m_pNextClass = g_pFirstClass;
    g_pFirstClass = pNewClass;
    ReleaseSRWLockExclusive(&g_classListLock);
}

AFX_CLASSINIT::AFX_CLASSINIT(CRuntimeClass* pNewClass) { AfxClassInit(pNewClass); }

CObject* CRuntimeClass::CreateObject()
{
    if (m_pfnCreateObject == NULL) {
        TRACE("Cannot create an object of class %s dynamically.\n", m_lpszClassName);
        return NULL;
    }
    return (*m_pfnCreateObject)();
}

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* pBaseClass) const
{
    for (const CRuntimeClass* pClass = this; pClass != NULL; pClass = pClass->m_pBaseClass) {
        if (pClass == pBaseClass)
            return TRUE;
    }
    return FALSE;
}

CRuntimeClass* PASCAL CRuntimeClass::FromName(LPCSTR lpszClassName)
{
    if (lpszClassName == NULL)
        return NULL;
    CRuntimeClass* pFound = NULL;
    AcquireSRWLockShared(&g_classListLock);
    for (CRuntimeClass* pClass = g_pFirstClass; pClass != NULL; pClass = pClass->m_pNextClass) {
        if (strcmp(pClass->m_lpszClassName, lpszClassName) == 0) {
            pFound = pClass;
            break;
        }
    }
    ReleaseSRWLockShared(&g_classListLock);
    return pFound;
}

CObject* PASCAL CRuntimeClass::CreateObject(LPCSTR lpszClassName)
{
    CRuntimeClass* pClass = FromName(lpszClassName);
    return pClass != NULL ? pClass->CreateObject() : NULL;
}

void CRuntimeClass::Store(CArchive& ar) const
{
    WORD nLen = (WORD)strlen(m_lpszClassName);
    ar << (WORD)m_wSchema << nLen;
    ar.Write(m_lpszClassName, nLen);
}

CRuntimeClass* PASCAL CRuntimeClass::Load(CArchive& ar, UINT* pwSchemaNum)
{
    WORD wSchema = 0;
    WORD nLen = 0;
    ar >> wSchema >> nLen;
    *pwSchemaNum = wSchema;

    char szClassName[kMaxClassName];
    if (nLen >= kMaxClassName) {
        TRACE("Class name of %u characters in an archive is too long.\n", nLen);
        return NULL;
    }
    if (ar.Read(szClassName, nLen) != nLen)
        AfxThrowArchiveException(CArchiveException::endOfFile);
    szClassName[nLen] = '\0';
    return FromName(szClassName);
}
