#include "NtxTestKit.h"

#include <cstring>
#include <functional>
#include <ostream>
#include <set>

#include "Job.h"
#include "Locks.h"

namespace ntxtest {

using tabletest::Get16;
using tabletest::Get32;
using tabletest::Put16;
using tabletest::Put32;

Sizes SizesFor(unsigned keySize)
{
    Sizes s;
    s.keySize = keySize;
    s.itemSize = keySize + 8;
    s.maxKeys = (1022 / (s.itemSize + 2) - 1) / 2 * 2;
    s.half = s.maxKeys / 2;
    return s;
}

std::string Padded(const std::string& text, unsigned keySize)
{
    std::string key = text.substr(0, keySize);
    key.resize(keySize, ' ');
    return key;
}

std::string PageImage(unsigned keySize, const std::vector<Item>& keys, uint32_t rightChild)
{
    const Sizes s = SizesFor(keySize);
    std::string page(1024, '\0');
    Put16(page, 0, (unsigned)keys.size());
    for (unsigned e = 0; e <= s.maxKeys; ++e)
        Put16(page, 2 + 2 * e, s.SlotsAt() + e * s.itemSize);
    for (size_t i = 0; i <= keys.size() && i <= s.maxKeys; ++i) {
        const size_t at = s.SlotsAt() + i * s.itemSize;
        if (i == keys.size()) {
            Put32(page, at, rightChild);
            break;
        }
        Put32(page, at, keys[i].child);
        Put32(page, at + 4, keys[i].recno);
        page.replace(at + 8, keySize, Padded(keys[i].key, keySize));
    }
    return page;
}

std::string HeaderImage(unsigned keySize, uint32_t root, uint32_t freeList, unsigned counter, uint16_t signature)
{
    const Sizes s = SizesFor(keySize);
    std::string header(1024, '\0');
    Put16(header, 0, signature);
    Put16(header, 2, counter);
    Put32(header, 4, root);
    Put32(header, 8, freeList);
    Put16(header, 12, s.itemSize);
    Put16(header, 14, keySize);
    Put16(header, 18, s.maxKeys);
    Put16(header, 20, s.half);
    header.replace(22, 4, "NAME");
    return header;
}

std::string EmptyIndex(unsigned keySize, unsigned counter, uint16_t signature)
{
    return HeaderImage(keySize, 1024, 0, counter, signature) + PageImage(keySize, {});
}

std::ostream& operator<<(std::ostream& out, const Entry& entry)
{
    std::string key = entry.key;
    while (!key.empty() && key.back() == ' ')
        key.pop_back();
    return out << "'" << key << "'/" << entry.recno;
}

namespace {

std::string Trimmed(std::string text)
{
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return text;
}

class Scanner {
public:
    Scanner(const std::string& image, Scan& scan) : m_image(image), m_scan(scan) {}

    void Run()
    {
        if (m_image.size() < 2048 || m_image.size() % 1024 != 0)
            return Fail("file size " + std::to_string(m_image.size()) + " is no whole number of pages");
        const unsigned keySize = Get16(m_image, 14);
        if (keySize < 1 || keySize > 330)
            return Fail("key size " + std::to_string(keySize));
        m_sizes = SizesFor(keySize);
        if (Get16(m_image, 0) != 6 && Get16(m_image, 0) != 0x0106)
            return Fail("signature");
        if (Get16(m_image, 12) != m_sizes.itemSize || Get16(m_image, 18) != m_sizes.maxKeys ||
            Get16(m_image, 20) != m_sizes.half)
            return Fail("header sizes do not follow from the key size");
        m_scan.counter = Get16(m_image, 2);
        const uint32_t root = Get32(m_image, 4);
        m_scan.shape = Walk(root, 1, true);
        if (!m_scan.error.empty())
            return;
        std::set<uint32_t> free;
        for (uint32_t offset = Get32(m_image, 8); offset != 0; offset = Get32(m_image, offset)) {
            if (!InFile(offset))
                return Fail("free list names offset " + std::to_string(offset));
            if (m_tree.count(offset))
                return Fail("free page " + std::to_string(offset) + " is in the tree");
            if (!free.insert(offset).second)
                return Fail("free list runs in a circle at " + std::to_string(offset));
        }
        m_scan.treePages = m_tree.size();
        m_scan.freePages = free.size();
        const size_t pages = m_image.size() / 1024 - 1;
        if (m_tree.size() + free.size() != pages)
            Fail(std::to_string(pages - m_tree.size() - free.size()) + " pages are neither in the tree nor free");
    }

private:
    void Fail(const std::string& text)
    {
        if (m_scan.error.empty())
            m_scan.error = text;
    }
    bool InFile(uint32_t offset) const
    {
        return offset != 0 && offset % 1024 == 0 && (size_t)offset + 1024 <= m_image.size();
    }

