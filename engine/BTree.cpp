#include "BTree.h"

#include <climits>
#include <cstring>
#include <new>

#include "BoxObj.h"
#include "Collation.h"
#include "DebugOutput.h"
#include "EngineHooks.h"
#include "Job.h"
#include "Locks.h"
#include "Navigation.h"
#include "clsCritObj.h"
#include "vlUT11.h"

namespace {

const size_t kKeyBuffer = ntx::kMaxKeySize + 1;
// Page splits of one insert: one per level of the path, and a new root.
const int kMaxSplits = BoxObj::kStackSize + 1;
// Entries of an offset list (max keys + 1 of a page that holds at least 9-byte items).
const unsigned kMaxEntries = ntx::kPageSize / 2;

// Raises the error unless the call has raised one already (the first error names the cause).
void Fail(unsigned code)
{
    if (!g_Job || g_Job->currentError == 0)
        _db_raise_error(code);
}

// One index operation: the owning work area's critical section, and the slot's cache made and
// checked against the header's sizes.
class Operation {
public:
    explicit Operation(s_Index& slot) : m_slot(slot)
    {
        if (!slot.area) {
            _db_raise_error(DBE_INTERNAL);
            return;
        }
        slot.area->lock.Enter();
        m_ready = Prepare();
    }
    ~Operation()
    {
        if (m_slot.area)
            m_slot.area->lock.Leave();
    }
    Operation(const Operation&) = delete;
    Operation& operator=(const Operation&) = delete;
    bool Ready() const { return m_ready; }

private:
    bool Prepare()
    {
        ntx::Geometry geometry;
        if (!ntx::GeometryOf(m_slot.header, &geometry)) {
            _db_raise_error(DBE_INDEX_BAD);
            return false;
        }
        if (!m_slot.pages) {
            m_slot.pages = new (std::nothrow) BoxObj(m_slot);
            if (!m_slot.pages) {
                _db_raise_error(DBE_MEMORY);
                return false;
            }
        }
        m_slot.pages->UseGeometry(geometry);
        return true;
    }

