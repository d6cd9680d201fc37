// Resource ids of the dialogs' templates and texts (DialogsPopups.rc).
#pragma once

#define IDD_DATE_PICKER_POPUP 149
#define IDD_TIME_LIST_POPUP 152
#define IDC_POPUP_MONTH 1002
#define IDC_POPUP_TIMES 1025

// month names "Jan" .. "Dez" (6020 .. 6031)
#define IDS_MONTH_SHORT_FIRST 6020
// day names "Mo" .. "Sa" (6047 .. 6052) and "So" (6053)
#define IDS_DAY_MONDAY 6047
#define IDS_DAY_SUNDAY 6053
// "Das Steuerelement %s konnte nicht geladen werden. ..."
#define IDS_CONTROL_NOT_LOADED 6054
