// The digest of a text as upper-case hexadecimal digits, through the engine's MD5.
#pragma once

#include <memory>
#include <string>

#include "Md5.h"

inline std::string Md5Hex(const std::string& bytes)
{
    MD5_CTX context;
    MD5Init(&context);
    MD5Update(&context, bytes.data(), (unsigned)bytes.size());
    MD5Final(&context);
    std::unique_ptr<char[]> hex(MD5HexDigest(&context));
    return hex ? hex.get() : "";
}
