// What the test OLE control (afx_test_control.dll) and the container tests agree on.
#pragma once

#include <windows.h>

#define OXTC_DLL "afx_test_control.dll"
#define OXTC_PROGID "OX.TestControl"
// {8E21C6A1-3B7D-4F52-A0C4-6D1E9B7F2A11}, registered by the tests (DllRegisterServer)
static const CLSID CLSID_OxTestControl = {0x8e21c6a1, 0x3b7d, 0x4f52, {0xa0, 0xc4, 0x6d, 0x1e, 0x9b, 0x7f, 0x2a, 0x11}};
// {8E21C6A2-3B7D-4F52-A0C4-6D1E9B7F2A11}, never registered: only DllGetClassObject serves it
static const CLSID CLSID_OxTestControlPrivate = {0x8e21c6a2, 0x3b7d, 0x4f52, {0xa0, 0xc4, 0x6d, 0x1e, 0x9b, 0x7f, 0x2a, 0x11}};
// {8E21C6A3-3B7D-4F52-A0C4-6D1E9B7F2A11}: the control's event interface
static const IID DIID_OxTestControlEvents = {0x8e21c6a3, 0x3b7d, 0x4f52, {0xa0, 0xc4, 0x6d, 0x1e, 0x9b, 0x7f, 0x2a, 0x11}};
// {8E21C6A4-3B7D-4F52-A0C4-6D1E9B7F2A11}: a class id that no control has
static const CLSID CLSID_OxNoSuchControl = {0x8e21c6a4, 0x3b7d, 0x4f52, {0xa0, 0xc4, 0x6d, 0x1e, 0x9b, 0x7f, 0x2a, 0x11}};

// Properties and methods (DISPIDs).
enum {
    OXTC_VALUE = 1,       // short, get/put
    OXTC_CAPTION = 2,     // BSTR, get/put
    OXTC_DAY = 3,         // long, get/put
    OXTC_ADDITEM = 4,     // method (short minute, BSTR key) -> short item (1, 2, ...)
    OXTC_ITEMKEY = 5,     // indexed property (short item) -> BSTR, get/put
    OXTC_FIRE = 6,        // method (short event, short argument): raises the event below
    OXTC_LASTDAY = 7,     // short: the day of the last DateChanged after the sink answered
    OXTC_LASTMONTH = 8,   // short
    OXTC_LASTYEAR = 9,    // short
    OXTC_USERMODE = 10,   // BOOL: the ambient user mode when the site was set
    OXTC_BACKCOLOR = 11,  // long: the ambient back colour when the site was set
    OXTC_RAISE = 12,      // method: fails with DISP_E_EXCEPTION, code OXTC_RAISE_CODE
    OXTC_LASTRESULT = 13, // long: what the sink's Invoke answered for the last event
    OXTC_FLAG = 14,       // BOOL, get/put
    OXTC_LOADED = 15,     // BOOL: the state came from a stream (not InitNew)
};

#define OXTC_RAISE_CODE 4321

// Events (DISPIDs of DIID_OxTestControlEvents).
enum {
    OXTC_EVENT_CHANGED = 1,      // ()
    OXTC_EVENT_SPIN = 2,         // (short direction)
    OXTC_EVENT_DATECHANGED = 3,  // (short* unused, short* day, short* month, short* year)
    OXTC_EVENT_ITEMCHANGED = 4,  // (short item, BSTR key, long x)
};

// The saved state of the control (IPersistStreamInit): this mark, the value (short), the
// caption's length (DWORD) and its ANSI characters.
#define OXTC_STREAM_MARK 0x4354584FUL // "OXTC"

// The number of live controls of the DLL (exported).
typedef LONG(WINAPI* OXTC_OBJECTCOUNT)();
