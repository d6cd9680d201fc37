// Phonetic codes: upper-casing and folding, the German sound code and the Metaphone code.
#include "Phonetic.h"

#include <windows.h>

#include <cstring>
#include <string>

#include "Collation.h"
#include "Job.h"

namespace {

// ---- upper-casing and folding -------------------------------------------------------------------

// OEM bytes 0x80..0xA5 (code page 850) folded to a base letter; 0xE1 is the sharp s. The umlauts
// and accented small letters with a capital of their own are mapped to that capital instead
// (see UpperFoldOem), so the capitals typed as such become their base letters.
const unsigned char kOemFold[0xA6 - 0x80] = {
    'c', 'u', 'e', 'a', 'a', 'a', 'a', 'c', 'e', 'e', 'e', 'i', 'i', 'i', 'A', 'A', 'E', 'a', 'A',
    'o', 'o', 'o', 'u', 'u', 'y', 'O', 'U', 'c', 0xE1, 0xE1, 0xE1, 0xE1, 'a', 'i', 'o', 'u', 'n', 'N'};

// ANSI bytes 0xC0..0xFF (code page 1252) folded to a base letter.
const char kAnsiFold[] = "AAAAAAACEEEEIIIIDNOOOOOxOUUUUYPsaaaaaaaceeeeiiiidnoooooxouuuuypy";
static_assert(sizeof kAnsiFold - 1 == 0x100 - 0xC0, "one letter for each of 0xC0..0xFF");

const unsigned char OEM_AE = 0x8E, OEM_OE = 0x99, OEM_UE = 0x9A, OEM_SZ = 0xE1;
const unsigned char ANSI_AE = 0xC4, ANSI_OE = 0xD6, ANSI_UE = 0xDC, ANSI_SZ = 0xDF;

unsigned char UpperFoldOem(unsigned char c)
{
    if (c >= 'a' && c <= 'z')
        return (unsigned char)(c - 'a' + 'A');
    switch (c) {
    case 0x81: return 0x9A;   // ü
    case 0x82: return 0x90;   // é
    case 0x84: return 0x8E;   // ä
    case 0x86: return 0x8F;   // å
    case 0x91: return 0x92;   // æ
    case 0x94: return 0x99;   // ö
    case 0xA4: return 0xA5;   // ñ
    }
    // Bytes from 0xA6 on stay (the sharp s among them).
    return c >= 0x80 && c < 0xA6 ? kOemFold[c - 0x80] : c;
}

// The umlauts and the sharp s stay for the sound code; the other accented letters fold to their
// base letters; bytes 0x80..0xBF stay.
void UpperFoldAnsi(char* text)
{
    CharUpperA(text);
    for (unsigned char* p = (unsigned char*)text; *p; ++p)
        if (*p >= 0xC0 && *p != ANSI_AE && *p != ANSI_OE && *p != ANSI_UE && *p != ANSI_SZ)
            *p = (unsigned char)kAnsiFold[*p - 0xC0];
}

void UpperAndFold(char* text, bool ansi)
{
    if (ansi) {
        UpperFoldAnsi(text);
        return;
    }
    for (unsigned char* p = (unsigned char*)text; *p; ++p)
        *p = UpperFoldOem(*p);
}

// ---- German sound code (mode 0) -----------------------------------------------------------------

struct Pair {
    const char* from;
    char to[3];
};

// Tried in this order at each position.
const Pair kPairs[] = {
    {"SC", "C "}, {"SZ", "C "}, {"CZ", "C "}, {"TZ", "C "}, {"TS", "C "}, {"DS", "C "}, {"KS", "X "},
    {"QU", "KV"}, {"PF", "V "}, {"PH", "V "}, {"UE", "Y "}, {"AE", "E "}, {"OE", {(char)OEM_OE, ' '}},
    {"EI", "AY"}, {"EY", "AY"}, {"EU", "OY"}, {"AU", "A@"}, {"OU", "U "},
};

unsigned char SingleLetter(unsigned char c, bool ansi)
{
    switch (c) {
    case '@': return 'U';
    case 'Z': case 'K': case 'G': case 'Q': return 'C';
    case 'I': case 'J': return 'Y';
    case 'F': case 'W': return 'V';
    case 'P': return 'B';
    case 'T': return 'D';
    }
    if (c == (ansi ? ANSI_AE : OEM_AE))
        return 'E';
    if (c == (ansi ? ANSI_UE : OEM_UE))
        return 'Y';
    if (c == (ansi ? ANSI_SZ : OEM_SZ) || (ansi && c == 0xE1))
        return 'S';
    return c;
}

bool Kept(unsigned char c, bool ansi)
{
    return (c && std::strchr("ABCDLMNORSUVWXY*?", c)) || c == (ansi ? ANSI_OE : OEM_OE);
}

void SoundCode(char* text, bool ansi)
{
    const size_t n = std::strlen(text);
    for (size_t i = 0; i + 1 < n;) {
        const Pair* hit = nullptr;
        for (const Pair& pair : kPairs)
            if (text[i] == pair.from[0] && text[i + 1] == pair.from[1]) {
                hit = &pair;
                break;
            }
        if (!hit) {
            ++i;
            continue;
        }
        text[i] = hit->to[0];
        text[i + 1] = hit->to[1];
        i += 2;
    }
    for (size_t i = 0; i < n; ++i)
        text[i] = (char)SingleLetter((unsigned char)text[i], ansi);
    for (size_t i = 0; i + 1 < n;) {
        if (text[i] == text[i + 1]) {
            text[i + 1] = ' ';
            i += 2;
        } else {
            ++i;
        }
    }
    char* out = text;
    for (size_t i = 0; i < n; ++i)
        if (Kept((unsigned char)text[i], ansi))
            *out++ = text[i];
    *out = 0;
}

// ---- Metaphone (mode 1) -------------------------------------------------------------------------

enum : unsigned { VOWEL = 1, ITSELF = 2, SILENCES_H = 4, FRONT = 8, SILENCES_GH = 16 };

// Classes of the letters A..Z.
const unsigned char kLetterClass[26] = {
    VOWEL,          SILENCES_GH, SILENCES_H, SILENCES_GH,   VOWEL | FRONT, ITSELF, SILENCES_H,
    SILENCES_GH,    VOWEL | FRONT, ITSELF, 0,           ITSELF,        ITSELF, ITSELF,
    VOWEL,          SILENCES_H,  0,          ITSELF,        SILENCES_H,    SILENCES_H, VOWEL,
    0,              0,           0,          FRONT,         0};

const size_t kMetaphoneLength = 5;

class MetaphoneText {
public:
    explicit MetaphoneText(const std::string& s) : m_s(s) {}
    // The character at i; 0 before the start and beyond the end.
    char At(long long i) const { return i >= 0 && i < (long long)m_s.size() ? m_s[(size_t)i] : 0; }
    unsigned Class(long long i) const
    {
        char c = At(i);
        return c >= 'A' && c <= 'Z' ? kLetterClass[c - 'A'] : 0;
    }
    bool Vowel(long long i) const { return Class(i) & VOWEL; }
    bool Front(long long i) const { return Class(i) & FRONT; }
    bool Last(long long i) const { return i == (long long)m_s.size() - 1; }

private:
    const std::string& m_s;
};

// Letter by letter over the upper-cased text (trailing blanks removed), at most five code
// characters.
std::string Metaphone(const std::string& s)
{
    const MetaphoneText t(s);
    std::string code;
    const long long n = (long long)s.size();
    long long i = 0;
    long long first = 0;   // the first letter, -1 when the first-letter rules coded it
    auto startsWith = [&](const char* two) { return t.At(0) == two[0] && t.At(1) == two[1]; };
    if (startsWith("AE") || startsWith("GN") || startsWith("KN") || startsWith("PN") || startsWith("WR")) {
        i = first = 1;
    } else if (startsWith("WH")) {
        code += 'W';
        i = 2;
        first = -1;
    } else if (t.At(0) == 'X') {
        code += 'S';
        i = 1;
        first = -1;
    }
    for (; i < n && code.size() < kMetaphoneLength; ++i) {
        const char c = t.At(i);
        if (c < 'A' || c > 'Z')
            continue;
        if (c == t.At(i - 1) && c != 'C')
            continue;
        const char next = t.At(i + 1);
        if (t.Vowel(i)) {
            if (i == first)
                code += c;
            continue;
        }
        if (t.Class(i) & ITSELF) {
            code += c;
            continue;
        }
        char out = 0;
        switch (c) {
        case 'B':
            out = t.Last(i) && t.At(i - 1) == 'M' ? 0 : 'B';
            break;
        case 'C':
            if (t.At(i - 1) == 'S' && t.Front(i + 1))
                out = 0;
            else if (next == 'I' && t.At(i + 2) == 'A')
                out = 'X';
            else if (t.Front(i + 1))
                out = 'S';
            else if (next == 'H')
                out = (i == first && !t.Vowel(i + 2)) || t.At(i - 1) == 'S' ? 'K' : 'X';
            else
                out = 'K';
            break;
        case 'D':
            out = next == 'G' && t.Front(i + 2) ? 'J' : 'T';
            break;
        case 'G':
            if (next == 'H')
                out = t.Vowel(i + 2) ? 'K' : ((t.Class(i - 3) & SILENCES_GH) || t.At(i - 4) == 'H' ? 0 : 'F');
            else if (next == 'N' && (t.Last(i + 1) || (t.At(i + 2) == 'E' && t.At(i + 3) == 'D')))
                out = 0;
            else if (t.At(i - 1) == 'D' && t.Front(i + 1))
                out = 0;
            else if (t.Front(i + 1) && t.At(i + 2) != 'G')
                out = 'J';
            else
                out = 'K';
            break;
        case 'H':
            out = (t.Class(i - 1) & SILENCES_H) || (t.Vowel(i - 1) && !t.Vowel(i + 1)) ? 0 : 'H';
            break;
        case 'K':
            out = t.At(i - 1) == 'C' ? 0 : 'K';
            break;
        case 'Q':
            out = 'K';
            break;
        case 'P':
            out = next == 'H' ? 'F' : 'P';
            break;
        case 'S':
            out = next == 'H' || (next == 'I' && (t.At(i + 2) == 'O' || t.At(i + 2) == 'A')) ? 'X' : 'S';
            break;
        case 'T':
            if (next == 'I' && (t.At(i + 2) == 'A' || t.At(i + 2) == 'O'))
                out = 'X';
            else if (next == 'H')
                out = 'O';
            else if (next == 'C' && t.At(i + 2) == 'H')
                out = 0;
            else
                out = 'T';
            break;
        case 'V':
            out = 'F';
            break;
        case 'W':
        case 'Y':
            out = t.Vowel(i + 1) ? c : 0;
            break;
        case 'X':
            // K, and the character after the X joins the code as it stands.
            code += 'K';
            if (i + 1 < n && code.size() < kMetaphoneLength)
                code += next;
            ++i;
            continue;
        case 'Z':
            out = 'S';
            break;
        }
        if (out)
            code += out;
    }
    return code;
}

} // namespace

void _phonetic_code(char* text, int charset, int mode)
{
    if (!text)
        return;
    const bool ansi = charset == DB_CHARSET_ANSI;
    UpperAndFold(text, ansi);
    if (mode == 0) {
        SoundCode(text, ansi);
    } else if (mode == 1) {
        std::string s(text);
        while (!s.empty() && s.back() == ' ')
            s.pop_back();
        const std::string code = Metaphone(s);
        std::memcpy(text, code.c_str(), code.size() + 1);
    }
}

void _phonetic(const s_Area* area, char* text)
{
    _phonetic_code(text, _db_collation_of(area).charset, g_Job ? g_Job->collationCompatibility : 0);
}
