// Browse control library: the window class "vlmrBrowser1132", a flat multi-column list with a
// header, icons in header and cells, multi-selection, sorting through the owner, check cells,
// in-place editing and column layouts kept in the registry.
//
// The control is driven only by the window messages below and reports user actions through one
// event callback that its owner installs (BRM_SETCALLBACK). Rows are texts whose cells are
// separated by tab characters; a cell or header text may begin with an icon reference
// "\x02" N "\x02" (N decimal). Each row carries an item data value (LPARAM). Row and column
// indexes count from 0.
//
// Records passed by pointer start with their size in bytes (cb); a record of another size is
// refused with BRERR_RECORD and nothing is changed.
#pragma once

#include <windows.h>

#include <stddef.h>
#include <stdint.h>

#ifdef VLBR11_BUILD
#define VLBR11_API extern "C" __declspec(dllexport)
#else
#define VLBR11_API extern "C" __declspec(dllimport)
#endif

// The window class; registered as a global class (usable in dialog templates) when the library
// is loaded. Class names compare without regard to case.
#define VLBR_CLASSNAME "vlmrBrowser1132"

// Version answered by BrwsGetVersion: major * 100 + minor.
#define VLBR_VERSION 1132

// Answers VLBR_VERSION; the argument is not used.
VLBR11_API int WINAPI BrwsGetVersion(int reserved);

// ---- results -------------------------------------------------------------------------------------
// Messages answer 0 (or a count, index or length) on success and one of these on failure.
#define BRERR_ROW      (-1)  // no such row (also: no current row)
#define BRERR_RECORD   (-2)  // record missing or of another size, or a NULL pointer argument
#define BRERR_COLUMN   (-3)  // no such column
#define BRERR_BUFFER   (-5)  // the caller's buffer is too small; nothing written
#define BRERR_REGISTRY (-6)  // the registry place could not be opened, read or written
#define BRERR_LAYOUT   (-7)  // a stored layout is damaged or belongs to another column set
#define BRERR_BUSY     (-8)  // rows cannot change while the control sorts them
#define BRERR_DENIED   (-9)  // editing not allowed (attribute BRA_EDITING or the column's kind)
#define BRERR_ARGUMENT (-10) // a value out of range (attribute index, widths count)

// ---- messages (wParam / lParam -> result) --------------------------------------------------------
#define BRM_SETATTRIBUTE 0x0B01 // index / value -> previous value
#define BRM_SAVELAYOUT   0x0B04 // BRL_* flags / BRLAYOUT or BRLAYOUTTEXT -> 0 or error
#define BRM_LOADLAYOUT   0x0B05 // BRL_* flags / BRLAYOUT or BRLAYOUTTEXT -> 0 or error
#define BRM_GETCOLUMN    0x0B0B // column / BRCOLUMN (cb preset) -> 0 or error
#define BRM_REFRESHROW   0x0B0E // row / 0 -> 0 or error; 0xFFFF all rows
#define BRM_REDRAWROW    0x0B0F // row / 0 -> 0 or error; 0xFFFF all rows
#define BRM_GETHITROW    0x0B1B // 0 / 0 -> BRHIT_MAKE(row, column) under the mouse, -1 for none
#define BRM_SETCALLBACK  0x0B2C // 0 / BRWEVENTPROC or NULL -> 0
#define BRM_SETTITLES    0x0B2F // 0 / tab-separated titles -> column count; sets the columns
#define BRM_SETSTYLE     0x0B30 // 0 / BRS_* -> previous style
#define BRM_SETROWTEXT   0x0B32 // row / text -> 0 or error; the row keeps its place
#define BRM_RESETCONTENT 0x0B34 // 0 / 0 -> 0; removes every row
#define BRM_SETCURROW    0x0B35 // row (-1 none) / 0 -> 0 or error; scrolled into view
#define BRM_SETSORTORDER 0x0B36 // order / 0 -> previous order; rows sorted at once
#define BRM_GETTEXTLEN   0x0B3B // row / 0 -> length of the row text (without NUL), or BRERR_ROW
#define BRM_GETTEXT      0x0B3C // row / buffer of at least GETTEXTLEN + 1 bytes -> length
#define BRM_GETCURROW    0x0B3D // 0 / 0 -> current row, -1 for none
#define BRM_GETCOUNT     0x0B3E // 0 / 0 -> number of rows
#define BRM_GETSORTORDER 0x0B3F // 0 / 0 -> sort order
#define BRM_SETCOLWIDTHS 0x0B47 // count / const int32_t[count] percent of client width -> 0
#define BRM_SETCOLUMN    0x0B49 // column / BRCOLUMN (its index equal to wParam) -> 0 or error
#define BRM_BEGINEDIT    0x0B4F // column / 0 -> 0 or error; edits that cell of the current row
#define BRM_GETICON      0x0B50 // icon number / 0 -> HICON owned by the control, NULL for none
#define BRM_SETICON      0x0B51 // icon number / HICON (copied; NULL removes) -> 0
#define BRM_GETCELLLEN   0x0B53 // 0 / BRCELL -> cell text length, or error
#define BRM_GETCELLTEXT  0x0B54 // 0 / BRCELL with buffer and size -> 0 or error
#define BRM_SETCELLTEXT  0x0B55 // 0 / BRCELL with text (size 0) -> 0 or error
#define BRM_GETCOLCOUNT  0x0B56 // 0 / 0 -> number of columns
#define BRM_ADDROW       0x0B62 // position (BRPOS_END) / BRADDROW -> index of the new row
// Also understood, with list-box meaning over the rows: LB_ADDSTRING (in place while an order is
// set), LB_DELETESTRING, LB_GETSEL, LB_GETCURSEL (the current row), LB_SETSEL (row -1: all),
// LB_GETSELCOUNT, LB_GETITEMDATA, LB_SETITEMDATA, and WM_SETREDRAW.

