#include "String.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <cwchar>

#include "DebugOutput.h"
#include "PathHelpers.h"
#include "PrintfFormat.h"
#include "TextHelpers.h"
#include "clsLibInfo.h"

namespace {

// Handed out by operator[] for an index outside the text. A destructor that finds it changed
// reports the write and clears it, so later out-of-range reads see 0 again.
char s_dummy = 0;

const uint32_t kBlockHeader = offsetof(StringTextBlock, text);

uint32_t CapacityFor(uint32_t length)
{
    uint32_t capacity = (length + 8) & ~7u;
    return capacity < 8 ? 8 : capacity;
}

bool PointsInto(const StringTextBlock* block, const char* p)
{
    if (!block || !p)
        return false;
    uintptr_t start = reinterpret_cast<uintptr_t>(block->text), at = reinterpret_cast<uintptr_t>(p);
    return at >= start && at < start + block->capacity;
}

} // namespace

// ---- blocks -------------------------------------------------------------------------------

StringTextBlock* String::NewBlock(uint32_t capacity)
{
    char* memory = new char[(size_t)capacity + kBlockHeader];
    StringTextBlock* block = reinterpret_cast<StringTextBlock*>(memory);
    block->capacity = capacity;
    block->refs = 1;
    block->text[0] = 0;
    return block;
}

void String::Release(StringTextBlock* block)
{
    if (!block)
        return;
    LONG refs = InterlockedDecrement(&block->refs);
    if (refs < 0)
        DebugPrintf("WRN: String buffer released twice!!!");
    else if (refs == 0)
        delete[] reinterpret_cast<char*>(block);
}

void String::Unshare(bool keep)
{
    if (!m_block || m_block->refs <= 1)
        return;
    StringTextBlock* shared = m_block;
    if (keep) {
        m_block = NewBlock(shared->capacity);
        std::memcpy(m_block->text, shared->text, (size_t)m_length + 1);
    } else {
        m_block = nullptr;
    }
    // The clone is complete before the shared block may go away.
    Release(shared);
}

void String::Grow(uint32_t capacity, bool keep)
{
    if (!m_block) {
        m_block = NewBlock(capacity);
        return;
    }
    if (m_block->capacity >= capacity)
        return;
    StringTextBlock* old = m_block;
    m_block = NewBlock(capacity);
    if (keep)
        std::memcpy(m_block->text, old->text, (size_t)m_length + 1);
    Release(old);
}

// ---- construction and assignment ----------------------------------------------------------

String::String() : m_codePage((uint16_t)g_LibInfo.CodePage()) {}

String::String(const char* text) : m_codePage((uint16_t)g_LibInfo.CodePage()) { *this = text; }

String::String(const char* text, int start, int count, bool inChars) : m_codePage((uint16_t)g_LibInfo.CodePage())
{
    if (!text || count <= 0)
        return;
    if (start < 0)
        start = 0;
    if (inChars) {
        const char* p = text;
        for (int i = 0; i < start && *p; ++i)
            p = g_LibInfo.CharNext(p);
        size_t rest = std::strlen(p);
        if (!rest)
            return;
        uint64_t budget = rest < (size_t)count ? rest : (size_t)count;
        if (g_LibInfo.IsDBCS())
            budget *= 2;
        if (budget > INT_MAX)
            budget = INT_MAX;
        Grow(CapacityFor((uint32_t)budget), false);
        char* out = m_block->text;
        uint64_t used = 0;
        for (int i = 0; i < count && *p; ++i) {
            const char* next = g_LibInfo.CharNext(p);
            size_t n = (size_t)(next - p);
            if (used + n > budget)
                break;
            std::memcpy(out + used, p, n);
            used += n;
            p = next;
        }
        out[used] = 0;
        m_length = (uint32_t)used;
        return;
    }
    size_t length = std::strlen(text);
    if (length == 0 || (size_t)start > length)
        return;
    size_t n = length - (size_t)start;
    if (n > (size_t)count)
        n = (size_t)count;
    if (n == 0)
        return;
    Grow(CapacityFor((uint32_t)n), false);
    std::memcpy(m_block->text, text + start, n);
    m_block->text[n] = 0;
    m_length = (uint32_t)n;
}

