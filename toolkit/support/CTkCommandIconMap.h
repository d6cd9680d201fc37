// The customization's map of command icons: for each command id a normal, a disabled and a hot
// icon, owned by the map. Serialize moves icon sets between objects of the running process
// through a memory archive: the records hold the icon handles as they are (never persisted).
#pragma once

#include <afxwin.h>
#include <afxtempl.h>

struct CTkCommandIcons {
    HICON hNormal;
    HICON hDisabled;
    HICON hHot;
};

class CTkCommandIconMap : public CObject {
public:
    CTkCommandIconMap();
    ~CTkCommandIconMap() override;

    // An existing entry's icons are destroyed first (unless they are the new ones).
    void SetAt(UINT nID, HICON hNormal, HICON hDisabled, HICON hHot);
    BOOL Lookup(UINT nID, HICON* pNormal, HICON* pDisabled, HICON* pHot) const;
    int GetCount() const { return (int)m_map.GetCount(); }
    // Stores: the count, then per entry the id (4 bytes) and the three handles (pointer-sized
    // each). Loads the same into the map, replacing entries with equal ids.
    void Serialize(CArchive& ar) override;

    CMap<UINT, UINT, CTkCommandIcons, const CTkCommandIcons&> m_map;
};
