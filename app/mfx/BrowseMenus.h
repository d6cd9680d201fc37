// Context menus of the browse lists (BrowseMenus.rc, part of the program's resources).
#pragma once

#define IDR_BROWSE_VIEW_MENU     170 // list views: new entries, edit, delegate, delete, go to, ...
#define IDR_BROWSE_REMINDER_MENU 173 // the reminder list
#define ID_BROWSE_SELECT_ALL     32854
