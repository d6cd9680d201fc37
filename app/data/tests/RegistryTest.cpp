// The registry helpers below a key of each test's own: values of every type read and written, a
// value of the wrong type, missing keys, and walks of a key tree with callbacks that keep what
// their depth asks for or end the walk.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CRegistryKey.h"

namespace {

class RegistryTest : public testing::Test {
protected:
    void SetUp() override
    {
        static LONG nTests = 0;
        m_strKey.Format("Software\\OxRegistryTest-%lu-%ld", GetCurrentProcessId(), InterlockedIncrement(&nTests));
    }
    void TearDown() override
    {
        RegDeleteTreeA(HKEY_CURRENT_USER, m_strKey);
        HKEY hKey;
        EXPECT_NE(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, m_strKey, 0, KEY_READ, &hKey))
            << "the test left its key behind";
    }
    CString Sub(LPCTSTR lpszPath) const { return m_strKey + "\\" + lpszPath; }

    // Type and size of a stored value as the registry reports them.
    void StoredTypeAndSize(LPCTSTR lpszSubkey, LPCTSTR lpszName, DWORD& dwType, DWORD& cb) const
    {
        dwType = REG_NONE;
        cb = 0;
        HKEY hKey;
        ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, lpszSubkey, 0, KEY_READ, &hKey));
        EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExA(hKey, lpszName, NULL, &dwType, NULL, &cb));
        RegCloseKey(hKey);
    }

    CString m_strKey;
};

// Records every callback; answers FALSE at the callback numbered m_nStopAt (counting from 1).
class RecordingKey : public CRegistryKey {
public:
    explicit RecordingKey(HKEY hRoot, int nStopAt = 0) : CRegistryKey(hRoot), m_nStopAt(nStopAt) {}

    BOOL OnValue(LPCTSTR lpszPath, LPCTSTR lpszName, const CRegistryValue& value, int nDepth) override
    {
        CString strText;
        DWORD dw;
        if (value.GetDword(dw))
            strText.Format("%lu", dw);
        else
            value.GetString(strText);
        m_calls.push_back(std::string("value ") + lpszPath + "|" + lpszName + "=" + (LPCTSTR)strText + " @" +
                          std::to_string(nDepth));
        return (int)m_calls.size() != m_nStopAt;
    }
    BOOL OnSubkey(LPCTSTR lpszName, int nDepth) override
    {
        m_calls.push_back(std::string("key ") + lpszName + " @" + std::to_string(nDepth));
        return (int)m_calls.size() != m_nStopAt;
    }

    int m_nStopAt;
    std::vector<std::string> m_calls;
};

// Collects the names of the subkeys directly below the walked key, as a caller that wants one
// level only does.
class TopLevelKeys : public CRegistryKey {
public:
    using CRegistryKey::CRegistryKey;
    BOOL OnSubkey(LPCTSTR lpszName, int nDepth) override
    {
        if (nDepth == 0)
            m_names.push_back(lpszName);
        return TRUE;
    }
    std::vector<std::string> m_names;
};

// Deletes a key (the one being walked, as another program might) at its first value.
class DeletingKey : public RecordingKey {
public:
    DeletingKey(HKEY hRoot, const CString& strDelete) : RecordingKey(hRoot), m_strDelete(strDelete) {}
    BOOL OnValue(LPCTSTR lpszPath, LPCTSTR lpszName, const CRegistryValue& value, int nDepth) override
    {
        RegDeleteTreeA(GetRoot(), m_strDelete);
        return RecordingKey::OnValue(lpszPath, lpszName, value, nDepth);
    }
    CString m_strDelete;
};

} // namespace

