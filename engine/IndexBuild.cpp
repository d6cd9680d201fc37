// Index creation and rebuild (see IndexBuild.h).
//
// Steps of a build (_idx_build), in this order:
//    1. the key's type, length and decimals (error 36; a key longer than 330: error 38)
//    2. the area's pending header and record changes written, the record count taken
//    3. the slot's changed pages written and its cache dropped
//    4. the table's file lock for the engine (waiting)
//    5. the build turn of the process
//    6. the slot's index lock (waiting, nested; a failure is noted and the build goes on); then
//       the header set up: signature 6, counter = remembered + 1, the sizes of the key
//    7. the key sort started for the record count; every record (deleted and filtered ones too)
//       read in blocks, made the area's current record, reported to the position callback, its
//       key added to the sort
//    8. the tree written bottom-up from the sorted keys (below)
//    9. the sort ended; on success the header written last: 1,024 zero bytes, then its 297 bytes
//   10. a pending item left by the tree writer added through the b-tree, the header and the
//       changed pages written again
//   11. the index lock, the build turn and the file lock given up
// The header is written only after a successful build, so an interrupted build leaves the old
// header (and a tree that does not match it). The area stands on the record it stood on before.
//
// Writing the tree: entries come in ascending order (key, then record number); each becomes an
// item (child 0) added at level 0. Every level has one page being filled:
//
//   add item at level L:  page of L has room      --> item appended
//                         page of L is full        --> its right-hand item takes the item's child,
//                                                      the page is written at the next page offset,
//                                                      the item (child = that page) is added at
//                                                      level L + 1, the page of L starts empty
//
// So pages are written full, in the order they fill, leaves and branch pages mixed. At the end of
// input, when the leaf is empty (its last item went up as a separator), the last item of the
// lowest level that holds keys is taken out as the pending item: the subtree left of it is
// complete, and it is added through the b-tree afterwards. Then every page still holding keys is
// written from the bottom up, each branch page getting as right-hand child the page written just
// before it; the last page written is the root. The right-most path may be shorter than the
// others. An empty table gives one empty leaf at 1,024.
//
// Record stream: units of a fixed size (a record when reading the table, a page when writing the
// index) moved through a buffer of floor(32,256 / unit size) units, so that the table is read in
// blocks of about 32 KB and the tree written about 31 pages at a time. Each unit is deciphered or
// enciphered in the buffer with its own file offset (protected tables). Closing a writing stream
// writes what is left, cuts the file behind it and flushes it.
#include "IndexBuild.h"

#include <windows.h>

#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "BTree.h"
#include "BoxObj.h"
#include "CallFrame.h"
#include "DebugOutput.h"
#include "EngineHooks.h"
#include "Expression.h"
#include "IndexSlots.h"
#include "KeySort.h"
#include "Locks.h"
#include "Navigation.h"
#include "NtxFormat.h"
#include "PathHelpers.h"
#include "RecordWrite.h"
#include "TableFile.h"
#include "WorkAreas.h"
#include "clsKeepError.h"

namespace {

const unsigned kStreamBytes = 32256;
const size_t kMaxExpression = 256;

// Raises the error unless the call has raised one already (the first error names the cause).
void Fail(unsigned code)
{
    if (!g_Job || g_Job->currentError == 0)
        _db_raise_error(code);
}

bool SeekTo(HANDLE file, int64_t offset)
{
    LARGE_INTEGER to;
    to.QuadPart = offset;
    return SetFilePointerEx(file, to, nullptr, FILE_BEGIN) != 0;
}

// ---- record stream ------------------------------------------------------------------------------

class RecordStream {
public:
    RecordStream(s_Area& area, HANDLE file, unsigned unitSize, bool reading, int64_t start)
        : m_area(area), m_file(file), m_unitSize(unitSize), m_reading(reading), m_offset(start), m_blockOffset(start)
    {
        m_capacity = kStreamBytes / unitSize;
        if (m_capacity == 0)
            m_capacity = 1;
        m_buffer.reset(new (std::nothrow) uint8_t[(size_t)m_capacity * unitSize]);
        m_cipher = area.IsEncrypted() && (reading ? g_EngineHooks.decryptBuffer : g_EngineHooks.encryptBuffer);
    }
    RecordStream(const RecordStream&) = delete;
    RecordStream& operator=(const RecordStream&) = delete;

