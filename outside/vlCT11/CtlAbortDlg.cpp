// The abort dialogs: modeless progress dialogs with an abort button, handed out as small positive
// handles into a table of this process. Mode 2 shows a progress bar; other modes (the lock wait
// uses 5) show the text and the button only.
//
// In unattended mode the dialogs are real windows too (they never block); VLCT11_ABORT_AFTER=n
// makes a dialog report the abort from its n-th check on.
#include "vlCT11.h"

#include <climits>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "ActivityLog.h"
#include "Environment.h"
#include "ProgressDialog.h"

namespace {

const int kModeWithBar = 2;
const int kUnknownHandle = -1;
const int kStartFailed = -2;

struct AbortDialog {
    explicit AbortDialog(bool withBar) : window(withBar, true) {}
    ProgressDialog window;
    long checks = 0;
};

std::mutex s_lock;
std::map<int, std::shared_ptr<AbortDialog>> s_dialogs;
int s_lastHandle = 0;

// The next free handle, counting on from the last one so that an ended handle is not soon
// given to another dialog.
int NewHandle()
{
    do
        s_lastHandle = s_lastHandle == INT_MAX ? 1 : s_lastHandle + 1;
    while (s_dialogs.count(s_lastHandle));
    return s_lastHandle;
}

// The dialog of a handle; the shared reference keeps it alive while a call works with it, even
// when a message dispatched meanwhile ends it.
std::shared_ptr<AbortDialog> Find(int handle)
{
    std::lock_guard<std::mutex> guard(s_lock);
    auto it = s_dialogs.find(handle);
    return it == s_dialogs.end() ? nullptr : it->second;
}

} // namespace

VLCT11_API int WINAPI CtlAbortDlgStartA(HWND owner, const char* caption, const char* text, int mode)
{
    auto dialog = std::make_shared<AbortDialog>(mode == kModeWithBar);
    int handle = kStartFailed;
    if (dialog->window.Create(owner, caption, text)) {
        std::lock_guard<std::mutex> guard(s_lock);
        handle = NewHandle();
        s_dialogs[handle] = dialog;
    }
    WriteActivity({"AbortDlgStart", TextField(caption), TextField(text), std::to_string(mode), std::to_string(handle)});
    return handle;
}

VLCT11_API int WINAPI CtlAbortDlgSetTextA(int handle, const char* text, int percent)
{
    WriteActivity({"AbortDlgSetText", std::to_string(handle), TextField(text), std::to_string(percent)});
    std::shared_ptr<AbortDialog> dialog = Find(handle);
    if (!dialog)
        return kUnknownHandle;
    dialog->window.SetText(text);
    dialog->window.SetPercent(percent);
    return 0;
}

VLCT11_API int WINAPI CtlAbortDlgCheckAbort(int handle)
{
    std::shared_ptr<AbortDialog> dialog = Find(handle);
    int result = kUnknownHandle;
    if (dialog) {
        dialog->window.DispatchPending();
        ++dialog->checks;
        result = dialog->window.AbortRequested() ? 1 : 0;
        if (!result && IsUnattended()) {
            std::optional<long> abortAfter = AbortAfterChecks();
            if (abortAfter && dialog->checks >= *abortAfter)
                result = 1;
        }
    }
    if (result != 0)
        WriteActivity({"AbortDlgCheckAbort", std::to_string(handle), std::to_string(result)});
    return result;
}

VLCT11_API int WINAPI CtlAbortDlgEnd(int handle)
{
    std::shared_ptr<AbortDialog> dialog;
    {
        std::lock_guard<std::mutex> guard(s_lock);
        auto it = s_dialogs.find(handle);
        if (it != s_dialogs.end()) {
            dialog = it->second;
            s_dialogs.erase(it);
        }
    }
    int result = dialog ? 0 : kUnknownHandle;
    dialog.reset(); // the last reference destroys the window
    WriteActivity({"AbortDlgEnd", std::to_string(handle), std::to_string(result)});
    return result;
}
