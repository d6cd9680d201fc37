#include "CRegistrySubkeyList.h"

CRegistrySubkeyList::CRegistrySubkeyList(HKEY hRoot, WORD nDepthLimit) : CRegistryKey(hRoot), m_nDepthLimit(nDepthLimit)
{
}

CRegistrySubkeyList::~CRegistrySubkeyList() { m_names.RemoveAll(); }

BOOL CRegistrySubkeyList::OnSubkey(LPCTSTR lpszName, int nDepth)
{
    if (nDepth <= (int)m_nDepthLimit)
        m_names.AddTail(lpszName);
    return TRUE;
}

BOOL CRegistrySubkeyList::OnValue(LPCTSTR, LPCTSTR, const CRegistryValue&, int) { return FALSE; }

const CStringList& CRegistrySubkeyList::Collect(LPCTSTR lpszSubkey)
{
    m_names.RemoveAll();
    Enumerate(lpszSubkey, kSubkeys);
    return m_names;
}
