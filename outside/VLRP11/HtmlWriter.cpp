#include <windows.h>

#include "PngImage.h"
#include "TextMetrics.h"
#include "Writers.h"

namespace rp {
namespace {

// The documents' pictures as <img> elements.
thread_local std::vector<std::string> g_images;

// Code page 1252 text as escaped UTF-8; line feeds become <br>, check marks the check mark,
// pictures their images.
std::string Html(const std::string& text)
{
    std::string out;
    bool span = false; // a styled part is open
    for (char c : text) {
        int picture = PictureIndex(c);
        if (picture >= 0) {
            if (picture < (int)g_images.size())
                out += g_images[picture];
            continue;
        }
        if (IsStyleMark(c)) {
            if (span)
                out += "</span>";
            int style = StyleOf(c);
            span = style != 0;
            if (span)
                out += std::string("<span style=\"") + (style & kStyleBold ? "font-weight: bold; " : "") +
                       (style & kStyleItalic ? "font-style: italic; " : "") +
                       (style & kStyleUnderline ? "text-decoration: underline; " : "") + "\">";
            continue;
        }
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\n': out += "<br>"; break;
        case '\r': break;
        case kCheckMark: out += "&#10003;"; break;
        default:
            if ((unsigned char)c < 0x80)
                out += c;
            else {
                wchar_t wide = 0;
                char utf8[4];
                MultiByteToWideChar(1252, 0, &c, 1, &wide, 1);
                int n = WideCharToMultiByte(CP_UTF8, 0, &wide, 1, utf8, sizeof utf8, nullptr, nullptr);
                out.append(utf8, n > 0 ? n : 0);
            }
        }
    }
    if (span)
        out += "</span>";
    return out;
}

const char* AlignName(Align align)
{
    return align == Align::Right ? "right" : align == Align::Center ? "center" : "left";
}

} // namespace

std::string WriteHtml(const Document& document)
{
    g_images.clear();
    for (const Picture& picture : document.pictures)
        g_images.push_back("<img alt=\"\" style=\"vertical-align: text-bottom\" width=\"" + std::to_string(picture.width) +
                           "\" height=\"" + std::to_string(picture.height) + "\" src=\"data:image/png;base64," +
                           Base64(EncodePng(picture)) + "\">");
    std::string out = "<!DOCTYPE html>\n<html lang=\"de\">\n<head>\n<meta charset=\"utf-8\">\n<title>" +
                      Html(document.title) + "</title>\n";
    out += "<style>\n"
           "body { font-family: Helvetica, Arial, sans-serif; font-size: 10pt; }\n"
           "table.list { border-collapse: collapse; }\n"
           "table.list th { border-top: 2px solid #000; border-bottom: 2px solid #000; padding: 2px 4px; }\n"
           "table.list td { border-bottom: 1px solid #888; padding: 2px 4px; vertical-align: top; }\n"
           "div.card { border: 1px solid #000; padding: 6px; margin: 0 0 10px 0; }\n"
           "div.card dt { font-weight: bold; float: left; clear: left; width: 9em; }\n"
           "div.card dd { margin: 0 0 0 9em; min-height: 1.2em; }\n"
           "</style>\n</head>\n<body>\n";
    for (size_t i = 0; i < document.header.size(); ++i)
        out += i == 0 ? "<h1>" + Html(document.header[i]) + "</h1>\n" : "<p>" + Html(document.header[i]) + "</p>\n";
    if (document.kind == ProjectKind::List) {
        out += "<table class=\"list\">\n<thead>\n<tr>";
        for (const Column& column : document.columns)
            out += "<th style=\"text-align: " + std::string(AlignName(column.align)) + "; width: " +
                   std::to_string((int)(column.width + 0.5)) + "mm\">" + Html(column.heading) + "</th>";
        out += "</tr>\n</thead>\n<tbody>\n";
        for (const auto& row : document.rows) {
            out += "<tr>";
            for (size_t c = 0; c < document.columns.size(); ++c) {
                Align align = document.columns[c].align;
                out += align == Align::Left ? "<td>" : "<td style=\"text-align: " + std::string(AlignName(align)) + "\">";
                out += Html(c < row.size() ? row[c] : std::string()) + "</td>";
            }
            out += "</tr>\n";
        }
        out += "</tbody>\n</table>\n";
    } else {
        for (const CardLines& card : document.cards) {
            out += "<div class=\"card\">\n<dl>\n";
            for (const auto& line : card)
                out += "<dt>" + Html(line.first) + "</dt><dd>" + Html(line.second) + "</dd>\n";
            out += "</dl>\n</div>\n";
        }
    }
    out += "</body>\n</html>\n";
    return out;
}

} // namespace rp
