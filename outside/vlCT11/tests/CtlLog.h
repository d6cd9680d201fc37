// Test helper for programs that call the controls library: runs the library unattended with a
// fresh activity log and scripted answers for the current process, and reads the log back.
//
//   oxtest::CtlLog log;                 // unattended, a new empty log, no answers
//   log.SetAnswers("IDYES,IDCANCEL");   // the next boxes answer Yes, then Cancel
//   ... code that shows boxes ...
//   auto boxes = log.Records("MessageBox");
//   EXPECT_EQ((oxtest::CtlLog::Record{"MessageBox", "Fehler", "Text", "0x2015", "2"}), boxes[0]);
//
// Every variable it sets is put back, and the log file removed, when the object ends. Child
// processes started meanwhile inherit the settings and log into the same file. Texts in the log
// carry line breaks as the two characters "\n" and TABs as "\t" (see outside/vlCT11/README.md).
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace oxtest {

class CtlLog {
public:
    // One log line: its fields, the first being the kind ("MessageBox", "AbortDlgStart", ...).
    using Record = std::vector<std::string>;

    CtlLog()
    {
        for (Saved& saved : m_saved)
            saved.value = Read(saved.name);
        char dir[MAX_PATH];
        GetTempPathA(sizeof dir, dir);
        static unsigned counter = 0;
        m_path = std::string(dir) + "vlct11_" + std::to_string(GetCurrentProcessId()) + "_" +
                 std::to_string(GetTickCount()) + "_" + std::to_string(counter++) + ".log";
        DeleteFileA(m_path.c_str());
        SetEnvironmentVariableA("VLCT11_UNATTENDED", "1");
        SetEnvironmentVariableA("VLCT11_LOG", m_path.c_str());
        SetEnvironmentVariableA("VLCT11_ABORT_AFTER", nullptr);
        SetEnvironmentVariableA("VLCT11_FILENAME", nullptr);
        SetAnswers("");
        SetDialogAnswers("");
    }

    ~CtlLog()
    {
        for (const Saved& saved : m_saved)
            SetEnvironmentVariableA(saved.name, saved.value ? saved.value->c_str() : nullptr);
        DeleteFileA(m_path.c_str());
    }

    CtlLog(const CtlLog&) = delete;
    CtlLog& operator=(const CtlLog&) = delete;

    const std::string& Path() const { return m_path; }

    // The answers of the next message boxes, comma-separated (numbers or IDOK, IDCANCEL, IDABORT,
    // IDRETRY, IDIGNORE, IDYES, IDNO; a trailing '*' ticks "Diese Meldung nicht mehr anzeigen" of
    // a box with an answer key); after them each box takes its default button. The list
    // always starts at its first entry, even when the same list was set before: the library
    // starts again when the value changes, so each call makes the value new with trailing
    // blanks, which the library ignores.
    void SetAnswers(const std::string& answers)
    {
        static size_t generation = 0;
        std::string value = answers + std::string(++generation, ' ');
        SetEnvironmentVariableA("VLCT11_ANSWERS", value.c_str());
    }

    // The answers of the next dialogs of the class "vlmrDialog1132", separated by '|': an answer
    // as for the boxes, then ";id=text" for each item to fill (see outside/vlCT11/DialogAnswers.h).
    // After them each dialog is cancelled. The list always starts at its first entry: each call
    // makes the value new with empty entries at its end, which answer as the default does.
    void SetDialogAnswers(const std::string& answers)
    {
        static size_t generation = 0;
        std::string value = answers + std::string(++generation, '|');
        SetEnvironmentVariableA("VLCT11_DIALOGS", value.c_str());
    }

    // The abort dialogs report an abort from their n-th check on; a negative n: never.
    void SetAbortAfter(int checks)
    {
        SetEnvironmentVariableA("VLCT11_ABORT_AFTER", checks < 0 ? nullptr : std::to_string(checks).c_str());
    }

    // The path the file-name dialog answers with (IDOK); empty: the dialog answers IDCANCEL.
    void SetFileName(const std::string& path)
    {
        SetEnvironmentVariableA("VLCT11_FILENAME", path.empty() ? nullptr : path.c_str());
    }

    // Empties the log.
    void Clear() const { DeleteFileA(m_path.c_str()); }

    // Every line of the log, split into fields.
    std::vector<Record> Records() const
    {
        std::vector<Record> records;
        std::string text = ReadLog();
        size_t start = 0;
        while (start < text.size()) {
            size_t end = text.find('\n', start);
            if (end == std::string::npos)
                end = text.size();
            std::string line = text.substr(start, end - start);
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            records.push_back(SplitFields(line));
            start = end + 1;
        }
        return records;
    }

    // The lines of one kind, in order.
    std::vector<Record> Records(const std::string& kind) const
    {
        std::vector<Record> selected;
        for (Record& record : Records())
            if (!record.empty() && record[0] == kind)
                selected.push_back(std::move(record));
        return selected;
    }

    static Record SplitFields(const std::string& line)
    {
        Record fields;
        size_t start = 0;
        for (;;) {
            size_t tab = line.find('\t', start);
            fields.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
            if (tab == std::string::npos)
                return fields;
            start = tab + 1;
        }
    }

private:
    struct Saved {
        const char* name;
        std::optional<std::string> value;
    };

    static std::optional<std::string> Read(const char* name)
    {
        SetLastError(ERROR_SUCCESS);
        DWORD size = GetEnvironmentVariableA(name, nullptr, 0);
        if (size == 0)
            return GetLastError() == ERROR_ENVVAR_NOT_FOUND ? std::nullopt : std::optional<std::string>("");
        std::string value(size, '\0');
        value.resize(GetEnvironmentVariableA(name, value.data(), size));
        return value;
    }

    std::string ReadLog() const
    {
        std::string text;
        HANDLE file = CreateFileA(m_path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return text;
        char buffer[65536];
        DWORD read = 0;
        while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0)
            text.append(buffer, read);
        CloseHandle(file);
        return text;
    }

    Saved m_saved[6] = {{"VLCT11_UNATTENDED", {}},
                        {"VLCT11_DIALOGS", {}},
                        {"VLCT11_LOG", {}},
                        {"VLCT11_ANSWERS", {}},
                        {"VLCT11_ABORT_AFTER", {}},
                        {"VLCT11_FILENAME", {}}};
    std::string m_path;
};

} // namespace oxtest
