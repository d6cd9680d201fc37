// Index slots and the controlling order (see IndexSlots.h).
#include "IndexSlots.h"

#include <windows.h>

#include <cstring>

#include "BTree.h"
#include "CallFrame.h"
#include "EngineHooks.h"
#include "Expression.h"
#include "IndexBuild.h"
#include "Locks.h"
#include "Navigation.h"
#include "NtxFormat.h"
#include "PathHelpers.h"
#include "TableFile.h"
#include "TextHelpers.h"
#include "WorkAreas.h"

namespace {

const char kPhoneticPrefix[] = "phonetic(";
const size_t kPhoneticPrefixLength = sizeof kPhoneticPrefix - 1;

// The key expression kept in a header, as a C string (at most 255 characters).
void ExpressionOf(const uint8_t* header, char* text)
{
    std::memcpy(text, header + ntx::kExpressionAt, ntx::kExpressionSize - 1);
    text[ntx::kExpressionSize - 1] = 0;
}

// The slot's key expression begins with "phonetic(" (any case).
bool PhoneticKey(const uint8_t* header)
{
    char text[ntx::kExpressionSize];
    ExpressionOf(header, text);
    return StrNCompareNoCase(text, kPhoneticPrefix, kPhoneticPrefixLength) == 0;
}

// Reads and checks the header of a slot record whose file has just been opened, compiles its key
// and asks the key's type: FALSE with the error raised (33, 35, the compiler's, 36, 37).
bool CheckOpened(s_Index& slot)
{
    LARGE_INTEGER start{};
    if (!SetFilePointerEx(slot.file, start, nullptr, FILE_BEGIN) ||
        _xread(slot.file, slot.header, DB_INDEX_HEADER_SIZE) != DB_INDEX_HEADER_SIZE) {
        _db_raise_error(DBE_INDEX_READ);
        return false;
    }
    if (_ntx_is_packed(slot.header))
        slot.packed = 1;
    slot.phonetic = PhoneticKey(slot.header);
    if (unsigned code = _ntx_check_header(slot.header)) {
        _db_raise_error(code);
        return false;
    }
    char text[ntx::kExpressionSize];
    ExpressionOf(slot.header, text);
    slot.keyExpression = _expr_compile(text);
    if (!slot.keyExpression)
        return false;
    char type = 0;
    int width = 0, decimals = 0;
    if (!_expr_key_type(&slot, &type, &width, &decimals)) {
        _db_raise_error(DBE_KEY_EVAL);
        return false;
    }
    if (unsigned code = _ntx_check_key(type, width, ntx::KeySize(slot.header))) {
        _db_raise_error(code);
        return false;
    }
    slot.keyType = type;
    // A packed index is read through its packed reader (it raises its own error).
    if (slot.packed && (!g_EngineHooks.openPackedIndex || !g_EngineHooks.openPackedIndex(slot))) {
        if (!g_EngineHooks.openPackedIndex)
            _db_raise_error(DBE_PACK_UNAVAILABLE);
        return false;
    }
    return true;
}

// Opens an existing index into a slot of the current area (db_set_index_to with a file).
bool OpenSlot(s_Job* job, s_Area& area, int slot, const char* file)
{
    s_Index record;
    record.area = &area;
    if (!_idx_file_name(file, record.name)) {
        _db_raise_error(DBE_INDEX_OPEN);
        return false;
    }
    if (_idx_slot_of(area, record.name) >= 0)
        return true;
    const DWORD access = area.readOnly ? GENERIC_READ : GENERIC_READ | GENERIC_WRITE;
    const DWORD flags = area.exclusive ? DB_FILE_FLAGS_EXCLUSIVE : DB_FILE_FLAGS;
    record.file = CreateFileA(record.name, access, area.shareMode, nullptr, OPEN_EXISTING, flags, nullptr);
    if (record.file == INVALID_HANDLE_VALUE) {
        _db_raise_error(DBE_INDEX_OPEN);
        return false;
    }
    if (!CheckOpened(record)) {
        CloseHandle(record.file);
        _expr_free(record.keyExpression);
        return false;
    }
    record.level = -1;
    record.lockCount = 0;
    record.pageSize = (int)ntx::kPageSize;
    record.changeCounter = ntx::Counter(record.header);
    if (job->filesOpen == 0) {
        CloseHandle(record.file);
        record.file = INVALID_HANDLE_VALUE;
    }
    _idx_release_slot(area, slot);
    area.indexes[slot] = record;
    _idx_set_order(area, slot + 1, true);
    // An exclusive table keeps its indexes locked until they are closed.
    if (area.exclusive && area.indexes[slot].file != INVALID_HANDLE_VALUE)
        LockIndex(area, slot, TRUE, TRUE);
    return true;
}

// The common part of the getters of a slot's file: the buffer emptied, the area and slot checked.
// NULL when the export answers FALSE (error raised where one is due); the slot otherwise (its name
// may be empty).
const s_Index* SlotForGetter(s_Job* job, unsigned slot, char* buffer, unsigned size)
{
    if (buffer && size)
        buffer[0] = 0;
    s_Area* area = _db_current_table(job);
    if (!area)
        return nullptr;
    if (slot == 0 || slot > (unsigned)DB_INDEX_SLOTS) {
        _db_raise_error(DBE_BAD_ORDER);
        return nullptr;
    }
    if (!buffer || size == 0) {
        _db_raise_error(DBE_BUFFER);
        return nullptr;
    }
    return &area->indexes[slot - 1];
}

// The common part of db_indexkey and db_indexvalue: the buffer emptied, the slot and the table
// file checked.
s_Area* AreaForKey(s_Job* job, unsigned slot, char* buffer, unsigned size)
{
    if (buffer && size)
        buffer[0] = 0;
    s_Area* area = _db_current_table(job);
    if (!area || slot == 0 || slot > (unsigned)DB_INDEX_SLOTS)
        return nullptr;
    if (area->file == INVALID_HANDLE_VALUE) {
        _db_raise_error(DBE_FILES_CLOSED);
        return nullptr;
    }
    if (!buffer || size == 0) {
        _db_raise_error(DBE_BUFFER);
        return nullptr;
    }
    return area;
}

BOOL Copied(char* buffer, const char* text, unsigned size)
{
    SafeStrCopy(buffer, text, size);
    if (_db_tracing())
        _db_trace(0, "->'%s'", buffer);
    return TRUE;
}

// The key text of a slot in use with a compiled key (see _idx_key_text).
bool KeyText(s_Area& area, s_Index& index, char* key)
{
    const unsigned size = _idx_key_size(index);
    // The key is evaluated in its own area, with field reads taking the buffer as it is.
    s_Job* job = area.job;
    const int previous = job->currentIndex + 1;
    const bool switched = job->currentArea != &area;
    if (switched)
        _db_select_number(job, area.index + 1);
    const unsigned locks = area.lockBits;
    area.lockBits |= DB_LOCK_FAKE;
    char type = 0;
    const BOOL evaluated = _expr_key_text(&index, key, size, &type, nullptr, nullptr, 0);
    area.lockBits = locks;
    if (switched && previous > 0)
        _db_select_number(job, previous);
    if (!evaluated)
        return false;
    const size_t length = std::strlen(key);
    std::memset(key + length, ' ', size - length);
    key[size] = 0;
    if (type == 'D' && key[0] == ' ')
        key[0] = (char)0xFF;
    return true;
}

bool EvaluateKeyHook(s_Area& area, int slot, char* key) { return _idx_key_text(area, slot, key); }

bool SeekKeyHook(s_Area& area, int slot, const char* key, int32_t recno)
{
    if (!_idx_in_use(area, slot))
        return false;
    s_Index& index = area.indexes[slot];
    index.area = &area;
    return _ntx_find_recno(index, key, recno) == 0;
}

void ReleaseSlotHook(s_Area& area, int slot) { _idx_release_slot(area, slot); }

} // namespace

