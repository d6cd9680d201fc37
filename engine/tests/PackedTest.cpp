// Packed tables and packed index files: the compression library stand-in's contract, the run-time
// binding with its user count (and no system error box without the library), reading packed
// tables (also protected ones, also without the preferred expansion function), damaged packed
// files, the packed index layout, index pages read through the block reader equal to the unpacked
// index, and a packed index that takes no keys.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "CtlLog.h"
#include "EngineHooks.h"
#include "Job.h"
#include "PackLibrary.h"
#include "PackedFiles.h"
#include "PackedReader.h"
#include "PathHelpers.h"
#include "TableEncryption.h"
#include "TableTestKit.h"
#include "TestKit.h"
#include "clsBlowfish.h"

using namespace tabletest;

namespace {

const std::string kLibraryDir = oxtest::ProgramDir() + "\\VLPA05";

// The stand-in's functions, loaded by the tests themselves (apart from the engine's binding).
struct StandIn {
    StandIn()
    {
        module = LoadLibraryA((kLibraryDir + "\\VLPA05.DLL").c_str());
        if (!module)
            return;
        compress = (PFN_PackCompressBuffer)GetProcAddress(module, "_PackCompressBuffer@12");
        expand = (PFN_PackExpandBuffer)GetProcAddress(module, "_PackExpandBuffer@12");
        expandEnh = (PFN_PackExpandBufferEnh)GetProcAddress(module, "_PackExpandBufferEnh@16");
        setMode = (PFN_PackSetMode)GetProcAddress(module, "_PackSetMode@4");
        getVersion = (PFN_PackGetVersion)GetProcAddress(module, "_PackGetVersion@4");
    }
    ~StandIn()
    {
        if (module)
            FreeLibrary(module);
    }
    HMODULE module = nullptr;
    PFN_PackCompressBuffer compress = nullptr;
    PFN_PackExpandBuffer expand = nullptr;
    PFN_PackExpandBufferEnh expandEnh = nullptr;
    PFN_PackSetMode setMode = nullptr;
    PFN_PackGetVersion getVersion = nullptr;
};

std::string RandomBytes(size_t n, unsigned seed)
{
    std::mt19937 rnd(seed);
    std::string bytes(n, '\0');
    for (char& c : bytes)
        c = (char)(rnd() & 0xFF);
    return bytes;
}

std::string Compressed(const StandIn& lib, const std::string& block)
{
    std::string out(VLPA05_MAX_BLOCK, '\0');
    out.resize(lib.compress(out.data(), block.data(), (unsigned long)block.size()));
    return out;
}

const std::vector<FieldDef> kFields = {{"NAME", 'C', 16, 0}, {"NUM", 'N', 6, 0}};

std::string Row(int n)
{
    char text[64];
    std::snprintf(text, sizeof text, " Zeile %-10d%6d", (n * 7919) % 1000, n);
    return text;
}

std::vector<std::string> Rows(int count)
{
    std::vector<std::string> rows;
    for (int n = 1; n <= count; ++n)
        rows.push_back(Row(n));
    return rows;
}

// A packed table made from a plain image: version bit 0x40, then behind the header the mode, the
// unpacked size, the block size, the block table and the blocks of whole records.
std::string PackedImage(const std::string& plain, uint16_t blockSize)
{
    const StandIn lib;
    const unsigned header = Get16(plain, 8), length = Get16(plain, 10), count = Get32(plain, 4);
    const unsigned perBlock = blockSize / length;
    const unsigned blocks = (count + perBlock - 1) / perBlock;
    std::string out = plain.substr(0, header);
    out[0] = (char)(out[0] | 0x40);
    std::string front(8 + 4 * (blocks + 1), '\0');
    Put16(front, 0, 0);
    Put32(front, 2, header + count * length);
    Put16(front, 6, blockSize);
    std::string data;
    unsigned at = header + (unsigned)front.size();
    for (unsigned b = 0; b < blocks; ++b) {
        Put32(front, 8 + 4 * b, at);
        const std::string block = plain.substr(header + b * perBlock * length, perBlock * length);
        const std::string packed = Compressed(lib, block);
        data += packed;
        at += (unsigned)packed.size();
    }
    Put32(front, 8 + 4 * blocks, at | 0x80000000u);
    return out + front + data;
}

// Windows of this process that are visible (a system error box would be one).
int VisibleWindowsOfProcess()
{
    static int count;
    count = 0;
    EnumWindows(
        [](HWND window, LPARAM) -> BOOL {
            DWORD pid = 0;
            GetWindowThreadProcessId(window, &pid);
            if (pid == GetCurrentProcessId() && IsWindowVisible(window))
                ++count;
            return TRUE;
        },
        0);
    return count;
}

class Packed : public TableTest {
protected:
    void SetUp() override
    {
        TableTest::SetUp();
        db_files_open();
        ASSERT_NE(nullptr, StandIn().module) << kLibraryDir;
        SetDllDirectoryA(kLibraryDir.c_str());
    }
    void TearDown() override
    {
        TableTest::TearDown();
        SetDllDirectoryA(nullptr);
        EXPECT_EQ(0, g_PackLibrary.users) << "every user gave the library back";
    }