String::String(const wchar_t* text, int units) : m_codePage((uint16_t)g_LibInfo.CodePage())
{
    if (!text || !*text || units == 0)
        return;
    if (units < 0)
        units = (int)std::wcslen(text);
    int bytes = WideCharToMultiByte(m_codePage, 0, text, units, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0)
        return;
    Grow(CapacityFor((uint32_t)bytes), false);
    int written = WideCharToMultiByte(m_codePage, 0, text, units, m_block->text, (int)m_block->capacity, nullptr, nullptr);
    if (written < 0 || written > bytes)
        written = 0;
    m_block->text[written] = 0;
    m_length = (uint32_t)written;
}

String::String(const String& other) : m_length(other.m_length), m_block(other.m_block), m_codePage(other.m_codePage)
{
    if (m_block)
        InterlockedIncrement(&m_block->refs);
}

String::~String()
{
    Release(m_block);
    m_block = nullptr;
    delete[] m_wide;
    if (s_dummy) {
        DebugPrintf("WRN: detected write to String::operator[] with index out of bounds");
        s_dummy = 0;
    }
}

String& String::operator=(const char* text)
{
    if (!text || !*text) {
        Empty();
        return *this;
    }
    // The text may lie in this String's own block: keep that block alive until it is copied.
    String source;
    if (PointsInto(m_block, text))
        source = *this;
    size_t length = std::strlen(text);
    Unshare(false);
    Grow(CapacityFor((uint32_t)length), false);
    SafeStrCopy(m_block->text, text, length + 1);
    m_length = (uint32_t)std::strlen(m_block->text);
    return *this;
}

String& String::operator=(const String& other)
{
    if (this == &other || m_block == other.m_block) {
        m_length = other.m_length;
        return *this;
    }
    if (other.m_block)
        InterlockedIncrement(&other.m_block->refs);
    Release(m_block);
    m_block = other.m_block;
    m_length = other.m_length;
    return *this;
}

void String::Append(const char* text, uint32_t count)
{
    String source;
    if (PointsInto(m_block, text))
        source = *this;
    Unshare(true);
    Grow(CapacityFor(m_length + count), true);
    std::memmove(m_block->text + m_length, text, count);
    m_length += count;
    m_block->text[m_length] = 0;
}

String& String::operator+=(const char* text)
{
    if (text && *text)
        Append(text, (uint32_t)std::strlen(text));
    return *this;
}

String& String::operator+=(const String& other)
{
    if (other.m_length && other.m_block)
        Append(other.m_block->text, other.m_length);
    return *this;
}

String operator+(const String& left, const char* right)
{
    String result(left);
    result += right;
    return result;
}

String operator+(const String& left, const String& right)
{
    String result(left);
    result += right;
    return result;
}

void String::Empty()
{
    if (m_block) {
        if (m_block->refs > 1) {
            Release(m_block);
            m_block = nullptr;
        } else {
            m_block->text[0] = 0;
        }
    }
    m_length = 0;
}

// ---- access -------------------------------------------------------------------------------

char& String::operator[](unsigned index)
{
    if (!m_block || m_block->capacity == 0 || index >= m_length)
        return s_dummy;
    Unshare(true);
    return m_block->text[index];
}

char* String::GetBuffer(unsigned size)
{
    Unshare(true);
    Grow(CapacityFor(size), true);
    m_block->text[m_block->capacity - 1] = 0;
    return m_block->text;
}

void String::ReleaseBuffer(int length)
{
    if (!m_block) {
        m_length = 0;
        return;
    }
    uint32_t limit = m_block->capacity - 1;
    if (length < 0)
        m_length = (uint32_t)strnlen(m_block->text, limit);
    else
        m_length = (uint32_t)length < limit ? (uint32_t)length : limit;
    m_block->text[m_length] = 0;
}

const wchar_t* String::ToWide()
{
    static const wchar_t empty[1] = {0};
    if (!m_length || !m_block)
        return empty;
    delete[] m_wide;
    m_wide = nullptr;
    int units = MultiByteToWideChar(m_codePage, MB_PRECOMPOSED, m_block->text, (int)m_length, nullptr, 0);
    if (units < 0)
        units = 0;
    m_wide = new wchar_t[(size_t)units + 1];
    MultiByteToWideChar(m_codePage, MB_PRECOMPOSED, m_block->text, (int)m_length + 1, m_wide, units + 1);
    m_wide[units] = 0;
    return m_wide;
}

