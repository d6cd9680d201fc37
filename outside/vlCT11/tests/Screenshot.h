// Screenshots of the dialog tests: a rectangle of the screen as a PNG file in build/shots/vlct11.
#pragma once

#include <windows.h>

#include <string>

namespace oxtest {

// Answers the file's path, empty when it could not be written.
std::string SaveScreenPng(const RECT& screenRect, const char* name);

} // namespace oxtest
