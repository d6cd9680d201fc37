// Sort orders, the German Replace key form, the wildcard comparison, db_strcompare and
// db_strreduce (the engine's objects are linked into this program).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "Area.h"
#include "Collation.h"
#include "Job.h"
#include "vlDB07.h"

namespace {

const int OEM = 0;
const int ANSI = DB_CHARSET_ANSI;

struct NamedCollation {
    const char* name;
    s_Collation collation;
};

const NamedCollation kCollations[] = {
    {"ASCII", {DB_SORT_ASCII, OEM}},
    {"German Replace OEM", {DB_SORT_GERMAN_REPLACE, OEM}},
    {"German Replace ANSI", {DB_SORT_GERMAN_REPLACE, ANSI}},
    {"German Table OEM", {DB_SORT_GERMAN_TABLE, OEM}},
    {"German Alternate Table OEM", {DB_SORT_GERMAN_ALTERNATE, OEM}},
    {"German Table ANSI", {DB_SORT_GERMAN_TABLE, ANSI}},
    {"German Alternate Table ANSI", {DB_SORT_GERMAN_ALTERNATE, ANSI}},
};

int Sign(int v) { return (v > 0) - (v < 0); }

// Every text of the chain sorts before every later one, both ways round.
void ExpectAscending(const s_Collation& c, const std::vector<std::string>& chain, const char* name)
{
    for (size_t i = 0; i < chain.size(); ++i)
        for (size_t j = i + 1; j < chain.size(); ++j) {
            EXPECT_EQ(-1, Sign(_str_compare(c, chain[i].c_str(), chain[j].c_str())))
                << name << ": '" << chain[i] << "' before '" << chain[j] << "'";
            EXPECT_EQ(1, Sign(_str_compare(c, chain[j].c_str(), chain[i].c_str())))
                << name << ": '" << chain[j] << "' after '" << chain[i] << "'";
        }
}

// Sorts the texts with the comparison (insertion sort: safe with any comparison), then checks
// that they form a total preorder: every pair compares as its place in the sorted list says,
// both ways round. This fails for a comparison that is not antisymmetric or not transitive.
template <typename Compare>
void ExpectTotalPreorder(std::vector<std::string> texts, Compare compare, const char* name)
{
    for (size_t i = 1; i < texts.size(); ++i)
        for (size_t j = i; j > 0 && compare(texts[j - 1], texts[j]) > 0; --j)
            std::swap(texts[j - 1], texts[j]);
    std::vector<int> rank(texts.size(), 0);
    for (size_t i = 1; i < texts.size(); ++i)
        rank[i] = rank[i - 1] + (compare(texts[i - 1], texts[i]) < 0 ? 1 : 0);
    int failures = 0;
    for (size_t i = 0; i < texts.size() && failures < 10; ++i)
        for (size_t j = i + 1; j < texts.size() && failures < 10; ++j) {
            const int expected = rank[i] == rank[j] ? 0 : -1;
            const int forward = Sign(compare(texts[i], texts[j])), backward = Sign(compare(texts[j], texts[i]));
            if (forward != expected || backward != -expected) {
                ++failures;
                ADD_FAILURE() << name << ": '" << texts[i] << "' against '" << texts[j] << "': expected " << expected
                              << " both ways round, got " << forward << " and " << -backward;
            }
        }
}

std::vector<std::string> RandomTexts()
{
    // Letters and their spellings, umlauts of both character sets, bytes of equal weight.
    const std::string alphabet = "aeAEsSuUzZ0/\\\x9B\xFF\x84\x8E\x94\x99\x81\x9A\xE1\xE4\xC4\xF6\xD6\xFC\xDC\xDF\xC6";
    std::vector<std::string> texts = {"",   "a",    "ae",  "\x84", "\x84x", "\xE4x", "ss", "\xE1", "\xDF",
                                      "/",  "\\",   "\x9B", "\xFF", "AE",   "\x8E",  "Mueller", "M\x81ller",
                                      "M\xFCller", "Muellers", "M\x81llers"};
    std::mt19937 random(4242);
    std::uniform_int_distribution<size_t> length(0, 6), pick(0, alphabet.size() - 1);
    while (texts.size() < 700) {
        std::string s;
        for (size_t n = length(random); n > 0; --n)
            s += alphabet[pick(random)];
        texts.push_back(s);
    }
    return texts;
}

// A job whose current area 1 has the given sort order.
class StrCompare : public ::testing::Test {
protected:
    void SetUp() override
    {
        _db_process_attach(GetModuleHandleA(nullptr));
        ASSERT_EQ(0, db_job_open());
        g_Job->areas[0] = new s_Area;
        g_Job->areas[0]->job = g_Job;
        g_Job->currentArea = g_Job->areas[0];
        g_Job->currentIndex = 0;
    }
    void TearDown() override
    {
        while (g_Job)
            db_job_close();
    }
    void SortOrder(int order) { g_Job->currentArea->sortOrder = order; }
};

} // namespace

