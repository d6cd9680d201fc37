// Run-time classes: names, schemas, IsKindOf, dynamic creation and look-up by name.
#include <afxcoll.h>
#include <gtest/gtest.h>

#include <memory>

#include "CArchiveProbe.h"
#include "CVersionedProbe.h"

namespace {

class CShape : public CObject {
    DECLARE_DYNAMIC(CShape)
};
IMPLEMENT_DYNAMIC(CShape, CObject)

class CCircle : public CShape {
    DECLARE_DYNCREATE(CCircle)
};
IMPLEMENT_DYNCREATE(CCircle, CShape)

} // namespace

TEST(RuntimeClass, NamesSchemasAndBases)
{
    const struct {
        CRuntimeClass* pClass;
        const char* name;
        UINT schema;
        CRuntimeClass* pBase;
        bool bCreatable;
    } cases[] = {
        {RUNTIME_CLASS(CObject), "CObject", 0xFFFF, NULL, false},
        {RUNTIME_CLASS(CShape), "CShape", 0xFFFF, RUNTIME_CLASS(CObject), false},
        {RUNTIME_CLASS(CCircle), "CCircle", 0xFFFF, RUNTIME_CLASS(CShape), true},
        {RUNTIME_CLASS(CArchiveProbe), "CArchiveProbe", 3, RUNTIME_CLASS(CObject), true},
        {RUNTIME_CLASS(CVersionedProbe), "CVersionedProbe", VERSIONABLE_SCHEMA | 2, RUNTIME_CLASS(CObject), true},
        {RUNTIME_CLASS(CObList), "CObList", 0, RUNTIME_CLASS(CObject), true},
        {RUNTIME_CLASS(CPtrList), "CPtrList", 0xFFFF, RUNTIME_CLASS(CObject), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_STREQ(c.name, c.pClass->m_lpszClassName);
        EXPECT_EQ(c.schema, c.pClass->m_wSchema);
        EXPECT_EQ(c.pBase, c.pClass->m_pBaseClass);
        std::unique_ptr<CObject> pObject(c.pClass->CreateObject());
        EXPECT_EQ(c.bCreatable, pObject != nullptr);
        if (pObject != nullptr) {
            EXPECT_EQ(c.pClass, pObject->GetRuntimeClass());
        }
        EXPECT_EQ(c.pClass, CRuntimeClass::FromName(c.name));
    }
    EXPECT_EQ(nullptr, CRuntimeClass::FromName("CUnbekannt"));
    EXPECT_EQ(nullptr, CRuntimeClass::FromName("cobject")); // names are case-sensitive
}

TEST(RuntimeClass, IsKindOfFollowsTheBaseChain)
{
    CCircle circle;
    EXPECT_TRUE(circle.IsKindOf(RUNTIME_CLASS(CCircle)));
    EXPECT_TRUE(circle.IsKindOf(RUNTIME_CLASS(CShape)));
    EXPECT_TRUE(circle.IsKindOf(RUNTIME_CLASS(CObject)));
    EXPECT_FALSE(circle.IsKindOf(RUNTIME_CLASS(CArchiveProbe)));
    EXPECT_FALSE(circle.IsSerializable());
    EXPECT_TRUE(CArchiveProbe().IsSerializable());
    EXPECT_TRUE(RUNTIME_CLASS(CCircle)->IsDerivedFrom(RUNTIME_CLASS(CShape)));
    EXPECT_FALSE(RUNTIME_CLASS(CShape)->IsDerivedFrom(RUNTIME_CLASS(CCircle)));

    std::unique_ptr<CObject> pByName(CRuntimeClass::CreateObject("CArchiveProbe"));
    ASSERT_NE(nullptr, pByName);
    EXPECT_TRUE(pByName->IsKindOf(RUNTIME_CLASS(CArchiveProbe)));
    EXPECT_EQ(nullptr, CRuntimeClass::CreateObject("CShape"));
}

TEST(RuntimeClass, NonSerializableObjectsCannotBeArchived)
{
    CCircle circle;
    CMemFile file;
    CArchive ar(&file, CArchive::store);
    bool bRefused = false;
    try {
        ar << &circle;
    } catch (CNotSupportedException* e) {
        bRefused = true;
        e->Delete();
    }
    EXPECT_TRUE(bRefused);
    ar.Abort();
}