    std::string Walk(uint32_t offset, int depth, bool isRoot)
    {
        if (!m_scan.error.empty())
            return "";
        if (!InFile(offset))
            return Fail("page offset " + std::to_string(offset) + " outside the file"), "";
        if (!m_tree.insert(offset).second)
            return Fail("page " + std::to_string(offset) + " reached twice"), "";
        if (depth > m_scan.depth)
            m_scan.depth = depth;
        const size_t page = offset;
        const unsigned n = Get16(m_image, page);
        if (n > m_sizes.maxKeys)
            return Fail("page " + std::to_string(offset) + " holds " + std::to_string(n) + " keys"), "";
        std::set<unsigned> slots;
        for (unsigned e = 0; e <= m_sizes.maxKeys; ++e) {
            const unsigned at = Get16(m_image, page + 2 + 2 * e);
            if (at < m_sizes.SlotsAt() || at + m_sizes.itemSize > 1024 || !slots.insert(at).second)
                return Fail("page " + std::to_string(offset) + ": bad item offset " + std::to_string(at)), "";
        }
        auto item = [&](unsigned e) { return page + Get16(m_image, page + 2 + 2 * e); };
        if (n == 0 && !isRoot)
            return Fail("empty page " + std::to_string(offset) + " below the root"), "";
        const bool leaf = Get32(m_image, item(0)) == 0;
        std::string shape = "[";
        for (unsigned e = 0; e <= n; ++e) {
            const uint32_t child = Get32(m_image, item(e));
            if (leaf != (child == 0))
                return Fail("page " + std::to_string(offset) + " mixes leaf and branch items"), "";
            if (!leaf)
                shape += (e ? " " : "") + Walk(child, depth + 1, false);
            if (e == n) {
                if (!leaf && Get32(m_image, item(e) + 4) != 0)
                    Fail("branch page " + std::to_string(offset) + ": right-hand item with a record number");
                break;
            }
            const Entry entry{m_image.substr(item(e) + 8, m_sizes.keySize), Get32(m_image, item(e) + 4)};
            m_scan.entries.push_back(entry);
            shape += (leaf && e == 0 ? "" : " ") + Trimmed(entry.key);
        }
        return shape + "]";
    }

    const std::string& m_image;
    Scan& m_scan;
    Sizes m_sizes{};
    std::set<uint32_t> m_tree;
};

} // namespace

Scan ScanIndex(const std::string& image)
{
    Scan scan;
    Scanner(image, scan).Run();
    return scan;
}

bool Overwrite(const std::string& path, const std::string& image)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS, 0,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool ok = WriteFile(file, image.data(), (DWORD)image.size(), &written, nullptr) && written == image.size() &&
                    SetEndOfFile(file);
    CloseHandle(file);
    return ok;
}

bool PlugIndex(s_Area& area, int slot, const std::string& path)
{
    s_Index& index = area.indexes[slot];
    std::snprintf(index.name, sizeof index.name, "%s", path.c_str());
    CharUpperA(index.name);
    index.file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             OPEN_EXISTING, 0, nullptr);
    index.area = &area;
    index.level = -1;
    DWORD read = 0;
    if (index.file == INVALID_HANDLE_VALUE ||
        !ReadFile(index.file, index.header, DB_INDEX_HEADER_SIZE, &read, nullptr) || read != DB_INDEX_HEADER_SIZE)
        return false;
    index.changeCounter = Get16(std::string((const char*)index.header, 4), 2);
    return true;
}

void IndexTest::SetUp()
{
    TableTest::SetUp();
    m_savedHooks = g_EngineHooks;
    std::vector<std::string> rows;
    for (int i = 1; i <= 20; ++i)
        rows.push_back(" Row " + std::to_string(i));
    ASSERT_TRUE(Use("rows.dbf", tabletest::DbfImage({{"NAME", 'C', 10, 0}}, rows)));
    m_path = File("rows.ntx");
}

void IndexTest::TearDown()
{
    TableTest::TearDown();
    g_EngineHooks = m_savedHooks;
}

bool IndexTest::Open(const std::string& image)
{
    if (Slot().name[0])
        g_EngineHooks.releaseIndexSlot(Area(), 0);
    return oxtest::WriteFileText(m_path, image) && PlugIndex(Area(), 0, m_path) && LockIndex(Area(), 0, FALSE, TRUE);
}

std::string IndexTest::Commit()
{
    EXPECT_TRUE(UnlockIndex(Area(), 0, FALSE));
    std::string image = oxtest::ReadFileText(m_path);
    EXPECT_TRUE(LockIndex(Area(), 0, FALSE, TRUE));
    return image;
}

s_Area& IndexTest::Area() const { return *g_Job->currentArea; }

s_Index& IndexTest::Slot() const { return g_Job->currentArea->indexes[0]; }

unsigned IndexTest::TakeError()
{
    const unsigned error = g_Job->currentError;
    g_Job->currentError = 0;
    m_error = 0;
    return error;
}

} // namespace ntxtest
