#include "PeerProcess.h"

#include "TestKit.h"

namespace writetest {

PeerProcess::PeerProcess()
{
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE childIn = nullptr, childOut = nullptr;
    if (!CreatePipe(&childIn, &m_toPeer, &inherit, 0))
        return;
    if (!CreatePipe(&m_fromPeer, &childOut, &inherit, 0)) {
        CloseHandle(childIn);
        return;
    }
    SetHandleInformation(m_toPeer, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(m_fromPeer, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = childIn;
    si.hStdOutput = childOut;
    si.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION pi{};
    std::string command = "\"" + oxtest::ProgramDir() + "\\engine_write_probe.exe\" serve";
    if (CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi)) {
        CloseHandle(pi.hThread);
        m_process = pi.hProcess;
    }
    CloseHandle(childIn);
    CloseHandle(childOut);
}

PeerProcess::~PeerProcess()
{
    if (m_toPeer) {
        DWORD written = 0;
        WriteFile(m_toPeer, "quit\n", 5, &written, nullptr);
        CloseHandle(m_toPeer);
    }
    if (m_process) {
        if (WaitForSingleObject(m_process, 30000) != WAIT_OBJECT_0)
            TerminateProcess(m_process, 99);
        CloseHandle(m_process);
    }
    if (m_fromPeer)
        CloseHandle(m_fromPeer);
}

void PeerProcess::Kill()
{
    if (!m_process)
        return;
    TerminateProcess(m_process, 9);
    WaitForSingleObject(m_process, 30000);
    CloseHandle(m_process);
    m_process = nullptr;
}

std::string PeerProcess::Run(const std::string& command)
{
    const std::string line = command + "\n";
    DWORD done = 0;
    if (!m_process || !WriteFile(m_toPeer, line.data(), (DWORD)line.size(), &done, nullptr))
        return "<no answer>";
    std::string answer;
    char c;
    while (ReadFile(m_fromPeer, &c, 1, &done, nullptr) && done == 1) {
        if (c == '\n')
            return answer;
        if (c != '\r')
            answer += c;
    }
    return "<no answer>";
}

} // namespace writetest
