// Run-time class information: the name, size, schema and creation function of a class derived
// from CObject, with a link to its base class. Classes implemented with IMPLEMENT_DYNAMIC,
// IMPLEMENT_DYNCREATE or IMPLEMENT_SERIAL are registered in a list of this module, so that an
// archive (or FromName) can find a class by its name.
#pragma once

#include "AfxBase.h"

class CArchive;

#define VERSIONABLE_SCHEMA (0x80000000)

struct CRuntimeClass {
    LPCSTR m_lpszClassName;
    int m_nObjectSize;
    UINT m_wSchema;                          // 0xFFFF: not serializable
    CObject*(PASCAL* m_pfnCreateObject)();   // NULL: not dynamically creatable
    CRuntimeClass* m_pBaseClass;

    // A new object of this class, or NULL when the class cannot be created dynamically.
    CObject* CreateObject();
    BOOL IsDerivedFrom(const CRuntimeClass* pBaseClass) const;

    // The registered class of that name (case-sensitive), or NULL.
    static CRuntimeClass* PASCAL FromName(LPCSTR lpszClassName);
    // A new object of the registered class of that name, or NULL.
    static CObject* PASCAL CreateObject(LPCSTR lpszClassName);

    // Archive form of a class reference: schema WORD, name length WORD, name bytes.
    void Store(CArchive& ar) const;
    // Reads that form and returns the registered class of the name read (NULL when unknown or
    // when the name is too long); *pwSchemaNum receives the schema read.
    static CRuntimeClass* PASCAL Load(CArchive& ar, UINT* pwSchemaNum);

    CRuntimeClass* m_pNextClass;             // the module's list of registered classes
};

// A static object of this type registers a class in the module's list when it is constructed.
struct AFX_CLASSINIT {
    explicit AFX_CLASSINIT(CRuntimeClass* pNewClass);
};

void AFXAPI AfxClassInit(CRuntimeClass* pNewClass);
