#include "BoxObj.h"

#include <cstring>
#include <new>

#include "EngineHooks.h"
#include "Job.h"
#include "LibMessageBox.h"
#include "TableFile.h"

namespace {

const size_t kFirstBuckets = 64;

} // namespace

BoxObj::BoxObj(s_Index& slot) : m_slot(slot) { Reset(false); }

BoxObj::~BoxObj()
{
    DropPages();
    delete[] m_buckets;
}

void BoxObj::UseGeometry(const ntx::Geometry& geometry)
{
    if (geometry == m_geometry)
        return;
    DropPages();
    m_geometry = geometry;
}

void BoxObj::Reset(bool withRoot)
{
    m_slot.currentPage = nullptr;
    m_count = withRoot ? 1 : 0;
    m_stack[0] = nullptr;
    m_slot.level = withRoot ? 0 : -1;
}

IBuffer* BoxObj::Down(uint32_t offset)
{
    if (m_count >= kStackSize) {
        // A path longer than the stack: the file is damaged (or a child refers back up).
        _db_raise_error(DBE_INDEX_BAD);
        return nullptr;
    }
    IBuffer* page = FindPage(offset);
    if (page) {
        if (OnPath(page) || !ntx::PageValid(page->page, m_geometry)) {
            _db_raise_error(DBE_INDEX_BAD);
            return nullptr;
        }
    } else {
        page = GetPage(offset);
        if (!page) {
            _db_raise_error(DBE_INDEX_BAD);
            return nullptr;
        }
        // A page that could not be read, or holds no usable page, does not stay cached: its
        // bytes must never be taken for the page and written back.
        if (!ReadPage(*page)) {
            Forget(page);
            return nullptr;
        }
        if (!ntx::PageValid(page->page, m_geometry)) {
            Forget(page);
            _db_raise_error(DBE_INDEX_BAD);
            return nullptr;
        }
    }
    m_stack[m_count++] = m_slot.currentPage;
    m_slot.currentPage = page;
    ++m_slot.level;
    return page;
}

void BoxObj::Up()
{
    if (m_slot.level < 0 || m_count == 0) {
        LibMessageBox(nullptr, "internal error: BoxObj->Up() called with no current page", "TABSTOR", MB_OK);
        return;
    }
    m_slot.currentPage = m_stack[--m_count];
    --m_slot.level;
}

IBuffer* BoxObj::Ancestor(int levels) const
{
    if (levels < 1 || levels > m_count)
        return nullptr;
    return m_stack[m_count - levels];
}

bool BoxObj::OnPath(const IBuffer* page) const
{
    if (page == m_slot.currentPage)
        return true;
    for (int i = 0; i < m_count; ++i)
        if (m_stack[i] == page)
            return true;
    return false;
}

IBuffer* BoxObj::FindPage(uint32_t offset) const
{
    if (!m_buckets) {
        // No memory was left even for the first offset table.
        for (IBuffer* p = m_head; p; p = p->next)
            if (p->lFileOffset == offset)
                return p;
        return nullptr;
    }
    for (IBuffer* p = m_buckets[Bucket(offset)]; p; p = p->hashNext)
        if (p->lFileOffset == offset)
            return p;
    return nullptr;
}

IBuffer* BoxObj::GetPage(uint32_t offset)
{
    if (IBuffer* cached = FindPage(offset))
        return cached;
    IBuffer* page = NewBuffer();
    if (!page)
        return nullptr;
    page->lFileOffset = offset;
    Link(page);
    return page;
}

IBuffer* BoxObj::NewBuffer()
{
    IBuffer* page = new (std::nothrow) IBuffer;
    if (page)
        return page;
    for (IBuffer* p = m_head; p; p = p->next) {
        if (OnPath(p) || (p->dirty && !WritePage(*p)))
            continue;
        Unlink(p);
        *p = IBuffer();
        return p;
    }
    return nullptr;
}

IBuffer* BoxObj::Adopt(IBuffer* buffer, uint32_t offset)
{
    if (IBuffer* cached = FindPage(offset)) {
        std::memcpy(cached->page, buffer->page, sizeof cached->page);
        cached->dirty = 1;
        delete buffer;
        return cached;
    }
    buffer->lFileOffset = offset;
    buffer->dirty = 1;
    buffer->nKeyIndex = 0;
    Link(buffer);
    return buffer;
}