    bool Ready() const { return m_buffer != nullptr; }

    // The next unit, deciphered; false at the end of the file or when it cannot be read.
    bool Read(void* out)
    {
        if (m_position >= m_fill) {
            if (!SeekTo(m_file, m_blockOffset))
                return false;
            const DWORD read = _xread(m_file, m_buffer.get(), m_capacity * m_unitSize);
            if (m_file == m_area.file)
                _db_pointer_moved(m_area);
            m_fill = read / m_unitSize;
            m_position = 0;
            m_blockOffset += (int64_t)m_fill * m_unitSize;
            if (m_fill == 0)
                return false;
        }
        uint8_t* unit = m_buffer.get() + (size_t)m_position * m_unitSize;
        if (m_cipher)
            g_EngineHooks.decryptBuffer(m_area, (int32_t)m_offset, unit, m_unitSize);
        std::memcpy(out, unit, m_unitSize);
        ++m_position;
        m_offset += m_unitSize;
        return true;
    }

    // Puts a unit behind the others, enciphered; a full buffer is written out.
    bool Write(const void* unit)
    {
        uint8_t* place = m_buffer.get() + (size_t)m_position * m_unitSize;
        std::memcpy(place, unit, m_unitSize);
        if (m_cipher)
            g_EngineHooks.encryptBuffer(m_area, (int32_t)m_offset, place, m_unitSize);
        ++m_position;
        m_offset += m_unitSize;
        return m_position < m_capacity || Flush();
    }

    // Writes what is left, cuts the file behind it and flushes it to disk.
    bool Close()
    {
        if (!Flush() || !SeekTo(m_file, m_blockOffset))
            return false;
        _xwrite(m_file, "", 0);
        FlushFileBuffers(m_file);
        return true;
    }

private:
    bool Flush()
    {
        if (m_position == 0)
            return true;
        const DWORD bytes = m_position * m_unitSize;
        if (!SeekTo(m_file, m_blockOffset) || _xwrite(m_file, m_buffer.get(), bytes) != bytes)
            return false;
        m_blockOffset += bytes;
        m_position = 0;
        return true;
    }

    s_Area& m_area;
    HANDLE m_file;
    unsigned m_unitSize;
    bool m_reading;
    int64_t m_offset;        // file offset of the next unit
    int64_t m_blockOffset;   // reading: offset of the next block; writing: offset of the buffer's first unit
    unsigned m_capacity = 0;
    unsigned m_position = 0;
    unsigned m_fill = 0;
    bool m_cipher = false;
    std::unique_ptr<uint8_t[]> m_buffer;
};

// ---- the tree writer ----------------------------------------------------------------------------

class TreeWriter {
public:
    TreeWriter(const ntx::Geometry& geometry, RecordStream& out, int levels)
        : m_g(geometry), m_out(out), m_levels((size_t)levels)
    {
    }

    // Adds an item (child, record number, key) at a level.
    bool Add(const uint8_t* item, int level)
    {
        if (level >= (int)m_levels.size() || level >= BoxObj::kStackSize) {
            // No path through a deeper tree could be followed.
            Fail(DBE_INDEX_BAD);
            return false;
        }
        Level& page = m_levels[(size_t)level];
        if (level > m_highest) {
            ntx::InitPage(page.bytes, m_g);
            page.count = 0;
            m_highest = level;
        }
        if (page.count < m_g.maxKeys) {
            std::memcpy(page.bytes + m_g.SlotOffset(page.count), item, m_g.itemSize);
            ++page.count;
            return true;
        }
        SetRightHand(page, ntx::ItemChild(item));
        uint32_t written;
        if (!WritePage(page, &written))
            return false;
        uint8_t up[ntx::kMaxItemSize];
        std::memcpy(up, item, m_g.itemSize);
        ntx::SetItemChild(up, written);
        ntx::InitPage(page.bytes, m_g);
        page.count = 0;
        return Add(up, level + 1);
    }

