// PNG files of screen contents, for screenshots that people look at.
#pragma once

#include <windows.h>

#include <string>

namespace oxtest {

// An RGB image (rows of cx * 3 bytes, top to bottom) as PNG file contents.
std::string EncodePng(int cx, int cy, const std::string& rgbRows);
// Copies cx x cy pixels at (x, y) of hdc into the PNG file at path; false when that failed.
bool WriteDcPng(HDC hdc, int x, int y, int cx, int cy, const std::string& path);

} // namespace oxtest
