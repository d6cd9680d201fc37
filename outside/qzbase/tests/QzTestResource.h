// Dialogs of the qz control tests.
#pragma once

#define IDD_QZ_FIELDS 100       // a date field and a time field at their template sizes, a disabled one
#define IDD_QZ_BAD_MARK 101     // a date field whose saved state has another mark
#define IDD_QZ_BAD_SHORT 102    // a saved state cut short
#define IDD_QZ_BAD_MODE 103     // a mode that does not exist
#define IDD_QZ_PICKER 104       // a month calendar at the picker's size
#define IDD_QZ_TWO_MONTHS 105   // two calendars with week numbers (saved state)
#define IDD_QZ_BENCH 106        // four date fields and two calendars

#define IDC_QZ_DATE 1015
#define IDC_QZ_TIME 1013
#define IDC_QZ_DISABLED 1016
#define IDC_QZ_EDIT 1001
#define IDC_QZ_MONTH 1002
#define IDC_QZ_MONTH2 1006
#define IDC_QZ_MONTH1 1007
#define IDC_QZ_DATE2 1020
#define IDC_QZ_DATE3 1021
#define IDC_QZ_DATE4 1022

#define IDD_QZ_MULTIDAY 107     // the day and week grid filling the dialog
#define IDC_QZ_MDAY 1000
