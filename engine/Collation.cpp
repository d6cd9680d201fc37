// Sort orders, the German Replace key form, the wildcard comparison and the string exports
// db_strcompare and db_strreduce.
#include "Collation.h"

#include <cstring>
#include <string>

#include "Area.h"
#include "Job.h"
#include "PathHelpers.h"

namespace {

const char* Text(const char* s) { return s ? s : ""; }

// ---- weight tables ------------------------------------------------------------------------------
//
// Each table lists the byte codes in ascending weight, as runs of consecutive codes. A byte's
// weight is its rank in the list; T marks a byte of the same weight as the one before it.

struct Run {
    unsigned char first, last;
    bool tie;
};
constexpr Run B(unsigned char b) { return {b, b, false}; }
constexpr Run R(unsigned char first, unsigned char last) { return {first, last, false}; }
constexpr Run T(unsigned char b) { return {b, b, true}; }

// German Table, OEM: digits, capitals (Ä after A, Ç after C, É after E, Ñ after N, Ö after O,
// Ü after U), small letters each followed by its accented forms (ß after s), punctuation,
// control characters and the rest. '/' and '\' share weight 116; there is no weight 117.
constexpr Run kGermanOem[] = {
    B(0x00), B(0x20), R(0x30, 0x39), B(0x41), B(0x8E), B(0x8F), B(0x42), B(0x43), B(0x80), B(0x44),
    B(0x45), B(0x90), R(0x46, 0x4E), B(0xA5), B(0x4F), B(0x99), R(0x50, 0x55), B(0x9A), R(0x56, 0x5A),
    B(0x61), B(0x84), B(0xA0), B(0x85), B(0x83), B(0x86), B(0x62), B(0x63), B(0x87), B(0x64), B(0x65),
    B(0x82), B(0x8A), B(0x88), B(0x89), R(0x66, 0x69), B(0xA1), B(0x8D), B(0x8C), B(0x8B),
    R(0x6A, 0x6E), B(0xA4), B(0x6F), B(0x94), B(0xA2), B(0x95), B(0x93), R(0x70, 0x73), B(0xE1),
    B(0x74), B(0x75), B(0x81), B(0xA3), B(0x97), B(0x96), R(0x76, 0x79), B(0x98), B(0x7A), B(0x28),
    B(0x29), B(0x5B), B(0x5D), B(0x7B), B(0x7D), B(0x3C), B(0x3E), B(0x3D), B(0x2B), B(0x2D), B(0x25),
    B(0x2A), B(0x2E), B(0x2C), B(0x3B), B(0x3A), B(0xA8), B(0x3F), B(0x21), B(0x2F), T(0x5C), B(0x7C),
    B(0x40), B(0x26), B(0x23), B(0x24), R(0x9B, 0x9D), B(0x9F), B(0x9E), B(0x91), B(0x92), B(0x22),
    B(0x60), B(0x27), B(0x5E), B(0x7E), B(0x5F), B(0xA6), B(0xA7), R(0x01, 0x1F), B(0x7F),
    R(0xA9, 0xE0), R(0xE2, 0xFF)
};

// German Alternate Table, OEM: code order with Ä Ö Ü ä ö ü ß moved behind A O U a o u s;
// 0xC6 weighs 299.
constexpr Run kAlternateOem[] = {
    R(0x00, 0x41), B(0x8E), R(0x42, 0x4F), B(0x99), R(0x50, 0x55), B(0x9A), R(0x56, 0x61), B(0x84),
    R(0x62, 0x6F), B(0x94), R(0x70, 0x73), B(0xE1), B(0x74), B(0x75), B(0x81), R(0x76, 0x80), B(0x82),
    B(0x83), R(0x85, 0x8D), R(0x8F, 0x93), R(0x95, 0x98), R(0x9B, 0xC5), R(0xC7, 0xE0), R(0xE2, 0xFF),
    B(0xC6)
};

// German Table and German Alternate Table, ANSI: control characters, punctuation, digits, then
// the letters small before capital, each followed by its accented forms. 0x9B and 0xFF share
// weight 90; the weights run 0..254.
constexpr Run kGermanAnsi[] = {
    R(0x00, 0x08), R(0x0E, 0x1F), R(0x7F, 0x81), R(0x8D, 0x90), B(0x9D), B(0x9E), B(0x27), B(0x2D),
    B(0xAD), B(0x96), B(0x97), B(0x20), B(0xA0), R(0x09, 0x0D), R(0x21, 0x26), R(0x28, 0x2A), B(0x2C),
    B(0x2E), B(0x2F), B(0x3A), B(0x3B), B(0x3F), B(0x40), R(0x5B, 0x5E), B(0x88), B(0x5F), B(0x60),
    R(0x7B, 0x7E), B(0xA1), B(0xA6), B(0xA8), B(0xAF), B(0xB4), B(0xB8), B(0xBF), B(0x98), B(0x91),
    B(0x92), B(0x82), B(0x93), B(0x94), B(0x84), B(0x8B), B(0x9B), T(0xFF), B(0x2B), R(0x3C, 0x3E),
    B(0xB1), B(0xAB), B(0xBB), B(0xD7), B(0xF7), R(0xA2, 0xA5), B(0xA7), B(0xA9), B(0xAC), B(0xAE),
    B(0xB0), R(0xB5, 0xB7), B(0x86), B(0x87), B(0x95), B(0x85), B(0x89), B(0x30), R(0xBC, 0xBE),
    B(0x31), B(0xB9), B(0x32), B(0xB2), B(0x33), B(0xB3), R(0x34, 0x39), B(0x61), B(0x41), B(0xAA),
    B(0xE1), B(0xC1), B(0xE0), B(0xC0), B(0xE2), B(0xC2), B(0xE4), B(0xC4), B(0xE3), B(0xC3), B(0xE5),
    B(0xC5), B(0xE6), B(0xC6), B(0x62), B(0x42), B(0x63), B(0x43), B(0xE7), B(0xC7), B(0x64), B(0x44),
    B(0xF0), B(0xD0), B(0x65), B(0x45), B(0xE9), B(0xC9), B(0xE8), B(0xC8), B(0xEA), B(0xCA), B(0xEB),
    B(0xCB), B(0x66), B(0x46), B(0x83), B(0x67), B(0x47), B(0x68), B(0x48), B(0x69), B(0x49), B(0xED),
    B(0xCD), B(0xEC), B(0xCC), B(0xEE), B(0xCE), B(0xEF), B(0xCF), B(0x6A), B(0x4A), B(0x6B), B(0x4B),
    B(0x6C), B(0x4C), B(0x6D), B(0x4D), B(0x6E), B(0x4E), B(0xF1), B(0xD1), B(0x6F), B(0x4F), B(0xBA),
    B(0xF3), B(0xD3), B(0xF2), B(0xD2), B(0xF4), B(0xD4), B(0xF6), B(0xD6), B(0xF5), B(0xD5), B(0xF8),
    B(0xD8), B(0x9C), B(0x8C), B(0x70), B(0x50), B(0x71), B(0x51), B(0x72), B(0x52), B(0x73), B(0x53),
    B(0x9A), B(0x8A), B(0xDF), B(0x74), B(0x54), B(0xFE), B(0xDE), B(0x99), B(0x75), B(0x55), B(0xFA),
    B(0xDA), B(0xF9), B(0xD9), B(0xFB), B(0xDB), B(0xFC), B(0xDC), B(0x76), B(0x56), B(0x77), B(0x57),
    B(0x78), B(0x58), B(0x79), B(0x59), B(0xFD), B(0xDD), B(0x9F), B(0x7A), B(0x5A)
};

struct WeightTable {
    unsigned short weight[256] = {};
    bool complete = false;   // every byte listed exactly once
};

// tieSkipsRank: the byte after a tie takes the rank of its list position (a gap after the tie);
// otherwise the ranks stay dense.
template <size_t N>
constexpr WeightTable BuildTable(const Run (&runs)[N], bool tieSkipsRank)
{
    WeightTable t;
    bool seen[256] = {};
    unsigned rank = 0, count = 0;
    for (const Run& run : runs) {
        for (unsigned b = run.first; b <= run.last; ++b) {
            if (seen[b])
                return t;
            seen[b] = true;
            ++count;
            if (run.tie && count > 1) {
                t.weight[b] = (unsigned short)(rank - 1);
                if (tieSkipsRank)
                    ++rank;
            } else {
                t.weight[b] = (unsigned short)rank++;
            }
        }
    }
    t.complete = count == 256;
    return t;
}

constexpr WeightTable WithWeight(WeightTable t, unsigned char b, unsigned short w)
{
    t.weight[b] = w;
    return t;
}

constexpr WeightTable kGermanOemWeights = BuildTable(kGermanOem, true);
constexpr WeightTable kAlternateOemWeights = WithWeight(BuildTable(kAlternateOem, false), 0xC6, 299);
constexpr WeightTable kGermanAnsiWeights = BuildTable(kGermanAnsi, false);
static_assert(kGermanOemWeights.complete && kAlternateOemWeights.complete && kGermanAnsiWeights.complete,
              "every weight table lists each byte exactly once");
static_assert(kGermanOemWeights.weight[0x2F] == 116 && kGermanOemWeights.weight[0x5C] == 116 &&
              kGermanOemWeights.weight[0x7C] == 118 && kGermanOemWeights.weight[0xFF] == 255);
static_assert(kGermanAnsiWeights.weight[0x9B] == 90 && kGermanAnsiWeights.weight[0xFF] == 90 &&
              kGermanAnsiWeights.weight[0x5A] == 254);

bool IsAnsi(const s_Collation& c) { return c.charset == DB_CHARSET_ANSI; }

const unsigned short* WeightsOf(const s_Collation& c)
{
    if (IsAnsi(c))
        return kGermanAnsiWeights.weight;
    return c.sortOrder == DB_SORT_GERMAN_ALTERNATE ? kAlternateOemWeights.weight : kGermanOemWeights.weight;
}

// Walks both texts (at most n characters when bounded): the first different byte decides by its
// weight, and two different bytes of equal weight by their code.
int WeightCompare(const unsigned short* weights, const char* a, const char* b, size_t n, bool bounded)
{
    for (size_t i = 0; !bounded || i < n; ++i) {
        const unsigned char x = (unsigned char)a[i], y = (unsigned char)b[i];
        if (!x || !y)
            return !x && !y ? 0 : (!x ? -1 : 1);
        if (x == y)
            continue;
        if (weights[x] != weights[y])
            return weights[x] > weights[y] ? 1 : -1;
        return x > y ? 1 : -1;
    }
    return 0;
}

// ---- German Replace -----------------------------------------------------------------------------

// The two letters an umlaut (or sharp s) stands for; 0 for every other byte.
struct Spellings {
    char first[256] = {};
    char second[256] = {};
};

constexpr Spellings BuildSpellings(const unsigned char (&codes)[7])
{
    const char* spelled[7] = {"AE", "OE", "UE", "ae", "oe", "ue", "ss"};
    Spellings s;
    for (int i = 0; i < 7; ++i) {
        s.first[codes[i]] = spelled[i][0];
        s.second[codes[i]] = spelled[i][1];
    }
    return s;
}

// Ä Ö Ü ä ö ü ß
constexpr unsigned char kOemUmlauts[7] = {0x8E, 0x99, 0x9A, 0x84, 0x94, 0x81, 0xE1};
constexpr unsigned char kAnsiUmlauts[7] = {0xC4, 0xD6, 0xDC, 0xE4, 0xF6, 0xFC, 0xDF};
constexpr Spellings kOemSpellings = BuildSpellings(kOemUmlauts);
constexpr Spellings kAnsiSpellings = BuildSpellings(kAnsiUmlauts);

const Spellings& SpellingsOf(const s_Collation& c) { return IsAnsi(c) ? kAnsiSpellings : kOemSpellings; }

// A text read as a stream in which every umlaut stands for its two letters.
class SpelledStream {
public:
    SpelledStream(const Spellings& spellings, const char* text) : m_spellings(spellings), m_p((const unsigned char*)text) {}
    // True when the next byte starts a character of the text (not an umlaut's second letter).
    bool AtCharacter() const { return m_pending == 0; }
    // The next byte; 0 at the end (the stream stays there).
    unsigned char Next()
    {
        if (m_pending) {
            unsigned char c = m_pending;
            m_pending = 0;
            return c;
        }
        unsigned char c = *m_p;
        if (!c)
            return 0;
        ++m_p;
        if (m_spellings.second[c]) {
            m_pending = (unsigned char)m_spellings.second[c];
            return (unsigned char)m_spellings.first[c];
        }
        return c;
    }

private:
    const Spellings& m_spellings;
    const unsigned char* m_p;
    unsigned char m_pending = 0;
};

// Compares the spelled-out streams, the first text's byte minus the second's at the first
// difference. Bounded: over n characters of the first text (an umlaut there takes two steps);
// otherwise to the end of both streams.
int SpelledCompare(const Spellings& spellings, const char* a, const char* b, size_t n, bool bounded)
{
    SpelledStream sa(spellings, a), sb(spellings, b);
    size_t characters = 0;
    for (;;) {
        if (sa.AtCharacter()) {
            if (bounded && characters == n)
                return 0;
            ++characters;
        }
        const int x = sa.Next(), y = sb.Next();
        if (x != y)
            return x - y;
        if (!x)
            return 0;
    }
}

} // namespace

