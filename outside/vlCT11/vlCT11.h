// Controls library: message boxes, progress and abort dialogs, a progress object, a file-name
// dialog, the window classes the library's dialog templates name, and its colours and pens.
//
// Unattended mode (for tests and automated runs): when the environment variable
// VLCT11_UNATTENDED is set to a non-empty value other than "0", no box or dialog waits for a
// person. See outside/vlCT11/README.md for the answer script and the log.
#pragma once

#include <windows.h>

#ifdef VLCT11_BUILD
#define VLCT11_API extern "C" __declspec(dllexport)
#else
#define VLCT11_API extern "C" __declspec(dllimport)
#endif

// Job of the calling module: while at least one job is open, the window classes of the library
// exist (names compare without case):
//   "VlmrDialog1132", "VlmrDialog21132"  dialog classes for a template's CLASS statement
//   "VlmrStatic1132"                     a static that renders the library's markup (README.md)
//   "vlmrbutton1132"                     push button; "{&G}:Tooltip" and ":Tooltip" captions give
//                                        picture buttons with a tooltip (README.md)
//   "VlmrHelpID1132"                     an invisible marker whose caption is a help id
// Jobs are counted; answers the number of open jobs.
VLCT11_API int WINAPI CtlJobOpen(void);
VLCT11_API int WINAPI CtlJobClose(void);

// The look of the library's dialogs (the program passes 0x200C). Answers the previous mode (0 at
// start).
VLCT11_API int WINAPI CtlSetDialogboxMode(int mode);
// Delay in milliseconds before a hover help (and a picture button's tooltip) appears; applies to
// the help attached afterwards. Answers the previous delay (600 at start); negative values are
// refused (nothing changes, -1).
VLCT11_API int WINAPI CtlSetHelpWindowDelay(int milliseconds);
// Library support of a top-level window (the program passes -2 and NULL). The window keeps
// working as before. Answers TRUE for a window, FALSE otherwise.
VLCT11_API BOOL WINAPI CtlAddCtlSupportA(HWND window, int mode, void* reserved);
// Fills the window's client area with the library's background colour (CtlTools_rgbBkgnd).
// Answers TRUE when something was filled.
VLCT11_API BOOL WINAPI CtlEraseBkgnd(HWND window, HDC dc);
// A hover help on the control: the text appears in a wrapped tooltip after the help delay while
// the mouse rests on it. A later call for the same control replaces the text; NULL or empty text
// removes the help. The help goes with the control. Answers TRUE on success.
VLCT11_API BOOL WINAPI CtlAttachHelpWindowA(HWND control, const char* text, int reserved);
// Moves a window rectangle (screen coordinates) onto the work area of its nearest monitor; a
// rectangle larger than the work area shrinks to it. A rectangle already inside stays as it is.
// Answers TRUE when the rectangle was changed, FALSE when it stayed or is NULL.
VLCT11_API BOOL WINAPI CtlEnsureVisible(RECT* rect, int reserved);

// The colour messages: the library's dialogs and controls ask the dialog (the control's parent)
// for a brush with these registered messages, wParam the device context, lParam the control. An
// answer of 0 gives the library's colours. The type of each is the WM_CTLCOLOR type it stands for.
#define CTL_CTLCOLOR_EDIT_NAME "CTL_CTLCOLOR_EDIT"
#define CTL_CTLCOLOR_LISTBOX_NAME "CTL_CTLCOLOR_LISTBOX"
#define CTL_CTLCOLOR_BTN_NAME "CTL_CTLCOLOR_BTN"
#define CTL_CTLCOLOR_DLG_NAME "CTL_CTLCOLOR_DLG"
#define CTL_CTLCOLOR_SCROLLBAR_NAME "CTL_CTLCOLOR_SCROLLBAR"
#define CTL_CTLCOLOR_STATIC_NAME "CTL_CTLCOLOR_STATIC"
enum CtlColorType {
    CTL_CTLCOLOR_TYPE_EDIT = 1,      // CTLCOLOR_EDIT
    CTL_CTLCOLOR_TYPE_LISTBOX = 2,   // CTLCOLOR_LISTBOX
    CTL_CTLCOLOR_TYPE_BTN = 3,       // CTLCOLOR_BTN
    CTL_CTLCOLOR_TYPE_DLG = 4,       // CTLCOLOR_DLG
    CTL_CTLCOLOR_TYPE_SCROLLBAR = 5, // CTLCOLOR_SCROLLBAR
    CTL_CTLCOLOR_TYPE_STATIC = 6,    // CTLCOLOR_STATIC
};

