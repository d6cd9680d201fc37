#include "PrintfFormat.h"

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "CNumbers.h"

const char* ParseFormatSpec(const char* p, FormatSpec& s)
{
    s = FormatSpec();
    for (;; ++p) {
        switch (*p) {
        case '-': s.left = true; continue;
        case '+': s.plus = true; continue;
        case ' ': s.space = true; continue;
        case '0': s.zero = true; continue;
        case '#': s.alt = true; continue;
        }
        break;
    }
    if (*p == '*') {
        s.widthStar = true;
        ++p;
    } else if (*p >= '0' && *p <= '9') {
        s.width = 0;
        while (*p >= '0' && *p <= '9')
            s.width = s.width * 10 + (*p++ - '0');
    }
    if (*p == '.') {
        ++p;
        s.precision = 0;
        if (*p == '*') {
            s.precisionStar = true;
            ++p;
        } else {
            while (*p >= '0' && *p <= '9')
                s.precision = s.precision * 10 + (*p++ - '0');
        }
    }
    switch (*p) {
    case 'h':
        ++p;
        if (*p == 'h') {
            ++p;
            s.size = FormatSpec::Char;
        } else
            s.size = FormatSpec::Short;
        break;
    case 'l':
        ++p;
        if (*p == 'l') {
            ++p;
            s.size = FormatSpec::LongLong;
        } else
            s.size = FormatSpec::Long;
        break;
    case 'w': ++p; s.size = FormatSpec::Wide; break;
    case 'L': case 'F': case 'N': case 'q': ++p; s.size = FormatSpec::LongLong; break;
    case 'z': case 't': case 'j': ++p; s.size = FormatSpec::PtrSize; break;
    case 'I':
        if (p[1] == '6' && p[2] == '4') {
            p += 3;
            s.size = FormatSpec::LongLong;
        } else if (p[1] == '3' && p[2] == '2') {
            p += 3;
            s.size = FormatSpec::Int32;
        } else {
            ++p;
            s.size = FormatSpec::PtrSize;
        }
        break;
    }
    s.conv = *p;
    return *p ? p + 1 : p;
}

FormatArg FormatArgOf(const FormatSpec& s)
{
    switch (s.conv) {
    case 'd': case 'i': case 'o': case 'u': case 'x': case 'X':
        if (s.size == FormatSpec::LongLong)
            return FormatArg::Int64;
        if (s.size == FormatSpec::PtrSize)
            return FormatArg::PtrSize;
        return FormatArg::Int32;
    case 'c':
        return (s.size == FormatSpec::Long || s.size == FormatSpec::Wide) ? FormatArg::WideChar : FormatArg::NarrowChar;
    case 'C':
        return (s.size == FormatSpec::Short || s.size == FormatSpec::Char) ? FormatArg::NarrowChar : FormatArg::WideChar;
    case 's':
        return (s.size == FormatSpec::Long || s.size == FormatSpec::Wide) ? FormatArg::WideText : FormatArg::NarrowText;
    case 'S':
        return (s.size == FormatSpec::Short || s.size == FormatSpec::Char) ? FormatArg::NarrowText : FormatArg::WideText;
    case 'e': case 'E': case 'f': case 'F': case 'g': case 'G': case 'a': case 'A':
        return FormatArg::Double;
    case 'p':
        return FormatArg::Pointer;
    case 'n':
        return FormatArg::IntPointer;
    default:
        return FormatArg::None;
    }
}

namespace {

// Bounded output: counts every character, stores those that fit.
struct Out {
    char* buf;
    size_t size;
    size_t len = 0;
    void Put(char c)
    {
        if (size && len < size - 1)
            buf[len] = c;
        ++len;
    }
    void Put(const char* s, size_t n)
    {
        for (size_t i = 0; i < n; ++i)
            Put(s[i]);
    }
    void Pad(char c, int n)
    {
        for (int i = 0; i < n; ++i)
            Put(c);
    }
};

// Text with width, precision and the '-' flag.
void PutText(Out& out, const FormatSpec& s, const char* text, size_t n)
{
    if (s.precision >= 0 && (size_t)s.precision < n)
        n = (size_t)s.precision;
    int pad = s.width > (int)n ? s.width - (int)n : 0;
    if (!s.left)
        out.Pad(' ', pad);
    out.Put(text, n);
    if (s.left)
        out.Pad(' ', pad);
}

std::string Narrow(const wchar_t* w, int units)
{
    int n = WideCharToMultiByte(CP_ACP, 0, w, units, nullptr, 0, nullptr, nullptr);
    std::string r(n > 0 ? (size_t)n : 0, '\0');
    if (n > 0)
        WideCharToMultiByte(CP_ACP, 0, w, units, r.data(), n, nullptr, nullptr);
    return r;
}

// The standard format of one numeric conversion: width and precision are passed as '*' arguments.
void BuildNumericFormat(char* fmt, const FormatSpec& s, const char* lengthMod)
{
    char* f = fmt;
    *f++ = '%';
    if (s.left) *f++ = '-';
    if (s.plus) *f++ = '+';
    if (s.space) *f++ = ' ';
    if (s.zero) *f++ = '0';
    if (s.alt) *f++ = '#';
    *f++ = '*';
    *f++ = '.';
    *f++ = '*';
    for (const char* m = lengthMod; *m; ++m)
        *f++ = *m;
    *f++ = s.conv;
    *f = 0;
}

template <typename T>
std::string Numeric(const FormatSpec& s, const char* lengthMod, T value)
{
    char fmt[32];
    BuildNumericFormat(fmt, s, lengthMod);
    int width = s.width > 0 ? s.width : 0;
    char small[128];
    int n = std::snprintf(small, sizeof small, fmt, width, s.precision, value);
    if (n < 0)
        return std::string();
    if (n < (int)sizeof small)
        return std::string(small, (size_t)n);
    std::string r((size_t)n + 1, '\0');
    std::snprintf(r.data(), r.size(), fmt, width, s.precision, value);
    r.resize((size_t)n);
    return r;
}

} // namespace

