// One job of the report engine: its options, project file extensions, items, and the print run
// in progress.
//
// Print run states (the function behind each transition):
//   Idle --PrintStart--> Started --OptionsDialog OK--> Started (medium chosen)
//   Started --OptionsDialog Abbrechen--> Cancelled      (no output)
//   Started --SetBoxText/Print sees an abort--> Aborted (no output)
//   Started --a print call fails--> Failed              (no output)
//   any but Idle --PrintEnd--> Idle: the output is made only from Started (a file, the printer's
//   job, or the pages kept for ShowPreview until DeletePreview).
// Print calls in Idle answer RP_ERR_NOT_PRINTING.
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <string>

#include "Document.h"
#include "ItemStore.h"
#include "Paginator.h"
#include "Project.h"

namespace rp {

class ReportJob {
public:
    explicit ReportJob(HINSTANCE module) : m_module(module) {}
    ~ReportJob();
    ReportJob(const ReportJob&) = delete;
    ReportJob& operator=(const ReportJob&) = delete;

    void SetOption(int option, int value) { m_options[option] = value; }
    void SetOptionString(int option, const std::string& value) { m_optionStrings[option] = value; }
    void SetFileExtension(int type, const std::string& extension) { m_extensions[type & 0x0F] = extension; }

    ItemStore& Variables() { return m_variables; }
    ItemStore& Fields() { return m_fields; }

    int SelectFile(HWND owner, const char* title, int type, char* buffer, int size);
    // The layout designer on a project file (a missing one starts from its kind's default).
    int Design(HWND owner, const std::string& title, int type, const std::string& project);

    int PrintStart(int type, const std::string& project, HWND owner, const std::string& title);
    int ShowOptions(HWND owner, const char* title);
    int PrintGetOption(int option) const;
    int PrintSetOption(int option, int value);
    int PrintSetOptionString(int option, const std::string& value);
    int PrinterInfo(char* device, int deviceSize, char* port, int portSize) const;
    int SetBoxText(const std::string& text, int percent);
    int Print();
    int PrintFields();
    int PrintFieldsEnd();
    int PrintEnd();

    // The pages of the last run to the preview, until DeletePreview or the next run.
    int ShowPreview(HWND owner);
    void DeletePreview() { m_preview.reset(); }

    const std::string& LastError() const { return m_lastError; }

private:
    enum class State { Idle, Started, Cancelled, Aborted, Failed };

    std::string ProjectExtension(int type) const;
    int LoadProject(int type, const std::string& path);
    int CheckNames();
    std::string PageText(const std::string& name, int page);
    std::vector<std::string> PageLines(const std::vector<Expression>& lines, int page);
    std::string PictureText(HICON icon);
    int Fail(int code);
    int RefusedMedium();
    int WriteOutput();
    void EndBox();

    HINSTANCE m_module;
    std::map<int, int> m_options;
    std::map<int, std::string> m_optionStrings;
    std::map<int, std::string> m_extensions;
    ItemStore m_variables, m_fields;
    std::string m_lastError;

    // The print run.
    State m_state = State::Idle;
    Project m_project;
    std::string m_projectPath;
    std::map<int, int> m_printOptions;
    std::map<int, std::string> m_printStrings;
    std::unique_ptr<Document> m_document;
    std::unique_ptr<Paginator> m_paginator;
    std::unique_ptr<Document> m_preview;
    std::string m_printer; // the printer of a run to the printer
    HWND m_owner = nullptr;
    std::string m_title;
    int m_box = 0; // progress box of the controls library, 0: not shown yet
    int m_boxPercent = -1;
    std::string m_boxText;
};

// Copies text into a caller's buffer of size characters besides the terminating zero: cut and
// terminated. Nothing for a NULL buffer or a negative size.
void CopyToBuffer(const std::string& text, char* buffer, int size);

} // namespace rp
