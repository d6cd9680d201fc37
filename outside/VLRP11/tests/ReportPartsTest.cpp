// The report engine's parts without a job: printed values, expressions, project files, line
// breaking, icons.
#include <gtest/gtest.h>

#include <windows.h>

#include "Expression.h"
#include "IconPicture.h"
#include "PngImage.h"
#include "ItemStore.h"
#include "ItemText.h"
#include "Project.h"
#include "TextMetrics.h"
#include "VLRP11.h"

namespace {

TEST(ItemText, OleDatesPrintWithEitherDecimalSeparator)
{
    struct Case {
        const char* text;
        const char* expected; // nullptr: not a date
    } cases[] = {
        {"45418.375000", "06.05.2024 09:00"},
        {"45418,375000", "06.05.2024 09:00"},
        {"45418", "06.05.2024 00:00"},
        {"45418.999999", "07.05.2024 00:00"}, // rounded to the minute, into the next day
        {"2.000000", "01.01.1900 00:00"},
        {"0.5", "30.12.1899 12:00"},
        {"-1.25", "29.12.1899 06:00"},        // before the epoch the fraction still counts forward
        {"109574.0", "31.12.2199 00:00"},
        {"", nullptr},
        {"abc", nullptr},
        {"45418.3.7", nullptr},
        {"1e5", nullptr},
        {"99999999", nullptr},
    };
    for (const Case& c : cases) {
        std::string out;
        bool ok = rp::FormatOleDate(c.text, out);
        EXPECT_EQ(c.expected != nullptr, ok) << c.text;
        if (c.expected && ok) {
            EXPECT_EQ(c.expected, out) << c.text;
        }
    }
    // A text that is no date prints as it is.
    EXPECT_EQ("morgen", rp::DisplayText("morgen", RP_ITEM_DATE));
}

TEST(ItemText, TypesPrintAsTheirText)
{
    EXPECT_EQ(std::string(1, rp::kCheckMark), rp::DisplayText("T", RP_ITEM_BOOLEAN));
    EXPECT_EQ("", rp::DisplayText("F", RP_ITEM_BOOLEAN));
    EXPECT_EQ("42", rp::DisplayText("42", RP_ITEM_NUMBER));
    EXPECT_EQ("", rp::DisplayText("x", RP_ITEM_ICON));
    EXPECT_EQ("Größe", rp::DisplayText("{\\rtf1\\ansi Gr\\'f6\\'dfe}", RP_ITEM_RTF));
}

TEST(ItemText, RtfBecomesPlainText)
{
    struct Case {
        const char* rtf;
        const char* text;
    } cases[] = {
        {"kein RTF {x}", "kein RTF {x}"},
        {"{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}{\\colortbl;\\red255\\green0\\blue0;}"
         "\\pard\\f0\\fs20 Erste\\par \\b Zweite\\b0\\par}",
         "Erste\nZweite"},
        {"{\\rtf1 a\\tab b\\line c\\~d}", "a\tb\nc d"},
        {"{\\rtf1 \\{x\\} \\\\}", "{x} \\"},
        {"{\\rtf1 {\\*\\generator Editor;}Text}", "Text"},
        {"{\\rtf1\\uc1 \\u8364?uro \\u-4064?}", "\x80uro ?"},
        {"{\\rtf1 {\\pict\\wmetafile8 0a0b0c}Bild}", "Bild"},
        {"{\\rtf1 abgeschnitten\\'", "abgeschnitten"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.text, rp::RtfToPlainText(c.rtf)) << c.rtf;
}

TEST(TextMetrics, WidthsComeFromTheFontMetrics)
{
    // 'W' is 944 units wide in the regular font and 'i' 222; bold 'W' 944, bold 'i' 278.
    EXPECT_DOUBLE_EQ(9.44, rp::TextWidth("W", false, 10));
    EXPECT_DOUBLE_EQ(2.22, rp::TextWidth("i", false, 10));
    EXPECT_DOUBLE_EQ(2.78, rp::TextWidth("i", true, 10));
    EXPECT_DOUBLE_EQ(5.56, rp::TextWidth("\xE4", false, 10)); // ä
    EXPECT_DOUBLE_EQ(8.46, rp::TextWidth(std::string(1, rp::kCheckMark), false, 10));
}

TEST(TextMetrics, LinesBreakAtBlanksAndInsideLongWords)
{
    using Lines = std::vector<std::string>;
    // At 10 pt "aaaa" is 22.24 pt wide.
    EXPECT_EQ((Lines{""}), rp::WrapText("", false, 10, 50));
    EXPECT_EQ((Lines{"aaaa aaaa"}), rp::WrapText("aaaa aaaa", false, 10, 50));
    EXPECT_EQ((Lines{"aaaa", "aaaa"}), rp::WrapText("aaaa aaaa", false, 10, 40));
    EXPECT_EQ((Lines{"aaaa aaaa", "aaaa"}), rp::WrapText("aaaa aaaa aaaa", false, 10, 50));
    EXPECT_EQ((Lines{"aaaaaaa", "aaa"}), rp::WrapText("aaaaaaaaaa", false, 10, 40));
    EXPECT_EQ((Lines{"eins", "", "drei"}), rp::WrapText("eins\n\ndrei", false, 10, 100));
    EXPECT_EQ((Lines{"a b"}), rp::WrapText("a\tb\r", false, 10, 100));
    // Never an endless loop or an empty line for a width below one character.
    EXPECT_EQ((Lines{"a", "b"}), rp::WrapText("ab", false, 10, 1));
}

TEST(Expression, JoinsTextsAndItems)
{
    rp::Expression expression;
    std::string error;
    ASSERT_TRUE(expression.Parse("\"Seite \" + Seite + \" von \"\"A\"\" \" + Aktueller Benutzer", error)) << error;
    EXPECT_EQ((std::vector<std::string>{"Seite", "Aktueller Benutzer"}), expression.Names());
    EXPECT_EQ("Seite 3 von \"A\" Müller", expression.Evaluate([](const std::string& name) {
        return name == "Seite" ? std::string("3") : std::string("Müller");
    }));
    ASSERT_TRUE(expression.Parse("% erledigt", error));
    EXPECT_EQ((std::vector<std::string>{"% erledigt"}), expression.Names());

    for (const char* bad : {"", "  ", "\"offen", "Betreff +", "+ Betreff", "Betreff + + Ort", "\"a\" \"b\"", "Bet\"reff"})
        EXPECT_FALSE(expression.Parse(bad, error)) << bad;
}

TEST(Project, ReadsEveryKey)
{
    rp::Project project;
    std::string error;
    ASSERT_EQ(rp::Project::Ok, project.Parse("; Kommentar\r\n"
                                             "VLRP11 project 1\r\n"
                                             "type = list\r\n"
                                             "page = 297 210\n"
                                             "margins = 10 11 12 13,5\n"
                                             "font = 7 12\n"
                                             "rows = 50\n"
                                             "header = \"Liste\"\n"
                                             "column = Beginn | Beginn | 30 | left\n"
                                             "column = \"Wer | was\" | \"|\" + Betreff | 42.5 | right\n"
                                             "footer = \"Seite \" + Seite\n",
                                             false, error))
        << error;
    EXPECT_EQ(rp::ProjectKind::List, project.kind);
    EXPECT_EQ(297, project.page.width);
    EXPECT_EQ(13.5, project.page.marginBottom);
    EXPECT_EQ(7, project.page.fontSize);
    EXPECT_EQ(12, project.page.headerSize);
    EXPECT_EQ(50, project.page.rowsPerPage);
    ASSERT_EQ(2u, project.columns.size());
    EXPECT_EQ("\"Wer | was\"", project.columns[1].heading);
    EXPECT_EQ(42.5, project.columns[1].width);
    EXPECT_EQ(rp::Align::Right, project.columns[1].align);
    EXPECT_EQ(1u, project.header.size());
    EXPECT_EQ(1u, project.footer.size());
}

TEST(Project, DamagedFilesAreRefusedWithTheLine)
{
    struct Case {
        const char* text;
        const char* where;
    } cases[] = {
        {"", "Zeile 1"},
        {"VLRP11 project 2\n", "Zeile 1"},
        {"VLRP11 project 1\ntype = table\n", "Zeile 2"},
        {"VLRP11 project 1\nfarbe = rot\n", "Zeile 2"},
        {"VLRP11 project 1\ncolumn = a | b | 30\n", "Zeile 2"},
        {"VLRP11 project 1\ncolumn = a | b | breit | left\n", "Zeile 2"},
        {"VLRP11 project 1\ncolumn = a | b | 30 | links\n", "Zeile 2"},
        {"VLRP11 project 1\n\nheader = \"offen\n", "Zeile 3"},
        {"VLRP11 project 1\npage = 10 10\n", "Zeile 2"},
        {"VLRP11 project 1\nfont = 0\n", "Zeile 2"},
        {"VLRP11 project 1\nline = nur Bezeichnung\n", "Zeile 2"},
        {"VLRP11 project 1\nmargins = 100 15 100 15\n", "R\xE4nder"},
    };
    for (const Case& c : cases) {
        rp::Project project;
        std::string error;
        EXPECT_EQ(rp::Project::Damaged, project.Parse(c.text, false, error)) << c.text;
        EXPECT_NE(std::string::npos, error.find(c.where)) << c.text << " -> " << error;
    }
    // The defaults file takes only the page's keys.
    rp::Project defaults;
    std::string error;
    EXPECT_EQ(rp::Project::Damaged, defaults.Parse("VLRP11 project 1\ntype = card\n", true, error));
}

TEST(Project, DefaultsFollowTheExtension)
{
    struct Case {
        const char* extension;
        int type;
        rp::ProjectKind kind;
        const char* firstColumnOrLine;
        size_t count;
    } cases[] = {
        {"ltd", 2, rp::ProjectKind::List, "Beginn", 6},
        {"LAD", 2, rp::ProjectKind::List, "Priorität", 5},
        {"ctd", 3, rp::ProjectKind::Card, "Betreff", 9},
        {"cad", 3, rp::ProjectKind::Card, "Betreff", 9},
        {"xyz", 3, rp::ProjectKind::Card, "Betreff", 9},
        {"xyz", 2, rp::ProjectKind::List, "Beginn", 6},
    };
    for (const Case& c : cases) {
        rp::Project project;
        std::string error;
        ASSERT_EQ(rp::Project::Ok, project.Parse(rp::Project::DefaultText(c.extension, c.type), false, error))
            << c.extension << ": " << error;
        EXPECT_EQ(c.kind, project.kind) << c.extension;
        if (c.kind == rp::ProjectKind::List) {
            ASSERT_EQ(c.count, project.columns.size()) << c.extension;
            EXPECT_EQ(c.firstColumnOrLine, project.columns[0].heading) << c.extension;
        } else {
            ASSERT_EQ(c.count, project.lines.size()) << c.extension;
            EXPECT_EQ(c.firstColumnOrLine, project.lines[0].label) << c.extension;
        }
    }
    rp::Project todo;
    std::string error;
    ASSERT_EQ(rp::Project::Ok, todo.Parse(rp::Project::DefaultText("lad", 2), false, error));
    std::vector<std::string> headings;
    for (const rp::Column& column : todo.columns)
        headings.push_back(column.heading);
    EXPECT_EQ((std::vector<std::string>{"Priorität", "Betreff", "Ende", "% erledigt", "Benutzer"}), headings);
}

TEST(Project, WrittenTextReadsBackAsTheSameProject)
{
    for (const char* extension : {"ltd", "cad"}) {
        rp::Project project;
        std::string error;
        ASSERT_EQ(rp::Project::Ok, project.Parse(rp::Project::DefaultText(extension, 2), false, error));
        project.page.marginLeft = 12.5;
        project.page.rowsPerPage = 40;
        std::string text = project.ToText();
        rp::Project again;
        ASSERT_EQ(rp::Project::Ok, again.Parse(text, false, error)) << text << error;
        EXPECT_EQ(text, again.ToText());
        EXPECT_EQ(12.5, again.page.marginLeft);
        EXPECT_EQ(40, again.page.rowsPerPage);
        EXPECT_EQ(project.columns.size(), again.columns.size());
        EXPECT_EQ(project.lines.size(), again.lines.size());
    }
}

TEST(Pictures, IconsBecomePixelsAndPngFiles)
{
    // A 16 x 16 icon: red where the mask is clear, transparent in its top left quarter.
    BYTE andMask[16 * 16 / 8] = {}, xorMask[16 * 16 * 4];
    for (int y = 0; y < 8; ++y)
        andMask[y * 2] = 0xFF;
    for (int i = 0; i < 16 * 16; ++i) {
        xorMask[i * 4 + 0] = 0;   // blue
        xorMask[i * 4 + 1] = 0;   // green
        xorMask[i * 4 + 2] = 255; // red
        xorMask[i * 4 + 3] = 0;
    }
    HICON icon = CreateIcon(nullptr, 16, 16, 1, 32, andMask, xorMask);
    ASSERT_NE(nullptr, icon);
    rp::Picture picture;
    ASSERT_TRUE(rp::PictureFromIcon(icon, picture));
    DestroyIcon(icon);
    ASSERT_EQ(16, picture.width);
    ASSERT_EQ(16, picture.height);
    auto pixel = [&](int x, int y) {
        const unsigned char* p = &picture.rgba[(y * 16 + x) * 4];
        return std::vector<int>{p[0], p[1], p[2], p[3]};
    };
    EXPECT_EQ((std::vector<int>{255, 0, 0, 255}), pixel(15, 15));
    EXPECT_EQ(0, pixel(0, 0)[3]) << "transparent where the mask is set";
    EXPECT_FALSE(rp::PictureFromIcon(nullptr, picture));

    std::string png = rp::EncodePng(picture);
    ASSERT_GT(png.size(), 33u);
    EXPECT_EQ(std::string("\x89PNG\r\n\x1A\n", 8), png.substr(0, 8));
    EXPECT_EQ(std::string("\0\0\0\x0DIHDR\0\0\0\x10\0\0\0\x10\x08\x06", 18), png.substr(8, 18));
    EXPECT_EQ("IEND", png.substr(png.size() - 8, 4));

    EXPECT_EQ("", rp::Base64(""));
    EXPECT_EQ("Zg==", rp::Base64("f"));
    EXPECT_EQ("Zm8=", rp::Base64("fo"));
    EXPECT_EQ("Zm9v", rp::Base64("foo"));
    EXPECT_EQ("Zm9vYg==", rp::Base64("foob"));
}

TEST(ItemStore, KeepsItsOwnCopyOfAnIcon)
{
    rp::ItemStore store;
    for (int pass = 0; pass < 200; ++pass) {
        HICON icon = LoadIconA(nullptr, (LPCSTR)IDI_APPLICATION);
        HICON own = CopyIcon(icon);
        store.DefineIcon("Symbole.Privat", own, RP_ITEM_ICON);
        DestroyIcon(own); // the caller's handle goes after every definition
    }
    ASSERT_EQ(1u, store.IconCount());
    const rp::ItemStore::Item* item = store.Find("Symbole.Privat");
    ASSERT_NE(nullptr, item);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(item->icon, &info)) << "the stored copy outlives the caller's icon";
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    store.Define("Symbole.Privat", "", 0);
    EXPECT_EQ(0u, store.IconCount());
}

} // namespace

