// Lays header, table rows, cards and footers out on pages of a Document.
//
// Lists: StartPage opens a page with its header and the table's headings; AddRow places a row
// below the last one, or answers false when it does not fit (a row taller than an empty page is
// cut at the page's end instead). Cards: PlaceCard places a card below the last one, on a new
// page when it does not fit the rest of the page; a card taller than a page fills the page and
// answers PageFull, and ContinueCard goes on with it on the next page. Finish closes the last
// page. Every page gets its footer when it is closed.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "Document.h"

namespace rp {

class Paginator {
public:
    using LinesOfPage = std::function<std::vector<std::string>(int page)>;

    // header and footer give a page's lines when it is opened or closed (page numbers from 1).
    Paginator(Document& document, const Project& project, LinesOfPage header, LinesOfPage footer);

    void StartPage();
    bool HasOpenPage() const { return m_open; }
    bool AddRow(const std::vector<std::string>& cells);

    enum class CardStep { Done, PageFull };
    CardStep PlaceCard(const CardLines& lines);
    CardStep ContinueCard();
    bool HasPendingCard() const { return !m_pending.empty(); }

    void Finish();

private:
    struct VisualLine {
        std::string label, text;
        bool indent; // the text stands right of the labels
    };

    double LineHeight(double size) const { return size * 1.25; }
    void ClosePage();
    CardStep PlaceVisualLines();

    Document& m_document;
    const Project& m_project;
    LinesOfPage m_header, m_footer;
    double m_left, m_right, m_top, m_bottom; // the body's edges, pt
    double m_y = 0;                          // the next free place, pt from the top
    bool m_open = false;
    int m_rowsOnPage = 0;
    int m_itemsOnPage = 0;
    double m_labelWidth = 0;
    std::vector<VisualLine> m_pending; // lines of a card still to place
    bool m_continued = false;          // the pending lines continue a card from the last page
};

} // namespace rp
