#include "ControllerPeer.h"

#include <stdlib.h>

#include "TestKit.h"

namespace datatest {

namespace {

// The probe's command line; a backslash right before the closing quote would escape it.
std::string ProbeCommand(const std::string& directory, const std::string& user)
{
    std::string folder = directory;
    while (!folder.empty() && (folder.back() == '\\' || folder.back() == '/'))
        folder.pop_back();
    return "\"" + oxtest::ProgramDir() + "\\data_controller_probe.exe\" \"" + folder + "\" " + user;
}

} // namespace

ControllerPeer::ControllerPeer(const std::string& directory, const std::string& user)
    : PipedProcess(ProbeCommand(directory, user))
{
    m_greeting = ReadLine();
}

long ControllerPeer::RunNumber(const std::string& command)
{
    const std::string answer = Run(command);
    return answer.compare(0, 3, "ok ") == 0 ? atol(answer.c_str() + 3) : -1;
}

} // namespace datatest
