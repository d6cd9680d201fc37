// The day index of the data controller: day serial (days since 1900-01-01) to the day list of the
// appointments that occur on that day. It owns its day lists; the lists hold references to the
// keys of the appointment map. To-dos are never in it.
//
// Add and Remove hold the index's lock for their whole run and lock one day list inside it (the
// only place where two collection locks are held at once: index, then list). Remove retires the
// key (CItemVersion::Retire) under that lock, and Add refuses a retired key under it, so an
// occurrence thread that still spreads a removed key can never put it back. Day lists that become
// empty stay in the index. The index remembers the days each record id was added on, so a removal
// visits only those days' lists (a ten-year series: 3,650 lists instead of every list).
#pragma once

#include <unordered_map>
#include <utility>
#include <vector>

#include "CDayList.h"
#include "CLockedMap.h"

// Days and keys to be added together (CDayIndex::AddEach).
typedef std::vector<std::pair<long, CItemVersionRef>> CDayEntries;

class CDayIndex : public CLockedMap<DWORD, DWORD, CDayList*, CDayList*> {
    typedef CLockedMap<DWORD, DWORD, CDayList*, CDayList*> CBase;

public:
    explicit CDayIndex(int nBlockSize = 100000, UINT nHashSize = 8191);
    // Deletes every day list.
    ~CDayIndex() override;

    // Appends the key to the day's list (made when the day has none); 1 when appended, 0 for a
    // retired key. Keys are appended without a check for duplicates.
    int Add(long nDay, CItemVersion* pKey);
    // Add for the days of the list from the position on, at most nMaxDays of them under one hold
    // of the index's lock; the position moves past the days added (NULL after the last). The
    // number of days added; it stops early at a retired key.
    int AddDays(const CList<DWORD, DWORD>& days, POSITION& rPosition, int nMaxDays, CItemVersion* pKey);
    // Add for each day and key of the list, in its order, under one hold of the index's lock;
    // retired keys are passed over. The number of keys appended.
    int AddEach(const CDayEntries& entries);
    // Retires the key, then removes from every day list the first key with its record id; 1 when
    // at least one list held it.
    int Remove(CItemVersion* pKey);
    // Empties the index in one locked step, then deletes every day list.
    void DeleteAllValues();

    // The number of keys on the day (0 when it has no list).
    int GetDayCount(long nDay) const;
    // The keys of the day in list order, with a reference each, taken in one locked step.
    std::vector<CItemVersionRef> GetDayKeys(long nDay) const;
    // The days whose list holds the record id, in ascending order, once per key on that day.
    std::vector<long> GetDaysOf(long nRecordId) const;

private:
    // Appends the key to the day's list and the day to the days of its record id; the index's
    // lock is held.
    void AddLocked(DWORD nDay, CItemVersion* pKey, std::vector<DWORD>& rDaysOfId);

    // Record id -> the days a key of that id was added on (once per add; guarded by the index's
    // lock). Every list that holds the id is among them.
    std::unordered_map<long, std::vector<DWORD>> m_daysOfId;

    using CBase::SetAt;
    using CBase::operator[];
    using CBase::RemoveKey;
    using CBase::RemoveKeyAndDelete;
    using CBase::RemoveAll;
};
