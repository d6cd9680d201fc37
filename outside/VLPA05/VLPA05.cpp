// The compression library stand-in (see VLPA05.h): deflate of the statically linked zlib, with a
// stored form for blocks that do not compress.
#include "VLPA05.h"

#include <zlib.h>

#include <cstring>

namespace {

const unsigned long kMaxBlock = VLPA05_MAX_BLOCK;
const unsigned char kTagStored = 0x00;
const unsigned char kTagDeflate = 0x01;
const unsigned short kVersion = 0x0105;

volatile LONG s_mode = 0;

int Level()
{
    const LONG mode = s_mode;
    return mode >= 1 && mode <= 9 ? (int)mode : Z_DEFAULT_COMPRESSION;
}

// Raw deflate of the block into out (room bytes); the stream's length, or 0 when it does not fit.
unsigned long Deflate(unsigned char* out, unsigned long room, const unsigned char* in, unsigned long length)
{
    z_stream stream{};
    if (deflateInit2(&stream, Level(), Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        return 0;
    stream.next_in = const_cast<unsigned char*>(in);
    stream.avail_in = (uInt)length;
    stream.next_out = out;
    stream.avail_out = (uInt)room;
    const int result = deflate(&stream, Z_FINISH);
    const unsigned long produced = stream.total_out;
    deflateEnd(&stream);
    return result == Z_STREAM_END ? produced : 0;
}

unsigned long Inflate(unsigned char* out, const unsigned char* in, unsigned long length)
{
    z_stream stream{};
    if (inflateInit2(&stream, -15) != Z_OK)
        return 0;
    stream.next_in = const_cast<unsigned char*>(in);
    stream.avail_in = (uInt)length;
    stream.next_out = out;
    stream.avail_out = (uInt)kMaxBlock;
    const int result = inflate(&stream, Z_FINISH);
    const unsigned long produced = stream.total_out;
    const bool whole = result == Z_STREAM_END && stream.avail_in == 0;
    inflateEnd(&stream);
    return whole ? produced : 0;
}

unsigned long Expand(void* destination, const void* source, unsigned long length)
{
    const unsigned char* in = (const unsigned char*)source;
    unsigned char* out = (unsigned char*)destination;
    if (!in || !out || length == 0 || length > kMaxBlock)
        return 0;
    if (length == kMaxBlock) {
        std::memcpy(out, in, kMaxBlock);
        return kMaxBlock;
    }
    switch (in[0]) {
    case kTagStored:
        std::memcpy(out, in + 1, length - 1);
        return length - 1;
    case kTagDeflate:
        return Inflate(out, in + 1, length - 1);
    default:
        return 0;
    }
}

} // namespace

extern "C" {

unsigned long WINAPI PackCompressBuffer(void* destination, const void* source, unsigned long length)
{
    const unsigned char* in = (const unsigned char*)source;
    unsigned char* out = (unsigned char*)destination;
    if (!in || !out || length == 0 || length > kMaxBlock)
        return 0;
    // The tagged forms are shorter than a whole block: a length of 8,192 marks the stored block.
    unsigned char packed[kMaxBlock];
    const unsigned long deflated = Deflate(packed, kMaxBlock - 2, in, length);
    if (deflated && deflated < length) {
        out[0] = kTagDeflate;
        std::memcpy(out + 1, packed, deflated);
        return deflated + 1;
    }
    if (length + 1 < kMaxBlock) {
        out[0] = kTagStored;
        std::memcpy(out + 1, in, length);
        return length + 1;
    }
    std::memcpy(out, in, length);
    if (length < kMaxBlock)
        out[length] = 0;
    return kMaxBlock;
}

unsigned long WINAPI PackExpandBuffer(void* destination, const void* source, unsigned long length)
{
    return Expand(destination, source, length);
}

unsigned long WINAPI PackExpandBufferEnh(void* destination, const void* source, unsigned long length,
                                         unsigned long)
{
    return Expand(destination, source, length);
}

unsigned short WINAPI PackSetMode(unsigned short mode)
{
    return (unsigned short)InterlockedExchange(&s_mode, (LONG)mode);
}

unsigned long WINAPI PackGetVersion(unsigned long) { return kVersion; }

} // extern "C"