    bool UsePacked(const std::string& name, const std::string& plain, uint16_t blockSize = 256, unsigned flags = 0x01)
    {
        return Use(name, PackedImage(plain, blockSize), flags);
    }

    oxtest::CtlLog m_log;
};

} // namespace

TEST_F(Packed, StandInRestoresEveryBlock)
{
    const StandIn lib;
    ASSERT_NE(nullptr, lib.getVersion);
    const std::string text = [] {
        std::string t;
        while (t.size() < 9000)
            t += "Termin am Montag um 10 Uhr mit Frau M\xFCller; ";
        return t;
    }();
    struct Content {
        const char* what;
        std::string bytes;
    } contents[] = {{"zeros", std::string(9000, '\0')}, {"text", text}, {"random", RandomBytes(9000, 7)}};
    for (unsigned short mode : {0, 1, 9}) {
        lib.setMode(mode);
        for (const Content& c : contents)
            for (size_t length : {1u, 100u, 1024u, 8190u, 8191u, 8192u}) {
                SCOPED_TRACE(std::string(c.what) + " " + std::to_string(length) + " mode " + std::to_string(mode));
                const std::string block = c.bytes.substr(0, length);
                const std::string packed = Compressed(lib, block);
                ASSERT_GE(packed.size(), 1u);
                ASSERT_LE(packed.size(), VLPA05_MAX_BLOCK);
                if (std::string(c.what) != "random") {
                    EXPECT_LT(packed.size(), length > 8 ? length : length + 2);
                }
                for (int enhanced = 0; enhanced < 2; ++enhanced) {
                    std::string out(VLPA05_MAX_BLOCK + 16, '#');
                    const unsigned long n =
                        enhanced ? lib.expandEnh(out.data(), packed.data(), (unsigned long)packed.size(), 3)
                                 : lib.expand(out.data(), packed.data(), (unsigned long)packed.size());
                    EXPECT_EQ(block, out.substr(0, length));
                    EXPECT_EQ(length == 8191 && packed.size() == VLPA05_MAX_BLOCK ? 8192u : length, n);
                    EXPECT_EQ(std::string(16, '#'), out.substr(VLPA05_MAX_BLOCK)) << "nothing beyond 8,192 bytes";
                }
            }
    }
    EXPECT_EQ(9, lib.setMode(0)) << "the previous mode";

    // Bytes that are no block expand to nothing.
    std::string out(VLPA05_MAX_BLOCK + 16, '#');
    const std::string packedText = Compressed(lib, text.substr(0, 4000));
    const std::string damaged[] = {"\x07" "abc", packedText.substr(0, packedText.size() / 2), std::string(1, '\x01')};
    for (const std::string& bytes : damaged)
        EXPECT_EQ(0u, lib.expand(out.data(), bytes.data(), (unsigned long)bytes.size()));
    EXPECT_EQ(std::string(16, '#'), out.substr(VLPA05_MAX_BLOCK));
}

