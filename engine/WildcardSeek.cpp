// Wildcard seeks: db_seek_wild finds the first key of the controlling index that matches a
// wildcard pattern ('*' any run of characters, '?' any one character), db_seek_wild_next the next
// one after the current record.
//
// The search walks the index key by key from the current position (it cannot use the tree to skip
// ahead: a pattern may begin with a wildcard). Pattern and keys are compared in the sort order's
// comparison form (German Replace spells umlauts out), at most 255 characters of them; a phonetic
// index compares phonetic codes. A key is compared whole: the pattern's end is open, so "SMI"
// matches every key that begins with SMI. With the deleted setting or a filter in force, a match
// on a hidden record does not count (unless the stop flag ends the walk there). A shared table's
// controlling index stays locked for the whole walk.
#include <windows.h>

#include <cstring>
#include <string>

#include "BTree.h"
#include "CallFrame.h"
#include "Collation.h"
#include "IndexSlots.h"
#include "Navigation.h"
#include "NtxFormat.h"
#include "Phonetic.h"
#include "Seek.h"
#include "WorkAreas.h"
#include "clsIndexLock.h"
#include "clsKeepError.h"

namespace {

// Characters of a converted pattern and of a stored key that take part.
const size_t kWildChars = 255;

bool ErrorRaised(const s_Area& area) { return area.job->currentError != 0; }

void Report(const s_Area& area, int32_t position)
{
    if (area.job->positionCallback)
        area.job->positionCallback(area.index + 1, position, 1);
}

// The comparison form of pattern and keys for one search.
class WildForm {
public:
    WildForm(const s_Area& area, const s_Index& index)
        : m_area(area), m_collation(_db_collation_of(&area)), m_phonetic(index.phonetic != 0)
    {
        m_spelled = m_collation.sortOrder >= DB_SORT_GERMAN_REPLACE && m_collation.sortOrder <= DB_SORT_GERMAN_ALTERNATE;
    }

    // The pattern: in the sort order's form (at most 255 characters) or, in ASCII order, as given.
    void SetPattern(const char* pattern)
    {
        if (m_spelled) {
            char form[kWildChars + 1];
            _sort_key(m_collation, sizeof form, pattern, form);
            m_pattern = form;
        } else
            m_pattern = pattern;
        if (m_phonetic)
            _phonetic(&m_area, m_pattern.data());
    }
    const char* Pattern() const { return m_pattern.c_str(); }

    // A stored key (size bytes, at most 255 of them) in the same form; answers key.
    const char* Key(const char* stored, unsigned size)
    {
        const size_t n = size < kWildChars ? size : kWildChars;
        std::memcpy(m_raw, stored, n);
        m_raw[n] = 0;
        char* key = m_raw;
        if (m_spelled) {
            _sort_key(m_collation, sizeof m_form, m_raw, m_form);
            key = m_form;
        }
        if (m_phonetic)
            _phonetic(&m_area, key);
        return key;
    }

private:
    const s_Area& m_area;
    s_Collation m_collation;
    bool m_phonetic;
    bool m_spelled = false;
    std::string m_pattern;
    char m_raw[kWildChars + 1] = {};
    char m_form[kWildChars + 1] = {};
};

// The walk from the current index position; answers the found flag, which the area keeps.
bool WildSearch(s_Area& area, const char* pattern)
{
    const int slot = area.order;
    s_Index& index = area.indexes[slot];
    index.area = &area;
    WildForm form(area, index);
    form.SetPattern(pattern);
    area.found = 0;
    if (area.eof) {
        _db_set_eof_position(area);
        return false;
    }

    clsIndexLock lock(area, slot);
    if (!area.exclusive && !lock.Lock(TRUE, TRUE))
        return false;
    area.bof = area.eof = 0;
    area.bufferValid = 0;
    const bool visibility = area.job->deleted || area.filterProc || area.filterExpression;
    const unsigned keySize = _idx_key_size(index);
    while (!area.eof && !ErrorRaised(area)) {
        const uint8_t* entry = _ntx_current_key(index);
        if (!entry) {
            _db_raise_error(DBE_INDEX_BAD);
            break;
        }
        if (_wildcard_match(form.Pattern(), form.Key((const char*)entry + ntx::kItemKeyAt, keySize))) {
            if (!visibility)
                break;
            area.recno = (int32_t)ntx::ItemRecno(entry);
            const int visible = _db_visible(area);
            if (visible < 0)
                break;
            if (visible > 0 || area.stopFlag)
                break;
        }
        if (_ntx_step(index, 1) != 1) {
            area.eof = 1;
            break;
        }
        if (const uint8_t* next = _ntx_current_key(index))
            Report(area, (int32_t)ntx::ItemRecno(next));
    }
    lock.Unlock();

    const uint8_t* entry = area.eof || ErrorRaised(area) ? nullptr : _ntx_current_key(index);
    if (!entry) {
        _db_set_eof_position(area);
        area.eof = 1;
        Report(area, DB_EOF_RECNO);
        return false;
    }
    area.recno = (int32_t)ntx::ItemRecno(entry);
    Report(area, area.recno);
    area.found = 1;
    if (!_db_read_record(area, area.recno))
        area.found = 0;
    return area.found != 0;
}

// db_seek_wild (first: from the first visible record) and db_seek_wild_next (from the record
// after the current one).
BOOL SeekWild(s_Job* job, const char* pattern, bool first)
{
    s_Area* area = _db_seek_start(job);
    if (!area)
        return FALSE;
    area->found = 0;
    {
        clsKeepError keep;
        if (first)
            db_goto(0);
        else
            db_skip(1);
    }
    if (area->eof)
        return FALSE;
    const bool found = WildSearch(*area, pattern ? pattern : "");
    _db_follow_relations(job, *area);
    return found;
}

} // namespace

extern "C" BOOL DB_CALL db_seek_wild(const char* pattern)
{
    DbFrame<BOOL, RF_INT> f(DBF_GUARD | DBF_CRASH_REPORT, "@DbSeekWild('%s')", pattern);
    return f(SeekWild(f.Job(), pattern, true));
}

extern "C" BOOL DB_CALL db_seek_wild_next(const char* pattern)
{
    DbFrame<BOOL, RF_INT> f(DBF_GUARD | DBF_CRASH_REPORT, "@DbSeekWildNext('%s')", pattern);
    return f(SeekWild(f.Job(), pattern, false));
}
