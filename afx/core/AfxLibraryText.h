// The texts that the class library itself shows (error messages of its exceptions), in one table
// with one look-up function. The program's own texts live in its string table.
#pragma once

#include "AfxBase.h"

enum AfxLibraryText {
    AFX_TEXT_NO_ERROR_MESSAGE,
    AFX_TEXT_MEMORY,
    AFX_TEXT_NOT_SUPPORTED,
    AFX_TEXT_RESOURCE,
    AFX_TEXT_INVALID_ARG,
    AFX_TEXT_UNNAMED_FILE,
    AFX_TEXT_INVALID_DATETIME,
    AFX_TEXT_INVALID_DATETIMESPAN,
    AFX_TEXT_FILE_FIRST, // + CFileException cause (none ... endOfFile)
    AFX_TEXT_FILE_LAST = AFX_TEXT_FILE_FIRST + 14,
    AFX_TEXT_ARCHIVE_FIRST, // + CArchiveException cause (none ... badSchema)
    AFX_TEXT_ARCHIVE_LAST = AFX_TEXT_ARCHIVE_FIRST + 7,
    AFX_TEXT_INTERNAL_FAILURE,
    AFX_TEXT_PARSE_INT,
    AFX_TEXT_PARSE_REAL,
    AFX_TEXT_PARSE_INT_RANGE,
    AFX_TEXT_PARSE_REAL_RANGE,
    AFX_TEXT_PARSE_STRING_SIZE,
    AFX_TEXT_PARSE_RADIO_BUTTON,
    AFX_TEXT_PARSE_BYTE,
    AFX_TEXT_PARSE_UINT,
    AFX_TEXT_IDLE_MESSAGE,
    AFX_TEXT_HELP_MODE_MESSAGE,
    AFX_TEXT_OPEN_FILE,
    AFX_TEXT_SAVE_FILE,
    AFX_TEXT_ALL_FILTER,
    AFX_TEXT_UNTITLED,
    AFX_TEXT_FAILED_TO_OPEN_DOC,
    AFX_TEXT_FAILED_TO_SAVE_DOC,
    AFX_TEXT_ASK_TO_SAVE,
    AFX_TEXT_FAILED_TO_CREATE_DOC,
    AFX_TEXT_FAILED_TO_LAUNCH_HELP,
    AFX_TEXT_FAILED_MAPI_LOAD,
    AFX_TEXT_INVALID_MAPI_DLL,
    AFX_TEXT_FAILED_MAPI_SEND,
    AFX_TEXT_OLE_BUSY,
    AFX_TEXT_OLE_NOT_RESPONDING,
    AFX_TEXT_COUNT
};

// The text of nText (never NULL; an unknown number gives the "no message" text). File and archive
// texts contain %1 where the file name belongs.
LPCTSTR AFXAPI AfxGetLibraryText(int nText);

// The library's text of a prompt or string id (AFX_IDP_..., AFX_IDS_...), or NULL when the library
// has none.
LPCTSTR AFXAPI AfxGetLibraryPrompt(UINT nIDPrompt);

// Copies lpszText into lpszError (nMaxError characters including the terminator), with %1
// replaced by lpszArg; nothing is copied when the buffer is NULL or nMaxError is 0.
void AFXAPI AfxFormatLibraryText(LPTSTR lpszError, UINT nMaxError, LPCTSTR lpszText, LPCTSTR lpszArg);
