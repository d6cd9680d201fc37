// Archive images: the byte format of every archived type, pinned as hex text derived from the
// format description in CArchive.h, COleDateTime.h and COleVariant.h, and read back.
#include <afxcoll.h>
#include <afxdisp.h>
#include <afxtempl.h>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "AfxTestSupport.h"
#include "CArchiveProbe.h"
#include "CVersionedProbe.h"

using afxtest::LoadImage;
using afxtest::Repeat;
using afxtest::StoreImage;

namespace {

// Types whose width differs between platforms have no archive operators.
template <class T> concept Storable = requires(CArchive& ar, T v) { ar << v; };
template <class T> concept Loadable = requires(CArchive& ar, T& v) { ar >> v; };
static_assert(Storable<BYTE> && Storable<WORD> && Storable<LONG> && Storable<DWORD> && Storable<int>);
static_assert(!Storable<size_t> && !Storable<DWORD_PTR> && !Storable<long long> && !Storable<bool>);
static_assert(!Loadable<size_t> && !Loadable<bool> && !Loadable<long long>);

// Offset of the first difference of two texts, npos when they are equal.
size_t FirstDifference(const std::string& a, const std::string& b)
{
    size_t n = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < n; ++i) {
        if (a[i] != b[i])
            return i;
    }
    return a.size() == b.size() ? std::string::npos : n;
}

int ArchiveCause(const std::string& hex, const std::function<void(CArchive&)>& fn)
{
    try {
        LoadImage(hex, fn);
    } catch (CArchiveException* e) {
        int cause = e->m_cause;
        e->Delete();
        return cause;
    }
    return -1;
}

} // namespace

