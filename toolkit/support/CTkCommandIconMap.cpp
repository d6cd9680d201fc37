#include "CTkCommandIconMap.h"

namespace {

void DestroyIfOther(HICON hOld, const CTkCommandIcons& icons)
{
    if (hOld != NULL && hOld != icons.hNormal && hOld != icons.hDisabled && hOld != icons.hHot)
        ::DestroyIcon(hOld);
}

} // namespace

CTkCommandIconMap::CTkCommandIconMap() { m_map.InitHashTable(17, FALSE); }

CTkCommandIconMap::~CTkCommandIconMap()
{
    static const CTkCommandIcons s_none = {NULL, NULL, NULL};
    POSITION pos = m_map.GetStartPosition();
    while (pos != NULL) {
        UINT nID;
        CTkCommandIcons icons;
        m_map.GetNextAssoc(pos, nID, icons);
        DestroyIfOther(icons.hNormal, s_none);
        DestroyIfOther(icons.hDisabled, s_none);
        DestroyIfOther(icons.hHot, s_none);
    }
}

void CTkCommandIconMap::SetAt(UINT nID, HICON hNormal, HICON hDisabled, HICON hHot)
{
    CTkCommandIcons icons = {hNormal, hDisabled, hHot}, old;
    if (m_map.Lookup(nID, old)) {
        DestroyIfOther(old.hNormal, icons);
        DestroyIfOther(old.hDisabled, icons);
        DestroyIfOther(old.hHot, icons);
    }
    m_map.SetAt(nID, icons);
}

BOOL CTkCommandIconMap::Lookup(UINT nID, HICON* pNormal, HICON* pDisabled, HICON* pHot) const
{
    CTkCommandIcons icons;
    if (!m_map.Lookup(nID, icons))
        return FALSE;
    if (pNormal != NULL)
        *pNormal = icons.hNormal;
    if (pDisabled != NULL)
        *pDisabled = icons.hDisabled;
    if (pHot != NULL)
        *pHot = icons.hHot;
    return TRUE;
}

void CTkCommandIconMap::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar.WriteCount((DWORD)m_map.GetCount());
        POSITION pos = m_map.GetStartPosition();
        while (pos != NULL) {
            UINT nID;
            CTkCommandIcons icons;
            m_map.GetNextAssoc(pos, nID, icons);
            DWORD dwID = nID;
            ar.Write(&dwID, sizeof(dwID));
            ar.Write(&icons.hNormal, sizeof(HICON));
            ar.Write(&icons.hDisabled, sizeof(HICON));
            ar.Write(&icons.hHot, sizeof(HICON));
        }
    } else {
        DWORD dwCount = ar.ReadCount();
        for (DWORD i = 0; i < dwCount; i++) {
            DWORD dwID = 0;
            CTkCommandIcons icons = {NULL, NULL, NULL};
            if (ar.Read(&dwID, sizeof(dwID)) != sizeof(dwID) || ar.Read(&icons.hNormal, sizeof(HICON)) != sizeof(HICON) ||
                ar.Read(&icons.hDisabled, sizeof(HICON)) != sizeof(HICON) ||
                ar.Read(&icons.hHot, sizeof(HICON)) != sizeof(HICON))
                AfxThrowArchiveException(CArchiveException::endOfFile);
            SetAt(dwID, icons.hNormal, icons.hDisabled, icons.hHot);
        }
    }
}
