#include "Paginator.h"

#include <algorithm>

#include "TextMetrics.h"

namespace rp {
namespace {

const double kPointsPerMm = 72.0 / 25.4;
const double kCellPadding = 2.0;  // pt around a cell's text
const double kCardPadding = 5.0;  // pt inside a card's frame
const double kCardGap = 10.0;     // pt between cards
const double kHeaderGap = 8.0;    // pt below the header
const double kFooterGap = 6.0;    // pt above the footer
const double kRule = 0.4;         // pt: rules between rows, card frames
const double kHeavyRule = 0.9;    // pt: rules around the headings

} // namespace

Paginator::Paginator(Document& document, const Project& project, LinesOfPage header, LinesOfPage footer)
    : m_document(document), m_project(project), m_header(std::move(header)), m_footer(std::move(footer))
{
    const PageSetup& p = project.page;
    m_document.pageWidth = p.width * kPointsPerMm;
    m_document.pageHeight = p.height * kPointsPerMm;
    m_left = p.marginLeft * kPointsPerMm;
    m_right = m_document.pageWidth - p.marginRight * kPointsPerMm;
    m_top = p.marginTop * kPointsPerMm;
    // The footer's lines keep their place at the bottom of every page.
    double footerHeight = project.footer.empty() ? 0 : project.footer.size() * LineHeight(p.fontSize) + kFooterGap;
    m_bottom = m_document.pageHeight - p.marginBottom * kPointsPerMm - footerHeight;
    for (const CardLine& line : project.lines)
        m_labelWidth = std::max(m_labelWidth, TextWidth(line.label, true, p.fontSize));
    if (m_labelWidth > 0)
        m_labelWidth = std::min(m_labelWidth + 12, (m_right - m_left) * 0.4);
}

void Paginator::StartPage()
{
    if (m_open)
        ClosePage();
    m_document.pages.emplace_back();
    Page& page = m_document.pages.back();
    m_open = true;
    m_rowsOnPage = 0;
    m_itemsOnPage = 0;
    const PageSetup& p = m_project.page;
    double y = m_top;
    std::vector<std::string> header = m_header((int)m_document.pages.size());
    if (m_document.pages.size() == 1)
        m_document.header = header;
    for (size_t i = 0; i < header.size(); ++i) {
        double size = i == 0 ? p.headerSize : p.fontSize;
        for (const std::string& text : WrapText(header[i], i == 0, size, m_right - m_left)) {
            y += LineHeight(size);
            page.texts.push_back({m_left, y - size * 0.25, size, i == 0, text});
        }
    }
    if (!header.empty())
        y += kHeaderGap;
    if (m_project.kind == ProjectKind::List && !m_project.columns.empty()) {
        // The table's headings between two heavy rules.
        std::vector<std::vector<std::string>> wrapped;
        size_t lines = 1;
        for (const Column& column : m_project.columns) {
            wrapped.push_back(WrapText(column.heading, true, p.fontSize, column.width * kPointsPerMm - 2 * kCellPadding));
            lines = std::max(lines, wrapped.back().size());
        }
        double x = m_left;
        page.lines.push_back({m_left, y, m_right, y, kHeavyRule});
        for (size_t c = 0; c < m_project.columns.size(); ++c) {
            const Column& column = m_project.columns[c];
            double width = column.width * kPointsPerMm;
            double ty = y + kCellPadding;
            for (const std::string& text : wrapped[c]) {
                ty += LineHeight(p.fontSize);
                double tw = TextWidth(text, true, p.fontSize);
                double tx = column.align == Align::Left ? x + kCellPadding
                            : column.align == Align::Right ? x + width - kCellPadding - tw
                                                            : x + (width - tw) / 2;
                page.texts.push_back({tx, ty - p.fontSize * 0.25, p.fontSize, true, text});
            }
            x += width;
        }
        y += lines * LineHeight(p.fontSize) + 2 * kCellPadding;
        page.lines.push_back({m_left, y, m_right, y, kHeavyRule});
    }
    m_y = y;
}

bool Paginator::AddRow(const std::vector<std::string>& cells)
{
    if (!m_open)
        StartPage();
    const PageSetup& p = m_project.page;
    if (p.rowsPerPage > 0 && m_rowsOnPage >= p.rowsPerPage)
        return false;
    const double lh = LineHeight(p.fontSize);
    std::vector<std::vector<std::string>> wrapped;
    size_t lines = 1;
    for (size_t c = 0; c < m_project.columns.size(); ++c) {
        const Column& column = m_project.columns[c];
        wrapped.push_back(WrapText(c < cells.size() ? cells[c] : std::string(), false, p.fontSize,
                                   column.width * kPointsPerMm - 2 * kCellPadding));
        lines = std::max(lines, wrapped.back().size());
    }
    double height = lines * lh + 2 * kCellPadding;
    if (m_y + height > m_bottom) {
        if (m_rowsOnPage > 0)
            return false;
        // Taller than an empty page: as many lines as fit (at least one), the rest is cut.
        size_t fit = (size_t)std::max(1.0, (m_bottom - m_y - 2 * kCellPadding) / lh);
        lines = std::min(lines, fit);
        for (auto& cell : wrapped)
            if (cell.size() > lines)
                cell.resize(lines);
        height = lines * lh + 2 * kCellPadding;
    }
    Page& page = m_document.pages.back();
    double x = m_left;
    for (size_t c = 0; c < m_project.columns.size(); ++c) {
        const Column& column = m_project.columns[c];
        double width = column.width * kPointsPerMm;
        double ty = m_y + kCellPadding;
        for (const std::string& text : wrapped[c]) {
            ty += lh;
            if (text.empty())
                continue;
            double tw = TextWidth(text, false, p.fontSize);
            double tx = column.align == Align::Left ? x + kCellPadding
                        : column.align == Align::Right ? x + width - kCellPadding - tw
                                                        : x + (width - tw) / 2;
            page.texts.push_back({tx, ty - p.fontSize * 0.25, p.fontSize, false, text});
        }
        x += width;
    }
    m_y += height;
    page.lines.push_back({m_left, m_y, m_right, m_y, kRule});
    ++m_rowsOnPage;
    ++m_itemsOnPage;
    return true;
}

Paginator::CardStep Paginator::PlaceCard(const CardLines& lines)
{
    const PageSetup& p = m_project.page;
    const double width = m_right - m_left - 2 * kCardPadding;
    m_pending.clear();
    for (const auto& line : lines) {
        bool labelled = !line.first.empty();
        double textWidth = labelled ? width - m_labelWidth : width;
        std::vector<std::string> wrapped = WrapText(line.second, false, p.fontSize, textWidth);
        for (size_t i = 0; i < wrapped.size(); ++i)
            m_pending.push_back({i == 0 ? line.first : std::string(), wrapped[i], labelled});
    }
    if (m_pending.empty())
        m_pending.push_back({std::string(), std::string(), false});
    m_continued = false;
    double height = m_pending.size() * LineHeight(p.fontSize) + 2 * kCardPadding;
    if (!m_open)
        StartPage();
    else if (m_itemsOnPage > 0 && m_y + kCardGap + height > m_bottom)
        StartPage();
    return PlaceVisualLines();
}

Paginator::CardStep Paginator::ContinueCard()
{
    if (m_pending.empty())
        return CardStep::Done;
    StartPage();
    return PlaceVisualLines();
}

Paginator::CardStep Paginator::PlaceVisualLines()
{
    const PageSetup& p = m_project.page;
    const double lh = LineHeight(p.fontSize);
    Page& page = m_document.pages.back();
    if (m_itemsOnPage > 0)
        m_y += kCardGap;
    double top = m_y;
    double y = top + kCardPadding;
    size_t placed = 0;
    // At least one line a page, so that every card comes to its end.
    while (placed < m_pending.size() && (placed == 0 || y + lh + kCardPadding <= m_bottom)) {
        const VisualLine& line = m_pending[placed];
        y += lh;
        double baseline = y - p.fontSize * 0.25;
        double x = m_left + kCardPadding;
        if (!line.label.empty())
            page.texts.push_back({x, baseline, p.fontSize, true, line.label});
        if (!line.text.empty())
            page.texts.push_back({line.indent ? x + m_labelWidth : x, baseline, p.fontSize, false, line.text});
        ++placed;
    }
    double bottom = y + kCardPadding;
    // The frame: open at a page break so that a continued card reads as one.
    page.lines.push_back({m_left, top, m_left, bottom, kRule});
    page.lines.push_back({m_right, top, m_right, bottom, kRule});
    if (!m_continued)
        page.lines.push_back({m_left, top, m_right, top, kRule});
    m_pending.erase(m_pending.begin(), m_pending.begin() + placed);
    if (m_pending.empty())
        page.lines.push_back({m_left, bottom, m_right, bottom, kRule});
    m_y = bottom;
    ++m_itemsOnPage;
    m_continued = !m_pending.empty();
    return m_pending.empty() ? CardStep::Done : CardStep::PageFull;
}

void Paginator::ClosePage()
{
    if (!m_open)
        return;
    m_open = false;
    std::vector<std::string> footer = m_footer((int)m_document.pages.size());
    if (footer.empty())
        return;
    Page& page = m_document.pages.back();
    const PageSetup& p = m_project.page;
    double y = m_document.pageHeight - p.marginBottom * kPointsPerMm - footer.size() * LineHeight(p.fontSize);
    for (const std::string& text : footer) {
        y += LineHeight(p.fontSize);
        // One line each, centred.
        double tw = TextWidth(text, false, p.fontSize);
        page.texts.push_back({m_left + (m_right - m_left - tw) / 2, y - p.fontSize * 0.25, p.fontSize, false, text});
    }
}

void Paginator::Finish()
{
    if (!m_open)
        StartPage();
    ClosePage();
}

} // namespace rp
