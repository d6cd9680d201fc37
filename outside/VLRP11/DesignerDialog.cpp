#include "DesignerDialog.h"

#include <cstdio>
#include <sstream>

#include "VLRP11.h"
#include "resource.h"
#include "vlCT11.h"

namespace rp {
namespace {

const char* const kAlignNames[] = {"links", "zentriert", "rechts"};

const char* TypeName(int type)
{
    switch (type) {
    case RP_ITEM_DATE: return "Datum";
    case RP_ITEM_NUMBER: return "Zahl";
    case RP_ITEM_BOOLEAN: return "Ja/Nein";
    case RP_ITEM_ICON: return "Symbol";
    case RP_ITEM_RTF: return "formatierter Text";
    default: return "Text";
    }
}

std::string ItemText(HWND window, int id)
{
    int length = GetWindowTextLengthA(GetDlgItem(window, id));
    std::string text(length + 1, '\0');
    GetDlgItemTextA(window, id, &text[0], length + 1);
    text.resize(length);
    return text;
}

// Lines of a multi-line edit, without empty ones.
std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream stream(text);
    std::string line;
    while (std::getline(stream, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.find_first_not_of(" \t") != std::string::npos)
            lines.push_back(line);
    }
    return lines;
}

std::string Joined(const std::vector<Expression>& lines)
{
    std::string text;
    for (const Expression& line : lines)
        text += (text.empty() ? "" : "\r\n") + line.Source();
    return text;
}

std::string Number(double value)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%g", value);
    return buffer;
}

} // namespace

bool DesignerDialog::Show(HINSTANCE module, HWND owner, const std::string& title, const Names& names, Project& project)
{
    DesignerDialog dialog(title, names, project);
    CtlJobOpen(); // the template's window class
    INT_PTR result = DialogBoxParamA(module, MAKEINTRESOURCEA(IDD_DESIGNER), owner && IsWindow(owner) ? owner : nullptr, Proc,
                                     (LPARAM)&dialog);
    CtlJobClose();
    return result == IDOK;
}

INT_PTR CALLBACK DesignerDialog::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrA(window, DWLP_USER, lParam);
        ((DesignerDialog*)lParam)->Init(window);
        return TRUE;
    }
    auto* dialog = (DesignerDialog*)GetWindowLongPtrA(window, DWLP_USER);
    if (!dialog || message != WM_COMMAND)
        return FALSE;
    dialog->Command(LOWORD(wParam), HIWORD(wParam));
    return TRUE;
}

void DesignerDialog::Init(HWND window)
{
    m_window = window;
    if (!m_title.empty())
        SetWindowTextA(window, m_title.c_str());
    for (const auto& item : m_names.offered) {
        std::string text = item.first + "\t(" + TypeName(item.second) + ")";
        SendDlgItemMessageA(window, IDC_DESIGN_ITEMS, LB_ADDSTRING, 0, (LPARAM)text.c_str());
    }
    int itemsTab = 76, entriesTab = 70; // dialog units
    SendDlgItemMessageA(window, IDC_DESIGN_ITEMS, LB_SETTABSTOPS, 1, (LPARAM)&itemsTab);
    SendDlgItemMessageA(window, IDC_DESIGN_ENTRIES, LB_SETTABSTOPS, 1, (LPARAM)&entriesTab);
    for (const char* align : kAlignNames)
        SendDlgItemMessageA(window, IDC_DESIGN_ALIGN, CB_ADDSTRING, 0, (LPARAM)align);
    if (IsCard()) {
        SetDlgItemTextA(window, IDC_DESIGN_ENTRIES_LABEL, "&Kartenzeilen:");
        SetDlgItemTextA(window, IDC_DESIGN_HEADING_LABEL, "Ü&berschrift:");
        for (int id : {IDC_DESIGN_WIDTH_LABEL, IDC_DESIGN_WIDTH, IDC_DESIGN_ALIGN_LABEL, IDC_DESIGN_ALIGN})
            ShowWindow(GetDlgItem(window, id), SW_HIDE);
        for (const CardLine& line : m_project.lines)
            m_entries.push_back({line.label, line.value.Source(), 0, Align::Left});
    } else {
        for (const Column& column : m_project.columns)
            m_entries.push_back({column.heading, column.value.Source(), column.width, column.align});
    }
    SetDlgItemTextA(window, IDC_DESIGN_FONT, Number(m_project.page.fontSize).c_str());
    SetDlgItemTextA(window, IDC_DESIGN_HEADER_FONT, Number(m_project.page.headerSize).c_str());
    SetDlgItemInt(window, IDC_DESIGN_ROWS, (UINT)m_project.page.rowsPerPage, FALSE);
    SendDlgItemMessageA(window, IDC_DESIGN_ROWS, EM_LIMITTEXT, 3, 0);
    if (IsCard()) {
        EnableWindow(GetDlgItem(window, IDC_DESIGN_ROWS), FALSE); // rows are a list's
    }
    SetDlgItemTextA(window, IDC_DESIGN_HEADER, Joined(m_project.header).c_str());
    SetDlgItemTextA(window, IDC_DESIGN_FOOTER, Joined(m_project.footer).c_str());
    FillEntries();
    Select(m_entries.empty() ? -1 : 0);
}