// ---- weight tables ------------------------------------------------------------------------------

TEST(SortWeights, SharedAndSpecialWeights)
{
    const s_Collation table{DB_SORT_GERMAN_TABLE, OEM}, alternate{DB_SORT_GERMAN_ALTERNATE, OEM},
        ansi{DB_SORT_GERMAN_TABLE, ANSI};
    EXPECT_EQ(116u, _sort_weight(table, 0x2F));
    EXPECT_EQ(116u, _sort_weight(table, 0x5C));
    EXPECT_EQ(299u, _sort_weight(alternate, 0xC6));
    EXPECT_EQ(90u, _sort_weight(ansi, 0x9B));
    EXPECT_EQ(90u, _sort_weight(ansi, 0xFF));
    EXPECT_EQ(_sort_weight(ansi, 0xE4), _sort_weight(s_Collation{DB_SORT_GERMAN_ALTERNATE, ANSI}, 0xE4))
        << "one ANSI table for both orders";

    // The weights each table uses, byte by byte.
    const struct {
        const char* name;
        s_Collation collation;
        unsigned highest;
        std::vector<unsigned> missing;   // weights below the highest that no byte has
    } tables[] = {
        {"German Table OEM", table, 255, {117}},
        {"German Alternate Table OEM", alternate, 299, {}},
        {"German Table ANSI", ansi, 254, {}},
    };
    for (const auto& t : tables) {
        std::vector<int> count(300, 0);
        unsigned highest = 0;
        for (int b = 0; b < 256; ++b) {
            unsigned w = _sort_weight(t.collation, (unsigned char)b);
            ASSERT_LT(w, 300u) << t.name;
            ++count[w];
            highest = std::max(highest, w);
        }
        EXPECT_EQ(t.highest, highest) << t.name;
        std::vector<unsigned> missing;
        for (unsigned w = 0; w < highest; ++w)
            if (!count[w] && !(t.highest == 299 && w >= 255))
                missing.push_back(w);
        EXPECT_EQ(t.missing, missing) << t.name;
    }
}

// ---- orders -------------------------------------------------------------------------------------

TEST(SortOrders, GermanTableOem)
{
    // Digits, capitals with their accented forms, small letters each followed by its accented
    // forms, punctuation, control characters and the rest.
    ExpectAscending({DB_SORT_GERMAN_TABLE, OEM},
                    {"0", "9", "A", "\x8E", "\x8F", "B", "C", "\x80", "D", "E", "\x90", "N", "\xA5", "O", "\x99", "U",
                     "\x9A", "Z", "a", "\x84", "\xA0", "b", "e", "\x82", "s", "\xE1", "t", "u", "\x81", "z", "(", "?",
                     "!", "/", "\\", "|", "_", "\x01", "\x1F", "\x7F", "\xA9", "\xE0", "\xE2", "\xFF"},
                    "German Table OEM");
    ExpectAscending({DB_SORT_GERMAN_TABLE, OEM}, {"Apfel", "\x8Epfel", "Birne", "Zebra", "apfel", "\x84pfel", "birne"},
                    "German Table OEM words");
}

TEST(SortOrders, GermanAlternateTableOem)
{
    // Code order, with the umlauts and the sharp s directly behind their base letters.
    ExpectAscending({DB_SORT_GERMAN_ALTERNATE, OEM},
                    {"\x01", " ", "0", "A", "\x8E", "B", "O", "\x99", "P", "U", "\x9A", "V", "Z", "[", "a", "\x84", "b",
                     "o", "\x94", "p", "s", "\xE1", "t", "u", "\x81", "v", "\x7F", "\x80", "\x82", "\x83", "\x85",
                     "\x8F", "\x95", "\x9B", "\xC5", "\xC7", "\xE0", "\xE2", "\xFF", "\xC6"},
                    "German Alternate Table OEM");
    // Nothing sorts between a and ä.
    for (int b = 1; b < 256; ++b) {
        std::string s(1, (char)b);
        if (b == 'a' || b == 0x84)
            continue;
        const bool between = _str_compare({DB_SORT_GERMAN_ALTERNATE, OEM}, "a", s.c_str()) < 0 &&
                             _str_compare({DB_SORT_GERMAN_ALTERNATE, OEM}, s.c_str(), "\x84") < 0;
        EXPECT_FALSE(between) << "byte " << b << " between a and \x84";
    }
}

