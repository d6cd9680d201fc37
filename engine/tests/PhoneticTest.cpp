// Phonetic codes in both modes and for both character sets.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

#include "Area.h"
#include "Job.h"
#include "Phonetic.h"
#include "vlDB07.h"

namespace {

const int OEM = 0;
const int ANSI = 0x20;

std::string Code(const char* text, int charset, int mode)
{
    char buffer[64];
    std::strcpy(buffer, text);
    _phonetic_code(buffer, charset, mode);
    return buffer;
}

struct Golden {
    const char* text;
    int charset;
    const char* code;
};

} // namespace

TEST(Phonetic, SoundCode)
{
    const Golden cases[] = {
        {"MEIER", OEM, "MAYR"},     {"MAYER", OEM, "MAYR"},        {"MEYER", OEM, "MAYR"},     {"MAIER", OEM, "MAYR"},
        {"Meier", OEM, "MAYR"},     {"SCHMIDT", OEM, "CMYD"},      {"SCHMITT", OEM, "CMYD"},   {"Mueller", OEM, "MYLR"},
        {"M\x81ller", OEM, "MYLR"}, {"M\x9Aller", OEM, "MULR"},    {"M\xFCller", ANSI, "MYLR"}, {"M\xDCller", ANSI, "MYLR"},
        {"MAKSIM", OEM, "MAXYM"},   {"PHILIPP", OEM, "VYLYB"},     {"BAUER", OEM, "BAUR"},     {"QUELLE", OEM, "CVL"},
        {"Stra\xE1" "e", OEM, "SDRAS"}, {"Stra\xDF" "e", ANSI, "SDRAS"}, {"Goethe", OEM, "C\x99" "D"}, {"Goethe", ANSI, "CD"},
        {"\x94l", OEM, "\x99L"},    {"\xF6l", ANSI, "\xD6L"},      {"M*R?", OEM, "M*R?"},      {"", OEM, ""},
        {"J\xE4ger", ANSI, "YCR"},  {"J\x84ger", OEM, "YCR"},     {"Fran\x87ois", OEM, "VRANOYS"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.code, Code(c.text, c.charset, 0)) << "'" << c.text << "' charset " << c.charset;
}

TEST(Phonetic, Metaphone)
{
    const Golden cases[] = {
        {"THOMAS", OEM, "OMS"},    {"thomas", OEM, "OMS"},   {"NIGHT", OEM, "NFT"},     {"THUMB", OEM, "OM"},
        {"SIGN", OEM, "SN"},       {"SIGN    ", OEM, "SN"},  {"ERIC", OEM, "ERK"},      {"AXEL", OEM, "AKEL"},
        {"CHRISTOPHER", OEM, "KRSTF"}, {"KNIGHT", OEM, "NFT"}, {"WHITE", OEM, "WT"},   {"XAVIER", OEM, "SFR"},
        {"PHONE", OEM, "FN"},      {"SCHOOL", OEM, "SKL"},   {"GNOME", OEM, "NM"},      {"WRIGHT", OEM, "RFT"},
        {"DODGE", OEM, "TJ"},      {"CIAO", OEM, "X"},       {"SCIENCE", OEM, "SNS"},   {"MATCH", OEM, "MX"},
        {"BOUGH", OEM, "B"},       {"ABBA", OEM, "AB"},      {"ACCEPT", OEM, "AKSPT"},  {"DUMB", OEM, "TM"},
        {"MAX", OEM, "MK"},        {"AEGIR", OEM, "EJR"},    {"SHIP", OEM, "XP"},       {"NATION", OEM, "NXN"},
        {"YELLOW", OEM, "YL"},     {"VIEW", OEM, "F"},       {"QUICK", OEM, "KK"},      {"ZERO", OEM, "SR"},
        {"M\x81LLER", OEM, "MLR"}, {"", OEM, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.code, Code(c.text, c.charset, 1)) << "'" << c.text << "'";
}

TEST(Phonetic, OtherModesKeepTheUpperCasedText)
{
    EXPECT_EQ("M\x9ALLER", Code("M\x81ller", OEM, 2));
    EXPECT_EQ("FRANCOIS", Code("Fran\xE7ois", ANSI, 7));
    EXPECT_EQ("\xC4PFEL", Code("\xE4pfel", ANSI, -1)) << "the umlauts stay";
}

TEST(Phonetic, NeverLongerThanTheText)
{
    std::mt19937 random(77);
    std::uniform_int_distribution<int> byte(1, 255), length(0, 20);
    for (int i = 0; i < 3000; ++i) {
        std::string text;
        for (int n = length(random); n > 0; --n)
            text += (char)byte(random);
        for (int charset : {OEM, ANSI})
            for (int mode : {0, 1, 2}) {
                std::string code = Code(text.c_str(), charset, mode);
                EXPECT_LE(code.size(), text.size()) << "mode " << mode << " charset " << charset;
                if (mode == 1) {
                    EXPECT_LE(code.size(), 5u);
                }
            }
    }
}

TEST(Phonetic, ModeComesFromTheJob)
{
    _db_process_attach(GetModuleHandleA(nullptr));
    ASSERT_EQ(0, db_job_open());
    s_Area area;
    char text[16] = "THOMAS";
    _phonetic(&area, text);
    EXPECT_STREQ("DOMAS", text);
    g_Job->collationCompatibility = 1;
    std::strcpy(text, "THOMAS");
    _phonetic(&area, text);
    EXPECT_STREQ("OMS", text);
    db_job_close();
    std::strcpy(text, "THOMAS");
    _phonetic(nullptr, text);
    EXPECT_STREQ("DOMAS", text) << "without a job: mode 0";
}
