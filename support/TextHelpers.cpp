#include "TextHelpers.h"

#include <windows.h>

#include <cstring>

#include "clsLibInfo.h"

char* StrTrimLeft(char* text)
{
    if (!text || *text != ' ')
        return text;
    const char* p = text;
    while (*p == ' ')
        p = g_LibInfo.CharNext(p);
    std::memmove(text, p, std::strlen(p) + 1);
    return text;
}

char* StrTrimRight(char* text)
{
    if (!text)
        return text;
    // Without double-byte characters every byte is a character: back from the end.
    if (!g_LibInfo.IsDBCS()) {
        size_t n = std::strlen(text);
        while (n > 0 && text[n - 1] == ' ')
            --n;
        text[n] = 0;
        return text;
    }
    char* runStart = nullptr;
    for (char* p = text; *p; p = const_cast<char*>(g_LibInfo.CharNext(p))) {
        if (*p == ' ') {
            if (!runStart)
                runStart = p;
        } else
            runStart = nullptr;
    }
    if (runStart)
        *runStart = 0;
    return text;
}

char* StrTrimBoth(char* text)
{
    StrTrimLeft(text);
    return StrTrimRight(text);
}

int StrCompareAsciiNoCase(const char* a, const char* b)
{
    const unsigned char* x = reinterpret_cast<const unsigned char*>(a);
    const unsigned char* y = reinterpret_cast<const unsigned char*>(b);
    for (;; ++x, ++y) {
        int c = *x, d = *y;
        if (c >= 'A' && c <= 'Z')
            c += 'a' - 'A';
        if (d >= 'A' && d <= 'Z')
            d += 'a' - 'A';
        if (c != d || !c)
            return c - d;
    }
}

namespace {

// CompareStringA of the user's locale; texts it finds equal are ordered by tieBreak.
int LocaleCompare(const char* a, const char* b, DWORD flags, int (*tieBreak)(const char*, const char*))
{
    switch (CompareStringA(LOCALE_USER_DEFAULT, flags, a, -1, b, -1)) {
    case CSTR_LESS_THAN:
        return -1;
    case CSTR_GREATER_THAN:
        return 1;
    case CSTR_EQUAL:
        return tieBreak(a, b);
    default:
        return 0;
    }
}

int ByteCompare(const char* a, const char* b) { return std::strcmp(a, b); }

// Bytes of the character at p within the n - i bytes left: a lead byte takes its trail byte
// when one more byte of n remains and the text goes on.
size_t CharBytes(const char* p, size_t i, size_t n)
{
    if (IsDBCSLeadByte((BYTE)*p) && i + 1 < n && p[1])
        return 2;
    return 1;
}

// The double-byte walk of StrNCompare and StrNCompareNoCase: character by character, at most n
// bytes; compare gets each pair of characters as NUL-terminated texts.
template <typename Compare>
int WalkCompare(const char* a, const char* b, size_t n, Compare compare)
{
    size_t i = 0;
    while (i < n) {
        if (!a[i] || !b[i])
            return (int)(unsigned char)a[i] - (int)(unsigned char)b[i];
        char ca[3] = {0}, cb[3] = {0};
        size_t la = CharBytes(a + i, i, n), lb = CharBytes(b + i, i, n);
        std::memcpy(ca, a + i, la);
        std::memcpy(cb, b + i, lb);
        int r = compare(ca, cb);
        if (r)
            return r;
        // Equal characters have equal bytes, so both sides advance alike.
        i += la;
    }
    return 0;
}

} // namespace

int StrCompareLocale(const char* a, const char* b) { return LocaleCompare(a, b, NORM_IGNOREWIDTH, ByteCompare); }

int StrCompareLocaleNoCase(const char* a, const char* b)
{
    return LocaleCompare(a, b, NORM_IGNORECASE | NORM_IGNOREWIDTH, StrCompareAsciiNoCase);
}

int StrCompareNoCase(const char* a, const char* b)
{
    if (g_LibInfo.IsDBCS())
        return StrCompareLocaleNoCase(a, b);
    return StrCompareAsciiNoCase(a, b);
}

int StrNCompare(const char* a, const char* b, size_t n)
{
    if (!g_LibInfo.IsDBCS())
        return std::strncmp(a, b, n);
    return WalkCompare(a, b, n, StrCompareLocale);
}

int StrNCompareNoCase(const char* a, const char* b, size_t n)
{
    if (!g_LibInfo.IsDBCS())
        return _strnicmp(a, b, n);
    return WalkCompare(a, b, n, [](char* x, char* y) {
        CharUpperA(x);
        CharUpperA(y);
        return std::strcmp(x, y);
    });
}
