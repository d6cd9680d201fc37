#include "clsModuleList.h"

#include <new>

clsModuleList::clsModuleList(const clsModuleList& other) : m_items(other.m_items)
{
    for (Shared* s : m_items)
        InterlockedIncrement(&s->refs);
}

clsModuleList::~clsModuleList() { Clear(); }

void clsModuleList::Clear()
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

void clsModuleList::Insert(DBGModuleItem* item)
{
    Shared* s = new Shared{item, 1};
    auto it = m_items.begin();
    while (it != m_items.end() && (*it)->item->qwModuleBase <= item->qwModuleBase)
        ++it;
    m_items.insert(it, s);
}

HRESULT clsModuleList::QueryInterface(REFIID iid, void** out)
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

ULONG clsModuleList::AddRef() { return (ULONG)++m_refs; }

ULONG clsModuleList::Release()
{
    if (--m_refs > 0)
        return (ULONG)m_refs;
    delete this;
    return 0;
}

HRESULT clsModuleList::Next(ULONG count, DBGModuleItem** items, ULONG* fetched)
{
    ULONG n = 0;
    while (n < count && m_cursor < m_items.size())
        items[n++] = m_items[m_cursor++]->item;
    if (fetched)
        *fetched = n;
    return n == count ? S_OK : S_FALSE;
}

HRESULT clsModuleList::Skip(ULONG count)
{
    for (ULONG i = 0; i < count; i++) {
        if (m_cursor >= m_items.size())
            return S_FALSE;
        m_cursor++;
    }
    return S_OK;
}

HRESULT clsModuleList::Reset()
{
    m_cursor = 0;
    return S_OK;
}

HRESULT clsModuleList::Clone(IDBGModuleList** list)
{
    if (!list)
        return E_POINTER;
    *list = nullptr;
    clsModuleList* copy = new (std::nothrow) clsModuleList(*this);
    if (!copy)
        return E_OUTOFMEMORY;
    return copy->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(list));
}

BOOL clsModuleList::IsEmpty() { return m_items.empty() ? 1 : 0; }