TEST_F(RegistryTest, ValuesOfEachType)
{
    CRegistryKey key(HKEY_CURRENT_USER);
    ASSERT_TRUE(key.WriteDword(Sub("Werte"), "Zahl", 0xFF0000));
    ASSERT_TRUE(key.WriteString(Sub("Werte"), "Text", "Gr\xFC\xDF" "e"));
    ASSERT_TRUE(key.WriteString(Sub("Werte"), "Leer", ""));
    ASSERT_TRUE(key.WriteValue(Sub("Werte"), "Pfad", CRegistryValue("%TEMP%\\ox", TRUE)));
    CRegistryValue bigEndian;
    ASSERT_TRUE(bigEndian.Allocate(4));
    memcpy(bigEndian.GetData(), "\x01\x02\x03\x04", 4);
    bigEndian.SetType(REG_DWORD_BIG_ENDIAN);
    ASSERT_TRUE(key.WriteValue(Sub("Werte"), "BigEndian", bigEndian));

    // A text is stored with its terminating zero, a number as 4 bytes.
    DWORD dwType, cb;
    StoredTypeAndSize(Sub("Werte"), "Text", dwType, cb);
    EXPECT_EQ((DWORD)REG_SZ, dwType);
    EXPECT_EQ(6u, cb);
    StoredTypeAndSize(Sub("Werte"), "Leer", dwType, cb);
    EXPECT_EQ(1u, cb);
    StoredTypeAndSize(Sub("Werte"), "Zahl", dwType, cb);
    EXPECT_EQ((DWORD)REG_DWORD, dwType);
    EXPECT_EQ(4u, cb);
    StoredTypeAndSize(Sub("Werte"), "Pfad", dwType, cb);
    EXPECT_EQ((DWORD)REG_EXPAND_SZ, dwType);

    DWORD dw = 0;
    EXPECT_TRUE(key.ReadDword(Sub("Werte"), "Zahl", dw));
    EXPECT_EQ(0xFF0000u, dw);
    EXPECT_TRUE(key.ReadDword(Sub("Werte"), "BigEndian", dw));
    EXPECT_EQ(0x04030201u, dw) << "the bytes are taken as stored";
    CString text;
    EXPECT_TRUE(key.ReadString(Sub("Werte"), "Text", text));
    EXPECT_STREQ("Gr\xFC\xDF" "e", text);
    EXPECT_TRUE(key.ReadString(Sub("Werte"), "Pfad", text));
    EXPECT_STREQ("%TEMP%\\ox", text);
    EXPECT_TRUE(key.ReadString(Sub("Werte"), "Leer", text));
    EXPECT_STREQ("", text);

    // The wrong type, a missing value or key: FALSE, and the default.
    dw = 7;
    EXPECT_FALSE(key.ReadDword(Sub("Werte"), "Text", dw));
    EXPECT_EQ(7u, dw);
    EXPECT_FALSE(key.ReadString(Sub("Werte"), "Zahl", text));
    EXPECT_FALSE(key.ReadDword(Sub("Werte"), "Fehlt", dw));
    EXPECT_FALSE(key.ReadDword(Sub("Fehlt"), "Zahl", dw));
    EXPECT_EQ(99u, key.ReadDwordDefault(Sub("Werte"), "Text", 99));
    EXPECT_EQ(0xFF0000u, key.ReadDwordDefault(Sub("Werte"), "Zahl", 99));

    CRegistryValue value("vorher");
    EXPECT_FALSE(key.ReadValue(Sub("Werte"), "Fehlt", value));
    EXPECT_EQ(nullptr, value.GetData());
    EXPECT_EQ(0u, value.GetSize());
    EXPECT_TRUE(key.ReadValue(Sub("Werte"), "Zahl", value));
    EXPECT_EQ((DWORD)REG_DWORD, value.GetType());
    EXPECT_EQ(4u, value.GetSize());

    // A key that cannot be created.
    CRegistryKey badRoot((HKEY)(ULONG_PTR)0x12345678);
    EXPECT_FALSE(badRoot.WriteDword("X", "Y", 1));
    EXPECT_FALSE(badRoot.ReadDword("X", "Y", dw));
}

TEST_F(RegistryTest, ValueObjects)
{
    CRegistryValue number(0x12345678);
    DWORD dw = 0;
    EXPECT_EQ((DWORD)REG_DWORD, number.GetType());
    EXPECT_TRUE(number.GetDword(dw));
    EXPECT_EQ(0x12345678u, dw);
    CString text;
    EXPECT_FALSE(number.GetString(text));

    CRegistryValue str("abc");
    EXPECT_EQ((DWORD)REG_SZ, str.GetType());
    EXPECT_EQ(4u, str.GetSize());
    EXPECT_EQ(0, str.GetData()[3]);
    EXPECT_FALSE(str.GetDword(dw));
    str.SetType(REG_LINK);
    EXPECT_TRUE(str.GetString(text));
    EXPECT_STREQ("abc", text);

    // A text without terminating zero ends with its bytes; a short DWORD is no number.
    CRegistryValue raw;
    ASSERT_TRUE(raw.Allocate(3));
    memcpy(raw.GetData(), "xyz", 3);
    raw.SetType(REG_SZ);
    EXPECT_TRUE(raw.GetString(text));
    EXPECT_STREQ("xyz", text);
    raw.SetType(REG_DWORD);
    EXPECT_FALSE(raw.GetDword(dw));
    raw.Free();
    EXPECT_EQ(nullptr, raw.GetData());
    EXPECT_FALSE(raw.GetDword(dw));
}

