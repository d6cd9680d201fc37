// Blowfish and MD5 of the engine in MB/s: whole 1 MB buffers and record-sized pieces of 256 bytes,
// and key schedules per second (one per opening of a protected table).
//
//   bench_crypt
//
// bench/crypt_bench_openssl.py runs this program and the same work with OpenSSL's libcrypto on
// the same machine, and prints the ratio.
#include <windows.h>

#include <cstdio>
#include <vector>

#include "BenchClock.h"
#include "Md5.h"
#include "clsBlowfish.h"

namespace {

const size_t kBuffer = 1 << 20;
const int kRounds = 64;

template <typename F>
double MegabytesPerSecond(size_t bytesPerCall, int calls, F work)
{
    work();
    const double start = BenchNow();
    for (int i = 0; i < calls; ++i)
        work();
    return (double)bytesPerCall * calls / (BenchNow() - start) / 1e6;
}

} // namespace

int main()
{
    std::vector<unsigned char> data(kBuffer);
    for (size_t i = 0; i < data.size(); ++i)
        data[i] = (unsigned char)(i * 131 + 7);
    clsBlowfish cipher("Ein Passwort fuer den Vergleich");

    const double encode = MegabytesPerSecond(kBuffer, kRounds, [&] { cipher.Encode(data.data(), kBuffer); });
    const double decode = MegabytesPerSecond(kBuffer, kRounds, [&] { cipher.Decode(data.data(), kBuffer); });
    const double records = MegabytesPerSecond(kBuffer, kRounds, [&] {
        for (size_t at = 0; at < kBuffer; at += 256)
            cipher.Encode(data.data() + at, 256);
    });
    const double md5 = MegabytesPerSecond(kBuffer, kRounds, [&] {
        MD5_CTX context;
        MD5Init(&context);
        MD5Update(&context, data.data(), kBuffer);
        MD5Final(&context);
    });
    const double md5Records = MegabytesPerSecond(kBuffer, kRounds / 4, [&] {
        for (size_t at = 0; at < kBuffer; at += 256) {
            MD5_CTX context;
            MD5Init(&context);
            MD5Update(&context, data.data() + at, 256);
            MD5Final(&context);
        }
    });
    const int schedules = 2000;
    const double start = BenchNow();
    for (int i = 0; i < schedules; ++i)
        cipher.SetKey("Ein Passwort fuer den Vergleich");
    const double perSecond = schedules / (BenchNow() - start);

    std::printf("blowfish_encode %.1f MB/s\n", encode);
    std::printf("blowfish_decode %.1f MB/s\n", decode);
    std::printf("blowfish_records256 %.1f MB/s\n", records);
    std::printf("md5 %.1f MB/s\n", md5);
    std::printf("md5_records256 %.1f MB/s\n", md5Records);
    std::printf("blowfish_key_schedules %.0f /s\n", perSecond);
    return 0;
}