// ---- comparison ---------------------------------------------------------------------------

namespace {

int CompareWith(const StringTextBlock* block, const char* text, DWORD flags, int (*tieBreak)(const char*, const char*))
{
    if (block && block->capacity > 0 && text) {
        switch (CompareStringA(LOCALE_USER_DEFAULT, flags, block->text, -1, text, -1)) {
        case CSTR_LESS_THAN:
            return -1;
        case CSTR_GREATER_THAN:
            return 1;
        case CSTR_EQUAL:
            return tieBreak(block->text, text);
        default:
            break;
        }
    }
    if (block)
        return block->text[0] ? 1 : 0;
    return text && *text ? -1 : 0;
}

int ByteCompare(const char* a, const char* b) { return std::strcmp(a, b); }

} // namespace

int String::Compare(const char* text) const { return CompareWith(m_block, text, 0, ByteCompare); }

int String::CompareNoCase(const char* text) const
{
    return CompareWith(m_block, text, NORM_IGNORECASE, StrCompareAsciiNoCase);
}

// ---- pieces and case ----------------------------------------------------------------------

String String::Left(int count, bool inChars) const
{
    if (!m_block)
        return String();
    return String(m_block->text, 0, count, inChars);
}

String String::Right(int count, bool inChars) const
{
    if (!m_block || count <= 0)
        return String();
    const char* text = m_block->text;
    if (inChars) {
        const char* p = text + m_length;
        for (int i = 0; i < count && p > text; ++i)
            p = g_LibInfo.CharPrev(text, p);
        return String(p);
    }
    // A count beyond the length takes the whole text.
    uint32_t n = (uint32_t)count < m_length ? (uint32_t)count : m_length;
    return String(text, (int)(m_length - n), (int)n, false);
}

void String::Delete(unsigned start, unsigned count, bool inChars)
{
    if (!m_block || !m_length || start >= m_length || count == 0)
        return;
    Unshare(true);
    char* text = m_block->text;
    if (inChars) {
        char* from = text;
        for (unsigned i = 0; i < start; ++i) {
            if (!*from)
                return;
            from = const_cast<char*>(g_LibInfo.CharNext(from));
        }
        char* to = from;
        for (unsigned i = 0; i < count && *to; ++i)
            to = const_cast<char*>(g_LibInfo.CharNext(to));
        std::memmove(from, to, std::strlen(to) + 1);
        m_length = (uint32_t)std::strlen(text);
        return;
    }
    if (count > m_length - start)
        count = m_length - start;
    std::memmove(text + start, text + start + count, m_length - start - count + 1);
    m_length -= count;
}

namespace {

// Changes the case of a text in place. On a double-byte code page only bytes below 0x80 change,
// one at a time: double-byte characters and bytes from 0x80 up stay as they are.
void ChangeCase(char* text, bool upper)
{
    if (!g_LibInfo.IsDBCS()) {
        if (upper)
            CharUpperA(text);
        else
            CharLowerA(text);
        return;
    }
    for (char* p = text; *p; p = const_cast<char*>(g_LibInfo.CharNext(p))) {
        if ((unsigned char)*p < 0x80) {
            if (upper)
                CharUpperBuffA(p, 1);
            else
                CharLowerBuffA(p, 1);
        }
    }
}

} // namespace

void String::MakeUpper()
{
    if (!m_length || !m_block)
        return;
    Unshare(true);
    ChangeCase(m_block->text, true);
}

void String::MakeLower()
{
    if (!m_length || !m_block)
        return;
    Unshare(true);
    ChangeCase(m_block->text, false);
}

String String::Upper() const
{
    String copy(*this);
    copy.MakeUpper();
    return copy;
}

String String::Lower() const
{
    String copy(*this);
    copy.MakeLower();
    return copy;
}

// ---- formatting ---------------------------------------------------------------------------

