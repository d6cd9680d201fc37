// Report engine: lists and index cards of named items, laid out by a project file and written
// to PDF, HTML or RTF.
//
// A caller opens a job, names the project file extensions, defines its items (variables for page
// texts and cards, fields for list rows), starts a print run on a project file, lets the user
// choose the medium in the options dialog and then feeds pages, rows and cards:
//
//   job = RpJobOpen(0x4000)
//   RpSetFileExtensionsA(job, RP_PROJECT_LIST, "ltd", "ltp", "ltv")
//   RpSelectFileDlgTitleExA(job, owner, NULL, RP_PROJECT_LIST, file, 260, NULL)
//   RpDefineVariableStart / RpDefineVariableA ...        definition pass: names and types
//   RpDefineFieldStart / RpDefineFieldA ...
//   RpPrintWithBoxStartA(job, RP_PROJECT_LIST, file, 0x800, 0, owner, title)
//   RpPrintSetOptionStringA(job, RP_PRINT_MEDIUM_KEY, "PDF"); RpPrintOptionsDialogA(...)
//   list:  RpPrint (starts a page) then RpPrintFields per row; RP_PAGE_FULL from RpPrintFields
//          means the row did not fit: call RpPrint and the same RpPrintFields again.
//   card:  RpPrint per card; RP_PAGE_FULL means the card goes on: call RpPrint again.
//   RpPrintFieldsEnd (again while RP_PAGE_FULL), RpPrintEnd(job, 0)
//
// Every function returns 0 or a positive value on success and a negative RP_ERR_ code otherwise.
// Texts are single-byte strings in code page 1252. A buffer argument is followed by the number
// of characters it takes besides the terminating zero: longer texts are cut and terminated.
#pragma once

#include <windows.h>

#ifdef VLRP11_BUILD
#define VLRP11_API extern "C" __declspec(dllexport)
#else
#define VLRP11_API extern "C" __declspec(dllimport)
#endif

// Results.
enum {
    RP_OK = 0,
    RP_ERR_BAD_JOB = -1,          // unknown job handle
    RP_ERR_WRONG_PROJECT = -3,    // the project is of another kind (a card project for a list)
    RP_ERR_NOT_PRINTING = -4,     // a print call outside a started print run
    RP_ERR_NO_PRINTER = -11,      // no printer installed
    RP_ERR_OUTPUT = -13,          // the output file cannot be written
    RP_ERR_NO_TABLE = -21,        // a list project without table columns
    RP_ERR_PROJECT_MISSING = -22, // the project file cannot be found or opened
    RP_ERR_EXPRESSION = -23,      // an expression names an unknown item (see RpExprErrorA)
    RP_ERR_BAD_PROJECT = -24,     // the project file is damaged
    RP_ERR_BAD_ARGUMENT = -30,    // a required argument is missing
    RP_ERR_USER_ABORT = -99,      // the user cancelled a dialog or aborted the run
    RP_PAGE_FULL = -998,          // the page is full: call again (see above)
};

// Project types (the type argument; bit 0x8000 is ignored).
enum { RP_PROJECT_LIST = 2, RP_PROJECT_CARD = 3 };

// Item type codes of the Ext definitions. Plain definitions are text.
#define RP_ITEM_ICON 0x20000005    // an icon handle (RpDefineVariableExtHandleA); copied at definition
#define RP_ITEM_BOOLEAN 0x2000000  // "T" prints a check mark, anything else nothing
#define RP_ITEM_RTF 0x1000000      // formatted text, printed with its bold, italic and underlined parts
#define RP_ITEM_DATE 0x4000002     // "%lf" text of an OLE date ('.' or ','), printed dd.mm.yyyy hh:mm
#define RP_ITEM_NUMBER 0x8000000   // a number, printed as given

// Job options (RpSetOption / RpSetOptionStringA). Other numbers are kept and have no effect.
// String option 12: the page defaults file (a project file of page, margins, font and rows); a
// name without a folder is looked up beside this library. Missing or damaged: built-in defaults.
enum { RP_OPTION_DATABASE = 12 };