TEST(SortOrders, GermanTablesAnsi)
{
    const std::vector<std::string> chain = {
        "\x01", "\x7F", "'",  "-",   " ",    "\t",   "!",    "@",    "_",    "\xBF", "\x84", "\x9B", "+",    "<",
        "\xF7", "\xA2", "\xB0", "\x85", "0",  "\xBC", "1",    "\xB9", "2",    "\xB2", "9",    "a",    "A",    "\xAA",
        "\xE1", "\xC1", "\xE4", "\xC4", "b",  "B",    "c",    "C",    "\xE7", "\xC7", "o",    "O",    "\xBA", "\xF6",
        "\xD6", "\x9C", "\x8C", "s",    "S",  "\x9A", "\x8A", "\xDF", "t",    "T",    "\xFE", "\xDE", "\x99", "u",
        "U",    "\xFC", "\xDC", "y",    "Y",  "\xFD", "\xDD", "\x9F", "z",    "Z"};
    ExpectAscending({DB_SORT_GERMAN_TABLE, ANSI}, chain, "German Table ANSI");
    ExpectAscending({DB_SORT_GERMAN_ALTERNATE, ANSI}, chain, "German Alternate Table ANSI");
}

TEST(SortOrders, GermanReplace)
{
    // Shorter texts first; texts of one length by their umlauts spelled out.
    ExpectAscending({DB_SORT_GERMAN_REPLACE, OEM},
                    {"A", "\x8E", "B", "Z", "a", "\x84", "b", "\xE1", "Mu", "\x84x", "st", "M\x81ller", "Mueller",
                     "M\x81llers", "Muellers"},
                    "German Replace OEM");
    ExpectAscending({DB_SORT_GERMAN_REPLACE, ANSI}, {"A", "\xC4", "B", "a", "\xE4", "\xDF", "st", "M\xFCller", "Mueller"},
                    "German Replace ANSI");
    // A text equals its spelled-out form of the same length only.
    EXPECT_EQ(0, _str_compare({DB_SORT_GERMAN_REPLACE, OEM}, "\x84ss", "ae\xE1"));
    EXPECT_EQ(0, _str_compare({DB_SORT_GERMAN_REPLACE, ANSI}, "\xE4ss", "ae\xDF"));
    EXPECT_EQ(-1, Sign(_str_compare({DB_SORT_GERMAN_REPLACE, OEM}, "M\x81ller", "Mueller"))) << "6 before 7 characters";
    // OEM codes are no umlauts in ANSI text and the other way round.
    EXPECT_EQ(1, Sign(_str_compare({DB_SORT_GERMAN_REPLACE, ANSI}, "\x84", "\xE4")));
    EXPECT_EQ(1, Sign(_str_compare({DB_SORT_GERMAN_REPLACE, OEM}, "\xE4", "\x84")));
}

TEST(SortOrders, GermanReplaceOverNCharacters)
{
    const s_Collation c{DB_SORT_GERMAN_REPLACE, OEM};
    const struct {
        const char *a, *b;
        size_t n;
        int sign;
    } cases[] = {
        {"M\x81ller", "Mueller", 6, 0},   // the umlaut takes one more step
        {"M\x81ller", "MUELLER", 6, 1},   // case matters
        {"M\x81ller", "Mu", 2, 1},        // the step for the e meets the end of Mu
        {"Mueller", "Mu", 2, 0},
        {"Mueller", "M\x81ller", 7, 0},   // the second text's umlaut expands without a step
        {"Mu", "M\x81ller", 2, 0},
        {"Mueller", "M\x81llex", 7, -1},
        {"ab", "ab", 5, 0},               // both ended
        {"a", "ab", 5, -1},
        {"\xE1", "ss", 1, 0},
    };
    for (const auto& t : cases)
        EXPECT_EQ(t.sign, Sign(_str_compare_n(c, t.a, t.b, t.n))) << "'" << t.a << "' against '" << t.b << "' over " << t.n;
    EXPECT_EQ(0, _str_compare_n(c, "M\x81ller", "MUELLER", 1));
}

