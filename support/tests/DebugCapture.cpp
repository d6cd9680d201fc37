#include "DebugCapture.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "DebugOutput.h"
#include "clsLibInfo.h"

namespace supporttest {

namespace {

HANDLE s_slot = INVALID_HANDLE_VALUE;

bool Open()
{
    if (s_slot != INVALID_HANDLE_VALUE)
        return true;
    s_slot = CreateMailslotA("\\\\.\\mailslot\\traxel", 0, 0, nullptr);
    if (s_slot == INVALID_HANDLE_VALUE)
        return false;
    DebugChannelOpen(GetModuleHandleA(nullptr));
    return DebugChannelHasTarget();
}

} // namespace

std::vector<std::string> TakeDebugLines()
{
    std::vector<std::string> lines;
    bool open = Open();
    EXPECT_TRUE(open) << "the mailslot \\\\.\\mailslot\\traxel could not be made (error " << GetLastError() << ")";
    if (!open)
        return lines;
    const std::string prefix = std::string(g_LibInfo.LibName()) + ":";
    for (;;) {
        DWORD next = 0, count = 0;
        if (!GetMailslotInfo(s_slot, nullptr, &next, &count, nullptr) || next == MAILSLOT_NO_MESSAGE)
            break;
        std::string message(next, '\0');
        DWORD read = 0;
        if (!ReadFile(s_slot, message.data(), next, &read, nullptr))
            break;
        message.resize(read);
        if (!message.empty() && message.back() == '\r')
            message.pop_back();
        // Other programs may write to the same mailslot: keep only this program's lines.
        if (message.compare(0, prefix.size(), prefix) == 0)
            lines.push_back(message.substr(prefix.size()));
    }
    return lines;
}

} // namespace supporttest
