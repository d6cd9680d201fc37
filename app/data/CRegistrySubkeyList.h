// A registry walk that collects the names of the subkeys down to a depth: with the limit 0 the
// direct subkeys of the walked key, in the order the registry reports them.
#pragma once

#include <afxcoll.h>

#include "CRegistryKey.h"

class CRegistrySubkeyList : public CRegistryKey {
public:
    CRegistrySubkeyList(HKEY hRoot, WORD nDepthLimit);
    ~CRegistrySubkeyList() override;

    // Appends the name when the depth is not greater than the limit; the walk always goes on.
    BOOL OnSubkey(LPCTSTR lpszName, int nDepth) override;
    // Values are not collected.
    BOOL OnValue(LPCTSTR lpszKeyPath, LPCTSTR lpszName, const CRegistryValue& value, int nDepth) override;

    // Walks the key below the root and answers the names collected (empty when the key is
    // missing).
    const CStringList& Collect(LPCTSTR lpszSubkey);

    CStringList m_names;
    WORD m_nDepthLimit;
};
