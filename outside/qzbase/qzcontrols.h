/* The contract of the four qz controls: qzdedit (date or time field), qzmday2 (day and week
 * grid), qzmonth (small month calendar) and qzCalend (month grid). Class ids, event interface
 * ids, the DISPID of every property, method and event with its kind and value types, the saved
 * states the controls load from dialog templates, and the members that let tests raise events.
 *
 * The program's wrappers and the controls compile against this header. The parts outside
 * RC_INVOKED are plain numbers, so resource scripts include it for their dialogs' initial data.
 *
 * Values at the automation boundary: short = VT_I2, long = VT_I4, BOOL = VT_BOOL, string = BSTR,
 * picture = VT_DISPATCH (an OLE picture). Dates are day serials (long, days since 1 January
 * 1900, so 0 = 01.01.1900 and 39452 = 07.01.2008), times of day are minutes 0..1439 (short),
 * colours are COLORREF values (long). Kinds below: get, put, prop (get and put), method, and
 * indexed (the index is the first argument; a put passes the value after it).
 */
#ifndef QZCONTROLS_H
#define QZCONTROLS_H

/* ---- library file names ------------------------------------------------------------------- */
#define QZ_DEDIT_DLL "qzdedit.dll"
#define QZ_MDAY_DLL "qzmday2.dll"
#define QZ_MONTH_DLL "qzmonth.dll"
#define QZ_CALEND_DLL "qzCalend.dll"

/* Class ids as template texts (CONTROL "", id, QZ_DEDIT_CLSID_TEXT, ...). */
#define QZ_DEDIT_CLSID_TEXT "{4C9ED945-B3A9-11D3-9441-A0AC0EC10000}"
#define QZ_MDAY_CLSID_TEXT "{290907E8-9FCA-4C2A-A83C-9AF811F69EE8}"
#define QZ_MONTH_CLSID_TEXT "{6B787745-7A47-11D3-9441-50AC0EC10000}"
#define QZ_CALEND_CLSID_TEXT "{59C13605-231B-11D3-9441-E0018E0FF816}"

/* ---- saved states (IPersistStreamInit::Load, dialog initial data) -------------------------
 * Every state is a small versioned record, little-endian:
 *   offset 0, 4 bytes: mark of the control
 *   offset 4, 2 bytes: version (1)
 *   offset 6, 2 bytes: the control's word (qzdedit: mode; qzmonth: flags)
 * A record with another mark, a version of 0, a short length or a word outside its values is
 * refused (E_FAIL): the control is not made and its dialog fails. Later versions may append
 * bytes after offset 8; a version-1 reader ignores them.
 *
 * In a resource script (DLGINIT, message 0x376 = the control's saved state):
 *   IDD_X 240
 *   BEGIN
 *       IDC_DATE, QZ_DEDIT_STATE_DATE,
 *       IDC_TIME, QZ_DEDIT_STATE_TIME,
 *       0
 *   END
 */
#define QZ_STATE_VERSION 1
#define QZ_DEDIT_STATE_MARK 0x45445A51L /* "QZDE" */
#define QZ_DEDIT_MODE_DATE 0            /* "dd.mm.yyyy"; also the state of InitNew */
#define QZ_DEDIT_MODE_TIME 1            /* "hh:mm" */
#define QZ_DEDIT_STATE_DATE 0x376, 8L, QZ_DEDIT_STATE_MARK, QZ_STATE_VERSION, QZ_DEDIT_MODE_DATE
#define QZ_DEDIT_STATE_TIME 0x376, 8L, QZ_DEDIT_STATE_MARK, QZ_STATE_VERSION, QZ_DEDIT_MODE_TIME

#define QZ_MONTH_STATE_MARK 0x4F4D5A51L /* "QZMO" */
#define QZ_MONTH_FLAG_WEEKNUMBERS 0x0001
#define QZ_MONTH_STATE_PLAIN 0x376, 8L, QZ_MONTH_STATE_MARK, QZ_STATE_VERSION, 0
#define QZ_MONTH_STATE_WEEKNUMBERS 0x376, 8L, QZ_MONTH_STATE_MARK, QZ_STATE_VERSION, QZ_MONTH_FLAG_WEEKNUMBERS

/* qzmday2 and qzCalend keep everything in their properties: their word is 0. */
#define QZ_MDAY_STATE_MARK 0x444D5A51L   /* "QZMD" */
#define QZ_CALEND_STATE_MARK 0x41435A51L /* "QZCA" */
#define QZ_MDAY_STATE_PLAIN 0x376, 8L, QZ_MDAY_STATE_MARK, QZ_STATE_VERSION, 0
#define QZ_CALEND_STATE_PLAIN 0x376, 8L, QZ_CALEND_STATE_MARK, QZ_STATE_VERSION, 0