#define BRPOS_END 0x7FFFFFFF // BRM_ADDROW: append (any position is ignored while sorted)
#define BRROW_ALL 0xFFFF     // BRM_REFRESHROW, BRM_REDRAWROW: every row

// BRM_GETHITROW: the row in bits 16-31 (signed), the column in bits 0-15 (signed).
#define BRHIT_MAKE(row, col) ((LRESULT)(DWORD)(((DWORD)(WORD)(short)(row) << 16) | (WORD)(short)(col)))
#define BRHIT_ROW(lr) ((int)(short)HIWORD((DWORD)(lr)))
#define BRHIT_COLUMN(lr) ((int)(short)LOWORD((DWORD)(lr)))

// ---- attributes (BRM_SETATTRIBUTE index; default in brackets) ------------------------------------
#define BRA_BORDER        0  // 1 a sunken edge, 0 flat [1]
#define BRA_COLORS        7  // 0 colours from BRA_CLR_*; any other value the system's colours [5]
#define BRA_CLR_HEADERBK  8  // header background        (used while BRA_COLORS is 0)
#define BRA_CLR_ROWBK     9  // row background
#define BRA_CLR_SELBK     10 // selected row background
#define BRA_CLR_ALTBK     11 // background of every second row
#define BRA_CLR_CURBK     12 // current row background (when not selected)
#define BRA_CLR_HEADERTX  13 // header text
#define BRA_CLR_ROWTX     14 // row text
#define BRA_CLR_SELTX     15 // selected row text
#define BRA_CLR_ALTTX     16 // text of every second row
#define BRA_CLR_CURTX     17 // current row text
#define BRA_FULLROWSELECT 39 // 1 a selection fills the whole row, 0 only its text cells [0]
#define BRA_COLUMNLINES   47 // 1 vertical lines between cells, 0 none [1]
#define BRA_ELLIPSIS      62 // 1 texts cut by the column end with "...", 0 plainly cut [0]
#define BRA_ROWLINES      69 // 1 horizontal lines between rows, 0 none [0]
#define BRA_EDITING       71 // 1 cells may be edited in place (BRM_BEGINEDIT, F2) [0]
#define BRA_NOHEADER      74 // 1 the header is hidden [0]
#define BRA_SELTINT       79 // selection strength in percent of BRA_SELCOLOR over the row [100]
#define BRA_SELCOLOR      80 // selection colour (system colours scheme) [COLOR_HIGHLIGHT]
#define BRA_COUNT         128 // attribute indexes are 0 .. BRA_COUNT - 1

// ---- styles (BRM_SETSTYLE) -----------------------------------------------------------------------
#define BRS_MULTISELECT 0x01 // Ctrl and Shift extend the selection; otherwise one row at a time
#define BRS_CHECKLIST   0x08 // a list of check entries: Space (when the key event leaves it)
                             // toggles the current row's first check cell

// ---- sort order (BRM_SETSORTORDER) ---------------------------------------------------------------
// The 1-based column, negative for descending, 0 for none. While an order is set the rows stay
// sorted: rows added with BRM_ADDROW or LB_ADDSTRING are put in place. A column flagged
// BRCF_OWNERSORT is compared by the owner (BRE_COMPARE), any other by its text without regard to
// case. The value is kept as given (also for a column that does not exist yet).