namespace {

const char kFormatError[] = "<printf format error>";

uint64_t Larger(uint64_t a, uint64_t b) { return a > b ? a : b; }

// Upper bound of the output of VFormat for format and args, or false when a pointer argument
// cannot be read (or written, for "%n"). Walks a copy of the arguments with the types a 64-bit
// caller passes.
bool FormatBound(const char* format, va_list args, uint64_t& bound)
{
    const bool dbcs = g_LibInfo.IsDBCS();
    va_list ap;
    va_copy(ap, args);
    bool ok = true;
    bound = 0;
    const char* p = format;
    while (ok && *p) {
        if (*p != '%') {
            if (dbcs && g_LibInfo.IsLeadByte((unsigned char)*p) && p[1]) {
                bound += 2;
                p += 2;
            } else {
                bound += 1;
                ++p;
            }
            continue;
        }
        FormatSpec s;
        const char* start = p;
        p = ParseFormatSpec(p + 1, s);
        if (s.conv == '%') {
            bound += 1;
            continue;
        }
        if (s.alt)
            bound += 2;
        int64_t width = s.width > 0 ? s.width : 0;
        int64_t precision = s.precision;
        if (s.widthStar) {
            int w = va_arg(ap, int);
            width = w < 0 ? -(int64_t)w : w;
        }
        if (s.precisionStar) {
            int v = va_arg(ap, int);
            precision = v < 0 ? -1 : v;
        }
        switch (FormatArgOf(s)) {
        case FormatArg::NarrowChar:
            va_arg(ap, int);
            bound += Larger(1, (uint64_t)width);
            break;
        case FormatArg::WideChar:
            va_arg(ap, int);
            bound += Larger(2, (uint64_t)width);
            break;
        case FormatArg::NarrowText: {
            const char* text = va_arg(ap, const char*);
            UINT_PTR limit = precision >= 0 ? (UINT_PTR)precision : (UINT_PTR)INT_MAX;
            if (IsBadStringPtrA(text, limit)) {
                ok = false;
                break;
            }
            uint64_t n = strnlen(text, (size_t)limit);
            bound += Larger(Larger(n, 1), (uint64_t)width);
            break;
        }
        case FormatArg::WideText: {
            const wchar_t* text = va_arg(ap, const wchar_t*);
            UINT_PTR limit = precision >= 0 ? (UINT_PTR)precision : (UINT_PTR)INT_MAX;
            if (IsBadStringPtrW(text, (UINT_PTR)INT_MAX)) {
                ok = false;
                break;
            }
            // A UTF-16 unit becomes up to two bytes on a double-byte code page.
            uint64_t n = std::wcslen(text) * (dbcs ? 2 : 1);
            if (precision >= 0 && n > limit)
                n = limit;
            bound += Larger(Larger(n, 2), (uint64_t)width);
            break;
        }
        case FormatArg::Int32:
            va_arg(ap, int);
            bound += Larger(Larger((uint64_t)width, 34), (uint64_t)(precision > 0 ? precision : 0) + 2);
            break;
        case FormatArg::Int64:
            va_arg(ap, long long);
            bound += Larger(Larger((uint64_t)width, 34), (uint64_t)(precision > 0 ? precision : 0) + 2);
            break;
        case FormatArg::PtrSize:
            va_arg(ap, intptr_t);
            bound += Larger(Larger((uint64_t)width, 34), (uint64_t)(precision > 0 ? precision : 0) + 2);
            break;
        case FormatArg::Double: {
            va_arg(ap, double);
            // 'f' writes every integer digit of the value: up to 309 for a double.
            uint64_t digits = (s.conv == 'f' || s.conv == 'F') ? 310 : 0;
            uint64_t prec = precision >= 0 ? (uint64_t)precision : 6;
            bound += Larger(Larger((uint64_t)width + prec + 1, 128), digits + prec + 32);
            break;
        }
        case FormatArg::Pointer:
            va_arg(ap, void*);
            bound += Larger((uint64_t)width, 34);
            break;
        case FormatArg::IntPointer: {
            int* target = va_arg(ap, int*);
            if (IsBadWritePtr(target, sizeof(int)))
                ok = false;
            break;
        }
        case FormatArg::None:
            // The formatter writes an unknown conversion as it stands.
            bound += (uint64_t)(p - start);
            break;
        }
    }
    va_end(ap);
    return ok;
}

} // namespace

int String::FormatV(const char* format, va_list args)
{
    if (!format)
        format = "";
    uint64_t bound = 0;
    if (!FormatBound(format, args, bound)) {
        *this = kFormatError;
        return 0;
    }
    if (bound > (uint64_t)INT_MAX - 1)
        bound = (uint64_t)INT_MAX - 1;
    char* buffer = new char[(size_t)bound + 1];
    VFormat(buffer, (size_t)bound + 1, format, args);
    *this = buffer;
    delete[] buffer;
    return (int)m_length;
}

