// Resource ids of the program OX.exe.
#pragma once

#define IDR_MAINFRAME 128           // document template, main icon, main menu, toolbar, filter bar
#define IDI_TRAY_XP 130             // tray icon (16 x 16) on newer systems
#define IDI_ABOUT 138               // About box icon on older systems
#define IDI_TRAY_OLD 182            // tray icon on older systems
#define IDD_ABOUTBOX 100
#define IDD_TEST_DIALOG 169

#define IDC_ABOUT_ICON 164
#define IDC_ABOUT_VERSION 1091
#define IDC_ABOUT_COPYRIGHT 1095
#define IDC_ABOUT_SUPPORT 1110
#define IDC_ABOUT_TEST 1111
#define IDC_TEST_RICHEDIT 1047

#define IDS_OLE_INIT_FAILED 100     // "Fehler bei der OLE-Initialisierung. ..."
#define IDS_OLE_SERVER_CLOSE 40061  // the question before closing while clients are connected
#define IDS_DIALOGS_OPEN 40072      // "Ein oder mehrere Dialoge wurden noch nicht beendet. ..."
#define IDS_RICHEDIT_MISSING 40073  // "Die RichEdit control DLL konnte nicht geladen werden. ..."
#define IDS_SOUND_START 43000
#define IDS_SOUND_EXIT 43001
#define IDS_SOUND_REMINDER 43002
#define IDS_DATA_DIR_MISSING 43010  // the data directory does not exist (names it)

// commands of the main menu, the toolbar and the accelerators
#define ID_VIEW_VIEWBAR 32773
#define ID_NEW_APPOINTMENT 32775
#define ID_NEW_TASK 32776
#define ID_VIEW_TASKS 32777
#define ID_VIEW_MONTH 32778
#define ID_VIEW_WEEK 32779
#define ID_VIEW_DAY 32780
#define ID_REFRESH 32784
#define ID_DELETE_ENTRY 32787
#define ID_OPTIONS_GENERAL 32788
#define ID_VIEW_APPOINTMENTS 32790
#define ID_REPAIR_REINDEX 32811
#define ID_EDIT_ENTRY 32812
#define ID_GOTO_TODAY 32813
#define ID_REPAIR_REORGANIZE 32815
#define ID_RESET_FILTERS 32816
#define ID_GOTO_RECORD 32818
#define ID_POSTPONE_REMINDERS 32820
#define ID_DELEGATE_ENTRY 32821
#define ID_OPTIONS_SOUNDS 32825
#define ID_SUPPORT_KNOWLEDGEBASE 32827
#define ID_SUPPORT_NEWSGROUPS 32828
#define ID_SUPPORT_AREA 32829
#define ID_OPTIONS_RESOURCES 32857
#define ID_VIEW_FILTERBAR 59397     // the filter bar's id, toggled by the framework

// the filter bar (dialog template 128)
#define IDC_FILTER_USER 1003
#define IDC_FILTER_APPOINTMENTS 1004
#define IDC_FILTER_TASKS 1005

#define IDS_TOOLBAR_TITLE 7216      // "Symbolleiste"
#define IDS_FILTERBAR_TITLE 7217    // "Filterleiste"

#define IDS_PANE_USER 59200         // status-bar pane indicators
#define IDS_PANE_APPOINTMENTS 59201
#define IDS_PANE_TODOS 59202

#define WM_TRAY_NOTIFY (WM_USER + 0x65)  // 1125: the tray icon's callback
#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
