// The demangler: a recursive-descent parser over the decorated name that renders into a text
// builder which inserts at a moving position. Declarations are built inside out: the name first,
// then the type words in front of it and parameter lists and dimensions behind it.
//
// Grammar (letters of codes in any case; identifiers as written):
//   decorated   = ["__imp_"] ("W?" | "T?" 4 characters) qualified [type]
//   qualified   = name {":" scope}
//   name        = "$" special | digit (a remembered identifier) | identifier "$"
//   scope       = "?" nested | ":" template-args | name
//   nested      = qualified [type]               (rendered on its own, at most 79 characters)
//   template-args = {"0" base-32-digits ("Z" | "Y") | "1" type | "?" nested}
//   type        = {modifier} ("$" qualified "$" | "(" {type} ")" type
//                 | "." {modifier} "(" {type} ")" type | ("[" decimal "]")+ type
//                 | ("P" | "R" | "M" ["$" qualified "$"]) type | type letter)
//   modifier    = F | G | H | N | U | X | Y | J base
//   base        = ("A" | "F") "$" qualified | "L" n:2 base-36 digits n characters | "S" | "V"
//   special     = ("o" | "r" | "a") letter | "nw" | "na" | "dl" | "da" | "ct" | "dt" | "cv"
//                 | "tE" ... "$" | "w" code:2 n:2 base-36 digits n characters "$"
//
// The builder keeps: the total length N (every character put counts, also those the buffer
// cannot hold), the insertion point P, a nesting level (above 2 nothing is stored or counted:
// the parameters of a function type inside a parameter), and the pending constructor or
// destructor (its slot D characters before the end) and conversion operator.
// A declarator record travels down the parse: A, where type words are inserted; B, the distance
// from the end where parameter lists, dimensions and closing parentheses go; and a flag set below
// pointers so that a function or array beneath is put in parentheses.
#include "Demangler.h"

#include <cstdint>
#include <cstring>
#include <string>

namespace {

// Deep input ends the rendering instead of the stack.
const int kMaxDepth = 64;
const int kRemembered = 10;
const size_t kNestedSize = 80;

struct RememberedNames {
    std::string text[kRemembered];
    int count = 0;
};

char Upper(char c) { return c >= 'a' && c <= 'z' ? (char)(c - 'a' + 'A') : c; }

bool IsIdentifierChar(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '.';
}

// A digit of base `base` (up to 36), -1 when c is none.
int Digit(char c, int base)
{
    int v = c >= '0' && c <= '9' ? c - '0' : Upper(c) >= 'A' && Upper(c) <= 'Z' ? Upper(c) - 'A' + 10 : -1;
    return v < base ? v : -1;
}

// The text of a type letter, NULL for a character that is no type letter. C is handled by the
// parser (its text depends on the letter before it).
const char* TypeLetterText(char c)
{
    switch (Upper(c)) {
    case 'A': return "char ";
    case 'B': return "float ";
    case 'D': return "double ";
    case 'E': return "... ";
    case 'I': return "int ";
    case 'L': return "long ";
    case 'Q': return "bool ";
    case 'S': return "short ";
    case 'T': return "long double ";
    case 'V': return "void ";
    case 'W': return "wchar_t ";
    case 'Z': return "__int64 ";
    case '_': return "";
    default: return nullptr;
    }
}

// The text of a simple modifier (not J), NULL for other characters.
const char* ModifierText(char c)
{
    switch (Upper(c)) {
    case 'F': return "far ";
    case 'G': return "far16 ";
    case 'H': return "huge ";
    case 'N': return "near ";
    case 'U': return "unsigned ";
    case 'X': return "const ";
    case 'Y': return "volatile ";
    default: return nullptr;
    }
}

const char* OperatorText(char group, char letter)
{
    static const char* const o[] = {">>", "<<", "!",  "[]", "->", "*",  "++", "--", "-", "+", "&",
                                    "->*", "/", "%", ",", "()", "~", "^", "|", "&&", "||"};
    static const char* const r[] = {"==", "!=", "<", "<=", ">", ">="};
    static const char* const a[] = {"=", "*=", "+=", "-=", "/=", "%=", ">>=", "<<=", "&=", "|=", "^="};
    int i = Upper(letter) - 'A';
    switch (Upper(group)) {
    case 'O': return i >= 0 && i < (int)(sizeof o / sizeof *o) ? o[i] : nullptr;
    case 'R': return i >= 0 && i < (int)(sizeof r / sizeof *r) ? r[i] : nullptr;
    case 'A': return i >= 0 && i < (int)(sizeof a / sizeof *a) ? a[i] : nullptr;
    default: return nullptr;
    }
}

const char* SpecialNameText(char first, char second)
{
    static const struct {
        char code[3];
        const char* text;
    } names[] = {{"BI", "__onceonly"},   {"DA", "__arrdtorblk"}, {"DF", "__defarg"},     {"DI", "__debuginfo"},
                 {"DO", "__dtorobjblk"}, {"MP", "__mbrptrthunk"}, {"SI", "__staticinit"}, {"TH", "__throwblk"},
                 {"TI", "__typeid"},     {"TS", "__typesig"},    {"VA", "__rtti"},       {"VB", "__vbtbl"},
                 {"VF", "__vftbl"},      {"VM", "__vmtbl"},      {"VT", "__vfthunk"},    {"ST", "__typstattab"},
                 {"CM", "__stattabcmd"}, {"UN", "<unique>"}};
    for (const auto& n : names)
        if (n.code[0] == Upper(first) && n.code[1] == Upper(second))
            return n.text;
    return "__internal";
}

// The inserting text builder of one rendering.
class TextBuilder {
public:
    TextBuilder(char* buffer, size_t size) : m_buffer(buffer), m_capacity(buffer ? size - 1 : 0) {}