// ---- column descriptor (BRM_GETCOLUMN / BRM_SETCOLUMN), exactly 304 bytes ------------------------
// offset size meaning
//   0     4   cb: 304, set by the caller before every read
//   4     4   column index
//   8   256   title (NUL-terminated, icon reference allowed)
// 264     4   auto-toggle: 1 the control flips a check cell itself (after BRE_CHECKING)
// 268     4   BRCF_* flags
// 272     4   width in pixels
// 276     4   edit limit in characters, 0 for none
// 280     4   display position (read only)
// 284     8   reserved, 0
// 292     4   cell kind: BRCK_TEXT, or BRCK_CHECK ("T" checked, anything else not)
// 296     8   reserved, 0
#define BRCF_NOSIZE     0x00000008 // the mouse does not size the column
#define BRCF_NOMOVE     0x00000020 // the mouse does not move the column
#define BRCF_CENTER     0x00000400 // content centred
#define BRCF_TEXTSORT   0x00100000 // a header click sorts by text without regard to case (default)
#define BRCF_OWNERSORT  0x00800000 // a header click sorts through the owner (BRE_COMPARE)
#define BRCF_STRETCH    0x04000000 // the column takes the width left over in the client area

#define BRCK_TEXT  0
#define BRCK_CHECK 4

#pragma pack(push, 4)
typedef struct BRCOLUMN {
    int32_t cb;
    int32_t index;
    char title[256];
    int32_t autoToggle;
    uint32_t flags;
    int32_t width;
    int32_t editLimit;
    int32_t position;
    int32_t reserved1[2];
    int32_t cellKind;
    int32_t reserved2[2];
} BRCOLUMN;
#pragma pack(pop)

// ---- records carrying pointers: natural alignment, cb = sizeof ----------------------------------

// Column layout place: HKEY root \ keyPath, value valueName.
typedef struct BRLAYOUT {
    int32_t cb;
    const char* keyPath;
    const char* valueName;
    int32_t reserved1;
    int32_t reserved2;
    HKEY root;
} BRLAYOUT;

// The short form: the root is HKEY_CURRENT_USER.
typedef struct BRLAYOUTTEXT {
    int32_t cb;
    const char* keyPath;
    const char* valueName;
} BRLAYOUTTEXT;

// BRM_SAVELAYOUT / BRM_LOADLAYOUT flags: which parts are saved or applied.
#define BRL_WIDTHS 0x0001
#define BRL_ORDER  0x0002 // the columns' display order
#define BRL_FLAGS  0x0004 // the BRCF_* flags
#define BRL_SORT   0x1000 // the sort order
// The stored value (REG_BINARY, little-endian):
//   0  4  magic BRLAYOUT_MAGIC     4  2  version BRLAYOUT_VERSION     6  2  column count n
//   8  4  BRL_* flags saved       12  4  sort order
//  16  12 * n  per column: width in pixels, display position, BRCF_* flags
// A value of another size, magic, version or column count is refused (BRERR_LAYOUT) and changes
// nothing.
#define BRLAYOUT_MAGIC   0x594C5242u // "BRLY"
#define BRLAYOUT_VERSION 1

// ---- icons in texts ------------------------------------------------------------------------------
// "\x02" N "\x02" at the start of a cell or title draws icon N (BRM_GETICON) before the text;
// N = 0 draws none. A cell of only an icon (and blanks) shows the icon centred.

// A cell: BRM_GETCELLLEN (text NULL, size 0), BRM_GETCELLTEXT (buffer and its size in bytes,
// at least the length + 1), BRM_SETCELLTEXT (text, size 0; tabs become blanks).
typedef struct BRCELL {
    int32_t cb;
    int32_t column;
    int32_t row;
    char* text;
    int32_t size;
} BRCELL;

// BRM_ADDROW.
typedef struct BRADDROW {
    int32_t cb;
    const char* text;
    LPARAM itemData;
} BRADDROW;

// ---- events --------------------------------------------------------------------------------------
// The callback is called on the control's thread, inside the message that caused the event, and
// only for actions of the user (never for the owner's own messages), except the queries
// BRE_COMPARE and BRE_ROWHEIGHT, which the control asks whenever it needs the answer.
typedef LRESULT(CALLBACK* BRWEVENTPROC)(HWND control, int event, LPARAM param);

