// The ciphers and digests of the engine: Blowfish against the published test vectors, its key
// text and the order of its tail block, the older scrambler, MD5 against RFC 1321, and the shared
// password list (sharing, letter case, a full area, a lock that is not given, a lost area).
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <thread>

#include "CtlLog.h"
#include "Md5.h"
#include "Md5TestKit.h"
#include "Scrambler.h"
#include "TableTestKit.h"
#include "WorkAreas.h"
#include "clsBlowfish.h"
#include "clsPasswordList.h"

using namespace tabletest;

namespace {

uint32_t Big(const uint8_t* p) { return ((uint32_t)p[0] << 24) | ((uint32_t)p[1] << 16) | ((uint32_t)p[2] << 8) | p[3]; }

std::string FromHex(const std::string& hex)
{
    std::string bytes;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes += (char)std::stoi(hex.substr(i, 2), nullptr, 16);
    return bytes;
}

} // namespace

// Eric Young's vectors for 8-byte keys (key, clear, cipher; each block as two big-endian words).
TEST(Blowfish, PublishedVectors)
{
    const char* const vectors[][3] = {
        {"0000000000000000", "0000000000000000", "4EF997456198DD78"},
        {"FFFFFFFFFFFFFFFF", "FFFFFFFFFFFFFFFF", "51866FD5B85ECB8A"},
        {"3000000000000000", "1000000000000001", "7D856F9A613063F2"},
        {"1111111111111111", "1111111111111111", "2466DD878B963C9D"},
        {"0123456789ABCDEF", "1111111111111111", "61F9C3802281B096"},
        {"1111111111111111", "0123456789ABCDEF", "7D0CC630AFDA1EC7"},
        {"FEDCBA9876543210", "0123456789ABCDEF", "0ACEAB0FC6A0A28D"},
        {"7CA110454A1A6E57", "01A1D6D039776742", "59C68245EB05282B"},
        {"0131D9619DC1376E", "5CD54CA83DEF57DA", "B1B8CC0B250F09A0"},
        {"07A1133E4A0B2686", "0248D43806F67172", "1730E5778BEA1DA4"},
        {"3849674C2602319E", "51454B582DDF440A", "A25E7856CF2651EB"},
        {"04B915BA43FEB5B6", "42FD443059577FA2", "353882B109CE8F1A"},
        {"0113B970FD34F2CE", "059B5E0851CF143A", "48F4D0884C379918"},
        {"0170F175468FB5E6", "0756D8E0774761D2", "432193B78951FC98"},
        {"43297FAD38E373FE", "762514B829BF486A", "13F04154D69D1AE5"},
        {"07A7137045DA2A16", "3BDD119049372802", "2EEDDA93FFD39C79"},
        {"04689104C2FD3B2F", "26955F6835AF609A", "D887E0393C2DA6E3"},
        {"37D06BB516CB7546", "164D5E404F275232", "5F99D04F5B163969"},
        {"1F08260D1AC2465E", "6B056E18759F5CCA", "4A057A3B24D3977B"},
        {"584023641ABA6176", "004BD6EF09176062", "452031C1E4FADA8E"},
        {"025816164629B007", "480D39006EE762F2", "7555AE39F59B87BD"},
        {"49793EBC79B3258F", "437540C8698F3CFA", "53C55F9CB49FC019"},
        {"4FB05E1515AB73A7", "072D43A077075292", "7A8E7BFA937E89A3"},
        {"49E95D6D4CA229BF", "02FE55778117F12A", "CF9C5D7A4986ADB5"},
        {"018310DC409B26D6", "1D9D5C5018F728C2", "D1ABB290658BC778"},
        {"1C587F1C13924FEF", "305532286D6F295A", "55CB3774D13EF201"},
    };
    clsBlowfish cipher;
    for (const auto& v : vectors) {
        SCOPED_TRACE(v[0]);
        const std::string key = FromHex(v[0]), clear = FromHex(v[1]), expected = FromHex(v[2]);
        cipher.ScheduleKey((const uint8_t*)key.data(), key.size());
        uint32_t left = Big((const uint8_t*)clear.data()), right = Big((const uint8_t*)clear.data() + 4);
        cipher.EncipherBlock(left, right);
        EXPECT_EQ(Big((const uint8_t*)expected.data()), left);
        EXPECT_EQ(Big((const uint8_t*)expected.data() + 4), right);
        cipher.DecipherBlock(left, right);
        EXPECT_EQ(Big((const uint8_t*)clear.data()), left);

        // Buffers take each half little-endian: the bytes of every half are swapped.
        std::string buffer = clear;
        std::swap(buffer[0], buffer[3]), std::swap(buffer[1], buffer[2]);
        std::swap(buffer[4], buffer[7]), std::swap(buffer[5], buffer[6]);
        cipher.Encode(buffer.data(), 8);
        std::string swapped = expected;
        std::swap(swapped[0], swapped[3]), std::swap(swapped[1], swapped[2]);
        std::swap(swapped[4], swapped[7]), std::swap(swapped[5], swapped[6]);
        EXPECT_EQ(swapped, buffer);
    }
}

