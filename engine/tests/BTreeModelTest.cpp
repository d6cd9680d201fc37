// Long random sequences of adds and deletes, equal keys among them, against an in-memory model:
// after every batch (one lock period) the file read by the layout's rules holds the model's keys
// in order, every page is in the tree once or free, the header's sizes and counter are right, and
// the engine's own walks and finds agree.
#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>
#include <vector>

#include "BTree.h"
#include "Job.h"
#include "NtxTestKit.h"
#include "vlDB07.h"

using namespace ntxtest;

namespace {

struct ModelCase {
    unsigned keySize;
    int batches;
    int opsPerBatch;
    int distinctKeys;   // few distinct keys: many equal ones
    uint32_t seed;
};

// Key k: a short part that varies (so that keys share prefixes), for long keys followed by a
// long run of one letter, as the program's composite key ends in a path.
std::string KeyText(int k, unsigned keySize)
{
    std::string text = "U" + std::to_string(k % 3) + " " + std::to_string(100000 + (k * 7919) % 100000);
    if (keySize > 120)
        text = Padded(text, 120) + std::string(100, (char)('a' + k % 26));
    return Padded(text, keySize);
}

class BTreeModel : public IndexTest {
protected:
    void Run(const ModelCase& c);

    // The engine's walk in one direction.
    std::vector<Entry> Walk(unsigned keySize, bool forward)
    {
        std::vector<Entry> walk;
        if (!(forward ? _ntx_first(Slot()) : _ntx_last(Slot())))
            return walk;
        for (const uint8_t* e = _ntx_current_key(Slot()); e; e = _ntx_current_key(Slot())) {
            walk.push_back({std::string((const char*)e + 8, keySize), tabletest::Get32(std::string((const char*)e, 8), 4)});
            if (_ntx_step(Slot(), forward ? 1 : -1) != (forward ? 1 : -1))
                break;
        }
        if (!forward)
            walk = std::vector<Entry>(walk.rbegin(), walk.rend());
        return walk;
    }
};

void BTreeModel::Run(const ModelCase& c)
{
    ASSERT_TRUE(Open(EmptyIndex(c.keySize)));
    std::mt19937 rng(c.seed);
    std::set<Entry> model;
    std::vector<Entry> pool;   // the model's entries in no order, for random picks
    unsigned counter = 0;
    size_t largest = 0;
    int deepest = 0;
    for (int batch = 0; batch < c.batches; ++batch) {
        const std::string where = "seed " + std::to_string(c.seed) + ", batch " + std::to_string(batch);
        // Grow, shrink to almost nothing, grow again.
        const int phase = batch * 3 / c.batches;
        const unsigned addShare = phase == 1 ? 25 : 70;
        if (batch % 3 == 2)
            _ntx_drop_pages(Slot());   // as when another station changed the index
        for (int op = 0; op < c.opsPerBatch; ++op) {
            const unsigned r = rng() % 100;
            if (pool.empty() || r < addShare) {
                Entry e{KeyText((int)(rng() % (unsigned)c.distinctKeys), c.keySize), 0};
                do
                    e.recno = rng() % 100000 + 1;
                while (model.count(e));
                ASSERT_TRUE(_ntx_add_counted(Slot(), e.key.c_str(), (int32_t)e.recno))
                    << where << ": add " << e << ", error " << TakeError();
                ASSERT_EQ(0u, TakeError()) << where << ": add " << e;
                model.insert(e);
                pool.push_back(e);
            } else if (r < addShare + 3) {
                const Entry& e = pool[rng() % pool.size()];
                ASSERT_FALSE(_ntx_add(Slot(), e.key.c_str(), (int32_t)e.recno)) << where << ": add again " << e;
                ASSERT_EQ((unsigned)DBE_KEY_EXISTS, TakeError()) << where << ": add again " << e;
            } else if (r < 97) {
                const size_t i = rng() % pool.size();
                const Entry e = pool[i];
                ASSERT_TRUE(_ntx_delete(Slot(), e.key.c_str(), (int32_t)e.recno))
                    << where << ": delete " << e << ", error " << TakeError();
                ASSERT_EQ(0u, TakeError()) << where << ": delete " << e;
                model.erase(e);
                pool[i] = pool.back();
                pool.pop_back();
            } else {
                const Entry& e = pool[rng() % pool.size()];
                ASSERT_FALSE(_ntx_delete(Slot(), e.key.c_str(), (int32_t)e.recno + 100000)) << where << ": delete absent";
                ASSERT_EQ((unsigned)DBE_KEY_MISSING, TakeError()) << where << ": delete absent";
            }
        }
        const std::vector<Entry> expected(model.begin(), model.end());
        const Scan scan = ScanIndex(Commit());
        ASSERT_EQ("", scan.error) << where;
        ASSERT_EQ(expected, scan.entries) << where;
        EXPECT_EQ((counter + 1) & 0xFFFF, scan.counter) << where << ": one step per lock period";
        counter = scan.counter;
        ASSERT_EQ(expected, Walk(c.keySize, true)) << where << ": forward walk";
        if (batch % 4 == 0) {
            ASSERT_EQ(expected, Walk(c.keySize, false)) << where << ": backward walk";
        }
        for (int i = 0; i < 20 && !pool.empty(); ++i) {
            const Entry& e = pool[rng() % pool.size()];
            ASSERT_EQ(0, _ntx_find_recno(Slot(), e.key.c_str(), (int32_t)e.recno)) << where << ": find " << e;
        }
        largest = std::max(largest, model.size());
        deepest = std::max(deepest, scan.depth);
    }
    // The sequence reached trees of several levels.
    EXPECT_GE(deepest, c.keySize > 100 ? 6 : 3) << "largest index " << largest << " keys";
}

} // namespace

TEST_F(BTreeModel, KeySize10FiftyKeysAPage)
{
    Run({10, 36, 600, 400, 20240517});
}

TEST_F(BTreeModel, KeySize226TwoKeysAPage)
{
    Run({226, 36, 150, 300, 19991231});
}
