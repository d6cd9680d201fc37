// "VLMRSTATIC1132": a static that shows the library's formatted text (Markup.h). Its window text
// is the markup; it is shown again whenever the text, the font or the enabled state changes. The
// background comes from the parent's WM_CTLCOLORSTATIC answer, as with a system static.
#pragma once

#include <windows.h>

bool RegisterVlmrStatic(HINSTANCE instance);