TEST(Blowfish, KeyText)
{
    struct Case {
        std::string password;
    } cases[] = {{""}, {"a"}, {"geheim"}, {std::string(71, 'x')}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.password.size());
        const String key = clsBlowfish::DeriveKey(c.password.c_str());
        ASSERT_EQ(72u, key.GetLength());
        EXPECT_EQ(0, std::memcmp((const char*)key, c.password.data(), c.password.size()));
        EXPECT_EQ(nullptr, std::memchr((const char*)key, 0, 72)) << "derived bytes are never 0";
        EXPECT_STREQ(key, clsBlowfish::DeriveKey(key)) << "the key text of a key text is itself";
    }
    // The first derived byte of "" is 1, the second ((1 x 1 x 97) mod 255) + 1 = 98.
    EXPECT_EQ(1, (unsigned char)clsBlowfish::DeriveKey("")[0]);
    EXPECT_EQ(98, (unsigned char)clsBlowfish::DeriveKey("")[1]);
    const std::string longer(80, 'L');
    EXPECT_STREQ(longer.c_str(), clsBlowfish::DeriveKey(longer.c_str())) << "kept as it is";

    // A password and its key text key the same cipher; only the first 72 bytes count.
    const struct {
        std::string a, b;
        bool same;
    } pairs[] = {{"geheim", (const char*)clsBlowfish::DeriveKey("geheim"), true},
                 {"geheim", "Geheim", false},
                 {"", (const char*)clsBlowfish::DeriveKey(""), true},
                 {std::string(72, 'k') + "one", std::string(72, 'k') + "two", true},
                 {std::string(71, 'k') + "one", std::string(71, 'k') + "two", false}};
    for (const auto& p : pairs) {
        SCOPED_TRACE(p.a);
        std::string block1 = "12345678", block2 = "12345678";
        clsBlowfish(p.a.c_str()).Encode(block1.data(), 8);
        clsBlowfish(p.b.c_str()).Encode(block2.data(), 8);
        EXPECT_EQ(p.same, block1 == block2);
    }
}

TEST(Blowfish, BuffersOfEveryLength)
{
    clsBlowfish cipher("geheim");
    for (unsigned length : {8u, 12u, 16u, 23u, 64u}) {
        SCOPED_TRACE(length);
        std::string plain;
        for (unsigned i = 0; i < length; ++i)
            plain += (char)('a' + i % 26);
        std::string buffer = plain;
        cipher.Encode(buffer.data(), length);
        EXPECT_NE(plain, buffer);
        cipher.Decode(buffer.data(), length);
        EXPECT_EQ(plain, buffer);
    }
    // 12 bytes: the last 8 bytes first, then the block at the start (which overlaps it).
    std::string buffer = "ABCDEFGHIJKL", expected = buffer;
    cipher.Encode(buffer.data(), 12);
    cipher.Encode(expected.data() + 4, 8);
    cipher.Encode(expected.data(), 8);
    EXPECT_EQ(expected, buffer);
    // Fewer than 8 bytes stay in clear.
    std::string small = "1234567";
    cipher.Encode(small.data(), 7);
    EXPECT_EQ("1234567", small);
    cipher.Decode(small.data(), 7);
    EXPECT_EQ("1234567", small);
}