int VFormat(char* buf, size_t size, const char* format, va_list args)
{
    Out out{buf, size};
    va_list ap;
    va_copy(ap, args);
    const char* p = format ? format : "";
    while (*p) {
        if (*p != '%') {
            out.Put(*p++);
            continue;
        }
        FormatSpec s;
        const char* start = p;
        p = ParseFormatSpec(p + 1, s);
        if (s.widthStar) {
            s.width = va_arg(ap, int);
            if (s.width < 0) {
                s.left = true;
                s.width = -s.width;
            }
        }
        if (s.precisionStar) {
            s.precision = va_arg(ap, int);
            if (s.precision < 0)
                s.precision = -1;
        }
        switch (s.conv) {
        case 0:
            out.Put(start, (size_t)(p - start));
            continue;
        case '%':
            out.Put('%');
            continue;
        default:
            break;
        }
        switch (FormatArgOf(s)) {
        case FormatArg::Int32: case FormatArg::Int64: case FormatArg::PtrSize: {
            bool isSigned = s.conv == 'd' || s.conv == 'i';
            long long v;
            if (FormatArgOf(s) == FormatArg::Int64)
                v = va_arg(ap, long long);
            else if (FormatArgOf(s) == FormatArg::PtrSize)
                v = isSigned ? (long long)va_arg(ap, intptr_t) : (long long)va_arg(ap, uintptr_t);
            else {
                int i = va_arg(ap, int);
                if (s.size == FormatSpec::Short)
                    v = isSigned ? (long long)(short)i : (long long)(unsigned short)i;
                else if (s.size == FormatSpec::Char)
                    v = isSigned ? (long long)(signed char)i : (long long)(unsigned char)i;
                else
                    v = isSigned ? (long long)i : (long long)(unsigned)i;
            }
            std::string t = Numeric(s, "ll", v);
            out.Put(t.data(), t.size());
            break;
        }
        case FormatArg::Double: {
            double d = va_arg(ap, double);
            std::string t = Numeric(s, "", d);
            // The run time follows the host's locale; our texts always carry a decimal point.
            char point = RunTimeDecimalPoint();
            if (point != '.')
                for (char& c : t)
                    if (c == point)
                        c = '.';
            out.Put(t.data(), t.size());
            break;
        }
        case FormatArg::NarrowChar: {
            char c = (char)va_arg(ap, int);
            FormatSpec t = s;
            t.precision = -1;
            PutText(out, t, &c, 1);
            break;
        }
        case FormatArg::WideChar: {
            wchar_t w = (wchar_t)va_arg(ap, int);
            std::string t = Narrow(&w, 1);
            FormatSpec u = s;
            u.precision = -1;
            PutText(out, u, t.data(), t.size());
            break;
        }
        case FormatArg::NarrowText: {
            const char* t = va_arg(ap, const char*);
            if (!t)
                t = "(null)";
            size_t n = s.precision >= 0 ? strnlen(t, (size_t)s.precision) : strlen(t);
            PutText(out, s, t, n);
            break;
        }
        case FormatArg::WideText: {
            const wchar_t* w = va_arg(ap, const wchar_t*);
            std::string t = w ? Narrow(w, -1) : std::string("(null)");
            if (w && !t.empty() && t.back() == '\0')
                t.pop_back();
            // The precision counts bytes of the converted text; a double-byte character that
            // does not fit whole is left out, never cut in half.
            if (s.precision >= 0 && (size_t)s.precision < t.size()) {
                size_t keep = 0;
                while (keep < (size_t)s.precision) {
                    size_t n = IsDBCSLeadByte((BYTE)t[keep]) && keep + 1 < t.size() ? 2 : 1;
                    if (keep + n > (size_t)s.precision)
                        break;
                    keep += n;
                }
                t.resize(keep);
            }
            PutText(out, s, t.data(), t.size());
            break;
        }
        case FormatArg::Pointer: {
            void* v = va_arg(ap, void*);
            char t[32];
            int n = std::snprintf(t, sizeof t, "%s%016llX", s.alt ? "0x" : "", (unsigned long long)(uintptr_t)v);
            FormatSpec u = s;
            u.precision = -1;
            PutText(out, u, t, (size_t)n);
            break;
        }
        case FormatArg::IntPointer: {
            int* v = va_arg(ap, int*);
            if (v)
                *v = (int)out.len;
            break;
        }
        case FormatArg::None:
            // Unknown conversion: written as it stands, nothing consumed.
            out.Put(start, (size_t)(p - start));
            break;
        }
    }
    va_end(ap);
    if (size) {
        size_t end = out.len < size - 1 ? out.len : size - 1;
        buf[end] = 0;
    }
    return (int)out.len;
}

int Format(char* buf, size_t size, const char* format, ...)
{
    va_list ap;
    va_start(ap, format);
    int n = VFormat(buf, size, format, ap);
    va_end(ap);
    return n;
}