TEST_F(RegistryTest, Walks)
{
    CRegistryKey writer(HKEY_CURRENT_USER);
    ASSERT_TRUE(writer.WriteDword(Sub("Apps\\A"), "Nummer", 1));
    ASSERT_TRUE(writer.WriteString(Sub("Apps\\A"), "Titel", "Adressen"));
    ASSERT_TRUE(writer.WriteString(Sub("Apps\\A\\Users"), "Anna", "1"));
    ASSERT_TRUE(writer.WriteString(Sub("Apps\\B\\Users\\Tief"), "Carl", "x"));

    RecordingKey all(HKEY_CURRENT_USER);
    EXPECT_TRUE(all.Enumerate(Sub("Apps"), CRegistryKey::kValues | CRegistryKey::kSubkeys));
    std::string apps = (LPCTSTR)Sub("Apps");
    std::vector<std::string> expected = {
        "key A @0",
        "value " + apps + "\\A|Nummer=1 @1",
        "value " + apps + "\\A|Titel=Adressen @1",
        "key Users @1",
        "value " + apps + "\\A\\Users|Anna=1 @2",
        "key B @0",
        "key Users @1",
        "key Tief @2",
        "value " + apps + "\\B\\Users\\Tief|Carl=x @3",
    };
    EXPECT_EQ(expected, all.m_calls);

    // Only what the flags ask for.
    RecordingKey keysOnly(HKEY_CURRENT_USER);
    EXPECT_TRUE(keysOnly.Enumerate(Sub("Apps"), CRegistryKey::kSubkeys));
    EXPECT_EQ((std::vector<std::string>{"key A @0", "key Users @1", "key B @0", "key Users @1", "key Tief @2"}),
              keysOnly.m_calls);

    // A caller that keeps one level still sees the walk descend, and gets only that level.
    TopLevelKeys top(HKEY_CURRENT_USER);
    EXPECT_TRUE(top.Enumerate(Sub("Apps"), CRegistryKey::kSubkeys));
    EXPECT_EQ((std::vector<std::string>{"A", "B"}), top.m_names);

    // A FALSE answer ends the whole walk, also from inside a subkey.
    for (int nStop : {1, 3, 5}) {
        RecordingKey stopping(HKEY_CURRENT_USER, nStop);
        EXPECT_FALSE(stopping.Enumerate(Sub("Apps"), CRegistryKey::kValues | CRegistryKey::kSubkeys)) << nStop;
        EXPECT_EQ(std::vector<std::string>(expected.begin(), expected.begin() + nStop), stopping.m_calls) << nStop;
    }

    // The base class answers FALSE to its first callback.
    CRegistryKey base(HKEY_CURRENT_USER);
    EXPECT_FALSE(base.Enumerate(Sub("Apps"), CRegistryKey::kSubkeys));
    EXPECT_TRUE(base.Enumerate(Sub("Apps"), 0));
    EXPECT_FALSE(base.Enumerate(Sub("Apps\\A"), CRegistryKey::kValues));
    EXPECT_TRUE(base.Enumerate(Sub("Apps\\B\\Users\\Tief"), CRegistryKey::kSubkeys));
    EXPECT_FALSE(base.Enumerate(Sub("Fehlt"), CRegistryKey::kSubkeys));

    // The root itself (no subkey): walked through a handle of its own, the root stays usable.
    HKEY hApps;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, Sub("Apps"), 0, KEY_READ, &hApps));
    TopLevelKeys fromRoot(hApps);
    EXPECT_TRUE(fromRoot.Enumerate(NULL, CRegistryKey::kSubkeys));
    EXPECT_EQ((std::vector<std::string>{"A", "B"}), fromRoot.m_names);
    DWORD nSubkeys = 0;
    EXPECT_EQ(ERROR_SUCCESS,
              RegQueryInfoKeyA(hApps, NULL, NULL, NULL, &nSubkeys, NULL, NULL, NULL, NULL, NULL, NULL, NULL));
    EXPECT_EQ(2u, nSubkeys);
    RegCloseKey(hApps);
}

// A key deleted while it is walked fails at every later index and never answers that its values
// or subkeys are at their end: the walk of it still ends, with what it reported before.
TEST_F(RegistryTest, WalkOfAKeyDeletedMeanwhileEnds)
{
    CRegistryKey writer(HKEY_CURRENT_USER);
    ASSERT_TRUE(writer.WriteDword(Sub("Weg"), "A", 1));
    ASSERT_TRUE(writer.WriteDword(Sub("Weg"), "B", 2));
    ASSERT_TRUE(writer.WriteDword(Sub("Weg\\Unter"), "C", 3));

    DeletingKey walker(HKEY_CURRENT_USER, Sub("Weg"));
    struct Run {
        DeletingKey* pWalker;
        CString strKey;
        BOOL bResult;
    } run = {&walker, Sub("Weg"), FALSE};
    HANDLE hThread = CreateThread(
        NULL, 0,
        [](LPVOID p) -> DWORD {
            Run* r = static_cast<Run*>(p);
            r->bResult = r->pWalker->Enumerate(r->strKey, CRegistryKey::kValues | CRegistryKey::kSubkeys);
            return 0;
        },
        &run, 0, NULL);
    ASSERT_NE(nullptr, hThread);
    const DWORD dwWait = WaitForSingleObject(hThread, 10000);
    if (dwWait != WAIT_OBJECT_0)
        TerminateThread(hThread, 1);
    CloseHandle(hThread);
    ASSERT_EQ(WAIT_OBJECT_0, dwWait) << "the walk of the deleted key did not end";
    EXPECT_TRUE(run.bResult);
    EXPECT_EQ((std::vector<std::string>{"value " + std::string((LPCTSTR)Sub("Weg")) + "|A=1 @0"}), walker.m_calls);
}