TEST(Md5, Rfc1321Suite)
{
    const char* const suite[][2] = {
        {"", "D41D8CD98F00B204E9800998ECF8427E"},
        {"a", "0CC175B9C0F1B6A831C399E269772661"},
        {"abc", "900150983CD24FB0D6963F7D28E17F72"},
        {"message digest", "F96B697D7CB7938D525A2F31AAF161D0"},
        {"abcdefghijklmnopqrstuvwxyz", "C3FCD3D76192E4007DFB496CCA67E13B"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789", "D174AB98D277D9F5A5611C2C9F419D9F"},
        {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
         "57EDF4A22BE3C955AC49DA2E2107B67A"},
    };
    for (const auto& c : suite)
        EXPECT_EQ(c[1], Md5Hex(c[0])) << c[0];
}

TEST(Md5, PiecesGiveTheDigestOfTheWhole)
{
    std::string text;
    for (int i = 0; i < 1000; ++i)
        text += (char)(i * 7 + 3);
    const std::string whole = Md5Hex(text);
    for (size_t piece : {1u, 55u, 56u, 63u, 64u, 65u, 999u}) {
        SCOPED_TRACE(piece);
        MD5_CTX context;
        MD5Init(&context);
        for (size_t at = 0; at < text.size(); at += piece)
            MD5Update(&context, text.data() + at, (unsigned)std::min(piece, text.size() - at));
        MD5Final(&context);
        std::unique_ptr<char[]> hex(MD5HexDigest(&context));
        EXPECT_EQ(whole, hex.get());
    }
}

class Scrambler : public TableTest {
protected:
    void SetUp() override
    {
        TableTest::SetUp();
        ASSERT_TRUE(Use("plain.dbf", DbfImage({{"NAME", 'C', 10, 0}}, {" eins"})));
    }
    s_Area& Area() { return *g_Job->currentArea; }
    std::string Encoded(std::string text, int32_t position)
    {
        _scr_encode(Area(), position, text.data(), (unsigned)text.size());
        return text;
    }
};

TEST_F(Scrambler, MapsPrintableBytesAndRestoresThem)
{
    ASSERT_TRUE(db_set_password(1, "geheim"));
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += (char)b;
    const std::string scrambled = Encoded(all, 1024);
    for (int b = 0; b < 256; ++b) {
        const unsigned char s = (unsigned char)scrambled[b];
        if (b < 0x20 || b >= 0xA0)
            EXPECT_EQ(b, s) << "byte " << b << " stays";
        else
            EXPECT_TRUE(s >= 0x20 && s <= 0x9F) << "byte " << b << " -> " << (int)s;
    }
    EXPECT_NE(all, scrambled);
    std::string back = scrambled;
    _scr_decode(Area(), 1024, back.data(), (unsigned)back.size());
    EXPECT_EQ(all, back);

    // Trailing zero bits of the position value do not count.
    const std::string text = "Ein Satz mit Text";
    EXPECT_EQ(Encoded(text, 1), Encoded(text, 2));
    EXPECT_EQ(Encoded(text, 3), Encoded(text, 12));
    EXPECT_NE(Encoded(text, 1), Encoded(text, 3));

    ASSERT_TRUE(db_set_password(1, "anders"));
    EXPECT_NE(Encoded(all, 1024), scrambled) << "another key, other bytes";
}

TEST_F(Scrambler, KeyWithoutTablesLeavesBytesAlone)
{
    EXPECT_FALSE(db_set_password(2, "geheim"));
    const std::string text = "Ein Satz mit Text";
    EXPECT_EQ(text, Encoded(text, 7));
}

namespace {

// A list of its own (names of this process and test), with a short lock time-out.
std::unique_ptr<clsPasswordList> PrivateList(const std::string& tag, DWORD timeoutMs = 300)
{
    static int counter = 0;
    const std::string base = "OxTestPWL_" + std::to_string(GetCurrentProcessId()) + "_" + tag + "_" +
                             std::to_string(++counter);
    return std::make_unique<clsPasswordList>((base + "_sync").c_str(), (base + "_share").c_str(), timeoutMs);
}

std::string NameOf(const std::string& base, int n) { return base + "_" + std::to_string(n); }

} // namespace

TEST(PasswordList, SharedBetweenListsOfTheSameNames)
{
    static int counter = 0;
    const std::string base = "OxTestPWLShared_" + std::to_string(GetCurrentProcessId()) + "_" +
                             std::to_string(++counter);
    clsPasswordList one((base + "_sync").c_str(), (base + "_share").c_str());
    clsPasswordList two((base + "_sync").c_str(), (base + "_share").c_str());
    ASSERT_TRUE(one.IsShared());
    String found;
    EXPECT_FALSE(two.Find("c:\\daten\\kunden.dbf", found));
    EXPECT_TRUE(one.Add("c:\\daten\\kunden.dbf", "geheim"));
    EXPECT_TRUE(two.Find("C:\\DATEN\\Kunden.DBF", found)) << "letter case does not matter";
    EXPECT_STREQ("geheim", found);
    EXPECT_TRUE(two.Add("C:\\Daten\\KUNDEN.dbf", "neu"));
    EXPECT_TRUE(one.Find("c:\\daten\\kunden.dbf", found));
    EXPECT_STREQ("neu", found) << "an entry is replaced";
    EXPECT_FALSE(one.Find("c:\\daten\\andere.dbf", found));

    // The area is enciphered: neither path nor password can be read in it.
    HANDLE mapping = OpenFileMappingA(FILE_MAP_READ, FALSE, (base + "_share").c_str());
    ASSERT_NE(nullptr, mapping);
    const char* view = (const char*)MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, clsPasswordList::kAreaSize);
    ASSERT_NE(nullptr, view);
    const std::string area(view, clsPasswordList::kAreaSize);
    EXPECT_EQ(std::string::npos, area.find("KUNDEN"));
    EXPECT_EQ(std::string::npos, area.find("neu"));
    EXPECT_EQ(3u, (unsigned char)area[0]) << "counter: 1 at the start, one more per store";
    UnmapViewOfFile(view);
    CloseHandle(mapping);
}

