#include "ReportJob.h"

#include <commdlg.h>

#include <cstring>

#include "DesignerDialog.h"
#include "FileOutput.h"
#include "IconPicture.h"
#include "OptionsDialog.h"
#include "PreviewWindow.h"
#include "PrinterOutput.h"
#include "VLRP11.h"
#include "Writers.h"
#include "vlCT11.h"

namespace rp {
namespace {

// The page number, known to every expression.
const char kPageItem[] = "Seite";

std::string FolderOf(const std::string& path)
{
    size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string ExtensionOf(const std::string& path)
{
    size_t dot = path.find_last_of('.');
    size_t slash = path.find_last_of("\\/");
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return std::string();
    return path.substr(dot + 1);
}

bool PathIsAbsolute(const std::string& path)
{
    return (path.size() > 1 && path[1] == ':') || (!path.empty() && (path[0] == '\\' || path[0] == '/'));
}

bool FileExists(const std::string& path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The file name a new project of the extension gets.
std::string DefaultProjectName(const std::string& extension, int type)
{
    std::string ext = extension;
    CharLowerBuffA(&ext[0], (DWORD)ext.size());
    const char* name = ext == "ltd" ? "Terminliste" : ext == "lad" ? "Aufgabenliste" : ext == "ctd" ? "Terminkarte"
                       : ext == "cad"                               ? "Aufgabenkarte"
                       : type == RP_PROJECT_CARD                    ? "Karteikarte"
                                                                    : "Liste";
    return std::string(name) + "." + extension;
}

int MediumOfKey(const std::string& key)
{
    static const char* const kKeys[] = {"PRN", "PRV", "HTML", "RTF", "PDF"};
    for (int i = 0; i < 5; ++i)
        if (lstrcmpiA(key.c_str(), kKeys[i]) == 0)
            return RP_MEDIUM_PRINTER + i;
    return 0;
}

bool IsFileMedium(int medium)
{
    return medium == RP_MEDIUM_HTML || medium == RP_MEDIUM_RTF || medium == RP_MEDIUM_PDF;
}

bool IsOutputMedium(int medium)
{
    return medium >= RP_MEDIUM_PRINTER && medium <= RP_MEDIUM_PDF;
}

} // namespace

void CopyToBuffer(const std::string& text, char* buffer, int size)
{
    if (!buffer || size < 0)
        return;
    size_t n = text.size() < (size_t)size ? text.size() : (size_t)size;
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
}

ReportJob::~ReportJob()
{
    EndBox();
}

std::string ReportJob::ProjectExtension(int type) const
{
    auto found = m_extensions.find(type & 0x0F);
    if (found != m_extensions.end() && !found->second.empty())
        return found->second;
    return (type & 0x0F) == RP_PROJECT_CARD || (type & 0x0F) == 1 ? "ctd" : "ltd";
}

int ReportJob::SelectFile(HWND owner, const char* title, int type, char* buffer, int size)
{
    if (!buffer || size <= 0)
        return RP_ERR_BAD_ARGUMENT;
    type &= 0x7FFF;
    const std::string extension = ProjectExtension(type);
    std::string proposed(buffer, strnlen(buffer, (size_t)size));
    // The proposal is the caller's file when it is a project of this type, else a new one of the
    // type's name in that file's folder (all kinds of report share one remembered path).
    std::string initial = lstrcmpiA(ExtensionOf(proposed).c_str(), extension.c_str()) == 0
                              ? proposed
                              : FolderOf(proposed) + DefaultProjectName(extension, type & 0x0F);
    const bool card = (type & 0x0F) == RP_PROJECT_CARD || (type & 0x0F) == 1;
    std::string filter = std::string(card ? "Karteikarten" : "Listen") + " (*." + extension + ")|*." + extension +
                         "|Alle Dateien (*.*)|*.*||";
    char chosen[MAX_PATH + 1] = "";
    int answer = CtlGetNameDlgA(owner, title && *title ? title : "Druckdefinition w\xE4hlen", m_module, 0, 0, 0,
                                initial.c_str(), filter.c_str(), OFN_HIDEREADONLY | OFN_PATHMUSTEXIST, chosen,
                                sizeof chosen);
    if (answer != IDOK || !chosen[0])
        return RP_ERR_USER_ABORT;
    std::string path = chosen;
    if (ExtensionOf(path).empty())
        path += "." + extension;
    if (!FileExists(path) && !ReplaceFileWith(path, Project::DefaultText(ExtensionOf(path), type & 0x0F))) {
        m_lastError = "Die Druckdefinition " + path + " kann nicht angelegt werden.";
        return RP_ERR_PROJECT_MISSING;
    }
    CopyToBuffer(path, buffer, size);
    return RP_OK;
}

int ReportJob::Design(HWND owner, const std::string& title, int type, const std::string& path)
{
    type &= 0x7FFF;
    const bool card = (type & 0x0F) == RP_PROJECT_CARD || (type & 0x0F) == 1;
    m_lastError.clear();
    if (path.empty()) {
        m_lastError = "Keine Druckdefinitionsdatei angegeben.";
        return RP_ERR_PROJECT_MISSING;
    }
    Project project;
    std::string error;
    Project::Result loaded = FileExists(path) ? project.Load(path, false, error)
                                              : project.Parse(Project::DefaultText(ExtensionOf(path), type & 0x0F), false, error);
    if (loaded != Project::Ok) {
        m_lastError = error;
        return loaded == Project::Missing ? RP_ERR_PROJECT_MISSING : RP_ERR_BAD_PROJECT;
    }
    if (card != (project.kind == ProjectKind::Card)) {
        m_lastError = card ? "Die Datei ist eine Listendefinition." : "Die Datei ist eine Karteikartendefinition.";
        return RP_ERR_WRONG_PROJECT;
    }
    DesignerDialog::Names names;
    for (const auto& item : m_variables.Names()) {
        names.page.insert(item.first);
        names.rows.insert(item.first);
    }
    if (!card)
        for (const auto& item : m_fields.Names()) {
            names.rows.insert(item.first);
            names.offered.push_back(item);
        }
    for (const auto& item : m_variables.Names())
        if (card || !m_fields.Find(item.first))
            names.offered.push_back(item);
    if (!DesignerDialog::Show(m_module, owner, title, names, project))
        return RP_ERR_USER_ABORT;
    if (!ReplaceFileWith(path, project.ToText())) {
        m_lastError = "Die Druckdefinition " + path + " kann nicht gespeichert werden.";
        return RP_ERR_OUTPUT;
    }
    return RP_OK;
}

int ReportJob::LoadProject(int type, const std::string& path)
{
    Project project;
    std::string error;
    // Page defaults, when the job names them: a file name is looked up beside this library. A
    // missing or damaged file leaves the built-in defaults.
    auto defaults = m_optionStrings.find(RP_OPTION_DATABASE);
    if (defaults != m_optionStrings.end() && !defaults->second.empty()) {
        std::string name = defaults->second;
        if (!PathIsAbsolute(name)) {
            char module[MAX_PATH] = "";
            GetModuleFileNameA(m_module, module, MAX_PATH);
            name = FolderOf(module) + name;
        }
        Project withDefaults;
        if (withDefaults.Load(name, true, error) == Project::Ok)
            project = withDefaults;
    }
    if (path.empty()) {
        m_lastError = "Keine Druckdefinitionsdatei angegeben.";
        return RP_ERR_PROJECT_MISSING;
    }
    switch (project.Load(path, false, error)) {
    case Project::Missing:
        m_lastError = error;
        return RP_ERR_PROJECT_MISSING;
    case Project::Damaged:
        m_lastError = error;
        return RP_ERR_BAD_PROJECT;
    case Project::Ok:
        break;
    }
    const bool card = (type & 0x0F) == RP_PROJECT_CARD || (type & 0x0F) == 1;
    if (card != (project.kind == ProjectKind::Card)) {
        m_lastError = card ? "Die Datei ist eine Listendefinition." : "Die Datei ist eine Karteikartendefinition.";
        return RP_ERR_WRONG_PROJECT;
    }
    if (!card && project.columns.empty()) {
        m_lastError = "Die Listendefinition hat keine Spalten.";
        return RP_ERR_NO_TABLE;
    }
    m_project = project;
    return RP_OK;
}

int ReportJob::CheckNames()
{
    auto known = [&](const std::string& name, bool fields) {
        return name == kPageItem || m_variables.Find(name) || (fields && m_fields.Find(name));
    };
    auto check = [&](const Expression& expression, bool fields, const std::string& where) {
        for (const std::string& name : expression.Names())
            if (!known(name, fields)) {
                m_lastError = "Unbekannter Name \"" + name + "\" in " + where;
                return false;
            }
        return true;
    };
    for (size_t i = 0; i < m_project.header.size(); ++i)
        if (!check(m_project.header[i], false, "Kopfzeile " + std::to_string(i + 1)))
            return RP_ERR_EXPRESSION;
    for (size_t i = 0; i < m_project.columns.size(); ++i)
        if (!check(m_project.columns[i].value, true, "Spalte " + std::to_string(i + 1)))
            return RP_ERR_EXPRESSION;
    for (size_t i = 0; i < m_project.lines.size(); ++i)
        if (!check(m_project.lines[i].value, false, "Kartenzeile " + std::to_string(i + 1)))
            return RP_ERR_EXPRESSION;
    for (size_t i = 0; i < m_project.footer.size(); ++i)
        if (!check(m_project.footer[i], false, "Fu\xDFzeile " + std::to_string(i + 1)))
            return RP_ERR_EXPRESSION;
    return RP_OK;
}

std::string ReportJob::PageText(const std::string& name, int page)
{
    if (name == kPageItem)
        return std::to_string(page);
    const ItemStore::Item* item = m_variables.Find(name);
    if (item && item->type == RP_ITEM_ICON)
        return PictureText(item->icon);
    return m_variables.Text(name);
}

std::string ReportJob::PictureText(HICON icon)
{
    // The same pixels are one picture of the document, however often the icon was defined.
    Picture picture;
    if (!m_document || !PictureFromIcon(icon, picture))
        return std::string();
    std::vector<Picture>& pictures = m_document->pictures;
    for (size_t i = 0; i < pictures.size(); ++i)
        if (pictures[i].width == picture.width && pictures[i].height == picture.height && pictures[i].rgba == picture.rgba)
            return std::string(1, PictureMark((int)i));
    if ((int)pictures.size() >= kPictureMarks)
        return std::string(); // more different pictures than a document holds
    pictures.push_back(std::move(picture));
    return std::string(1, PictureMark((int)pictures.size() - 1));
}

std::vector<std::string> ReportJob::PageLines(const std::vector<Expression>& lines, int page)
{
    std::vector<std::string> texts;
    for (const Expression& line : lines)
        texts.push_back(line.Evaluate([&](const std::string& name) { return PageText(name, page); }));
    return texts;
}

int ReportJob::PrintStart(int type, const std::string& project, HWND owner, const std::string& title)
{
    if (m_state != State::Idle) {
        m_state = State::Failed; // a run that was never ended: dropped without output
        PrintEnd();
    }
    m_lastError.clear();
    int result = LoadProject(type, project);
    if (result == RP_OK)
        result = CheckNames();
    if (result != RP_OK)
        return result;
    m_projectPath = project;
    m_owner = owner;
    m_title = title;
    m_printOptions.clear();
    m_printStrings.clear();
    m_printer.clear();
    m_printOptions[RP_PRINT_COPIES] = 1;
    m_printOptions[RP_PRINT_MEDIUM] = RP_MEDIUM_PREVIEW;
    m_document.reset(new Document);
    m_document->title = title;
    m_document->kind = m_project.kind;
    m_document->columns = m_project.columns;
    m_paginator.reset(new Paginator(
        *m_document, m_project, [this](int page) { return PageLines(m_project.header, page); },
        [this](int page) { return PageLines(m_project.footer, page); }));
    m_state = State::Started;
    return RP_OK;
}

int ReportJob::ShowOptions(HWND owner, const char* title)
{
    if (m_state != State::Started)
        return RP_ERR_NOT_PRINTING;
    OptionsDialog::Choice choice;
    choice.medium = m_printOptions[RP_PRINT_MEDIUM];
    choice.copies = m_printOptions[RP_PRINT_COPIES];
    if (choice.copies < 1 || choice.copies > 999)
        choice.copies = 1;
    choice.file = m_printStrings[RP_PRINT_OUTPUT_FILE];
    if (choice.file.empty() && IsFileMedium(choice.medium)) {
        std::string base = m_projectPath;
        std::string extension = ExtensionOf(base);
        if (!extension.empty())
            base.resize(base.size() - extension.size() - 1);
        choice.file = base + OptionsDialog::Extension(choice.medium);
    }
    if (!OptionsDialog::Show(m_module, owner, title ? title : m_title, choice)) {
        m_state = State::Cancelled;
        return RP_ERR_USER_ABORT;
    }
    m_printOptions[RP_PRINT_MEDIUM] = choice.medium;
    m_printOptions[RP_PRINT_COPIES] = choice.copies;
    m_printStrings[RP_PRINT_OUTPUT_FILE] = choice.file;
    if (choice.medium == RP_MEDIUM_PRINTER && !PrinterOutput::DefaultPrinter(m_printer)) {
        m_lastError = "Kein Drucker eingerichtet.";
        return Fail(RP_ERR_NO_PRINTER);
    }
    if (!IsOutputMedium(choice.medium))
        return Fail(RP_ERR_BAD_ARGUMENT);
    return RP_OK;
}

int ReportJob::PrintGetOption(int option) const
{
    if (m_state == State::Idle)
        return RP_ERR_NOT_PRINTING;
    auto value = [&](int number) {
        auto found = m_printOptions.find(number);
        return found == m_printOptions.end() ? 0 : found->second;
    };
    if (option == RP_PRINT_ENGINE_COPIES)
        return value(RP_PRINT_MEDIUM) == RP_MEDIUM_PRINTER ? 1 : 0;
    return value(option);
}

int ReportJob::PrintSetOption(int option, int value)
{
    if (m_state == State::Idle)
        return RP_ERR_NOT_PRINTING;
    if (option == RP_PRINT_MEDIUM && (value < RP_MEDIUM_PRINTER || value > RP_MEDIUM_PDF))
        return RP_ERR_BAD_ARGUMENT;
    if (option == RP_PRINT_COPIES && (value < 1 || value > 999))
        return RP_ERR_BAD_ARGUMENT;
    m_printOptions[option] = value;
    return RP_OK;
}

int ReportJob::PrintSetOptionString(int option, const std::string& value)
{
    if (m_state == State::Idle)
        return RP_ERR_NOT_PRINTING;
    if (option == RP_PRINT_MEDIUM_KEY) {
        int medium = MediumOfKey(value);
        if (!medium)
            return RP_ERR_BAD_ARGUMENT;
        m_printOptions[RP_PRINT_MEDIUM] = medium;
    }
    m_printStrings[option] = value;
    return RP_OK;
}

int ReportJob::PrinterInfo(char* device, int deviceSize, char* port, int portSize) const
{
    if (m_state == State::Idle)
        return RP_ERR_NOT_PRINTING;
    auto medium = m_printOptions.find(RP_PRINT_MEDIUM);
    static const char* const kNames[] = {"Drucker", "Vorschau", "HTML-Datei", "RTF-Datei", "PDF-Datei"};
    int m = medium == m_printOptions.end() ? RP_MEDIUM_PREVIEW : medium->second;
    auto file = m_printStrings.find(RP_PRINT_OUTPUT_FILE);
    std::string path = file == m_printStrings.end() ? std::string() : file->second;
    std::string name = path.substr(path.find_last_of("\\/") == std::string::npos ? 0 : path.find_last_of("\\/") + 1);
    std::string text = kNames[m - 1];
    if (IsFileMedium(m) && !name.empty())
        text += " " + name;
    if (m == RP_MEDIUM_PRINTER && !m_printer.empty())
        text += " " + m_printer;
    CopyToBuffer(text, device, deviceSize);
    CopyToBuffer(IsFileMedium(m) ? path : std::string(), port, portSize);
    return RP_OK;
}

int ReportJob::SetBoxText(const std::string& text, int percent)
{
    if (m_state == State::Idle)
        return RP_ERR_NOT_PRINTING;
    if (m_state == State::Aborted || m_state == State::Cancelled)
        return RP_ERR_USER_ABORT;
    if (!m_box) {
        int box = CtlAbortDlgStartA(m_owner, m_title.c_str(), text.c_str(), 2);
        m_box = box > 0 ? box : 0;
    }
    if (m_box) {
        // The box is redrawn only when it shows something new (a run of 10,000 rows changes
        // its percentage 100 times); a click on "Abbrechen" is looked for at every call.
        int shown = percent < 0 ? 0 : percent > 100 ? 100 : percent;
        if (shown != m_boxPercent || text != m_boxText) {
            CtlAbortDlgSetTextA(m_box, text.c_str(), shown);
            m_boxPercent = shown;
            m_boxText = text;
        }
        if (CtlAbortDlgCheckAbort(m_box)) {
            m_state = State::Aborted;
            return RP_ERR_USER_ABORT;
        }
    }
    return RP_OK;
}

int ReportJob::Fail(int code)
{
    m_state = State::Failed;
    return code;
}

int ReportJob::Print()
{
    if (m_state == State::Idle)
        return RP_ERR_NOT_PRINTING;
    if (m_state == State::Aborted || m_state == State::Cancelled)
        return RP_ERR_USER_ABORT;
    if (m_state == State::Failed)
        return RP_ERR_NOT_PRINTING;
    if (int refused = RefusedMedium())
        return Fail(refused);
    if (m_project.kind == ProjectKind::List) {
        m_paginator->StartPage();
        return RP_OK;
    }
    Paginator::CardStep step;
    if (m_paginator->HasPendingCard())
        step = m_paginator->ContinueCard();
    else {
        CardLines card;
        for (const CardLine& line : m_project.lines) {
            int page = (int)m_document->pages.size();
            card.emplace_back(line.label,
                              line.value.Evaluate([&](const std::string& name) { return PageText(name, page); }));
        }
        m_document->cards.push_back(card);
        step = m_paginator->PlaceCard(card);
    }
    return step == Paginator::CardStep::Done ? RP_OK : RP_PAGE_FULL;
}

int ReportJob::PrintFields()
{
    if (m_state == State::Idle)
        return RP_ERR_NOT_PRINTING;
    if (m_state == State::Aborted || m_state == State::Cancelled)
        return RP_ERR_USER_ABORT;
    if (m_state == State::Failed)
        return RP_ERR_NOT_PRINTING;
    if (m_project.kind != ProjectKind::List)
        return Fail(RP_ERR_WRONG_PROJECT);
    if (int refused = RefusedMedium())
        return Fail(refused);
    std::vector<std::string> cells;
    int page = (int)m_document->pages.size();
    for (const Column& column : m_project.columns)
        cells.push_back(column.value.Evaluate([&](const std::string& name) {
            return m_fields.Find(name) ? m_fields.Text(name) : PageText(name, page);
        }));
    if (!m_paginator->AddRow(cells))
        return RP_PAGE_FULL;
    m_document->rows.push_back(std::move(cells));
    return RP_OK;
}

int ReportJob::PrintFieldsEnd()
{
    if (m_state == State::Idle)
        return RP_ERR_NOT_PRINTING;
    if (m_state == State::Aborted || m_state == State::Cancelled)
        return RP_ERR_USER_ABORT;
    if (m_state == State::Failed)
        return RP_ERR_NOT_PRINTING;
    // The footer's place is kept free on every page, so the table ends on the page it is on.
    if (!m_paginator->HasOpenPage() && m_document->pages.empty())
        m_paginator->StartPage();
    return RP_OK;
}

int ReportJob::RefusedMedium()
{
    int medium = m_printOptions[RP_PRINT_MEDIUM];
    if (medium == RP_MEDIUM_PRINTER && m_printer.empty() && !PrinterOutput::DefaultPrinter(m_printer))
        return RP_ERR_NO_PRINTER;
    return IsOutputMedium(medium) ? RP_OK : RP_ERR_BAD_ARGUMENT;
}

int ReportJob::WriteOutput()
{
    m_paginator->Finish();
    int medium = m_printOptions[RP_PRINT_MEDIUM];
    if (medium == RP_MEDIUM_PREVIEW) {
        // Kept for the preview window until the caller deletes the preview.
        m_preview = std::move(m_document);
        return RP_OK;
    }
    if (medium == RP_MEDIUM_PRINTER) {
        // The printer makes the copies of the options dialog (lists; the caller repeats cards).
        int copies = m_printOptions[RP_PRINT_COPIES];
        int result = PrinterOutput::Print(*m_document, m_printer, m_title, copies < 1 ? 1 : copies);
        if (result != RP_OK)
            m_lastError = "Der Drucker " + m_printer + " hat den Druck nicht angenommen.";
        return result;
    }
    std::string path = m_printStrings[RP_PRINT_OUTPUT_FILE];
    if (path.empty()) {
        std::string extension = ExtensionOf(m_projectPath);
        path = m_projectPath.substr(0, m_projectPath.size() - (extension.empty() ? 0 : extension.size() + 1)) +
               OptionsDialog::Extension(medium);
    }
    std::string data = medium == RP_MEDIUM_HTML ? WriteHtml(*m_document)
                       : medium == RP_MEDIUM_RTF ? WriteRtf(*m_document)
                                                 : WritePdf(*m_document);
    if (!ReplaceFileWith(path, data)) {
        m_lastError = "Die Ausgabedatei " + path + " kann nicht geschrieben werden.";
        return RP_ERR_OUTPUT;
    }
    return RP_OK;
}

void ReportJob::EndBox()
{
    if (m_box)
        CtlAbortDlgEnd(m_box);
    m_box = 0;
    m_boxPercent = -1;
    m_boxText.clear();
}

int ReportJob::PrintEnd()
{
    if (m_state == State::Idle)
        return RP_ERR_NOT_PRINTING;
    m_preview.reset();
    int result = m_state == State::Started ? WriteOutput() : RP_OK;
    EndBox();
    m_paginator.reset();
    m_document.reset();
    m_state = State::Idle;
    return result;
}

int ReportJob::ShowPreview(HWND owner)
{
    if (!m_preview)
        return RP_ERR_NOT_PRINTING;
    return PreviewWindow::Show(m_module, owner, *m_preview, m_preview->title);
}

} // namespace rp