/* ---- members of every control that tests use (DISPID 1000 up) ------------------------------
 * QZ_TEST_FIRE    method (short event DISPID, then the event's arguments in order, each by
 *                 value; by-reference arguments are passed as their plain type): raises the
 *                 event at every connected sink and answers the number of sinks reached (short).
 * QZ_TEST_ARG     indexed get (short index from 0): an argument of the last raised event as the
 *                 sinks left it (by-reference values read back), VT_EMPTY beyond the last.
 * QZ_TEST_RESULT  get long: what the last sink's Invoke answered (an HRESULT).
 * QZ_TEST_SINKS   get short: connected sinks.
 * QZ_TEST_TODAY   prop long: the day serial the control takes as today; 0 = the system date.
 */
#define QZ_TEST_FIRE 1000
#define QZ_TEST_ARG 1001
#define QZ_TEST_RESULT 1002
#define QZ_TEST_SINKS 1003
#define QZ_TEST_TODAY 1004

/* ---- qzdedit: date or time field (wrapper CCtDEdit) ----------------------------------------- */
#define QZ_DEDIT_TIME 29     /* prop short: minutes 0..1439; a put outside is clamped */
#define QZ_DEDIT_MAXDATE 31  /* prop long: latest date (default 31.12.2199 = 109572) */
#define QZ_DEDIT_DATE 32     /* prop long: day serial; a put outside 0..MaxDate is clamped */
#define QZ_DEDIT_SETTODAY 41 /* method () -> long: the date becomes today, answered */
#define QZ_DEDIT_SETNOW 42   /* method () -> long: the time becomes now (minutes), answered */
#define QZ_DEDIT_MODE 100    /* prop short: QZ_DEDIT_MODE_DATE or QZ_DEDIT_MODE_TIME */

#define QZ_DEDIT_DEFAULT_MAXDATE 109572L /* 31.12.2199 */

/* events */
#define QZ_DEDIT_EV_DROPDOWN 1 /* ()                        drop-down button, F4, Alt+Down   */
#define QZ_DEDIT_EV_SPIN 2     /* (short direction: 0 up, 1 down)  time mode: value unchanged */
#define QZ_DEDIT_EV_CHANGE 4   /* ()                        after an edit by the user only    */

/* ---- qzmday2: multi-day grid of timed items (wrapper CMultiDay) -----------------------------
 * Items are numbered from 1 in the order added; a number stays valid until ClearItems. Indexed
 * members on a number that does not exist answer DISP_E_BADINDEX; only a SelectedItem put with
 * such a number selects nothing without an error. Start and end minutes are clamped to 0..1439
 * (an end before the start becomes the start). Puts raise no events; the user's choices do.
 * Options by number:
 *   24  kept for the host (72 on screens other than 96 dpi); the grid measures the host's font
 *   91  the week caption shown over the time ruler (TRUE)
 *   96  the all-day band under the day headers (TRUE)
 *   128 width of an item's colour bar in pixels (5; 1..20)
 *   188 item: draws its marks (reminder, private, series)
 *   189 item: locked; neither moved nor resized by the user
 *   196 item: moved only in time, never to another day
 */