    void Put(char c)
    {
        if (m_level > 2)
            return;
        // Characters at and behind P move one place; what moves past the buffer's end is lost.
        if (m_buffer && m_p <= m_stored && m_p < m_capacity) {
            size_t keep = (m_stored < m_capacity ? m_stored : m_capacity - 1) - m_p;
            memmove(m_buffer + m_p + 1, m_buffer + m_p, keep);
            m_buffer[m_p] = c;
            if (m_stored < m_capacity)
                m_stored++;
        }
        m_n++;
        m_p++;
    }
    void Put(const char* text)
    {
        while (*text)
            Put(*text++);
    }
    void Put(const std::string& text)
    {
        for (char c : text)
            Put(c);
    }
    void MoveTo(int64_t position) { m_p = (size_t)(position < 0 ? 0 : (uint64_t)position > m_n ? m_n : position); }
    // P to N minus a distance. P may lie beyond what the buffer holds (characters put there are
    // only counted), so a buffer that is too small receives a prefix of the whole rendering.
    void MoveToEndMinus(int64_t distance) { MoveTo((int64_t)m_n - distance); }
    void Insert(int64_t position, const char* text)
    {
        MoveTo(position);
        Put(text);
    }
    // Deletes the space before P (only with a buffer: a length query counts such spaces).
    void RemoveSpace()
    {
        if (m_buffer && m_p >= 1 && m_p - 1 < m_stored && m_buffer[m_p - 1] == ' ') {
            memmove(m_buffer + m_p - 1, m_buffer + m_p, m_stored - m_p);
            m_stored--;
            m_n--;
            m_p--;
        }
    }
    // Removes one trailing space, terminates and answers the length (N without a buffer).
    size_t Finish()
    {
        if (!m_buffer)
            return m_n;
        if (m_stored && m_buffer[m_stored - 1] == ' ')
            m_stored--;
        m_buffer[m_stored] = 0;
        return m_stored;
    }

    int64_t N() const { return (int64_t)m_n; }
    int64_t P() const { return (int64_t)m_p; }
    void Raise() { m_level++; }
    void Lower() { m_level--; }
    bool Storing() const { return m_level <= 2; }