#define BRE_DBLCLICK     1  // param: row
#define BRE_SELCHANGE    5  // param: current row (the set of selected rows changed)
#define BRE_COLUMNMENU   14 // param: column (right click on the header)
#define BRE_MOUSECLICK   17 // param: BRMOUSE* (button down in the rows)
#define BRE_CURCHANGE    21 // param: current row (the current row changed)
#define BRE_COMPARE      27 // param: BRCOMPARE*; answer < 0, 0, > 0 (row A before, equal, after)
#define BRE_SORTCHANGED  28 // param: 0 (a header click changed the sort order)
#define BRE_ROWHEIGHT    36 // param: the default row height (non-zero); answer a height or -1
#define BRE_CHECKING     46 // param: BRCHECK*; non-zero answer: handled, the control does nothing
#define BRE_CHECKED      47 // param: BRCHECK* (the control flipped the cell)
#define BRE_KEY          55 // param: BRKEY_MAKE(WM_KEYDOWN or WM_KEYUP, virtual key);
                            // non-zero answer: handled, no default action (defaults: arrows,
                            // pages, Home, End move the current row, Shift extends, Ctrl moves
                            // only the current row; Left/Right scroll; Ctrl+Space toggles the
                            // selection; Space on BRS_CHECKLIST; F2 edits; Return presses the
                            // parent dialog's default button)
#define BRE_CONTEXTMENU  61 // param: 0 (context-menu key)

#define BRKEY_MAKE(msg, vk) ((LPARAM)(DWORD)(((DWORD)(msg) << 16) | ((DWORD)(vk) & 0xFFFF)))

#define BRBUTTON_LEFT  1
#define BRBUTTON_RIGHT 2

typedef struct BRMOUSE {
    int32_t cb;
    int32_t button; // BRBUTTON_*
    int32_t x;      // client coordinates
    int32_t y;
    int32_t row;    // -1 none
    int32_t column; // -1 none
} BRMOUSE;

// Rows A and B are indexes of the rows as they are while the comparison runs; their cells stay
// readable through BRM_GETCELLLEN / BRM_GETCELLTEXT. The texts are those of the sorted column.
typedef struct BRCOMPARE {
    int32_t cb;
    int32_t column; // 0-based
    int32_t rowA;
    int32_t rowB;
    const char* textA;
    const char* textB;
} BRCOMPARE;

typedef struct BRCHECK {
    int32_t cb;
    int32_t row;
    int32_t column;
    int32_t checked; // the state before the change
} BRCHECK;

// ---- icons (BRM_GETICON / BRM_SETICON) -----------------------------------------------------------
// Built in: 0 .. 112 action pictures (BRICON_ACTION_DEFAULT the default one) and the list icons
// below. An icon the owner registers under a number replaces the built-in one.
#define BRICON_ACTION_FIRST   0
#define BRICON_ACTION_LAST    112
#define BRICON_ACTION_DEFAULT 102
#define BRICON_REMINDER       1117
#define BRICON_SERIESHEADER   1118
#define BRICON_TODO           1119
#define BRICON_PRIORITYHEADER 1123
#define BRICON_SINGLE         1124
#define BRICON_DONEHEADER     1138
#define BRICON_PRIVATEHEADER  1140
#define BRICON_SERIES         1141
#define BRICON_REMINDERHEADER 1145

#ifdef __cplusplus
static_assert(sizeof(BRCOLUMN) == 304, "column descriptor");
static_assert(offsetof(BRCOLUMN, cb) == 0 && offsetof(BRCOLUMN, index) == 4, "column descriptor");
static_assert(offsetof(BRCOLUMN, autoToggle) == 264 && offsetof(BRCOLUMN, flags) == 268, "column descriptor");
static_assert(offsetof(BRCOLUMN, width) == 272 && offsetof(BRCOLUMN, editLimit) == 276, "column descriptor");
static_assert(offsetof(BRCOLUMN, position) == 280 && offsetof(BRCOLUMN, cellKind) == 292, "column descriptor");
#ifdef _WIN64
static_assert(sizeof(BRLAYOUT) == 40 && offsetof(BRLAYOUT, keyPath) == 8 && offsetof(BRLAYOUT, valueName) == 16, "layout");
static_assert(offsetof(BRLAYOUT, reserved1) == 24 && offsetof(BRLAYOUT, root) == 32, "layout");
static_assert(sizeof(BRLAYOUTTEXT) == 24, "layout text");
static_assert(sizeof(BRCELL) == 32 && offsetof(BRCELL, text) == 16 && offsetof(BRCELL, size) == 24, "cell");
static_assert(sizeof(BRADDROW) == 24 && offsetof(BRADDROW, itemData) == 16, "add row");
static_assert(sizeof(BRCOMPARE) == 32 && offsetof(BRCOMPARE, textA) == 16 && offsetof(BRCOMPARE, textB) == 24, "compare");
static_assert(sizeof(BRMOUSE) == 24 && offsetof(BRMOUSE, x) == 8 && offsetof(BRMOUSE, y) == 12, "mouse");
static_assert(sizeof(BRCHECK) == 16, "check");
#endif
#endif