    // The end of input: the pending item taken out, the pages that hold keys written. root gets
    // the last page written.
    bool Finish(bool empty, uint8_t* pending, bool* hasPending, uint32_t* root)
    {
        *hasPending = false;
        if (empty) {
            // One empty leaf, which is the root.
            Level& leaf = m_levels[0];
            ntx::InitPage(leaf.bytes, m_g);
            leaf.count = 0;
            if (!WritePage(leaf, root)) {
                _db_raise_error(DBE_INDEX_WRITE);
                return false;
            }
            return true;
        }
        int start = 0;
        if (m_levels[0].count == 0) {
            int level = 1;
            while (level <= m_highest && m_levels[(size_t)level].count == 0)
                ++level;
            if (level > m_highest) {
                _db_raise_error(DBE_INTERNAL);
                return false;
            }
            Level& page = m_levels[(size_t)level];
            std::memcpy(pending, page.bytes + m_g.SlotOffset(page.count - 1), m_g.itemSize);
            --page.count;
            *hasPending = true;
            start = page.count > 0 ? level : level + 1;
        }
        for (int level = start; level <= m_highest; ++level) {
            Level& page = m_levels[(size_t)level];
            if (page.count == 0)
                continue;
            if (level > 0)
                SetRightHand(page, m_lastWritten);
            uint32_t written;
            if (!WritePage(page, &written))
                return false;
        }
        *root = m_lastWritten;
        return true;
    }

private:
    struct Level {
        uint8_t bytes[ntx::kPageSize];
        unsigned count = 0;
    };

    // The right-hand item of a page: the child of the keys after its last key, record number 0.
    void SetRightHand(Level& page, uint32_t child)
    {
        uint8_t* item = page.bytes + m_g.SlotOffset(page.count);
        std::memset(item, 0, m_g.itemSize);
        ntx::SetItemChild(item, child);
    }

    bool WritePage(Level& page, uint32_t* offset)
    {
        if (m_next > 0x7FFFFC00u) {
            Fail(DBE_INDEX_WRITE);
            return false;
        }
        dbf::Put16(page.bytes, (uint16_t)page.count);
        if (!m_out.Write(page.bytes)) {
            Fail(DBE_INDEX_WRITE);
            return false;
        }
        *offset = m_lastWritten = m_next;
        m_next += ntx::kPageSize;
        return true;
    }