TEST_F(Packed, WithoutTheLibraryError60AndNoBox)
{
    const std::string image = PackedImage(DbfImage(kFields, Rows(5)), 256);
    SetDllDirectoryA(nullptr);
    ASSERT_TRUE(oxtest::WriteFileText(File("gepackt.dbf"), image));
    const int windowsBefore = VisibleWindowsOfProcess();
    EXPECT_FALSE(db_use(File("gepackt.dbf").c_str(), 0x01, nullptr, 0));
    EXPECT_EQ(60u, m_error);
    EXPECT_EQ(windowsBefore, VisibleWindowsOfProcess()) << "no system error box";
    EXPECT_EQ(0, g_PackLibrary.users);
    EXPECT_EQ(nullptr, g_PackLibrary.module);
    EXPECT_TRUE(m_log.Records().empty());

    // Made available, the same table opens.
    SetDllDirectoryA(kLibraryDir.c_str());
    m_error = 0;
    ASSERT_TRUE(db_use(File("gepackt.dbf").c_str(), 0x01, nullptr, 0));
    EXPECT_EQ(0u, m_error);
    EXPECT_EQ(1, g_PackLibrary.users);
    EXPECT_NE(nullptr, g_PackLibrary.getVersion);
}

TEST_F(Packed, UsersShareOneLoad)
{
    const std::string image = PackedImage(DbfImage(kFields, Rows(5)), 256);
    ASSERT_TRUE(oxtest::WriteFileText(File("a.dbf"), image));
    ASSERT_TRUE(oxtest::WriteFileText(File("b.dbf"), image));

    // One after the other: each loads and frees the library.
    for (const char* name : {"a.dbf", "b.dbf"}) {
        ASSERT_TRUE(db_use(File(name).c_str(), 0x01, nullptr, 0));
        EXPECT_EQ(1, g_PackLibrary.users);
        db_close(3);
        EXPECT_EQ(0, g_PackLibrary.users);
        EXPECT_EQ(nullptr, g_PackLibrary.module);
        EXPECT_EQ(nullptr, g_PackLibrary.expandEnh);
    }
    // At the same time: one load for both.
    db_select_area(1);
    ASSERT_TRUE(db_use(File("a.dbf").c_str(), 0x01, nullptr, 0));
    const HMODULE first = g_PackLibrary.module;
    db_select_area(2);
    ASSERT_TRUE(db_use(File("b.dbf").c_str(), 0x01, nullptr, 0));
    EXPECT_EQ(2, g_PackLibrary.users);
    EXPECT_EQ(first, g_PackLibrary.module);
    db_close(3);
    EXPECT_EQ(1, g_PackLibrary.users);
    EXPECT_NE(nullptr, g_PackLibrary.module);
    db_select_area(1);
    db_close(3);
    EXPECT_EQ(0, g_PackLibrary.users);
}

TEST_F(Packed, RecordsReadThroughTheBlocks)
{
    const std::vector<std::string> rows = Rows(40);
    const std::string plain = DbfImage(kFields, rows);
    for (uint16_t blockSize : {(uint16_t)23, (uint16_t)100, (uint16_t)256, (uint16_t)8192}) {
        SCOPED_TRACE(blockSize);
        const std::string name = "tabelle" + std::to_string(blockSize) + ".dbf";
        ASSERT_TRUE(UsePacked(name, plain, blockSize));
        EXPECT_EQ(40u, db_reccount());
        for (int n : {1, 2, 11, 12, 40, 13, 3, 39}) {
            ASSERT_EQ(n, db_goto(n));
            EXPECT_EQ(rows[n - 1].substr(1), Record().substr(1)) << n;
        }
        db_goto(1);
        int seen = 1;
        for (db_skip(1); !db_eof(); db_skip(1))
            ++seen;
        EXPECT_EQ(40, seen);

        // Nothing is written into the compressed data.
        const std::string before = PackedImage(plain, blockSize);
        ASSERT_EQ(5, db_goto(5));
        m_error = 0;
        EXPECT_FALSE(db_replace("NAME", "anders"));
        EXPECT_FALSE(db_write());
        EXPECT_EQ(54u, m_error);
        db_close(3);
        EXPECT_EQ(before, oxtest::ReadFileText(File(name)));
    }

    // A library without the preferred expansion function expands through the other one.
    ASSERT_TRUE(UsePacked("ohne.dbf", plain, 100));
    g_PackLibrary.expandEnh = nullptr;
    for (int n : {40, 1, 20}) {
        ASSERT_EQ(n, db_goto(n));
        EXPECT_EQ(rows[n - 1].substr(1), Record().substr(1)) << n;
    }
}

