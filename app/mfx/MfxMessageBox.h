// The program's message boxes. The controls library shows them (CtlMessageBoxA and its variants);
// the keyboard focus goes back afterwards to the window that had it before.
//
// Caption selectors (where a caption string id is expected): -1 the title of the application's
// main window, -2 the title of the active window, -3 (MfxMessageBoxAutoId only) the title of the
// owner, else of the active window; any other value is a string id. Extended value: -1 shows a
// plain box; any other value goes to the library's extended boxes. Answer key (boxes that offer
// "Diese Meldung nicht mehr anzeigen"): at most 255 characters under which the library remembers
// the answer. Results are the ids of the pressed buttons, as with MessageBox.
#pragma once

#include <afxwin.h>

// The core box: owner may be NULL.
int MfxMessageBox(CWnd* pOwner, LPCTSTR lpszText, LPCTSTR lpszCaption, UINT nType, int nExtended = -1);
// A box whose answer the library may remember under the key (NULL: the text), cut to 255
// characters.
int MfxMessageBoxAuto(CWnd* pOwner, LPCTSTR lpszText, LPCTSTR lpszCaption, UINT nType, int nExtended = -1,
                      LPCTSTR lpszKey = NULL);

// Text from a string id, caption by selector (-1 without a main window: empty); owner NULL: the
// main window.
int MfxMessageBoxId(UINT nIDText, int nCaption, UINT nType, CWnd* pOwner = NULL, int nExtended = -1);
// As MfxMessageBoxId with a given text.
int MfxMessageBoxText(LPCTSTR lpszText, int nCaption, UINT nType, CWnd* pOwner = NULL, int nExtended = -1);
// Text and caption given; owner NULL: the main window.
int MfxMessageBoxStr(LPCTSTR lpszText, LPCTSTR lpszCaption, UINT nType, CWnd* pOwner = NULL, int nExtended = -1);
// A remembering box with its text from a string id. For -2 and -3 without an owner the active
// window is the owner; captions: -1 without a main window string 128, -2 and -3 without an active
// window empty. The key is the given one, else "#<caption selector>#<text id>"; owner NULL: the
// main window.
int MfxMessageBoxAutoId(UINT nIDText, int nCaption, UINT nType, CWnd* pOwner = NULL, int nExtended = -1,
                        LPCTSTR lpszKey = NULL);

// The fatal error: the string nIDText formatted with the two numbers (an id of 0 gives an empty
// text), the main window's title as caption (empty without one), a task-modal error box without
// owner; then the program ends through AfxAbort.
[[noreturn]] void MfxFatalErrorBox(UINT nIDText, UINT nValue1, UINT nValue2);
