// Exports of qzrecorder.dll for the tests that host it (resolve them with GetProcAddress).
//
// Every call is one line, its arguments in declaration order (a put's value last):
//   "<dispid> get|put|method <type>=<value> ... [->]"
// types I2, I4, BOOL, BSTR, DISPATCH (others as "vt<number>"); BSTR values are written as they
// arrived (UTF-16); "->" ends the line when the caller asked for a result.
#pragma once

#include <windows.h>
#include <oaidl.h>

// Number of recorded calls; a recorded line (NULL beyond the last); forget all calls and scripts.
typedef int(WINAPI* PFN_QzRecorderCount)();
typedef const wchar_t*(WINAPI* PFN_QzRecorderLine)(int nIndex);
typedef void(WINAPI* PFN_QzRecorderReset)();
// The answer of a DISPID from now on (copied). Without one a caller gets VT_EMPTY.
typedef void(WINAPI* PFN_QzRecorderAnswer)(DISPID dispid, const VARIANT* pvarAnswer);
// From now on the DISPID fails: DISP_E_EXCEPTION with this status code and description.
typedef void(WINAPI* PFN_QzRecorderFail)(DISPID dispid, SCODE scode, const wchar_t* pszDescription);