TEST_F(Packed, ProtectedPackedTable)
{
    const std::vector<std::string> rows = Rows(12);
    const clsBlowfish cipher("gepackt");
    std::string plain = DbfImage(kFields, rows);
    plain[0] = 0x23;
    std::string check = kCheckBlockText;
    cipher.Encode(check.data(), 8);
    plain.replace(16, 8, check);
    const unsigned header = Get16(plain, 8), length = Get16(plain, 10);
    for (size_t at = header; at < plain.size(); at += length)
        cipher.Encode(plain.data() + at, length);
    ASSERT_TRUE(oxtest::WriteFileText(File("beides.dbf"), PackedImage(plain, 256)));
    db_set_bfpw(File("beides.dbf").c_str(), "gepackt");
    ASSERT_TRUE(db_use(File("beides.dbf").c_str(), 0x01, nullptr, 0));
    for (int n : {12, 1, 7}) {
        ASSERT_EQ(n, db_goto(n));
        EXPECT_EQ(rows[n - 1].substr(1), Record().substr(1)) << n;
    }
    // Its index is packed, and its pages are deciphered after expansion.
    ASSERT_TRUE(db_index_on(1, "NAME", File("beides.ntx").c_str(), 0));
    EXPECT_TRUE(db_seek(Row(7).substr(1, 16).c_str()));
    EXPECT_EQ(7u, db_recno());
    EXPECT_EQ(rows[6].substr(1), Record().substr(1));
    db_close(3);
    const std::string index = oxtest::ReadFileText(File("beides.ntx"));
    EXPECT_EQ(0, index.compare(280, 16, "-@!velmar/Qiv!@-"));
    EXPECT_EQ(std::string::npos, index.find("Zeile"));
}

TEST_F(Packed, DamagedPackedTables)
{
    const std::string plain = DbfImage(kFields, Rows(20));
    const std::string good = PackedImage(plain, 100);
    const unsigned header = Get16(plain, 8);
    struct Case {
        const char* what;
        std::function<void(std::string&)> patch;
        unsigned openError;    // 0: opens
        unsigned readError;    // error of reading every record
    } cases[] = {
        {"block table without its end", [&](std::string& i) { i.resize(header + 8 + 8); }, 2, 0},
        {"block size 0", [&](std::string& i) { Put16(i, header + 6, 0); }, 2, 0},
        {"block size below the record length", [&](std::string& i) { Put16(i, header + 6, 10); }, 2, 0},
        {"unpacked size below the header", [&](std::string& i) { Put32(i, header + 2, 10); }, 2, 0},
        {"fewer blocks than records", [&](std::string& i) { Put32(i, header + 2, header + 23 * 40); }, 2, 0},
        {"blocks cut off", [&](std::string& i) { i.resize(i.size() - 30); }, 0, 29},
        {"block beyond the file", [&](std::string& i) { Put32(i, header + 8 + 4, 900000); }, 0, 29},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string image = good;
        c.patch(image);
        const std::string name = "kaputt" + std::to_string(n++) + ".dbf";
        ASSERT_TRUE(oxtest::WriteFileText(File(name), image));
        m_error = 0;
        EXPECT_EQ(c.openError == 0, db_use(File(name).c_str(), 0x01, nullptr, 0) != FALSE);
        EXPECT_EQ(c.openError, m_error);
        if (c.openError)
            continue;
        bool failed = false;
        for (int r = 1; r <= 20; ++r) {
            m_error = 0;
            db_goto(r);
            failed = failed || m_error == c.readError;
            char value[64];
            db_get_contents("NAME", value, sizeof value);
            failed = failed || m_error == c.readError;
        }
        EXPECT_TRUE(failed);
        db_close(3);
    }
}