std::string DesignerDialog::EntryText(const Entry& entry) const
{
    std::string text = (entry.heading.empty() ? std::string("(ohne)") : entry.heading) + "\t" + entry.expression;
    if (!IsCard())
        text += "  [" + Number(entry.width) + " mm, " + kAlignNames[(int)entry.align] + "]";
    return text;
}

void DesignerDialog::FillEntries()
{
    SendDlgItemMessageA(m_window, IDC_DESIGN_ENTRIES, LB_RESETCONTENT, 0, 0);
    for (const Entry& entry : m_entries)
        SendDlgItemMessageA(m_window, IDC_DESIGN_ENTRIES, LB_ADDSTRING, 0, (LPARAM)EntryText(entry).c_str());
}

void DesignerDialog::Select(int index)
{
    m_selected = index >= 0 && index < (int)m_entries.size() ? index : -1;
    SendDlgItemMessageA(m_window, IDC_DESIGN_ENTRIES, LB_SETCURSEL, (WPARAM)m_selected, 0);
    m_filling = true;
    const Entry* entry = m_selected >= 0 ? &m_entries[m_selected] : nullptr;
    SetDlgItemTextA(m_window, IDC_DESIGN_HEADING, entry ? entry->heading.c_str() : "");
    SetDlgItemTextA(m_window, IDC_DESIGN_EXPRESSION, entry ? entry->expression.c_str() : "");
    SetDlgItemTextA(m_window, IDC_DESIGN_WIDTH, entry ? Number(entry->width).c_str() : "");
    SendDlgItemMessageA(m_window, IDC_DESIGN_ALIGN, CB_SETCURSEL, entry ? (WPARAM)entry->align : (WPARAM)-1, 0);
    m_filling = false;
    for (int id : {IDC_DESIGN_HEADING, IDC_DESIGN_EXPRESSION, IDC_DESIGN_WIDTH, IDC_DESIGN_ALIGN, IDC_DESIGN_REMOVE})
        EnableWindow(GetDlgItem(m_window, id), entry != nullptr);
    EnableWindow(GetDlgItem(m_window, IDC_DESIGN_UP), m_selected > 0);
    EnableWindow(GetDlgItem(m_window, IDC_DESIGN_DOWN), entry && m_selected + 1 < (int)m_entries.size());
}

void DesignerDialog::EntryEdited()
{
    if (m_filling || m_selected < 0)
        return;
    Entry& entry = m_entries[m_selected];
    entry.heading = ItemText(m_window, IDC_DESIGN_HEADING);
    entry.expression = ItemText(m_window, IDC_DESIGN_EXPRESSION);
    std::string width = ItemText(m_window, IDC_DESIGN_WIDTH);
    for (char& c : width)
        if (c == ',')
            c = '.';
    double value = 0;
    if (std::sscanf(width.c_str(), "%lf", &value) == 1 && value >= 2 && value <= 1000)
        entry.width = value;
    int align = (int)SendDlgItemMessageA(m_window, IDC_DESIGN_ALIGN, CB_GETCURSEL, 0, 0);
    if (align >= 0 && align <= 2)
        entry.align = (Align)align;
    SendDlgItemMessageA(m_window, IDC_DESIGN_ENTRIES, LB_DELETESTRING, (WPARAM)m_selected, 0);
    SendDlgItemMessageA(m_window, IDC_DESIGN_ENTRIES, LB_INSERTSTRING, (WPARAM)m_selected, (LPARAM)EntryText(entry).c_str());
    SendDlgItemMessageA(m_window, IDC_DESIGN_ENTRIES, LB_SETCURSEL, (WPARAM)m_selected, 0);
}

