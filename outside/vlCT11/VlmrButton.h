// "VLMRBUTTON1132": a superclass of the system button. It keeps the system button's behaviour:
// a click sends WM_COMMAND with BN_CLICKED and its id to the parent, BS_DEFPUSHBUTTON makes it
// the dialog's default button.
#pragma once

#include <windows.h>

bool RegisterVlmrButton(HINSTANCE instance);
