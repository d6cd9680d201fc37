// Key seeks (see Seek.h).
//
// db_seek: position on the key under one index lock (a shared table); a key found on a hidden
// record (filter procedure, index filter, deleted setting, filter expression) is followed in key
// order while the records with the key stay hidden; nothing visible found: the end-of-file
// position. db_softseek does the same skipping whatever the search found, stops on the first
// visible record even when its key differs, and never moves to the end of file by itself.
#include "Seek.h"

#include <windows.h>

#include <cstring>

#include "BTree.h"
#include "CallFrame.h"
#include "Collation.h"
#include "Conversions.h"
#include "IndexSlots.h"
#include "Navigation.h"
#include "NtxFormat.h"
#include "PathHelpers.h"
#include "Phonetic.h"
#include "TextHelpers.h"
#include "WorkAreas.h"
#include "clsIndexLock.h"
#include "clsKeepError.h"

namespace {

// Characters of a search text read as a number.
const int kNumberChars = 48;

// A search text in the form of the stored keys, with its compare length.
struct SearchKey {
    char text[DB_KEY_BUFFER] = {};
    size_t length = 0;
};

void Convert(s_Area& area, const s_Index& slot, const char* given, bool phonetic, SearchKey& key)
{
    const unsigned keySize = _idx_key_size(slot);
    if (slot.keyType == 'N') {
        const size_t length = std::strlen(given);
        const double x = _text_to_number(given, length < (size_t)kNumberChars ? (int)length : kNumberChars);
        char number[64];
        const int decimals = dbf::Get16(slot.header + ntx::kDecimalsAt);
        SafeStrCopy(key.text, _numeric_key((int)keySize, x, number, (int)keySize, decimals), sizeof key.text);
    } else {
        SafeStrCopy(key.text, given, sizeof key.text);
        if (phonetic && slot.phonetic) {
            _phonetic(&area, key.text);
            StrTrimRight(key.text);
        }
        _idx_date_search_form(slot, key.text);
    }
    const size_t length = std::strlen(key.text);
    key.length = length < keySize ? length : keySize;
}

// The search key against a stored key (keySize bytes): equal over the compare length, as a full
// key or, with the exact setting off, as a prefix.
bool Matches(const s_Area& area, const SearchKey& key, const char* stored, unsigned keySize)
{
    char copy[DB_KEY_BUFFER];
    std::memcpy(copy, stored, keySize);
    copy[keySize] = 0;
    if (_str_compare_n(&area, key.text, copy, key.length) != 0)
        return false;
    return key.length == keySize || !area.job->exact;
}

bool ErrorRaised(const s_Area& area) { return area.job->currentError != 0; }

void ToEndOfFile(s_Area& area)
{
    _db_set_eof_position(area);
    area.bof = area.recordCount == 0;
    area.eof = 1;
}

// The common start of the seek exports: the area with a controlling index, or NULL (answer FALSE).
s_Area* SeekArea(s_Job* job)
{
    s_Area* area = _db_current_table(job);
    if (!area || !_db_refresh_count(*area))
        return nullptr;
    area->stopFlag = 0;
    if (!_idx_in_use(*area, area->order)) {
        _db_raise_error(DBE_BAD_ORDER);
        return nullptr;
    }
    return area;
}

} // namespace

bool _db_seek(s_Area& area, const char* text, bool soft)
{
    const int slot = area.order;
    s_Index& index = area.indexes[slot];
    index.area = &area;
    const unsigned keySize = _idx_key_size(index);
    SearchKey key;
    Convert(area, index, text, !soft, key);
    area.found = 0;

    // One lock period from the search to the end of the skipping.
    clsIndexLock lock(area, slot);
    if (!area.exclusive && !lock.Lock(TRUE, TRUE))
        return false;
    const int result = _ntx_position(area, index, key.text);
    bool found = result == 0 || (result == 1 && !area.job->exact);
    if ((found || soft) && result >= 0 && result != 3) {
        while (!ErrorRaised(area) && _db_visible(area) == 0) {
            {
                clsKeepError keep;
                db_skip(1);
            }
            if (ErrorRaised(area) || (soft && area.stopFlag))
                break;
            if (area.eof) {
                found = false;
                break;
            }
            const uint8_t* entry = _ntx_current_key(index);
            if (!entry) {
                _db_raise_error(DBE_INDEX_BAD);
                return false;
            }
            if (!Matches(area, key, (const char*)entry + ntx::kItemKeyAt, keySize)) {
                found = false;
                if (!soft)
                    break;
            }
        }
    }
    if (!found && !soft && area.recno != DB_EOF_RECNO)
        ToEndOfFile(area);
    area.found = found;
    return found;
}

// ---- exports ----------------------------------------------------------------------------------

extern "C" BOOL DB_CALL db_seek(const char* key)
{
    DbFrame<BOOL, RF_INT> f(DBF_GUARD | DBF_CRASH_REPORT, "@DbSeek('%s')", key);
    s_Job* job = f.Job();
    s_Area* area = SeekArea(job);
    if (!area)
        return f(FALSE);
    const bool found = _db_seek(*area, key ? key : "", false);
    _db_follow_relations(job, *area);
    return f(found);
}

extern "C" BOOL DB_CALL db_find(const char* key) { return db_seek(key); }

extern "C" BOOL DB_CALL db_softseek(const char* key)
{
    DbFrame<BOOL, RF_INT> f(DBF_GUARD | DBF_CRASH_REPORT, "@DbSoftseek('%s')", key);
    s_Job* job = f.Job();
    s_Area* area = SeekArea(job);
    if (!area)
        return f(FALSE);
    const bool found = _db_seek(*area, key ? key : "", true);
    _db_follow_relations(job, *area);
    return f(found);
}

extern "C" BOOL DB_CALL db_seek_next(const char* key)
{
    DbFrame<BOOL, RF_INT> f(DBF_GUARD | DBF_CRASH_REPORT, "@DbSeekNext('%s')", key);
    s_Job* job = f.Job();
    s_Area* area = SeekArea(job);
    if (!area)
        return f(FALSE);
    area->found = 0;
    {
        clsKeepError keep;
        db_skip(1);
    }
    if (area->eof || ErrorRaised(*area))
        return f(FALSE);
    const int slot = area->order;
    const s_Index& index = area->indexes[slot];
    SearchKey search;
    Convert(*area, index, key ? key : "", true, search);
    char current[DB_KEY_BUFFER];
    if (!_idx_key_text(*area, slot, current))
        return f(FALSE);
    area->found = Matches(*area, search, current, _idx_key_size(index));
    _db_follow_relations(job, *area);
    return f(area->found != 0);
}

// ---- shared with the other seeks ------------------------------------------------------------

s_Area* _db_seek_start(s_Job* job) { return SeekArea(job); }

void _db_seek_to_eof(s_Area& area) { ToEndOfFile(area); }

bool _db_seek_matches(const s_Area& area, const char* text, const char* stored, unsigned keySize)
{
    SearchKey key;
    SafeStrCopy(key.text, text, sizeof key.text);
    const size_t length = std::strlen(key.text);
    key.length = length < keySize ? length : keySize;
    return Matches(area, key, stored, keySize);
}