    s_Index& m_slot;
    bool m_ready = false;
};

const ntx::Geometry& Geometry(const s_Index& slot) { return slot.pages->Geometry(); }

bool IsLeaf(const IBuffer& page) { return !ntx::PageOffset(ntx::ItemChild(page.Item(0))); }

// The item at the page's position, the right-hand item included; NULL outside 0 .. nNumKeys.
uint8_t* EntryAt(IBuffer* page)
{
    if (!page || page->nKeyIndex < 0 || page->nKeyIndex > (int)page->nNumKeys() || page->OffsetAt(page->nKeyIndex) == 0)
        return nullptr;
    return page->Item(page->nKeyIndex);
}

// The compare length of a search key: its length, capped at the key size.
size_t SearchLength(const char* key, unsigned keySize)
{
    const size_t length = std::strlen(key);
    return length < keySize ? length : keySize;
}

// The key text as a C string: its first min(length, key size) characters padded with blanks.
void PadKey(const char* key, unsigned keySize, char* out)
{
    const size_t n = SearchLength(key, keySize);
    std::memcpy(out, key, n);
    std::memset(out + n, ' ', keySize - n);
    out[keySize] = 0;
}

// The search key against a stored key over length characters (length never exceeds the key
// size), in the area's sort order. The byte order compares in place, as strncmp does: it stops at
// the first difference or at the end of the search key. The other orders get the stored key
// copied out, so that no comparison reads past it.
int CompareKey(const s_Collation& collation, const char* key, const uint8_t* item, size_t length, unsigned keySize)
{
    if (collation.sortOrder != DB_SORT_GERMAN_REPLACE && collation.sortOrder != DB_SORT_GERMAN_TABLE &&
        collation.sortOrder != DB_SORT_GERMAN_ALTERNATE) {
        const unsigned char* a = (const unsigned char*)key;
        const unsigned char* b = item + ntx::kItemKeyAt;
        for (size_t i = 0; i < length; ++i) {
            if (a[i] != b[i])
                return a[i] < b[i] ? -1 : 1;
            if (a[i] == 0)
                return 0;
        }
        return 0;
    }
    char stored[kKeyBuffer];
    std::memcpy(stored, item + ntx::kItemKeyAt, keySize);
    stored[keySize] = 0;
    return _str_compare_n(collation, key, stored, length);
}

// ---- page-level changes -------------------------------------------------------------------------

// The item goes in at entry position; it takes the free slot of entry n + 1.
bool InsertItem(IBuffer& page, int position, const uint8_t* item, const ntx::Geometry& g)
{
    const unsigned n = page.nNumKeys();
    if (n + 1 > g.maxKeys || position < 0 || position > (int)n) {
        _db_raise_error(DBE_INTERNAL);
        return false;
    }
    const unsigned slot = page.OffsetAt(n + 1);
    if (slot < g.SlotsAt() || slot + g.itemSize > ntx::kPageSize) {
        _db_raise_error(DBE_INTERNAL);
        return false;
    }
    for (unsigned e = n + 1; e > (unsigned)position; --e)
        page.SetOffsetAt(e, page.OffsetAt(e - 1));
    page.SetOffsetAt((unsigned)position, slot);
    std::memcpy(page.page + slot, item, g.itemSize);
    page.SetNumKeys(n + 1);
    page.dirty = 1;
    return true;
}

// The key at entry position leaves the page; its slot becomes the last free one.
bool RemoveItem(IBuffer& page, int position, const ntx::Geometry& g)
{
    const unsigned n = page.nNumKeys();
    if (position < 0 || position >= (int)n) {
        _db_raise_error(DBE_INTERNAL);
        return false;
    }
    const unsigned slot = page.OffsetAt((unsigned)position);
    for (unsigned e = (unsigned)position; e < g.maxKeys; ++e)
        page.SetOffsetAt(e, page.OffsetAt(e + 1));
    page.SetOffsetAt(g.maxKeys, slot);
    page.SetNumKeys(n - 1);
    page.dirty = 1;
    return true;
}

// The offset entries from `first` on move to the front; the ones before them follow.
void RotateOffsets(IBuffer& page, unsigned first, const ntx::Geometry& g)
{
    unsigned entries[kMaxEntries];
    const unsigned count = g.maxKeys + 1;
    for (unsigned e = 0; e < count; ++e)
        entries[e] = page.OffsetAt(e);
    for (unsigned e = 0; e < count; ++e)
        page.SetOffsetAt(e, entries[(e + first) % count]);
}

// ---- moving in the tree -------------------------------------------------------------------------

int b4down(s_Index& slot, int direction)
{
    BoxObj& box = *slot.pages;
    uint32_t offset;
    if (slot.level < 0) {
        box.Reset(false);
        offset = ntx::Root(slot.header);
        if (!ntx::PageOffset(offset)) {
            Fail(DBE_INDEX_BAD);
            return -2;
        }
    } else {
        const uint8_t* item = EntryAt(slot.currentPage);
        if (!item)
            return -1;
        offset = ntx::ItemChild(item);
        if (!ntx::PageOffset(offset))
            return -1;
    }
    IBuffer* page = box.Down(offset);
    if (!page)
        return -2;
    const int n = (int)page->nNumKeys();
    page->nKeyIndex = (int16_t)(direction >= 0 ? n - (IsLeaf(*page) ? 1 : 0) : 0);
    return slot.level;
}

// Up one level: the new level, -1 at the root (nothing changes), -2 without a current page.
int Up(s_Index& slot)
{
    if (!slot.currentPage)
        return -2;
    if (slot.level <= 0)
        return -1;
    slot.pages->Up();
    return slot.level;
}

// Climbs to the root, loading it when there is no current page.
bool ToRoot(s_Index& slot)
{
    while (Up(slot) >= 0) {
    }
    if (slot.currentPage)
        return true;
    slot.pages->Reset(false);
    return b4down(slot, -1) >= 0;
}

// Moves within the current page by n entries at most; answers the distance moved.
long StepInPage(IBuffer& page, long n)
{
    long room;
    if (n >= 0) {
        room = (long)page.nNumKeys() - page.nKeyIndex;
        if (IsLeaf(page) && room != 0)
            --room;
    } else
        room = page.nKeyIndex;
    if (room < 0)
        room = 0;
    const long moved = n >= 0 ? (n < room ? n : room) : (-n < room ? n : -room);
    page.nKeyIndex = (int16_t)(page.nKeyIndex + moved);
    return moved;
}

// Goes down to a leaf through the current item (direction as b4down); false when the file is
// damaged or unreadable.
bool DescendToLeaf(s_Index& slot, int direction)
{
    for (;;) {
        const int level = b4down(slot, direction);
        if (level == -1)
            return true;
        if (level <= -2)
            return false;
    }
}

bool First(s_Index& slot)
{
    if (!ToRoot(slot))
        return false;
    slot.currentPage->nKeyIndex = 0;
    if (!DescendToLeaf(slot, -1))
        return false;
    slot.currentPage->nKeyIndex = 0;
    return true;
}

bool Last(s_Index& slot)
{
    if (!ToRoot(slot))
        return false;
    // The right-hand item of a branch root, the last key of a leaf root (whatever the position
    // was, also one past the end).
    IBuffer* root = slot.currentPage;
    const int n = (int)root->nNumKeys();
    root->nKeyIndex = (int16_t)(IsLeaf(*root) && n > 0 ? n - 1 : n);
    if (!DescendToLeaf(slot, 1))
        return false;
    IBuffer* leaf = slot.currentPage;
    if (leaf->nNumKeys() > 0)
        leaf->nKeyIndex = (int16_t)(leaf->nNumKeys() - 1);
    return true;
}

long Step(s_Index& slot, long n)
{
    const long s = n >= 0 ? 1 : -1;
    if (!slot.currentPage) {
        if (!First(slot))
            return -n;
    } else if (slot.currentPage->nKeyIndex >= (int)slot.currentPage->nNumKeys()) {
        if (!Last(slot))
            return -n;
    }
    long remaining = n;
    while (remaining != 0) {
        IBuffer* page = slot.currentPage;
        if (IsLeaf(*page)) {
            remaining -= StepInPage(*page, remaining);
            if (remaining == 0)
                return n;
            // Climb to the separator that follows (or precedes) the leaf.
            for (;;) {
                const int level = Up(slot);
                if (level == -2)
                    return -n;
                page = slot.currentPage;
                if (level == -1) {
                    const int at = page->nKeyIndex + (int)s;
                    page->nKeyIndex = (int16_t)(at < 0 ? 0 : at);
                    return n - remaining;
                }
                if (s > 0) {
                    if (page->nKeyIndex < (int)page->nNumKeys()) {
                        --remaining;
                        break;
                    }
                } else if (--page->nKeyIndex >= 0) {
                    ++remaining;
                    break;
                }
            }
        } else {
            // On a separator: the next key is the first of the following subtree, the previous
            // one the last of the subtree before it.
            if (s > 0 && ++page->nKeyIndex > (int)page->nNumKeys())
                return n - remaining;
            remaining -= s;
            if (!DescendToLeaf(slot, (int)-s))
                return -n;
        }
    }
    return n;
}

// Finds the leftmost key that is not smaller than the key within the page.
int SearchPage(IBuffer& page, const char* key, size_t length, const ntx::Geometry& g, const s_Collation& collation)
{
    const int n = (int)page.nNumKeys();
    if (n == 0) {
        page.nKeyIndex = 0;
        return 3;
    }
    int lo = 0, hi = n - 1;
    for (;;) {
        const int mid = (lo + hi) / 2;
        const int compared = CompareKey(collation, key, page.Item((unsigned)mid), length, g.keySize);
        if (compared == 0) {
            if (mid > lo) {
                hi = mid;
                continue;
            }
            page.nKeyIndex = (int16_t)mid;
            return length == g.keySize ? 0 : 1;
        }
        if (compared > 0)
            lo = mid + 1;
        else
            hi = mid - 1;
        if (hi < lo)
            break;
    }
    page.nKeyIndex = (int16_t)lo;
    return lo >= n ? 3 : 2;
}

int Find(s_Index& slot, const char* key)
{
    const ntx::Geometry& g = Geometry(slot);
    const s_Collation collation = _db_collation_of(slot.area);
    const size_t length = SearchLength(key, g.keySize);
    if (!ToRoot(slot))
        return -1;
    int found;
    for (;;) {
        found = SearchPage(*slot.currentPage, key, length, g, collation);
        const int level = b4down(slot, -1);
        if (level == -1)
            break;
        if (level <= -2)
            return -1;
    }
    if (found != 3)
        return found;
    // All keys of the leaf are smaller: the separator that follows the leaf decides.
    for (;;) {
        const int level = Up(slot);
        if (level == -2)
            return -1;
        if (level == -1)
            return 3;
        IBuffer* page = slot.currentPage;
        if (page->nKeyIndex < (int)page->nNumKeys()) {
            if (CompareKey(collation, key, page->Item((unsigned)page->nKeyIndex), length, g.keySize) != 0)
                return 2;
            return length == g.keySize ? 0 : 1;
        }
    }
}

const uint8_t* KeyEntry(const s_Index& slot)
{
    const IBuffer* page = slot.currentPage;
    if (!page || page->nKeyIndex < 0 || page->nKeyIndex >= (int)page->nNumKeys())
        return nullptr;
    return page->Item((unsigned)page->nKeyIndex);
}

int FindRecno(s_Index& slot, const char* key, int32_t recno)
{
    const int found = Find(slot, key);
    if (found != 0 && found != 1)
        return found;
    const ntx::Geometry& g = Geometry(slot);
    const s_Collation collation = _db_collation_of(slot.area);
    const size_t length = found == 0 ? g.keySize : SearchLength(key, g.keySize);
    for (;;) {
        const uint8_t* entry = KeyEntry(slot);
        if (!entry) {
            Fail(DBE_INDEX_BAD);
            return -1;
        }
        const uint32_t stored = ntx::ItemRecno(entry);
        if (stored == (uint32_t)recno)
            return 0;
        if (stored > (uint32_t)recno)
            return 1;
        const long moved = Step(slot, 1);
        if (moved == -1)
            return -1;
        if (moved == 0)
            return 4;
        entry = KeyEntry(slot);
        if (!entry) {
            Fail(DBE_INDEX_BAD);
            return -1;
        }
        if (CompareKey(collation, key, entry, length, g.keySize) != 0)
            return 1;
    }
}

// ---- splits and the free list -------------------------------------------------------------------

// Page buffers and file places reserved for the splits of one insert before anything changes.
class Reservation {
public:
    explicit Reservation(BoxObj& box) : m_box(box) {}
    ~Reservation()
    {
        for (int i = 0; i < m_count; ++i)
            delete m_buffers[i];
    }
    Reservation(const Reservation&) = delete;
    Reservation& operator=(const Reservation&) = delete;

