// The window classes the library's dialog templates name. They are global classes (usable from
// any module's templates) and exist while at least one job is open (CtlJobOpen/CtlJobClose).
#pragma once

#include <windows.h>

// A dialog class for a template's CLASS statement: dialog-manager behaviour, DLGWINDOWEXTRA.
inline constexpr char kDialogClassName[] = "vlmrDialog1132";
// The same for sizable windows (the collective reminder window's template).
inline constexpr char kDialog2ClassName[] = "VlmrDialog21132";
// A static that renders the library's formatted text (see Markup.h).
inline constexpr char kStaticClassName[] = "VLMRSTATIC1132";
// A push button (BN_CLICKED to the parent, BS_DEFPUSHBUTTON).
inline constexpr char kButtonClassName[] = "VLMRBUTTON1132";
// An invisible marker whose caption is a help id; never painted or focused.
inline constexpr char kHelpIdClassName[] = "VlmrHelpID1132";

// Unregisters the classes when any job is still open; for the library's unloading.
void ReleaseWindowClasses();
