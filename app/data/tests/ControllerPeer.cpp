#include "ControllerPeer.h"

#include <stdlib.h>

#include "TestKit.h"

namespace datatest {

ControllerPeer::ControllerPeer(const std::string& directory, const std::string& user)
{
    // Pipes whose far ends the probe inherits as its standard input and output.
    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    HANDLE probeIn = nullptr, probeOut = nullptr;
    if (!CreatePipe(&probeIn, &m_input, &inheritable, 0) || !CreatePipe(&m_output, &probeOut, &inheritable, 0))
        return;
    SetHandleInformation(m_input, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(m_output, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = probeIn;
    startup.hStdOutput = probeOut;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    // A backslash right before the closing quote would escape it.
    std::string folder = directory;
    while (!folder.empty() && (folder.back() == '\\' || folder.back() == '/'))
        folder.pop_back();
    std::string commandLine = "\"" + oxtest::ProgramDir() + "\\data_controller_probe.exe\" \"" + folder + "\" " + user;
    PROCESS_INFORMATION started{};
    if (CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &started)) {
        CloseHandle(started.hThread);
        m_process = started.hProcess;
    }
    CloseHandle(probeIn);
    CloseHandle(probeOut);
    m_greeting = ReadLine();
}

ControllerPeer::~ControllerPeer()
{
    if (m_input != nullptr) {
        DWORD written = 0;
        WriteFile(m_input, "quit\n", 5, &written, nullptr);
        CloseHandle(m_input);
    }
    if (m_process != nullptr) {
        if (WaitForSingleObject(m_process, 30000) != WAIT_OBJECT_0)
            TerminateProcess(m_process, 99);
        CloseHandle(m_process);
    }
    if (m_output != nullptr)
        CloseHandle(m_output);
}

std::string ControllerPeer::ReadLine()
{
    if (m_process == nullptr)
        return "<no answer>";
    std::string line;
    char c;
    DWORD read = 0;
    while (ReadFile(m_output, &c, 1, &read, nullptr) && read == 1) {
        if (c == '\n')
            return line;
        if (c != '\r')
            line += c;
    }
    return "<no answer>";
}

std::string ControllerPeer::Run(const std::string& command)
{
    const std::string line = command + "\n";
    DWORD written = 0;
    if (m_process == nullptr || !WriteFile(m_input, line.data(), (DWORD)line.size(), &written, nullptr))
        return "<no answer>";
    return ReadLine();
}

long ControllerPeer::RunNumber(const std::string& command)
{
    const std::string answer = Run(command);
    return answer.compare(0, 3, "ok ") == 0 ? atol(answer.c_str() + 3) : -1;
}

} // namespace datatest