void DesignerDialog::Command(int id, int code)
{
    switch (id) {
    case IDOK:
        if (Accept())
            EndDialog(m_window, IDOK);
        break;
    case IDCANCEL:
        EndDialog(m_window, IDCANCEL);
        break;
    case IDC_DESIGN_ITEMS:
        if (code != LBN_DBLCLK)
            break;
        [[fallthrough]];
    case IDC_DESIGN_ADD: {
        int item = (int)SendDlgItemMessageA(m_window, IDC_DESIGN_ITEMS, LB_GETCURSEL, 0, 0);
        if (item < 0 || item >= (int)m_names.offered.size())
            break;
        const std::string& name = m_names.offered[item].first;
        int at = m_selected >= 0 ? m_selected + 1 : (int)m_entries.size();
        m_entries.insert(m_entries.begin() + at, Entry{name, name, 30, Align::Left});
        FillEntries();
        Select(at);
        break;
    }
    case IDC_DESIGN_REMOVE:
        if (m_selected >= 0) {
            m_entries.erase(m_entries.begin() + m_selected);
            FillEntries();
            Select(m_selected < (int)m_entries.size() ? m_selected : m_selected - 1);
        }
        break;
    case IDC_DESIGN_UP:
    case IDC_DESIGN_DOWN: {
        int other = m_selected + (id == IDC_DESIGN_UP ? -1 : 1);
        if (m_selected >= 0 && other >= 0 && other < (int)m_entries.size()) {
            std::swap(m_entries[m_selected], m_entries[other]);
            FillEntries();
            Select(other);
        }
        break;
    }
    case IDC_DESIGN_ENTRIES:
        if (code == LBN_SELCHANGE)
            Select((int)SendDlgItemMessageA(m_window, IDC_DESIGN_ENTRIES, LB_GETCURSEL, 0, 0));
        break;
    case IDC_DESIGN_HEADING:
    case IDC_DESIGN_EXPRESSION:
    case IDC_DESIGN_WIDTH:
        if (code == EN_CHANGE)
            EntryEdited();
        break;
    case IDC_DESIGN_ALIGN:
        if (code == CBN_SELCHANGE)
            EntryEdited();
        break;
    }
}

bool DesignerDialog::Refuse(int control, const std::string& text)
{
    CtlMessageBoxA(m_window, text.c_str(), m_title.empty() ? "Druckdefinition" : m_title.c_str(), MB_OK | MB_ICONEXCLAMATION);
    SetFocus(GetDlgItem(m_window, control));
    return false;
}

bool DesignerDialog::Accept()
{
    Project edited = m_project;
    // Sizes with '.' or ',', whatever the locale.
    auto size = [&](int id, double& out) {
        std::string text = ItemText(m_window, id);
        for (char& c : text)
            if (c == ',')
                c = '.';
        double value = 0;
        char rest = 0;
        if (std::sscanf(text.c_str(), "%lf %c", &value, &rest) != 1 || !(value >= 4 && value <= 72))
            return false;
        out = value;
        return true;
    };
    if (!size(IDC_DESIGN_FONT, edited.page.fontSize))
        return Refuse(IDC_DESIGN_FONT, "Bitte geben Sie als Textgr\xF6\xDF" "e eine Zahl von 4 bis 72 ein.");
    if (!size(IDC_DESIGN_HEADER_FONT, edited.page.headerSize))
        return Refuse(IDC_DESIGN_HEADER_FONT, "Bitte geben Sie als Titelgr\xF6\xDF" "e eine Zahl von 4 bis 72 ein.");
    BOOL number = FALSE;
    UINT rows = GetDlgItemInt(m_window, IDC_DESIGN_ROWS, &number, FALSE);
    if (!IsCard()) {
        if (!number)
            return Refuse(IDC_DESIGN_ROWS, "Bitte geben Sie die Zeilen je Seite als Zahl ein (0: so viele, wie passen).");
        edited.page.rowsPerPage = (int)rows;
    }
    edited.columns.clear();
    edited.lines.clear();
    edited.header.clear();
    edited.footer.clear();
    auto parse = [&](const std::string& source, bool rows, Expression& out, std::string& error) {
        if (!out.Parse(source, error))
            return false;
        for (const std::string& name : out.Names())
            if (name != "Seite" && !(rows ? m_names.rows : m_names.page).count(name)) {
                error = "Unbekannter Name \"" + name + "\".";
                return false;
            }
        return true;
    };
    std::string error;
    for (size_t i = 0; i < m_entries.size(); ++i) {
        const Entry& entry = m_entries[i];
        Expression value;
        std::string where = (IsCard() ? "Kartenzeile " : "Spalte ") + std::to_string(i + 1) + ": ";
        if (entry.heading.find('|') != std::string::npos) {
            Select((int)i);
            return Refuse(IDC_DESIGN_HEADING, where + "Eine \xDC" "berschrift darf kein \"|\" enthalten.");
        }
        if (!parse(entry.expression, !IsCard(), value, error)) {
            Select((int)i);
            return Refuse(IDC_DESIGN_EXPRESSION, where + error);
        }
        if (IsCard())
            edited.lines.push_back({entry.heading, value});
        else
            edited.columns.push_back({entry.heading, value, entry.width, entry.align});
    }
    if (!IsCard() && edited.columns.empty())
        return Refuse(IDC_DESIGN_ITEMS, "Eine Liste braucht mindestens eine Spalte.");
    for (int id : {IDC_DESIGN_HEADER, IDC_DESIGN_FOOTER})
        for (const std::string& line : Lines(ItemText(m_window, id))) {
            Expression value;
            if (!parse(line, false, value, error))
                return Refuse(id, std::string(id == IDC_DESIGN_HEADER ? "Kopfzeile: " : "Fu\xDFzeile: ") + error);
            (id == IDC_DESIGN_HEADER ? edited.header : edited.footer).push_back(value);
        }
    m_project = edited;
    return true;
}

} // namespace rp
