// Resource ids of the toolkit's tests. Toolbar 128 and menu 128 are copies of the program's,
// shared by the tests of every toolkit class.
#pragma once

#define IDR_MAINFRAME 128

// a toolbar resource whose count runs past its data
#define IDR_TOOLBAR_TRUNCATED 129
// a toolbar resource without items (its bitmap is toolbar 128's)
#define IDR_TOOLBAR_EMPTY 130

// test bitmaps of 4, 8 and 24 bits per pixel: black, 0x808080, 0xC0C0C0, white, 0xC0C0C1, 0x123456
#define IDB_SYSCOLOR4 201
#define IDB_SYSCOLOR8 202
#define IDB_SYSCOLOR24 203

// commands of menu 128 and toolbar 128
#define ID_NEW_APPOINTMENT 32775
#define ID_NEW_TASK 32776
#define ID_VIEW_TASKS 32777
#define ID_VIEW_MONTH 32778
#define ID_VIEW_WEEK 32779
#define ID_VIEW_DAY 32780
#define ID_VIEW_VIEWBAR 32773
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

// the filter bar's drop-down lists (dialog template 128 "Filterleiste")
#define IDC_FILTER_CATEGORY 1003
#define IDC_FILTER_PERSON 1004
#define IDC_FILTER_STATE 1005
// a dialog template that does not exist
#define IDD_MISSING 140
