// The walks of the user-interface thread over a collection (a head position, then steps until the
// position is NULL), each over a snapshot of its own: a walk begun while another runs (a report
// walking while a view repaints, a walk nested in another) neither makes the other skip nor repeat
// items.
//
// A position names its walk and the index of its next item: the walk's serial number in the upper
// half, the index + 1 in the lower half, so a position is never NULL. A walk's snapshot goes when
// the walk reaches its end; walks left before their end stay until more than kMaxWalks are open,
// then the oldest go. A step whose snapshot went (or whose walk never began here) takes a new
// snapshot from the refill and goes on at its index.
#pragma once

#include <afx.h>

#include <functional>
#include <map>
#include <vector>

template <class T> class CWalkSnapshots {
public:
    enum { kMaxWalks = 512 };

    // Begins a walk over the items: its head position, NULL when there are none.
    POSITION Begin(std::vector<T> items)
    {
        if (items.empty())
            return NULL;
        if (m_walks.size() >= kMaxWalks)
            m_walks.erase(m_walks.begin());
        const DWORD nSerial = m_nNextSerial++;
        if (m_nNextSerial == 0)
            m_nNextSerial = 1;
        m_walks[nSerial] = std::move(items);
        return Encode(nSerial, 0);
    }

    // The item at the position; the position moves on (NULL after the last, and the walk ends).
    // false (and a NULL position) when the position is past the walk's items.
    bool Next(POSITION& rPosition, T& item, const std::function<std::vector<T>()>& refill)
    {
        if (rPosition == NULL)
            return false;
        const DWORD nSerial = SerialOf(rPosition);
        const size_t nIndex = IndexOf(rPosition);
        auto it = m_walks.find(nSerial);
        if (it == m_walks.end()) {
            std::vector<T> items = refill ? refill() : std::vector<T>();
            if (nIndex >= items.size()) {
                rPosition = NULL;
                return false;
            }
            it = m_walks.emplace(nSerial, std::move(items)).first;
        }
        const std::vector<T>& items = it->second;
        if (nIndex >= items.size()) {
            rPosition = NULL;
            m_walks.erase(it);
            return false;
        }
        item = items[nIndex];
        if (nIndex + 1 < items.size())
            rPosition = Encode(nSerial, nIndex + 1);
        else {
            rPosition = NULL;
            m_walks.erase(it);
        }
        return true;
    }

    // The walks begun and not yet ended.
    size_t GetOpenCount() const { return m_walks.size(); }

private:
    static POSITION Encode(DWORD nSerial, size_t nIndex)
    {
        return (POSITION)(((UINT_PTR)nSerial << 32) | (UINT_PTR)(DWORD)(nIndex + 1));
    }
    static DWORD SerialOf(POSITION position) { return (DWORD)((UINT_PTR)position >> 32); }
    static size_t IndexOf(POSITION position) { return (size_t)(DWORD)(UINT_PTR)position - 1; }

    std::map<DWORD, std::vector<T>> m_walks;
    DWORD m_nNextSerial = 1;
};