s_Collation _db_collation_of(const s_Area* area)
{
    s_Collation c;
    if (area) {
        c.sortOrder = area->sortOrder;
        c.charset = area->charset;
    }
    return c;
}

unsigned _sort_weight(const s_Collation& collation, unsigned char byte) { return WeightsOf(collation)[byte]; }

int _str_compare(const s_Collation& collation, const char* a, const char* b)
{
    a = Text(a);
    b = Text(b);
    switch (collation.sortOrder) {
    case DB_SORT_GERMAN_REPLACE: {
        const size_t la = std::strlen(a), lb = std::strlen(b);
        if (la != lb)
            return la > lb ? (int)(la - lb) : -(int)(lb - la);
        // Both spelled-out streams to their ends, so that the answer does not depend on which
        // text comes first.
        return SpelledCompare(SpellingsOf(collation), a, b, 0, false);
    }
    case DB_SORT_GERMAN_TABLE:
    case DB_SORT_GERMAN_ALTERNATE:
        return WeightCompare(WeightsOf(collation), a, b, 0, false);
    default:
        return std::strcmp(a, b);
    }
}

int _str_compare(const s_Area* area, const char* a, const char* b) { return _str_compare(_db_collation_of(area), a, b); }

int _str_compare_n(const s_Collation& collation, const char* a, const char* b, size_t n)
{
    a = Text(a);
    b = Text(b);
    switch (collation.sortOrder) {
    case DB_SORT_GERMAN_REPLACE:
        return SpelledCompare(SpellingsOf(collation), a, b, n, true);
    case DB_SORT_GERMAN_TABLE:
    case DB_SORT_GERMAN_ALTERNATE:
        return WeightCompare(WeightsOf(collation), a, b, n, true);
    default:
        return std::strncmp(a, b, n);
    }
}