TEST(SortOrders, WeightOrdersOverNCharacters)
{
    for (const s_Collation c : {s_Collation{DB_SORT_GERMAN_TABLE, OEM}, s_Collation{DB_SORT_GERMAN_ALTERNATE, OEM},
                                s_Collation{DB_SORT_GERMAN_TABLE, ANSI}, s_Collation{DB_SORT_ASCII, OEM}}) {
        EXPECT_EQ(0, _str_compare_n(c, "abcX", "abcY", 3));
        EXPECT_EQ(-1, Sign(_str_compare_n(c, "abcX", "abcY", 4)));
        EXPECT_EQ(-1, Sign(_str_compare_n(c, "ab", "abc", 3))) << "a text that ends sorts first";
        EXPECT_EQ(0, _str_compare_n(c, "ab", "ab", 9));
        EXPECT_EQ(0, _str_compare_n(c, "x", "y", 0));
    }
    EXPECT_EQ(1, Sign(_str_compare_n({DB_SORT_GERMAN_TABLE, OEM}, "a", "Z", 1)));
    EXPECT_EQ(-1, Sign(_str_compare_n({DB_SORT_ASCII, OEM}, "\x7F", "\x80", 1))) << "bytes compare unsigned";
}

// Every order is antisymmetric and transitive: over all byte pairs (and the order of all bytes)
// and over random texts of letters, umlauts, spellings and bytes of equal weight.
TEST(SortOrders, EveryOrderIsATotalOrderOfBytesAndTexts)
{
    for (const auto& nc : kCollations) {
        const s_Collation c = nc.collation;
        std::vector<std::string> bytes;
        for (int b = 1; b < 256; ++b)
            bytes.emplace_back(1, (char)b);
        for (const auto& x : bytes)
            for (const auto& y : bytes) {
                const int forward = Sign(_str_compare(c, x.c_str(), y.c_str()));
                ASSERT_EQ(forward, -Sign(_str_compare(c, y.c_str(), x.c_str())))
                    << nc.name << ": bytes " << (int)(unsigned char)x[0] << " and " << (int)(unsigned char)y[0];
                ASSERT_EQ(x == y, forward == 0) << nc.name << ": only equal bytes are equal";
            }
        auto full = [&](const std::string& a, const std::string& b) { return _str_compare(c, a.c_str(), b.c_str()); };
        ExpectTotalPreorder(bytes, full, nc.name);
        ExpectTotalPreorder(RandomTexts(), full, nc.name);
        if (c.sortOrder != DB_SORT_GERMAN_REPLACE) {
            // German Replace over n characters counts the first text only: a search, not an order.
            auto prefix = [&](const std::string& a, const std::string& b) { return _str_compare_n(c, a.c_str(), b.c_str(), 3); };
            ExpectTotalPreorder(RandomTexts(), prefix, nc.name);
        }
    }
}

// ---- key form -----------------------------------------------------------------------------------

TEST(SortKey, GermanReplaceSpellsUmlautsOut)
{
    const struct {
        s_Collation c;
        const char* text;
        size_t size;
        const char* key;
    } cases[] = {
        {{DB_SORT_GERMAN_REPLACE, OEM}, "M\x81ller", 32, "Mueller"},
        {{DB_SORT_GERMAN_REPLACE, OEM}, "\x8E\x99\x9A\x84\x94\x81\xE1", 32, "AEOEUEaeoeuess"},
        {{DB_SORT_GERMAN_REPLACE, ANSI}, "\xC4\xD6\xDC\xE4\xF6\xFC\xDF", 32, "AEOEUEaeoeuess"},
        {{DB_SORT_GERMAN_REPLACE, ANSI}, "M\x81ller", 32, "M\x81ller"},
        {{DB_SORT_GERMAN_REPLACE, OEM}, "\x84" "b", 3, "ae"},
        {{DB_SORT_GERMAN_REPLACE, OEM}, "b\x84", 3, "ba"},   // the e does not fit: cut after the a
        {{DB_SORT_GERMAN_REPLACE, OEM}, "abc", 1, ""},
        {{DB_SORT_GERMAN_TABLE, OEM}, "M\x81ller", 32, "M\x81ller"},
        {{DB_SORT_GERMAN_ALTERNATE, OEM}, "M\x81ller", 4, "M\x81l"},
        {{DB_SORT_ASCII, OEM}, "M\x81ller", 32, "M\x81ller"},
    };
    for (const auto& t : cases) {
        char out[32];
        _sort_key(t.c, t.size, t.text, out);
        EXPECT_STREQ(t.key, out) << "'" << t.text << "' order " << t.c.sortOrder << " size " << t.size;
    }
    char inPlace[32] = "M\x81ller";
    _sort_key({DB_SORT_GERMAN_REPLACE, OEM}, sizeof inPlace, inPlace, inPlace);
    EXPECT_STREQ("Mueller", inPlace);
    // A stored key compares equal to the text written with umlauts.
    char key[32];
    _sort_key({DB_SORT_GERMAN_REPLACE, OEM}, sizeof key, "Gr\x94\xE1" "e", key);
    EXPECT_EQ(0, _str_compare_n({DB_SORT_GERMAN_REPLACE, OEM}, "Gr\x94\xE1" "e", key, 5));
}

