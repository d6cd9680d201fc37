#include "OptionsDialog.h"

#include <commctrl.h>

#include "VLRP11.h"
#include "resource.h"
#include "vlCT11.h"

namespace rp {
namespace {

const int kMediumButtons[] = {IDC_OPTIONS_PRN, IDC_OPTIONS_PRV, IDC_OPTIONS_HTML, IDC_OPTIONS_RTF, IDC_OPTIONS_PDF};

bool IsFileMedium(int medium)
{
    return medium == RP_MEDIUM_HTML || medium == RP_MEDIUM_RTF || medium == RP_MEDIUM_PDF;
}

std::string ItemText(HWND window, int id)
{
    char buffer[MAX_PATH + 1] = "";
    GetDlgItemTextA(window, id, buffer, sizeof buffer);
    return buffer;
}

} // namespace

const char* OptionsDialog::Extension(int medium)
{
    switch (medium) {
    case RP_MEDIUM_HTML: return ".html";
    case RP_MEDIUM_RTF: return ".rtf";
    case RP_MEDIUM_PDF: return ".pdf";
    default: return "";
    }
}

bool OptionsDialog::Show(HINSTANCE module, HWND owner, const std::string& title, Choice& choice)
{
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_UPDOWN_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    OptionsDialog dialog(module, title, choice);
    // The template's window class belongs to the controls library and exists while a job of it is open.
    CtlJobOpen();
    INT_PTR result = DialogBoxParamA(module, MAKEINTRESOURCEA(IDD_PRINT_OPTIONS), owner && IsWindow(owner) ? owner : nullptr,
                                     Proc, (LPARAM)&dialog);
    CtlJobClose();
    return result == IDOK;
}

INT_PTR CALLBACK OptionsDialog::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrA(window, DWLP_USER, lParam);
        ((OptionsDialog*)lParam)->Init(window);
        return TRUE;
    }
    OptionsDialog* dialog = (OptionsDialog*)GetWindowLongPtrA(window, DWLP_USER);
    if (!dialog || message != WM_COMMAND)
        return FALSE;
    int id = LOWORD(wParam);
    switch (id) {
    case IDOK:
        if (dialog->Accept())
            EndDialog(window, IDOK);
        return TRUE;
    case IDCANCEL:
        EndDialog(window, IDCANCEL);
        return TRUE;
    case IDC_OPTIONS_BROWSE:
        dialog->Browse();
        return TRUE;
    default:
        for (int medium = RP_MEDIUM_PRINTER; medium <= RP_MEDIUM_PDF; ++medium)
            if (id == kMediumButtons[medium - 1] && HIWORD(wParam) == BN_CLICKED)
                dialog->MediumChanged(medium);
        return FALSE;
    }
}

void OptionsDialog::Init(HWND window)
{
    m_window = window;
    if (!m_title.empty())
        SetWindowTextA(window, m_title.c_str());
    SetDlgItemTextA(window, IDC_OPTIONS_FILE, m_choice.file.c_str());
    SendDlgItemMessageA(window, IDC_OPTIONS_FILE, EM_LIMITTEXT, MAX_PATH - 1, 0);
    SendDlgItemMessageA(window, IDC_OPTIONS_COPIES, EM_LIMITTEXT, 3, 0);
    SendDlgItemMessageA(window, IDC_OPTIONS_COPIES_SPIN, UDM_SETRANGE32, 1, 999);
    SendDlgItemMessageA(window, IDC_OPTIONS_COPIES_SPIN, UDM_SETPOS32, 0, m_choice.copies);
    SetDlgItemInt(window, IDC_OPTIONS_COPIES, (UINT)m_choice.copies, FALSE);
    int medium = m_choice.medium >= RP_MEDIUM_PRINTER && m_choice.medium <= RP_MEDIUM_PDF ? m_choice.medium : RP_MEDIUM_PDF;
    CheckRadioButton(window, IDC_OPTIONS_PRN, IDC_OPTIONS_PDF, kMediumButtons[medium - 1]);
    m_medium = medium;
    MediumChanged(medium);
}

void OptionsDialog::MediumChanged(int medium)
{
    bool file = IsFileMedium(medium);
    EnableWindow(GetDlgItem(m_window, IDC_OPTIONS_FILE_LABEL), file);
    EnableWindow(GetDlgItem(m_window, IDC_OPTIONS_FILE), file);
    EnableWindow(GetDlgItem(m_window, IDC_OPTIONS_BROWSE), file);
    // A file name that ends in the old medium's extension takes the new one's.
    std::string name = ItemText(m_window, IDC_OPTIONS_FILE);
    std::string oldExtension = Extension(m_medium);
    if (file && !oldExtension.empty() && name.size() > oldExtension.size() &&
        lstrcmpiA(name.c_str() + name.size() - oldExtension.size(), oldExtension.c_str()) == 0) {
        name.resize(name.size() - oldExtension.size());
        name += Extension(medium);
        SetDlgItemTextA(m_window, IDC_OPTIONS_FILE, name.c_str());
    }
    if (file)
        m_medium = medium;
}

void OptionsDialog::Browse()
{
    int medium = m_medium;
    std::string filter = medium == RP_MEDIUM_HTML ? "HTML-Dateien (*.html)|*.html;*.htm|"
                         : medium == RP_MEDIUM_RTF ? "RTF-Dateien (*.rtf)|*.rtf|"
                                                    : "PDF-Dateien (*.pdf)|*.pdf|";
    filter += "Alle Dateien (*.*)|*.*||";
    char buffer[MAX_PATH + 1] = "";
    std::string current = ItemText(m_window, IDC_OPTIONS_FILE);
    if (CtlGetNameDlgA(m_window, "Ausgabedatei", m_module, 0, 0, 0, current.c_str(), filter.c_str(),
                       0x80000000 | OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST, buffer, sizeof buffer) == IDOK)
        SetDlgItemTextA(m_window, IDC_OPTIONS_FILE, buffer);
}

bool OptionsDialog::Accept()
{
    int medium = RP_MEDIUM_PDF;
    for (int m = RP_MEDIUM_PRINTER; m <= RP_MEDIUM_PDF; ++m)
        if (IsDlgButtonChecked(m_window, kMediumButtons[m - 1]) == BST_CHECKED)
            medium = m;
    const char* caption = m_title.empty() ? "Drucken" : m_title.c_str();
    BOOL number = FALSE;
    UINT copies = GetDlgItemInt(m_window, IDC_OPTIONS_COPIES, &number, FALSE);
    if (!number || copies < 1 || copies > 999) {
        CtlMessageBoxA(m_window, "Bitte geben Sie als Anzahl der Exemplare eine Zahl von 1 bis 999 ein.", caption,
                       MB_OK | MB_ICONEXCLAMATION);
        SetFocus(GetDlgItem(m_window, IDC_OPTIONS_COPIES));
        return false;
    }
    std::string file = ItemText(m_window, IDC_OPTIONS_FILE);
    if (IsFileMedium(medium) && file.find_first_not_of(' ') == std::string::npos) {
        CtlMessageBoxA(m_window, "Bitte geben Sie den Namen der Ausgabedatei an.", caption, MB_OK | MB_ICONEXCLAMATION);
        SetFocus(GetDlgItem(m_window, IDC_OPTIONS_FILE));
        return false;
    }
    m_choice.medium = medium;
    m_choice.copies = (int)copies;
    m_choice.file = file;
    return true;
}

} // namespace rp
