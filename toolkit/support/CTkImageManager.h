// The process-wide store of command pictures: for each command id an icon record with the normal
// icon and its faded, shadow and disabled variants, in two maps (the normal map, and the
// alternate map that holds among others the pictures of toolbars' disabled image lists).
#pragma once

#include <afxwin.h>
#include <afxcmn.h>
#include <afxtempl.h>

// The icons of one command in one map; the record owns them (each may be NULL).
struct CTkIconRecord {
    CTkIconRecord() : hNormal(NULL), hFaded(NULL), hShadow(NULL), hDisabled(NULL) {}
    ~CTkIconRecord();

    HICON hNormal;
    HICON hFaded;   // 70% of the colours plus 30% white: icons neither highlighted nor disabled
    HICON hShadow;  // the shape in toolkit colour 34
    HICON hDisabled;

private:
    CTkIconRecord(const CTkIconRecord&) = delete;
    CTkIconRecord& operator=(const CTkIconRecord&) = delete;
};

class CTkImageManager {
public:
    CTkImageManager();
    ~CTkImageManager();

    // With bReplace: a new record for the id in the chosen map (the old one destroyed), its normal
    // icon image nIndex of the list, faded and shadow icons derived from it. Without: the image
    // becomes the disabled icon of an existing record that has none; otherwise nothing happens.
    void AddImage(UINT nID, CImageList* pList, int nIndex, BOOL bReplace, BOOL bNormal);
    // The pictures of a toolbar resource (RT_TOOLBAR with a bitmap of the same name, light grey
    // transparent), one per command id in order. FALSE when the resource, its data or the image
    // list is missing or the resource is shorter than its count says.
    BOOL LoadToolbarImages(LPCTSTR lpszResourceName, BOOL bReplace, BOOL bNormal);
    // The pictures of a toolbar's buttons (pBar is the toolbar's window): every button with an
    // image index and a command id, into the normal map. FALSE for a NULL list.
    BOOL AddToolbarImageList(CWnd* pBar, HIMAGELIST hList, BOOL bReplace);
    BOOL AddIcon(UINT nID, HICON hIcon, int cx, int cy, BOOL bReplace, BOOL bNormal);
    BOOL Contains(UINT nID, BOOL bNormal) const;
    // The preferred map first, then the other; NULL when neither has the id.
    CTkIconRecord* Lookup(UINT nID, BOOL bPreferNormal) const;

    // Removes every record (process end; tests).
    void RemoveAll();

    CMap<UINT, UINT, CTkIconRecord*, CTkIconRecord*> m_mapNormal;
    CMap<UINT, UINT, CTkIconRecord*, CTkIconRecord*> m_mapAlternate;

    // The faded (bShadow FALSE) or shadow variant of an icon; NULL for an icon without colour
    // bitmap. The caller owns it.
    static HICON MakeVariant(HICON hIcon, BOOL bShadow);
};

// The one image manager.
CTkImageManager& TkGetImageManager();