#define QZ_MDAY_TIMEUNITS 1         /* put long: grid unit code */
#define QZ_MDAY_DAYSTARTMINUTE 2    /* put short */
#define QZ_MDAY_DAYENDMINUTE 3      /* put short */
#define QZ_MDAY_WORKDAYSTART 19     /* put short */
#define QZ_MDAY_WORKDAYEND 20       /* put short */
#define QZ_MDAY_WORKTIMECOLOR 22    /* put long colour */
#define QZ_MDAY_BACKCOLOR 23        /* put long colour */
#define QZ_MDAY_OPTION24 24         /* put short */
#define QZ_MDAY_TOPMINUTE 33        /* put short */
#define QZ_MDAY_DAYCOUNT 37         /* put short */
#define QZ_MDAY_STARTDATE 41        /* prop long day serial */
#define QZ_MDAY_STARTDAY 42         /* put short */
#define QZ_MDAY_STARTMONTH 43       /* put short */
#define QZ_MDAY_STARTYEAR 44        /* put short */
#define QZ_MDAY_DAYNAMES 49         /* put BSTR: seven names, Sunday first, ";" between */
#define QZ_MDAY_MONTHNAMES 50       /* put BSTR: twelve names, "," between */
#define QZ_MDAY_HEADERFORMAT 51     /* put BSTR: "D, N. M Y" or "D, N." */
#define QZ_MDAY_SELECTEDITEM 57     /* prop short item; 0 or less = none */
#define QZ_MDAY_WEEKCAPTION 59      /* put BSTR */
#define QZ_MDAY_OPTION91 91         /* put BOOL */
#define QZ_MDAY_OPTION96 96         /* put BOOL */
#define QZ_MDAY_OPTION128 128       /* put short */
#define QZ_MDAY_CLEARITEMS 133      /* method () */
#define QZ_MDAY_ADDITEM 135         /* method (short start, short end, long day, BSTR text, BSTR key) -> short item > 0 */
#define QZ_MDAY_GETCOLUMNDATE 145   /* method (short column from 1) -> long day serial */
#define QZ_MDAY_ADDIMAGE 171        /* method (picture) -> short */
#define QZ_MDAY_HITTEST 173         /* method (short x, short y) -> short item; 0 or less = none */
#define QZ_MDAY_ITEMBACKCOLOR 177   /* indexed put (short item, long colour) */
#define QZ_MDAY_ITEMTEXTCOLOR 178   /* indexed put (short item, long colour) */
#define QZ_MDAY_ITEMSTART 180       /* indexed put (short item, short minute) */
#define QZ_MDAY_ITEMEND 181         /* indexed put (short item, short minute) */
#define QZ_MDAY_ITEMCOLOR 182       /* indexed put (short item, long colour) */
#define QZ_MDAY_ITEMHASLOCATION 183 /* indexed put (short item, BOOL) */
#define QZ_MDAY_ITEMPRIVATE 184     /* indexed put (short item, BOOL) */
#define QZ_MDAY_ITEMREMINDER 185    /* indexed put (short item, BOOL) */
#define QZ_MDAY_ITEMLOCATION 187    /* indexed put (short item, BSTR) */
#define QZ_MDAY_ITEMOPTION188 188   /* indexed put (short item, BOOL) */
#define QZ_MDAY_ITEMOPTION189 189   /* indexed put (short item, BOOL) */
#define QZ_MDAY_ITEMKEY 190         /* indexed get (short item) -> BSTR key given to AddItem */
#define QZ_MDAY_ITEMDATE 191        /* indexed put (short item, long day serial) */
#define QZ_MDAY_ITEMOPTION196 196   /* indexed put (short item, BOOL) */
#define QZ_MDAY_ITEMSERIES 208      /* indexed put (short item, short) */
#define QZ_MDAY_ITEMALLDAY 210      /* indexed prop (short item) BOOL */
#define QZ_MDAY_TEST_ITEMRECT 1010  /* indexed get (short item, short edge 0 left 1 top 2 right 3 bottom) -> short
                                       client pixels of the item's box; -1 when it is not visible.
                                       An item of -n answers the timed grid of day column n. */

/* grid units of TimeUnits: 1 = 10, 2 = 15, 3 = 30, 4 = 60 minutes, every other code 15 */
#define QZ_MDAY_UNITS_10 1
#define QZ_MDAY_UNITS_15 2
#define QZ_MDAY_UNITS_30 3
#define QZ_MDAY_UNITS_60 4

/* events */
#define QZ_MDAY_EV_SELECTED 2           /* (short item) the user selected an item; 0 = none */
#define QZ_MDAY_EV_ITEMHIGHLIGHT 3      /* (short item) */
#define QZ_MDAY_EV_ITEMUNHIGHLIGHT 4    /* (short item) */
#define QZ_MDAY_EV_ITEMOPEN 7           /* (short item) */
#define QZ_MDAY_EV_RANGESELECTED 8      /* (short start, short end, short column) */
#define QZ_MDAY_EV_ITEMCHANGED 11       /* (short item, BSTR key, short start, short end, short column) */
#define QZ_MDAY_EV_HEADERCLICKED 21     /* (short day, short month, short year) of a clicked day header */

/* ---- qzmonth: small month calendar (wrapper CctMonth) --------------------------------------
 * Size: columns = 8 with week numbers, else 7; the grid fills the window and needs
 *   width  = 4 + columns * (CellWidth + 2 * CellMargin)
 *   height = 4 + 8 * (Option93 + Option90 + 5 * RowSpacing)
 * (eight rows: caption, day letters, six weeks). Puts and methods raise no events.
 */
