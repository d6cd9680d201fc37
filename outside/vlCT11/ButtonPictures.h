// The 16 x 16 pictures of the library's picture buttons, chosen by control id.
#pragma once

#include <windows.h>

inline constexpr int kPictureSize = 16;

// The picture of a control id: 16 rows of 16 characters, one per pixel ('.' transparent, letters
// name colours, see ButtonPictures.cpp). Ids without a picture of their own get a plain one.
const char* const* ButtonPicture(int id);
// Draws a picture with its top left corner at (x, y); a disabled picture is drawn embossed grey.
void DrawButtonPicture(HDC dc, int id, int x, int y, bool enabled);
