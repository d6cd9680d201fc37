#include "clsDialog.h"

#include <cstring>

#include "DebugOutput.h"
#include "TextHelpers.h"
#include "clsCrit.h"
#include "clsLibInfo.h"

namespace {

const int kHelpCommand = 0x12;
const int32_t kHandOverReady = -2;
const int kClassNameBytes = 17;
const LRESULT kButtonCodes = DLGC_BUTTON | DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON;

// The process-wide part: the help message, the hand-over lock and the published record, set up
// with the library's global objects.
struct DialogStatics {
    DialogStatics() : helpMessage(RegisterWindowMessageA("QivHelpHook")) {}
    UINT helpMessage;
    clsCrit lock;
    void* published = nullptr;
} s_dialogs;

// Class names compare as locale text on a double-byte code page, as bytes otherwise.
bool ClassIs(const char* name, const char* expected)
{
    return g_LibInfo.IsDBCS() ? StrCompareLocale(name, expected) == 0 : std::strcmp(name, expected) == 0;
}

bool ClassStartsWith(const char* name, const char* prefix)
{
    const size_t n = std::strlen(prefix);
    return g_LibInfo.IsDBCS() ? StrNCompare(name, prefix, n) == 0 : std::strncmp(name, prefix, n) == 0;
}

HICON IconOf(HWND window, WPARAM kind, int classIndex)
{
    HICON icon = (HICON)SendMessageA(window, WM_GETICON, kind, 0);
    return icon ? icon : (HICON)GetClassLongPtrA(window, classIndex);
}

} // namespace

clsDialog::clsDialog(HINSTANCE instance, const char* templateName, HWND parent, HINSTANCE resourceModule,
                     int32_t reserved, LPARAM userParameter, bool modal)
    : m_templateName(templateName ? templateName : ""), m_parent(CheckedParent(parent, "ct")),
      m_handOver{kHandOverReady, this, userParameter}, m_modal(modal), m_instance(instance),
      m_resourceModule(resourceModule), m_dialogProc(DialogProc), m_reserved(reserved)
{
}

clsDialog::~clsDialog() = default;

UINT clsDialog::HelpMessage() { return s_dialogs.helpMessage; }

HWND clsDialog::CheckedParent(HWND parent, const char* where)
{
    if (!parent)
        return nullptr;
    if (!IsWindow(parent)) {
        DebugPrintf("clsDialog()::%s(): invalid parent handle passed (is non-NULL, but not a window)!", where);
        return nullptr;
    }
    if (GetWindowThreadProcessId(parent, nullptr) != GetCurrentThreadId())
        DebugPrintf("clsDialog()::%s(): wrong thread of parent window (%#p)!", where, parent);
    return parent;
}

HRSRC clsDialog::LoadResource(HMODULE module, WORD language, const char* name)
{
    const WORD tries[] = {language, PRIMARYLANGID(LANGIDFROMLCID(GetThreadLocale())),
                          PRIMARYLANGID(LANGIDFROMLCID(GetUserDefaultLCID())), LANG_NEUTRAL, LANG_ENGLISH};
    for (size_t i = 0; i < sizeof tries / sizeof tries[0]; ++i) {
        if (i == 0 && language == 0)
            continue;
        if (HRSRC found = FindResourceExA(module, RT_DIALOG, name, tries[i]))
            return found;
    }
    if (HRSRC found = FindResourceA(module, name, RT_DIALOG))
        return found;
    DebugPrintf("clsDialog::LoadResource(0x%p,0x%04x,%s): cannot find dialog: 0x%08x\n", module, language, name,
                GetLastError());
    return nullptr;
}

