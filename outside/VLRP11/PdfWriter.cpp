// PDF output. The file: header, one object a line group, a cross-reference table, trailer.
//
//   1 0 obj  catalog            2 0 obj  page tree
//   3 0 obj  font F1 (regular)  4 0 obj  font F2 (bold)  5 0 obj  font F3 (dingbats)
//   6 0 obj  document information
//   7 0 obj  font F4 (oblique)  8 0 obj  font F5 (bold oblique)
//   then per page n (from 0): 9 + 2n page object, 10 + 2n its content stream (zlib)
//   then per picture i: P + 2i the image (RGB), P + 2i + 1 its transparency (P = 9 + 2 pages)
#include "Writers.h"

#include <windows.h>
#include <zlib.h>

#include <cstdio>

#include "TextMetrics.h"

namespace rp {
namespace {

#include "FontMetrics.inc"

std::string Number(double value)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.2f", value);
    // The C library's decimal separator follows the locale; PDF needs a point.
    for (char* c = buffer; *c; ++c)
        if (*c == ',')
            *c = '.';
    std::string text = buffer;
    while (text.back() == '0')
        text.pop_back();
    if (text.back() == '.')
        text.pop_back();
    return text == "-0" ? "0" : text;
}

// A PDF literal string of code page 1252 bytes.
std::string Literal(const std::string& text)
{
    std::string out = "(";
    for (unsigned char c : text) {
        if (c == '(' || c == ')' || c == '\\') {
            out += '\\';
            out += (char)c;
        } else if (c < 32 || c >= 127) {
            char buffer[8];
            std::snprintf(buffer, sizeof buffer, "\\%03o", c);
            out += buffer;
        } else
            out += (char)c;
    }
    return out + ")";
}

// A PDF text string (document information) of code page 1252 text: UTF-16BE with its byte
// order mark, as a hex string, so that every character keeps its meaning.
std::string TextString(const std::string& text)
{
    std::string out = "<FEFF";
    char buffer[8];
    for (char c : text) {
        wchar_t wide = (unsigned char)c;
        if ((unsigned char)c >= 0x80)
            MultiByteToWideChar(1252, 0, &c, 1, &wide, 1);
        std::snprintf(buffer, sizeof buffer, "%04X", (unsigned)wide);
        out += buffer;
    }
    return out + ">";
}

std::string WidthsArray(const unsigned short* widths)
{
    std::string out = "[";
    for (int i = 0; i < 224; ++i) {
        out += std::to_string(widths[i]);
        out += (i % 16 == 15) ? "\n" : " ";
    }
    return out + "]";
}

std::string Content(const Document& document, const Page& page)
{
    std::string out;
    const double h = document.pageHeight;
    if (!page.lines.empty()) {
        double width = -1;
        for (const LineOp& line : page.lines) {
            if (line.width != width) {
                width = line.width;
                out += Number(width) + " w\n";
            }
            out += Number(line.x1) + " " + Number(h - line.y1) + " m " + Number(line.x2) + " " + Number(h - line.y2) +
                   " l S\n";
        }
    }
    for (const TextOp& text : page.texts) {
        for (const TextRun& run : SplitRuns(text.text, text.bold, text.size, text.x)) {
            if (run.kind == TextRun::Picture) {
                if (run.picture < (int)document.pictures.size()) {
                    // A square of the text's size standing on the line a little below the baseline.
                    double s = text.size;
                    out += "q " + Number(s) + " 0 0 " + Number(s) + " " + Number(run.x) + " " +
                           Number(h - text.y - s * 0.15) + " cm /Im" + std::to_string(run.picture) + " Do Q\n";
                }
                continue;
            }
            bool check = run.kind == TextRun::CheckMarks;
            std::string font = check ? "/F3" : run.bold ? (run.italic ? "/F5" : "/F2") : (run.italic ? "/F4" : "/F1");
            std::string shown = check ? std::string(run.text.size(), '4') : run.text;
            out += "BT " + font + " " + Number(text.size) + " Tf " + Number(run.x) + " " + Number(h - text.y) + " Td " +
                   Literal(shown) + " Tj ET\n";
            if (run.underline) {
                double y = h - text.y - text.size * 0.12;
                out += Number(text.size * 0.06) + " w " + Number(run.x) + " " + Number(y) + " m " +
                       Number(run.x + run.width) + " " + Number(y) + " l S\n";
            }
        }
    }
    return out;
}

std::string Compressed(const std::string& data)
{
    uLongf size = compressBound((uLong)data.size());
    std::string out(size, '\0');
    if (compress2((Bytef*)&out[0], &size, (const Bytef*)data.data(), (uLong)data.size(), 6) != Z_OK)
        return std::string();
    out.resize(size);
    return out;
}

class PdfFile {
public:
    void Object(int number, const std::string& body)
    {
        if ((int)m_offsets.size() < number)
            m_offsets.resize(number, 0);
        m_offsets[number - 1] = m_data.size();
        m_data += std::to_string(number) + " 0 obj\n" + body + "\nendobj\n";
    }
    void Stream(int number, const std::string& plain) { Stream(number, std::string(), plain); }
    // A stream with more entries in its dictionary.
    void Stream(int number, const std::string& entries, const std::string& plain)
    {
        std::string packed = Compressed(plain);
        std::string more = entries.empty() ? std::string() : " " + entries;
        if (packed.empty())
            Object(number, "<< /Length " + std::to_string(plain.size()) + more + " >>\nstream\n" + plain + "\nendstream");
        else
            Object(number, "<< /Length " + std::to_string(packed.size()) + more + " /Filter /FlateDecode >>\nstream\n" +
                               packed + "\nendstream");
    }
    std::string Finish()
    {
        size_t xref = m_data.size();
        char entry[32];
        m_data += "xref\n0 " + std::to_string(m_offsets.size() + 1) + "\n0000000000 65535 f \n";
        for (size_t offset : m_offsets) {
            std::snprintf(entry, sizeof entry, "%010zu 00000 n \n", offset);
            m_data += entry;
        }
        m_data += "trailer\n<< /Size " + std::to_string(m_offsets.size() + 1) + " /Root 1 0 R /Info 6 0 R >>\n";
        m_data += "startxref\n" + std::to_string(xref) + "\n%%EOF\n";
        return std::move(m_data);
    }

private:
    std::string m_data = "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n";
    std::vector<size_t> m_offsets;
};

} // namespace

