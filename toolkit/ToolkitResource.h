// Resource ids of the toolkit. The toolkit's resources (Toolkit.rc) are compiled into every program
// that uses the toolkit: its resource script includes Toolkit.rc, and the toolkit loads them from
// the module named in tkAfxData.hInstance.
#pragma once

// Cursors
#define IDC_TK_DRAGCOPY 4509 // dragging that copies
#define IDC_TK_DRAGMOVE 4510 // dragging that moves
#define IDC_TK_HAND 4511     // pointing at a folder header of the shortcut bar
#define IDC_TK_COLSPLIT 4512 // over a bar that separates columns
#define IDC_TK_DRAGNONE 4513 // dragging over a place that accepts nothing
#define IDC_TK_ROWSPLIT 4514 // over a bar that separates rows
#define IDC_TK_SPARE 4515    // loaded with the others, shown by no class

// Bitmaps
#define IDB_TK_FRAME_GLYPHS 4656 // 10 x 10 on magenta: minimise, restore, close, expand

// Strings
#define IDS_TK_SETTINGS_PATH 4533   // the key of a toolbar's saved layout
#define IDS_TK_BAR_STATE_NAME 4541  // its value: profile name and bar id
#define IDS_TK_RECENT_ITEM_LIST 4539 // registry section of the recently chosen rarely used commands
#define IDS_TK_RECENT_ITEM 4540      // its values, numbered from 1
#define IDS_TK_COMCTL_VERSION 4548 // the common-controls library is too old
#define IDS_TK_CUSTOMIZE 4550       // the bars menu's item that opens the customize sheet
#define IDS_TK_DOCKED_WINDOW 4556   // a docking window without a title in the bars menu
#define IDS_TK_TOOLBAR 4558         // a toolbar without a title in the bars menu
#define IDS_TK_STATUS_BAR 4560      // the status bar in the bars menu
#define IDS_TK_MENU_BAR 4644        // the menu bar's title
#define IDS_TK_CONTROL_BAR 4645     // another bar without a title in the bars menu
#define IDS_TK_MORE_WINDOWS 4653    // the window list's last item (65289)
#define IDS_TK_MINIMIZE_WINDOW 4660 // tips of the frame buttons of a maximized child
#define IDS_TK_RESTORE_WINDOW 4661
#define IDS_TK_CLOSE_WINDOW 4662
#define IDS_TK_CLOSE 4585           // tip of a floating frame's close button
#define IDS_TK_TOOLBAR_OPTIONS 4663 // tip of its expand button
#define IDS_TK_CUSTOMIZE_TOOLBAR 53782 // the command that opens the customize sheet
#define IDS_TK_SHOW_FULL_MENUS 53783 // the command that shows shortened menus in full

// Context menus: 4519 holds the shortcut bar's popup (first) and the edit's popup (second); the
// toolbars give their command pictures.
#define IDR_TK_CONTEXT_MENUS 4519
#define IDR_TK_OUTBAR_PICTURES 4521
#define IDR_TK_EDIT_PICTURES 4524

// Commands of the shortcut bar's context menu, and the texts of its added entries
#define ID_TK_OUTBAR_LARGEICONS 53778
#define ID_TK_OUTBAR_SMALLICONS 53779
#define ID_TK_OUTBAR_REMOVE 53780
#define ID_TK_OUTBAR_RENAME 53781
#define IDS_TK_OUTBAR_REMOVE_ITEM 53780
#define IDS_TK_OUTBAR_RENAME_ITEM 53781
#define IDS_TK_OUTBAR_REMOVE_FOLDER 53784
#define IDS_TK_OUTBAR_RENAME_FOLDER 53785
