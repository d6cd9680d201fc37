#include "clsPasswordList.h"

#include <cstring>
#include <memory>
#include <new>

#include "DbfFormat.h"
#include "DebugOutput.h"
#include "LibMessageBox.h"

clsPasswordList g_PasswordList;

namespace {

// The list's own Blowfish password (the 0xF6 is a small o with diaeresis in code page 1252).
const char kListKey[] = "Qm8{\xF6Trv5<Hz";

// Bytes a pair takes in the data area.
size_t PairSize(const std::string& path, const std::string& password) { return path.size() + password.size() + 2; }

std::string UpperPath(const char* path) { return std::string((const char*)String(path).Upper()); }

// A path the area can hold and read back: not empty, shorter than MAX_PATH, no control bytes.
bool StorablePath(const std::string& path)
{
    if (path.empty() || path.size() >= MAX_PATH)
        return false;
    for (unsigned char c : path)
        if (c < 0x20)
            return false;
    return true;
}

// Scratch copies of the area hold passwords: wipe them before they are freed.
struct WipedBuffer {
    explicit WipedBuffer(size_t size) : bytes(new (std::nothrow) uint8_t[size]()), size(size) {}
    ~WipedBuffer()
    {
        if (bytes)
            SecureZeroMemory(bytes.get(), size);
    }
    std::unique_ptr<uint8_t[]> bytes;
    size_t size;
};

} // namespace

clsPasswordList::clsPasswordList(const char* mutexName, const char* mappingName, DWORD lockTimeoutMs)
    : m_lockTimeoutMs(lockTimeoutMs)
{
    m_listCipher.SetKey(kListKey);
    m_mutex = CreateMutexA(nullptr, FALSE, mutexName);
    m_mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE | SEC_COMMIT, 0, kAreaSize,
                                   mappingName);
    const bool created = m_mapping && GetLastError() != ERROR_ALREADY_EXISTS;
    if (m_mapping)
        m_view = (uint8_t*)MapViewOfFile(m_mapping, FILE_MAP_WRITE, 0, 0, kAreaSize);
    if (!m_mutex || !m_view) {
        DebugPrintf("WRN: clsPasswordList: no shared password list (%lu); passwords stay in this process",
                    GetLastError());
        if (m_view)
            UnmapViewOfFile(m_view);
        m_view = nullptr;
        return;
    }
    // The process that made the mapping starts the list, unless another one has stored into it
    // since (it found the mapping before this one initialised it).
    if (created && Lock()) {
        if (dbf::Get32(m_view) == 0)
            Reinitialise();
        Unlock();
    }
}

clsPasswordList::~clsPasswordList()
{
    for (auto& entry : m_entries)
        SecureZeroMemory(entry.second.data(), entry.second.size());
    if (m_view)
        UnmapViewOfFile(m_view);
    if (m_mapping)
        CloseHandle(m_mapping);
    if (m_mutex)
        CloseHandle(m_mutex);
}

bool clsPasswordList::Lock()
{
    if (!m_view)
        return true;
    switch (WaitForSingleObject(m_mutex, m_lockTimeoutMs)) {
    case WAIT_OBJECT_0:
        return true;
    case WAIT_ABANDONED:
        // Its owner died while it held the list: what it left cannot be trusted.
        m_abandoned = true;
        return true;
    default:
        LibMessageBox(nullptr, "Tabstor: timeout locking global data", "Error", MB_ICONHAND);
        return false;
    }
}

void clsPasswordList::Unlock()
{
    if (m_view)
        ReleaseMutex(m_mutex);
}

