// Work areas: selection by number, reference and alias; allocation and freeing; the files-open
// count that keeps the files of the current area open between calls.
#include "WorkAreas.h"

#include <new>

#include "CallFrame.h"
#include "DbfFormat.h"
#include "EngineHooks.h"
#include "TableFile.h"
#include "Trace.h"

namespace {

bool AliasEqual(const char* a, const char* b)
{
    for (;; ++a, ++b) {
        unsigned char x = (unsigned char)*a, y = (unsigned char)*b;
        if (x >= 'A' && x <= 'Z')
            x = (unsigned char)(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z')
            y = (unsigned char)(y - 'A' + 'a');
        if (x != y)
            return false;
        if (!x)
            return true;
    }
}

void CloseHandleOf(HANDLE& h)
{
    if (h != INVALID_HANDLE_VALUE) {
        CloseHandle(h);
        h = INVALID_HANDLE_VALUE;
    }
}

// The shared tables whose count the calling thread took in its current outermost call, one bit
// per area index.
const int kNoteWords = (DB_AREA_COUNT + 63) / 64;
thread_local uint64_t t_countsTaken[kNoteWords];

// The body of db_files_close.
BOOL FilesClose(s_Job* job)
{
    if (job->filesOpen == 0)
        return TRUE;
    if (--job->filesOpen == 0)
        return _db_close_files(job);
    return TRUE;
}

} // namespace

int _db_area_by_designator(s_Job* job, const char* d)
{
    if (_db_is_area_ref(d)) {
        int n = (int)((intptr_t)d & 0xFF);
        if (n >= 1 && n <= DB_AREA_COUNT)
            return n;
        _db_raise_error(DBE_NO_ALIAS);
        return 0;
    }
    for (int i = 0; i < DB_AREA_COUNT; ++i)
        if (job->areas[i] && AliasEqual(job->areas[i]->alias, d))
            return i + 1;
    _db_raise_error(DBE_NO_ALIAS);
    return 0;
}

s_Area* _db_area_by_index(s_Job* job, int indexWithFlag)
{
    int index = indexWithFlag & 0x7FFF;
    if (index >= DB_AREA_COUNT) {
        if (_db_tracing())
            _db_trace(0, "[error: undefined area]");
        _db_raise_error(DBE_BAD_AREA);
        return nullptr;
    }
    s_Area* area = job->areas[index];
    if (!area && !(indexWithFlag & 0x8000))
        _db_raise_error(DBE_NO_TABLE);
    return area;
}

int _db_select_number(s_Job* job, int n)
{
    if (n == job->currentIndex + 1)
        return n;
    s_Area* left = job->currentArea;
    if (left && left->closeOnSelect) {
        const int count = job->filesOpen;
        _db_close_files(job);
        job->filesOpen = count;
    }
    job->currentIndex = n - 1;
    job->currentArea = job->areas[n - 1];
    s_Area* area = job->currentArea;
    if (area) {
        area->stopFlag = 0;
        if (job->filesOpen != 0 && area->file == INVALID_HANDLE_VALUE)
            _db_reopen_files(job);
    }
    return n;
}

s_Area* _db_alloc_area(s_Job* job)
{
    s_Area* area = new (std::nothrow) s_Area;
    if (!area)
        return nullptr;
    area->index = job->currentIndex;
    area->job = job;
    for (s_Index& slot : area->indexes)
        slot.area = area;
    job->areas[job->currentIndex] = area;
    job->currentArea = area;
    return area;
}

bool _db_free_area(s_Job* job, int index)
{
    if (index < 0 || index >= DB_AREA_COUNT || !job->areas[index])
        return true;
    s_Area* area = job->areas[index];
    job->currentIndex = index;
    job->currentArea = area;

    const bool written = _db_close_area_files(*area);

    if (g_EngineHooks.freeExpression) {
        g_EngineHooks.freeExpression(area->locateCondition);
        g_EngineHooks.freeExpression(area->filterExpression);
    }
    area->locateCondition = area->filterExpression = nullptr;
    if (area->relations && g_EngineHooks.freeRelations)
        g_EngineHooks.freeRelations(*area);
    for (int slot = 0; slot < DB_INDEX_SLOTS; ++slot) {
        s_Index& index = area->indexes[slot];
        if (index.name[0] && g_EngineHooks.releaseIndexSlot)
            g_EngineHooks.releaseIndexSlot(*area, slot);
        CloseHandleOf(index.file);
        index.name[0] = 0;
    }
    if (area->packed && g_EngineHooks.releasePacked)
        g_EngineHooks.releasePacked(*area);
    if (g_EngineHooks.releaseCipher)
        g_EngineHooks.releaseCipher(*area);
    delete area;

    job->areas[index] = nullptr;
    job->currentArea = nullptr;
    return written;
}

bool _db_close_area_files(s_Area& area)
{
    // The count is not written back: another station may have changed it meanwhile.
    area.recordCount = -1;
    bool written = true;
    if (g_EngineHooks.flushArea && !g_EngineHooks.flushArea(area))
        written = false;
    for (int slot = 0; slot < DB_INDEX_SLOTS; ++slot) {
        s_Index& index = area.indexes[slot];
        if (index.name[0] && index.file != INVALID_HANDLE_VALUE && g_EngineHooks.closeIndexFile &&
            !g_EngineHooks.closeIndexFile(area, slot))
            written = false;
        CloseHandleOf(index.file);
    }
    if (g_EngineHooks.unlockAreaAll)
        g_EngineHooks.unlockAreaAll(area);
    area.indexLockWord = 0;
    // The mapped headers go before their files close (a view keeps its file open).
    area.cache.reset();
    area.memoCache.reset();
    CloseHandleOf(area.file);
    CloseHandleOf(area.memoFile);
    area.headerWrittenKnown = 0;
    area.memoHeaderKnown = 0;
    return written;
}

BOOL _db_close_files(s_Job* job)
{
    job->filesOpen = 0;
    s_Area* area = job->currentArea;
    if (!area)
        return TRUE;
    return _db_close_area_files(*area) ? TRUE : FALSE;
}

void _db_note_count(const s_Area& area)
{
    if (area.exclusive || area.index < 0 || area.index >= DB_AREA_COUNT)
        return;
    t_countsTaken[area.index / 64] |= (uint64_t)1 << (area.index % 64);
    _db_mark_count_noted();
}

void _db_forget_counts(s_Job* job)
{
    if (!_db_take_count_noted())
        return;
    for (int word = 0; word < kNoteWords; ++word) {
        for (uint64_t bits = t_countsTaken[word]; bits; bits &= bits - 1) {
            const int index = word * 64 + __builtin_ctzll(bits);
            s_Area* area = job ? job->areas[index] : nullptr;
            // While the area holds the file lock no other station can append: the count stays.
            if (area && !area->exclusive && !(area->lockBits & (DB_LOCK_FILE | DB_LOCK_CALLER_FILE)))
                area->recordCount = -1;
        }
        t_countsTaken[word] = 0;
    }
}

BOOL _db_reopen_files(s_Job* job)
{
    s_Area* area = job->currentArea;
    if (!area || area->defining)
        return TRUE;
    if (area->file == INVALID_HANDLE_VALUE) {
        area->file = _db_open_area_file(*area, area->databaseName, OPEN_EXISTING, DB_FILE_FLAGS);
        if (area->file == INVALID_HANDLE_VALUE) {
            _db_raise_error(DBE_OPEN);
            return FALSE;
        }
    }
    uint8_t date[3];
    if (_db_read_at(*area, date, dbf::kDate, sizeof date) == sizeof date)
        memcpy(area->header + 1, date, sizeof date);
    area->recordCount = -1;
    // A table opened without its memo file (db_use flag 0x20) has no memo name: nothing to reopen.
    if ((area->Version() & dbf::kMemoBit) && area->memoName[0] && area->memoFile == INVALID_HANDLE_VALUE) {
        area->memoFile = _db_open_area_file(*area, area->memoName, OPEN_EXISTING, DB_FILE_FLAGS);
        if (area->memoFile == INVALID_HANDLE_VALUE) {
            FilesClose(job);
            _db_raise_error(DBE_MEMO_OPEN);
            return FALSE;
        }
    }
    for (int slot = 0; slot < DB_INDEX_SLOTS; ++slot) {
        s_Index& index = area->indexes[slot];
        if (!index.name[0] || index.file != INVALID_HANDLE_VALUE)
            continue;
        index.file = _db_open_area_file(*area, index.name, OPEN_EXISTING, DB_FILE_FLAGS);
        if (index.file == INVALID_HANDLE_VALUE) {
            FilesClose(job);
            _db_raise_error(DBE_INDEX_OPEN);
            return FALSE;
        }
        // An exclusive table holds its indexes locked while their files are open: its index
        // changes are written when the lock is given up.
        if (area->exclusive && g_EngineHooks.keepIndexLocked)
            g_EngineHooks.keepIndexLocked(*area, slot);
    }
    return TRUE;
}

namespace {

// The body of db_select after the job lookup.
int Select(s_Job* job, const char* designator)
{
    int n;
    if (_db_is_current_designator(designator))
        return job->currentIndex + 1;
    if (_db_is_area_ref(designator)) {
        n = (int)((intptr_t)designator & 0xFF);
        if (n > DB_AREA_COUNT) {
            // The job holds 250 areas: the references of 251 to 255 select nothing.
            _db_raise_error(DBE_BAD_AREA);
            return 0;
        }
    } else {
        n = _db_area_by_designator(job, designator);
        if (n == 0)
            return 0;
    }
    return _db_select_number(job, n);
}

} // namespace

extern "C" int DB_CALL db_select(const char* designator)
{
    s_Job* job = _db_get_job();
    if (!job)
        return 0;
    return Select(job, designator);
}

// An area number 0..255 (0: the current area), or an area reference (-256..-1); the low byte
// names the area, so 256 to 511 answer as their low byte does (256 the current area, 257 area 1).
// Any other number names no area.
extern "C" int DB_CALL db_select_area(int area)
{
    s_Job* job = _db_get_job();
    if (!job)
        return 0;
    if (area < -256 || area > 511) {
        _db_raise_error(DBE_BAD_AREA);
        return 0;
    }
    return Select(job, DB_AREAREF((unsigned)area & 0xFF));
}

extern "C" int DB_CALL db_select_alias(const char* alias) { return db_select(alias ? alias : ""); }

extern "C" BOOL DB_CALL db_files_open(void)
{
    DbFrame<BOOL, RF_INT> f(DBF_NONE, "@DbFilesOpen()");
    s_Job* job = f.Job();
    if (!job)
        return f(FALSE);
    if (++job->filesOpen == 1)
        return f(_db_reopen_files(job));
    return f(TRUE);
}

extern "C" BOOL DB_CALL db_files_close(void)
{
    DbFrame<BOOL, RF_INT> f(DBF_NONE, "@DbFilesClose()");
    s_Job* job = f.Job();
    if (!job)
        return f(FALSE);
    return f(FilesClose(job));
}

extern "C" BOOL DB_CALL db_files_checkopen(void)
{
    DbFrame<BOOL, RF_INT> f(DBF_NONE, "@DbFilesCheckopen()");
    s_Job* job = f.Job();
    if (!job)
        return f(FALSE);
    return f(job->filesOpen != 0);
}

// Whether a table is open in the current area. No frame: no nesting count and no trace line; the
// job lookup clears the current error like every export's.
extern "C" BOOL DB_CALL db_used(void)
{
    s_Job* job = _db_get_job();
    return job && job->currentArea ? TRUE : FALSE;
}

s_Area* _db_open_table(s_Job* job)
{
    s_Area* area = _db_current_table(job);
    if (!area)
        return nullptr;
    if (area->file == INVALID_HANDLE_VALUE) {
        _db_raise_error(DBE_FILES_CLOSED);
        return nullptr;
    }
    return area;
}
