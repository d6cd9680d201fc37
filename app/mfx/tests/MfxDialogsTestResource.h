// Dialogs and strings of the dialog framework, edit field and combo box tests.
#pragma once

#define IDD_MFX_SIZABLE 300
#define IDC_SIZ_LIST 1001
#define IDC_SIZ_OK 1002
#define IDC_SIZ_EDIT 1003
#define IDC_SIZ_NOTE 1004
#define IDC_SIZ_MISSING 1099

#define IDD_MFX_COLORS 301
#define IDC_COL_STATIC 1101
#define IDC_COL_BUTTON 98
#define IDC_COL_EDIT 1103
#define IDC_COL_LIST 1104
#define IDC_COL_SCROLL 1105

#define IDD_MFX_PARSED 302
#define IDC_PAR_EDIT 1201
#define IDC_PAR_SPAN 1202

#define IDD_MFX_COMBOS 303
#define IDC_CMB_COLOR 1301
#define IDC_CMB_USER 1302
#define IDC_CMB_HISTORY 1303
#define IDC_CMB_ITEMS 1304

#define IDS_TEST_EXTRA_CHARS 1001