TEST_F(Packed, IndexLayoutAndBlockReads)
{
    // 1,024 + 3 x 8,192 bytes of random data: nothing compresses, every block is stored whole.
    const uint32_t size = 1024 + 3 * 8192;
    std::string unpacked = RandomBytes(size, 28);
    unpacked.replace(280, 17, std::string(17, '\0'));
    ASSERT_TRUE(Use("basis.dbf", DbfImage(kFields, Rows(3))));
    ASSERT_TRUE(oxtest::WriteFileText(File("roh.ntx"), unpacked));
    s_Area& area = *g_Job->currentArea;
    s_Index& slot = area.indexes[0];
    slot.area = &area;
    SafeStrCopy(slot.name, File("roh.ntx").c_str(), sizeof slot.name);
    slot.file = CreateFileA(File("roh.ntx").c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, slot.file);

    ASSERT_TRUE(_pk_pack_index(area, 0));
    ASSERT_EQ(1, slot.packed);
    // Read through the slot's handle: the packed file took the index's place and was opened again
    // for the exclusive table.
    std::string packed;
    {
        LARGE_INTEGER zero{};
        ASSERT_TRUE(SetFilePointerEx(slot.file, zero, nullptr, FILE_BEGIN));
        char buffer[4096];
        DWORD n = 0;
        while (ReadFile(slot.file, buffer, sizeof buffer, &n, nullptr) && n > 0)
            packed.append(buffer, n);
    }
    EXPECT_EQ(0, packed.compare(280, 17, std::string("-@!velmar/Qiv!@-") + '\0', 0, 17));
    EXPECT_EQ(unpacked.substr(0, 280), packed.substr(0, 280)) << "the header page stays";
    EXPECT_EQ(0u, Get16(packed, 1024)) << "mode";
    EXPECT_EQ(size, Get32(packed, 1026));
    EXPECT_EQ(8192u, Get16(packed, 1030));
    const unsigned entries = 5, start = 1032 + 4 * entries;
    EXPECT_EQ(start, Get32(packed, 1032));
    EXPECT_EQ(start + 8192, Get32(packed, 1036));
    EXPECT_EQ(start + 2 * 8192, Get32(packed, 1040));
    EXPECT_EQ((start + 3 * 8192) | 0x80000000u, Get32(packed, 1044)) << "the end, bit 31 set";
    EXPECT_EQ(0u, Get32(packed, 1048)) << "the entry without meaning";
    EXPECT_EQ(start + 3 * 8192, packed.size()) << "the file ends after the last block";

    // Every page through the reader; page 9 is the first of block 1.
    s_PackedReader& reader = *slot.packedReader;
    uint8_t page[1024];
    for (uint32_t u = 1; u <= 24; ++u) {
        ASSERT_TRUE(g_EngineHooks.readPackedIndexPage(area, 0, u, page)) << u;
        EXPECT_EQ(0, std::memcmp(unpacked.data() + 1024 * u, page, sizeof page)) << "page " << u;
    }
    const uint32_t expanded = reader.expansions;
    ASSERT_TRUE(g_EngineHooks.readPackedIndexPage(area, 0, 9, page));
    ASSERT_TRUE(g_EngineHooks.readPackedIndexPage(area, 0, 16, page));
    ASSERT_TRUE(g_EngineHooks.readPackedIndexPage(area, 0, 1, page));
    EXPECT_EQ(expanded, reader.expansions) << "the blocks are still cached";
    EXPECT_FALSE(g_EngineHooks.readPackedIndexPage(area, 0, 25, page)) << "beyond the last block";
    ASSERT_TRUE(g_EngineHooks.readPackedIndexPage(area, 0, 0, page));
    EXPECT_EQ(0, std::memcmp(packed.data(), page, sizeof page)) << "unit 0 is the header page as it is";

    g_EngineHooks.releasePackedIndex(slot);
    CloseHandle(slot.file);
    slot.file = INVALID_HANDLE_VALUE;
    slot.name[0] = 0;
}

