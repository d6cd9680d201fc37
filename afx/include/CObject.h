// The root of the class library's class tree: run-time class information, IsKindOf and
// serialisation, plus the DECLARE_/IMPLEMENT_ macros that give a class its CRuntimeClass.
#pragma once

#include "CRuntimeClass.h"

class CObject {
public:
    virtual CRuntimeClass* GetRuntimeClass() const;
    virtual ~CObject();

protected:
    CObject();

public:
    // Objects of the class tree are not copyable unless a class says so itself.
    CObject(const CObject& objectSrc) = delete;
    CObject& operator=(const CObject& objectSrc) = delete;

    // TRUE when the class was implemented with IMPLEMENT_SERIAL.
    BOOL IsSerializable() const;
    BOOL IsKindOf(const CRuntimeClass* pClass) const;

    // Writes or reads the object's data; CObject has none.
    virtual void Serialize(CArchive& ar);

#ifdef _DEBUG
    virtual void AssertValid() const;
#endif

    static AFX_DATA CRuntimeClass classCObject;
};

#define RUNTIME_CLASS(class_name) ((CRuntimeClass*)(&class_name::class##class_name))

#define ASSERT_KINDOF(class_name, object) ASSERT((object)->IsKindOf(RUNTIME_CLASS(class_name)))

// pObject as a pointer to the class (or a class derived from it), or NULL when it is NULL or of
// another class.
CObject* AFXAPI AfxDynamicDownCast(CRuntimeClass* pClass, CObject* pObject);
#define DYNAMIC_DOWNCAST(class_name, object) ((class_name*)AfxDynamicDownCast(RUNTIME_CLASS(class_name), object))
// pObject as a pointer to the class, which it must be of (checked by debug builds only).
CObject* AFXAPI AfxStaticDownCast(CRuntimeClass* pClass, CObject* pObject);
#define STATIC_DOWNCAST(class_name, object) ((class_name*)AfxStaticDownCast(RUNTIME_CLASS(class_name), object))

#define DECLARE_DYNAMIC(class_name)                                                             \
public:                                                                                         \
    static AFX_DATA CRuntimeClass class##class_name;                                            \
    virtual CRuntimeClass* GetRuntimeClass() const;

#define DECLARE_DYNCREATE(class_name)                                                           \
    DECLARE_DYNAMIC(class_name)                                                                 \
    static CObject* PASCAL CreateObject();

#define DECLARE_SERIAL(class_name)                                                              \
    DECLARE_DYNCREATE(class_name)                                                               \
    friend CArchive& AFXAPI operator>>(CArchive& ar, class_name*& pOb);

#define IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, wSchema, pfnNew)                    \
    AFX_DATA CRuntimeClass class_name::class##class_name = {                                    \
        #class_name, (int)sizeof(class class_name), (UINT)(wSchema), pfnNew,                   \
        RUNTIME_CLASS(base_class_name), NULL};                                                 \
    CRuntimeClass* class_name::GetRuntimeClass() const { return RUNTIME_CLASS(class_name); }   \
    static const AFX_CLASSINIT _init_##class_name(RUNTIME_CLASS(class_name));

#define IMPLEMENT_DYNAMIC(class_name, base_class_name)                                          \
    IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, NULL)

#define IMPLEMENT_DYNCREATE(class_name, base_class_name)                                        \
    CObject* PASCAL class_name::CreateObject() { return new class_name; }                      \
    IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, class_name::CreateObject)

#define IMPLEMENT_SERIAL(class_name, base_class_name, wSchema)                                  \
    CObject* PASCAL class_name::CreateObject() { return new class_name; }                      \
    IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, wSchema, class_name::CreateObject)     \
    CArchive& AFXAPI operator>>(CArchive& ar, class_name*& pOb)                                \
    {                                                                                           \
        pOb = (class_name*)ar.ReadObject(RUNTIME_CLASS(class_name));                            \
        return ar;                                                                              \
    }
