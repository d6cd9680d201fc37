// A second station for the lock tests: engine_write_probe in its serve mode, driven through pipes
// one step at a time (the steps of WriteCommands.h).
#pragma once

#include <windows.h>

#include <string>

namespace writetest {

class PeerProcess {
public:
    PeerProcess();
    ~PeerProcess();
    PeerProcess(const PeerProcess&) = delete;
    PeerProcess& operator=(const PeerProcess&) = delete;

    bool Started() const { return m_process != nullptr; }
    // Runs one step in the peer and answers its line "<result> <error>" ("<no answer>" when the
    // peer is gone).
    std::string Run(const std::string& command);
    // Ends the peer hard (TerminateProcess, as a crash ends it) and waits until it is gone.
    void Kill();

private:
    HANDLE m_process = nullptr;
    HANDLE m_toPeer = nullptr;
    HANDLE m_fromPeer = nullptr;
};

} // namespace writetest
