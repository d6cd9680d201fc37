// The test's side of another station: data_controller_probe started on a data directory, driven
// one command a line through pipes (the commands of ControllerProbe.cpp).
#pragma once

#include <windows.h>

#include <string>

namespace datatest {

class ControllerPeer {
public:
    // Starts the probe on the directory as the user and waits for its first line.
    ControllerPeer(const std::string& directory, const std::string& user);
    // Ends the probe (quit, then at most 30 s).
    ~ControllerPeer();
    ControllerPeer(const ControllerPeer&) = delete;
    ControllerPeer& operator=(const ControllerPeer&) = delete;

    // The probe's first line: "ready" when its controller opened the tables.
    const std::string& Greeting() const { return m_greeting; }
    // Sends the command and answers the probe's line ("<no answer>" when the probe is gone).
    std::string Run(const std::string& command);
    // Run for a command that answers "ok <number>": the number, or -1.
    long RunNumber(const std::string& command);

private:
    std::string ReadLine();

    HANDLE m_process = nullptr;
    HANDLE m_input = nullptr;
    HANDLE m_output = nullptr;
    std::string m_greeting;
};

} // namespace datatest
