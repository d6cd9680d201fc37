// Jobs of the calling modules and the window classes that exist while a job is open.
#include "WindowClasses.h"

#include <mutex>

#include "ColorMessages.h"
#include "DialogAnswers.h"
#include "HelpIdMarker.h"
#include "Module.h"
#include "VlmrButton.h"
#include "VlmrStatic.h"
#include "vlCT11.h"

namespace {

std::mutex s_lock;
int s_openJobs = 0;

bool RegisterDialogClassNamed(HINSTANCE instance, const char* name)
{
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_GLOBALCLASS | CS_DBLCLKS | CS_SAVEBITS;
    wc.lpfnWndProc = VlmrDialogProc;
    wc.cbWndExtra = DLGWINDOWEXTRA;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, (LPCSTR)IDC_ARROW);
    wc.lpszClassName = name;
    return RegisterClassExA(&wc) != 0;
}

bool RegisterDialogClass(HINSTANCE instance) { return RegisterDialogClassNamed(instance, kDialogClassName); }
bool RegisterDialog2Class(HINSTANCE instance) { return RegisterDialogClassNamed(instance, kDialog2ClassName); }

struct ClassEntry {
    const char* name;
    bool (*registerClass)(HINSTANCE);
};

const ClassEntry kClasses[] = {
    {kDialogClassName, RegisterDialogClass},
    {kDialog2ClassName, RegisterDialog2Class},
    {kStaticClassName, RegisterVlmrStatic},
    {kButtonClassName, RegisterVlmrButton},
    {kHelpIdClassName, RegisterHelpIdMarker},
};

void RegisterClasses()
{
    // A class still registered (its last close could not remove it while windows of it lived)
    // is kept as it is.
    for (const ClassEntry& entry : kClasses)
        entry.registerClass(LibraryInstance());
    CtlColorMessage(CTL_CTLCOLOR_TYPE_EDIT); // the colour messages exist from the first job on
}

void UnregisterClasses()
{
    for (const ClassEntry& entry : kClasses)
        UnregisterClassA(entry.name, LibraryInstance());
}

} // namespace

void ReleaseWindowClasses()
{
    if (s_openJobs > 0)
        UnregisterClasses();
    s_openJobs = 0;
}

// Opens a job; the first one registers the classes. Answers the number of open jobs.
VLCT11_API int WINAPI CtlJobOpen(void)
{
    std::lock_guard<std::mutex> guard(s_lock);
    if (s_openJobs++ == 0)
        RegisterClasses();
    return s_openJobs;
}

// Closes a job; the last one unregisters the classes. Answers the number of jobs still open, or
// -1 when none was open.
VLCT11_API int WINAPI CtlJobClose(void)
{
    std::lock_guard<std::mutex> guard(s_lock);
    if (s_openJobs == 0)
        return -1;
    if (--s_openJobs == 0)
        UnregisterClasses();
    return s_openJobs;
}
