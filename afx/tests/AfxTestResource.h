// String resources of the class library's test program.
#pragma once

#define IDS_TEST_GREETING 1001
#define IDS_TEST_DATE_FORMAT 1002
#define IDS_TEST_REGISTRY_KEY 1003
#define IDS_TEST_LONG_TEXT 1004
#define IDS_TEST_MESSAGE 1005
#define IDS_TEST_ENTRY_COUNT 1006
