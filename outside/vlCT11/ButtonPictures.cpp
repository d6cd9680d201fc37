#include "ButtonPictures.h"

namespace {

// Colours of the picture letters.
COLORREF ColourOf(char c)
{
    switch (c) {
    case 'k': return RGB(0, 0, 0);
    case 'g': return RGB(128, 128, 128);
    case 'l': return RGB(200, 200, 200);
    case 'w': return RGB(255, 255, 255);
    case 'r': return RGB(200, 0, 0);
    case 'b': return RGB(0, 64, 176);
    case 'G': return RGB(0, 144, 0);
    case 'y': return RGB(248, 208, 72);
    case 'o': return RGB(160, 104, 32);
    default: return CLR_INVALID;
    }
}

// 98: go to the linked record.
const char* const kGoTo[] = {
    "......kkkkkkk...", "......kwwwwwkk..", "......kwwwwwkwk.", "......kwkkkwkkkk",
    "......kwwwwwwwwk", "...G..kwkkkkkkwk", "...GG.kwwwwwwwwk", "GGGGGGkwkkkkkkwk",
    "GGGGGGGwwwwwwwwk", "GGGGGGkwkkkkkkwk", "...GG.kwwwwwwwwk", "...G..kwkkkkkkwk",
    "......kwwwwwwwwk", "......kkkkkkkkkk", "................", "................",
};
// 161: delete.
const char* const kDelete[] = {
    "................", "................", "..rr........rr..", "..rrr......rrr..",
    "...rrr....rrr...", "....rrr..rrr....", ".....rrrrrr.....", "......rrrr......",
    "......rrrr......", ".....rrrrrr.....", "....rrr..rrr....", "...rrr....rrr...",
    "..rrr......rrr..", "..rr........rr..", "................", "................",
};
// 10: print.
const char* const kPrint[] = {
    "................", "....kkkkkkkk....", "....kwwwwwwk....", "....kwkkkkwk....",
    "....kwwwwwwk....", "..kkkkkkkkkkkk..", ".kllllllllllllk.", ".kllllllllllGGk.",
    ".kllllllllllllk.", ".kggggggggggggk.", ".kgkwwwwwwwwkgk.", "..kkwkkkkkkwkk..",
    "....kwwwwwwk....", "....kkkkkkkk....", "................", "................",
};
// 18: help.
const char* const kHelp[] = {
    "................", ".....bbbbbb.....", "....bbbbbbbb....", "...bbb....bbb...",
    "...bbb....bbb...", "..........bbb...", ".........bbb....", "........bbb.....",
    ".......bbb......", ".......bbb......", ".......bbb......", "................",
    ".......bbb......", ".......bbb......", "................", "................",
};
// 183: append to the notes.
const char* const kAppendNotes[] = {
    "kkkkkkkkkk......", "kwwwwwwwwk......", "kwkkkkkkwk......", "kwwwwwwwwk......",
    "kwkkkkkkwk......", "kwwwwwwwwk......", "kwkkkkkkwk......", "kwwwwwwwwk..GG..",
    "kwkkkkkkwk..GG..", "kwwwwwwwwkGGGGGG", "kwkkkkkkwkGGGGGG", "kwwwwwwwwk..GG..",
    "kkkkkkkkkk..GG..", "................", "................", "................",
};
// 2190: select all entries.
const char* const kSelectAll[] = {
    "................", "kkkkkk..........", "kwwwwG..........", "kGwwGk.kkkkkkkk.",
    "kwGGwk..........", "kkkkkk..........", "................", "kkkkkk..........",
    "kwwwwG..........", "kGwwGk.kkkkkkkk.", "kwGGwk..........", "kkkkkk..........",
    "................", "................", "................", "................",
};
// 2189: deselect all entries.
const char* const kDeselectAll[] = {
    "................", "kkkkkk..........", "kwwwwk..........", "kwwwwk.kkkkkkkk.",
    "kwwwwk..........", "kkkkkk..........", "................", "kkkkkk..........",
    "kwwwwk..........", "kwwwwk.kkkkkkkk.", "kwwwwk..........", "kkkkkk..........",
    "................", "................", "................", "................",
};
// 41: choose a program or file.
const char* const kFolder[] = {
    "................", "................", "..kkkk..........", ".kyyyyk.........",
    "kkkkkkkkkkkkkk..", "kyyyyyyyyyyyyk..", "kyyyyyyyyyyyyk..", "kyyyyyyyyyyyyk..",
    "kyyyyyyyyyyyyk..", "kyyyyyyyyyyyyk..", "kyyyyyyyyyyyyk..", "kyyyyyyyyyyyyk..",
    "kkkkkkkkkkkkkk..", "................", "................", "................",
};
// 166: add a row.
const char* const kAddRow[] = {
    "................", "................", "......GGGG......", "......GGGG......",
    "......GGGG......", "..GGGGGGGGGGGG..", "..GGGGGGGGGGGG..", "..GGGGGGGGGGGG..",
    "..GGGGGGGGGGGG..", "......GGGG......", "......GGGG......", "......GGGG......",
    "......GGGG......", "................", "................", "................",
};
// 142: bold.
const char* const kBold[] = {
    "................", "................", "....kkkkkkkkk...", "....kkkkkkkkk...",
    "....kkk.........", "....kkk.........", "....kkkkkkk.....", "....kkkkkkk.....",
    "....kkk.........", "....kkk.........", "....kkk.........", "....kkk.........",
    "....kkk.........", "................", "................", "................",
};
// 143: italic.
const char* const kItalic[] = {
    "................", "................", ".......kk....kk.", ".......kk...kk..",
    "......kk...kk...", "......kk..kk....", ".....kk.kk......", ".....kkkk.......",
    "....kk.kk.......", "....kk..kk......", "...kk....kk.....", "...kk.....kk....",
    "..kk.......kk...", "................", "................", "................",
};
// 144: underline.
const char* const kUnderline[] = {
    "................", "...kk......kk...", "...kk......kk...", "...kk......kk...",
    "...kk......kk...", "...kk......kk...", "...kk......kk...", "...kk......kk...",
    "...kk......kk...", "....kk....kk....", ".....kkkkkk.....", "................",
    "..kkkkkkkkkkkk..", "................", "................", "................",
};
// 145: strike-through.
const char* const kStrike[] = {
    "................", "................", "................", "..kkk....k......",
    ".....k...k......", "..kkkk...kkkk...", ".k...k...k...k..", "rrrrrrrrrrrrrrrr",
    ".k...k...k...k..", "..kkk.k..kkkk...", "................", "................",
    "................", "................", "................", "................",
};
// 146: align left.
const char* const kAlignLeft[] = {
    "................", "................", "kkkkkkkkkkkkkk..", "................",
    "kkkkkkkkk.......", "................", "kkkkkkkkkkkkkk..", "................",
    "kkkkkkkkk.......", "................", "kkkkkkkkkkkkkk..", "................",
    "kkkkkkkkk.......", "................", "................", "................",
};
// 148: centre.
const char* const kCentre[] = {
    "................", "................", ".kkkkkkkkkkkkkk.", "................",
    "....kkkkkkkkk...", "................", ".kkkkkkkkkkkkkk.", "................",
    "....kkkkkkkkk...", "................", ".kkkkkkkkkkkkkk.", "................",
    "....kkkkkkkkk...", "................", "................", "................",
};
// 147: align right.
const char* const kAlignRight[] = {
    "................", "................", "..kkkkkkkkkkkkkk", "................",
    ".......kkkkkkkkk", "................", "..kkkkkkkkkkkkkk", "................",
    ".......kkkkkkkkk", "................", "..kkkkkkkkkkkkkk", "................",
    ".......kkkkkkkkk", "................", "................", "................",
};
// 149: bullets.
const char* const kBullets[] = {
    "................", "................", ".bb.............", ".bb..kkkkkkkkkk.",
    "................", "................", ".bb.............", ".bb..kkkkkkkkkk.",
    "................", "................", ".bb.............", ".bb..kkkkkkkkkk.",
    "................", "................", "................", "................",
};
// 153: indent.
const char* const kIndent[] = {
    "................", "................", "kkkkkkkkkkkkkkkk", "................",
    "b.......kkkkkkkk", "bb..............", "bbb.....kkkkkkkk", "bb..............",
    "b.......kkkkkkkk", "................", "kkkkkkkkkkkkkkkk", "................",
    "................", "................", "................", "................",
};
// 154: outdent.
const char* const kOutdent[] = {
    "................", "................", "kkkkkkkkkkkkkkkk", "................",
    "..b.....kkkkkkkk", ".bb.............", "bbb.....kkkkkkkk", ".bb.............",
    "..b.....kkkkkkkk", "................", "kkkkkkkkkkkkkkkk", "................",
    "................", "................", "................", "................",
};
// Any other id.
const char* const kPlain[] = {
    "................", "................", "................", "................",
    "................", "......gggg......", ".....gllllg.....", ".....gllllg.....",
    ".....gllllg.....", ".....gllllg.....", "......gggg......", "................",
    "................", "................", "................", "................",
};

struct PictureEntry {
    int id;
    const char* const* rows;
};

const PictureEntry kPictures[] = {
    {98, kGoTo},           {161, kDelete},      {10, kPrint},       {18, kHelp},
    {183, kAppendNotes},   {2190, kSelectAll},  {2189, kDeselectAll}, {41, kFolder},
    {166, kAddRow},        {142, kBold},        {143, kItalic},     {144, kUnderline},
    {145, kStrike},        {146, kAlignLeft},   {148, kCentre},     {147, kAlignRight},
    {149, kBullets},       {153, kIndent},      {154, kOutdent},
};

} // namespace

const char* const* ButtonPicture(int id)
{
    for (const PictureEntry& entry : kPictures)
        if (entry.id == id)
            return entry.rows;
    return kPlain;
}

void DrawButtonPicture(HDC dc, int id, int x, int y, bool enabled)
{
    const char* const* rows = ButtonPicture(id);
    for (int row = 0; row < kPictureSize; ++row)
        for (int column = 0; column < kPictureSize; ++column) {
            const COLORREF colour = ColourOf(rows[row][column]);
            if (colour == CLR_INVALID)
                continue;
            if (enabled) {
                SetPixelV(dc, x + column, y + row, colour);
            } else {
                SetPixelV(dc, x + column + 1, y + row + 1, GetSysColor(COLOR_BTNHIGHLIGHT));
                SetPixelV(dc, x + column, y + row, GetSysColor(COLOR_BTNSHADOW));
            }
        }
}
