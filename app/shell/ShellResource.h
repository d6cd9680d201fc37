// Resource ids of the program OX.exe.
#pragma once

#define IDR_MAINFRAME 128           // document template, main icon, main menu
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

#define IDS_PANE_USER 59200         // status-bar pane indicators
#define IDS_PANE_APPOINTMENTS 59201
#define IDS_PANE_TODOS 59202

#define WM_TRAY_NOTIFY (WM_USER + 0x65)  // 1125: the tray icon's callback
#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
