#include "ChannelLines.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>

#include "DebugCapture.h"
#include "DebugOutput.h"
#include "clsLibInfo.h"

namespace supporttest {

namespace {

std::unique_ptr<oxtest::MailslotCapture> s_capture;

bool Open()
{
    if (s_capture)
        return s_capture->IsOpen();
    s_capture = std::make_unique<oxtest::MailslotCapture>();
    if (!s_capture->IsOpen())
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
    // Other programs may write to the same mailslot: keep only this program's lines.
    for (const std::string& message : s_capture->Take())
        if (message.compare(0, prefix.size(), prefix) == 0)
            lines.push_back(message.substr(prefix.size()));
    return lines;
}

} // namespace supporttest