INT_PTR clsDialog::DialogBoxParam(LPARAM parameter)
{
    HRSRC resource = LoadResource(m_resourceModule, m_templateLanguage, m_templateName);
    if (!resource) {
        DebugPrintf("clsDialog::DialogBoxParam: LoadResource() failed");
        return -1;
    }
    HGLOBAL loaded = ::LoadResource(m_resourceModule, resource);
    if (!loaded) {
        DebugPrintf("clsDialog::DialogBoxParam: ::LoadResource() failed");
        return -1;
    }
    m_parent = CheckedParent(m_parent, "DialogBoxParam");
    const INT_PTR result = DialogBoxIndirectParamA(m_resourceModule, (LPCDLGTEMPLATEA)LockResource(loaded), m_parent,
                                                   m_dialogProc, parameter);
    if (result == -1)
        DebugPrintf("clsDialog::DialogBoxParam: cannot create dialog '%s' (%08lx) (or, maybe, the dialog returns "
                    "'-1')\n",
                    (const char*)m_templateName, GetLastError());
    return result;
}

HWND clsDialog::CreateDialogParam(LPARAM parameter)
{
    HRSRC resource = LoadResource(m_resourceModule, m_templateLanguage, m_templateName);
    HGLOBAL loaded = resource ? ::LoadResource(m_resourceModule, resource) : nullptr;
    if (!loaded) {
        DebugPrintf("clsDialog::CreateDialogParam: cannot find dialog '%s' (%08lx)\n", (const char*)m_templateName,
                    GetLastError());
        return nullptr;
    }
    m_parent = CheckedParent(m_parent, "CreateDialogParam");
    HWND window = CreateDialogIndirectParamA(m_resourceModule, (LPCDLGTEMPLATEA)LockResource(loaded), m_parent,
                                             m_dialogProc, parameter);
    if (!window)
        DebugPrintf("clsDialog::CreateDialogParam: cannot create dialog '%s' (%08lx)\n", (const char*)m_templateName,
                    GetLastError());
    return window;
}

bool clsDialog::Publish()
{
    s_dialogs.lock.Enter();
    if (s_dialogs.published) {
        s_dialogs.lock.Leave();
        DebugPrintf("DANGER: __pParam != NULL");
        return false;
    }
    m_handOver.state = kHandOverReady;
    m_handOver.object = this;
    m_handOverPending = true;
    s_dialogs.published = &m_handOver;
    return true;
}

bool clsDialog::Withdraw()
{
    if (!m_handOverPending)
        return false;
    s_dialogs.published = nullptr;
    m_handOverPending = false;
    s_dialogs.lock.Leave();
    return true;
}

INT_PTR clsDialog::RunModal(const DLGTEMPLATE* dialogTemplate)
{
    if (!m_modal)
        return 0;
    if (!Publish())
        return -1;
    m_ending = false;
    INT_PTR result;
    if (dialogTemplate) {
        m_parent = CheckedParent(m_parent, "DoModalIndirect");
        result = DialogBoxIndirectParamA(m_resourceModule, dialogTemplate, m_parent, m_dialogProc, (LPARAM)&m_handOver);
    } else
        result = DialogBoxParam((LPARAM)&m_handOver);
    const DWORD error = result == -1 ? GetLastError() : 0;
    if (Withdraw()) {
        DebugPrintf("STRANGE: __pParam not released (%s)", (const char*)String::SystemErrorText(error, 0x400));
        result = -1;
    }
    if (result == -1)
        DebugPrintf("DLG: cannot create dialog '%s': %s", (const char*)m_templateName,
                    (const char*)String::SystemErrorText(error, 0x400));
    m_window = nullptr;
    return result;
}

INT_PTR clsDialog::DoModal() { return RunModal(nullptr); }

INT_PTR clsDialog::DoModalIndirect(const DLGTEMPLATE* dialogTemplate)
{
    return dialogTemplate ? RunModal(dialogTemplate) : -1;
}

HWND clsDialog::Create()
{
    if (m_modal || !Publish())
        return nullptr;
    m_ending = false;
    HWND window = CreateDialogParam((LPARAM)&m_handOver);
    Withdraw();
    if (!window)
        DebugPrintf("\nDLG: cannot create dialog '%s'\n", (const char*)m_templateName);
    return window;
}