TEST(ArchiveImage, ScalarTypesAreLittleEndianOfFixedWidth)
{
    struct Case {
        const char* name;
        std::function<void(CArchive&)> write;
        std::string hex;
        std::function<void(CArchive&)> readBack;
    };
    const Case cases[] = {
        {"BYTE", [](CArchive& ar) { ar << (BYTE)0xA5; }, "A5",
         [](CArchive& ar) { BYTE v; ar >> v; EXPECT_EQ(0xA5, v); }},
        {"WORD", [](CArchive& ar) { ar << (WORD)0x1234; }, "3412",
         [](CArchive& ar) { WORD v; ar >> v; EXPECT_EQ(0x1234, v); }},
        {"LONG", [](CArchive& ar) { ar << (LONG)-2; }, "FEFFFFFF",
         [](CArchive& ar) { LONG v; ar >> v; EXPECT_EQ(-2, v); }},
        {"DWORD", [](CArchive& ar) { ar << (DWORD)0x89ABCDEF; }, "EFCDAB89",
         [](CArchive& ar) { DWORD v; ar >> v; EXPECT_EQ(0x89ABCDEFu, v); }},
        {"int", [](CArchive& ar) { ar << (int)0x01020304; }, "04030201",
         [](CArchive& ar) { int v; ar >> v; EXPECT_EQ(0x01020304, v); }},
        {"BOOL", [](CArchive& ar) { BOOL b = TRUE; ar << b; }, "01000000",
         [](CArchive& ar) { BOOL v; ar >> v; EXPECT_EQ(TRUE, v); }},
        {"short", [](CArchive& ar) { ar << (short)-3; }, "FDFF",
         [](CArchive& ar) { short v; ar >> v; EXPECT_EQ(-3, v); }},
        {"char", [](CArchive& ar) { ar << 'Z'; }, "5A",
         [](CArchive& ar) { char v; ar >> v; EXPECT_EQ('Z', v); }},
        {"unsigned", [](CArchive& ar) { ar << 7u; }, "07000000",
         [](CArchive& ar) { unsigned v; ar >> v; EXPECT_EQ(7u, v); }},
        {"float", [](CArchive& ar) { ar << 1.5f; }, "0000C03F",
         [](CArchive& ar) { float v; ar >> v; EXPECT_EQ(1.5f, v); }},
        {"double", [](CArchive& ar) { ar << -2.5; }, "00000000000004C0",
         [](CArchive& ar) { double v; ar >> v; EXPECT_EQ(-2.5, v); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.hex, StoreImage(c.write));
        EXPECT_EQ(0u, LoadImage(c.hex, c.readBack));
    }
}

TEST(ArchiveImage, StringLengthPrefixAtEveryBoundary)
{
    // A WORD length stays below 0xFFFE, the marker of UTF-16 text.
    const struct {
        int nLength;
        const char* prefix;
    } cases[] = {
        {0, "00"},
        {1, "01"},
        {254, "FE"},
        {255, "FFFF00"},
        {65533, "FFFDFF"},
        {65534, "FFFFFFFEFF0000"},
        {65535, "FFFFFFFFFF0000"},
        {65536, "FFFFFF00000100"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.nLength);
        CString text('x', c.nLength);
        std::string image = StoreImage([&](CArchive& ar) { ar << text; });
        std::string expected = std::string(c.prefix) + Repeat("78", c.nLength);
        EXPECT_EQ(std::string::npos, FirstDifference(expected, image));
        EXPECT_EQ(expected.size(), image.size());

        CString loaded("vorher");
        EXPECT_EQ(0u, LoadImage(image, [&](CArchive& ar) { ar >> loaded; }));
        EXPECT_EQ(c.nLength, loaded.GetLength());
        EXPECT_TRUE(loaded == text);
    }
}

TEST(ArchiveImage, StringKeepsAnsiBytesAndEmbeddedZeros)
{
    EXPECT_EQ("054772FCDF65", StoreImage([](CArchive& ar) { ar << CString("Grüße"); }));

    CString withZero("a\0b", 3);
    EXPECT_EQ("03610062", StoreImage([&](CArchive& ar) { ar << withZero; }));
    CString loaded;
    LoadImage("03610062", [&](CArchive& ar) { ar >> loaded; });
    EXPECT_EQ(3, loaded.GetLength());
    EXPECT_EQ('b', loaded[2]);
}

TEST(ArchiveImage, StringMarkedAsUtf16IsConvertedToAnsi)
{
    CString loaded;
    EXPECT_EQ(0u, LoadImage("FFFEFF05" "4700" "7200" "FC00" "DF00" "6500", [&](CArchive& ar) { ar >> loaded; }));
    EXPECT_STREQ("Grüße", loaded);
}

TEST(ArchiveImage, CountPrefixAtEveryBoundary)
{
    const struct {
        DWORD nCount;
        const char* hex;
    } cases[] = {
        {0, "0000"},
        {0xFFFE, "FEFF"},
        {0xFFFF, "FFFFFFFF0000"},
        {0x12345678, "FFFF78563412"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.nCount);
        EXPECT_EQ(c.hex, StoreImage([&](CArchive& ar) { ar.WriteCount(c.nCount); }));
        DWORD nRead = 0;
        LoadImage(c.hex, [&](CArchive& ar) { nRead = ar.ReadCount(); });
        EXPECT_EQ(c.nCount, nRead);
    }
}

TEST(ArchiveImage, ByteArrayIsCountThenBytes)
{
    const struct {
        int nSize;
        const char* prefix;
    } cases[] = {
        {0, "0000"},
        {2, "0200"},
        {0xFFFE, "FEFF"},
        {0xFFFF, "FFFFFFFF0000"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.nSize);
        CByteArray bytes;
        bytes.SetSize(c.nSize);
        for (int i = 0; i < c.nSize; ++i)
            bytes[i] = (BYTE)(0xA0 + i % 16);
        std::string image = StoreImage([&](CArchive& ar) { bytes.Serialize(ar); });
        std::string expected = c.prefix + afxtest::ToHex(bytes.GetData(), (size_t)c.nSize);
        EXPECT_EQ(std::string::npos, FirstDifference(expected, image));

        CByteArray loaded;
        loaded.Add(0x55);
        EXPECT_EQ(0u, LoadImage(image, [&](CArchive& ar) { loaded.Serialize(ar); }));
        ASSERT_EQ(c.nSize, loaded.GetSize());
        EXPECT_EQ(0, c.nSize == 0 ? 0 : memcmp(bytes.GetData(), loaded.GetData(), (size_t)c.nSize));
    }
}

TEST(ArchiveImage, OleDateTimeAndSpanAreStatusThenDouble)
{
    COleDateTime nullDate;
    nullDate.SetStatus(COleDateTime::null);
    COleDateTime invalidDate;
    invalidDate.SetDateTime(2005, 2, 30, 0, 0, 0);
    const struct {
        const char* name;
        COleDateTime date;
        const char* hex;
    } cases[] = {
        {"2000-01-01", COleDateTime(2000, 1, 1, 0, 0, 0), "00000000" "00000000C0D5E140"},
        {"2024-03-05 14:30", COleDateTime(2024, 3, 5, 14, 30, 0), "00000000" "555555559325E640"},
        {"null", nullDate, "02000000" "0000000000000000"},
        {"invalid", invalidDate, "01000000" "0000000000000000"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.hex, StoreImage([&](CArchive& ar) { ar << c.date; }));
        COleDateTime loaded(1999, 9, 9, 9, 9, 9);
        LoadImage(c.hex, [&](CArchive& ar) { ar >> loaded; });
        EXPECT_EQ(c.date.GetStatus(), loaded.GetStatus());
        EXPECT_EQ(c.date.m_dt, loaded.m_dt);
    }

    COleDateTimeSpan span(1, 12, 0, 0);
    EXPECT_EQ("00000000" "000000000000F83F", StoreImage([&](CArchive& ar) { ar << span; }));
    COleDateTimeSpan loadedSpan;
    LoadImage("00000000" "000000000000F83F", [&](CArchive& ar) { ar >> loadedSpan; });
    EXPECT_TRUE(loadedSpan == span);
}

TEST(ArchiveImage, UnknownDateStatusReadsAsInvalid)
{
    COleDateTime loaded;
    LoadImage("07000000" "00000000C0D5E140", [&](CArchive& ar) { ar >> loaded; });
    EXPECT_EQ(COleDateTime::invalid, loaded.GetStatus());
}

TEST(ArchiveImage, TimeAndTimeSpanAreFourBytes)
{
    EXPECT_EQ("78563412", StoreImage([](CArchive& ar) { ar << CTime((time_t)0x12345678); }));
    EXPECT_EQ("586E0100", StoreImage([](CArchive& ar) { ar << CTimeSpan(1, 2, 3, 4); }));
    CTime time;
    CTimeSpan span;
    LoadImage("78563412" "586E0100", [&](CArchive& ar) { ar >> time >> span; });
    EXPECT_EQ((time_t)0x12345678, time.GetTime());
    EXPECT_EQ(93784, span.GetTotalSeconds());
}

TEST(ArchiveImage, OleVariantOfEachType)
{
    COleVariant varNull;
    varNull.vt = VT_NULL;
    CByteArray bytes;
    bytes.Add(1);
    bytes.Add(2);
    bytes.Add(3);
    const struct {
        const char* name;
        COleVariant value;
        const char* hex;
    } cases[] = {
        {"VT_EMPTY", COleVariant(), "0000"},
        {"VT_NULL", varNull, "0100"},
        {"VT_I2", COleVariant((short)-2), "0200" "FEFF"},
        {"VT_I4", COleVariant(0x12345678L), "0300" "78563412"},
        {"VT_R8", COleVariant(2.5), "0500" "0000000000000440"},
        {"VT_DATE", COleVariant(COleDateTime(2000, 1, 1, 0, 0, 0)), "0700" "00000000C0D5E140"},
        {"VT_BSTR", COleVariant("Grüße"), "0800" "05" "4772FCDF65"},
        {"VT_BOOL true", COleVariant((short)1, VT_BOOL), "0B00" "FFFF"},
        {"VT_BOOL false", COleVariant((short)0, VT_BOOL), "0B00" "0000"},
        {"VT_UI1", COleVariant((BYTE)0xAB), "1100" "AB"},
        {"VT_ARRAY|VT_UI1", COleVariant(bytes), "1120" "0300" "010203"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.hex, StoreImage([&](CArchive& ar) { ar << c.value; }));
        COleVariant loaded(99L);
        EXPECT_EQ(0u, LoadImage(c.hex, [&](CArchive& ar) { ar >> loaded; }));
        EXPECT_EQ(c.value.vt, loaded.vt);
        EXPECT_TRUE(loaded == c.value);
    }
}

TEST(ArchiveImage, CollectionsAreCountThenElements)
{
    CStringList stringList;
    stringList.AddTail("a");
    stringList.AddTail("bc");
    CStringArray stringArray;
    stringArray.Add("x");
    CDWordArray dwords;
    dwords.Add(1);
    dwords.Add(0xFFFFFFFF);
    CWordArray words;
    words.Add(0x1234);
    CMapStringToString strings;
    strings["a"] = "1";
    strings["b"] = "2"; // bucket 13, after "a" in bucket 12
    CMap<DWORD, DWORD, WORD, WORD> plain;
    plain[0x10] = 7;

    const struct {
        const char* name;
        CObject* pCollection;
        const char* hex;
    } cases[] = {
        {"CStringList", &stringList, "0200" "0161" "026263"},
        {"CStringArray", &stringArray, "0100" "0178"},
        {"CDWordArray", &dwords, "0200" "01000000" "FFFFFFFF"},
        {"CWordArray", &words, "0100" "3412"},
        {"CMapStringToString", &strings, "0200" "0161" "0131" "0162" "0132"},
        {"CMap<DWORD,WORD>", &plain, "0100" "10000000" "0700"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.hex, StoreImage([&](CArchive& ar) { c.pCollection->Serialize(ar); }));
        // Reading into a fresh object of the same class and writing it again gives the image.
        CRuntimeClass* pClass = c.pCollection->GetRuntimeClass();
        std::unique_ptr<CObject> pCopy(pClass->m_pfnCreateObject != NULL ? pClass->CreateObject()
                                                                        : new CMap<DWORD, DWORD, WORD, WORD>);
        EXPECT_EQ(0u, LoadImage(c.hex, [&](CArchive& ar) { pCopy->Serialize(ar); }));
        EXPECT_EQ(c.hex, StoreImage([&](CArchive& ar) { pCopy->Serialize(ar); }));
    }
}

TEST(ArchiveObjects, ClassAndObjectReferences)
{
    CArchiveProbe a(0x11), b(0x22);
    std::string image = StoreImage([&](CArchive& ar) {
        ar << &a;              // new class (number 1), new object (2)
        ar << &b;              // known class 1, new object (3)
        ar << &a;              // object 2 again
        ar << (CObject*)NULL;  // NULL
    });
    EXPECT_EQ("FFFF" "0300" "0D00" HEX_CARCHIVEPROBE "11000000"
              "0180" "22000000"
              "0200"
              "0000",
              image);

    CArchiveProbe *pA = NULL, *pB = NULL, *pA2 = NULL;
    CObject* pNull = &a;
    EXPECT_EQ(0u, LoadImage(image, [&](CArchive& ar) { ar >> pA >> pB >> pA2 >> pNull; }));
    ASSERT_NE(nullptr, pA);
    ASSERT_NE(nullptr, pB);
    EXPECT_EQ(pA, pA2);
    EXPECT_EQ(nullptr, pNull);
    EXPECT_EQ(0x11, pA->m_nValue);
    EXPECT_EQ(0x22, pB->m_nValue);
    EXPECT_EQ(3u, pA->m_nSchemaSeen);
    EXPECT_EQ(3u, pB->m_nSchemaSeen);
    delete pA;
    delete pB;
}

TEST(ArchiveObjects, VersionableClassWritesItsSchemaAndReadsOlderOnes)
{
    CVersionedProbe v(5);
    EXPECT_EQ("FFFF" "0200" "0F00" HEX_CVERSIONEDPROBE "05000000", StoreImage([&](CArchive& ar) { ar << &v; }));

    CVersionedProbe* pLoaded = NULL;
    LoadImage("FFFF" "0100" "0F00" HEX_CVERSIONEDPROBE "07000000", [&](CArchive& ar) { ar >> pLoaded; });
    ASSERT_NE(nullptr, pLoaded);
    EXPECT_EQ(1u, pLoaded->m_nSchemaSeen);
    EXPECT_EQ(7, pLoaded->m_nValue);
    delete pLoaded;
}

TEST(ArchiveObjects, DamagedImagesThrowArchiveExceptions)
{
    std::vector<std::unique_ptr<CObject>> created;
    auto readAny = [&](CArchive& ar) {
        CObject* p = NULL;
        ar >> p;
        created.emplace_back(p);
    };
    auto readTwo = [&](CArchive& ar) {
        readAny(ar);
        readAny(ar);
    };
    const struct {
        const char* name;
        std::string hex;
        std::function<void(CArchive&)> read;
        int cause;
    } cases[] = {
        {"schema of a non-versionable class differs", "FFFF" "0200" "0D00" HEX_CARCHIVEPROBE "11000000", readAny,
         CArchiveException::badSchema},
        {"unknown class", "FFFF" "0100" "0300" "585858", readAny, CArchiveException::badClass},
        {"class name of 64 characters", "FFFF" "0100" "4000" + Repeat("41", 64), readAny, CArchiveException::badClass},
        {"object of another class than requested", "FFFF" "0300" "0D00" HEX_CARCHIVEPROBE "11000000",
         [&](CArchive& ar) { created.emplace_back(ar.ReadObject(RUNTIME_CLASS(CVersionedProbe))); },
         CArchiveException::badClass},
        {"object number not read yet", "0500", readAny, CArchiveException::badIndex},
        {"class number not read yet", "0280", readAny, CArchiveException::badIndex},
        {"object number that names a class", "FFFF" "0300" "0D00" HEX_CARCHIVEPROBE "11000000" "0100", readTwo,
         CArchiveException::badIndex},
        {"class number that names an object", "FFFF" "0300" "0D00" HEX_CARCHIVEPROBE "11000000" "0280", readTwo,
         CArchiveException::badIndex},
        {"object data cut short", "FFFF" "0300" "0D00" HEX_CARCHIVEPROBE "1100", readAny,
         CArchiveException::endOfFile},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.cause, ArchiveCause(c.hex, c.read));
    }
}

