// Writing a whole file so that it is there complete or not at all.
#pragma once

#include <string>

namespace rp {

// Writes data to a temporary file beside path and renames it over path: an older file of the
// name stays untouched when writing fails. False when the file cannot be written.
bool ReplaceFileWith(const std::string& path, const std::string& data);

} // namespace rp