TEST(PasswordList, EntryThatDoesNotFitIsRefused)
{
    auto list = PrivateList("full");
    const std::string path(200, 'P');
    const std::string password(72, 'w');
    int added = 0;
    while (list->Add(NameOf(path, added).c_str(), password.c_str()))
        ++added;
    // Pairs of 204 + 73 bytes: 236 of them fit into 65,543 bytes.
    EXPECT_EQ(236, added);
    String found;
    EXPECT_FALSE(list->Find(NameOf(path, added).c_str(), found));
    for (int n : {0, added / 2, added - 1}) {
        EXPECT_TRUE(list->Find(NameOf(path, n).c_str(), found)) << n;
        EXPECT_STREQ(password.c_str(), found);
    }
    // A replacement that fits still goes in.
    EXPECT_TRUE(list->Add(NameOf(path, 0).c_str(), "kurz"));
    EXPECT_TRUE(list->Find(NameOf(path, 0).c_str(), found));
    EXPECT_STREQ("kurz", found);
}

TEST(PasswordList, PathsThatCouldNotBeReadBackAreRefused)
{
    auto list = PrivateList("paths");
    String found;
    EXPECT_FALSE(list->Add("", "x"));
    EXPECT_FALSE(list->Add("c:\\mit\ttab.dbf", "x"));
    EXPECT_FALSE(list->Add(std::string(300, 'p').c_str(), "x"));
    EXPECT_TRUE(list->Add("c:\\gut.dbf", "x"));
    EXPECT_TRUE(list->Find("c:\\gut.dbf", found));
}

