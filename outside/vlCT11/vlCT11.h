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

// Job of the calling module: while at least one job is open, the window classes
// "vlmrDialog1132", "VLMRSTATIC1132" and "VLMRBUTTON1132" exist. Jobs are counted.
VLCT11_API int WINAPI CtlJobOpen(void);
VLCT11_API int WINAPI CtlJobClose(void);

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