int String::Format(const char* format, ...)
{
    va_list ap;
    va_start(ap, format);
    int n = FormatV(format, ap);
    va_end(ap);
    return n;
}

String String::Printf(const char* format, ...)
{
    String result;
    va_list ap;
    va_start(ap, format);
    result.FormatV(format, ap);
    va_end(ap);
    return result;
}

// ---- system texts and resources -----------------------------------------------------------

String String::SystemErrorText(DWORD code, WORD language)
{
    char buffer[256];
    // Inserts stay as they are: no arguments exist for them here.
    DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, language,
                             buffer, sizeof buffer, nullptr);
    if (n == 0 || n >= sizeof buffer)
        return Printf("(error code %#08lx)", code);
    while (n > 0 && (buffer[n - 1] == '\r' || buffer[n - 1] == '\n'))
        --n;
    buffer[n] = 0;
    String result(buffer);
    result += Printf(" (%08lx)", code);
    return result;
}

HRSRC FindResourceForLanguage(HMODULE module, LPCSTR type, LPCSTR name, WORD language)
{
    const WORD candidates[5] = {
        language,
        LANGIDFROMLCID(GetThreadLocale()),
        (WORD)PRIMARYLANGID(GetUserDefaultLangID()),
        LANG_ENGLISH,
        LANG_GERMAN,
    };
    WORD tried[5];
    int triedCount = 0;
    for (WORD id : candidates) {
        if (!id)
            continue;
        bool seen = false;
        for (int i = 0; i < triedCount; ++i)
            seen = seen || tried[i] == id;
        if (seen)
            continue;
        tried[triedCount++] = id;
        if (HRSRC found = FindResourceExA(module, type, name, id))
            return found;
    }
    return FindResourceA(module, name, type);
}

String String::LoadString(HMODULE module, UINT id, WORD language)
{
    HRSRC block = FindResourceForLanguage(module, MAKEINTRESOURCEA(6), MAKEINTRESOURCEA((id >> 4) + 1), language);
    if (!block) {
        char* buffer = new char[4096];
        int n = ::LoadStringA(module, id, buffer, 4096);
        String result(n > 0 ? buffer : nullptr);
        delete[] buffer;
        return result;
    }
    HGLOBAL loaded = LoadResource(module, block);
    const WORD* entry = loaded ? static_cast<const WORD*>(LockResource(loaded)) : nullptr;
    if (!entry)
        return String();
    // Sixteen entries, each a 16-bit length and that many UTF-16 units; the walk stays inside
    // the resource.
    const WORD* end = entry + SizeofResource(module, block) / sizeof(WORD);
    for (UINT i = 0; i < (id & 15); ++i) {
        if (entry >= end)
            return String();
        entry += 1 + *entry;
    }
    if (entry >= end || *entry == 0 || entry + 1 + *entry > end)
        return String();
    size_t units = *entry;
    wchar_t* copy = new wchar_t[units + 1];
    std::memcpy(copy, entry + 1, units * sizeof(wchar_t));
    copy[units] = 0;
    String result(copy);
    delete[] copy;
    return result;
}

String String::Message(HMODULE module, UINT id, ...)
{
    String text = LoadString(module, id, LANGIDFROMLCID(GetThreadLocale()));
    if (!text.GetLength()) {
        DWORD error = GetLastError();
        char path[260];
        DWORD n = GetModuleFileNameA(module, path, sizeof path);
        if (n == 0 || n >= sizeof path)
            path[n == 0 ? 0 : sizeof path - 1] = 0;
        DebugPrintf("String::Message(): String ressource %d not found in %s: '%s'", id, path,
                    (const char*)SystemErrorText(error, 0x400));
        return String();
    }
    va_list ap;
    va_start(ap, id);
    char* formatted = nullptr;
    DWORD n = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_STRING, (const char*)text, 0, 0,
                             reinterpret_cast<char*>(&formatted), 0, &ap);
    va_end(ap);
    String result(n ? formatted : nullptr);
    if (formatted)
        LocalFree(formatted);
    return result;
}