unsigned _idx_key_size(const s_Index& slot)
{
    const unsigned size = ntx::KeySize(slot.header);
    return size >= 1 && size <= ntx::kMaxKeySize ? size : 0;
}

bool _idx_key_text(s_Area& area, int slot, char* key)
{
    key[0] = 0;
    s_Index* index = _idx_in_use(area, slot) ? &area.indexes[slot] : nullptr;
    if (!index || _idx_key_size(*index) == 0 || !index->keyExpression || !KeyText(area, *index, key)) {
        key[0] = 0;
        if (area.job->currentError == 0)
            _db_raise_error(DBE_KEY_EVAL);
        return false;
    }
    return true;
}

void _idx_date_search_form(const s_Index& slot, char* key)
{
    if (slot.keyType == 'D' && key[0] == ' ')
        key[0] = (char)0xFF;
}

void _idx_release_slot(s_Area& area, int slot)
{
    if (slot < 0 || slot >= DB_INDEX_SLOTS)
        return;
    s_Index& index = area.indexes[slot];
    if (index.name[0]) {
        _ntx_close_file(area, slot);
        _ntx_free_pages(index);
        _expr_free(index.keyExpression);
        index.keyExpression = nullptr;
    }
    if (index.packedReader && g_EngineHooks.releasePackedIndex)
        g_EngineHooks.releasePackedIndex(index);
    if (index.file != INVALID_HANDLE_VALUE)
        CloseHandle(index.file);
    index = s_Index{};
    index.area = &area;
    if (area.order == slot)
        area.order = -1;
}