bool BoxObj::ReadPage(IBuffer& page)
{
    s_Area& area = *m_slot.area;
    if (m_slot.packed) {
        const int slot = (int)(&m_slot - area.indexes);
        if (!g_EngineHooks.readPackedIndexPage ||
            !g_EngineHooks.readPackedIndexPage(area, slot, page.lFileOffset / ntx::kPageSize, page.page)) {
            _db_raise_error(DBE_READ_RECORD);
            return false;
        }
    } else if (m_slot.file == INVALID_HANDLE_VALUE ||
               _xread_at(m_slot.file, page.page, page.lFileOffset, ntx::kPageSize) != ntx::kPageSize) {
        _db_raise_error(DBE_INDEX_READ);
        return false;
    }
    if (area.IsEncrypted() && g_EngineHooks.decryptBuffer)
        g_EngineHooks.decryptBuffer(area, (int32_t)page.lFileOffset, page.page, ntx::kPageSize);
    page.dirty = 0;
    ++m_pagesRead;
    return true;
}

bool BoxObj::WritePage(IBuffer& page)
{
    s_Area& area = *m_slot.area;
    const uint8_t* data = page.page;
    uint8_t scratch[ntx::kPageSize];
    if (area.IsEncrypted() && g_EngineHooks.encryptBuffer) {
        std::memcpy(scratch, page.page, sizeof scratch);
        g_EngineHooks.encryptBuffer(area, (int32_t)page.lFileOffset, scratch, sizeof scratch);
        data = scratch;
    }
    if (m_slot.file == INVALID_HANDLE_VALUE ||
        _xwrite_at(m_slot.file, data, page.lFileOffset, ntx::kPageSize) != ntx::kPageSize) {
        _db_raise_error(DBE_INDEX_WRITE);
        return false;
    }
    page.dirty = 0;
    ++m_pagesWritten;
    return true;
}

bool BoxObj::WriteChangedPages()
{
    bool ok = true;
    for (IBuffer* p = m_head; p; p = p->next)
        if (p->dirty && !WritePage(*p))
            ok = false;
    return ok;
}

void BoxObj::DropPages()
{
    while (m_head) {
        IBuffer* p = m_head;
        m_head = p->next;
        delete p;
    }
    if (m_buckets)
        std::memset(m_buckets, 0, m_bucketCount * sizeof *m_buckets);
    m_pageCount = 0;
    Reset(false);
}

void BoxObj::Link(IBuffer* page)
{
    if (m_pageCount >= m_bucketCount)
        Grow();
    page->next = m_head;
    m_head = page;
    if (m_buckets) {
        IBuffer*& bucket = m_buckets[Bucket(page->lFileOffset)];
        page->hashNext = bucket;
        bucket = page;
    }
    ++m_pageCount;
}

void BoxObj::Unlink(IBuffer* page)
{
    for (IBuffer** p = &m_head; *p; p = &(*p)->next)
        if (*p == page) {
            *p = page->next;
            break;
        }
    if (m_buckets)
        for (IBuffer** p = &m_buckets[Bucket(page->lFileOffset)]; *p; p = &(*p)->hashNext)
            if (*p == page) {
                *p = page->hashNext;
                break;
            }
    page->next = page->hashNext = nullptr;
    --m_pageCount;
}

void BoxObj::Forget(IBuffer* page)
{
    Unlink(page);
    delete page;
}

// Doubles the offset table; without memory the old table stays (its chains grow longer).
void BoxObj::Grow()
{
    const size_t count = m_bucketCount ? m_bucketCount * 2 : kFirstBuckets;
    IBuffer** buckets = new (std::nothrow) IBuffer*[count]();
    if (!buckets)
        return;
    for (IBuffer* p = m_head; p; p = p->next) {
        IBuffer*& bucket = buckets[(p->lFileOffset / ntx::kPageSize) & (count - 1)];
        p->hashNext = bucket;
        bucket = p;
    }
    delete[] m_buckets;
    m_buckets = buckets;
    m_bucketCount = count;
}
