// What the test automation server (afx_test_server.exe) and its clients in the tests agree on.
#pragma once

#include <windows.h>

// ProgID and class id of the server's root object.
#define OXTS_PROGID "OX.TestServer"
// {5B4F1E61-7C2A-4E0B-9E5D-3A1F6C2B8D01}
static const CLSID CLSID_OxTestServer = {0x5b4f1e61, 0x7c2a, 0x4e0b, {0x9e, 0x5d, 0x3a, 0x1f, 0x6c, 0x2b, 0x8d, 0x01}};
// The root object's own dispatch interface, answered with the same IDispatch.
// {5B4F1E62-7C2A-4E0B-9E5D-3A1F6C2B8D01}
static const IID IID_IOxTestServer = {0x5b4f1e62, 0x7c2a, 0x4e0b, {0x9e, 0x5d, 0x3a, 0x1f, 0x6c, 0x2b, 0x8d, 0x01}};

// The server appends its start and end to the file named by this environment variable.
#define OXTS_LOG_VARIABLE "OX_TEST_SERVER_LOG"

// DISPIDs of the root object (the positions in its dispatch map).
enum {
    OXTS_NAME = 1,
    OXTS_COUNT,
    OXTS_FLAG,
    OXTS_WHEN,
    OXTS_SLOT,
    OXTS_ADD,
    OXTS_CONCAT,
    OXTS_FAIL,
    OXTS_NEWCHILD,
    OXTS_CHANGES,
    OXTS_PROCESSID,
    OXTS_CONNECTIONS,
    OXTS_DESCRIBE,
    OXTS_TWICE,
    OXTS_OBJECTS,
};

// The application error code that Fail raises with code 0 (else the code given).
#define OXTS_FAIL_CODE 1234
