// The page cache and page stack of one index slot.
//
// Every page visited stays cached until the cache is dropped; a table of file offsets finds a
// cached page at once. The path from the root to the slot's current page is a stack of at most
// kStackSize entries: going down pushes the current page and makes the child current, going up
// pops. The slot itself holds the level (-1: no current page) and the current page:
//
//   no current page (level -1)  --Down(root)-->  the root current, level 0, the stack holds NULL
//   level L                     --Down(child)->  the child current, level L + 1
//   level L                     --Up-->          the page below on the stack current, level L - 1
//   any                         --Reset-->       level -1 (with root: level 0, one NULL entry)
//   any                         --DropPages-->   every cached page freed unwritten, level -1
//
// Pages are read and written through the table's cipher hooks, so the cached pages are always
// plain. Errors are raised where they happen (33 read, 34 write, 29 packed read, 35 a damaged
// page or path).
#pragma once

#include <cstddef>
#include <cstdint>

#include "Area.h"
#include "IBuffer.h"

class BoxObj {
public:
    // Pages on one path from the root to a leaf.
    static const int kStackSize = 20;

    explicit BoxObj(s_Index& slot);
    // Frees every cached page without writing it.
    ~BoxObj();
    BoxObj(const BoxObj&) = delete;
    BoxObj& operator=(const BoxObj&) = delete;

    // The sizes of the slot's pages; a change drops the cache (its pages were checked against
    // the old sizes).
    void UseGeometry(const ntx::Geometry& geometry);
    const ntx::Geometry& Geometry() const { return m_geometry; }

    // Level -1, no current page, empty stack; with root: level 0 and one empty stack entry.
    void Reset(bool withRoot);
    // Pushes the current page and makes the page at offset current (cached, else read); NULL
    // with the error raised when the stack is full or the page is on the path already (35), its
    // read fails (33 or 29; the page leaves the cache) or it is no usable page (35).
    IBuffer* Down(uint32_t offset);
    // Pops: the page below on the stack becomes current. Without a current page a message box
    // tells of the internal error and nothing changes.
    void Up();
    // The page `levels` above the current one on the path (1: the parent); NULL above the root.
    IBuffer* Ancestor(int levels) const;
    // The page is the current one or on the stack.
    bool OnPath(const IBuffer* page) const;

    // The cached page with that offset, or NULL.
    IBuffer* FindPage(uint32_t offset) const;
    // The cached page with that offset, else a new clean page at the head of the cache (contents
    // not read); NULL when no page is available.
    IBuffer* GetPage(uint32_t offset);
    // A page buffer outside the cache: a new one, or when memory runs out the first cached page
    // in list order that is not on the path (written first when changed). NULL when none is left.
    IBuffer* NewBuffer();
    // Puts a page made outside the cache (NewBuffer) at offset into the cache as changed; when a
    // page with that offset is cached already, that page takes the contents and buffer is freed.
    // Answers the cached page.
    IBuffer* Adopt(IBuffer* buffer, uint32_t offset);

    // Reads the page at its lFileOffset (deciphered); writes it (enciphered on a copy).
    bool ReadPage(IBuffer& page);
    bool WritePage(IBuffer& page);
    // Writes every changed page; false when a write failed (the others are written all the same).
    bool WriteChangedPages();
    // Frees every cached page without writing, then Reset.
    void DropPages();

    size_t PageCount() const { return m_pageCount; }
    // Pages read from and written to the file since the cache was made.
    unsigned long PagesRead() const { return m_pagesRead; }
    unsigned long PagesWritten() const { return m_pagesWritten; }

private:
    void Link(IBuffer* page);
    void Unlink(IBuffer* page);
    void Forget(IBuffer* page);
    void Grow();
    size_t Bucket(uint32_t offset) const { return (offset / ntx::kPageSize) & (m_bucketCount - 1); }

    s_Index& m_slot;
    ntx::Geometry m_geometry;
    IBuffer* m_head = nullptr;
    IBuffer** m_buckets = nullptr;
    size_t m_bucketCount = 0;
    size_t m_pageCount = 0;
    IBuffer* m_stack[kStackSize] = {};
    int m_count = 0;
    unsigned long m_pagesRead = 0;
    unsigned long m_pagesWritten = 0;
};