// Print options (RpPrintSetOption / RpPrintGetOption).
enum {
    RP_PRINT_COPIES = 0,       // copies chosen in the options dialog (1..999)
    RP_PRINT_ENGINE_COPIES = 3, // 1 where the medium makes the copies itself (printer), else 0
    RP_PRINT_MEDIUM = 13,      // one of the RP_MEDIUM_ values
};
enum { RP_MEDIUM_PRINTER = 1, RP_MEDIUM_PREVIEW = 2, RP_MEDIUM_HTML = 3, RP_MEDIUM_RTF = 4, RP_MEDIUM_PDF = 5 };
// Print string options (RpPrintSetOptionStringA).
enum {
    RP_PRINT_MEDIUM_KEY = 2,   // "PRN", "PRV", "HTML", "RTF" or "PDF": the medium the dialog preselects
    RP_PRINT_OUTPUT_FILE = 3,  // the output file of HTML, RTF and PDF
};

// Jobs: several may be open at once; handles are positive.
VLRP11_API int WINAPI RpJobOpen(int flags);
VLRP11_API int WINAPI RpJobClose(int job);
VLRP11_API int WINAPI RpSetOption(int job, int option, int value);
VLRP11_API int WINAPI RpSetOptionStringA(int job, int option, const char* value);
// The first extension names the project files of the type (without a dot).
VLRP11_API int WINAPI RpSetFileExtensionsA(int job, int type, const char* project, const char* print,
                                           const char* preview);

// Items. A start empties the set; a definition of a known name replaces its value.
VLRP11_API int WINAPI RpDefineVariableStart(int job);
VLRP11_API int WINAPI RpDefineFieldStart(int job);
VLRP11_API int WINAPI RpDefineVariableA(int job, const char* name, const char* value);
VLRP11_API int WINAPI RpDefineVariableExtA(int job, const char* name, const char* value, int type, int reserved);
// The icon is copied: the caller may destroy its handle after the call.
VLRP11_API int WINAPI RpDefineVariableExtHandleA(int job, const char* name, HANDLE icon, int type, int reserved);
VLRP11_API int WINAPI RpDefineFieldA(int job, const char* name, const char* value);
VLRP11_API int WINAPI RpDefineFieldExtA(int job, const char* name, const char* value, int type, int reserved);

// Project chooser: buffer holds the proposed file on entry and the chosen one on return (0).
// A chosen file that does not exist is created with the default project of its kind. Cancel:
// RP_ERR_USER_ABORT.
VLRP11_API int WINAPI RpSelectFileDlgTitleExA(int job, HWND owner, const char* title, int type, char* buffer,
                                              int size, void* reserved);
// Layout designer: the items defined (variables; for lists also fields) offered for the columns
// or card lines, header and footer; saved to the project file on OK (a missing file starts from
// the default of its kind). Abbrechen: RP_ERR_USER_ABORT, the file unchanged.
VLRP11_API int WINAPI RpDefineLayoutA(int job, HWND owner, const char* title, int type, const char* project);

// Print run.
VLRP11_API int WINAPI RpPrintWithBoxStartA(int job, int type, const char* project, int flags, int boxKind,
                                           HWND owner, const char* title);
VLRP11_API int WINAPI RpPrintOptionsDialogA(int job, HWND owner, const char* title);
VLRP11_API int WINAPI RpPrintGetOption(int job, int option);
VLRP11_API int WINAPI RpPrintSetOption(int job, int option, int value);
VLRP11_API int WINAPI RpPrintSetOptionStringA(int job, int option, const char* value);
VLRP11_API int WINAPI RpPrintGetPrinterInfoA(int job, char* device, int deviceSize, char* port, int portSize);
VLRP11_API int WINAPI RpPreviewSetTempPathA(int job, const char* directory);
// Progress text and percentage; RP_ERR_USER_ABORT once the user pressed "Abbrechen".
VLRP11_API int WINAPI RpPrintSetBoxTextA(int job, const char* text, int percent);
VLRP11_API int WINAPI RpPrint(int job);
VLRP11_API int WINAPI RpPrintFields(int job);
VLRP11_API int WINAPI RpPrintFieldsEnd(int job);
// Ends the run: the output file appears (replacing an older one) only when the run was complete.
VLRP11_API int WINAPI RpPrintEnd(int job, int flags);

// Preview: a run to the preview medium keeps its pages in the job (no files are written to the
// directory); RpPreviewDisplayA shows them in a window, modal for the owner, until the user
// closes it (RP_ERR_NOT_PRINTING when there are none); RpPreviewDeleteFilesA drops them.
VLRP11_API int WINAPI RpPreviewDisplayA(int job, const char* project, const char* directory, HWND owner);
VLRP11_API int WINAPI RpPreviewDeleteFilesA(int job, const char* project, const char* directory);

// The text of the last expression error of the job (empty when none).
VLRP11_API int WINAPI RpExprErrorA(int job, char* buffer, int size);