namespace {

// Project files and formatted texts come from disk or from users: damaged input of any kind is
// refused or read, never a crash or an endless loop.
TEST(ReportInput, MutatedProjectsAndRtfNeverCrash)
{
    unsigned seed = 12345;
    auto next = [&] { return seed = seed * 1103515245u + 12345u, (seed >> 16) & 0x7FFF; };
    const std::string project = rp::Project::DefaultText("ltd", 2) + "rows = 10\nfont = 8 12\n";
    const std::string rtf = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\pard Gr\\'f6\\'dfe\\par {\\*\\x y}\\u8364?\\tab z}";
    size_t accepted = 0;
    for (int round = 0; round < 3000; ++round) {
        std::string p = project, r = rtf;
        for (int edits = 1 + next() % 8; edits > 0; --edits) {
            std::string& text = next() % 2 ? p : r;
            size_t at = next() % (text.size() + 1);
            switch (next() % 3) {
            case 0: text.insert(at, 1, (char)(next() % 256)); break;
            case 1: if (at < text.size()) text.erase(at, 1 + next() % 5); break;
            default: if (at < text.size()) text[at] = "|\"+=\\{}'\n\r \x01"[next() % 13]; break;
            }
        }
        rp::Project parsed;
        std::string error;
        if (parsed.Parse(p, false, error) == rp::Project::Ok) {
            ++accepted;
            rp::Project again;
            ASSERT_EQ(rp::Project::Ok, again.Parse(parsed.ToText(), false, error)) << p << "\n" << error;
        } else
            EXPECT_FALSE(error.empty());
        std::string plain = rp::RtfToPlainText(r);
        EXPECT_LE(plain.size(), r.size());
        for (double width : {1.0, 20.0, 300.0})
            EXPECT_FALSE(rp::WrapText(plain + p.substr(0, 200), next() % 2, 9, width).empty());
    }
    EXPECT_GT(accepted, 100u) << "mutations that keep the project readable are read";
}

} // namespace