int _str_compare_n(const s_Area* area, const char* a, const char* b, size_t n)
{
    return _str_compare_n(_db_collation_of(area), a, b, n);
}

void _sort_key(const s_Collation& collation, size_t size, const char* text, char* out)
{
    if (!out || size == 0)
        return;
    std::string copy;
    if (text == out) {   // spelling out grows the text: read from a copy
        copy = text;
        text = copy.c_str();
    }
    text = Text(text);
    if (collation.sortOrder != DB_SORT_GERMAN_REPLACE) {
        SafeStrCopy(out, text, size);
        return;
    }
    const Spellings& spellings = SpellingsOf(collation);
    size_t o = 0;
    for (const unsigned char* p = (const unsigned char*)text; *p && o + 1 < size; ++p) {
        if (!spellings.second[*p]) {
            out[o++] = (char)*p;
            continue;
        }
        out[o++] = spellings.first[*p];
        if (o + 1 < size)
            out[o++] = spellings.second[*p];
    }
    out[o] = 0;
}

void _sort_key(const s_Area* area, size_t size, const char* text, char* out)
{
    _sort_key(_db_collation_of(area), size, text, out);
}

// ---- wildcard comparison ------------------------------------------------------------------------

namespace {

// The segment (length n, '?' for any byte) stands at text.
bool SegmentAt(const char* segment, size_t n, const char* text)
{
    for (size_t i = 0; i < n; ++i)
        if (segment[i] != '?' && segment[i] != text[i])
            return false;
    return true;
}

} // namespace

