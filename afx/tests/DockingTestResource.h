// Resource ids of the docking layer's test program.
#pragma once

// toolbars (resource type 241 and their bitmaps) and a dialog bar template
#define IDR_DOCK_TOOLBAR 300
#define IDR_DOCK_TOOLBAR2 301
#define IDR_BAD_VERSION 302
#define IDR_BAD_COUNT 303
#define IDR_NO_BITMAP 304
#define IDD_DOCK_DIALOGBAR 310
#define IDD_BAD_LENGTH 311
#define IDD_NO_TERMINATOR 312

// commands of the toolbars
#define ID_TB_NEW 0x8101
#define ID_TB_OPEN 0x8102
#define ID_TB_SAVE 0x8103
#define ID_TB_CUT 0x8104
#define ID_TB_COPY 0x8105
#define ID_TB_PASTE 0x8106
#define ID_TB_BOLD 0x8107
#define ID_TB_ITALIC 0x8108
#define ID_TB_LEFT 0x8111
#define ID_TB_CENTER 0x8112
#define ID_TB_RIGHT 0x8113
#define ID_TB_FIND 0x8114

// the dialog bar's controls
#define IDC_BAR_COMBO 1003
#define IDC_BAR_APPLY 1004
#define IDC_BAR_NOBODY 1005
#define IDC_BAR_LABEL 1006

// the second toolbar's control-bar id
#define IDW_SECOND_TOOLBAR 0xE807