namespace {

std::string Marked(const std::string& text)
{
    // Style marks written as <n> for reading.
    std::string out;
    for (char c : text)
        out += rp::IsStyleMark(c) ? "<" + std::to_string(rp::StyleOf(c)) + ">" : std::string(1, c);
    return out;
}

TEST(ItemText, FormattedTextKeepsBoldItalicAndUnderline)
{
    struct Case {
        const char* rtf;
        const char* text;
    } cases[] = {
        {"{\\rtf1 normal {\\b fett} normal}", "normal <1>fett<0> normal"},
        {"{\\rtf1 \\b fett\\b0  \\i kursiv\\i0  \\ul unter\\ulnone  x}", "<1>fett<0> <2>kursiv<0> <4>unter<0> x"},
        {"{\\rtf1 {\\b\\i beides\\par zweite} \\plain ende}", "<3>beides\nzweite<0> ende"},
        {"{\\rtf1 {\\b nur fett}}", "<1>nur fett"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.text, Marked(rp::RtfToStyledText(c.rtf))) << c.rtf;
    EXPECT_EQ("normal fett normal", rp::RtfToPlainText(cases[0].rtf));
    EXPECT_EQ("normal \x11" "fett\x10 normal", rp::DisplayText(cases[0].rtf, RP_ITEM_RTF));
}

TEST(TextMetrics, StyledTextMeasuresAndBreaksByItsStyles)
{
    const std::string bold = std::string(1, rp::StyleMark(rp::kStyleBold));
    // Marks take no room; a bold part is measured bold.
    EXPECT_DOUBLE_EQ(rp::TextWidth("i", true, 10), rp::TextWidth(bold + "i", false, 10));
    EXPECT_DOUBLE_EQ(rp::TextWidth("ai", false, 10), rp::TextWidth("a" + std::string(1, rp::StyleMark(0)) + "i", false, 10));
    // A line that starts inside the bold part begins with its mark.
    std::vector<std::string> lines = rp::WrapText(bold + "aaaa aaaa", false, 10, 30);
    ASSERT_EQ(2u, lines.size());
    EXPECT_EQ(bold + "aaaa", lines[0]);
    EXPECT_EQ(bold + "aaaa", lines[1]);
    // Runs: characters by style, check marks, pictures.
    std::vector<rp::TextRun> runs =
        rp::SplitRuns("ab" + bold + "c" + std::string(1, rp::kCheckMark) + "\x02" "d", false, 10, 5);
    ASSERT_EQ(5u, runs.size());
    EXPECT_EQ("ab", runs[0].text);
    EXPECT_FALSE(runs[0].bold);
    EXPECT_EQ("c", runs[1].text);
    EXPECT_TRUE(runs[1].bold);
    EXPECT_EQ(rp::TextRun::CheckMarks, runs[2].kind);
    EXPECT_EQ(rp::TextRun::Picture, runs[3].kind);
    EXPECT_EQ(0, runs[3].picture);
    EXPECT_DOUBLE_EQ(10, runs[3].width);
    EXPECT_DOUBLE_EQ(runs[3].x + 10, runs[4].x);
    EXPECT_DOUBLE_EQ(5, runs[0].x);
}

} // namespace
