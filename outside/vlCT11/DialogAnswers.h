// Unattended answers of the dialogs made with the class "vlmrDialog1132" (the dialog templates of
// other modules name it in their CLASS statement).
//
// In unattended mode such a dialog is answered as soon as its modal loop runs: the next entry of
// VLCT11_DIALOGS fills items with texts and presses a button (a BN_CLICKED command as a click
// sends it). A dialog that is still open afterwards takes the next entry, and so on; after 20
// answers the dialog is ended with IDCANCEL. Each answer writes the log line
//   Dialog   caption  answer-id  ids of the filled items (comma-separated)
// which never holds the texts themselves (they may be passwords).
//
// VLCT11_DIALOGS: entries separated by '|'; an entry is an answer (a decimal id or IDOK,
// IDCANCEL, ... as for the message boxes) followed by ";id=text" settings for items, e.g.
// "IDOK;101=secret;102=secret|IDCANCEL". Inside a text "\|", "\;" and "\\" stand for '|', ';' and
// '\'. An edit item takes at most as many characters as its limit allows, as when typed. An empty
// entry, or none left, presses Cancel (item 2) when the dialog has one, else OK (item 1), else
// sends WM_CLOSE. The entry KEEP answers nothing: the dialog stays open for its test to drive and
// takes no further entries (log line "DialogKept caption"). The position in the list is kept per
// process and starts again when the variable's value changes.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

struct DialogAnswer {
    bool keep = false;                              // KEEP: leave the dialog open, unanswered
    std::optional<int> button;                      // nothing: the dialog's default
    std::vector<std::pair<int, std::string>> items; // item id and text, in order
};

// Parses one entry of VLCT11_DIALOGS (without the '|' separators).
DialogAnswer ParseDialogAnswer(const std::string& entry);
// Splits the variable's value into entries at unescaped '|'.
std::vector<std::string> SplitDialogEntries(const std::string& value);

// The window procedure of the dialog classes "VlmrDialog1132" and "VlmrDialog21132": dialog-manager
// behaviour, the colour messages (WM_CTLCOLOR* become the registered CTL_CTLCOLOR_* messages to
// the dialog first), and the unattended answers.
LRESULT CALLBACK VlmrDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
