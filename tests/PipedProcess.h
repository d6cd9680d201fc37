// Another process of a test, driven one line at a time: its standard input and output are pipes
// of this process; each command is a line, each answer the next line the process writes.
#pragma once

#include <windows.h>

#include <string>

namespace oxtest {

class PipedProcess {
public:
    // Starts the command line (the program's path quoted by the caller).
    explicit PipedProcess(const std::string& commandLine);
    // Sends "quit", then gives the process 30 s before ending it.
    ~PipedProcess();
    PipedProcess(const PipedProcess&) = delete;
    PipedProcess& operator=(const PipedProcess&) = delete;

    bool Started() const { return m_process != nullptr; }
    // Sends the command and answers the process's next line ("<no answer>" when it is gone).
    std::string Run(const std::string& command);
    // The next line the process writes, without its line end ("<no answer>" when it is gone).
    std::string ReadLine();
    // Ends the process hard (TerminateProcess, as a crash ends it) and waits until it is gone.
    void Kill();

private:
    HANDLE m_process = nullptr;
    HANDLE m_input = nullptr;  // our end of its standard input
    HANDLE m_output = nullptr; // our end of its standard output
};

} // namespace oxtest