bool clsPasswordList::ParsePairs(const uint8_t* data, std::map<std::string, std::string>& pairs)
{
    pairs.clear();
    size_t at = 0;
    auto next = [&](std::string& text) {
        const void* end = std::memchr(data + at, 0, kDataSize - at);
        if (!end)
            return false;
        const size_t length = (size_t)((const uint8_t*)end - (data + at));
        text.assign((const char*)data + at, length);
        at += length + 1;
        return true;
    };
    for (;;) {
        std::string path, password;
        if (at >= kDataSize || !next(path))
            return false;
        if (path.empty())
            return true;
        if (!StorablePath(path))
            return false;
        if (at >= kDataSize || !next(password))
            return false;
        pairs[path] = password;
    }
}

void clsPasswordList::Load()
{
    if (!m_view)
        return;
    // A process that ended while it held the list may have left it half written, whatever its
    // counter says: it is read again, and kept when it still holds well-formed pairs.
    const bool abandoned = m_abandoned;
    m_abandoned = false;
    const uint32_t shared = dbf::Get32(m_view);
    if (shared == m_localCounter && !abandoned)
        return;
    WipedBuffer data(kDataSize);
    if (!data.bytes)
        return;
    std::memcpy(data.bytes.get(), m_view + 4, kDataSize);
    m_listCipher.Decode(data.bytes.get(), kDataSize);
    std::map<std::string, std::string> pairs;
    if (!ParsePairs(data.bytes.get(), pairs)) {
        DebugPrintf(abandoned ? "WRN: clsPasswordList: the list was left by a process that ended while holding it "
                                "and cannot be read; it starts again empty"
                              : "WRN: clsPasswordList: the shared list cannot be read; it starts again empty");
        Reinitialise();
        return;
    }
    m_entries.swap(pairs);
    m_localCounter = shared;
    if (abandoned) {
        // Every other process reads the list as it now stands.
        DebugPrintf("WRN: clsPasswordList: the list was left by a process that ended while holding it; it is kept");
        m_localCounter = shared + 1;
        dbf::Put32(m_view, m_localCounter);
    }
}

bool clsPasswordList::Store()
{
    if (!m_view)
        return true;
    size_t total = 1;
    for (const auto& entry : m_entries)
        total += PairSize(entry.first, entry.second);
    if (total > kDataSize)
        return false;
    WipedBuffer data(kDataSize);
    if (!data.bytes)
        return false;
    size_t at = 0;
    for (const auto& entry : m_entries) {
        std::memcpy(data.bytes.get() + at, entry.first.c_str(), entry.first.size() + 1);
        at += entry.first.size() + 1;
        std::memcpy(data.bytes.get() + at, entry.second.c_str(), entry.second.size() + 1);
        at += entry.second.size() + 1;
    }
    m_listCipher.Encode(data.bytes.get(), kDataSize);
    std::memcpy(m_view + 4, data.bytes.get(), kDataSize);
    const uint32_t counter = dbf::Get32(m_view) + 1;
    dbf::Put32(m_view, counter);
    m_localCounter = counter;
    return true;
}

void clsPasswordList::Reinitialise()
{
    m_entries.clear();
    Store();
}

bool clsPasswordList::Find(const char* path, String& password)
{
    if (!path || !Lock())
        return false;
    Load();
    const auto found = m_entries.find(UpperPath(path));
    const bool known = found != m_entries.end();
    if (known)
        password = found->second.c_str();
    Unlock();
    return known;
}

bool clsPasswordList::Add(const char* path, const char* password)
{
    if (!path || !Lock())
        return false;
    Load();
    const std::string key = UpperPath(path);
    const std::string value = password ? password : "";
    size_t total = 1;
    for (const auto& entry : m_entries)
        if (entry.first != key)
            total += PairSize(entry.first, entry.second);
    total += PairSize(key, value);
    bool added = false;
    if (!StorablePath(key))
        DebugPrintf("WRN: clsPasswordList::Add: no usable path for the password");
    else if (total > kDataSize)
        DebugPrintf("WRN: clsPasswordList::Add: the shared list is full; the password of '%s' is not kept",
                    key.c_str());
    else {
        m_entries[key] = value;
        added = Store();
    }
    Unlock();
    return added;
}