    bool structorPending = false; // a constructor or destructor waits for its class name
    int64_t structorDistance = 0; // D: its slot's distance from the end
    bool conversionPending = false;

private:
    char* m_buffer;
    size_t m_capacity;
    size_t m_stored = 0;
    size_t m_n = 0;
    size_t m_p = 0;
    int m_level = 1;
};

struct Declarator {
    int64_t a = 0;
    int64_t b = 0;
    bool parenthesise = false;
};

class Parser {
public:
    Parser(const char* begin, const char* end, RememberedNames& names, TextBuilder& out, int depth)
        : m_pos(begin), m_end(end), m_names(names), m_out(out), m_depth(depth)
    {
    }

    // After the prefix: the qualified name, then the type around it.
    bool Declaration()
    {
        Declarator d;
        if (!QualifiedName(d))
            return false;
        m_out.MoveTo(m_out.N());
        m_out.RemoveSpace();
        if (m_pos < m_end && (m_depth == 0 || StartsType(Peek())))
            return Type(d);
        return true;
    }

    bool Top()
    {
        if (Rest() >= 6 && Upper(m_pos[0]) == '_' && m_pos[1] == '_' && Upper(m_pos[2]) == 'I' &&
            Upper(m_pos[3]) == 'M' && Upper(m_pos[4]) == 'P' && m_pos[5] == '_')
            m_pos += 6;
        if (Rest() < 2 || m_pos[1] != '?')
            return false;
        if (m_pos[0] == 'T') {
            if (Rest() < 6)
                return false;
            m_pos += 6;
        } else {
            m_pos += 2;
        }
        return Declaration();
    }

private:
    // Counts the recursion of one construct; false beyond the limit.
    class Depth {
    public:
        explicit Depth(int& depth) : m_depth(depth) { m_depth++; }
        ~Depth() { m_depth--; }
        bool Ok() const { return m_depth <= kMaxDepth; }

    private:
        int& m_depth;
    };

    size_t Rest() const { return (size_t)(m_end - m_pos); }
    char Peek() const { return m_pos < m_end ? *m_pos : 0; }
    bool Take(char c)
    {
        if (Peek() != c)
            return false;
        m_pos++;
        return true;
    }

    static bool StartsType(char c)
    {
        return c == '$' || c == '(' || c == '.' || c == '[' || Upper(c) == 'J' || Upper(c) == 'P' ||
               Upper(c) == 'R' || Upper(c) == 'M' || Upper(c) == 'C' || ModifierText(c) || TypeLetterText(c);
    }

    bool QualifiedName(const Declarator& d)
    {
        Depth depth(m_depth);
        if (!depth.Ok() || !Name(d))
            return false;
        while (Take(':'))
            if (!Scope(d))
                return false;
        return true;
    }

    // The identifier (or the pending constructor's class name) at A, with a space.
    void PutIdentifier(const Declarator& d, const std::string& text)
    {
        if (m_out.structorPending) {
            m_out.MoveToEndMinus(m_out.structorDistance);
            m_out.Put(text);
            m_out.structorPending = false;
        }
        m_out.MoveTo(d.a);
        m_out.Put(text);
        m_out.Put(' ');
    }

    bool Name(const Declarator& d)
    {
        char c = Peek();
        if (c == '$') {
            m_pos++;
            return Special(d);
        }
        if (c >= '0' && c <= '9') {
            m_pos++;
            int n = c - '0';
            PutIdentifier(d, n < m_names.count ? m_names.text[n] : std::string("@"));
            return true;
        }
        if (!IsIdentifierChar(c))
            return false;
        const char* start = m_pos;
        while (IsIdentifierChar(Peek()))
            m_pos++;
        if (!Take('$'))
            return false;
        std::string text(start, m_pos - 1);
        if (m_names.count < kRemembered)
            m_names.text[m_names.count++] = text;
        PutIdentifier(d, text);
        return true;
    }

