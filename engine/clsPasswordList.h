// The passwords of protected tables, shared by every process that has the library loaded, so that
// a table is asked for once as long as any of them lives.
//
// Shared area: the page-file backed mapping "QiVTabstorSharePWLDB07" of 65,548 bytes under the
// mutex "QiVTabstorSyncPWLDB07":
//
//   offset  size    content
//   ------  ------  ------------------------------------------------------------------------------
//        0       4  change counter, unsigned 32-bit little-endian, raised by every store
//        4  65,544  data area, enciphered as a whole with Blowfish under the list key: pairs of
//                   NUL-terminated strings (table path in upper case, then its password or the
//                   password's 72-byte key text), ended by an empty string
//
// Each process keeps a sorted copy (path to password) and reads the area again only when the
// change counter moved since its last load. Entries are never removed.
//
// Every operation on the area runs under the mutex. A wait of more than 2 seconds shows
// "Tabstor: timeout locking global data" and the operation leaves the area alone (Find finds
// nothing, Add adds nothing). After a mutex left by a process that died while holding it the area
// is read again whatever its counter says; it is kept when it deciphers to well-formed pairs (its
// counter is then raised, so that every process reads it again). An area that does not decipher
// to well-formed pairs is taken for lost: it starts again empty.
// An entry that would not fit the data area is refused (with a debug line).
#pragma once

#include <windows.h>

#include <cstdint>
#include <map>
#include <string>

#include "String.h"
#include "clsBlowfish.h"

class clsPasswordList {
public:
    static const uint32_t kAreaSize = 65548;
    static const uint32_t kDataSize = kAreaSize - 4;
    static const DWORD kLockTimeoutMs = 2000;

    // The list of the library (the shared names); other names make a list of its own (tests).
    clsPasswordList(const char* mutexName = "QiVTabstorSyncPWLDB07",
                    const char* mappingName = "QiVTabstorSharePWLDB07", DWORD lockTimeoutMs = kLockTimeoutMs);
    ~clsPasswordList();
    clsPasswordList(const clsPasswordList&) = delete;
    clsPasswordList& operator=(const clsPasswordList&) = delete;

    // The password registered for the path (letter case does not matter).
    bool Find(const char* path, String& password);
    // Registers or replaces; false when the area could not take it.
    bool Add(const char* path, const char* password);

    // The steps of Find and Add, for callers that hold the mutex themselves.
    bool Lock();
    void Unlock();
    void Load();
    bool Store();

    bool IsShared() const { return m_view != nullptr; }

private:
    // Empties the copy and the area (under the mutex).
    void Reinitialise();
    // The pairs of a deciphered data area; false when it is not well formed.
    static bool ParsePairs(const uint8_t* data, std::map<std::string, std::string>& pairs);

    std::map<std::string, std::string> m_entries; // upper-case path -> password
    uint32_t m_localCounter = 0;
    HANDLE m_mutex = nullptr;
    HANDLE m_mapping = nullptr;
    uint8_t* m_view = nullptr;
    clsBlowfish m_listCipher;
    DWORD m_lockTimeoutMs;
    bool m_abandoned = false;
};

// The library's list.
extern clsPasswordList g_PasswordList;
