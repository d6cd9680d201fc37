// What the test document server (afx_test_docserver.exe) and its clients in the tests agree on.
#pragma once

#include <windows.h>

// The ProgID comes from the server's document template (its registry type id).
#define OXDS_PROGID "OX.TestDocServer"
#define OXDS_TYPENAME "OX Testdokument-Server"
// {6C2D8E41-1A5B-4C7D-8E9F-20A1B2C3D4E5}
static const CLSID CLSID_OxTestDocServer = {0x6c2d8e41, 0x1a5b, 0x4c7d, {0x8e, 0x9f, 0x20, 0xa1, 0xb2, 0xc3, 0xd4, 0xe5}};

// DISPIDs of the document (the positions in its dispatch map).
enum {
    OXDS_TEXT = 1,      // BSTR, get/put; a put updates the views
    OXDS_VISIBLE,       // BOOL: the main window is visible
    OXDS_INMAINFRAME,   // BOOL: the object is the document of the main frame
    OXDS_DOCUMENTS,     // long: live documents of the process
    OXDS_NEWDOCUMENTS,  // long: how often the document was (re)initialised as a new one
    OXDS_VIEWUPDATES,   // long: updates the view received after its first
    OXDS_TITLE,         // BSTR: the document's title
    OXDS_PROCESSID,     // method () -> long
};
