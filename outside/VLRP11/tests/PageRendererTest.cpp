// The GDI drawing of pages, recorded in an enhanced metafile: what a printer is sent.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "PageRenderer.h"
#include "TextMetrics.h"

namespace {

struct Recorded {
    struct Text {
        std::string text;
        POINTL at;
    };
    std::vector<Text> texts;
    std::vector<LOGFONTW> fonts;
    std::vector<POINTL> moves, lineEnds;
    size_t polylines = 0;
    std::vector<RECTL> pictures; // destination of each stretched bitmap
};

std::string Narrow(const wchar_t* text, int length)
{
    std::string out(length * 2 + 1, '\0');
    int n = WideCharToMultiByte(1252, 0, text, length, &out[0], (int)out.size(), nullptr, nullptr);
    out.resize(n > 0 ? n : 0);
    return out;
}

int CALLBACK Collect(HDC, HANDLETABLE*, const ENHMETARECORD* record, int, LPARAM data)
{
    Recorded& r = *(Recorded*)data;
    switch (record->iType) {
    case EMR_EXTTEXTOUTW: {
        const EMREXTTEXTOUTW* t = (const EMREXTTEXTOUTW*)record;
        r.texts.push_back({Narrow((const wchar_t*)((const BYTE*)record + t->emrtext.offString), (int)t->emrtext.nChars),
                           t->emrtext.ptlReference});
        break;
    }
    case EMR_EXTTEXTOUTA: {
        const EMREXTTEXTOUTA* t = (const EMREXTTEXTOUTA*)record;
        r.texts.push_back({std::string((const char*)record + t->emrtext.offString, t->emrtext.nChars), t->emrtext.ptlReference});
        break;
    }
    case EMR_EXTCREATEFONTINDIRECTW:
        r.fonts.push_back(((const EMREXTCREATEFONTINDIRECTW*)record)->elfw.elfLogFont);
        break;
    case EMR_MOVETOEX:
        r.moves.push_back(((const EMRMOVETOEX*)record)->ptl);
        break;
    case EMR_LINETO:
        r.lineEnds.push_back(((const EMRLINETO*)record)->ptl);
        break;
    case EMR_POLYLINE:
    case EMR_POLYLINE16:
        ++r.polylines;
        break;
    case EMR_STRETCHDIBITS: {
        const EMRSTRETCHDIBITS* b = (const EMRSTRETCHDIBITS*)record;
        r.pictures.push_back({b->xDest, b->yDest, b->xDest + b->cxDest, b->yDest + b->cyDest});
        break;
    }
    }
    return 1;
}

TEST(PageRenderer, DrawsTextsLinesAndCheckMarksAtTheirPlaces)
{
    rp::Document document;
    rp::Picture red;
    red.width = red.height = 2;
    red.rgba = {255, 0, 0, 255, 255, 0, 0, 255, 255, 0, 0, 255, 255, 0, 0, 0};
    document.pictures.push_back(red);
    rp::Page page;
    page.texts.push_back({50, 60, 10, true, "Betreff"});
    page.texts.push_back({50, 80, 8, false, "Müller " + std::string(1, rp::kCheckMark)});
    page.texts.push_back({50, 120, 10, false, std::string(1, rp::PictureMark(0)) + "Privat"});
    page.lines.push_back({20, 100, 220, 100, 0.5});

    HDC dc = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, dc);
    rp::PageRenderer::Render(dc, document, page, 2.0, 10, 20);
    HENHMETAFILE metafile = CloseEnhMetaFile(dc);
    ASSERT_NE(nullptr, metafile);
    Recorded r;
    EnumEnhMetaFile(nullptr, metafile, Collect, &r, nullptr);
    DeleteEnhMetaFile(metafile);

    // Texts at origin + position x scale, on their baselines; a picture a square of the text's
    // size before the text that follows it.
    ASSERT_EQ(3u, r.texts.size());
    EXPECT_EQ("Privat", r.texts[2].text);
    EXPECT_EQ(10 + (50 + 10) * 2, r.texts[2].at.x);
    ASSERT_EQ(1u, r.pictures.size());
    EXPECT_EQ(110, r.pictures[0].left);
    EXPECT_EQ(20 + (120 - 8.5) * 2, r.pictures[0].top);
    EXPECT_EQ(20, r.pictures[0].right - r.pictures[0].left);
    EXPECT_EQ("Betreff", r.texts[0].text);
    EXPECT_EQ(110, r.texts[0].at.x);
    EXPECT_EQ(140, r.texts[0].at.y);
    EXPECT_EQ("Müller ", r.texts[1].text) << "the check mark is drawn, not written";
    EXPECT_EQ(180, r.texts[1].at.y);
    EXPECT_EQ(1u, r.polylines) << "one check mark";
    // Fonts of the sizes in device units, bold where asked.
    ASSERT_EQ(3u, r.fonts.size());
    EXPECT_EQ(-20, r.fonts[0].lfHeight);
    EXPECT_EQ(FW_BOLD, r.fonts[0].lfWeight);
    EXPECT_EQ(-16, r.fonts[1].lfHeight);
    EXPECT_EQ(FW_NORMAL, r.fonts[1].lfWeight);
    // The rule.
    ASSERT_EQ(1u, r.moves.size());
    ASSERT_EQ(1u, r.lineEnds.size());
    EXPECT_EQ(50, r.moves[0].x);
    EXPECT_EQ(220, r.moves[0].y);
    EXPECT_EQ(450, r.lineEnds[0].x);
}

} // namespace
