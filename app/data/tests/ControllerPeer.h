// The test's side of another station: data_controller_probe started on a data directory, driven
// one command a line through pipes (the commands of ControllerProbe.cpp).
#pragma once

#include <string>

#include "PipedProcess.h"

namespace datatest {

class ControllerPeer : public oxtest::PipedProcess {
public:
    // Starts the probe on the directory as the user and waits for its first line.
    ControllerPeer(const std::string& directory, const std::string& user);

    // The probe's first line: "ready" when its controller opened the tables.
    const std::string& Greeting() const { return m_greeting; }
    // Run for a command that answers "ok <number>": the number, or -1.
    long RunNumber(const std::string& command);

private:
    std::string m_greeting;
};

} // namespace datatest
