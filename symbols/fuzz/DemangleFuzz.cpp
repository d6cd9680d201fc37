// libFuzzer harness of the demangler (built natively by run_fuzz.sh): the input is a name, read up
// to its terminator and with an explicit length (no terminator behind it), rendered into buffers
// of several sizes and counted. Besides the sanitizers it checks the demangler's promises: the
// length query never counts less than a rendering, a buffer one longer than the query gets the
// whole rendering, a smaller buffer a prefix of it, and nothing is written past a buffer.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "Demangler.h"

namespace {

void Check(bool condition)
{
    if (!condition)
        abort();
}

void RenderAndCheck(const char* name, size_t length)
{
    const size_t query = DemangleName(name, length, nullptr, 0);
    std::vector<char> whole(query + 1 + 8, '#');
    const size_t n = DemangleName(name, length, whole.data(), query + 1);
    Check(n <= query && strlen(whole.data()) == n);
    Check(memcmp(whole.data() + query + 1, "########", 8) == 0);
    const size_t sizes[] = {0, 1, 2, 10, n / 2 + 1, n, n + 1};
    for (size_t size : sizes) {
        std::vector<char> buffer(size + 8, '#');
        size_t m = DemangleName(name, length, buffer.data(), size);
        Check(memcmp(buffer.data() + size, "########", 8) == 0);
        if (size == 0) {
            Check(m == 0);
            continue;
        }
        Check(m < size && strlen(buffer.data()) == m && memcmp(buffer.data(), whole.data(), m) == 0);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The first byte chooses a prefix, so that most inputs reach the grammar.
    static const char* const prefixes[] = {"", "W?", "T?abcd", "__imp_W?", "W?foo$"};
    std::string name = size ? prefixes[data[0] % 5] : "";
    if (size)
        name.append(reinterpret_cast<const char*>(data + 1), size - 1);

    IsMangledName(name.c_str());
    RenderAndCheck(name.c_str(), 0);
    // The same bytes without a terminator: only the given length may be read.
    if (!name.empty()) {
        std::unique_ptr<char[]> raw(new char[name.size()]);
        memcpy(raw.get(), name.data(), name.size());
        RenderAndCheck(raw.get(), name.size());
    }
    return 0;
}