TEST(ArchiveObjects, NumbersFrom0x7FFFUseTheEscape)
{
    // Class 1, then objects 2 .. 0x7FFF.
    std::vector<std::unique_ptr<CArchiveProbe>> probes;
    for (int i = 0; i < 0x7FFE; ++i)
        probes.emplace_back(new CArchiveProbe(i));
    CVersionedProbe v1(1), v2(2);
    std::string image = StoreImage([&](CArchive& ar) {
        for (auto& p : probes)
            ar << p.get();
        ar << &v1;                // new class 0x8000, object 0x8001
        ar << &v2;                // class 0x8000 again: escape with the class bit
        ar << probes[0x7FFC].get(); // object 0x7FFE: still a WORD
        ar << probes[0x7FFD].get(); // object 0x7FFF: escape
    });
    std::string tail = "FFFF" "0200" "0F00" HEX_CVERSIONEDPROBE "01000000"
                       "FF7F" "00800080" "02000000"
                       "FE7F"
                       "FF7F" "FF7F0000";
    ASSERT_GT(image.size(), tail.size());
    EXPECT_EQ(tail, image.substr(image.size() - tail.size()));

    std::vector<CObject*> loaded(probes.size() + 4, NULL);
    EXPECT_EQ(0u, LoadImage(image, [&](CArchive& ar) {
        for (CObject*& p : loaded)
            ar >> p;
    }));
    EXPECT_EQ(loaded[0x7FFC], loaded[probes.size() + 2]);
    EXPECT_EQ(loaded[0x7FFD], loaded[probes.size() + 3]);
    EXPECT_EQ(0x7FFD, ((CArchiveProbe*)loaded[probes.size() + 3])->m_nValue);
    ASSERT_TRUE(loaded[probes.size() + 1]->IsKindOf(RUNTIME_CLASS(CVersionedProbe)));
    EXPECT_EQ(2, ((CVersionedProbe*)loaded[probes.size() + 1])->m_nValue);
    for (size_t i = 0; i < probes.size() + 2; ++i)
        delete loaded[i];
}