TEST_F(Packed, PackedIndexReadsLikeTheUnpackedOneAndTakesNoKeys)
{
    const std::vector<std::string> rows = Rows(600);
    const std::string plain = DbfImage(kFields, rows);
    ASSERT_TRUE(Use("klar.dbf", plain));
    ASSERT_TRUE(db_index_on(1, "NAME", File("klar.ntx").c_str(), 0));
    db_close(3);
    const std::string reference = oxtest::ReadFileText(File("klar.ntx"));
    ASSERT_GT(reference.size(), 1024u + 8192u) << "more than one block";

    ASSERT_TRUE(UsePacked("gepackt.dbf", plain, 1024));
    ASSERT_TRUE(db_index_on(1, "NAME", File("gepackt.ntx").c_str(), 0));
    s_Area& area = *g_Job->currentArea;
    uint8_t page[1024];
    for (uint32_t u = 1; u < reference.size() / 1024; ++u) {
        ASSERT_TRUE(g_EngineHooks.readPackedIndexPage(area, 0, u, page)) << u;
        EXPECT_EQ(0, std::memcmp(reference.data() + 1024 * u, page, sizeof page)) << "page " << u;
    }
    for (int n : {1, 300, 600}) {
        EXPECT_TRUE(db_seek(rows[n - 1].substr(1, 16).c_str())) << n;
        EXPECT_EQ(Record().substr(1, 16), rows[n - 1].substr(1, 16));
    }
    db_close(3);
    const std::string packed = oxtest::ReadFileText(File("gepackt.ntx"));
    EXPECT_LT(packed.size(), reference.size());
    EXPECT_EQ(reference.substr(0, 280), packed.substr(0, 280));

    // The packed index on the plain table: its keys read, but a write that changes a key is
    // refused and the index file stays as it is.
    ASSERT_TRUE(Use("klar.dbf", plain));
    ASSERT_TRUE(db_set_index_to(1, File("gepackt.ntx").c_str()));
    EXPECT_EQ(1, g_PackLibrary.users) << "the slot binds the library for itself";
    EXPECT_TRUE(db_seek(rows[41].substr(1, 16).c_str()));
    EXPECT_EQ(42u, db_recno());
    ASSERT_TRUE(db_replace("NAME", "Neuer Schluessel"));
    m_error = 0;
    EXPECT_FALSE(db_write());
    EXPECT_EQ(58u, m_error);
    db_close(3);
    EXPECT_EQ(packed, oxtest::ReadFileText(File("gepackt.ntx")));
}