bool _idx_file_name(const char* file, char* name)
{
    const bool whole = _db_file_name_with_ext(file, ".ntx", false, name);
    db_upper(name);
    return whole;
}

int _idx_slot_of(const s_Area& area, const char* name)
{
    for (int slot = 0; slot < DB_INDEX_SLOTS; ++slot)
        if (area.indexes[slot].name[0] && std::strcmp(area.indexes[slot].name, name) == 0)
            return slot;
    return -1;
}

bool _idx_set_order(s_Area& area, int slot, bool adjust)
{
    if (slot < 0 || slot > DB_INDEX_SLOTS) {
        _db_raise_error(DBE_BAD_ORDER);
        return false;
    }
    const int target = slot - 1;
    if (adjust && target == area.order)
        return true;
    // A shared table's cache may be stale the next time this index is used.
    if (!area.exclusive && _idx_in_use(area, area.order)) {
        s_Index& current = area.indexes[area.order];
        _ntx_write_pages(current);
        _ntx_drop_pages(current);
    }
    if (slot == 0) {
        area.order = -1;
        return true;
    }
    if (!_idx_in_use(area, target)) {
        _db_raise_error(DBE_NO_INDEX);
        return false;
    }
    area.order = target;
    area.indexes[target].area = &area;
    _ntx_reset(area.indexes[target]);
    // With the table's files closed there is no record to find; the index is positioned by the
    // next move.
    if (adjust && area.file != INVALID_HANDLE_VALUE)
        _db_resync_index(area);
    return true;
}

void _idx_hooks(s_EngineHooks& hooks)
{
    hooks.evaluateKey = EvaluateKeyHook;
    hooks.seekKey = SeekKeyHook;
    hooks.rebuildIndexes = _idx_rebuild_all;
    hooks.releaseIndexSlot = ReleaseSlotHook;
}

// ---- exports ----------------------------------------------------------------------------------