// A modal box like MessageBoxA; returns the id of the pressed button.
VLCT11_API int WINAPI CtlMessageBoxA(HWND owner, const char* text, const char* caption, UINT style);
// The same box with an extended value (other than -1), which this library does not use.
VLCT11_API int WINAPI CtlMessageBoxExA(HWND owner, const char* text, const char* caption, UINT style, int extended);
// A box that offers "Diese Meldung nicht mehr anzeigen" (for a non-empty key of at most 255
// characters). Once the user ticked it, later boxes of the key are not shown: they answer what the
// user answered then. Remembered answers are kept per user in the registry key
// HKEY_CURRENT_USER\Software\velmar\vlCT11\Answers. A NULL or empty key gives a plain box.
VLCT11_API int WINAPI CtlMessageBoxAutoA(HWND owner, const char* text, const char* caption, UINT style,
                                         const char* key);
VLCT11_API int WINAPI CtlMessageBoxExAutoA(HWND owner, const char* text, const char* caption, UINT style,
                                           const char* key, int extended);

// The process's skin-hooking prohibition flags (0 at start); returns the previous flags.
VLCT11_API int WINAPI CtlSkinHookingProhibitionFlags(int flags);
// The library's background colour, and its dark and light grey pens (owned by the library: callers
// select them but never delete them).
VLCT11_API COLORREF WINAPI CtlTools_rgbBkgnd(void);
VLCT11_API HPEN WINAPI CtlTools_hpenDkGray(void);
VLCT11_API HPEN WINAPI CtlTools_hpenLtGray(void);

// A modeless progress dialog with an abort button. Returns a handle (> 0), negative on failure.
// Mode 2: progress with text; mode 5: lock wait (text and abort button).
VLCT11_API int WINAPI CtlAbortDlgStartA(HWND owner, const char* caption, const char* text, int mode);
VLCT11_API int WINAPI CtlAbortDlgSetTextA(int handle, const char* text, int percent);
// Non-zero once the user asked to abort.
VLCT11_API int WINAPI CtlAbortDlgCheckAbort(int handle);
// Closes the dialog; negative for an unknown handle.
VLCT11_API int WINAPI CtlAbortDlgEnd(int handle);

// {3CF56E69-1880-53F4-96A3-0060086FEFC9}: the progress object. Returns S_OK and an interface
// pointer, or an error and NULL.
static const CLSID CLSID_CtlProgress = {0x3CF56E69, 0x1880, 0x53F4, {0x96, 0xA3, 0x00, 0x60, 0x08, 0x6F, 0xEF, 0xC9}};
VLCT11_API HRESULT WINAPI CtlCreateObject(REFCLSID clsid, void** out);

// File-name dialog: flags bit 31 set asks for a save dialog. The chosen path goes to buffer.
// Returns IDOK (1) when a name was chosen, IDCANCEL (2) otherwise.
VLCT11_API int WINAPI CtlGetNameDlgA(HWND owner, const char* title, HINSTANCE instance, int reserved1,
                                     int reserved2, int reserved3, const char* initial, const char* filter,
                                     DWORD flags, char* buffer, int size);

// The progress object's interface: operations in vtable slots 3 and 4 (after IUnknown's three).
struct ICtlProgress : public IUnknown {
    // Slot 3: (0, VARIANT of VT_I4 0) - sets the progress value.
    virtual HRESULT STDMETHODCALLTYPE SetValue(int reserved, VARIANT value) = 0;
    // Slot 4: (owner, 0, title, text, 2) - shows the progress window.
    virtual HRESULT STDMETHODCALLTYPE Show(HWND owner, int reserved, BSTR title, BSTR text, int mode) = 0;
};