#define QZ_MONTH_MARKCOLORB 1      /* get long: second colour of the day marks */
#define QZ_MONTH_MARKCOLORA 2      /* get long: first colour of the day marks */
#define QZ_MONTH_DATE 10           /* prop long day serial: selected date (shows its month) */
#define QZ_MONTH_DAY 11            /* get short: selected day of month */
#define QZ_MONTH_MONTH 12          /* prop short 1..12: shown month (a put outside is clamped) */
#define QZ_MONTH_YEAR 13           /* prop short 1900..9999: shown year (clamped) */
#define QZ_MONTH_DAYNAMES 15       /* prop BSTR: day letters, Sunday first, "," between */
#define QZ_MONTH_MONTHNAMES 16     /* prop BSTR: twelve month names, "," between */
#define QZ_MONTH_CAPTIONCOLOR 20   /* prop long colour */
#define QZ_MONTH_BACKCOLOR 21      /* prop long colour */
#define QZ_MONTH_OPTION55 55       /* prop BOOL */
#define QZ_MONTH_SHOWWEEKNUMBERS 64 /* prop BOOL: ISO week numbers in a first column */
#define QZ_MONTH_OPTION67 67       /* prop short */
#define QZ_MONTH_OPTION89 89       /* prop short */
#define QZ_MONTH_OPTION90 90       /* get short: height of the marks' band (3) */
#define QZ_MONTH_CELLWIDTH 91      /* prop short: day cell width (13) */
#define QZ_MONTH_CELLMARGIN 92     /* get short: margin on each side of a cell (1) */
#define QZ_MONTH_OPTION93 93       /* prop short: height of the day numbers (13) */
#define QZ_MONTH_ROWSPACING 94     /* prop short: row spacing, at least 2 */
#define QZ_MONTH_OPTION95 95       /* prop long */
#define QZ_MONTH_SELECTTODAY 107   /* method (): shows and selects today */
#define QZ_MONTH_CLEARDAYMARKS 108 /* method (): removes every day mark and day colour */
#define QZ_MONTH_ADDDAYMARK 126    /* method (short day, long colour) -> short marks of the day */
#define QZ_MONTH_DAYSELECTED 132   /* indexed prop (short day) BOOL; FALSE deselects */
#define QZ_MONTH_DAYBACKCOLOR 133  /* indexed prop (short day) long colour; -1 = none */
#define QZ_MONTH_DAYTEXTCOLOR 141  /* indexed prop (short day) long colour; -1 = none */

#define QZ_MONTH_MAXMARKS 5 /* marks shown per day; AddDayMark beyond answers DISP_E_OVERFLOW */

/* events */
#define QZ_MONTH_EV_DATECHANGED 1 /* (short* unused, short* day, short* month, short* year) */
#define QZ_MONTH_EV_DAYHOVER 3    /* (short* day) */
#define QZ_MONTH_EV_DAYCLICKED 5  /* (short* day) */

/* ---- qzCalend: month grid with day cells (wrapper CctCalendar) ------------------------------ */
#define QZ_CALEND_MONTHNAMES 5     /* put BSTR: "," between */
#define QZ_CALEND_DAYNAMES 6       /* put BSTR: Sunday first, "," between */
#define QZ_CALEND_LASTDAY 7        /* prop long day serial */
#define QZ_CALEND_FIRSTDAY 8       /* prop long day serial */
#define QZ_CALEND_CURRENTDAY 16    /* put long day serial */
#define QZ_CALEND_OPTION47 47      /* put BOOL */
#define QZ_CALEND_OPTION51 51      /* put short */
#define QZ_CALEND_OPTION52 52      /* put short */
#define QZ_CALEND_OPTION53 53      /* put short */
#define QZ_CALEND_OPTION54 54      /* put short */
#define QZ_CALEND_OPTION55 55      /* put BOOL */
#define QZ_CALEND_OPTION58 58      /* put short */
#define QZ_CALEND_OPTION59 59      /* put short */
#define QZ_CALEND_OPTION60 60      /* put short */
#define QZ_CALEND_MONTH 98         /* put short */
#define QZ_CALEND_YEAR 99          /* put short */
#define QZ_CALEND_CLEARDAYS 104    /* method () */
#define QZ_CALEND_ADDIMAGE 105     /* method (picture) -> short, numbered from 1 */
#define QZ_CALEND_SELECTDAY 118    /* method (long day serial, BOOL) -> BOOL */
#define QZ_CALEND_DAYIMAGE 121     /* indexed put (long day serial, short picture; 0 = none) */
#define QZ_CALEND_DAYLINECOLOR1 125 /* indexed put (long day serial, long colour) */
#define QZ_CALEND_DAYLINECOLOR2 126
#define QZ_CALEND_DAYLINECOLOR3 127
#define QZ_CALEND_DAYLINETEXT1 128 /* indexed put (long day serial, BSTR) */
#define QZ_CALEND_DAYLINETEXT2 129
#define QZ_CALEND_DAYLINETEXT3 130

