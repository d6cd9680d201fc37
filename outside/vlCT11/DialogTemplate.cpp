#include "DialogTemplate.h"

DialogTemplate::DialogTemplate(DWORD style, DWORD exStyle, short x, short y, short cx, short cy,
                               const char* caption, const char* dialogClass, const char* fontFace, WORD pointSize)
{
    if (fontFace)
        style |= DS_SETFONT;
    PutWord(1);      // version
    PutWord(0xFFFF); // signature of the extended template
    PutDword(0);     // help id
    PutDword(exStyle);
    PutDword(style);
    m_countIndex = m_words.size();
    PutWord(0);
    PutWord((WORD)x);
    PutWord((WORD)y);
    PutWord((WORD)cx);
    PutWord((WORD)cy);
    PutWord(0); // no menu
    if (dialogClass)
        PutText(dialogClass);
    else
        PutWord(0);
    PutText(caption);
    if (fontFace) {
        PutWord(pointSize);
        PutWord(FW_NORMAL);
        PutWord(MAKEWORD(FALSE, DEFAULT_CHARSET)); // italic, character set
        PutText(fontFace);
    }
}

void DialogTemplate::AddItem(const char* itemClass, const char* text, DWORD id, DWORD style, short x, short y,
                             short cx, short cy, DWORD exStyle)
{
    AlignDword();
    PutDword(0); // help id
    PutDword(exStyle);
    PutDword(style | WS_CHILD);
    PutWord((WORD)x);
    PutWord((WORD)y);
    PutWord((WORD)cx);
    PutWord((WORD)cy);
    PutDword(id);
    PutText(itemClass);
    PutText(text);
    PutWord(0); // no creation data
    ++m_words[m_countIndex];
}

void DialogTemplate::PutDword(DWORD value)
{
    PutWord(LOWORD(value));
    PutWord(HIWORD(value));
}

void DialogTemplate::PutText(const char* text)
{
    if (!text)
        text = "";
    int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    std::vector<WCHAR> wide(length > 0 ? (size_t)length : 1, L'\0');
    if (length > 0)
        MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), length);
    for (WCHAR c : wide) // with the terminating NUL
        PutWord((WORD)c);
}

void DialogTemplate::AlignDword()
{
    if (m_words.size() % 2)
        PutWord(0);
}