TEST(PasswordList, LockNotGivenLeavesTheAreaAlone)
{
    static int counter = 0;
    const std::string base = "OxTestPWLBusy_" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(++counter);
    clsPasswordList list((base + "_sync").c_str(), (base + "_share").c_str(), 200);
    ASSERT_TRUE(list.Add("c:\\a.dbf", "eins"));

    oxtest::CtlLog log;
    HANDLE taken = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::thread holder([&] {
        HANDLE mutex = OpenMutexA(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, (base + "_sync").c_str());
        WaitForSingleObject(mutex, INFINITE);
        SetEvent(taken);
        WaitForSingleObject(release, INFINITE);
        ReleaseMutex(mutex);
        CloseHandle(mutex);
    });
    WaitForSingleObject(taken, INFINITE);
    String found;
    EXPECT_FALSE(list.Find("c:\\a.dbf", found));
    EXPECT_FALSE(list.Add("c:\\b.dbf", "zwei"));
    SetEvent(release);
    holder.join();
    CloseHandle(taken);
    CloseHandle(release);

    const auto boxes = log.Records("MessageBox");
    ASSERT_EQ(2u, boxes.size());
    EXPECT_EQ((oxtest::CtlLog::Record{"MessageBox", "Error", "Tabstor: timeout locking global data", "0x10", "1"}),
              boxes[0]);
    EXPECT_TRUE(list.Find("c:\\a.dbf", found)) << "the entry before is still there";
    EXPECT_FALSE(list.Find("c:\\b.dbf", found)) << "the refused entry is not";
}

TEST(PasswordList, AreaLeftByADeadOwnerIsKeptWhenReadable)
{
    static int counter = 0;
    const std::string base = "OxTestPWLLost_" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(++counter);
    clsPasswordList list((base + "_sync").c_str(), (base + "_share").c_str(), 200);
    clsPasswordList other((base + "_sync").c_str(), (base + "_share").c_str(), 200);
    String found;
    // A thread that ends while it holds the mutex (as a process killed while holding it).
    auto dieHoldingTheMutex = [&] {
        std::thread([&] {
            HANDLE mutex = OpenMutexA(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, (base + "_sync").c_str());
            WaitForSingleObject(mutex, INFINITE);
            CloseHandle(mutex);
        }).join();
    };

    // What it left deciphers to well-formed pairs: every process keeps the list.
    ASSERT_TRUE(list.Add("c:\\a.dbf", "eins"));
    ASSERT_TRUE(other.Find("c:\\a.dbf", found));
    dieHoldingTheMutex();
    EXPECT_TRUE(other.Find("c:\\a.dbf", found));
    EXPECT_STREQ("eins", found);
    EXPECT_TRUE(other.Add("c:\\b.dbf", "zwei"));
    EXPECT_TRUE(list.Find("c:\\b.dbf", found));
    EXPECT_TRUE(list.Find("c:\\a.dbf", found));

    HANDLE mapping = OpenFileMappingA(FILE_MAP_WRITE, FALSE, (base + "_share").c_str());
    ASSERT_NE(nullptr, mapping);
    uint8_t* view = (uint8_t*)MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, clsPasswordList::kAreaSize);
    ASSERT_NE(nullptr, view);
    auto scramble = [&] {
        for (uint32_t i = 4; i < clsPasswordList::kAreaSize; ++i)
            view[i] = (uint8_t)(i * 131 + 7);
    };

    // A dead owner that left bytes which do not decipher to pairs (with the counter it found):
    // the area is read again all the same, and starts again.
    scramble();
    dieHoldingTheMutex();
    EXPECT_FALSE(list.Find("c:\\b.dbf", found));
    EXPECT_FALSE(other.Find("c:\\a.dbf", found)) << "the new start reaches every process";

    // Bytes that do not decipher to pairs under a new counter: the list starts again and works.
    ASSERT_TRUE(list.Add("c:\\b.dbf", "zwei"));
    scramble();
    view[0] = (uint8_t)(view[0] + 1);
    EXPECT_FALSE(list.Find("c:\\b.dbf", found));
    EXPECT_TRUE(list.Add("c:\\c.dbf", "drei"));
    EXPECT_TRUE(other.Find("c:\\c.dbf", found));
    EXPECT_STREQ("drei", found);
    UnmapViewOfFile(view);
    CloseHandle(mapping);
}
