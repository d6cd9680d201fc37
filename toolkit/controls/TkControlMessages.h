// Private messages of the toolkit's controls.
#pragma once

#ifndef TKWM_OUTBAR_NOTIFY
#define TKWM_OUTBAR_NOTIFY 0x89D6 // shortcut bar -> owner: wParam code, lParam TK_OUTBARNOTIFY*
#endif
#ifndef TKWM_DEFERRED_INIT
#define TKWM_DEFERRED_INIT 0x89DE // a control finishes its set-up; lParam the sequence number
#endif
