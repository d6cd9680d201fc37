// Cost of one crash protection frame (open and close, frames in use), next to the same loop
// without a frame, and of a framed export of the database library that carries a crash frame.
#include <windows.h>

#include <cstdio>

#include "BenchClock.h"
#include "clsGPFProtection.h"
#include "vlDB07.h"

namespace {

volatile long s_sink = 0;

__attribute__((noinline)) void WithFrame()
{
    clsGPFProtection frame(clsGPFProtection::kReport);
    s_sink = s_sink + 1;
}

__attribute__((noinline)) void WithoutFrame() { s_sink = s_sink + 1; }

template <typename F>
double NanosecondsPerCall(long n, F call)
{
    for (long i = 0; i < n / 10; ++i)
        call();
    const double start = BenchNow();
    for (long i = 0; i < n; ++i)
        call();
    return (BenchNow() - start) * 1e9 / (double)n;
}

} // namespace

int main()
{
    if (!GPFProtectionStaticInit()) {
        std::printf("crash protection frames are switched off (registry or debugger)\n");
        return 1;
    }
    const long n = 50000000;
    double with = NanosecondsPerCall(n, &WithFrame);
    double without = NanosecondsPerCall(n, &WithoutFrame);
    std::printf("function with a crash frame      %8.2f ns/call\n", with);
    std::printf("the same function without        %8.2f ns/call\n", without);
    std::printf("one crash frame                  %8.2f ns\n", with - without);

    db_job_open();
    char record[16];
    double framed = NanosecondsPerCall(5000000, [&] { s_sink = s_sink + db_get_record(record, sizeof record); });
    std::printf("db_get_record without a table (crash frame, job lookup) %8.1f ns/call\n", framed);
    db_job_close();
    return 0;
}