// ---- wildcard comparison ------------------------------------------------------------------------

TEST(Wildcard, Patterns)
{
    const struct {
        const char *pattern, *text;
        BOOL match;
    } cases[] = {
        {"*A?C*", "xxAbCyy", TRUE}, {"ABC", "ABCD", TRUE},  {"ABC", "xABC", FALSE}, {"A*D", "ABCD", TRUE},
        {"A*D", "ABCDE", TRUE},     {"A*D", "ABC", FALSE},  {"?*", "", FALSE},      {"?*", "x", TRUE},
        {"", "", TRUE},             {"", "abc", TRUE},      {"*", "", TRUE},        {"***", "abc", TRUE},
        {"abc", "ABC", FALSE},      {"a?c", "ab", FALSE},   {"*b*b", "abab", TRUE}, {"*ab*ab", "aab", FALSE},
        {"a**c", "abc", TRUE},      {"?", "\x84", TRUE},    {"*xyz", "xyxyz", TRUE}, {"A?C", "A", FALSE},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.match, _wildcard_match(c.pattern, c.text)) << "'" << c.pattern << "' against '" << c.text << "'";
}

// ---- exports ------------------------------------------------------------------------------------

TEST_F(StrCompare, ExactComparesWholeTextsByTheAreasOrder)
{
    SortOrder(DB_SORT_GERMAN_TABLE);
    EXPECT_EQ(1, Sign(db_strcompare("a", "Z")));
    EXPECT_EQ(-1, Sign(db_strcompare("AB", "ABC")));
    SortOrder(DB_SORT_ASCII);
    EXPECT_EQ(-1, Sign(db_strcompare("Z", "a")));
    SortOrder(DB_SORT_GERMAN_REPLACE);
    EXPECT_EQ(-1, Sign(db_strcompare("M\x81ller", "Mueller")));
    EXPECT_EQ(0, db_strcompare("\x84ss", "ae\xE1"));
    EXPECT_EQ(0, db_strcompare(nullptr, ""));
}

TEST_F(StrCompare, InexactComparesTheShorterLength)
{
    g_Job->exact = 0;
    for (int order = 0; order < 4; ++order) {
        SortOrder(order);
        EXPECT_EQ(0, db_strcompare("AB", "ABC")) << "order " << order;
        EXPECT_EQ(0, db_strcompare("ABC", "AB")) << "order " << order;
        EXPECT_EQ(0, db_strcompare("", "xyz")) << "order " << order;
        EXPECT_NE(0, db_strcompare("AC", "ABC")) << "order " << order;
    }
    SortOrder(DB_SORT_GERMAN_REPLACE);
    EXPECT_EQ(0, db_strcompare("Mu", "M\x81ller"));
    EXPECT_NE(0, db_strcompare("M\x81ller", "Mu"));
}

TEST_F(StrCompare, LooksTheJobUp)
{
    unsigned variable = 35;
    db_set_errorvariable(&variable);
    g_Job->currentError = 35;
    db_strcompare("a", "b");
    EXPECT_EQ(0u, g_Job->currentError);
    EXPECT_EQ(0u, variable);
    db_set_errorvariable(nullptr);

    g_Job->currentArea = nullptr;   // no table in the current area: byte order
    EXPECT_EQ(-1, Sign(db_strcompare("Z", "a")));

    db_job_close();
    EXPECT_EQ(0, db_strcompare("a", "b")) << "without a job every text is equal";
}

TEST(StrReduce, KeepsTheCharactersOfTheSet)
{
    const struct {
        const char *text, *set, *result;
    } cases[] = {
        {"a1b2c3", "0123456789", "123"}, {"banana", "an", "anana"}, {"abc", "", ""},
        {"", "abc", ""},                 {"M\x81ller", "\x81l", "\x81ll"}, {"abc", "xyz", ""},
    };
    for (const auto& c : cases) {
        char s[32];
        std::strcpy(s, c.text);
        EXPECT_EQ(s, db_strreduce(s, c.set));
        EXPECT_STREQ(c.result, s) << "'" << c.text << "' by '" << c.set << "'";
    }
    char s[8] = "abc";
    EXPECT_STREQ("", db_strreduce(s, nullptr));
    EXPECT_EQ(nullptr, db_strreduce(nullptr, "a"));
}
