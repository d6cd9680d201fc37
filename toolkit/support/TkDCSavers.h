// Scope objects that remember one setting of a device context and restore it when they end.
#pragma once

#include <afxwin.h>

class CTkDCTextColorSaver {
public:
    explicit CTkDCTextColorSaver(CDC* pDC) : m_pDC(pDC), m_clr(pDC->GetTextColor()) {}
    CTkDCTextColorSaver(CDC* pDC, COLORREF clr) : m_pDC(pDC), m_clr(pDC->SetTextColor(clr)) {}
    ~CTkDCTextColorSaver() { m_pDC->SetTextColor(m_clr); }

private:
    CDC* m_pDC;
    COLORREF m_clr;
};

class CTkDCBkColorSaver {
public:
    explicit CTkDCBkColorSaver(CDC* pDC) : m_pDC(pDC), m_clr(pDC->GetBkColor()) {}
    CTkDCBkColorSaver(CDC* pDC, COLORREF clr) : m_pDC(pDC), m_clr(pDC->SetBkColor(clr)) {}
    ~CTkDCBkColorSaver() { m_pDC->SetBkColor(m_clr); }

private:
    CDC* m_pDC;
    COLORREF m_clr;
};

class CTkDCBkModeSaver {
public:
    explicit CTkDCBkModeSaver(CDC* pDC) : m_pDC(pDC), m_nMode(pDC->GetBkMode()) {}
    CTkDCBkModeSaver(CDC* pDC, int nMode) : m_pDC(pDC), m_nMode(pDC->SetBkMode(nMode)) {}
    ~CTkDCBkModeSaver() { m_pDC->SetBkMode(m_nMode); }

private:
    CDC* m_pDC;
    int m_nMode;
};

class CTkDCFontSaver {
public:
    explicit CTkDCFontSaver(CDC* pDC) : m_pDC(pDC), m_hFont(::GetCurrentObject(pDC->m_hDC, OBJ_FONT)) {}
    CTkDCFontSaver(CDC* pDC, CFont* pFont) : m_pDC(pDC), m_hFont(::SelectObject(pDC->m_hDC, pFont->m_hObject)) {}
    ~CTkDCFontSaver() { ::SelectObject(m_pDC->m_hDC, m_hFont); }

private:
    CDC* m_pDC;
    HGDIOBJ m_hFont;
};
