// Cost of one framed engine call with tracing off.
#include <windows.h>

#include <cstdio>

#include "BenchClock.h"
#include "vlDB07.h"

namespace {

template <typename F>
void Measure(const char* what, long n, F call)
{
    for (long i = 0; i < n / 10; ++i)
        call();
    const double start = BenchNow();
    for (long i = 0; i < n; ++i)
        call();
    const double s = BenchNow() - start;
    std::printf("%-46s %10.1f ns/call  (%ld calls)\n", what, s * 1e9 / (double)n, n);
}

} // namespace

int main()
{
    db_job_open();
    volatile unsigned sink = 0;
    Measure("framed export, no job lookup (db_get_version)", 20000000, [&] { sink = sink + db_get_version(0); });
    Measure("framed export (db_error)", 20000000, [&] { sink = sink + db_error(); });
    Measure("unframed export with job lookup (db_select 0)", 20000000, [&] { sink = sink + (unsigned)db_select(nullptr); });
    db_job_close();
    return sink == 12345 ? 1 : 0;
}
