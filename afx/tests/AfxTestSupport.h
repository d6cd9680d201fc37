// Helpers of the class library's tests: archive images as upper-case hexadecimal text, the form
// in which the program stores them.
#pragma once

#include <afx.h>

#include <functional>
#include <string>

namespace afxtest {

// Writes with fn into an archive over a memory file and returns the image as hex text.
std::string StoreImage(const std::function<void(CArchive&)>& fn);

// Reads the image given as hex text with fn (an archive over a memory file); returns the number
// of bytes of the image that fn did not consume.
size_t LoadImage(const std::string& hex, const std::function<void(CArchive&)>& fn);

std::string ToHex(const void* p, size_t n);
std::string Repeat(const std::string& s, size_t n);

} // namespace afxtest
