// Fixtures of the index tests: index files made and read here from the file layout (not through
// the engine), and a table whose area has an index file plugged into slot 0 as the slot opening
// leaves it.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Area.h"
#include "EngineHooks.h"
#include "TableTestKit.h"

namespace ntxtest {

// The sizes that follow from a key size.
struct Sizes {
    unsigned keySize, itemSize, maxKeys, half;
    unsigned SlotsAt() const { return 2 + 2 * (maxKeys + 1); }
};
Sizes SizesFor(unsigned keySize);

// The key text padded with blanks to the key size.
std::string Padded(const std::string& text, unsigned keySize);

// One item of a page made by hand.
struct Item {
    uint32_t child;
    uint32_t recno;
    std::string key;
};
// A page: the keys (items), then the right-hand item's child; offsets in slot order.
std::string PageImage(unsigned keySize, const std::vector<Item>& keys, uint32_t rightChild = 0);
// Header page: signature, counter, root, free list and the sizes of the key size.
std::string HeaderImage(unsigned keySize, uint32_t root = 1024, uint32_t freeList = 0, unsigned counter = 0,
                        uint16_t signature = 6);
// An index of no key: the header page and one empty root leaf at 1,024.
std::string EmptyIndex(unsigned keySize, unsigned counter = 0, uint16_t signature = 6);

// One key of an index: key text (key size bytes) and record number, ordered by key, then record.
struct Entry {
    std::string key;
    uint32_t recno;
    bool operator==(const Entry&) const = default;
    bool operator<(const Entry& other) const { return key != other.key ? key < other.key : recno < other.recno; }
};
std::ostream& operator<<(std::ostream& out, const Entry& entry);

// A whole index file read by the rules of the layout.
struct Scan {
    std::string error;            // the first inconsistency, empty when none
    std::vector<Entry> entries;   // in tree order
    std::string shape;            // nested pages with their keys (trailing blanks cut): "[[A B] C [D E]]"
    size_t treePages = 0;
    size_t freePages = 0;
    int depth = 0;
    unsigned counter = 0;
};
// Checks: the sizes in the header follow from the key size; every page of the tree is reached
// once, holds at most max keys keys and distinct item offsets inside the page, has keys (unless it
// is the root), and a branch page's right-hand item has record number 0; free pages lie outside
// the tree; every page of the file is in the tree or free.
Scan ScanIndex(const std::string& image);

// Replaces the whole file while others have it open (shared read and write).
bool Overwrite(const std::string& path, const std::string& image);

// Plugs an index file into a slot of the area: name, file handle (shared read and write), owner,
// the header and its counter. False when the file cannot be opened or read.
bool PlugIndex(s_Area& area, int slot, const std::string& path);

// A table of 20 rows (NAME C 10: "Row 1" ...) open exclusively, with an index file in slot 0
// that stays locked (as an exclusive table keeps its indexes) except around Commit.
class IndexTest : public tabletest::TableTest {
protected:
    void SetUp() override;
    void TearDown() override;
    // Writes the image as the index file and plugs it into slot 0 (locked), releasing the index
    // in the slot before.
    bool Open(const std::string& image);
    // Unlocks (which writes the header and the changed pages), reads the file, locks again.
    std::string Commit();
    s_Area& Area() const;
    s_Index& Slot() const;
    // The error raised since the last look (then cleared).
    unsigned TakeError();

    std::string m_path;
    s_EngineHooks m_savedHooks;
};

} // namespace ntxtest
