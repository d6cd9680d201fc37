// Builds an extended dialog template (DLGTEMPLATEEX) in memory, for CreateDialogIndirectParamA
// and DialogBoxIndirectParamA. Texts are ANSI (code page of the process) and stored as UTF-16.
//
// Layout: the header (version 1, signature 0xFFFF, help id, extended style, style, item count,
// x, y, cx, cy), the menu (none), the class (none or a name), the caption and, with DS_SETFONT,
// point size, weight, italic, character set and face name; then each item on a DWORD boundary:
// help id, extended style, style, x, y, cx, cy, DWORD id, class name, text, no creation data.
#pragma once

#include <windows.h>

#include <cstddef>
#include <vector>

class DialogTemplate {
public:
    // 'dialogClass' NULL gives the system dialog class. DS_SETFONT is added when 'fontFace' is set.
    DialogTemplate(DWORD style, DWORD exStyle, short x, short y, short cx, short cy, const char* caption,
                   const char* dialogClass = nullptr, const char* fontFace = "MS Shell Dlg", WORD pointSize = 8);

    void AddItem(const char* itemClass, const char* text, DWORD id, DWORD style, short x, short y, short cx,
                 short cy, DWORD exStyle = 0);

    const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(m_words.data()); }
    std::size_t Size() const { return m_words.size() * sizeof(WORD); }

private:
    void PutWord(WORD value) { m_words.push_back(value); }
    void PutDword(DWORD value);
    void PutText(const char* text);
    void AlignDword();

    std::vector<WORD> m_words;
    std::size_t m_countIndex = 0;
};
