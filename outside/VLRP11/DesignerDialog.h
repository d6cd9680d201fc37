// The layout designer: the items the caller offers, the columns of a list or the lines of a
// card (heading or label, expression, width, alignment), header and footer lines.
#pragma once

#include <windows.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "Project.h"

namespace rp {

class DesignerDialog {
public:
    struct Names {
        std::vector<std::pair<std::string, int>> offered; // shown for adding: name, type code
        std::set<std::string> page;  // names header, footer and card lines may use
        std::set<std::string> rows;  // names columns may use
    };

    // Edits the project (its kind stays); true with the edited project for OK, false for
    // Abbrechen. OK is refused with a message while an expression is wrong.
    static bool Show(HINSTANCE module, HWND owner, const std::string& title, const Names& names, Project& project);

private:
    struct Entry {
        std::string heading, expression;
        double width;
        Align align;
    };

    DesignerDialog(const std::string& title, const Names& names, Project& project)
        : m_title(title), m_names(names), m_project(project)
    {
    }
    static INT_PTR CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void Init(HWND window);
    void Command(int id, int code);
    void FillEntries();
    void Select(int index);
    void EntryEdited();
    bool Accept();
    bool Refuse(int control, const std::string& text);
    std::string EntryText(const Entry& entry) const;
    bool IsCard() const { return m_project.kind == ProjectKind::Card; }

    std::string m_title;
    const Names& m_names;
    Project& m_project;
    HWND m_window = nullptr;
    std::vector<Entry> m_entries;
    int m_selected = -1;
    bool m_filling = false; // the entry's edits are being filled, not typed in
};

} // namespace rp