TEST(Archive, ReadingPastTheEndThrowsEndOfFile)
{
    const struct {
        const char* name;
        const char* hex;
        std::function<void(CArchive&)> read;
    } cases[] = {
        {"WORD from one byte", "01", [](CArchive& ar) { WORD w; ar >> w; }},
        {"string longer than the rest", "05" "4142", [](CArchive& ar) { CString s; ar >> s; }},
        {"byte array count beyond the image", "FFFF" "FFFFFF7F" "0102",
         [](CArchive& ar) { CByteArray a; a.Serialize(ar); }},
        {"string list count beyond the image", "FFFF" "00000010" "0141",
         [](CArchive& ar) { CStringList l; l.Serialize(ar); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(CArchiveException::endOfFile, ArchiveCause(c.hex, c.read));
    }
}

TEST(Archive, DirectionIsChecked)
{
    EXPECT_EQ(CArchiveException::readOnly, ArchiveCause("00", [](CArchive& ar) { ar << (BYTE)1; }));
    int cause = -1;
    try {
        StoreImage([](CArchive& ar) { BYTE b; ar >> b; });
    } catch (CArchiveException* e) {
        cause = e->m_cause;
        e->Delete();
    }
    EXPECT_EQ(CArchiveException::writeOnly, cause);
}

TEST(Archive, SmallBufferWritesTheSameImage)
{
    auto write = [](CArchive& ar) {
        for (int i = 0; i < 300; ++i) {
            ar << (BYTE)i << (WORD)i << (DWORD)i << (double)i;
            ar << CString('a' + i % 26, i % 40);
        }
        std::vector<BYTE> block(10000, 0x5A);
        ar.Write(block.data(), (UINT)block.size());
    };
    std::string image = StoreImage(write);
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store, 16);
        write(ar);
    } // the destructor flushes
    UINT n = (UINT)file.GetLength();
    BYTE* p = file.Detach();
    std::string smallBuffered = afxtest::ToHex(p, n);
    free(p);
    EXPECT_EQ(std::string::npos, FirstDifference(image, smallBuffered));
}

TEST(Archive, CloseAfterLoadingLeavesTheFileBehindTheConsumedBytes)
{
    // The archive reads ahead; closing gives the unread bytes back to the file.
    EXPECT_EQ(8u, LoadImage("01020304050607080910", [](CArchive& ar) { WORD w; ar >> w; }));
}

TEST(Archive, AbortWritesNothing)
{
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        ar << (DWORD)1;
        ar.Abort();
    }
    EXPECT_EQ(0u, file.GetLength());
}
