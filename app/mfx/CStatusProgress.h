// The progress of a long operation in the first pane of the main frame's status bar, for code
// that does not know the main frame: Begin at the start, SetPos or Step per unit of work, End at
// the end. Every call does nothing while the application has no main window or the frame has
// not attached its status bar (CStatusProgressSink); Begin then answers TRUE.
//
// Only the user-interface thread touches the status bar: a call made on another thread, or while
// the caller holds a lock the user-interface thread may wait for (CMfxUiQueue's holds), is done
// later by the user-interface thread, in the order of the calls; Begin then answers TRUE.
#pragma once

#include <afx.h>

class CStatusProgressSink;

class CStatusProgress {
public:
    // With bEndOnDestroy the destructor calls End.
    explicit CStatusProgress(BOOL bEndOnDestroy = FALSE);
    ~CStatusProgress();
    CStatusProgress(const CStatusProgress&) = delete;
    CStatusProgress& operator=(const CStatusProgress&) = delete;

    // Shows the text in pane 0 and starts the progress display; its result.
    BOOL Begin(LPCTSTR lpszText);
    void SetPos(int nPos);
    void Step(int nStep);
    // Pane 0 shows "Moment bitte..." when the display showed a position above 0, else "Fertig!";
    // the display goes.
    void End();

    // For the main frame: the status bar that shows the progress (NULL: none).
    static void AttachSink(CStatusProgressSink* pSink);
    static CStatusProgressSink* GetSink();

private:
    BOOL m_bEndOnDestroy;
};