    ntx::Geometry m_g;
    RecordStream& m_out;
    std::vector<Level> m_levels;
    int m_highest = -1;
    uint32_t m_next = ntx::kPageSize;
    uint32_t m_lastWritten = 0;
};

// Levels of a tree over count keys: 2 + the number of times count can be divided by max keys
// before it reaches 0.
int LevelsFor(int32_t count, unsigned maxKeys)
{
    int levels = 2;
    for (int64_t n = count; maxKeys > 1 && n > 0; n /= maxKeys)
        ++levels;
    return levels;
}

// Writes the tree from the sorted entries; sets the header's root and free list.
bool WriteTree(s_Index& slot, int32_t count, uint8_t* pending, bool* hasPending)
{
    ntx::Geometry g;
    if (!ntx::GeometryOf(slot.header, &g)) {
        _db_raise_error(DBE_INDEX_BAD);
        return false;
    }
    RecordStream out(*slot.area, slot.file, ntx::kPageSize, false, ntx::kPageSize);
    std::unique_ptr<TreeWriter> writer(new (std::nothrow) TreeWriter(g, out, LevelsFor(count, g.maxKeys)));
    if (!out.Ready() || !writer) {
        _db_raise_error(DBE_MEMORY);
        return false;
    }
    const bool unique = ntx::Unique(slot.header);
    bool reported = false;
    std::vector<uint8_t> entry(g.keySize + 4), previous(g.keySize + 4);
    uint8_t item[ntx::kMaxItemSize] = {};
    int64_t entries = 0;
    for (;;) {
        bool end = false;
        if (!_SORTNEXT(entry.data(), &end)) {
            MessageBeep(0);
            return false;
        }
        if (end)
            break;
        if (unique && !reported && entries > 0 && std::memcmp(entry.data(), previous.data(), g.keySize) == 0) {
            // Reported once; every key is stored all the same.
            _db_raise_error(DBE_NOT_UNIQUE);
            reported = true;
        }
        ntx::SetItemChild(item, 0);
        std::memcpy(item + ntx::kItemRecnoAt, entry.data() + g.keySize, 4);
        std::memcpy(item + ntx::kItemKeyAt, entry.data(), g.keySize);
        if (!writer->Add(item, 0))
            return false;
        entry.swap(previous);
        ++entries;
    }
    uint32_t root = 0;
    if (!writer->Finish(entries == 0, pending, hasPending, &root))
        return false;
    ntx::SetRoot(slot.header, root);
    ntx::SetFreeList(slot.header, 0);
    slot.endOffset = 0;
    if (!out.Close()) {
        Fail(DBE_INDEX_WRITE);
        return false;
    }
    return true;
}

// Builds of the process take turns: the sort and the build state exist once.
volatile LONG g_BuildTurn = 0;   // thread id of the builder; 0: free

class BuildTurn {
public:
    BuildTurn()
    {
        const LONG me = (LONG)GetCurrentThreadId();
        for (;;) {
            const LONG holder = InterlockedCompareExchange(&g_BuildTurn, me, 0);
            if (holder == 0) {
                m_held = true;
                return;
            }
            if (holder == me)
                return;   // a build started from inside a build (a position callback) gets no turn
            // The calling thread's message queue stays alive while it waits.
            MSG msg;
            PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
            Sleep(1);
        }
    }
    ~BuildTurn()
    {
        if (m_held)
            InterlockedExchange(&g_BuildTurn, 0);
    }
    BuildTurn(const BuildTurn&) = delete;
    BuildTurn& operator=(const BuildTurn&) = delete;
    bool Held() const { return m_held; }

private:
    bool m_held = false;
};

// The position of the area before a build, taken again afterwards.
struct SavedPosition {
    int32_t recno;
    int bof, eof;
};

// Reads every record and adds its key to the sort (the sort is running).
bool CollectKeys(s_Area& area, int slot, int32_t count)
{
    RecordStream in(area, area.file, (unsigned)area.recordLength, true, area.headerLength);
    if (!area.packed && !in.Ready()) {
        _db_raise_error(DBE_MEMORY);
        return false;
    }
    char key[DB_KEY_BUFFER];
    for (int32_t n = 1; n <= count; ++n) {
        const bool read = area.packed
                              ? _db_read_records(area, area.record.get(), n, (DWORD)area.recordLength) ==
                                    (DWORD)area.recordLength
                              : in.Read(area.record.get());
        if (!read) {
            Fail(DBE_READ_RECORD);
            return false;
        }
        area.recno = area.bufferRecno = n;
        area.bufferValid = 1;
        area.changed = 0;
        area.beforeImageValid = 0;
        area.deleted = area.record[0] != ' ' && area.record[0] != 0;
        if (area.job->positionCallback)
            area.job->positionCallback(area.index + 1, n, 1);
        if (!_idx_key_text(area, slot, key)) {
            Fail(DBE_KEY_EVAL);
            return false;
        }
        if (!_SORTADD(key, &n))
            return false;
    }
    return true;
}

bool WriteHeader(s_Index& slot, bool wholePage)
{
    static const uint8_t kZeros[ntx::kPageSize] = {};
    bool ok = SeekTo(slot.file, 0);
    if (ok && wholePage)
        ok = _xwrite(slot.file, kZeros, sizeof kZeros) == sizeof kZeros && SeekTo(slot.file, 0);
    ok = ok && _xwrite(slot.file, slot.header, DB_INDEX_HEADER_SIZE) == DB_INDEX_HEADER_SIZE;
    if (!ok)
        Fail(DBE_INDEX_WRITE);
    return ok;
}

// Adds the pending item of the tree writer through the b-tree and writes the header and the
// changed pages again. A duplicate it meets was reported by the tree writer already.
bool AddPending(s_Area& area, s_Index& slot, const uint8_t* pending)
{
    const unsigned keySize = ntx::KeySize(slot.header);
    char key[DB_KEY_BUFFER];
    std::memcpy(key, pending + ntx::kItemKeyAt, keySize);
    key[keySize] = 0;
    const uint16_t unique = dbf::Get16(slot.header + ntx::kUniqueAt);
    dbf::Put16(slot.header + ntx::kUniqueAt, 0);
    bool ok = _ntx_add(slot, key, (int32_t)ntx::ItemRecno(pending)) != FALSE;
    dbf::Put16(slot.header + ntx::kUniqueAt, unique);
    ok = WriteHeader(slot, false) && ok;
    ok = _ntx_write_pages(slot) && ok;
    if (area.flush && !area.exclusive)
        FlushFileBuffers(slot.file);
    return ok;
}

// The build after the locks are taken (steps 6 to 10).
bool BuildLocked(s_Area& area, int slot, unsigned keySize, unsigned decimals, int32_t count)
{
    s_Index& index = area.indexes[slot];
    // The header as the lock read it, kept for a build that fails before its header is written:
    // the unlock then has nothing to write back.
    uint8_t before[DB_INDEX_HEADER_SIZE];
    std::memcpy(before, index.header, sizeof before);
    uint8_t* header = index.header;
    if (ntx::Unique(header))
        dbf::Put16(header + ntx::kUniqueAt, 1);
    dbf::Put16(header + ntx::kSignatureAt, ntx::kSignature);
    ntx::SetCounter(header, index.changeCounter + 1);
    ntx::SetGeometry(header, keySize, decimals);
    std::memset(header + ntx::kPackedMarkerAt, 0, ntx::kPackedMarkerSize);

    if (!_SORTINIT(count, (int)keySize, 4)) {
        std::memcpy(index.header, before, sizeof before);
        return false;
    }
    const SavedPosition saved{area.recno, area.bof, area.eof};
    uint8_t pending[ntx::kMaxItemSize];
    bool hasPending = false;
    bool ok = CollectKeys(area, slot, count) && WriteTree(index, count, pending, &hasPending);
    _SORTDONE();
    if (ok)
        ok = WriteHeader(index, true);
    else
        std::memcpy(index.header, before, sizeof before);
    area.recno = saved.recno;
    area.bof = saved.bof;
    area.eof = saved.eof;
    area.bufferValid = 0;
    _ntx_reset(index);
    if (ok && hasPending)
        ok = AddPending(area, index, pending);
    return ok;
}

// Builds the index of a slot and flushes it for a shared table (db_reindex of one slot).
bool Reindex(s_Area& area, int slot)
{
    const bool ok = _idx_build(area, slot);
    const HANDLE file = area.indexes[slot].file;
    if (!area.exclusive && area.flush && file != INVALID_HANDLE_VALUE)
        FlushFileBuffers(file);
    return ok;
}

// The new slot record of db_index_on: header (unique flag, expression in upper case and OEM),
// compiled key and its type. FALSE with the error raised.
bool PrepareNewSlot(s_Index& record, const char* keyExpr, int unique)
{
    dbf::Put16(record.header + ntx::kUniqueAt, (uint16_t)unique);
    char* text = (char*)record.header + ntx::kExpressionAt;
    SafeStrCopy(text, keyExpr, ntx::kExpressionSize);
    CharUpperA(text);
    CharToOemA(text, text);
    record.keyExpression = _expr_compile(text);
    if (!record.keyExpression)
        return false;
    char type = 0;
    int width = 0, decimals = 0;
    if (!_expr_key_type(&record, &type, &width, &decimals) || type == 'L' || width <= 0) {
        _db_raise_error(DBE_KEY_EVAL);
        return false;
    }
    record.keyType = type;
    record.phonetic = _strnicmp(text, "phonetic(", 9) == 0;
    record.packed = 0;
    record.lockCount = 0;
    record.level = -1;
    record.pageSize = (int)ntx::kPageSize;
    return true;
}

// db_index_on after the table's file lock was taken (steps 6 to 12 of the export).
bool CreateIndex(s_Job* job, s_Area& area, int slot, s_Index& record, const char* keyExpr, int unique)
{
    if (!PrepareNewSlot(record, keyExpr, unique)) {
        _expr_free(record.keyExpression);
        return false;
    }
    const DWORD flags = area.exclusive ? DB_FILE_FLAGS_EXCLUSIVE : DB_FILE_FLAGS;
    record.file = CreateFileA(record.name, GENERIC_READ | GENERIC_WRITE, area.shareMode, nullptr, CREATE_ALWAYS,
                              flags, nullptr);
    if (record.file == INVALID_HANDLE_VALUE) {
        _expr_free(record.keyExpression);
        _db_raise_error(DBE_INDEX_OPEN);
        return false;
    }
    // The file starts with the header as prepared, so that the index lock of the build can read
    // one; its signature marks no usable index until the build has written the real header.
    if (!WriteHeader(record, false)) {
        CloseHandle(record.file);
        _expr_free(record.keyExpression);
        return false;
    }
    _idx_release_slot(area, slot);
    area.indexes[slot] = record;
    s_Index& index = area.indexes[slot];
    if (!Reindex(area, slot)) {
        // The file stays on disk.
        _idx_release_slot(area, slot);
        return false;
    }
    _idx_set_order(area, slot + 1, true);
    CloseHandle(index.file);
    index.file = INVALID_HANDLE_VALUE;
    if (job->filesOpen > 0) {
        index.file = _db_open_area_file(area, index.name, OPEN_EXISTING, flags);
        if (index.file == INVALID_HANDLE_VALUE) {
            _db_raise_error(DBE_INDEX_OPEN);
            return false;
        }
        if (area.exclusive)
            LockIndex(area, slot, TRUE, TRUE);
    }
    return true;
}

} // namespace