// Segment by segment, the first hit wins: with an open end of the text, the leftmost place of
// each segment leaves the most room for the segments after it.
BOOL _wildcard_match(const char* pattern, const char* text)
{
    const char* p = Text(pattern);
    const char* t = Text(text);
    bool anchored = true;
    while (*p == '*') {
        ++p;
        anchored = false;
    }
    while (*p) {
        const size_t segment = std::strcspn(p, "*");
        const size_t rest = std::strlen(t);
        const char* hit = nullptr;
        for (size_t at = 0; at + segment <= rest; ++at) {
            if (SegmentAt(p, segment, t + at)) {
                hit = t + at;
                break;
            }
            if (anchored)
                break;
        }
        if (!hit)
            return FALSE;
        t = hit + segment;
        p += segment;
        while (*p == '*')
            ++p;
        anchored = false;
    }
    return TRUE;
}

// ---- exports ------------------------------------------------------------------------------------

extern "C" int DB_CALL db_strcompare(const char* a, const char* b)
{
    s_Job* job = _db_get_job();
    if (!job)
        return 0;
    a = Text(a);
    b = Text(b);
    if (job->exact)
        return _str_compare(job->currentArea, a, b);
    const size_t la = std::strlen(a), lb = std::strlen(b);
    return _str_compare_n(job->currentArea, a, b, la < lb ? la : lb);
}

// A character (one byte, or a lead and trail byte of a double-byte code page) stays when the set
// holds the same character.
extern "C" char* DB_CALL db_strreduce(char* s, const char* set)
{
    if (!s)
        return s;
    set = Text(set);
    char* out = s;
    for (const char* p = s; *p;) {
        const size_t length = IsDBCSLeadByte((BYTE)*p) && p[1] ? 2 : 1;
        bool keep = false;
        for (const char* q = set; *q && !keep;) {
            const size_t l = IsDBCSLeadByte((BYTE)*q) && q[1] ? 2 : 1;
            keep = l == length && std::memcmp(p, q, length) == 0;
            q += l;
        }
        if (keep) {
            std::memmove(out, p, length);
            out += length;
        }
        p += length;
    }
    *out = 0;
    return s;
}