    bool Make(s_Index& slot, int count);
    // The buffer and file place of split i; the buffer then belongs to the caller.
    IBuffer* TakeBuffer(int i)
    {
        IBuffer* buffer = m_buffers[i];
        m_buffers[i] = nullptr;
        return buffer;
    }
    uint32_t Place(int i) const { return m_places[i]; }

private:
    bool EndOfFile(s_Index& slot, uint32_t* end);

    BoxObj& m_box;
    IBuffer* m_buffers[kMaxSplits] = {};
    uint32_t m_places[kMaxSplits] = {};
    int m_count = 0;
};

bool Reservation::Make(s_Index& slot, int count)
{
    for (; m_count < count; ++m_count) {
        m_buffers[m_count] = m_box.NewBuffer();
        if (!m_buffers[m_count]) {
            Fail(DBE_INDEX_BAD);
            return false;
        }
    }
    // Places come from the free list first, then from the end of the file. Nothing of the header
    // changes before every place is known.
    uint32_t head = ntx::FreeList(slot.header);
    uint32_t end = slot.endOffset;
    for (int i = 0; i < count; ++i) {
        if (head == 0) {
            if (end == 0 && !EndOfFile(slot, &end))
                return false;
            if (end > 0x7FFFFC00u - ntx::kPageSize) {
                Fail(DBE_INDEX_WRITE);
                return false;
            }
            m_places[i] = end;
            end += ntx::kPageSize;
            continue;
        }
        bool listed = !ntx::PageOffset(head);
        for (int j = 0; j < i; ++j)
            listed = listed || m_places[j] == head;
        const IBuffer* cached = m_box.FindPage(head);
        if (listed || (cached && m_box.OnPath(cached))) {
            // A free list that names a page of the path, itself or no page is damaged.
            Fail(DBE_INDEX_BAD);
            return false;
        }
        uint32_t next;
        if (cached)
            next = dbf::Get32(cached->page);
        else {
            IBuffer scratch;
            scratch.lFileOffset = head;
            if (!m_box.ReadPage(scratch))
                return false;
            next = dbf::Get32(scratch.page);
        }
        m_places[i] = head;
        head = next;
    }
    ntx::SetFreeList(slot.header, head);
    if (end != 0)
        slot.endOffset = end;
    return true;
}

// The end of the file, taken from its size (rounded up to whole pages) when not known yet.
bool Reservation::EndOfFile(s_Index& slot, uint32_t* end)
{
    LARGE_INTEGER size{};
    if (slot.file == INVALID_HANDLE_VALUE || !GetFileSizeEx(slot.file, &size)) {
        Fail(DBE_INDEX_READ);
        return false;
    }
    uint64_t rounded = ((uint64_t)size.QuadPart + ntx::kPageSize - 1) / ntx::kPageSize * ntx::kPageSize;
    if (rounded < ntx::kPageSize)
        rounded = ntx::kPageSize;
    if (rounded > 0x7FFFFC00u) {
        Fail(DBE_INDEX_WRITE);
        return false;
    }
    slot.endOffset = (uint32_t)rounded;
    *end = slot.endOffset;
    return true;
}

// Inserts the item at the current position; a full page splits, and the split climbs while the
// parents are full. Everything a split needs (page buffers, file places, room on the stack) is
// reserved first, so that an insert that cannot be made leaves the tree as it was.
bool InsertWithSplit(s_Index& slot, const uint8_t* newItem)
{
    BoxObj& box = *slot.pages;
    const ntx::Geometry& g = Geometry(slot);
    IBuffer* page = slot.currentPage;
    if (!page) {
        Fail(DBE_INDEX_BAD);
        return false;
    }
    if (page->nNumKeys() < g.maxKeys)
        return InsertItem(*page, page->nKeyIndex, newItem, g);

    int splits = 0;
    bool newRoot = false;
    for (int up = 0;; ++up) {
        IBuffer* p = up == 0 ? page : box.Ancestor(up);
        if (!p) {
            newRoot = true;
            break;
        }
        if (p->nKeyIndex < 0 || p->nKeyIndex > (int)p->nNumKeys()) {
            Fail(DBE_INTERNAL);
            return false;
        }
        if (p->nNumKeys() < g.maxKeys)
            break;
        ++splits;
    }
    if (newRoot && slot.level + 2 > BoxObj::kStackSize) {
        // The tree would grow deeper than any path can be followed.
        Fail(DBE_INDEX_BAD);
        return false;
    }
    Reservation reserved(box);
    if (!reserved.Make(slot, splits + (newRoot ? 1 : 0)))
        return false;

    uint8_t item[ntx::kMaxItemSize];
    std::memcpy(item, newItem, g.itemSize);
    for (int used = 0;; ++used) {
        if (page->nNumKeys() < g.maxKeys)
            return InsertItem(*page, page->nKeyIndex, item, g);
        // The median: the new item itself in the middle, else the key next to the middle on the
        // side where the new item goes in.
        uint8_t median[ntx::kMaxItemSize];
        const int at = page->nKeyIndex;
        if (at == (int)g.half)
            std::memcpy(median, item, g.itemSize);
        else {
            const unsigned m = at < (int)g.half ? g.half - 1 : g.half;
            std::memcpy(median, page->Item(m), g.itemSize);
            if (!RemoveItem(*page, (int)m, g) || !InsertItem(*page, at < (int)g.half ? at : at - 1, item, g))
                return false;
        }
        // The new left page takes the lower half; the median's child becomes its right-hand child.
        IBuffer* left = reserved.TakeBuffer(used);
        const uint32_t place = reserved.Place(used);
        std::memcpy(left->page, page->page, ntx::kPageSize);
        left->SetNumKeys(g.half);
        uint8_t* rightHand = left->Item(g.half);
        ntx::SetItemChild(rightHand, ntx::ItemChild(median));
        ntx::SetItemRecno(rightHand, 0);
        ntx::SetItemChild(median, place);
        box.Adopt(left, place);
        // The old page keeps the upper half and its right-hand item.
        RotateOffsets(*page, g.half, g);
        page->SetNumKeys(g.half);
        page->dirty = 1;
        std::memcpy(item, median, g.itemSize);
        if (Up(slot) != -1) {
            page = slot.currentPage;
            continue;
        }
        // The root split: a new root holds the median, with the new left page before it and the
        // old root after it.
        const uint32_t oldRoot = page->lFileOffset;
        const uint32_t rootPlace = reserved.Place(used + 1);
        IBuffer* root = reserved.TakeBuffer(used + 1);
        ntx::InitPage(root->page, g);
        root = box.Adopt(root, rootPlace);
        ntx::SetRoot(slot.header, rootPlace);
        box.Reset(true);
        slot.currentPage = root;
        root->nKeyIndex = 0;
        if (!InsertItem(*root, 0, item, g))
            return false;
        ntx::SetItemChild(item, oldRoot);
        if (!InsertItem(*root, 1, item, g))
            return false;
        root->SetNumKeys(1);
        ntx::SetItemRecno(root->Item(1), 0);
        return true;
    }
}

// The current page goes to the head of the free list (optionally then up one level).
void FreePage(s_Index& slot, bool goUp)
{
    IBuffer* page = slot.currentPage;
    dbf::Put32(page->page, ntx::FreeList(slot.header));
    ntx::SetFreeList(slot.header, page->lFileOffset);
    page->dirty = 1;
    if (goUp)
        Up(slot);
}

// ---- adding and deleting ------------------------------------------------------------------------

void CheckLocked(const s_Index& slot)
{
    if (slot.area->exclusive || slot.lockCount > 0)
        return;
    DebugPrintf("Index locking error: count is %d (which it should not be!)", slot.lockCount);
    UtilStackTrace(0, 0);
}

// Adding and deleting: refused on a packed index (error raised); otherwise the key is padded as
// it is stored (into padded, kKeyBuffer bytes), so that it is looked for where it sorts, and
// looked for with its record number. FindRecno's answer, or -1 after an error.
int FindStored(s_Index& slot, const char* key, int32_t recno, char* padded)
{
    if (slot.packed) {
        _db_raise_error(DBE_INDEX_PACKED);
        return -1;
    }
    PadKey(key, Geometry(slot).keySize, padded);
    const int found = FindRecno(slot, padded, recno);
    if (found < 0)
        Fail(DBE_INDEX_BAD);
    return found;
}

// Adds a key; reinsert: a separator taken out by a delete goes back (it was reported when it
// was added, so a unique index raises nothing for it).
bool Add(s_Index& slot, const char* key, int32_t recno, bool reinsert)
{
    if (!reinsert)
        CheckLocked(slot);
    const ntx::Geometry& g = Geometry(slot);
    char padded[kKeyBuffer];
    const int found = FindStored(slot, key, recno, padded);
    if (found < 0)
        return false;
    if (found == 0) {
        _db_raise_error(DBE_KEY_EXISTS);
        return false;
    }
    if ((found == 1 || found == 4) && !reinsert && ntx::Unique(slot.header))
        _db_raise_error(DBE_NOT_UNIQUE);
    if (found == 3 || found == 4) {
        if (!IsLeaf(*slot.currentPage) && !Last(slot)) {
            Fail(DBE_INDEX_BAD);
            return false;
        }
        slot.currentPage->nKeyIndex = (int16_t)slot.currentPage->nNumKeys();
    } else if (!IsLeaf(*slot.currentPage)) {
        // Before a separator: behind the last key of the leaf before it.
        if (Step(slot, -1) != -1 || !IsLeaf(*slot.currentPage)) {
            Fail(DBE_INDEX_BAD);
            return false;
        }
        slot.currentPage->nKeyIndex = (int16_t)slot.currentPage->nNumKeys();
    }
    uint8_t item[ntx::kMaxItemSize] = {};
    ntx::SetItemRecno(item, (uint32_t)recno);
    std::memcpy(item + ntx::kItemKeyAt, padded, g.keySize);
    return InsertWithSplit(slot, item);
}

bool AddBack(s_Index& slot, const uint8_t* separator)
{
    const unsigned keySize = Geometry(slot).keySize;
    char key[kKeyBuffer];
    std::memcpy(key, separator + ntx::kItemKeyAt, keySize);
    key[keySize] = 0;
    return Add(slot, key, (int32_t)ntx::ItemRecno(separator), true);
}

// Removes the current key of a leaf. A leaf left empty (not the root) goes to the free list and
// the separator before it in the parent is added again; a parent left with its right-hand item
// only goes as well, its one child taking its place.
bool RemoveFromLeaf(s_Index& slot)
{
    const ntx::Geometry& g = Geometry(slot);
    IBuffer* leaf = slot.currentPage;
    if (leaf->nNumKeys() == 0) {
        Fail(DBE_INDEX_BAD);
        return false;
    }
    if (!RemoveItem(*leaf, leaf->nKeyIndex, g))
        return false;
    if (leaf->nNumKeys() > 0 || slot.level == 0)
        return true;
    FreePage(slot, true);
    IBuffer* parent = slot.currentPage;
    parent->dirty = 1;
    const unsigned n = parent->nNumKeys();
    if (n == 0) {
        Fail(DBE_INDEX_BAD);
        return false;
    }
    uint8_t separator[ntx::kMaxItemSize];
    if (parent->nKeyIndex >= (int)n) {
        // The leaf hung at the right-hand item: the last key's child becomes the last child.
        parent->nKeyIndex = (int16_t)(n - 1);
        std::memcpy(separator, parent->Item(n - 1), g.itemSize);
        parent->SetNumKeys(n - 1);
        ntx::SetItemRecno(parent->Item(n - 1), 0);
    } else {
        const uint8_t* entry = EntryAt(parent);
        if (!entry) {
            _db_raise_error(DBE_INTERNAL);
            return false;
        }
        std::memcpy(separator, entry, g.itemSize);
        if (!RemoveItem(*parent, parent->nKeyIndex, g))
            return false;
    }
    if (parent->nNumKeys() > 0)
        return AddBack(slot, separator);

    parent->nKeyIndex = 0;
    const uint32_t child = ntx::ItemChild(parent->Item(0));
    bool written = true;
    if (slot.level == 0) {
        ntx::SetRoot(slot.header, child);
        FreePage(slot, false);
        written = slot.pages->WriteChangedPages();
        if (written) {
            slot.pages->DropPages();
            slot.endOffset = 0;
        } else
            slot.pages->Reset(false);
    } else {
        FreePage(slot, true);
        uint8_t* entry = EntryAt(slot.currentPage);
        if (!entry) {
            _db_raise_error(DBE_INTERNAL);
            return false;
        }
        ntx::SetItemChild(entry, child);
        slot.currentPage->dirty = 1;
    }
    return AddBack(slot, separator) && written;
}

bool Delete(s_Index& slot, const char* key, int32_t recno)
{
    CheckLocked(slot);
    const ntx::Geometry& g = Geometry(slot);
    char padded[kKeyBuffer];
    const int found = FindStored(slot, key, recno, padded);
    if (found < 0)
        return false;
    if (found != 0) {
        _db_raise_error(DBE_KEY_MISSING);
        return false;
    }
    _ntx_raise_counter(slot);
    if (IsLeaf(*slot.currentPage))
        return RemoveFromLeaf(slot);
    // A separator: the key before it (the last of the subtree before it, in a leaf) takes its
    // place and leaves its leaf.
    IBuffer* branch = slot.currentPage;
    const int at = branch->nKeyIndex;
    if (Step(slot, -1) != -1 || !IsLeaf(*slot.currentPage)) {
        Fail(DBE_INDEX_BAD);
        return false;
    }
    const uint8_t* previous = KeyEntry(slot);
    if (!previous) {
        Fail(DBE_INDEX_BAD);
        return false;
    }
    std::memcpy(branch->Item((unsigned)at) + ntx::kItemRecnoAt, previous + ntx::kItemRecnoAt, 4 + g.keySize);
    branch->dirty = 1;
    return RemoveFromLeaf(slot);
}

// ---- hooks --------------------------------------------------------------------------------------

s_Index* HookSlot(s_Area& area, int slot)
{
    if (slot < 0 || slot >= DB_INDEX_SLOTS)
        return nullptr;
    s_Index& index = area.indexes[slot];
    index.area = &area;
    return &index;
}

bool FirstKeyHook(s_Area& area, int slot)
{
    s_Index* index = HookSlot(area, slot);
    return index && _ntx_first(*index) && _ntx_current_key(*index);
}

bool LastKeyHook(s_Area& area, int slot)
{
    s_Index* index = HookSlot(area, slot);
    return index && _ntx_last(*index) && _ntx_current_key(*index);
}

long StepKeysHook(s_Area& area, int slot, long n)
{
    s_Index* index = HookSlot(area, slot);
    return index ? _ntx_step(*index, n) : -n;
}

bool CurrentKeyHook(s_Area& area, int slot, int32_t* recno, const char** key, unsigned* length)
{
    s_Index* index = HookSlot(area, slot);
    if (!index)
        return false;
    clsCritObj lock(area.lock);
    const uint8_t* entry = _ntx_current_key(*index);
    if (!entry)
        return false;
    *recno = (int32_t)ntx::ItemRecno(entry);
    *key = (const char*)entry + ntx::kItemKeyAt;
    *length = index->pages->Geometry().keySize;
    return true;
}

bool AddKeyHook(s_Area& area, int slot, const char* key, int32_t recno)
{
    s_Index* index = HookSlot(area, slot);
    return index && _ntx_add_counted(*index, key, recno);
}

bool DeleteKeyHook(s_Area& area, int slot, const char* key, int32_t recno)
{
    s_Index* index = HookSlot(area, slot);
    return index && _ntx_delete(*index, key, recno);
}

void IndexChangedHook(s_Area& area, int slot, bool reposition)
{
    s_Index* index = HookSlot(area, slot);
    if (!index)
        return;
    _ntx_drop_pages(*index);
    if (reposition)
        _db_resync_index(area);
}

bool WriteIndexPagesHook(s_Area& area, int slot)
{
    s_Index* index = HookSlot(area, slot);
    return !index || _ntx_write_pages(*index);
}

bool CloseIndexFileHook(s_Area& area, int slot) { return _ntx_close_file(area, slot) != FALSE; }

} // namespace

