// The key of one loaded entry: its record id and its footprint (the change counter the table
// stamps into every written row), both as numbers. The data controller keeps one per entry in its
// appointment or to-do map; every day on which an appointment occurs holds the same key in its day
// list.
//
// Keys are shared between threads (the update thread replaces them while the user-interface
// thread reads them, the occurrence thread spreads them over the day index), so a key is counted:
// every map entry, day-list entry and series waiting to be spread holds one reference, a reader
// takes one for as long as it uses the key, and the key is deleted by the Release that drops the
// last one. A key that leaves the day index is retired: from then on no day list takes it again
// (an occurrence thread that still spreads it stops).
#pragma once

#include <afx.h>

#include <utility>

class CItemVersion {
public:
    // From the texts of RECORDID and FOOTPRINT (base 10; a text that is no number gives 0), with
    // one reference, which the caller owns.
    CItemVersion(LPCTSTR lpszRecordId, LPCTSTR lpszFootprint);
    CItemVersion(long nRecordId, short nFootprint);
    CItemVersion(const CItemVersion&) = delete;
    CItemVersion& operator=(const CItemVersion&) = delete;

    void AddRef();
    // Drops a reference; the last one deletes the key.
    void Release();

    long GetRecordId() const { return m_nRecordId; }
    short GetFootprint() const { return m_nFootprint; }
    // The record id as the table stores it: ten digits with leading zeros ("%010d").
    CString GetIdText() const;

    BOOL IsRetired() const { return m_bRetired != 0; }
    void Retire() { ::InterlockedExchange(&m_bRetired, 1); }

    // The number of references (for checks).
    LONG GetRefCount() const { return m_nRefs; }

    // The base-10 value of a text (0 when it is no number).
    static long ParseNumber(LPCTSTR lpszText);

private:
    // Only Release deletes a key.
    ~CItemVersion() {}

    const long m_nRecordId;
    const short m_nFootprint;
    volatile LONG m_nRefs;
    volatile LONG m_bRetired;
};

// Holds one reference to a key for the lifetime of the holder.
class CItemVersionRef {
public:
    CItemVersionRef() : m_pKey(NULL) {}
    // bAddRef FALSE: takes over a reference the caller owns.
    explicit CItemVersionRef(CItemVersion* pKey, BOOL bAddRef = TRUE) : m_pKey(pKey)
    {
        if (m_pKey != NULL && bAddRef)
            m_pKey->AddRef();
    }
    CItemVersionRef(const CItemVersionRef& other) : CItemVersionRef(other.m_pKey) {}
    CItemVersionRef& operator=(const CItemVersionRef& other)
    {
        CItemVersionRef copy(other);
        std::swap(m_pKey, copy.m_pKey);
        return *this;
    }
    ~CItemVersionRef()
    {
        if (m_pKey != NULL)
            m_pKey->Release();
    }

    CItemVersion* Get() const { return m_pKey; }
    CItemVersion* operator->() const { return m_pKey; }
    explicit operator bool() const { return m_pKey != NULL; }

private:
    CItemVersion* m_pKey;
};
