// Helpers shared by the Windows test programs.
#pragma once

#include <windows.h>
#include <string>
#include <vector>

namespace oxtest {

// A fresh directory below the Windows temp folder, removed with everything in it at the end.
class TempDir {
public:
    explicit TempDir(const char* tag = "ox");
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return m_path; }
    // Path of a file inside the directory.
    std::string File(const std::string& name) const { return m_path + "\\" + name; }

private:
    std::string m_path;
};

// Reads a whole file; empty when it does not exist.
std::string ReadFileText(const std::string& path);
// Writes a whole file (binary).
bool WriteFileText(const std::string& path, const std::string& data);
// Removes a directory tree.
void RemoveTree(const std::string& path);

// Dispatches waiting messages of the calling thread until none is left.
void PumpMessages();

// Runs a command line, waits for its end and returns its exit code (or -1 when it could not start).
int RunProcess(const std::string& commandLine, DWORD timeoutMs = 60000);

// Folder of the running test program (where the DLLs and helper programs are).
std::string ProgramDir();

// Splits text into lines at CR/LF or LF.
std::vector<std::string> SplitLines(const std::string& text);

// A PNG file of cx x cy pixels at (x, y) of the device context, for screenshots that people look
// at. The folder <build>\shots\<area> is made when missing; answers the file's path, empty when
// it failed.
std::string SaveShot(HDC hdc, int x, int y, int cx, int cy, const std::string& area, const std::string& name);

} // namespace oxtest