/* events */
#define QZ_CALEND_EV_DAYSELECTED 3 /* (long day serial) */
#define QZ_CALEND_EV_DAYOPENED 4   /* (long day serial) */
#define QZ_CALEND_EV_5 5           /* (long) */
#define QZ_CALEND_EV_DAYHOVER 6    /* (long day serial) */

/* ---- stock events (standard DISPIDs) ------------------------------------------------------- */
#define QZ_EV_CLICK (-600)     /* () */
#define QZ_EV_DBLCLICK (-601)  /* () */
#define QZ_EV_KEYDOWN (-602)   /* (short* key code, short shift state) */
#define QZ_EV_KEYPRESS (-603)  /* (short* character) */
#define QZ_EV_MOUSEDOWN (-605) /* (short button, short shift state, long x, long y) */
#define QZ_EV_MOUSEMOVE (-606) /* (short button, short shift state, long x, long y) */

/* Which control raises which stock events: qzdedit none; qzmonth Click, KeyDown, KeyPress;
 * qzmday2 Click, DblClick, KeyDown, KeyPress, MouseDown, MouseMove; qzCalend MouseDown,
 * MouseMove. */

#ifndef RC_INVOKED
#include <windows.h>

/* class ids */
static const CLSID CLSID_QzDEdit = {0x4c9ed945, 0xb3a9, 0x11d3, {0x94, 0x41, 0xa0, 0xac, 0x0e, 0xc1, 0x00, 0x00}};
static const CLSID CLSID_QzMultiDay = {0x290907e8, 0x9fca, 0x4c2a, {0xa8, 0x3c, 0x9a, 0xf8, 0x11, 0xf6, 0x9e, 0xe8}};
static const CLSID CLSID_QzMonth = {0x6b787745, 0x7a47, 0x11d3, {0x94, 0x41, 0x50, 0xac, 0x0e, 0xc1, 0x00, 0x00}};
static const CLSID CLSID_QzCalendar = {0x59c13605, 0x231b, 0x11d3, {0x94, 0x41, 0xe0, 0x01, 0x8e, 0x0f, 0xf8, 0x16}};

/* event interfaces (dispinterfaces; IProvideClassInfo2 answers them as the default source) */
/* {553A3B52-841B-4155-9288-6F7FAD39AA48} */
static const IID DIID_QzDEditEvents = {0x553a3b52, 0x841b, 0x4155, {0x92, 0x88, 0x6f, 0x7f, 0xad, 0x39, 0xaa, 0x48}};
/* {FA1AB869-38B5-4224-9D04-A33C5F2BB226} */
static const IID DIID_QzMultiDayEvents = {0xfa1ab869, 0x38b5, 0x4224, {0x9d, 0x04, 0xa3, 0x3c, 0x5f, 0x2b, 0xb2, 0x26}};
/* {DD44D45E-7F03-4FC3-9FF7-3EB8602D0E88} */
static const IID DIID_QzMonthEvents = {0xdd44d45e, 0x7f03, 0x4fc3, {0x9f, 0xf7, 0x3e, 0xb8, 0x60, 0x2d, 0x0e, 0x88}};
/* {FC69E62B-EBDB-4200-98B6-4B71A10AA9D2} */
static const IID DIID_QzCalendarEvents = {0xfc69e62b, 0xebdb, 0x4200, {0x98, 0xb6, 0x4b, 0x71, 0xa1, 0x0a, 0xa9, 0xd2}};

/* qzdedit's modes as an enumeration */
typedef enum QzDEditMode { QzDEditDate = QZ_DEDIT_MODE_DATE, QzDEditTime = QZ_DEDIT_MODE_TIME } QzDEditMode;

/* Direction of qzdedit's Spin event. */
typedef enum QzSpinDirection { QzSpinUp = 0, QzSpinDown = 1 } QzSpinDirection;

/* The saved state as a structure (8 bytes, no padding). */
#pragma pack(push, 1)
typedef struct QzSavedState {
    DWORD dwMark;
    WORD wVersion;
    WORD wWord;
} QzSavedState;
#pragma pack(pop)

#endif /* RC_INVOKED */
#endif /* QZCONTROLS_H */