extern "C" BOOL DB_CALL db_set_index_to(unsigned slot, const char* file)
{
    DbFrame<BOOL, RF_INT> f(DBF_GUARD | DBF_CRASH_REPORT, "@DbSetIndexTo(%u,'%s')", slot, file);
    s_Job* job = f.Job();
    s_Area* area = _db_current_table(job);
    if (!area)
        return f(FALSE);
    area->stopFlag = 0;
    if (slot == 0 || slot > (unsigned)DB_INDEX_SLOTS) {
        _db_raise_error(DBE_BAD_ORDER);
        return f(FALSE);
    }
    if (!file) {
        _idx_release_slot(*area, (int)slot - 1);
        return f(TRUE);
    }
    return f(OpenSlot(job, *area, (int)slot - 1, file));
}

extern "C" BOOL DB_CALL db_set_order(int slot)
{
    DbFrame<BOOL, RF_INT> f(DBF_GUARD | DBF_CRASH_REPORT, "@DbSetOrder(%d)", slot);
    s_Area* area = _db_current_table(f.Job());
    return f(area && _idx_set_order(*area, slot, true));
}

extern "C" BOOL DB_CALL db_set_order_no_adjust(int slot)
{
    DbFrame<BOOL, RF_INT> f(DBF_GUARD | DBF_CRASH_REPORT, "@DbSetOrder(%d)", slot);
    s_Area* area = _db_current_table(f.Job());
    return f(area && _idx_set_order(*area, slot, false));
}

extern "C" unsigned DB_CALL db_indexord(void)
{
    DbFrame<unsigned, RF_UINT> f(DBF_NONE, "@DbIndexord()");
    s_Area* area = _db_current_table(f.Job());
    return f(area ? (unsigned)(area->order + 1) : 0u);
}

extern "C" BOOL DB_CALL db_get_index(unsigned slot, char* buf, unsigned size)
{
    DbFrame<BOOL, RF_INT> f(DBF_NONE, "@DbGetIndex(%u,0x%08lx,%u)", slot, TraceBuf{buf}, size);
    const s_Index* index = SlotForGetter(f.Job(), slot, buf, size);
    if (!index)
        return f(FALSE);
    char name[256] = {};
    if (index->name[0])
        SplitPath(index->name, nullptr, nullptr, name, nullptr);
    return f(Copied(buf, name, size));
}

extern "C" BOOL DB_CALL db_get_indexpath(unsigned slot, char* buf, unsigned size)
{
    DbFrame<BOOL, RF_INT> f(DBF_NONE, "@DbGetIndexpath(%u,0x%08lx,%u)", slot, TraceBuf{buf}, size);
    const s_Index* index = SlotForGetter(f.Job(), slot, buf, size);
    if (!index)
        return f(FALSE);
    return f(Copied(buf, index->name, size));
}

extern "C" BOOL DB_CALL db_indexkey(unsigned slot, char* buf, unsigned size)
{
    DbFrame<BOOL, RF_INT> f(DBF_CRASH_REPORT | DBF_CALL_LEVEL0, "@DbIndexkey(%u,0x%08lx,%u)", slot, TraceBuf{buf}, size);
    s_Area* area = AreaForKey(f.Job(), slot, buf, size);
    if (!area)
        return f(FALSE);
    char text[ntx::kExpressionSize];
    ExpressionOf(area->indexes[slot - 1].header, text);
    return f(Copied(buf, text, size));
}

extern "C" BOOL DB_CALL db_indexvalue(unsigned slot, char* buf, unsigned size)
{
    DbFrame<BOOL, RF_INT> f(DBF_CRASH_REPORT | DBF_CALL_LEVEL0, "@DbIndexvalue(%u,0x%08lx,%u)", slot, TraceBuf{buf}, size);
    s_Area* area = AreaForKey(f.Job(), slot, buf, size);
    if (!area)
        return f(FALSE);
    // The record as stored: unsaved changes of the buffer are dropped.
    area->bufferValid = 0;
    if (!_db_read_record(*area, area->recno))
        return f(FALSE);
    char key[DB_KEY_BUFFER];
    if (!_idx_key_text(*area, (int)slot - 1, key))
        return f(FALSE);
    return f(Copied(buf, key, size));
}