const uint8_t* _ntx_current_key(const s_Index& slot) { return slot.pages ? KeyEntry(slot) : nullptr; }

BOOL _ntx_first(s_Index& slot)
{
    Operation op(slot);
    return op.Ready() && First(slot);
}

BOOL _ntx_last(s_Index& slot)
{
    Operation op(slot);
    return op.Ready() && Last(slot);
}

long _ntx_step(s_Index& slot, long n)
{
    if (n == LONG_MIN)   // so that -n exists
        ++n;
    Operation op(slot);
    return op.Ready() ? Step(slot, n) : -n;
}

int _ntx_find(s_Index& slot, const char* key)
{
    Operation op(slot);
    return op.Ready() ? Find(slot, key) : -1;
}

int _ntx_position(s_Area& area, s_Index& slot, const char* key)
{
    Operation op(slot);
    area.bof = area.eof = 0;
    const int found = op.Ready() ? Find(slot, key) : -1;
    if (found < 0)
        return -1;
    if (found == 3) {
        if (area.recordCount < 0)
            _db_refresh_count(area);
        _db_set_eof_position(area);
        area.bof = area.recordCount == 0;
        area.eof = 1;
        return 3;
    }
    const uint8_t* entry = KeyEntry(slot);
    if (!entry)
        return -1;
    if (!_db_index_record(area, (int32_t)ntx::ItemRecno(entry)) || !_db_read_record(area, area.recno))
        return -1;
    return found;
}

