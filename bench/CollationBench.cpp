// Text comparisons per second in the sort orders, German Replace first: its comparison over n
// characters lies on the index search path of tables that use it.
#include <windows.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "BenchClock.h"
#include "Collation.h"

namespace {

template <typename F>
void Measure(const char* what, long n, F compare)
{
    for (long i = 0; i < n / 10; ++i)
        compare(i);
    const double start = BenchNow();
    for (long i = 0; i < n; ++i)
        compare(i);
    const double s = BenchNow() - start;
    std::printf("%-58s %8.1f ns  %7.2f million/s\n", what, s * 1e9 / (double)n, (double)n / s / 1e6);
}

// Names of 20 characters (blank-padded like stored keys) with OEM umlauts, sharing prefixes.
std::vector<std::string> Names()
{
    const char* stems[] = {"M\x81ller", "Mueller", "Schr\x94" "der", "Schroeder", "M\x84rz", "Gro\xE1", "Meier", "Wei\xE1"};
    const char* tails[] = {"", " Hans", " Anna", " J\x81rgen", "mann", "er", " K\x94ln", " Stra\xE1" "e"};
    std::mt19937 random(11);
    std::vector<std::string> names;
    for (int i = 0; i < 1024; ++i) {
        std::string s = std::string(stems[random() % 8]) + tails[random() % 8];
        s.resize(20, ' ');
        names.push_back(s);
    }
    return names;
}

} // namespace

int main()
{
    const std::vector<std::string> names = Names();
    std::vector<std::string> keys;   // stored German Replace keys: umlauts spelled out
    for (const auto& n : names) {
        char key[64];
        _sort_key(s_Collation{DB_SORT_GERMAN_REPLACE, 0}, 21, n.c_str(), key);
        keys.push_back(key);
    }
    const s_Collation replace{DB_SORT_GERMAN_REPLACE, 0}, table{DB_SORT_GERMAN_TABLE, 0}, ascii{DB_SORT_ASCII, 0};
    volatile int sink = 0;
    const long n = 10000000;
    auto pair = [&](long i, const std::vector<std::string>& a, const std::vector<std::string>& b, auto cmp) {
        sink = sink + cmp(a[(size_t)i & 1023].c_str(), b[(size_t)(i * 7 + 3) & 1023].c_str());
    };
    Measure("German Replace, search text against stored key over 20", n, [&](long i) {
        pair(i, names, keys, [&](const char* x, const char* y) { return _str_compare_n(replace, x, y, 20); });
    });
    Measure("German Replace, stored key against stored key over 20", n, [&](long i) {
        pair(i, keys, keys, [&](const char* x, const char* y) { return _str_compare_n(replace, x, y, 20); });
    });
    Measure("German Replace, full comparison of texts with umlauts", n, [&](long i) {
        pair(i, names, names, [&](const char* x, const char* y) { return _str_compare(replace, x, y); });
    });
    Measure("German Table OEM, over 20 (for comparison)", n, [&](long i) {
        pair(i, names, names, [&](const char* x, const char* y) { return _str_compare_n(table, x, y, 20); });
    });
    Measure("ASCII, over 20 (for comparison)", n, [&](long i) {
        pair(i, names, names, [&](const char* x, const char* y) { return _str_compare_n(ascii, x, y, 20); });
    });
    return sink == 12345 ? 1 : 0;
}
