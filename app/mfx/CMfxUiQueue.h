// Work that only the user-interface thread may do (message boxes, window messages, the status
// bar), handed over by code that may run on another thread or while it holds locks.
//
// The user-interface thread is the application object's thread, or, while there is no application
// object, the thread that started the program. A task handed to Run runs at once when Run is
// called on that thread outside any hold; otherwise it is queued, and the queued tasks run in the
// order they came:
//   - when the user-interface thread leaves its last hold (LeaveHold),
//   - when the user-interface thread dispatches the wake-up message that Run posts to a
//     message-only window of that thread (any message loop does, a message box's too),
//   - when the user-interface thread calls RunPending.
// A hold is a per-thread counter: code that holds a lock which the user-interface thread may wait
// for (the engine's locks) enters a hold for as long as it holds the lock, so that no box is
// shown and no window message is sent meanwhile. A worker that shows a box while the
// user-interface thread waits for its lock would otherwise wait for that thread for ever (the box
// disables and activates windows of the user-interface thread).
//
// Queued tasks never run nested: a task that pumps messages (a box) does not start the next queued
// one; they run one after another. A task handed to Run by a running task runs at once, as part
// of it. A queued task that throws a class-library exception is ended there, the exception
// deleted; a task that runs at once throws to the caller of Run.
#pragma once

#include <afxwin.h>

#include <functional>

class CMfxUiQueue {
public:
    typedef std::function<void()> Task;

    static DWORD GetUiThreadId();
    static BOOL IsUiThread();

    // Runs the task now on the user-interface thread outside any hold (after the tasks queued
    // before it); else queues it and wakes the user-interface thread. TRUE when it ran now.
    static BOOL Run(Task task);
    // Runs the queued tasks when called on the user-interface thread outside any hold.
    static void RunPending();
    // How many tasks wait.
    static int GetPendingCount();

    // This thread's hold (see above); leaving the last one on the user-interface thread runs the
    // queued tasks.
    static void EnterHold();
    static void LeaveHold();
    static int GetHoldDepth();

    // Creates the wake-up window on the user-interface thread (called on that thread; Run and
    // RunPending do it too). Without it a queued task waits for the next RunPending or the end of
    // a hold of the user-interface thread.
    static void Attach();

    // The message the wake-up window receives.
    enum { kWakeMessage = WM_APP + 0x3A1 };
};