int _ntx_find_recno(s_Index& slot, const char* key, int32_t recno)
{
    Operation op(slot);
    return op.Ready() ? FindRecno(slot, key, recno) : -1;
}

BOOL _ntx_add(s_Index& slot, const char* key, int32_t recno)
{
    Operation op(slot);
    return op.Ready() && Add(slot, key, recno, false);
}

BOOL _ntx_add_counted(s_Index& slot, const char* key, int32_t recno)
{
    Operation op(slot);
    if (!op.Ready())
        return FALSE;
    if (slot.packed) {
        _db_raise_error(DBE_INDEX_PACKED);
        return FALSE;
    }
    _ntx_raise_counter(slot);
    return Add(slot, key, recno, false);
}

BOOL _ntx_delete(s_Index& slot, const char* key, int32_t recno)
{
    Operation op(slot);
    return op.Ready() && Delete(slot, key, recno);
}

BOOL _ntx_close_file(s_Area& area, int slot)
{
    if (slot < 0 || slot >= DB_INDEX_SLOTS)
        return FALSE;
    s_Index& index = area.indexes[slot];
    BOOL written = TRUE;
    if (index.name[0] && index.file != INVALID_HANDLE_VALUE) {
        if (index.lockCount > 0)
            written = UnlockIndex(area, slot, TRUE);
        else if (area.exclusive)
            written = WriteIndexBack(area, slot);
        CloseHandle(index.file);
        index.file = INVALID_HANDLE_VALUE;
    }
    return written;
}