bool _idx_build(s_Area& area, int slot)
{
    s_Index& index = area.indexes[slot];
    index.area = &area;
    char type = 0;
    int width = 0, decimals = 0;
    if (!_expr_key_type(&index, &type, &width, &decimals) || width <= 0) {
        _db_raise_error(DBE_KEY_EVAL);
        return false;
    }
    if (width > (int)ntx::kMaxKeySize) {
        _db_raise_error(DBE_EXPR_TOO_LONG);
        return false;
    }
    // A changed record goes to the file first, its keys to every other open index.
    if (!_db_write_pending(area, slot) || !_db_refresh_count(area))
        return false;
    const int32_t count = area.recordCount;
    _ntx_write_pages(index);
    _ntx_drop_pages(index);
    // A packed index is built unpacked (and packed again below when its table is packed).
    if (index.packedReader && g_EngineHooks.releasePackedIndex)
        g_EngineHooks.releasePackedIndex(index);
    index.packed = 0;

    const bool tookFileLock = !(area.lockBits & DB_LOCK_FILE);
    if (!LockArea(area, DB_LOCK_FILE_WHAT, TRUE, DB_OWNER_ENGINE))
        return false;
    bool ok = false;
    {
        BuildTurn turn;
        if (!turn.Held())
            _db_raise_error(DBE_INTERNAL);
        else {
            const bool locked = LockIndex(area, slot, TRUE, TRUE) != FALSE;
            if (!locked)
                DebugPrintf("error locking index %d!!!", slot + 1);
            ok = BuildLocked(area, slot, (unsigned)width, decimals > 0 ? (unsigned)decimals : 0u, count);
            if (locked && !UnlockIndex(area, slot, FALSE))
                ok = false;
            // The indexes of a packed table are packed as well, once the whole file is written.
            if (ok && area.packed)
                ok = g_EngineHooks.packIndex && g_EngineHooks.packIndex(area, slot);
        }
    }
    if (tookFileLock)
        UnlockArea(area, DB_LOCK_FILE_WHAT, DB_OWNER_ENGINE);
    return ok;
}