    bool Special(const Declarator& d)
    {
        if (Rest() < 2)
            return false;
        char code = Upper(m_pos[0]), next = Upper(m_pos[1]);
        m_pos += 2;
        switch (code) {
        case 'O':
        case 'R':
        case 'A':
            if (const char* op = OperatorText(code, next)) {
                m_out.Insert(d.a, "operator ");
                m_out.Put(op);
                return true;
            }
            return false;
        case 'N':
            if (next != 'W' && next != 'A')
                return false;
            m_out.Insert(d.a, "operator ");
            m_out.Put(next == 'W' ? "new" : "new []");
            return true;
        case 'D':
            if (next == 'L' || next == 'A') {
                m_out.Insert(d.a, "operator ");
                m_out.Put(next == 'L' ? "delete" : "delete []");
                return true;
            }
            if (next != 'T')
                return false;
            m_out.Insert(d.a, "~");
            m_out.structorDistance = m_out.N() - m_out.P();
            m_out.structorPending = true;
            return true;
        case 'C':
            if (next == 'T') {
                m_out.MoveTo(d.a);
                m_out.structorDistance = m_out.N() - m_out.P();
                m_out.structorPending = true;
                return true;
            }
            if (next != 'V')
                return false;
            m_out.Insert(d.a, "operator ");
            m_out.conversionPending = true;
            return true;
        case 'T':
            if (next != 'E')
                return false;
            while (m_pos < m_end && *m_pos != '$')
                m_pos++;
            if (!Take('$'))
                return false;
            m_out.Insert(d.a, "__anonymous_enum ");
            return true;
        case 'W': {
            // Two code characters (the first is `next`), a count in two base-36 digits, that many
            // characters, then "$".
            if (Rest() < 3)
                return false;
            const char* text = next == 'A' ? "__internal" : SpecialNameText(next, m_pos[0]);
            int high = Digit(m_pos[1], 36), low = Digit(m_pos[2], 36);
            m_pos += 3;
            if (high < 0 || low < 0 || Rest() < (size_t)(high * 36 + low))
                return false;
            m_pos += high * 36 + low;
            if (!Take('$'))
                return false;
            m_out.Insert(d.a, text);
            return true;
        }
        default:
            return false;
        }
    }

    bool Scope(const Declarator& d)
    {
        m_out.Insert(d.a, "::");
        if (Take('?')) {
            std::string text;
            if (!Nested(text))
                return false;
            m_out.MoveTo(d.a);
            m_out.Put(text);
        } else if (Take(':')) {
            if (!TemplateArguments(d))
                return false;
        } else if (!Name(d)) {
            return false;
        }
        m_out.RemoveSpace();
        return true;
    }

    // A name and its type rendered on their own into 80 characters, sharing the remembered
    // identifiers.
    bool Nested(std::string& text)
    {
        Depth depth(m_depth);
        if (!depth.Ok())
            return false;
        char buffer[kNestedSize];
        TextBuilder nested(buffer, sizeof buffer);
        Parser parser(m_pos, m_end, m_names, nested, m_depth);
        if (!parser.Declaration())
            return false;
        m_pos = parser.m_pos;
        nested.Finish();
        text = buffer;
        return true;
    }

