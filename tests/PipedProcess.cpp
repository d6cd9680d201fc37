#include "PipedProcess.h"

namespace oxtest {

PipedProcess::PipedProcess(const std::string& commandLine)
{
    // Pipes whose far ends the process inherits as its standard input and output.
    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    HANDLE childIn = nullptr, childOut = nullptr;
    if (!CreatePipe(&childIn, &m_input, &inheritable, 0))
        return;
    if (!CreatePipe(&m_output, &childOut, &inheritable, 0)) {
        CloseHandle(childIn);
        return;
    }
    SetHandleInformation(m_input, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(m_output, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = childIn;
    startup.hStdOutput = childOut;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    std::string command = commandLine;
    PROCESS_INFORMATION started{};
    if (CreateProcessA(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &started)) {
        CloseHandle(started.hThread);
        m_process = started.hProcess;
    }
    CloseHandle(childIn);
    CloseHandle(childOut);
}

PipedProcess::~PipedProcess()
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

void PipedProcess::Kill()
{
    if (m_process == nullptr)
        return;
    TerminateProcess(m_process, 9);
    WaitForSingleObject(m_process, 30000);
    CloseHandle(m_process);
    m_process = nullptr;
}

std::string PipedProcess::ReadLine()
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

std::string PipedProcess::Run(const std::string& command)
{
    const std::string line = command + "\n";
    DWORD written = 0;
    if (m_process == nullptr || !WriteFile(m_input, line.data(), (DWORD)line.size(), &written, nullptr))
        return "<no answer>";
    return ReadLine();
}

} // namespace oxtest
