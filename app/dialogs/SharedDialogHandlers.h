// Handlers the program's dialogs share: the help button and the count of open dialogs that keeps
// the document from closing while any of them is open.
#pragma once

#include <afxwin.h>

// The help button (command 18): the application's help with the dialog's help id (HELP_CONTEXT).
void OnHelpButton(DWORD dwHelpId);

// A counted dialog calls the first in its OnInitDialog and the second in its WM_DESTROY handler;
// without a document (an automation start before it exists) neither counts.
void CountDialogOpened();
void CountDialogClosed();