    bool TemplateArguments(const Declarator& d)
    {
        Declarator t = d;
        t.b = m_out.N() - d.a;
        m_out.MoveToEndMinus(t.b);
        m_out.Put('<');
        int count = 0;
        for (;;) {
            char c = Peek();
            if (c != '0' && c != '1' && c != '?')
                break;
            m_pos++;
            m_out.MoveToEndMinus(t.b);
            if (count) {
                m_out.RemoveSpace();
                m_out.Put(',');
            }
            Declarator argument = t;
            argument.a = m_out.P();
            argument.parenthesise = false;
            if (c == '0') {
                uint64_t value = 0;
                int digit;
                while ((digit = Digit(Peek(), 32)) >= 0) {
                    value = value * 32 + (uint64_t)digit;
                    m_pos++;
                }
                char sign = Upper(Peek());
                if (sign != 'Z' && sign != 'Y')
                    return false;
                m_pos++;
                std::string number = std::to_string(value);
                if (sign == 'Y')
                    number = "-" + number;
                m_out.MoveTo(argument.a);
                m_out.Put(number);
            } else if (c == '1') {
                if (!Type(argument))
                    return false;
            } else {
                std::string text;
                if (!Nested(text))
                    return false;
                m_out.MoveTo(argument.a);
                m_out.Put(text);
            }
            count++;
        }
        m_out.MoveToEndMinus(t.b);
        if (!count)
            m_out.RemoveSpace();
        m_out.Put('>');
        return true;
    }

    // A qualified name inserted at position, followed by no space: its own end found from the
    // length it added.
    bool QualifiedNameAt(const Declarator& d, int64_t position)
    {
        Declarator q = d;
        q.a = position;
        int64_t before = m_out.N();
        if (!QualifiedName(q))
            return false;
        m_out.MoveTo(position + (m_out.N() - before));
        m_out.RemoveSpace();
        return true;
    }

    bool Based(const Declarator& d)
    {
        m_out.Insert(d.a, "__based(");
        char kind = Upper(Peek());
        m_pos++;
        switch (kind) {
        case 'A':
        case 'F':
            if (!Take('$') || !QualifiedNameAt(d, m_out.P()))
                return false;
            break;
        case 'L': {
            if (Rest() < 2)
                return false;
            int high = Digit(m_pos[0], 36), low = Digit(m_pos[1], 36);
            m_pos += 2;
            if (high < 0 || low < 0 || Rest() < (size_t)(high * 36 + low))
                return false;
            m_out.Put('"');
            m_out.Put(std::string(m_pos, (size_t)(high * 36 + low)));
            m_out.Put('"');
            m_pos += high * 36 + low;
            break;
        }
        case 'S':
            m_out.Put("__self");
            break;
        case 'V':
            m_out.Put("void");
            break;
        default:
            return false;
        }
        m_out.Put(") ");
        return true;
    }

    // "(" ... ")" around what stands between A and the suffix position.
    void Parenthesise(Declarator& d)
    {
        if (!d.parenthesise)
            return;
        m_out.Insert(d.a, "(");
        m_out.MoveToEndMinus(d.b);
        m_out.Put(')');
        d.parenthesise = false;
    }

    // After "(": the parameters up to ")", then the return type.
    bool Function(Declarator d)
    {
        m_out.MoveToEndMinus(d.b);
        bool conversion = m_out.conversionPending;
        m_out.conversionPending = false;
        int64_t conversionPosition = 0;
        if (conversion) {
            m_out.Put(' ');
            conversionPosition = m_out.P();
        } else {
            m_out.RemoveSpace();
        }
        Parenthesise(d);
        m_out.MoveToEndMinus(d.b);
        m_out.Put("( ");
        m_out.Raise();
        // Parameters of a function type inside a parameter are neither stored nor counted; their
        // list renders as "()".
        bool rendered = m_out.Storing();
        int count = 0;
        while (!Take(')')) {
            if (m_pos >= m_end)
                return false;
            if (count) {
                m_out.MoveToEndMinus(d.b);
                m_out.RemoveSpace();
                m_out.Put(", ");
            }
            Declarator parameter = d;
            parameter.a = m_out.P();
            if (!Type(parameter))
                return false;
            count++;
        }
        m_out.MoveToEndMinus(d.b);
        if (!count || !rendered)
            m_out.RemoveSpace();
        m_out.Lower();
        m_out.Put(')');
        Declarator result = d;
        if (conversion)
            result.a = conversionPosition;
        return Type(result);
    }