HWND clsDialog::CreateIndirect(const DLGTEMPLATE* dialogTemplate)
{
    if (m_modal)
        return nullptr;
    if (InSendMessage())
        ReplyMessage(0);
    if (!Publish())
        return nullptr;
    m_ending = false;
    m_parent = CheckedParent(m_parent, "CreateIndirect");
    HWND window = CreateDialogIndirectParamA(m_resourceModule, dialogTemplate, m_parent, m_dialogProc,
                                             (LPARAM)&m_handOver);
    const DWORD error = window ? 0 : GetLastError();
    if (Withdraw())
        DebugPrintf("STRANGE: __pParam not released!");
    if (!window)
        DebugPrintf("\nDLG: cannot create templated dialog: %s", (const char*)String::SystemErrorText(error, 0x400));
    return window;
}

BOOL clsDialog::IsDialogMessage(MSG* message)
{
    return m_window ? ::IsDialogMessageA(m_window, message) : FALSE;
}

void clsDialog::EndDialog(INT_PTR result)
{
    if (!m_window)
        return;
    m_ending = true;
    if (!m_closing) {
        m_closing = true;
        OnClose();
    }
    if (m_modal)
        ::EndDialog(m_window, result);
    else
        DestroyWindow(m_window);
}

HWND clsDialog::GetItem(int id, bool warn)
{
    if (m_cachedItem && id == m_cachedId)
        return m_cachedItem;
    HWND item = m_window ? GetDlgItem(m_window, id) : nullptr;
    m_cachedItem = item;
    m_cachedId = item ? id : 0;
    if (!item && warn) {
        char name[33] = {};
        if (m_window)
            GetClassNameA(m_window, name, sizeof name);
        DebugPrintf("clsDialog(%s): GetDlgItem(%d) returns NULL\n", name, id);
    }
    return item;
}

LRESULT clsDialog::OnMessageFirst(UINT, WPARAM, LPARAM) { return 0; }
LRESULT clsDialog::OnOtherMessage(UINT, WPARAM, LPARAM) { return 0; }
void clsDialog::OnHelp() {}

int clsDialog::OnClose()
{
    if (m_ending)
        return 0;
    if (GetDlgItem(m_window, IDCANCEL))
        return 1;
    if (GetDlgItem(m_window, IDOK)) {
        ClickButton(IDOK, false);
        return 1;
    }
    if (m_modal)
        EndDialog(IDCANCEL);
    return 0;
}

int clsDialog::OnInitDialog(HWND)
{
    const bool hasCancel = GetDlgItem(m_window, IDCANCEL) != nullptr;
    const bool hasOk = GetDlgItem(m_window, IDOK) != nullptr;
    LONG_PTR style = GetWindowLongPtrA(m_window, GWL_STYLE);
    if ((style & WS_SYSMENU) && !hasCancel && !hasOk)
        style &= ~(LONG_PTR)WS_SYSMENU;
    else if (!(style & WS_SYSMENU) && (style & WS_CAPTION) == WS_CAPTION)
        style |= WS_SYSMENU;
    SetWindowLongPtrA(m_window, GWL_STYLE, style);
    if (!(style & WS_SYSMENU))
        return 0;
    if (!hasCancel && !hasOk)
        EnableMenuItem(GetSystemMenu(m_window, FALSE), SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);

    // The icons of the top-level owner, when it belongs to this thread.
    HWND desktop = GetDesktopWindow();
    HWND top = m_window;
    for (;;) {
        HWND next = GetParent(top);
        if (!next)
            next = GetWindow(top, GW_OWNER);
        if (!next || next == desktop)
            break;
        top = next;
    }
    if (GetWindowThreadProcessId(top, nullptr) == GetCurrentThreadId()) {
        SendMessageA(m_window, WM_SETICON, ICON_SMALL, (LPARAM)IconOf(top, ICON_SMALL, GCLP_HICONSM));
        SendMessageA(m_window, WM_SETICON, ICON_BIG, (LPARAM)IconOf(top, ICON_BIG, GCLP_HICON));
    }
    return 0;
}

