// The static's markup: which runs are shown, in which font, where (x and line), over a measurer
// with fixed metrics (6 pixels a character, 7 in bold; lines 13 pixels high for the control's font,
// size + 5 for a sized one; the bitmaps IDB_INFO, IDB_PRIV_I and IDB_REPEAT_I 16 x 16).
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "Markup.h"

// Found by GoogleTest through the run's namespace.
void PrintTo(const MarkupRun& r, std::ostream* os)
{
    *os << (r.kind == MarkupRun::Kind::Bitmap ? "bitmap " : "text ") << "\"" << r.text << "\" font("
        << r.font.face << "," << r.font.points << (r.font.bold ? ",bold" : "") << ") x " << r.x << " line "
        << r.line << " width " << r.width;
}

namespace {

class FakeMeasurer : public MarkupMeasurer {
public:
    int TextWidth(const MarkupFont& font, const std::string& text) const override
    {
        return (int)text.size() * (font.bold ? 7 : 6);
    }
    int LineHeight(const MarkupFont& font) const override { return font.points ? font.points + 5 : 13; }
    void BitmapSize(const std::string& name, int* width, int* height) const override
    {
        const bool known = name == "IDB_INFO" || name == "IDB_PRIV_I" || name == "IDB_REPEAT_I";
        *width = *height = known ? 16 : 0;
    }
};

const MarkupFont kControl{};
const MarkupFont kBold{"", 0, true};
const MarkupFont kArial8{"Arial", 8, false};
const MarkupFont kArial8Bold{"Arial", 8, true};

MarkupRun Text(const char* text, MarkupFont font, int x, int line)
{
    return {MarkupRun::Kind::Text, text, font, x, line, (int)std::string(text).size() * (font.bold ? 7 : 6)};
}

MarkupRun Bitmap(const char* name, int x, int line) { return {MarkupRun::Kind::Bitmap, name, {}, x, line, 16}; }

// The program's panel strings, filled as the reminder window fills them.
const char kAppointment[] =
    ".f,0~.w:4~.f,1~.w:22~.b:%s~.f,2~.w:22~.b:%s~.l~.f,0~.w:4~.f,1~.w:60~.tf(Arial,8)b:Am:~.f,2~.tf(Arial,8):%s~.l%s%s"
    "~.f,0~.w:4~.f,1~.w:60~.tf(Arial,8)b:Betreff:~.f,2~.tf(Arial,8):%s~.xif";
const char kWithLine[] = "~.f,0~.w:4~.f,1~.w:60~.tf(Arial,8)b:Mit:~.f,2~.tf(Arial,8):%s~.l";
const char kPlaceLine[] = "~.f,0~.w:4~.f,1~.w:60~.tf(Arial,8)b:Ort:~.f,2~.tf(Arial,8):%s~.l";
const char kDate[] = "Mo 14.12.26  um  09:00 - 10:00 Uhr";

std::string Fill(const char* format, const char* a, const char* b = "", const char* c = "", const char* d = "",
                 const char* e = "", const char* f = "")
{
    char buffer[2048];
    std::snprintf(buffer, sizeof buffer, format, a, b, c, d, e, f);
    return buffer;
}

struct LayoutCase {
    const char* name;
    std::string markup;
    std::vector<MarkupRun> runs;
    std::vector<int> lineHeights;
};

std::vector<LayoutCase> Cases()
{
    const std::string with = Fill(kWithLine, "Herr Kunz");
    const std::string place = Fill(kPlaceLine, "Raum 3");
    return {
        {"appointment panel, private series with partner and place",
         Fill(kAppointment, "IDB_PRIV_I", "IDB_REPEAT_I", kDate, with.c_str(), place.c_str(), "Besprechung"),
         {Bitmap("IDB_PRIV_I", 4, 0), Bitmap("IDB_REPEAT_I", 26, 0), Text("Am:", kArial8Bold, 4, 1),
          Text(kDate, kArial8, 64, 1), Text("Mit:", kArial8Bold, 4, 2), Text("Herr Kunz", kArial8, 64, 2),
          Text("Ort:", kArial8Bold, 4, 3), Text("Raum 3", kArial8, 64, 3), Text("Betreff:", kArial8Bold, 4, 4),
          Text("Besprechung", kArial8, 64, 4)},
         {16, 13, 13, 13, 13}},
        {"appointment panel without partner, place and pictures",
         Fill(kAppointment, "", "", kDate, "", "", "Besprechung"),
         {Text("Am:", kArial8Bold, 4, 1), Text(kDate, kArial8, 64, 1), Text("Betreff:", kArial8Bold, 4, 2),
          Text("Besprechung", kArial8, 64, 2)},
         {0, 13, 13}},
        {"only the place, series picture only",
         Fill(kAppointment, "", "IDB_REPEAT_I", kDate, "", place.c_str(), "Besprechung"),
         {Bitmap("IDB_REPEAT_I", 26, 0), Text("Am:", kArial8Bold, 4, 1), Text(kDate, kArial8, 64, 1),
          Text("Ort:", kArial8Bold, 4, 2), Text("Raum 3", kArial8, 64, 2), Text("Betreff:", kArial8Bold, 4, 3),
          Text("Besprechung", kArial8, 64, 3)},
         {16, 13, 13, 13}},
        {"pilcrows break lines inside the field beside the picture",
         ".f,0~.b:IDB_INFO~.w:22~.f,1~.tf(Arial,8):Benutzer:  Kunz\xB6"
         "Erstellt von  Kunz  am  Mo 14.12.26.\xB6Letzte \xC4nderung von  Maier  am  Di 15.12.26.~.xi",
         {Bitmap("IDB_INFO", 0, 0), Text("Benutzer:  Kunz", kArial8, 22, 0),
          Text("Erstellt von  Kunz  am  Mo 14.12.26.", kArial8, 22, 1),
          Text("Letzte \xC4nderung von  Maier  am  Di 15.12.26.", kArial8, 22, 2)},
         {16, 13, 13}},
        {"multiple selection: bold Arial 12 centred on the second line",
         ".f,0~.tf(Arial,12)bc:\xB6<Multiselektion>~.xif",
         {Text("<Multiselektion>", {"Arial", 12, true}, (400 - 16 * 7) / 2, 1)},
         {17, 17}},
        {"the template's placeholder", ".tb: Info ~.xif", {Text("Info ", kBold, 0, 0)}, {13}},
        {"unknown codes and bitmap names show nothing",
         ".q:weg~.b:IDB_UNBEKANNT~.b:~.tf(Arial:kaputt~.tf(Arial,x):kaputt~.t:sichtbar~.xi",
         {Text("sichtbar", kControl, 0, 0)},
         {13}},
        {"nothing after the end marker", ".t:vorher~.xi~.t:nachher", {Text("vorher", kControl, 0, 0)}, {13}},
        {"no end marker shows all", ".t:eins~.l~.tb:zwei", {Text("eins", kControl, 0, 0), Text("zwei", kBold, 0, 1)},
         {13, 13}},
        {"a command without code is text, segments continue on the line",
         "Klartext ~.tb:fett", {Text("Klartext ", kControl, 0, 0), Text("fett", kBold, 54, 0)}, {13}},
        {"words wrap at the field's edge",
         ".f,0~.w:10~.f,1~.w:60~.t:aaa bbb ccc~.f,2~.t:rechts",
         {Text("aaa bbb", kControl, 10, 0), Text("ccc", kControl, 10, 1), Text("rechts", kControl, 70, 0)},
         {13, 13}},
        {"a row starts below the tallest field of the previous one",
         ".f,0~.w:20~.t:a b c~.f,1~.t:x~.l~.t:unten",
         {Text("a b", kControl, 0, 0), Text("c", kControl, 0, 1), Text("x", kControl, 20, 0),
          Text("unten", kControl, 0, 2)},
         {13, 13, 13}},
        {"empty markup", "", {}, {}},
    };
}

TEST(LayoutMarkup, Table)
{
    const FakeMeasurer measurer;
    for (const LayoutCase& c : Cases()) {
        SCOPED_TRACE(c.name);
        const MarkupLayout layout = LayoutMarkup(c.markup.c_str(), 400, measurer);
        EXPECT_EQ(c.runs, layout.runs);
        EXPECT_EQ(c.lineHeights, layout.lineHeights);
    }
}

TEST(LayoutMarkup, NullShowsNothing)
{
    const MarkupLayout layout = LayoutMarkup(nullptr, 400, FakeMeasurer());
    EXPECT_TRUE(layout.runs.empty());
    EXPECT_TRUE(layout.lineHeights.empty());
}

// 64 KB of text, with and without blanks, in a narrow field: every character is laid out once.
TEST(LayoutMarkup, LargeTextIsLaidOutWhole)
{
    const FakeMeasurer measurer;
    std::string words;
    while (words.size() < 65536)
        words += "Wort ";
    const MarkupLayout wrapped = LayoutMarkup((".t:" + words).c_str(), 100, measurer);
    size_t shown = 0;
    for (const MarkupRun& run : wrapped.runs) {
        for (size_t at = run.text.find("Wort"); at != std::string::npos; at = run.text.find("Wort", at + 4))
            ++shown;
        EXPECT_LE(run.width, 100);
    }
    EXPECT_EQ(words.size() / 5, shown) << "every word shown";
    EXPECT_GT(wrapped.lineHeights.size(), 1000u);

    const std::string block(65536, 'x');
    const MarkupLayout single = LayoutMarkup((".t:" + block).c_str(), 100, measurer);
    ASSERT_EQ(1u, single.runs.size());
    EXPECT_EQ(block, single.runs[0].text);
}

} // namespace
