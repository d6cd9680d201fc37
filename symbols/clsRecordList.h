// The reference-counted enumeration of records that the symbol reader hands to the crash handler
// (IDBGModuleList over DBGModuleItem, IDBGStackTraceList over DBGStackTraceItem): COM calling
// rules, IID_IUnknown as the only interface identity, a cursor, and records owned by the list.
// A clone shares the records through a count of their own, so each record is freed once, by the
// last list that holds it.
#pragma once

#include <windows.h>

#include <new>
#include <vector>

template <class Interface, class Item>
class clsRecordList : public Interface {
public:
    clsRecordList() = default;
    clsRecordList(const clsRecordList& other) : m_items(other.m_items)
    {
        for (Shared* s : m_items)
            InterlockedIncrement(&s->refs);
    }
    clsRecordList& operator=(const clsRecordList&) = delete;
    virtual ~clsRecordList() { Clear(); }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        if (!IsEqualIID(iid, IID_IUnknown))
            return E_NOINTERFACE;
        *out = static_cast<IUnknown*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return (ULONG)++m_refs; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        if (--m_refs > 0)
            return (ULONG)m_refs;
        delete this;
        return 0;
    }
    // Up to count records from the cursor on; S_FALSE when the list ended first. The records stay
    // the list's.
    HRESULT STDMETHODCALLTYPE Next(ULONG count, Item** items, ULONG* fetched) override
    {
        ULONG n = 0;
        while (n < count && m_cursor < m_items.size())
            items[n++] = m_items[m_cursor++]->item;
        if (fetched)
            *fetched = n;
        return n == count ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override
    {
        for (ULONG i = 0; i < count; i++) {
            if (m_cursor >= m_items.size())
                return S_FALSE;
            m_cursor++;
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Reset() override
    {
        m_cursor = 0;
        return S_OK;
    }
    // A second list over the same records, its cursor at the start.
    HRESULT STDMETHODCALLTYPE Clone(Interface** list) override
    {
        if (!list)
            return E_POINTER;
        *list = nullptr;
        clsRecordList* copy = new (std::nothrow) clsRecordList(*this);
        if (!copy)
            return E_OUTOFMEMORY;
        return copy->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(list));
    }
    BOOL STDMETHODCALLTYPE IsEmpty() override { return m_items.empty() ? 1 : 0; }

    // Takes the record (allocated with new) at position index (at the end for Count()); false,
    // with the record freed, when there is no memory for it.
    bool InsertAt(size_t index, Item* item)
    {
        Shared* s = new (std::nothrow) Shared{item, 1};
        if (s) {
            try {
                m_items.insert(m_items.begin() + (ptrdiff_t)(index < m_items.size() ? index : m_items.size()), s);
                return true;
            } catch (...) {
                delete s;
            }
        }
        delete item;
        return false;
    }
    bool Append(Item* item) { return InsertAt(m_items.size(), item); }
    // Frees every record this list holds.
    void Clear()
    {
        for (Shared* s : m_items) {
            if (InterlockedDecrement(&s->refs) == 0) {
                delete s->item;
                delete s;
            }
        }
        m_items.clear();
        m_cursor = 0;
    }
    size_t Count() const { return m_items.size(); }
    const Item* At(size_t i) const { return m_items[i]->item; }

private:
    struct Shared {
        Item* item;
        long refs;
    };
    long m_refs = 0;
    std::vector<Shared*> m_items;
    size_t m_cursor = 0;
};