int clsDialog::OnCommandNotify0(int, HWND, int) { return 0; }
int clsDialog::OnCommandNotify1(int, HWND, int) { return 0; }
int clsDialog::OnNotify(int, NMHDR*, LRESULT*) { return 0; }

int clsDialog::OnCommand(int code, HWND, int id)
{
    if (m_modal && code == BN_CLICKED) {
        if (id == IDOK)
            EndDialog(IDOK);
        else if (id == IDCANCEL)
            EndDialog(IDCANCEL);
    }
    return 0;
}

int clsDialog::OnEditCommand(int, HWND, int) { return 0; }
int clsDialog::OnListCommand(int, HWND, int) { return 0; }
int clsDialog::OnComboCommand(int, HWND, int) { return 0; }
int clsDialog::OnScroll(UINT, int, HWND, int) { return 0; }
int clsDialog::OnOtherCommand(int, HWND, int) { return 0; }
int clsDialog::OnSysCommand(WPARAM, LPARAM) { return 0; }
int clsDialog::OnMeasureItem(MEASUREITEMSTRUCT*, int) { return 0; }
int clsDialog::OnDrawItem(DRAWITEMSTRUCT*, int) { return 0; }
int clsDialog::OnCtlColor(UINT, HDC, HWND, LRESULT*) { return 0; }

INT_PTR CALLBACK clsDialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    clsDialog* object = (clsDialog*)GetWindowLongPtrA(window, DWLP_USER);
    if (!object) {
        HandOver* record = (HandOver*)s_dialogs.published;
        if (!record || record->state != kHandOverReady)
            return 0;
        object = record->object;
        lParam = record->userParameter;
        SetWindowLongPtrA(window, DWLP_USER, (LONG_PTR)object);
        object->m_window = window;
        object->m_cachedItem = nullptr;
        object->m_cachedId = 0;
        object->m_closing = false;
    }
    return object->Dispatch(message, wParam, lParam);
}

INT_PTR clsDialog::RouteCommand(WPARAM wParam, LPARAM lParam)
{
    const int id = LOWORD(wParam), code = HIWORD(wParam);
    HWND control = (HWND)lParam;
    if (id == kHelpCommand) {
        OnHelp();
        return 1;
    }
    m_messageResult = 0;
    const LRESULT dialogCode = control ? SendMessageA(control, WM_GETDLGCODE, 0, 0) : 0;
    char name[kClassNameBytes + 1] = {};
    if (control)
        GetClassNameA(control, name, kClassNameBytes + 1);
    CharUpperA(name);

    int handled;
    if (dialogCode & DLGC_HASSETSEL)
        handled = OnEditCommand(code, control, id);
    else if ((dialogCode & kButtonCodes) || ClassIs(name, "BUTTON") || ClassStartsWith(name, "VLMRBUTTON")) {
        m_focusBeforeCommand = GetFocus();
        if (code == BN_CLICKED && control)
            SetFocus(control);
        handled = OnCommand(code, control, id);
    } else if (ClassIs(name, "LISTBOX") || ClassStartsWith(name, "VLMRBROWSER"))
        handled = OnListCommand(code, control, id);
    else if (ClassIs(name, "COMBOBOX") || ClassStartsWith(name, "VLMRCOMBO"))
        handled = OnComboCommand(code, control, id);
    else {
        handled = 0;
        if (code == 0)
            handled = OnCommandNotify0(code, control, id);
        else if (code == 1)
            handled = OnCommandNotify1(code, control, id);
        if (!handled)
            handled = OnOtherCommand(code, control, id);
    }
    if (handled)
        return m_messageResult;
    return OnOtherMessage(WM_COMMAND, wParam, lParam);
}

