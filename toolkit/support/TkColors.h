// The toolkit's colour table and colour conversions.
//
// The table has 53 entries indexed like the Windows colour indexes: entry 0 is 0, entries 1-28
// are the Windows colours of the same index, entries 30-52 are toolkit colours derived from them
// (a lightened face for bars and menus, a pale highlight for hot buttons, darker borders), and
// entries 29 and 50 stay 0. On a display of 8 bits per pixel or fewer the toolkit colours are
// plain Windows colours.
#pragma once

#include <windows.h>

#define TK_COLOR_COUNT 53
// Entries 1..TK_SYSCOLOR_LAST are Windows colours.
#define TK_SYSCOLOR_LAST 28

// Entry nIndex of the table (0 outside 0..52).
COLORREF TkGetSysColor(int nIndex);

// Refreshes the process-wide table from the system colours and the screen's colour depth.
void TkUpdateColorTable();

// The refresh as a pure function: sysColors[i] is the Windows colour of index i (0..28),
// nBitsPerPixel the screen's depth. table holds the previous table on entry (entry 34 keeps its
// value on a display of 8 bits per pixel or fewer) and the new one on return.
void TkComputeColorTable(const COLORREF sysColors[TK_SYSCOLOR_LAST + 1], int nBitsPerPixel,
                         COLORREF table[TK_COLOR_COUNT]);

// Colour value helper: adds nGrey to each channel, saturating at 255.
COLORREF TkAddGrey(COLORREF clr, int nGrey);

// HSL with all values in 0..1.
void TkRGBtoHSL(COLORREF clr, double* pHue, double* pSat, double* pLum);
COLORREF TkHSLtoRGB(double dHue, double dSat, double dLum);