namespace {

// Fails the write of one part of the packed form (the blocks 0, 1, ..., then the front).
uint32_t s_failingPart = 0;
bool FailOnePart(uint32_t part) { return part != s_failingPart; }

std::vector<std::string> TemporaryFilesIn(const std::string& folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((folder + "\\*.tmp").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do
        names.push_back(found.cFileName);
    while (FindNextFileA(find, &found));
    FindClose(find);
    return names;
}

} // namespace

TEST_F(Packed, FailedWriteWhilePackingLeavesTheIndexAsBuilt)
{
    const std::vector<std::string> rows = Rows(600);
    const std::string plain = DbfImage(kFields, rows);
    ASSERT_TRUE(Use("klar.dbf", plain));
    ASSERT_TRUE(db_index_on(1, "NAME", File("klar.ntx").c_str(), 0));
    db_close(3);
    const std::string reference = oxtest::ReadFileText(File("klar.ntx"));
    const uint32_t blocks = (uint32_t)((reference.size() - 1024 + 8191) / 8192);
    ASSERT_GE(blocks, 2u);

    // The second block, and the front written last.
    for (uint32_t part : {1u, blocks}) {
        SCOPED_TRACE(part);
        ASSERT_TRUE(UsePacked("gepackt.dbf", plain, 1024));
        s_failingPart = part;
        _pk_set_index_write_probe(&FailOnePart);
        m_error = 0;
        const BOOL built = db_index_on(1, "NAME", File("gepackt.ntx").c_str(), 0);
        _pk_set_index_write_probe(nullptr);
        EXPECT_FALSE(built);
        EXPECT_EQ(34u, m_error);
        db_close(3);
        EXPECT_EQ(reference, oxtest::ReadFileText(File("gepackt.ntx"))) << "the index as the build wrote it";
        EXPECT_EQ(std::vector<std::string>{}, TemporaryFilesIn(m_dir->Path()));
    }

    // Without a failure the same build packs.
    ASSERT_TRUE(UsePacked("gepackt.dbf", plain, 1024));
    ASSERT_TRUE(db_index_on(1, "NAME", File("gepackt.ntx").c_str(), 0));
    db_close(3);
    const std::string packed = oxtest::ReadFileText(File("gepackt.ntx"));
    EXPECT_EQ(0, packed.compare(280, 17, std::string("-@!velmar/Qiv!@-") + '\0', 0, 17));
    EXPECT_LT(packed.size(), reference.size());
    EXPECT_EQ(std::vector<std::string>{}, TemporaryFilesIn(m_dir->Path()));
}

TEST_F(Packed, DamagedPackedIndexes)
{
    const std::vector<std::string> rows = Rows(600);
    const std::string plain = DbfImage(kFields, rows);
    ASSERT_TRUE(UsePacked("gepackt.dbf", plain, 1024));
    ASSERT_TRUE(db_index_on(1, "NAME", File("gut.ntx").c_str(), 0));
    db_close(3);
    const std::string good = oxtest::ReadFileText(File("gut.ntx"));
    const unsigned entries = (Get32(good, 1026) + 8191) / 8192 + 1;
    ASSERT_GE(entries, 4u) << "two blocks or more";
    const unsigned table = 1032;
    struct Case {
        const char* what;
        std::function<void(std::string&)> patch;
    } cases[] = {
        {"body cut short", [](std::string& i) { i.resize(i.size() - 100); }},
        {"body cut after the first block", [&](std::string& i) { i.resize(Get32(i, table + 4)); }},
        {"block table beyond the file", [&](std::string& i) { Put32(i, table + 4, 900000); }},
        {"end of the data beyond the file",
         [&](std::string& i) {
             for (unsigned k = 0; k < entries; ++k)
                 if (Get32(i, table + 4 * k) & 0x80000000u) {
                     Put32(i, table + 4 * k, 0x80000000u | 900000u);
                     break;
                 }
         }},
        {"compressed size beyond its block", [&](std::string& i) { Put32(i, table + 4, Get32(i, table) + 9000); }},
        {"block ending before it starts", [&](std::string& i) { Put32(i, table + 4, Get32(i, table) - 1); }},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string image = good;
        c.patch(image);
        const std::string name = File("kaputt" + std::to_string(n++) + ".ntx");
        ASSERT_TRUE(oxtest::WriteFileText(name, image));
        ASSERT_TRUE(Use("klar.dbf", plain));
        m_error = 0;
        if (!db_set_index_to(1, name.c_str())) {
            EXPECT_NE(0u, m_error) << "refused with an error";
            db_close(3);
            continue;
        }
        // A walk through the order from the top: it ends, and with an error.
        bool failed = false;
        int steps = 0;
        m_error = 0;
        db_goto(0);
        failed = m_error != 0;
        while (!failed && !db_eof() && steps < 700) {
            db_skip(1);
            failed = m_error != 0;
            ++steps;
        }
        EXPECT_TRUE(failed) << "after " << steps << " steps";
        EXPECT_LT(steps, 700);
        db_close(3);
    }
}