INT_PTR clsDialog::Dispatch(UINT message, WPARAM wParam, LPARAM lParam)
{
    Withdraw();
    if (!m_window)
        return 0;
    if (OnMessageFirst(message, wParam, lParam))
        return 1;
    if (message == s_dialogs.helpMessage) {
        OnHelp();
        return 1;
    }
    switch (message) {
    case WM_CLOSE: {
        if (m_closing)
            return 1;
        m_closing = true;
        const int closed = OnClose();
        m_closing = false;
        if (closed)
            return 0;
        break;
    }
    case WM_DRAWITEM:
        if (OnDrawItem((DRAWITEMSTRUCT*)lParam, (int)wParam))
            return 1;
        break;
    case WM_MEASUREITEM:
        if (OnMeasureItem((MEASUREITEMSTRUCT*)lParam, (int)wParam))
            return 1;
        break;
    case WM_NOTIFY: {
        LRESULT result = 0;
        if (OnNotify((int)wParam, (NMHDR*)lParam, &result)) {
            SetResult(result);
            return result;
        }
        break;
    }
    case WM_INITDIALOG:
        if (OnInitDialog((HWND)wParam))
            return 0;
        break;
    case WM_COMMAND:
        return RouteCommand(wParam, lParam);
    case WM_SYSCOMMAND:
        if (OnSysCommand(wParam, lParam))
            return 0;
        break;
    case WM_HSCROLL:
    case WM_VSCROLL:
        if (OnScroll(message, LOWORD(wParam), (HWND)lParam, (short)HIWORD(wParam)))
            return 1;
        break;
    case WM_NCDESTROY: {
        // The window is gone after this message: forget it and its items.
        const LRESULT result = OnOtherMessage(message, wParam, lParam);
        m_window = nullptr;
        m_cachedItem = nullptr;
        m_cachedId = 0;
        return result;
    }
    default:
        if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) {
            LRESULT result = 0;
            if (OnCtlColor(message, (HDC)wParam, (HWND)lParam, &result))
                return result;
        }
        break;
    }
    return OnOtherMessage(message, wParam, lParam);
}

void clsDialog::SetItemFocus(int id)
{
    if (HWND item = GetItem(id, true))
        SetFocus(item);
}

void clsDialog::LimitItemText(int id, int length)
{
    if (HWND item = GetItem(id, true))
        SendMessageA(item, EM_LIMITTEXT, (WPARAM)length, 0);
}

void clsDialog::SetItemText(int id, const char* text, bool replaceSelection)
{
    HWND item = GetItem(id, true);
    if (!item)
        return;
    if (replaceSelection)
        SendMessageA(item, EM_REPLACESEL, 0, (LPARAM)(text ? text : ""));
    else
        SetWindowTextA(item, text ? text : "");
}

void clsDialog::GetItemText(int id, String& text)
{
    HWND item = GetItem(id, true);
    const int length = item ? GetWindowTextLengthA(item) : 0;
    char* buffer = text.GetBuffer((unsigned)length + 1);
    buffer[0] = 0;
    if (item)
        GetWindowTextA(item, buffer, length + 1);
    text.ReleaseBuffer(-1);
}

void clsDialog::SendCommand(int id, int code, bool send)
{
    if (!m_window)
        return;
    HWND item = GetItem(id, false);
    const WPARAM wParam = MAKEWPARAM(id, code);
    if (send)
        SendMessageA(m_window, WM_COMMAND, wParam, (LPARAM)item);
    else
        PostMessageA(m_window, WM_COMMAND, wParam, (LPARAM)item);
}

void clsDialog::ClickButton(int id, bool send)
{
    HWND item = GetItem(id, false);
    if (item && IsWindowEnabled(item))
        SendCommand(id, BN_CLICKED, send);
}

void clsDialog::SetResult(LRESULT value)
{
    m_messageResult = value;
    if (m_window)
        SetWindowLongPtrA(m_window, DWLP_MSGRESULT, value);
}
