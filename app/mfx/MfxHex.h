// Hexadecimal images of bytes: two digits per byte, high digit first, written in upper case
// ("0123456789ABCDEF"). Record images are stored in table fields this way.
#pragma once

#include <afx.h>

// The value of a hexadecimal digit (upper or lower case), -1 for any other character.
int MfxHexDigitValue(int c);

// The image of nCount bytes.
void MfxHexEncode(const void* pBytes, int nCount, CString& rText);

// Zeroes the nSize bytes of the buffer, then decodes byte i from the digits 2i and 2i + 1 of the
// text for every i below nSize and below half the text's length (an odd last digit and digits
// beyond the buffer are not used). Digits may be upper or lower case. FALSE, and the buffer all
// zeros, when a character in the used part is not a hexadecimal digit.
BOOL MfxHexDecode(void* pBuffer, int nSize, LPCTSTR lpszText);
