// The module records of one symbol-reader object: sorted by load address, handed to the crash
// handler as IDBGModuleList. Records are shared between a list and its clones through a
// reference count of their own, so each record is freed once, by the last list that holds it.
#pragma once

#include <vector>

#include "DBGHelp.h"

class clsModuleList : public IDBGModuleList {
public:
    clsModuleList() = default;
    clsModuleList(const clsModuleList& other);
    clsModuleList& operator=(const clsModuleList&) = delete;
    virtual ~clsModuleList();

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE Next(ULONG count, DBGModuleItem** items, ULONG* fetched) override;
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override;
    HRESULT STDMETHODCALLTYPE Reset() override;
    HRESULT STDMETHODCALLTYPE Clone(IDBGModuleList** list) override;
    BOOL STDMETHODCALLTYPE IsEmpty() override;

    // Takes the record (allocated with new) into the list before the first record with a higher
    // load address; records with equal addresses keep their order of arrival.
    void Insert(DBGModuleItem* item);
    // Frees every record this list holds.
    void Clear();
    size_t Count() const { return m_items.size(); }
    const DBGModuleItem* At(size_t i) const { return m_items[i]->item; }

private:
    struct Shared {
        DBGModuleItem* item;
        long refs;
    };
    long m_refs = 0;
    std::vector<Shared*> m_items;
    size_t m_cursor = 0;
};
