// Prints what an independent script recomputes (reference_check.py):
//
//   toolkit_reference_dump colors   the toolkit colour table for a few colour schemes, with the
//                                   colours it was made from
//   toolkit_reference_dump crc      CRC-32 values of pseudo-random blocks
//
// Colours, per scheme: "scheme <name> <bits per pixel>", "in" with the 29 Windows colours, "before" with
// the table before the refresh, "out" with the 53 entries; colours as COLORREF hex numbers.
#include "CTkCrc32.h"
#include "TkColors.h"

#include <initializer_list>
#include <stdio.h>
#include <string.h>

namespace {

void PrintColors(const char* pszTag, const COLORREF* pColors, int nCount)
{
    printf("%s", pszTag);
    for (int i = 0; i < nCount; i++)
        printf(" %06lx", (unsigned long)pColors[i]);
    printf("\n");
}

void Run(const char* pszName, const COLORREF* pSys, int nBits, COLORREF* pTable)
{
    printf("scheme %s %d\n", pszName, nBits);
    PrintColors("in", pSys, TK_SYSCOLOR_LAST + 1);
    PrintColors("before", pTable, TK_COLOR_COUNT);
    TkComputeColorTable(pSys, nBits, pTable);
    PrintColors("out", pTable, TK_COLOR_COUNT);
}

} // namespace

// Per block: "crc <length> <bytes as hex> <value as hex>", the value from one Update call over
// the whole block and from two calls over its halves ("split" when they differ).
int DumpCrc()
{
    unsigned nSeed = 4711;
    for (unsigned nLength : {0u, 1u, 7u, 64u, 255u, 1000u, 4097u}) {
        BYTE* pData = new BYTE[nLength + 1];
        for (unsigned i = 0; i < nLength; i++) {
            nSeed = nSeed * 1103515245u + 12345u;
            pData[i] = (BYTE)(nSeed >> 16);
        }
        CTkCrc32 whole, halves;
        whole.Update(pData, nLength);
        halves.Update(pData, nLength / 2);
        halves.Update(pData + nLength / 2, nLength - nLength / 2);
        printf("crc %u ", nLength);
        for (unsigned i = 0; i < nLength; i++)
            printf("%02x", pData[i]);
        printf(nLength == 0 ? "- %08lx%s\n" : " %08lx%s\n", (unsigned long)whole.GetValue(),
               whole.GetValue() == halves.GetValue() ? "" : " split");
        delete[] pData;
    }
    return 0;
}

int main(int argc, char** argv)
{
    if (argc > 1 && strcmp(argv[1], "crc") == 0)
        return DumpCrc();

    // the classic Windows grey scheme
    static const COLORREF s_classic[TK_SYSCOLOR_LAST + 1] = {
        0,        0x808000, 0x800000, 0x808080, 0xC0C0C0, 0xFFFFFF, 0x000000, 0x000000, 0x000000, 0xFFFFFF,
        0xC0C0C0, 0xC0C0C0, 0x808080, 0x800000, 0xFFFFFF, 0xC0C0C0, 0x808080, 0x808080, 0x000000, 0xC0C0C0,
        0xFFFFFF, 0x000000, 0xC0C0C0, 0x000000, 0xE1FFFF, 0xB5B5B5, 0xFF0000, 0xD08410, 0xB5B5B5};
    // a dark scheme: dark faces and windows, light texts
    static const COLORREF s_dark[TK_SYSCOLOR_LAST + 1] = {
        0,        0x202020, 0x5A3A1A, 0x303030, 0x2D2D2D, 0x1E1E1E, 0x000000, 0xF0F0F0, 0xE0E0E0, 0xFFFFFF,
        0x3C3C3C, 0x3C3C3C, 0x252525, 0xB07830, 0xFFFFFF, 0x383838, 0x1A1A1A, 0x8A8A8A, 0xF0F0F0, 0xA0A0A0,
        0x5A5A5A, 0x000000, 0x444444, 0xF0F0F0, 0x2A2A2A, 0x000000, 0xFFB050, 0x7A5A3A, 0x404040};
    COLORREF wine[TK_SYSCOLOR_LAST + 1];
    wine[0] = 0;
    for (int i = 1; i <= TK_SYSCOLOR_LAST; i++)
        wine[i] = ::GetSysColor(i);

    COLORREF table[TK_COLOR_COUNT];
    memset(table, 0, sizeof(table));
    Run("classic", s_classic, 24, table);
    Run("wine", wine, 32, table);
    Run("dark", s_dark, 24, table);
    // 256 colours after the dark scheme: plain Windows colours, entry 34 as before
    Run("classic-8bpp", s_classic, 8, table);
    // 256 colours on a fresh table: entry 34 stays 0
    memset(table, 0, sizeof(table));
    Run("fresh-8bpp", s_classic, 8, table);
    return 0;
}
