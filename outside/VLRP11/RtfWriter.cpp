#include <cstdio>

#include "PngImage.h"
#include "TextMetrics.h"
#include "Writers.h"

namespace rp {
namespace {

const double kTwipsPerMm = 1440.0 / 25.4;

// The document's pictures as PNG pictures of 12 pt.
thread_local std::vector<std::string> g_pictures;

// Code page 1252 text in RTF: special characters escaped, bytes above 127 as \'hh, line feeds as
// \line, check marks as the Unicode check mark with "X" for readers without Unicode, pictures
// as their pictures.
std::string Rtf(const std::string& text)
{
    std::string out;
    int style = 0;
    for (char c : text) {
        unsigned char u = (unsigned char)c;
        int picture = PictureIndex(c);
        if (picture >= 0) {
            if (picture < (int)g_pictures.size())
                out += g_pictures[picture];
        } else if (IsStyleMark(c)) {
            style = StyleOf(c);
            out += style & kStyleBold ? "\\b " : "\\b0 ";
            out += style & kStyleItalic ? "\\i " : "\\i0 ";
            out += style & kStyleUnderline ? "\\ul " : "\\ulnone ";
        } else if (c == '\\' || c == '{' || c == '}') {
            out += '\\';
            out += c;
        } else if (c == '\n')
            out += "\\line ";
        else if (c == '\r')
            continue;
        else if (c == '\t')
            out += "\\tab ";
        else if (c == kCheckMark)
            out += "\\u10003 X";
        else if (u >= 0x80 || u < 0x20) {
            char buffer[8];
            std::snprintf(buffer, sizeof buffer, "\\'%02x", u);
            out += buffer;
        } else
            out += c;
    }
    if (style)
        out += "\\b0\\i0\\ulnone ";
    return out;
}

std::string Twips(double mm)
{
    return std::to_string((long)(mm * kTwipsPerMm + 0.5));
}

const char* AlignWord(Align align)
{
    return align == Align::Right ? "\\qr" : align == Align::Center ? "\\qc" : "\\ql";
}

std::string RowDefinition(const Document& document, bool heading)
{
    std::string out = "\\trowd\\trgaph57\\trleft0";
    if (heading)
        out += "\\trhdr";
    double right = 0;
    for (const Column& column : document.columns) {
        right += column.width;
        out += heading ? "\\clbrdrt\\brdrs\\brdrw20\\clbrdrb\\brdrs\\brdrw20" : "\\clbrdrb\\brdrs\\brdrw5";
        out += "\\cellx" + Twips(right);
    }
    return out + "\n";
}

} // namespace

std::string WriteRtf(const Document& document)
{
    g_pictures.clear();
    for (const Picture& picture : document.pictures) {
        std::string png = EncodePng(picture), hex;
        char digits[3];
        for (size_t i = 0; i < png.size(); ++i) {
            std::snprintf(digits, sizeof digits, "%02x", (unsigned char)png[i]);
            hex += digits;
            if (i % 64 == 63)
                hex += '\n';
        }
        g_pictures.push_back("{\\pict\\pngblip\\picw" + std::to_string(picture.width) + "\\pich" +
                             std::to_string(picture.height) + "\\picwgoal240\\pichgoal240 " + hex + "}");
    }
    const double mm = 25.4 / 72.0;
    std::string out = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\n"
                      "{\\fonttbl{\\f0\\fswiss\\fcharset0 Helvetica;}}\n"
                      "{\\info{\\title " + Rtf(document.title) + "}}\n";
    out += "\\paperw" + Twips(document.pageWidth * mm) + "\\paperh" + Twips(document.pageHeight * mm) +
           "\\margl850\\margr850\\margt850\\margb850\n\\f0\\fs18\n";
    for (size_t i = 0; i < document.header.size(); ++i)
        out += i == 0 ? "{\\pard\\sb0\\sa60\\b\\fs28 " + Rtf(document.header[i]) + "\\par}\n"
                      : "{\\pard\\sa60 " + Rtf(document.header[i]) + "\\par}\n";
    if (document.kind == ProjectKind::List) {
        std::string definition = RowDefinition(document, false);
        out += RowDefinition(document, true);
        for (const Column& column : document.columns)
            out += "\\pard\\intbl" + std::string(AlignWord(column.align)) + "{\\b " + Rtf(column.heading) + "}\\cell\n";
        out += "\\row\n";
        for (const auto& row : document.rows) {
            out += definition;
            for (size_t c = 0; c < document.columns.size(); ++c)
                out += "\\pard\\intbl" + std::string(AlignWord(document.columns[c].align)) + " " +
                       Rtf(c < row.size() ? row[c] : std::string()) + "\\cell\n";
            out += "\\row\n";
        }
        out += "\\pard\\par\n";
    } else {
        for (const CardLines& card : document.cards) {
            out += "{\\pard\\keepn\\brdrt\\brdrs\\brdrw10\\sa0\\par}\n";
            for (const auto& line : card)
                out += "{\\pard\\keepn\\li1800\\fi-1800\\tx1800{\\b " + Rtf(line.first) + "}\\tab " + Rtf(line.second) +
                       "\\par}\n";
            out += "{\\pard\\brdrt\\brdrs\\brdrw10\\sa200\\par}\n";
        }
    }
    out += "}\n";
    return out;
}

} // namespace rp
