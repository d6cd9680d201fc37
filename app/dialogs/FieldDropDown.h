// Opens the date or time drop-down under a date or time field and writes the choice back.
#pragma once

#include <afxwin.h>

#include "CCtDEdit.h"

// The popup sits at the lower-left corner of the field's window; the time list is as wide as
// the field and four times as high. Answers DoModal's result (IDOK: the field holds the choice;
// IDCANCEL or -1: the field is unchanged).
INT_PTR DropDownUnderField(CWnd* pParent, CCtDEdit& field, bool bTime);
