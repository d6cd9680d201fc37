// The RTF-to-text converter: what reaches the text and what is skipped, every error code with the
// caller's text left as it was, malformed notes followed by correct ones, bounded keywords and
// parameters, and conversions of several threads at once.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "CRtfReader.h"
#include "RtfToText.h"

namespace {

struct RtfCase {
    const char* name;
    std::string rtf;
    int error;          // CRtfReader error code
    std::string text;   // the text on success
};

const std::string kLong40(40, 'x');

const RtfCase kCases[] = {
    {"paragraph", "{\\rtf1 Hallo\\par Welt}", CRtfReader::ecOK, "Hallo\nWelt"},
    {"font table skipped", "{\\rtf1\\ansi{\\fonttbl{\\f0\\fswiss Arial;}{\\f1 Symbol;}}\\f0 Text}", CRtfReader::ecOK, "Text"},
    {"colour table, style sheet and info skipped",
     "{\\rtf1{\\colortbl;\\red0\\green0\\blue0;}{\\stylesheet{\\s0 Normal;}}{\\info{\\author Anna}{\\title T}}Rest}",
     CRtfReader::ecOK, "Rest"},
    {"unknown destination after \\* skipped", "{\\rtf1{\\*\\generator Editor 2.0;}{\\*\\unknown Hidden {inner}}Shown}",
     CRtfReader::ecOK, "Shown"},
    {"unknown keyword without \\* dropped, its text kept", "{\\rtf1{\\unknownword Kept}}", CRtfReader::ecOK, "Kept"},
    {"hex escape", "{\\rtf1 M\\'fcnchen \\'e4\\'E4\\'C4}", CRtfReader::ecOK, "M\xFCnchen \xE4\xE4\xC4"},
    {"tab, quotes and control symbols", "{\\rtf1 a\\tab b \\ldblquote z\\rdblquote  \\{x\\} \\\\}", CRtfReader::ecOK,
     "a\tb \"z\" {x} \\"},
    {"properties change nothing", "{\\rtf1\\pard\\qc\\li200\\fi-100{\\b fett}\\b0  \\i kursiv\\i0\\par}", CRtfReader::ecOK,
     "fett kursiv\n"},
    {"blank after a keyword is its delimiter", "{\\rtf1\\b  zwei}", CRtfReader::ecOK, " zwei"},
    {"CR and LF of the input dropped", "Zeile 1\r\nZeile 2\nZeile 3", CRtfReader::ecOK, "Zeile 1Zeile 2Zeile 3"},
    {"plain text unchanged", "Kein RTF: 100% sicher.", CRtfReader::ecOK, "Kein RTF: 100% sicher."},
    {"empty text", "", CRtfReader::ecOK, ""},
    {"binary bytes of a picture are no RTF", "{\\rtf1{\\pict\\bin4 {}\\}}Nach}", CRtfReader::ecOK, "Nach"},
    {"binary bytes in the text", "{\\rtf1 a\\bin3 {}\\b}", CRtfReader::ecOK, "a{}\\b"},
    {"\\bin0 announces no bytes", "{\\rtf1 a\\bin0 {b}}", CRtfReader::ecOK, "ab"},
    {"byte 0xFF ends the input", std::string("{\\rtf1 vor}\xFF{{{ nach"), CRtfReader::ecOK, "vor"},
    {"table rows: cells end in a tab, rows in a line feed",
     "{\\rtf1\\trowd\\cellx1000\\cellx2000\\intbl A1\\cell B1\\cell\\row\\pard Ende}", CRtfReader::ecOK,
     "A1\tB1\t\nEnde"},
    {"list text of readers without lists skipped", "{\\rtf1{\\pntext\\f1 \\'b7\\tab}{\\*\\pn\\pnlvlblt{\\pntxtb\\'b7}}Punkt\\par}",
     CRtfReader::ecOK, "Punkt\n"},
    {"overlong keyword read whole and dropped", "{\\rtf1\\" + kLong40 + " Text}", CRtfReader::ecOK, "Text"},
    {"overlong keyword after \\* starts a skipped group", "{\\rtf1{\\*\\" + kLong40 + " weg}da}", CRtfReader::ecOK, "da"},
    {"overlong parameter read whole", "{\\rtf1\\li123456789012345678901234567890 Text}", CRtfReader::ecOK, "Text"},
    {"overlong negative parameter read whole", "{\\rtf1\\fi-99999999999999999999999 Text}", CRtfReader::ecOK, "Text"},
    {"one closing brace too many", "{\\rtf1 a}}", CRtfReader::ecStackUnderflow, ""},
    {"closing brace first", "}{", CRtfReader::ecStackUnderflow, ""},
    {"one opening brace too many", "{\\rtf1 {a}", CRtfReader::ecUnmatchedBrace, ""},
    {"invalid hex digit", "{\\rtf1 \\'g4}", CRtfReader::ecInvalidHex, ""},
    {"hex escape cut by the end", "{\\rtf1 \\'e", CRtfReader::ecUnmatchedBrace, ""},
    {"input ends after a backslash", "{\\rtf1 a\\", CRtfReader::ecEndOfFile, ""},
    {"input ends after a minus", "{\\rtf1 a\\li-", CRtfReader::ecEndOfFile, ""},
};

TEST(CRtfReader, ConvertsTheTableOfCases)
{
    for (const RtfCase& c : kCases) {
        SCOPED_TRACE(c.name);
        CRtfReader reader;
        CString strText = "vorher";
        EXPECT_EQ(c.error, reader.Convert(CString(c.rtf.data(), (int)c.rtf.size()), strText));
        if (c.error == CRtfReader::ecOK)
            EXPECT_EQ(c.text, std::string(strText, strText.GetLength()));
        else
            EXPECT_STREQ("vorher", strText) << "a failed conversion leaves the caller's text";

        // The plain function answers the same.
        CString strPlain = "vorher";
        EXPECT_EQ(c.error == CRtfReader::ecOK, !!RtfToText(CString(c.rtf.data(), (int)c.rtf.size()), strPlain));
        EXPECT_EQ(c.error == CRtfReader::ecOK ? c.text : std::string("vorher"), std::string(strPlain, strPlain.GetLength()));
    }
}

// A malformed note must not change the conversion of the next one: open groups, a skipping
// destination, half a hexadecimal escape and binary bytes still to come are all left behind.
TEST(RtfToText, MalformedNoteDoesNotAffectTheNextConversion)
{
    struct Pair {
        const char* bad;
        const char* good;
        const char* text;
    };
    const Pair kPairs[] = {
        {"{\\rtf1 {\\fonttbl {\\f0 Arial;}", "{\\rtf1 Hallo\\par Welt}", "Hallo\nWelt"},
        {"{\\rtf1 {\\*\\unknown offen", "{\\rtf1 Hallo}", "Hallo"},
        {"{\\rtf1 x\\'e", "41", "41"},
        {"{\\rtf1 \\bin100 ab", "{\\rtf1 {a}b}", "ab"},
        {"}}}", "{\\rtf1 a}", "a"},
        {"{{{{{{{{{{", "Text", "Text"},
    };
    for (const Pair& p : kPairs) {
        SCOPED_TRACE(p.bad);
        CString strText = "alt";
        EXPECT_FALSE(RtfToText(p.bad, strText));
        EXPECT_STREQ("alt", strText);
        EXPECT_TRUE(RtfToText(p.good, strText));
        EXPECT_STREQ(p.text, strText);
    }
    // The same reader object, too.
    CRtfReader reader;
    CString strText;
    EXPECT_EQ(CRtfReader::ecUnmatchedBrace, reader.Convert("{\\rtf1 {\\fonttbl x", strText));
    EXPECT_EQ(CRtfReader::ecOK, reader.Convert("{\\rtf1 Danach}", strText));
    EXPECT_STREQ("Danach", strText);
}

TEST(RtfToText, ThreadsConvertAtTheSameTime)
{
    const int kThreads = 4;
    const int kRounds = 300;
    std::vector<int> failures(kThreads, 0);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([t, &failures] {
            for (int i = 0; i < kRounds; ++i) {
                CString strRtf, strExpected, strText;
                strExpected.Format("Thread %d Runde %d", t, i);
                // Every other conversion of a thread is malformed.
                strRtf.Format("{\\rtf1{\\fonttbl{\\f0 Arial;}}{\\b Thread} %d Runde %d}%s", t, i, (i % 2) ? "{" : "");
                BOOL bOk = RtfToText(strRtf, strText);
                if ((i % 2) ? bOk : (!bOk || strText != strExpected))
                    ++failures[t];
            }
        });
    for (std::thread& thread : threads)
        thread.join();
    for (int t = 0; t < kThreads; ++t)
        EXPECT_EQ(0, failures[t]) << "thread " << t;
}

} // namespace
