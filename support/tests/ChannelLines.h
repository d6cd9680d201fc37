// Captures the library's debug-output lines in a test program: creates the mailslot the channel
// writes to, opens the channel once and hands out the lines this program wrote.
#pragma once

#include <string>
#include <vector>

namespace supporttest {

// Lines written since the last call, without the program-name prefix and line end. Opens the
// channel on first use; the first call also fails the test when the mailslot cannot be made.
std::vector<std::string> TakeDebugLines();

} // namespace supporttest
