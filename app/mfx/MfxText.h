// Small text helpers: the program's decimal character, first-dot replacement and sorting.
#pragma once

#include <afxcoll.h>

// Copies the text, replacing its first '.' by chReplacement.
void MfxReplaceFirstDot(LPCTSTR lpszText, CString& rResult, TCHAR chReplacement);
// Copies the text, replacing the first chFind by '.'.
void MfxReplaceFirstByDot(LPCTSTR lpszText, CString& rResult, TCHAR chFind);

// Number texts between the tables' form (decimal point) and the program's form. The program's
// decimal character is the point as well, so both are plain copies.
void MfxDecimalToLocal(LPCTSTR lpszNumber, CString& rResult);
void MfxDecimalFromLocal(LPCTSTR lpszNumber, CString& rResult);

// Sorts the list ascending by byte-wise comparison (bubble sort: passes from the head that end
// one element earlier each time, until a pass swaps nothing).
void MfxSortStringList(CStringList& list);
