// The demangler: the renderings of the decoration scheme's examples, the length query, small
// buffers, undecorated names, properties over generated input (no write past the buffer, a small
// buffer gets a prefix of the whole rendering, a buffer one longer than the length query gets all
// of it, deep input ends cleanly), and a round trip through
// an encoder written from the grammar: random declarations are encoded, demangled and compared
// with the text built directly from the declaration.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "Demangler.h"

namespace {

std::string Render(const std::string& name, size_t size = 512)
{
    std::vector<char> buffer(size + 1, '#');
    size_t n = DemangleName(name.c_str(), 0, buffer.data(), size);
    EXPECT_EQ(std::strlen(buffer.data()), n) << name;
    return buffer.data();
}

size_t Query(const std::string& name) { return DemangleName(name.c_str(), 0, nullptr, 0); }

struct Rendering {
    const char* name;
    const char* text;
};

const Rendering kRenderings[] = {
    {"W?foo$n(i)v", "void near foo( int )"},
    {"W?foo$n()v", "void near foo()"},
    {"W?foo$n(ii)v", "void near foo( int, int )"},
    {"W?bar$:cls$n(pnaxa)i", "int near cls::bar( char near *, char const )"},
    {"W?$ct:cls$n()_", "near cls::cls()"},
    {"W?$dt:cls$n()_", "near cls::~cls()"},
    {"W?$oa:cls$n(i)i", "int near cls::operator >>( int )"},
    {"W?$op:cls$n(ii)i", "int near cls::operator ()( int, int )"},
    {"W?$ra:cls$n(rnx$cls$$)q", "bool near cls::operator ==( cls const near & )"},
    {"W?$aa:cls$n(rnx$cls$$)rn$cls$$", "cls near & near cls::operator =( cls const near & )"},
    {"W?$nwn(ui)pnv", "void near * near operator new( int unsigned )"},
    {"W?$naN(ui)pnv", "void near * near operator new []( int unsigned )"},
    {"W?$dln(pnv)v", "void near operator delete( void near * )"},
    {"W?$cv:cls$n()i", "near cls::operator int ()"},
    {"W?x$ni", "int near x"},
    {"W?arr$[10]i", "int arr[10]"},
    {"W?foo$n(pn[10]i)v", "void near foo( int (near *)[10])"},
    {"W?foo$n(pn(ii)v)v", "void near foo( void (near *)())"},
    {"W?foo$n(m$cls$$i)v", "void near foo( int cls::* )"},
    {"W?foo$n(A)v", "void near foo( char )"},
    {"W?foo$n(UA)v", "void near foo( char )"},
    {"W?foo$n(C)v", "void near foo( char signed )"},
    {"W?foo$n(UC)v", "void near foo( char unsigned )"},
    {"W?foo$n(pnxi)v", "void near foo( int const near * )"},
    {"W?foo$n(e)v", "void near foo( ... )"},
    {"W?foo$:bar$nx(i)v", "void const near bar::foo( int )"},
    {"W?foo$:bar$f.yx(i)v", "void far bar::foo( int ) volatile const"},
    {"W?foo$:bar$n(pn$1$rn$0$)v", "void near bar::foo( bar near *, foo near & )"},
    {"W?foo$n(jsni)v", "void near foo( int near __based(__self) )"},
    {"W?foo$n(jl02abni)v", "void near foo( int near __based(\"ab\") )"},
    {"W?foo$n(ja$seg$ni)v", "void near foo( int near __based(seg) )"},
    {"W?foo$:vec$::05Yn()v", "void near <-5>::vec::foo()"},
    {"W?foo$::1i1a:vec$n()v", "void near vec::<int,char >::foo()"},
    {"W?foo$:?bar$n()vn()v", "void near void near bar()::foo()"},
    {"W?$wvf00$:cls$", "cls::__vftbl"},
    {"W?$tEabc$:cls$ni", "int near cls::__anonymous_enum"},
    {"T?abcdfoo$ni", "int near foo"},
    {"__imp_W?foo$n(i)v", "void near foo( int )"},
    {"W?foo$", "foo"},
    {"W?foo", ""},
};

} // namespace

