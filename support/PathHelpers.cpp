#include "PathHelpers.h"

#include <windows.h>

#include <cstring>

#include "clsLibInfo.h"

namespace {

bool Lead(unsigned char c)
{
    return g_LibInfo.IsDBCS() && IsDBCSLeadByteEx(g_LibInfo.CodePage(), c);
}

void CopyPart(char* out, const char* from, size_t count)
{
    if (!out)
        return;
    const size_t kPart = 256;
    char tmp[kPart];
    size_t n = count < kPart - 1 ? count : kPart - 1;
    std::memcpy(tmp, from, n);
    tmp[n] = 0;
    SafeStrCopy(out, tmp, kPart);
}

} // namespace

void SplitPath(const char* path, char* drive, char* dir, char* name, char* ext)
{
    if (!path)
        path = "";
    const char* p = path;
    if (p[0] && p[1] == ':') {
        CopyPart(drive, p, 2);
        p += 2;
    } else if (drive)
        *drive = 0;

    const char* dirEnd = nullptr;
    const char* dot = nullptr;
    for (const char* q = p; *q; ++q) {
        if (Lead((unsigned char)*q) && q[1]) {
            ++q;
            continue;
        }
        if (*q == '\\' || *q == '/')
            dirEnd = q + 1;
        else if (*q == '.')
            dot = q;
    }
    const char* nameStart = dirEnd ? dirEnd : p;
    CopyPart(dir, p, dirEnd ? (size_t)(dirEnd - p) : 0);
    const char* end = p + std::strlen(p);
    if (dot && dot >= nameStart) {
        CopyPart(name, nameStart, (size_t)(dot - nameStart));
        CopyPart(ext, dot, (size_t)(end - dot));
    } else {
        CopyPart(name, nameStart, (size_t)(end - nameStart));
        CopyPart(ext, end, 0);
    }
}

void MakePath(char* buffer, const char* drive, const char* dir, const char* name, const char* ext)
{
    char* out = buffer;
    if (drive && *drive) {
        *out++ = drive[0];
        *out++ = ':';
    }
    if (dir && *dir) {
        size_t n = std::strlen(dir);
        std::memcpy(out, dir, n);
        const char* last = g_LibInfo.CharPrev(dir, dir + n);
        out += n;
        if (*last != '\\' && *last != '/')
            *out++ = '\\';
    }
    if (name && *name) {
        size_t n = std::strlen(name);
        std::memcpy(out, name, n);
        out += n;
    }
    if (ext && *ext) {
        if (*ext != '.')
            *out++ = '.';
        size_t n = std::strlen(ext);
        std::memcpy(out, ext, n);
        out += n;
    }
    *out = 0;
}

char* SafeStrCopy(char* dest, const char* src, size_t size)
{
    if (size == 0 || !dest)
        return dest;
    if (!src)
        src = "";
    size_t i = 0;
    while (src[i] && i + 1 < size) {
        if (Lead((unsigned char)src[i])) {
            if (!src[i + 1] || i + 2 >= size)
                break;
            dest[i] = src[i];
            dest[i + 1] = src[i + 1];
            i += 2;
            continue;
        }
        dest[i] = src[i];
        ++i;
    }
    dest[i] = 0;
    return dest;
}

char* SafeStrCat(char* dest, const char* src, size_t size)
{
    if (!dest)
        return dest;
    size_t len = std::strlen(dest);
    if (size <= len)
        return dest;
    SafeStrCopy(dest + len, src, size - len);
    return dest;
}
