// An owning wrapper of one icon: assigning a new icon or destroying the holder destroys the icon
// held before.
#pragma once

#include <afxwin.h>

class CTkIconHolder {
public:
    CTkIconHolder() : m_hIcon(NULL) {}
    explicit CTkIconHolder(HICON hIcon) : m_hIcon(hIcon) {}
    virtual ~CTkIconHolder();

    operator HICON() const { return m_hIcon; }
    CTkIconHolder& operator=(HICON hIcon);

    // Width and height of the icon from its mask (halved for an icon without colour bitmap);
    // (0,0) without icon.
    CSize GetExtent() const;
    // A new icon scaled into size keeping the aspect ratio, owned by the caller; NULL for an
    // empty size or an icon without extent.
    HICON ScaleToFit(CSize size) const;

    HICON m_hIcon;

private:
    CTkIconHolder(const CTkIconHolder&) = delete;
    CTkIconHolder& operator=(const CTkIconHolder&) = delete;
};