    bool Type(Declarator d)
    {
        Depth depth(m_depth);
        if (!depth.Ok())
            return false;
        bool afterU = false;
        for (;;) {
            char c = Upper(Peek());
            if (c == 'J') {
                m_pos++;
                if (!Based(d))
                    return false;
                afterU = false;
            } else if (const char* text = ModifierText(c)) {
                m_pos++;
                // An unsigned char reads "char".
                if (c != 'U' || Upper(Peek()) != 'A')
                    m_out.Insert(d.a, text);
                afterU = c == 'U';
            } else {
                break;
            }
        }
        char c = Peek();
        if (m_pos >= m_end)
            return false;
        m_pos++;
        switch (Upper(c)) {
        case '$':
            return QualifiedName(d) && Take('$');
        case '(':
            return Function(d);
        case '.': {
            // A member function: the object's modifiers follow its rendering.
            const char* modifiers = m_pos;
            while (ModifierText(Peek()))
                m_pos++;
            const char* modifiersEnd = m_pos;
            if (!Take('(') || !Function(d))
                return false;
            m_out.MoveToEndMinus(d.b);
            m_out.Put(' ');
            for (const char* m = modifiers; m < modifiersEnd; m++)
                m_out.Put(ModifierText(*m));
            m_out.RemoveSpace();
            return true;
        }
        case '[': {
            m_out.MoveToEndMinus(d.b);
            m_out.RemoveSpace();
            Parenthesise(d);
            m_pos--;
            while (Take('[')) {
                const char* digits = m_pos;
                while (Peek() >= '0' && Peek() <= '9')
                    m_pos++;
                const char* digitsEnd = m_pos;
                if (!Take(']'))
                    return false;
                while (digits < digitsEnd && *digits == '0')
                    digits++;
                m_out.MoveToEndMinus(d.b);
                m_out.Put('[');
                m_out.Put(std::string(digits, digitsEnd));
                m_out.Put(']');
            }
            return Type(d);
        }
        case 'P':
        case 'R':
            m_out.Insert(d.a, Upper(c) == 'P' ? "* " : "& ");
            d.parenthesise = true;
            return Type(d);
        case 'M':
            m_out.Insert(d.a, "::* ");
            if (Take('$') && !(QualifiedNameAt(d, d.a) && Take('$')))
                return false;
            d.parenthesise = true;
            return Type(d);
        case 'C':
            if (!afterU)
                m_out.Insert(d.a, "signed ");
            m_out.Insert(d.a, "char ");
            return true;
        default:
            if (const char* text = TypeLetterText(c)) {
                m_out.Insert(d.a, text);
                return true;
            }
            return false;
        }
    }

    const char* m_pos;
    const char* m_end;
    RememberedNames& m_names;
    TextBuilder& m_out;
    int m_depth;
};

int MangledKind(const char* name, size_t length)
{
    size_t i = 0;
    int kind = 0;
    if (length >= 6 && Upper(name[0]) == '_' && name[1] == '_' && Upper(name[2]) == 'I' && Upper(name[3]) == 'M' &&
        Upper(name[4]) == 'P' && name[5] == '_') {
        i = 6;
        kind = 6;
    }
    if (length - i < 2 || name[i + 1] != '?')
        return 0;
    if (name[i] == 'W')
        return kind + 2;
    if (name[i] == 'T')
        return kind + 6;
    return 0;
}

} // namespace

int IsMangledName(const char* name) { return name ? MangledKind(name, strlen(name)) : 0; }

size_t DemangleName(const char* name, size_t length, char* buffer, size_t size)
{
    if (buffer && size == 0)
        return 0;
    size_t n = !name ? 0 : length ? strnlen(name, length) : strlen(name);
    if (!name || !MangledKind(name, n)) {
        if (!buffer)
            return n;
        size_t copy = n < size - 1 ? n : size - 1;
        if (copy)
            memcpy(buffer, name, copy);
        buffer[copy] = 0;
        return copy;
    }
    RememberedNames names;
    TextBuilder out(buffer, size);
    Parser parser(name, name + n, names, out, 0);
    parser.Top();
    return out.Finish();
}
