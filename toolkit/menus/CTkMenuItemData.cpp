#include "CTkMenuItemData.h"

#include <afxcoll.h>

namespace {

CMapPtrToPtr& LiveRecords()
{
    static CMapPtrToPtr s_map;
    return s_map;
}

} // namespace

CTkMenuItemData::CTkMenuItemData()
    : m_dwSignature(TK_MENUITEM_SIGNATURE), m_nHomePos(0), m_nID(0), m_bRemoved(0), m_hMenu(NULL), m_hSubMenu(NULL),
      m_fType(0), m_fState(0), m_nGroup(0)
{
    LiveRecords().SetAt(this, this);
}

CTkMenuItemData::~CTkMenuItemData()
{
    LiveRecords().RemoveKey(this);
    m_dwSignature = 0;
}

CTkMenuItemData* CTkMenuItemData::FromItemData(ULONG_PTR dwItemData)
{
    void* pValue = NULL;
    if (dwItemData == 0 || !LiveRecords().Lookup(reinterpret_cast<void*>(dwItemData), pValue))
        return NULL;
    CTkMenuItemData* p = static_cast<CTkMenuItemData*>(pValue);
    return p->m_dwSignature == TK_MENUITEM_SIGNATURE ? p : NULL;
}
