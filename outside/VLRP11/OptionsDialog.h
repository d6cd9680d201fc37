// The print options dialog: medium, output file and copies.
#pragma once

#include <windows.h>

#include <string>

namespace rp {

class OptionsDialog {
public:
    struct Choice {
        int medium;       // RP_MEDIUM_
        std::string file; // output file of the file media
        int copies;       // 1..999
    };

    // Shows the dialog modally; true (with the choice) for OK, false for Abbrechen.
    static bool Show(HINSTANCE module, HWND owner, const std::string& title, Choice& choice);

    // The extension of a file medium's output (".pdf", ".html", ".rtf"); empty for others.
    static const char* Extension(int medium);

private:
    OptionsDialog(HINSTANCE module, const std::string& title, Choice& choice)
        : m_module(module), m_title(title), m_choice(choice)
    {
    }
    static INT_PTR CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void Init(HWND window);
    void MediumChanged(int medium);
    void Browse();
    bool Accept();

    HINSTANCE m_module;
    std::string m_title;
    Choice& m_choice;
    HWND m_window = nullptr;
    int m_medium = 0;
};

} // namespace rp
