// Test dialogs holding browse controls, an event recorder, real input and screenshots.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "vlBR11.h"

namespace brtest {

const int kListId = 1071;

// A dialog made from an in-memory template whose only control is a "vlmrBrowser1132" (id
// kListId); the window is cx x cy pixels with the list filling its client area. Destroyed with
// the object.
class TestDialog {
public:
    TestDialog(const char* title, int cx, int cy, bool visible);
    ~TestDialog();
    TestDialog(const TestDialog&) = delete;
    TestDialog& operator=(const TestDialog&) = delete;

    HWND Dialog() const { return m_dialog; }
    HWND List() const { return m_list; }
    LRESULT Send(UINT msg, WPARAM wp = 0, LPARAM lp = 0) const { return SendMessageA(m_list, msg, wp, lp); }

    // Installs the recording callback.
    void Attach();
    int AddRow(const std::string& text, LPARAM data = 0) const;
    std::string RowText(int row) const;
    std::string Cell(int row, int column) const;
    BRCOLUMN Column(int column) const;
    void ChangeColumn(int column, const std::function<void(BRCOLUMN&)>& change) const;

private:
    HWND m_dialog = nullptr;
    HWND m_list = nullptr;
};

// Events the callback received, in order.
struct Event {
    int code;
    LPARAM param;
    int row;    // from the record (check, mouse) or the parameter, -1 otherwise
    int column; // from the record, -1 otherwise
};
std::vector<Event>& Events();
std::vector<int> Codes();
// Reply of the callback: this function when set, else 0.
extern std::function<LRESULT(HWND, int, LPARAM)> g_reply;
void ResetEvents();

// Pumps the thread's messages until pred holds or timeoutMs pass; answers pred().
bool PumpUntil(const std::function<bool()>& pred, DWORD timeoutMs = 5000);
// Pumps until the queue stays empty.
void PumpIdle();

// Real input through SendInput at client coordinates of hwnd.
void MoveMouse(HWND hwnd, int x, int y);
void Click(HWND hwnd, int x, int y, const std::vector<WORD>& modifiers = {}, bool right = false);
void Drag(HWND hwnd, int x1, int y1, int x2, int y2);
void Key(WORD vk, const std::vector<WORD>& modifiers = {});
// Wheel notches at the mouse position (negative: towards the user).
void Wheel(int notches);
void Type(const std::string& text);
// Brings the dialog to the front with the keyboard focus in the list.
bool Activate(const TestDialog& dialog);

// Writes the window as build/shots/vlBR11/<name>.png; answers the path, empty when it failed.
std::string Screenshot(HWND hwnd, const char* name);

// Row geometry of a list with the default font and no owner row height.
int HeaderHeight(HWND list);
int RowHeight(HWND list);
// Client x of the middle of the column (in display order equal to the index).
int ColumnMiddle(const TestDialog& dialog, int column);

} // namespace brtest
