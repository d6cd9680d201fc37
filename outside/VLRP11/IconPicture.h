// The pixels of an icon, for the writers.
#pragma once

#include <windows.h>

#include "Document.h"

namespace rp {

// The icon's colours and transparency (its alpha channel, else its mask); false for no icon.
bool PictureFromIcon(HICON icon, Picture& picture);

} // namespace rp
