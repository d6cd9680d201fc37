// PNG files of pictures (for HTML and RTF).
#pragma once

#include <string>

#include "Document.h"

namespace rp {

// The picture as a PNG file (8-bit RGBA, no interlace).
std::string EncodePng(const Picture& picture);
// Base64 of bytes (for data: addresses).
std::string Base64(const std::string& bytes);

} // namespace rp