bool _idx_rebuild_all(s_Area& area)
{
    for (int slot = 0; slot < DB_INDEX_SLOTS; ++slot)
        if (_idx_in_use(area, slot) && !Reindex(area, slot))
            return false;
    return true;
}

bool _idx_write_tree(s_Area& area, int slot, int32_t count, char* pendingKey, int32_t* pendingRecno)
{
    s_Index& index = area.indexes[slot];
    index.area = &area;
    uint8_t pending[ntx::kMaxItemSize];
    bool hasPending = false;
    *pendingRecno = 0;
    if (!WriteTree(index, count, pending, &hasPending))
        return false;
    if (hasPending) {
        std::memcpy(pendingKey, pending + ntx::kItemKeyAt, ntx::KeySize(index.header));
        *pendingRecno = (int32_t)ntx::ItemRecno(pending);
    }
    return true;
}

// ---- exports ----------------------------------------------------------------------------------

extern "C" BOOL DB_CALL db_index_on(unsigned slot, const char* key_expr, const char* file, int unique)
{
    DbFrame<BOOL, RF_INT> f(DBF_GUARD | DBF_CRASH_REPORT, "@DbIndexOn(%u,'%s','%s',%d)", slot, key_expr, file,
                            unique);
    s_Job* job = f.Job();
    s_Area* area = _db_current_table(job);
    if (!area)
        return f(FALSE);
    area->stopFlag = 0;
    if (slot == 0 || slot > (unsigned)DB_INDEX_SLOTS) {
        _db_raise_error(DBE_BAD_ORDER);
        return f(FALSE);
    }
    if (!key_expr) {
        _db_raise_error(DBE_KEY_EVAL);
        return f(FALSE);
    }
    if (std::strlen(key_expr) > kMaxExpression) {
        _db_raise_error(DBE_EXPR_TOO_LONG);
        return f(FALSE);
    }
    if (!file) {
        _db_raise_error(DBE_INDEX_OPEN);
        return f(FALSE);
    }
    s_Index record;
    record.area = area;
    // A name that does not fit a path would make a file under a shortened name.
    if (!_idx_file_name(file, record.name)) {
        _db_raise_error(DBE_INDEX_OPEN);
        return f(FALSE);
    }
    if (_idx_slot_of(*area, record.name) >= 0) {
        _db_raise_error(DBE_INDEX_IN_USE);
        return f(FALSE);
    }
    const bool tookFileLock = !(area->lockBits & DB_LOCK_FILE);
    if (!LockArea(*area, DB_LOCK_FILE_WHAT, TRUE, DB_OWNER_ENGINE))
        return f(FALSE);
    const bool ok = CreateIndex(job, *area, (int)slot - 1, record, key_expr, unique);
    if (tookFileLock)
        UnlockArea(*area, DB_LOCK_FILE_WHAT, DB_OWNER_ENGINE);
    return f(ok);
}

extern "C" BOOL DB_CALL db_reindex(unsigned slot)
{
    DbFrame<BOOL, RF_INT> f(DBF_GUARD, "@DbReindex(%u)", slot);
    s_Area* area = _db_current_table(f.Job());
    if (!area)
        return f(FALSE);
    area->stopFlag = 0;
    if (!_db_refresh_count(*area))
        return f(FALSE);
    if (slot > (unsigned)DB_INDEX_SLOTS) {
        _db_raise_error(DBE_BAD_ORDER);
        return f(FALSE);
    }
    if (slot == 0) {
        const bool ok = _idx_rebuild_all(*area);
        if (ok)
            _db_resync_index(*area);
        return f(ok);
    }
    const int s = (int)slot - 1;
    if (!_idx_in_use(*area, s)) {
        _db_raise_error(DBE_NO_REINDEX);
        return f(FALSE);
    }
    const bool ok = Reindex(*area, s);
    if (s == area->order) {
        clsKeepError keep;
        db_goto(0);
    }
    return f(ok);
}
