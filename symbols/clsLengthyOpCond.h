// The progress window of one entry-point call: registers itself as the symbol-reader object's
// current progress window and, when asked to show, owns the controls library's dialog.
// Positions are percentages of the current step; the window maps them onto the steps.
#pragma once

#include "DBGHelp.h"
#include "String.h"

class clsDBGHELP;
class clsLengthyOp;

class clsLengthyOpCond {
public:
    clsLengthyOpCond(clsDBGHELP& owner, const DBGProgressInfo& info);
    ~clsLengthyOpCond();
    clsLengthyOpCond(const clsLengthyOpCond&) = delete;
    clsLengthyOpCond& operator=(const clsLengthyOpCond&) = delete;

    // p percent of the current step; negative values and a missing dialog do nothing.
    void ReportPosition(int p);
    // The message prefix, a line break and the text.
    void ShowText(const char* text);
    // The dialog position for p percent of the current step.
    int Position(int p) const;
    bool HasDialog() const { return m_dialog != nullptr; }

    clsLengthyOp* m_dialog = nullptr;
    int m_steps = 1;
    int m_step = 1;
    String m_prefix;
    clsDBGHELP* m_owner = nullptr;
};