TEST(DemangleName, RenderingsOfTheDecorationScheme)
{
    for (const Rendering& r : kRenderings) {
        EXPECT_EQ(r.text, Render(r.name)) << r.name;
        EXPECT_GE(Query(r.name), std::strlen(r.text)) << "the length query never counts less: " << r.name;
    }
}

TEST(DemangleName, LengthQueryCountsTheSpacesThatTheRenderingRemoves)
{
    EXPECT_EQ(21u, Query("W?foo$n(i)v"));
    EXPECT_EQ(20u, Render("W?foo$n(i)v").size());
    // A name that ends before its type counts its identifier's space.
    EXPECT_EQ(4u, Query("W?foo$"));
    EXPECT_EQ(0u, Query("W?foo"));
}

TEST(DemangleName, SmallBuffersGetTheStartOfTheRendering)
{
    struct Case {
        const char* name;
        size_t size;
        const char* text;
    };
    const Case cases[] = {
        {"W?foo$n(i)v", 10, "void near"},       // 9 characters, no trailing space left
        {"W?foo$n(i)v", 11, "void near"},       // "void near " loses its trailing space
        {"W?foo$n(i)v", 21, "void near foo( int )"},
        {"W?foo$n(i)v", 20, "void near foo( int"}, // the trailing space of 19 removed
        {"W?foo$n(i)v", 1, ""},
        {"W?$nwn(ui)pnv", 45, "void near * near operator new( int unsigned"},
        {"_Z3foov", 4, "_Z3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " in " + std::to_string(c.size));
        std::vector<char> buffer(c.size + 8, '#');
        size_t n = DemangleName(c.name, 0, buffer.data(), c.size);
        EXPECT_EQ(c.text, std::string(buffer.data()));
        EXPECT_EQ(std::strlen(c.text), n);
        EXPECT_EQ(std::string(8, '#'), std::string(buffer.data() + c.size, 8)) << "nothing written past the buffer";
    }
    char untouched = '#';
    EXPECT_EQ(0u, DemangleName("W?foo$n(i)v", 0, &untouched, 0));
    EXPECT_EQ('#', untouched) << "size 0 writes nothing";
}

TEST(DemangleName, RememberedIdentifiersAndTheirNumbers)
{
    const Rendering cases[] = {
        {"W?5$", "@"},                                      // never remembered
        {"W?foo$:bar$n($1$)v", "void near bar::foo( bar )"}, // a repeat as a class name
        // The eleventh identifier is not remembered: number 9 is the tenth.
        {"W?a$:b$:c$:d$:e$:f$:g$:h$:i$:j$:k$n($9$)v", "void near k::j::i::h::g::f::e::d::c::b::a( j )"},
        {"W?a$:b$:c$:d$:e$:f$:g$:h$:i$:j$:k$n($9$$0$)v", "void near k::j::i::h::g::f::e::d::c::b::a( j, a )"},
        // Every rendering starts with an empty table.
        {"W?x$n($0$)v", "void near x( x )"},
        {"W?y$n($1$)v", "void near y( @ )"},
    };
    for (const Rendering& r : cases)
        EXPECT_EQ(r.text, Render(r.name)) << r.name;
}

TEST(DemangleName, NamesOutsideTheSchemeAreCopiedUnchanged)
{
    const char* names[] = {"_ZN3vlr6Engine4OpenEv", "w?foo$n(i)v", "W!foo", "?foo@@YAXXZ", "__imp_foo", ""};
    for (const char* name : names) {
        EXPECT_EQ(name, Render(name)) << name;
        EXPECT_EQ(std::strlen(name), Query(name)) << name;
    }
    char buffer[8] = "#######";
    EXPECT_EQ(0u, DemangleName(nullptr, 0, buffer, sizeof buffer));
    EXPECT_STREQ("", buffer);
}

TEST(DemangleName, TheLengthArgumentEndsTheName)
{
    const std::string name = "W?foo$n(i)vTRAILING";
    char buffer[64];
    EXPECT_EQ(20u, DemangleName(name.c_str(), 11, buffer, sizeof buffer));
    EXPECT_STREQ("void near foo( int )", buffer);
    DemangleName(name.c_str(), 6, buffer, sizeof buffer);
    EXPECT_STREQ("foo", buffer) << "the type lies beyond the given length";
    // A terminator before the given length ends the name there.
    DemangleName("W?x$ni\0p", 8, buffer, sizeof buffer);
    EXPECT_STREQ("int near x", buffer);
}

TEST(IsMangledName, KindsOfPrefix)
{
    struct Case {
        const char* name;
        int kind;
    };
    const Case cases[] = {
        {"W?foo$n(i)v", 2}, {"T?abcdfoo$ni", 6}, {"__imp_W?foo$", 8}, {"__IMP_T?abcd", 12}, {"__Imp_W?", 8},
        {"w?foo", 0},       {"t?foo", 0},        {"W!foo", 0},        {"W", 0},            {"__imp_", 0},
        {"__imp_w?x", 0},   {"_Z3foov", 0},      {"", 0},             {nullptr, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.kind, IsMangledName(c.name)) << (c.name ? c.name : "(null)");
}

// ---- properties over generated input ---------------------------------------------------------------

namespace {

// Names built from the scheme's characters, so that most of them get some way into the grammar.
std::string RandomName(std::mt19937& random)
{
    static const char kAlphabet[] = "W?$:()[]01?.pPrRmMnNxXyYuUaAcCiIvVjJsSlLfF_eEqQzZ09abcdgtTwWoO";
    std::string name = random() % 8 ? "W?" : "T?abcd";
    if (random() % 2)
        name += "foo$";
    int length = (int)(random() % 40);
    for (int i = 0; i < length; i++)
        name += kAlphabet[random() % (sizeof kAlphabet - 1)];
    return name;
}

} // namespace

TEST(DemangleName, PropertiesOverGeneratedNames)
{
    std::mt19937 random(20240531);
    for (int round = 0; round < 3000; round++) {
        const std::string name = RandomName(random);
        SCOPED_TRACE(name);
        const std::string whole = Render(name, 4096);
        const size_t query = Query(name);
        ASSERT_GE(query, whole.size());
        // One more than the length query always holds the whole rendering (the text may grow
        // beyond its final length before spaces are removed).
        ASSERT_EQ(whole, Render(name, query + 1));
        for (size_t size = 1; size <= whole.size() + 1; size++) {
            std::vector<char> buffer(size + 4, '#');
            size_t n = DemangleName(name.c_str(), 0, buffer.data(), size);
            ASSERT_EQ(std::string(4, '#'), std::string(buffer.data() + size, 4)) << "size " << size;
            const std::string text = buffer.data();
            ASSERT_EQ(text.size(), n);
            ASSERT_LE(n, size - 1);
            ASSERT_EQ(0u, whole.compare(0, text.size(), text)) << "size " << size << ": '" << text << "'";
        }
    }
}

TEST(DemangleName, DeepInputEndsWithoutExhaustingTheStack)
{
    auto repeat = [](const char* piece, int times) {
        std::string s;
        for (int i = 0; i < times; i++)
            s += piece;
        return s;
    };
    struct Case {
        std::string name;
        const char* start; // of what was rendered before the input became too deep
    };
    const Case cases[] = {
        {"W?x$" + std::string(200000, 'p') + "i", "* * * "},
        {"W?x$" + std::string(100000, '('), "x(("},
        {"W?x$" + repeat("::1$y$", 30000), "<<<"},
        {"W?" + repeat("x$:?", 20000), ""},
        {"W?x$" + std::string(50000, '$'), "x"},
        {"W?x$n(" + std::string(100000, 'i') + ")v", "void near x( int, int, "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name.substr(0, 12));
        char buffer[256];
        size_t n = DemangleName(c.name.c_str(), 0, buffer, sizeof buffer);
        EXPECT_EQ(std::strlen(buffer), n);
        EXPECT_EQ(0u, std::string(buffer).find(c.start)) << buffer;
    }
}

// ---- round trip through an encoder -------------------------------------------------------------

namespace {

// A declaration of the scheme: a qualified name (innermost component first) and a type.
struct Type;
using TypePtr = std::shared_ptr<Type>;

struct Argument {
    bool isType = false;
    long long number = 0;
    TypePtr type;
};

struct Component {
    bool isTemplate = false;
    std::string identifier;
    std::vector<Argument> arguments;
};

struct QualifiedName {
    std::vector<Component> components; // [0] the name itself (an identifier), then its scopes
};

struct Type {
    enum Kind { Letter, Class, Pointer, Reference, MemberPointer, Function, Array } kind = Letter;
    std::vector<char> modifiers; // F, G, H, N, X, Y in encoded order
    char letter = 'i';
    bool isUnsigned = false;
    QualifiedName name;          // Class, MemberPointer (when hasName)
    bool hasName = false;
    TypePtr inner;               // pointed-to, element or return type
    std::vector<TypePtr> parameters;
    std::vector<unsigned> dimensions;
    std::vector<char> objectModifiers; // a member function's
    bool member = false;
};

const char* ModifierWord(char m)
{
    switch (m) {
    case 'f': return "far ";
    case 'g': return "far16 ";
    case 'h': return "huge ";
    case 'n': return "near ";
    case 'x': return "const ";
    default: return "volatile ";
    }
}

const char* LetterWord(char c)
{
    switch (c) {
    case 'a': return "char ";
    case 'b': return "float ";
    case 'd': return "double ";
    case 'e': return "... ";
    case 'i': return "int ";
    case 'l': return "long ";
    case 'q': return "bool ";
    case 's': return "short ";
    case 't': return "long double ";
    case 'v': return "void ";
    case 'w': return "wchar_t ";
    default: return "__int64 ";
    }
}

std::string WithoutTrailingSpace(std::string s)
{
    if (!s.empty() && s.back() == ' ')
        s.pop_back();
    return s;
}

std::string Base32(unsigned long long v)
{
    std::string digits;
    do {
        digits.insert(digits.begin(), "0123456789ABCDEFGHIJKLMNOPQRSTUV"[v % 32]);
        v /= 32;
    } while (v);
    return digits;
}

// The encoder and the expected text, both built from the grammar's description.
class Scheme {
public:
    std::string Encode(const QualifiedName& name, const Type& type)
    {
        m_remembered.clear();
        // Identifiers are remembered in the order of the text: the name before the type.
        std::string text = "W?" + EncodeName(name);
        return text + EncodeType(type);
    }

    std::string Text(const QualifiedName& name, const Type& type) const
    {
        return WithoutTrailingSpace(TypeText(type, NameText(name), false, 1));
    }

    // How repeats are chosen: a remembered identifier may be written as its number.
    std::function<bool()> useRepeat;

private:
    std::string EncodeIdentifier(const std::string& identifier)
    {
        for (size_t i = 0; i < m_remembered.size(); i++)
            if (m_remembered[i] == identifier && useRepeat())
                return std::string(1, (char)('0' + i));
        if (m_remembered.size() < 10)
            m_remembered.push_back(identifier);
        return identifier + "$";
    }

    std::string EncodeName(const QualifiedName& name)
    {
        std::string out = EncodeIdentifier(name.components[0].identifier);
        for (size_t i = 1; i < name.components.size(); i++) {
            const Component& c = name.components[i];
            out += ":";
            if (!c.isTemplate) {
                out += EncodeIdentifier(c.identifier);
                continue;
            }
            out += ":";
            for (const Argument& a : c.arguments) {
                if (a.isType)
                    out += "1" + EncodeType(*a.type);
                else
                    out += "0" + Base32((unsigned long long)(a.number < 0 ? -a.number : a.number)) + (a.number < 0 ? "Y" : "Z");
            }
        }
        return out;
    }

    std::string EncodeType(const Type& t)
    {
        std::string out(t.modifiers.begin(), t.modifiers.end());
        switch (t.kind) {
        case Type::Letter:
            return out + (t.isUnsigned ? "u" : "") + std::string(1, t.letter);
        case Type::Class:
            return out + "$" + EncodeName(t.name) + "$";
        case Type::Pointer:
            return out + "p" + EncodeType(*t.inner);
        case Type::Reference:
            return out + "r" + EncodeType(*t.inner);
        case Type::MemberPointer:
            out += "m";
            if (t.hasName)
                out += "$" + EncodeName(t.name) + "$";
            return out + EncodeType(*t.inner);
        case Type::Function:
            if (t.member)
                out += "." + std::string(t.objectModifiers.begin(), t.objectModifiers.end());
            out += "(";
            for (const TypePtr& p : t.parameters)
                out += EncodeType(*p);
            return out + ")" + EncodeType(*t.inner);
        case Type::Array:
            for (unsigned d : t.dimensions)
                out += "[" + std::to_string(d) + "]";
            return out + EncodeType(*t.inner);
        }
        return out;
    }

    std::string NameText(const QualifiedName& name) const
    {
        std::string out;
        for (size_t i = name.components.size(); i-- > 0;) {
            const Component& c = name.components[i];
            if (!out.empty())
                out += "::";
            if (!c.isTemplate) {
                out += c.identifier;
                continue;
            }
            std::string arguments;
            for (size_t j = 0; j < c.arguments.size(); j++) {
                const Argument& a = c.arguments[j];
                std::string text = a.isType ? TypeText(*a.type, "", false, 1) : std::to_string(a.number);
                arguments = j ? WithoutTrailingSpace(arguments) + "," + text : text;
            }
            out += "<" + arguments + ">";
        }
        return out;
    }

    // The type's words in front of the declarator text d, its suffixes behind it. Below a pointer
    // a function or array puts d in parentheses. Parameter lists at level 3 stay empty.
    std::string TypeText(const Type& t, std::string d, bool parenthesise, int level) const
    {
        for (char m : t.modifiers)
            d = ModifierWord(m) + d;
        switch (t.kind) {
        case Type::Letter:
            if (t.isUnsigned && t.letter != 'a')
                d = "unsigned " + d;
            if (t.letter == 'c')
                return std::string(t.isUnsigned ? "char " : "char signed ") + d;
            return LetterWord(t.letter) + d;
        case Type::Class:
            return NameText(t.name) + " " + d;
        case Type::Pointer:
            return TypeText(*t.inner, "* " + d, true, level);
        case Type::Reference:
            return TypeText(*t.inner, "& " + d, true, level);
        case Type::MemberPointer:
            return TypeText(*t.inner, (t.hasName ? NameText(t.name) : "") + "::* " + d, true, level);
        case Type::Function: {
            std::string s = WithoutTrailingSpace(d);
            if (parenthesise)
                s = "(" + s + ")";
            if (level + 1 > 2 || t.parameters.empty()) {
                s += "()";
            } else {
                std::string list = "( ";
                for (size_t i = 0; i < t.parameters.size(); i++) {
                    if (i)
                        list = WithoutTrailingSpace(list) + ", ";
                    list += TypeText(*t.parameters[i], "", false, level + 1);
                }
                s += list + ")";
            }
            s = TypeText(*t.inner, s, false, level);
            if (t.member) {
                s += " ";
                for (char m : t.objectModifiers)
                    s += ModifierWord(m);
                s = WithoutTrailingSpace(s);
            }
            return s;
        }
        case Type::Array: {
            std::string s = WithoutTrailingSpace(d);
            if (parenthesise)
                s = "(" + s + ")";
            for (unsigned dimension : t.dimensions)
                s += "[" + (dimension ? std::to_string(dimension) : std::string()) + "]";
            return TypeText(*t.inner, s, false, level);
        }
        }
        return d;
    }

    std::vector<std::string> m_remembered;
};

// Random declarations of limited depth.
class Generator {
public:
    explicit Generator(unsigned seed) : m_random(seed) {}

    bool Chance(int percent) { return (int)(m_random() % 100) < percent; }
    int Below(int n) { return (int)(m_random() % (unsigned)n); }

    std::string Identifier()
    {
        static const char* const names[] = {"foo", "bar", "cls", "vec", "Run", "x", "_t", "a.b", "Outer", "n2"};
        return names[Below(10)];
    }

    QualifiedName Name(int depth)
    {
        QualifiedName name;
        Component first;
        first.identifier = Identifier();
        name.components.push_back(first);
        int scopes = Below(3);
        for (int i = 0; i < scopes; i++) {
            Component c;
            if (depth < 2 && Chance(30)) {
                c.isTemplate = true;
                int count = Below(3);
                for (int j = 0; j < count; j++) {
                    Argument a;
                    if (Chance(50)) {
                        a.isType = true;
                        a.type = Simple(depth + 1);
                    } else {
                        a.number = Below(2000) - 1000;
                    }
                    c.arguments.push_back(a);
                }
            } else {
                c.identifier = Identifier();
            }
            name.components.push_back(c);
        }
        return name;
    }

    void Modifiers(std::vector<char>& out)
    {
        static const char kModifiers[] = "fghnxy";
        int count = Chance(50) ? 0 : Below(3) + 1;
        for (int i = 0; i < count; i++)
            out.push_back(kModifiers[Below(6)]);
    }

    // A type without functions (template arguments, array elements).
    TypePtr Simple(int depth)
    {
        auto t = std::make_shared<Type>();
        Modifiers(t->modifiers);
        int pick = depth > 3 ? Below(2) : Below(5);
        if (pick == 0) {
            static const char kLetters[] = "abcdeilqstvwz";
            t->letter = kLetters[Below(13)];
            t->isUnsigned = strchr("acils", t->letter) && Chance(40);
        } else if (pick == 1) {
            t->kind = Type::Class;
            t->name = Name(depth + 1);
        } else if (pick == 2 || pick == 3) {
            t->kind = pick == 2 ? Type::Pointer : Type::Reference;
            t->inner = Simple(depth + 1);
        } else {
            t->kind = Type::MemberPointer;
            t->inner = Simple(depth + 1);
            // Without a class, a pointed-to class type would read as the member pointer's class.
            t->hasName = Chance(70) || (t->inner->kind == Type::Class && t->inner->modifiers.empty());
            if (t->hasName)
                t->name = Name(depth + 1);
        }
        return t;
    }

    // Any type: also functions, pointers to functions and arrays. A function or array needs a
    // declarator in front of its suffixes: where there is none (a parameter), it sits below a
    // pointer.
    TypePtr Any(int depth, bool hasDeclarator)
    {
        TypePtr t = AnyType(depth);
        if (hasDeclarator || (t->kind != Type::Function && t->kind != Type::Array))
            return t;
        auto pointer = std::make_shared<Type>();
        pointer->kind = Type::Pointer;
        pointer->inner = t;
        return pointer;
    }

private:
    TypePtr AnyType(int depth)
    {
        if (depth > 3 || Chance(40))
            return Simple(depth);
        auto t = std::make_shared<Type>();
        Modifiers(t->modifiers);
        int pick = Below(4);
        if (pick == 0 || pick == 1) {
            t->kind = Type::Function;
            int count = Below(4);
            for (int i = 0; i < count; i++)
                t->parameters.push_back(Any(depth + 1, false));
            t->inner = Chance(50) ? Simple(depth + 1) : Any(depth + 1, true);
            t->member = pick == 1 && Chance(50);
            if (t->member)
                Modifiers(t->objectModifiers);
        } else if (pick == 2) {
            t->kind = Type::Array;
            int count = Below(2) + 1;
            for (int i = 0; i < count; i++)
                t->dimensions.push_back(Chance(20) ? 0 : (unsigned)Below(100));
            t->inner = Simple(depth + 1);
        } else {
            t->kind = Chance(70) ? Type::Pointer : Type::Reference;
            t->inner = Any(depth + 1, true);
        }
        return t;
    }

    std::mt19937 m_random;
};

} // namespace

TEST(DemangleName, RoundTripThroughTheEncoder)
{
    Generator generate(7);
    Scheme scheme;
    scheme.useRepeat = [&] { return generate.Chance(50); };
    for (int round = 0; round < 4000; round++) {
        QualifiedName name = generate.Name(0);
        TypePtr type = generate.Any(0, true);
        const std::string encoded = scheme.Encode(name, *type);
        const std::string expected = scheme.Text(name, *type);
        ASSERT_EQ(expected, Render(encoded, 8192)) << encoded;
        ASSERT_GE(Query(encoded), expected.size()) << encoded;
    }
}
