// Resources of the class library extensions' test programs.
#pragma once

#define IDS_TEST_PROGRAM_TITLE 128
#define IDS_TEST_TEXT 901
#define IDS_TEST_CAPTION 902
#define IDS_TEST_FORMAT 903
#define IDS_TEST_REMINDER_OFF 40076