void _ntx_raise_counter(s_Index& slot) { ntx::SetCounter(slot.header, slot.changeCounter + 1); }

bool _ntx_write_pages(s_Index& slot)
{
    if (!slot.pages || !slot.area)
        return true;
    clsCritObj lock(slot.area->lock);
    return slot.pages->WriteChangedPages();
}

void _ntx_drop_pages(s_Index& slot)
{
    if (slot.pages && slot.area) {
        clsCritObj lock(slot.area->lock);
        slot.pages->DropPages();
    } else if (slot.pages)
        slot.pages->DropPages();
    slot.level = -1;
    slot.currentPage = nullptr;
    slot.endOffset = 0;
}

void _ntx_reset(s_Index& slot)
{
    if (slot.pages)
        slot.pages->Reset(false);
    slot.level = -1;
    slot.currentPage = nullptr;
}

void _ntx_free_pages(s_Index& slot)
{
    delete slot.pages;
    slot.pages = nullptr;
    slot.level = -1;
    slot.currentPage = nullptr;
    slot.endOffset = 0;
}

void _ntx_hooks(s_EngineHooks& hooks)
{
    hooks.firstKey = FirstKeyHook;
    hooks.lastKey = LastKeyHook;
    hooks.stepKeys = StepKeysHook;
    hooks.currentKey = CurrentKeyHook;
    hooks.addKey = AddKeyHook;
    hooks.deleteKey = DeleteKeyHook;
    hooks.indexChanged = IndexChangedHook;
    hooks.writeIndexPages = WriteIndexPagesHook;
    hooks.closeIndexFile = CloseIndexFileHook;
}
