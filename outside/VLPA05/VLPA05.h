// Compression library: blocks of up to 8,192 bytes compressed into at most 8,192 bytes and
// expanded back to the same bytes. The database library loads it at run time (LoadLibraryA
// "VLPA05.DLL") and binds its functions by these exported names:
//
//   "_PackCompressBuffer@12"     (destination, source, length)            -> compressed length
//   "_PackExpandBuffer@12"       (destination, source, compressed length) -> expanded length
//   "_PackExpandBufferEnh@16"    (destination, source, compressed length, expected length)
//   "_PackSetMode@4"             (mode)                                   -> the previous mode
//   "_PackGetVersion@4"          (reserved)                               -> version, 0x0105
//
// Block format (the compressed bytes of one block):
//   exactly 8,192 bytes   the block itself, stored as it is (a block of 8,192 bytes that does not
//                         compress; one of 8,191 bytes is stored the same way with a zero byte
//                         added, and expands to 8,192 bytes)
//   tag 0x00, bytes       stored: the bytes after the tag are the block
//   tag 0x01, stream      a raw deflate stream (RFC 1951) of the block
// The compressor takes the shortest form; every form is at most 8,192 bytes. Expansion writes at
// most 8,192 bytes into the destination and does not depend on the expected length; it answers 0
// for bytes that are no block (a damaged file).
//
// Modes: 0 the default compression, 1..9 the deflate level; any other mode counts as 0. The mode
// changes only compression: every block expands whatever mode is set.
#pragma once

#include <windows.h>

#define VLPA05_MAX_BLOCK 8192u

typedef unsigned long(WINAPI* PFN_PackCompressBuffer)(void* destination, const void* source, unsigned long length);
typedef unsigned long(WINAPI* PFN_PackExpandBuffer)(void* destination, const void* source, unsigned long length);
typedef unsigned long(WINAPI* PFN_PackExpandBufferEnh)(void* destination, const void* source, unsigned long length,
                                                        unsigned long expected);
typedef unsigned short(WINAPI* PFN_PackSetMode)(unsigned short mode);
typedef unsigned long(WINAPI* PFN_PackGetVersion)(unsigned long reserved);