std::string WritePdf(const Document& document)
{
    PdfFile pdf;
    const size_t pages = document.pages.size();
    pdf.Object(1, "<< /Type /Catalog /Pages 2 0 R >>");
    std::string kids;
    for (size_t n = 0; n < pages; ++n)
        kids += std::to_string(9 + 2 * n) + " 0 R ";
    pdf.Object(2, "<< /Type /Pages /Count " + std::to_string(pages) + " /Kids [" + kids + "] >>");
    pdf.Object(3, "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding /WinAnsiEncoding /FirstChar 32 "
                  "/LastChar 255 /Widths " + WidthsArray(kRegularWidths) + " >>");
    pdf.Object(4, "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica-Bold /Encoding /WinAnsiEncoding /FirstChar 32 "
                  "/LastChar 255 /Widths " + WidthsArray(kBoldWidths) + " >>");
    pdf.Object(5, "<< /Type /Font /Subtype /Type1 /BaseFont /ZapfDingbats >>");
    pdf.Object(6, "<< /Title " + TextString(document.title) + " /Producer (VLRP11) >>");
    pdf.Object(7, "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica-Oblique /Encoding /WinAnsiEncoding /FirstChar 32 "
                  "/LastChar 255 /Widths " + WidthsArray(kRegularWidths) + " >>");
    pdf.Object(8, "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica-BoldOblique /Encoding /WinAnsiEncoding "
                  "/FirstChar 32 /LastChar 255 /Widths " + WidthsArray(kBoldWidths) + " >>");
    const std::string box = "[0 0 " + Number(document.pageWidth) + " " + Number(document.pageHeight) + "]";
    const int firstPicture = (int)(9 + 2 * pages);
    std::string images;
    for (size_t i = 0; i < document.pictures.size(); ++i)
        images += "/Im" + std::to_string(i) + " " + std::to_string(firstPicture + 2 * i) + " 0 R ";
    for (size_t n = 0; n < pages; ++n) {
        int page = (int)(9 + 2 * n);
        pdf.Object(page, "<< /Type /Page /Parent 2 0 R /MediaBox " + box +
                             " /Resources << /Font << /F1 3 0 R /F2 4 0 R /F3 5 0 R /F4 7 0 R /F5 8 0 R >>" +
                             (images.empty() ? std::string() : " /XObject << " + images + ">>") + " >> /Contents " +
                             std::to_string(page + 1) + " 0 R >>");
        pdf.Stream(page + 1, Content(document, document.pages[n]));
    }
    for (size_t i = 0; i < document.pictures.size(); ++i) {
        const Picture& picture = document.pictures[i];
        std::string rgb, alpha;
        for (size_t p = 0; p + 3 < picture.rgba.size(); p += 4) {
            rgb.append((const char*)&picture.rgba[p], 3);
            alpha += (char)picture.rgba[p + 3];
        }
        int image = firstPicture + 2 * (int)i;
        std::string size = " /Width " + std::to_string(picture.width) + " /Height " + std::to_string(picture.height) +
                           " /BitsPerComponent 8";
        pdf.Stream(image, "/Type /XObject /Subtype /Image" + size + " /ColorSpace /DeviceRGB /SMask " +
                              std::to_string(image + 1) + " 0 R", rgb);
        pdf.Stream(image + 1, "/Type /XObject /Subtype /Image" + size + " /ColorSpace /DeviceGray", alpha);
    }
    return pdf.Finish();
}

} // namespace rp
