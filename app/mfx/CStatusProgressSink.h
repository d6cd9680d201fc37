// What the main frame's status bar offers CStatusProgress: the text of its first pane and a
// progress display in that pane. The frame attaches its sink (CStatusProgress::AttachSink) once
// it has created its bars and detaches it before they are destroyed.
#pragma once

#include <afx.h>

class CStatusProgressSink {
public:
    virtual ~CStatusProgressSink() {}

    // Sets the text of pane 0 and shows it at once.
    virtual void SetPaneText(LPCTSTR lpszText) = 0;
    // Shows the progress display at position 0; FALSE when it cannot be shown.
    virtual BOOL StartProgress() = 0;
    // Removes the progress display.
    virtual void StopProgress() = 0;
    virtual void SetProgress(int nPos) = 0;
    virtual void StepProgress(int nStep) = 0;
    // The position the display shows; -1 while there is none.
    virtual int GetProgressPos() = 0;
};
