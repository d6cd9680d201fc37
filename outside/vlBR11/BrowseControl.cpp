#include "BrowseControl.h"

#include <windowsx.h>

#include <string.h>

#include <algorithm>

#include "BuiltinIcons.h"
#include "CellText.h"
#include "LayoutValue.h"

namespace {

const int kIconSize = 16;
const int kPad = 4;
const int kDividerSlack = 4;
const int kMinWidth = 6;
const int kMaxLayoutBytes = 65536;

COLORREF Blend(COLORREF over, COLORREF under, int percent)
{
    percent = std::max(0, std::min(100, percent));
    auto mix = [percent](int a, int b) { return (a * percent + b * (100 - percent)) / 100; };
    return RGB(mix(GetRValue(over), GetRValue(under)), mix(GetGValue(over), GetGValue(under)),
               mix(GetBValue(over), GetBValue(under)));
}

bool Ctrl() { return GetKeyState(VK_CONTROL) < 0; }
bool Shift() { return GetKeyState(VK_SHIFT) < 0; }

// Keeps the control alive while the owner's callback runs: a window destroyed inside the callback
// is freed when the outermost call returns.
struct CallGuard {
    int& depth;
    explicit CallGuard(int& d) : depth(d) { ++depth; }
    ~CallGuard() { --depth; }
};

} // namespace

// ---- class and window procedure --------------------------------------------------------------------

bool CBrowseControl::Register(HINSTANCE instance)
{
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_GLOBALCLASS | CS_DBLCLKS;
    wc.lpfnWndProc = WndProc;
    wc.cbWndExtra = sizeof(void*);
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, (LPCSTR)IDC_ARROW);
    wc.lpszClassName = VLBR_CLASSNAME;
    return RegisterClassExA(&wc) != 0;
}

void CBrowseControl::Unregister(HINSTANCE instance)
{
    UnregisterClassA(VLBR_CLASSNAME, instance);
    ReleaseBuiltinIcons();
}

CBrowseControl::CBrowseControl(HWND hwnd) : m_hwnd(hwnd)
{
    m_attr[BRA_BORDER] = 1;
    m_attr[BRA_COLORS] = 5;
    m_attr[BRA_CLR_HEADERBK] = (int)GetSysColor(COLOR_BTNFACE);
    m_attr[BRA_CLR_HEADERTX] = (int)GetSysColor(COLOR_BTNTEXT);
    m_attr[BRA_CLR_ROWBK] = (int)GetSysColor(COLOR_WINDOW);
    m_attr[BRA_CLR_ROWTX] = (int)GetSysColor(COLOR_WINDOWTEXT);
    m_attr[BRA_CLR_SELBK] = (int)GetSysColor(COLOR_HIGHLIGHT);
    m_attr[BRA_CLR_SELTX] = (int)GetSysColor(COLOR_HIGHLIGHTTEXT);
    m_attr[BRA_CLR_ALTBK] = (int)GetSysColor(COLOR_WINDOW);
    m_attr[BRA_CLR_ALTTX] = (int)GetSysColor(COLOR_WINDOWTEXT);
    m_attr[BRA_CLR_CURBK] = (int)GetSysColor(COLOR_WINDOW);
    m_attr[BRA_CLR_CURTX] = (int)GetSysColor(COLOR_WINDOWTEXT);
    m_attr[BRA_COLUMNLINES] = 1;
    m_attr[BRA_SELTINT] = 100;
    m_attr[BRA_SELCOLOR] = (int)GetSysColor(COLOR_HIGHLIGHT);
    m_font = (HFONT)GetStockObject(DEFAULT_GUI_FONT);
}

CBrowseControl::~CBrowseControl()
{
    for (auto& entry : m_icons)
        DestroyIcon(entry.second);
}

LRESULT CALLBACK CBrowseControl::WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    CBrowseControl* self = (CBrowseControl*)GetWindowLongPtrA(hwnd, 0);
    if (msg == WM_NCCREATE) {
        self = new CBrowseControl(hwnd);
        SetWindowLongPtrA(hwnd, 0, (LONG_PTR)self);
        if (self->m_attr[BRA_BORDER])
            SetWindowLongA(hwnd, GWL_EXSTYLE, GetWindowLongA(hwnd, GWL_EXSTYLE) | WS_EX_CLIENTEDGE);
    }
    if (!self)
        return DefWindowProcA(hwnd, msg, wp, lp);
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, 0, 0);
        if (self->m_callDepth > 0)
            self->m_destroyed = true; // freed by the call that is still running
        else
            delete self;
        return DefWindowProcA(hwnd, msg, wp, lp);
    }
    LRESULT result;
    {
        CallGuard guard(self->m_callDepth);
        result = self->Handle(msg, wp, lp);
    }
    if (self->m_destroyed && self->m_callDepth == 0)
        delete self;
    return result;
}

LRESULT CBrowseControl::Fire(int event, LPARAM param)
{
    if (!m_callback || m_destroyed)
        return 0;
    return m_callback(m_hwnd, event, param);
}

void CBrowseControl::FireSelection(int oldCurrent, bool selectionChanged)
{
    if (selectionChanged)
        Fire(BRE_SELCHANGE, m_current);
    if (!m_destroyed && m_current != oldCurrent)
        Fire(BRE_CURCHANGE, m_current);
}

// ---- messages ------------------------------------------------------------------------------------

LRESULT CBrowseControl::Handle(UINT msg, WPARAM wp, LPARAM lp)
{
    bool handled = true;
    LRESULT result = HandleProtocol(msg, wp, lp, &handled);
    if (handled)
        return result;

    switch (msg) {
    case WM_CREATE:
        UpdateMetrics();
        return 0;
    case WM_SETFONT:
        m_font = wp ? (HFONT)wp : (HFONT)GetStockObject(DEFAULT_GUI_FONT);
        UpdateMetrics();
        if (LOWORD(lp))
            InvalidateRect(m_hwnd, nullptr, FALSE);
        return 0;
    case WM_GETFONT:
        return (LRESULT)m_font;
    case WM_SIZE:
        ApplyPercentWidths();
        Changed();
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(m_hwnd, &ps);
        m_invalid = false;
        UpdateScrollBars();
        RECT client;
        GetClientRect(m_hwnd, &client);
        if (client.right > 0 && client.bottom > 0) {
            HDC mem = CreateCompatibleDC(dc);
            HBITMAP bmp = CreateCompatibleBitmap(dc, client.right, client.bottom);
            HGDIOBJ old = SelectObject(mem, bmp);
            Paint(mem, client);
            BitBlt(dc, 0, 0, client.right, client.bottom, mem, 0, 0, SRCCOPY);
            SelectObject(mem, old);
            DeleteObject(bmp);
            DeleteDC(mem);
        }
        EndPaint(m_hwnd, &ps);
        return 0;
    }
    case WM_SETFOCUS:
        m_focus = true;
        InvalidateRect(m_hwnd, nullptr, FALSE);
        return 0;
    case WM_KILLFOCUS:
        m_focus = false;
        InvalidateRect(m_hwnd, nullptr, FALSE);
        return 0;
    case WM_GETDLGCODE: {
        LRESULT code = DLGC_WANTARROWS | DLGC_WANTCHARS;
        const MSG* m = (const MSG*)lp;
        if (m && m->message == WM_KEYDOWN && m->wParam == VK_RETURN && m_callback)
            code |= DLGC_WANTMESSAGE; // the owner sees Return first (BRE_KEY)
        return code;
    }
    case WM_VSCROLL: {
        SCROLLINFO si{sizeof si, SIF_ALL};
        GetScrollInfo(m_hwnd, SB_VERT, &si);
        int top = m_top, page = std::max(1, VisibleRows());
        switch (LOWORD(wp)) {
        case SB_LINEUP: top--; break;
        case SB_LINEDOWN: top++; break;
        case SB_PAGEUP: top -= page; break;
        case SB_PAGEDOWN: top += page; break;
        case SB_TOP: top = 0; break;
        case SB_BOTTOM: top = (int)m_rows.size(); break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: top = si.nTrackPos; break;
        }
        ScrollTo(top, m_xScroll);
        return 0;
    }
    case WM_HSCROLL: {
        SCROLLINFO si{sizeof si, SIF_ALL};
        GetScrollInfo(m_hwnd, SB_HORZ, &si);
        int x = m_xScroll;
        RECT client;
        GetClientRect(m_hwnd, &client);
        switch (LOWORD(wp)) {
        case SB_LINELEFT: x -= 20; break;
        case SB_LINERIGHT: x += 20; break;
        case SB_PAGELEFT: x -= client.right; break;
        case SB_PAGERIGHT: x += client.right; break;
        case SB_LEFT: x = 0; break;
        case SB_RIGHT: x = TotalWidth(); break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: x = si.nTrackPos; break;
        }
        ScrollTo(m_top, x);
        return 0;
    }
    case WM_MOUSEWHEEL: {
        int notches = (short)HIWORD(wp) / WHEEL_DELTA;
        ScrollTo(m_top - 3 * notches, m_xScroll);
        return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        OnLButtonDown(GET_X_LPARAM(lp), GET_Y_LPARAM(lp), (UINT)wp, msg == WM_LBUTTONDBLCLK);
        return 0;
    case WM_RBUTTONDOWN:
        OnRButtonDown(GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
        return 0;
    case WM_MOUSEMOVE:
        OnMouseMove(GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
        return 0;
    case WM_LBUTTONUP:
        OnLButtonUp(GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
        return 0;
    case WM_CAPTURECHANGED:
        if ((HWND)lp != m_hwnd) {
            m_drag = Drag::None;
            InvalidateRect(m_hwnd, nullptr, FALSE);
        }
        return 0;
    case WM_SETCURSOR:
        if (LOWORD(lp) == HTCLIENT) {
            POINT pt;
            GetCursorPos(&pt);
            ScreenToClient(m_hwnd, &pt);
            if (m_drag == Drag::Size || HitDivider(pt.x, pt.y) >= 0) {
                SetCursor(LoadCursorA(nullptr, (LPCSTR)IDC_SIZEWE));
                return TRUE;
            }
        }
        break;
    case WM_KEYDOWN:
        if (Fire(BRE_KEY, BRKEY_MAKE(WM_KEYDOWN, wp)) == 0 && !m_destroyed)
            OnKeyDown((UINT)wp);
        return 0;
    case WM_KEYUP:
        // the context-menu key's WM_CONTEXTMENU comes from the default processing of its key-up
        if (Fire(BRE_KEY, BRKEY_MAKE(WM_KEYUP, wp)) != 0 || m_destroyed)
            return 0;
        break;
    case WM_CONTEXTMENU:
        if (lp == -1) {
            Fire(BRE_CONTEXTMENU, 0);
            return 0;
        }
        break;
    case WM_COMMAND:
        if ((HWND)lp == m_edit && m_edit && HIWORD(wp) == EN_KILLFOCUS)
            EndEdit(true);
        return 0;
    }
    return DefWindowProcA(m_hwnd, msg, wp, lp);
}

LRESULT CBrowseControl::HandleProtocol(UINT msg, WPARAM wp, LPARAM lp, bool* handled)
{
    const int row = (int)wp;
    switch (msg) {
    case BRM_SETATTRIBUTE: {
        if (wp >= BRA_COUNT)
            return BRERR_ARGUMENT;
        int old = m_attr[wp];
        m_attr[wp] = (int)lp;
        if (wp == BRA_BORDER && (old != 0) != (lp != 0)) {
            LONG ex = GetWindowLongA(m_hwnd, GWL_EXSTYLE);
            ex = lp ? (ex | WS_EX_CLIENTEDGE) : (ex & ~WS_EX_CLIENTEDGE);
            SetWindowLongA(m_hwnd, GWL_EXSTYLE, ex);
            SetWindowPos(m_hwnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
        }
        Changed();
        return old;
    }
    case BRM_SAVELAYOUT:
        return SaveLayout(wp, (const void*)lp);
    case BRM_LOADLAYOUT:
        return LoadLayout(wp, (const void*)lp);
    case BRM_GETCOLUMN: {
        BRCOLUMN* d = (BRCOLUMN*)lp;
        if (!d || d->cb != (int32_t)sizeof(BRCOLUMN))
            return BRERR_RECORD;
        if (!ValidColumn((int)wp))
            return BRERR_COLUMN;
        const Column& c = m_columns[wp];
        memset(d, 0, sizeof *d);
        d->cb = sizeof *d;
        d->index = (int32_t)wp;
        lstrcpynA(d->title, c.title.c_str(), sizeof d->title);
        d->autoToggle = c.autoToggle;
        d->flags = c.flags;
        d->width = EffectiveWidths()[wp];
        d->editLimit = c.editLimit;
        d->position = (int32_t)(std::find(m_order.begin(), m_order.end(), (int)wp) - m_order.begin());
        d->cellKind = c.cellKind;
        return 0;
    }
    case BRM_SETCOLUMN: {
        const BRCOLUMN* d = (const BRCOLUMN*)lp;
        if (!d || d->cb != (int32_t)sizeof(BRCOLUMN))
            return BRERR_RECORD;
        if (!ValidColumn((int)wp) || d->index != (int32_t)wp)
            return BRERR_COLUMN;
        Column& c = m_columns[wp];
        char title[sizeof d->title + 1] = {};
        memcpy(title, d->title, sizeof d->title);
        c.title = title;
        c.autoToggle = d->autoToggle;
        c.flags = d->flags;
        if (d->width != EffectiveWidths()[wp] && d->width >= 0) {
            c.width = d->width;
            c.percent = -1;
        }
        c.editLimit = std::max(0, d->editLimit);
        c.cellKind = d->cellKind;
        Changed();
        return 0;
    }
    case BRM_REFRESHROW:
    case BRM_REDRAWROW:
        if ((wp & 0xFFFF) == BRROW_ALL) {
            Changed();
            return 0;
        }
        if (!ValidRow((int)(wp & 0xFFFF)))
            return BRERR_ROW;
        Changed();
        return 0;
    case BRM_GETHITROW: {
        POINT pt;
        GetCursorPos(&pt);
        ScreenToClient(m_hwnd, &pt);
        return BRHIT_MAKE(HitRow(pt.y), HitColumn(pt.x));
    }
    case BRM_SETCALLBACK:
        m_callback = (BRWEVENTPROC)lp;
        UpdateMetrics();
        return 0;
    case BRM_SETTITLES:
        if (!lp)
            return BRERR_RECORD;
        SetTitles((const char*)lp);
        return (LRESULT)m_columns.size();
    case BRM_SETSTYLE: {
        int old = m_style;
        m_style = (int)lp;
        if (!(m_style & BRS_MULTISELECT)) {
            for (auto& r : m_rows)
                r->selected = false;
            if (ValidRow(m_current))
                m_rows[m_current]->selected = true;
        }
        UpdateMetrics();
        Changed();
        return old;
    }
    case BRM_SETROWTEXT:
        if (!lp)
            return BRERR_RECORD;
        if (!ValidRow(row))
            return BRERR_ROW;
        if (m_sorting)
            return BRERR_BUSY;
        m_rows[row]->text = (const char*)lp;
        Changed();
        return 0;
    case BRM_RESETCONTENT:
        if (m_sorting)
            return BRERR_BUSY;
        ResetRows();
        return 0;
    case BRM_SETCURROW:
        if (row != -1 && !ValidRow(row))
            return BRERR_ROW;
        m_current = row;
        m_anchor = row;
        if (!(m_style & BRS_MULTISELECT)) {
            for (auto& r : m_rows)
                r->selected = false;
            if (row >= 0)
                m_rows[row]->selected = true;
        }
        EnsureVisible(row);
        Changed();
        return 0;
    case BRM_SETSORTORDER: {
        if (m_sorting)
            return BRERR_BUSY;
        int old = m_sortOrder;
        m_sortOrder = (int)wp;
        SortRows();
        return old;
    }
    case BRM_GETTEXTLEN:
        if (!ValidRow(row))
            return BRERR_ROW;
        return (LRESULT)m_rows[row]->text.size();
    case BRM_GETTEXT:
        if (!ValidRow(row))
            return BRERR_ROW;
        if (!lp)
            return BRERR_RECORD;
        memcpy((char*)lp, m_rows[row]->text.c_str(), m_rows[row]->text.size() + 1);
        return (LRESULT)m_rows[row]->text.size();
    case BRM_GETCURROW:
        return ValidRow(m_current) ? m_current : -1;
    case BRM_GETCOUNT:
        return (LRESULT)m_rows.size();
    case BRM_GETSORTORDER:
        return m_sortOrder;
    case BRM_SETCOLWIDTHS: {
        const int32_t* widths = (const int32_t*)lp;
        int count = (int)wp;
        if (!widths)
            return BRERR_RECORD;
        if (count <= 0)
            return BRERR_ARGUMENT;
        for (int i = 0; i < count && i < (int)m_columns.size(); i++)
            m_columns[i].percent = std::max(0, std::min(100, (int)widths[i]));
        ApplyPercentWidths();
        Changed();
        return 0;
    }
    case BRM_BEGINEDIT:
        return BeginEdit((int)wp);
    case BRM_GETICON: {
        return (LRESULT)Icon((int)wp);
    }
    case BRM_SETICON: {
        int number = (int)wp;
        auto it = m_icons.find(number);
        if (it != m_icons.end()) {
            DestroyIcon(it->second);
            m_icons.erase(it);
        }
        if (lp) {
            HICON copy = CopyIcon((HICON)lp);
            if (!copy)
                return BRERR_RECORD;
            m_icons[number] = copy;
        }
        Changed();
        return 0;
    }
    case BRM_GETCELLLEN:
    case BRM_GETCELLTEXT:
    case BRM_SETCELLTEXT: {
        BRCELL* cell = (BRCELL*)lp;
        if (!cell || cell->cb != (int32_t)sizeof(BRCELL))
            return BRERR_RECORD;
        if (!ValidRow(cell->row))
            return BRERR_ROW;
        if (!ValidColumn(cell->column))
            return BRERR_COLUMN;
        Row& r = *m_rows[cell->row];
        if (msg == BRM_SETCELLTEXT) {
            if (!cell->text)
                return BRERR_RECORD;
            if (m_sorting)
                return BRERR_BUSY;
            r.text = ReplaceCell(r.text, cell->column, cell->text);
            Changed();
            return 0;
        }
        std::string text = CellOf(r.text, cell->column);
        if (msg == BRM_GETCELLLEN)
            return (LRESULT)text.size();
        if (!cell->text)
            return BRERR_RECORD;
        if (cell->size < (int32_t)text.size() + 1)
            return BRERR_BUFFER;
        memcpy(cell->text, text.c_str(), text.size() + 1);
        return 0;
    }
    case BRM_GETCOLCOUNT:
        return (LRESULT)m_columns.size();
    case BRM_ADDROW: {
        const BRADDROW* add = (const BRADDROW*)lp;
        if (!add || add->cb != (int32_t)sizeof(BRADDROW) || !add->text)
            return BRERR_RECORD;
        return AddRow(add->text, add->itemData, wp);
    }
    case LB_ADDSTRING:
        if (!lp)
            return LB_ERR;
        return AddRow((const char*)lp, 0, BRPOS_END);
    case LB_DELETESTRING:
        return DeleteRow(row);
    case LB_GETSEL:
        if (!ValidRow(row))
            return LB_ERR;
        return m_rows[row]->selected ? 1 : 0;
    case LB_GETCURSEL:
        return ValidRow(m_current) ? m_current : LB_ERR;
    case LB_SETSEL: {
        int target = (int)lp;
        if (target == -1) {
            if (!(m_style & BRS_MULTISELECT) && wp)
                return LB_ERR;
            for (auto& r : m_rows)
                r->selected = wp != 0;
        } else {
            if (!ValidRow(target))
                return LB_ERR;
            if (!(m_style & BRS_MULTISELECT)) {
                for (auto& r : m_rows)
                    r->selected = false;
                if (wp)
                    m_current = m_anchor = target;
            }
            m_rows[target]->selected = wp != 0;
        }
        Changed();
        return 0;
    }
    case LB_GETSELCOUNT:
        return SelectedCount();
    case LB_GETITEMDATA:
        if (!ValidRow(row))
            return LB_ERR;
        return m_rows[row]->data;
    case LB_SETITEMDATA:
        if (!ValidRow(row))
            return LB_ERR;
        m_rows[row]->data = lp;
        return 0;
    case WM_SETREDRAW:
        m_redraw = wp != 0;
        if (m_redraw) {
            m_invalid = false;
            Changed();
        }
        return 0;
    }
    *handled = false;
    return 0;
}

// ---- rows ----------------------------------------------------------------------------------------

int CBrowseControl::AddRow(const char* text, LPARAM data, WPARAM position)
{
    if (m_sorting)
        return BRERR_BUSY;
    std::unique_ptr<Row> r(new Row);
    r->text = text;
    r->data = data;
    m_rows.push_back(std::move(r));
    int index = (int)m_rows.size() - 1;
    if (m_sortOrder != 0 && ValidColumn(std::abs(m_sortOrder) - 1)) {
        index = PlaceRow(index);
    } else if (position < (WPARAM)index) {
        std::rotate(m_rows.begin() + position, m_rows.end() - 1, m_rows.end());
        index = (int)position;
    } else {
        Changed();
        return index;
    }
    if (m_current >= index)
        m_current++;
    if (m_anchor >= index)
        m_anchor++;
    Changed();
    return index;
}

int CBrowseControl::DeleteRow(int row)
{
    if (!ValidRow(row))
        return LB_ERR;
    if (m_sorting)
        return BRERR_BUSY;
    if (m_edit && m_editRow == row)
        EndEdit(false);
    m_rows.erase(m_rows.begin() + row);
    int count = (int)m_rows.size();
    if (m_current > row || m_current >= count)
        m_current--;
    if (m_anchor > row || m_anchor >= count)
        m_anchor--;
    if (!(m_style & BRS_MULTISELECT) && ValidRow(m_current))
        m_rows[m_current]->selected = true;
    if (m_top > 0 && m_top >= count)
        m_top = std::max(0, count - 1);
    Changed();
    return count;
}

void CBrowseControl::ResetRows()
{
    if (m_edit)
        EndEdit(false);
    m_rows.clear();
    m_current = m_anchor = -1;
    m_top = 0;
    Changed();
}

int CBrowseControl::SelectedCount() const
{
    int n = 0;
    for (const auto& r : m_rows)
        n += r->selected ? 1 : 0;
    return n;
}

// ---- sorting -------------------------------------------------------------------------------------

// Compares rows a and b by the sorted column in ascending order.
int CBrowseControl::CompareRows(int a, int b)
{
    int col = std::abs(m_sortOrder) - 1;
    bool cached = m_sortKeys.size() == m_rows.size();
    std::string ownA, ownB;
    if (!cached) {
        ownA = CellOf(m_rows[a]->text, col);
        ownB = CellOf(m_rows[b]->text, col);
    }
    const std::string& ta = cached ? m_sortKeys[a] : ownA;
    const std::string& tb = cached ? m_sortKeys[b] : ownB;
    if ((m_columns[col].flags & BRCF_OWNERSORT) && m_callback) {
        BRCOMPARE rec{sizeof rec, col, a, b, ta.c_str(), tb.c_str()};
        LRESULT r = Fire(BRE_COMPARE, (LPARAM)&rec);
        return (int)r < 0 ? -1 : ((int)r > 0 ? 1 : 0);
    }
    return lstrcmpiA(ta.c_str(), tb.c_str());
}

// A stable bottom-up merge sort of the row order: at most n log2 n comparisons, and sound even
// when the owner's comparison is inconsistent. The rows keep their indexes while it compares.
void CBrowseControl::SortRows()
{
    int col = std::abs(m_sortOrder) - 1;
    if (m_sortOrder == 0 || !ValidColumn(col) || m_rows.size() < 2) {
        Changed();
        return;
    }
    if (m_edit)
        EndEdit(true);
    const bool descending = m_sortOrder < 0;
    size_t n = m_rows.size();
    std::vector<int> order(n), buffer(n);
    for (size_t i = 0; i < n; i++)
        order[i] = (int)i;
    // the sorted column's cells, split once (rows cannot change while sorting)
    m_sortKeys.resize(n);
    for (size_t i = 0; i < n; i++)
        m_sortKeys[i] = CellOf(m_rows[i]->text, col);
    m_sorting = true;
    for (size_t width = 1; width < n && !m_destroyed; width *= 2) {
        for (size_t lo = 0; lo < n; lo += 2 * width) {
            size_t mid = std::min(lo + width, n), hi = std::min(lo + 2 * width, n);
            size_t i = lo, j = mid, k = lo;
            while (i < mid && j < hi) {
                // the right one is taken only when it belongs strictly before the left one, so
                // equal rows keep their order in both directions
                int c = CompareRows(order[i], order[j]);
                bool takeRight = descending ? c < 0 : c > 0;
                buffer[k++] = takeRight ? order[j++] : order[i++];
            }
            while (i < mid)
                buffer[k++] = order[i++];
            while (j < hi)
                buffer[k++] = order[j++];
        }
        order.swap(buffer);
    }
    m_sorting = false;
    m_sortKeys.clear();
    if (m_destroyed)
        return;
    Row* current = ValidRow(m_current) ? m_rows[m_current].get() : nullptr;
    Row* anchor = ValidRow(m_anchor) ? m_rows[m_anchor].get() : nullptr;
    std::vector<std::unique_ptr<Row>> sorted(n);
    for (size_t i = 0; i < n; i++)
        sorted[i] = std::move(m_rows[order[i]]);
    m_rows.swap(sorted);
    for (size_t i = 0; i < n; i++) {
        if (m_rows[i].get() == current)
            m_current = (int)i;
        if (m_rows[i].get() == anchor)
            m_anchor = (int)i;
    }
    Changed();
}

// Moves the row (the last one, just added) to its place by binary search; answers its index.
int CBrowseControl::PlaceRow(int row)
{
    int lo = 0, hi = row;
    m_sorting = true;
    while (lo < hi && !m_destroyed) {
        int mid = (lo + hi) / 2;
        int c = CompareRows(row, mid);
        if (m_sortOrder < 0)
            c = -c;
        if (c < 0)
            hi = mid;
        else
            lo = mid + 1;
    }
    m_sorting = false;
    if (lo < row)
        std::rotate(m_rows.begin() + lo, m_rows.begin() + row, m_rows.begin() + row + 1);
    return lo;
}

// ---- columns and geometry ------------------------------------------------------------------------

void CBrowseControl::SetTitles(const char* text)
{
    std::vector<std::string> titles = SplitCells(text);
    size_t old = m_columns.size();
    m_columns.resize(titles.size());
    for (size_t i = 0; i < titles.size(); i++)
        m_columns[i].title = titles[i];
    if (m_columns.size() != old) {
        m_order.clear();
        for (size_t i = 0; i < m_columns.size(); i++)
            m_order.push_back((int)i);
        m_xScroll = 0;
    }
    if (m_sortOrder != 0 && old <= (size_t)(std::abs(m_sortOrder) - 1))
        SortRows();
    Changed();
}

void CBrowseControl::ApplyPercentWidths()
{
    RECT client;
    GetClientRect(m_hwnd, &client);
    if (client.right <= 0)
        return;
    for (Column& c : m_columns)
        if (c.percent >= 0)
            c.width = c.percent * client.right / 100;
}

// Widths as drawn: a stretching column takes what the others leave of the client width.
std::vector<int> CBrowseControl::EffectiveWidths() const
{
    std::vector<int> widths;
    int sum = 0;
    for (const Column& c : m_columns) {
        widths.push_back(c.width);
        sum += c.width;
    }
    RECT client;
    GetClientRect(m_hwnd, &client);
    for (size_t i = 0; i < m_columns.size(); i++)
        if ((m_columns[i].flags & BRCF_STRETCH) && sum < client.right) {
            widths[i] += client.right - sum;
            break;
        }
    return widths;
}

int CBrowseControl::TotalWidth() const
{
    int sum = 0;
    for (int w : EffectiveWidths())
        sum += w;
    return sum;
}

int CBrowseControl::HeaderHeight() const
{
    return m_attr[BRA_NOHEADER] ? 0 : m_fontHeight + 9;
}

int CBrowseControl::VisibleRows() const
{
    RECT client;
    GetClientRect(m_hwnd, &client);
    return std::max(0, (int)(client.bottom - HeaderHeight()) / m_rowHeight);
}

int CBrowseControl::ColumnLeft(int col) const
{
    std::vector<int> widths = EffectiveWidths();
    int x = -m_xScroll;
    for (int c : m_order) {
        if (c == col)
            return x;
        x += widths[c];
    }
    return x;
}

int CBrowseControl::HitRow(int y) const
{
    int top = HeaderHeight();
    if (y < top)
        return -1;
    int row = m_top + (y - top) / m_rowHeight;
    return ValidRow(row) ? row : -1;
}

int CBrowseControl::HitColumn(int x) const
{
    std::vector<int> widths = EffectiveWidths();
    int left = -m_xScroll;
    for (int c : m_order) {
        if (x >= left && x < left + widths[c])
            return c;
        left += widths[c];
    }
    return -1;
}

// The column whose right edge is under the point in the header, -1 for none.
int CBrowseControl::HitDivider(int x, int y) const
{
    if (y < 0 || y >= HeaderHeight())
        return -1;
    std::vector<int> widths = EffectiveWidths();
    int right = -m_xScroll;
    int found = -1;
    for (int c : m_order) {
        right += widths[c];
        if (std::abs(x - right) <= kDividerSlack && !(m_columns[c].flags & BRCF_NOSIZE))
            found = c; // the last one wins: a zero-width column can be pulled open again
    }
    return found;
}

RECT CBrowseControl::CellRect(int row, int col) const
{
    RECT rc;
    rc.left = ColumnLeft(col);
    rc.right = rc.left + EffectiveWidths()[col];
    rc.top = HeaderHeight() + (row - m_top) * m_rowHeight;
    rc.bottom = rc.top + m_rowHeight;
    return rc;
}

void CBrowseControl::UpdateMetrics()
{
    HDC dc = GetDC(m_hwnd);
    HGDIOBJ old = SelectObject(dc, m_font);
    TEXTMETRICA tm;
    GetTextMetricsA(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(m_hwnd, dc);
    m_fontHeight = tm.tmHeight;
    int height = std::max(m_fontHeight + 5, kIconSize + 3);
    LRESULT asked = Fire(BRE_ROWHEIGHT, height);
    if (m_destroyed)
        return;
    if (asked > 0)
        height = std::max(8, std::min(200, (int)asked));
    m_rowHeight = height;
    Changed();
}

void CBrowseControl::UpdateScrollBars()
{
    RECT client;
    GetClientRect(m_hwnd, &client);
    int visible = VisibleRows();
    int count = (int)m_rows.size();
    int maxTop = std::max(0, count - visible);
    if (m_top > maxTop)
        m_top = maxTop;
    SCROLLINFO si{sizeof si, SIF_ALL | SIF_DISABLENOSCROLL};
    si.nMin = 0;
    si.nMax = std::max(0, count - 1);
    si.nPage = (UINT)std::max(1, visible);
    si.nPos = m_top;
    si.fMask = SIF_ALL;
    SetScrollInfo(m_hwnd, SB_VERT, &si, TRUE);
    int total = TotalWidth();
    if (m_xScroll > std::max(0, total - (int)client.right))
        m_xScroll = std::max(0, total - (int)client.right);
    SCROLLINFO sh{sizeof sh, SIF_ALL};
    sh.nMin = 0;
    sh.nMax = std::max(0, total - 1);
    sh.nPage = (UINT)std::max(1, (int)client.right);
    sh.nPos = m_xScroll;
    SetScrollInfo(m_hwnd, SB_HORZ, &sh, TRUE);
}

void CBrowseControl::Changed()
{
    if (m_redraw && !m_invalid) {
        m_invalid = true;
        InvalidateRect(m_hwnd, nullptr, FALSE);
    }
}

void CBrowseControl::EnsureVisible(int row)
{
    if (!ValidRow(row))
        return;
    int visible = std::max(1, VisibleRows());
    if (row < m_top)
        m_top = row;
    else if (row >= m_top + visible)
        m_top = row - visible + 1;
    Changed();
}

void CBrowseControl::ScrollTo(int top, int x)
{
    RECT client;
    GetClientRect(m_hwnd, &client);
    int maxTop = std::max(0, (int)m_rows.size() - VisibleRows());
    m_top = std::max(0, std::min(top, maxTop));
    m_xScroll = std::max(0, std::min(x, TotalWidth() - (int)client.right));
    if (m_edit)
        EndEdit(true);
    Changed();
}

// ---- drawing -------------------------------------------------------------------------------------

CBrowseControl::Colors CBrowseControl::GetColors() const
{
    Colors c;
    c.line = RGB(216, 216, 216);
    if (m_attr[BRA_COLORS] == 0) {
        c.headerBk = m_attr[BRA_CLR_HEADERBK];
        c.headerTx = m_attr[BRA_CLR_HEADERTX];
        c.rowBk = m_attr[BRA_CLR_ROWBK];
        c.rowTx = m_attr[BRA_CLR_ROWTX];
        c.altBk = m_attr[BRA_CLR_ALTBK];
        c.altTx = m_attr[BRA_CLR_ALTTX];
        c.selBk = m_attr[BRA_CLR_SELBK];
        c.selTx = m_attr[BRA_CLR_SELTX];
        c.curBk = m_attr[BRA_CLR_CURBK];
        c.curTx = m_attr[BRA_CLR_CURTX];
        return c;
    }
    c.headerBk = GetSysColor(COLOR_BTNFACE);
    c.headerTx = GetSysColor(COLOR_BTNTEXT);
    c.rowBk = c.altBk = c.curBk = GetSysColor(COLOR_WINDOW);
    c.rowTx = c.altTx = c.curTx = GetSysColor(COLOR_WINDOWTEXT);
    int tint = m_attr[BRA_SELTINT];
    c.selBk = Blend((COLORREF)m_attr[BRA_SELCOLOR], c.rowBk, tint);
    c.selTx = tint >= 60 ? GetSysColor(COLOR_HIGHLIGHTTEXT) : c.rowTx;
    return c;
}

HICON CBrowseControl::Icon(int number) const
{
    auto it = m_icons.find(number);
    if (it != m_icons.end())
        return it->second;
    return BuiltinIcon(number);
}

void CBrowseControl::Paint(HDC dc, const RECT& client)
{
    Colors colors = GetColors();
    HGDIOBJ oldFont = SelectObject(dc, m_font);
    SetBkMode(dc, TRANSPARENT);
    std::vector<int> widths = EffectiveWidths();
    int total = 0;
    for (int w : widths)
        total += w;

    HBRUSH bk = CreateSolidBrush(colors.rowBk);
    FillRect(dc, &client, bk);
    DeleteObject(bk);

    int top = HeaderHeight();
    int visible = VisibleRows() + 1;
    HPEN linePen = CreatePen(PS_SOLID, 1, colors.line);
    for (int i = 0; i < visible; i++) {
        int r = m_top + i;
        if (!ValidRow(r))
            break;
        const Row& row = *m_rows[r];
        RECT rc = {0, top + i * m_rowHeight, client.right, top + (i + 1) * m_rowHeight};
        COLORREF back = (r % 2) ? colors.altBk : colors.rowBk;
        COLORREF text = (r % 2) ? colors.altTx : colors.rowTx;
        if (r == m_current && !row.selected) {
            back = colors.curBk;
            text = colors.curTx;
        }
        HBRUSH b = CreateSolidBrush(back);
        FillRect(dc, &rc, b);
        DeleteObject(b);
        if (row.selected) {
            RECT sel = rc;
            if (!m_attr[BRA_FULLROWSELECT]) {
                sel.left = -m_xScroll;
                sel.right = std::min((int)client.right, total - m_xScroll);
            }
            HBRUSH s = CreateSolidBrush(colors.selBk);
            FillRect(dc, &sel, s);
            DeleteObject(s);
            text = colors.selTx;
        }
        std::vector<std::string> cells = SplitCells(row.text);
        int x = -m_xScroll;
        for (int c : m_order) {
            RECT cell = {x, rc.top, x + widths[c], rc.bottom};
            x += widths[c];
            if (cell.right <= 0 || cell.left >= client.right || widths[c] <= 0)
                continue;
            PaintCell(dc, cell, c < (int)cells.size() ? cells[c] : std::string(), m_columns[c], text);
        }
        HGDIOBJ oldPen = SelectObject(dc, linePen);
        if (m_attr[BRA_ROWLINES]) {
            MoveToEx(dc, 0, rc.bottom - 1, nullptr);
            LineTo(dc, std::min((int)client.right, total - m_xScroll), rc.bottom - 1);
        }
        SelectObject(dc, oldPen);
        if (r == m_current && m_focus && !m_edit) {
            RECT focus = rc;
            focus.right = std::min((int)client.right, total - m_xScroll);
            SetTextColor(dc, RGB(0, 0, 0));
            SetBkColor(dc, RGB(255, 255, 255));
            DrawFocusRect(dc, &focus);
        }
    }
    if (m_attr[BRA_COLUMNLINES]) {
        HGDIOBJ oldPen = SelectObject(dc, linePen);
        int x = -m_xScroll;
        int bottom = top + std::min(visible, (int)m_rows.size() - m_top) * m_rowHeight;
        for (int c : m_order) {
            x += widths[c];
            MoveToEx(dc, x - 1, top, nullptr);
            LineTo(dc, x - 1, bottom);
        }
        SelectObject(dc, oldPen);
    }
    DeleteObject(linePen);
    PaintHeader(dc, client);
    SelectObject(dc, oldFont);
}

void CBrowseControl::PaintHeader(HDC dc, const RECT& client)
{
    int height = HeaderHeight();
    if (height == 0)
        return;
    Colors colors = GetColors();
    RECT band = {0, 0, client.right, height};
    HBRUSH bk = CreateSolidBrush(colors.headerBk);
    FillRect(dc, &band, bk);
    DeleteObject(bk);
    std::vector<int> widths = EffectiveWidths();
    int x = -m_xScroll;
    int sortColumn = std::abs(m_sortOrder) - 1;
    for (int c : m_order) {
        RECT rc = {x, 0, x + widths[c], height};
        x += widths[c];
        if (rc.right <= 0 || rc.left >= client.right || widths[c] <= 0)
            continue;
        RECT inner = rc;
        if (m_drag == Drag::HeaderPress && m_dragColumn == c)
            OffsetRect(&inner, 1, 1);
        Column shown = m_columns[c];
        shown.cellKind = BRCK_TEXT; // a check column's title is text
        if (c == sortColumn && m_sortOrder != 0)
            inner.right -= 12;
        PaintCell(dc, inner, shown.title, shown, colors.headerTx);
        if (c == sortColumn && m_sortOrder != 0 && rc.right - rc.left > 14) {
            int ax = rc.right - 11, ay = height / 2;
            POINT tri[3];
            if (m_sortOrder > 0) {
                tri[0] = {ax, ay + 2};
                tri[1] = {ax + 7, ay + 2};
                tri[2] = {ax + 3, ay - 2};
            } else {
                tri[0] = {ax, ay - 2};
                tri[1] = {ax + 7, ay - 2};
                tri[2] = {ax + 3, ay + 2};
            }
            HBRUSH ab = CreateSolidBrush(RGB(90, 90, 90));
            HGDIOBJ ob = SelectObject(dc, ab);
            HGDIOBJ op = SelectObject(dc, GetStockObject(NULL_PEN));
            Polygon(dc, tri, 3);
            SelectObject(dc, ob);
            SelectObject(dc, op);
            DeleteObject(ab);
        }
        DrawEdge(dc, &rc, BDR_RAISEDINNER, BF_RIGHT | BF_BOTTOM);
    }
    if (m_drag == Drag::Move) {
        // the drop place of a moved column
        POINT pt;
        GetCursorPos(&pt);
        ScreenToClient(m_hwnd, &pt);
        RECT mark = {pt.x - 1, 0, pt.x + 1, height};
        HBRUSH mb = CreateSolidBrush(GetSysColor(COLOR_HIGHLIGHT));
        FillRect(dc, &mark, mb);
        DeleteObject(mb);
    }
    RECT line = {0, height - 1, client.right, height};
    HBRUSH lb = CreateSolidBrush(GetSysColor(COLOR_BTNSHADOW));
    FillRect(dc, &line, lb);
    DeleteObject(lb);
}

void CBrowseControl::PaintCell(HDC dc, const RECT& rc, const std::string& cell, const Column& col, COLORREF text)
{
    RECT clip = rc;
    clip.right -= 1;
    if (clip.right <= clip.left)
        return;
    int saved = SaveDC(dc);
    IntersectClipRect(dc, clip.left, clip.top, clip.right, clip.bottom);
    int midY = (rc.top + rc.bottom) / 2;
    if (col.cellKind == BRCK_CHECK && !cell.empty() && cell[0] != '\x02') {
        int size = 13;
        int left = (col.flags & BRCF_CENTER) ? (rc.left + rc.right - size) / 2 : rc.left + kPad;
        RECT box = {left, midY - size / 2, left + size, midY - size / 2 + size};
        UINT state = DFCS_BUTTONCHECK | DFCS_FLAT | (cell == "T" ? DFCS_CHECKED : 0);
        DrawFrameControl(dc, &box, DFC_BUTTON, state);
        RestoreDC(dc, saved);
        return;
    }
    CellParts parts = ParseCell(cell);
    HICON icon = parts.icon > 0 ? Icon(parts.icon) : nullptr;
    SIZE ext = {0, 0};
    if (!parts.text.empty())
        GetTextExtentPoint32A(dc, parts.text.c_str(), (int)parts.text.size(), &ext);
    int content = (icon ? kIconSize : 0) + (icon && ext.cx ? 3 : 0) + ext.cx;
    int x = rc.left + kPad;
    if ((col.flags & BRCF_CENTER) || (icon && parts.text.find_first_not_of(' ') == std::string::npos))
        x = std::max((int)rc.left + 1, (int)(rc.left + rc.right - content) / 2);
    if (icon) {
        DrawIconEx(dc, x, midY - kIconSize / 2, icon, kIconSize, kIconSize, 0, nullptr, DI_NORMAL);
        x += kIconSize + 3;
    }
    if (!parts.text.empty()) {
        RECT tr = {x, rc.top, rc.right - kPad, rc.bottom};
        SetTextColor(dc, text);
        UINT fmt = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | (m_attr[BRA_ELLIPSIS] ? DT_END_ELLIPSIS : 0);
        DrawTextA(dc, parts.text.c_str(), (int)parts.text.size(), &tr, fmt);
    }
    RestoreDC(dc, saved);
}

// ---- input ---------------------------------------------------------------------------------------

int CBrowseControl::FirstCheckColumn() const
{
    for (int c : m_order)
        if (m_columns[c].cellKind == BRCK_CHECK)
            return c;
    return -1;
}

void CBrowseControl::OnLButtonDown(int x, int y, UINT keys, bool dbl)
{
    if (m_edit)
        EndEdit(true);
    if (m_destroyed)
        return;
    if (GetFocus() != m_hwnd)
        SetFocus(m_hwnd);
    if (y < HeaderHeight()) {
        int divider = HitDivider(x, y);
        if (divider >= 0) {
            m_drag = Drag::Size;
            m_dragColumn = divider;
            m_dragStartX = x;
            m_dragStartWidth = EffectiveWidths()[divider];
        } else {
            m_dragColumn = HitColumn(x);
            if (m_dragColumn < 0)
                return;
            m_drag = Drag::HeaderPress;
            m_dragStartX = x;
        }
        SetCapture(m_hwnd);
        Changed();
        return;
    }
    int row = HitRow(y), col = HitColumn(x);
    BRMOUSE rec{sizeof rec, BRBUTTON_LEFT, x, y, row, col};
    Fire(BRE_MOUSECLICK, (LPARAM)&rec);
    if (m_destroyed || !ValidRow(row))
        return;
    if (!dbl)
        ClickRow(row, keys);
    if (m_destroyed || !ValidRow(row))
        return;
    if (ValidColumn(col) && m_columns[col].cellKind == BRCK_CHECK)
        ToggleCheck(row, col);
    if (dbl && !m_destroyed)
        Fire(BRE_DBLCLICK, row);
}

void CBrowseControl::OnRButtonDown(int x, int y)
{
    if (m_edit)
        EndEdit(true);
    if (m_destroyed)
        return;
    if (GetFocus() != m_hwnd)
        SetFocus(m_hwnd);
    if (y < HeaderHeight()) {
        int col = HitColumn(x);
        if (col >= 0)
            Fire(BRE_COLUMNMENU, col);
        return;
    }
    int row = HitRow(y), col = HitColumn(x);
    if (ValidRow(row) && !m_rows[row]->selected)
        ClickRow(row, 0);
    if (m_destroyed)
        return;
    BRMOUSE rec{sizeof rec, BRBUTTON_RIGHT, x, y, row, col};
    Fire(BRE_MOUSECLICK, (LPARAM)&rec);
}

void CBrowseControl::OnMouseMove(int x, int y)
{
    if (m_drag == Drag::Size && ValidColumn(m_dragColumn)) {
        Column& c = m_columns[m_dragColumn];
        c.width = std::max(kMinWidth, m_dragStartWidth + x - m_dragStartX);
        c.percent = -1;
        if (c.flags & BRCF_STRETCH) {
            // a stretching column sized by hand keeps the size it was given
            c.flags &= ~BRCF_STRETCH;
        }
        Changed();
        UpdateWindow(m_hwnd);
    } else if (m_drag == Drag::HeaderPress && std::abs(x - m_dragStartX) > GetSystemMetrics(SM_CXDRAG) &&
               !(m_columns[m_dragColumn].flags & BRCF_NOMOVE)) {
        m_drag = Drag::Move;
        Changed();
    } else if (m_drag == Drag::Move) {
        Changed();
    }
    (void)y;
}

void CBrowseControl::OnLButtonUp(int x, int y)
{
    Drag drag = m_drag;
    int col = m_dragColumn;
    m_drag = Drag::None;
    if (GetCapture() == m_hwnd)
        ReleaseCapture();
    Changed();
    if (drag == Drag::HeaderPress && HitColumn(x) == col && y < HeaderHeight())
        HeaderClick(col);
    else if (drag == Drag::Move && ValidColumn(col)) {
        // the column goes before the column under the drop point (at the end past the last)
        std::vector<int> widths = EffectiveWidths();
        std::vector<int> order = m_order;
        order.erase(std::find(order.begin(), order.end(), col));
        int left = -m_xScroll;
        size_t at = order.size();
        for (size_t i = 0, p = 0; p < m_order.size(); p++) {
            int c = m_order[p];
            if (c == col) {
                left += widths[c];
                continue;
            }
            if (x < left + widths[c] / 2) {
                at = i;
                break;
            }
            left += widths[c];
            i++;
        }
        // a column that does not move stays where it is
        if (at < order.size() && at == 0 && (m_columns[order[0]].flags & BRCF_NOMOVE))
            at = 1;
        order.insert(order.begin() + at, col);
        m_order = order;
    }
}

void CBrowseControl::HeaderClick(int col)
{
    uint32_t flags = m_columns[col].flags;
    if (!(flags & (BRCF_OWNERSORT | BRCF_TEXTSORT)))
        return;
    m_sortOrder = (m_sortOrder == col + 1) ? -(col + 1) : col + 1;
    SortRows();
    EnsureVisible(m_current);
    if (!m_destroyed)
        Fire(BRE_SORTCHANGED, 0);
}

void CBrowseControl::ClickRow(int row, UINT keys)
{
    int oldCurrent = m_current;
    std::vector<bool> before;
    for (const auto& r : m_rows)
        before.push_back(r->selected);
    bool multi = (m_style & BRS_MULTISELECT) != 0;
    bool ctrl = multi && (keys & MK_CONTROL);
    bool shift = multi && (keys & MK_SHIFT) && ValidRow(m_anchor);
    if (shift) {
        if (!ctrl)
            for (auto& r : m_rows)
                r->selected = false;
        for (int i = std::min(m_anchor, row); i <= std::max(m_anchor, row); i++)
            m_rows[i]->selected = true;
    } else if (ctrl) {
        m_rows[row]->selected = !m_rows[row]->selected;
        m_anchor = row;
    } else {
        for (auto& r : m_rows)
            r->selected = false;
        m_rows[row]->selected = true;
        m_anchor = row;
    }
    m_current = row;
    EnsureVisible(row);
    Changed();
    bool changed = false;
    for (size_t i = 0; i < m_rows.size(); i++)
        changed = changed || before[i] != m_rows[i]->selected;
    FireSelection(oldCurrent, changed);
}

void CBrowseControl::MoveCurrent(int row, bool shift, bool ctrl)
{
    if (m_rows.empty())
        return;
    row = std::max(0, std::min(row, (int)m_rows.size() - 1));
    bool multi = (m_style & BRS_MULTISELECT) != 0;
    if (multi && ctrl && !shift) {
        int old = m_current;
        m_current = row;
        EnsureVisible(row);
        Changed();
        FireSelection(old, false);
        return;
    }
    ClickRow(row, (shift ? MK_SHIFT : 0));
}

void CBrowseControl::ToggleCheck(int row, int col)
{
    std::string cell = CellOf(m_rows[row]->text, col);
    BRCHECK rec{sizeof rec, row, col, cell == "T" ? 1 : 0};
    if (Fire(BRE_CHECKING, (LPARAM)&rec) != 0 || m_destroyed)
        return;
    if (m_columns[col].autoToggle != 1 || !ValidRow(row))
        return;
    m_rows[row]->text = ReplaceCell(m_rows[row]->text, col, rec.checked ? "F" : "T");
    Changed();
    Fire(BRE_CHECKED, (LPARAM)&rec);
}

void CBrowseControl::OnKeyDown(UINT vk)
{
    bool shift = Shift(), ctrl = Ctrl();
    int page = std::max(1, VisibleRows() - 1);
    int cur = ValidRow(m_current) ? m_current : -1;
    switch (vk) {
    case VK_UP: MoveCurrent(cur < 0 ? 0 : cur - 1, shift, ctrl); break;
    case VK_DOWN: MoveCurrent(cur + 1, shift, ctrl); break;
    case VK_PRIOR: MoveCurrent(cur - page, shift, ctrl); break;
    case VK_NEXT: MoveCurrent(cur + page, shift, ctrl); break;
    case VK_HOME: MoveCurrent(0, shift, ctrl); break;
    case VK_END: MoveCurrent((int)m_rows.size() - 1, shift, ctrl); break;
    case VK_LEFT: ScrollTo(m_top, m_xScroll - 20); break;
    case VK_RIGHT: ScrollTo(m_top, m_xScroll + 20); break;
    case VK_F2:
        if (m_attr[BRA_EDITING]) {
            for (int c : m_order)
                if (BeginEdit(c) == 0)
                    break;
        }
        break;
    case VK_SPACE:
        if (cur < 0)
            break;
        if (ctrl && (m_style & BRS_MULTISELECT)) {
            m_rows[cur]->selected = !m_rows[cur]->selected;
            Changed();
            FireSelection(m_current, true);
        } else if (m_style & BRS_CHECKLIST) {
            int col = FirstCheckColumn();
            if (col >= 0)
                ToggleCheck(cur, col);
        }
        break;
    case VK_RETURN: {
        HWND parent = GetParent(m_hwnd);
        LRESULT def = parent ? SendMessageA(parent, DM_GETDEFID, 0, 0) : 0;
        if (HIWORD(def) == DC_HASDEFID) {
            HWND button = GetDlgItem(parent, LOWORD(def));
            if (button && IsWindowEnabled(button))
                PostMessageA(parent, WM_COMMAND, MAKEWPARAM(LOWORD(def), BN_CLICKED), (LPARAM)button);
        }
        break;
    }
    }
}

// ---- editing -------------------------------------------------------------------------------------

int CBrowseControl::BeginEdit(int col)
{
    if (!m_attr[BRA_EDITING])
        return BRERR_DENIED;
    if (!ValidRow(m_current))
        return BRERR_ROW;
    if (!ValidColumn(col))
        return BRERR_COLUMN;
    if (m_columns[col].cellKind == BRCK_CHECK)
        return BRERR_DENIED;
    if (m_edit)
        EndEdit(true);
    EnsureVisible(m_current);
    // the whole cell in view
    RECT client;
    GetClientRect(m_hwnd, &client);
    RECT rc = CellRect(m_current, col);
    if (rc.right > client.right || rc.left < 0)
        ScrollTo(m_top, m_xScroll + (rc.left < 0 ? rc.left : std::min(rc.left, rc.right - client.right)));
    rc = CellRect(m_current, col);
    CellParts parts = ParseCell(CellOf(m_rows[m_current]->text, col));
    int iconSpace = parts.icon > 0 ? kIconSize + 3 : 0;
    m_editRow = m_current;
    m_editColumn = col;
    m_edit = CreateWindowExA(0, "EDIT", parts.text.c_str(), WS_CHILD | WS_BORDER | ES_AUTOHSCROLL,
                             rc.left + iconSpace, rc.top, rc.right - rc.left - iconSpace, rc.bottom - rc.top,
                             m_hwnd, (HMENU)1, (HINSTANCE)GetWindowLongPtrA(m_hwnd, GWLP_HINSTANCE), nullptr);
    if (!m_edit)
        return BRERR_DENIED;
    SendMessageA(m_edit, WM_SETFONT, (WPARAM)m_font, 0);
    if (m_columns[col].editLimit > 0)
        SendMessageA(m_edit, EM_LIMITTEXT, m_columns[col].editLimit, 0);
    SetPropA(m_edit, "vlBR11.owner", (HANDLE)this);
    m_editProc = (WNDPROC)SetWindowLongPtrA(m_edit, GWLP_WNDPROC, (LONG_PTR)EditProc);
    SendMessageA(m_edit, EM_SETSEL, 0, -1);
    ShowWindow(m_edit, SW_SHOW);
    SetFocus(m_edit);
    Changed();
    return 0;
}

void CBrowseControl::EndEdit(bool commit)
{
    if (!m_edit || m_editClosing)
        return;
    m_editClosing = true;
    HWND edit = m_edit;
    if (commit && ValidRow(m_editRow) && ValidColumn(m_editColumn)) {
        int len = GetWindowTextLengthA(edit);
        std::string text(len + 1, '\0');
        GetWindowTextA(edit, &text[0], len + 1);
        text.resize(strlen(text.c_str()));
        int limit = m_columns[m_editColumn].editLimit;
        if (limit > 0 && (int)text.size() > limit)
            text.resize(limit);
        Row& row = *m_rows[m_editRow];
        CellParts parts = ParseCell(CellOf(row.text, m_editColumn));
        std::string prefix;
        if (parts.icon >= 0)
            prefix = "\x02" + std::to_string(parts.icon) + "\x02";
        row.text = ReplaceCell(row.text, m_editColumn, prefix + text);
    }
    bool hadFocus = GetFocus() == edit;
    m_edit = nullptr;
    RemovePropA(edit, "vlBR11.owner");
    SetWindowLongPtrA(edit, GWLP_WNDPROC, (LONG_PTR)m_editProc);
    DestroyWindow(edit);
    if (hadFocus)
        SetFocus(m_hwnd);
    m_editClosing = false;
    Changed();
}

LRESULT CALLBACK CBrowseControl::EditProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    CBrowseControl* self = (CBrowseControl*)GetPropA(hwnd, "vlBR11.owner");
    if (!self)
        return DefWindowProcA(hwnd, msg, wp, lp);
    WNDPROC base = self->m_editProc;
    switch (msg) {
    case WM_GETDLGCODE:
        return DLGC_WANTALLKEYS | CallWindowProcA(base, hwnd, msg, wp, lp);
    case WM_KEYDOWN:
        if (wp == VK_RETURN || wp == VK_ESCAPE) {
            self->EndEdit(wp == VK_RETURN);
            return 0;
        }
        break;
    case WM_CHAR:
        if (wp == '\r' || wp == 27 || wp == '\t')
            return 0;
        break;
    case WM_KILLFOCUS: {
        LRESULT r = CallWindowProcA(base, hwnd, msg, wp, lp);
        self->EndEdit(true);
        return r;
    }
    }
    return CallWindowProcA(base, hwnd, msg, wp, lp);
}

// ---- layouts -------------------------------------------------------------------------------------

namespace {

struct Place {
    HKEY root;
    const char* key;
    const char* value;
};

bool ReadPlace(const void* record, Place* place)
{
    if (!record)
        return false;
    int32_t cb = *(const int32_t*)record;
    if (cb == (int32_t)sizeof(BRLAYOUT)) {
        const BRLAYOUT* l = (const BRLAYOUT*)record;
        *place = {l->root, l->keyPath, l->valueName};
    } else if (cb == (int32_t)sizeof(BRLAYOUTTEXT)) {
        const BRLAYOUTTEXT* l = (const BRLAYOUTTEXT*)record;
        *place = {HKEY_CURRENT_USER, l->keyPath, l->valueName};
    } else {
        return false;
    }
    return place->root && place->key && place->value;
}

} // namespace

int CBrowseControl::SaveLayout(WPARAM flags, const void* record)
{
    Place place;
    if (!ReadPlace(record, &place))
        return BRERR_RECORD;
    LayoutValue layout;
    layout.flags = (uint32_t)flags & (BRL_WIDTHS | BRL_ORDER | BRL_FLAGS | BRL_SORT);
    layout.sortOrder = m_sortOrder;
    std::vector<int> widths = EffectiveWidths();
    for (size_t i = 0; i < m_columns.size(); i++) {
        ColumnLayout c;
        c.width = (m_columns[i].flags & BRCF_STRETCH) ? m_columns[i].width : widths[i];
        c.position = (int32_t)(std::find(m_order.begin(), m_order.end(), (int)i) - m_order.begin());
        c.flags = m_columns[i].flags;
        layout.columns.push_back(c);
    }
    std::string bytes = EncodeLayout(layout);
    HKEY key;
    if (RegCreateKeyExA(place.root, place.key, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return BRERR_REGISTRY;
    LONG rc = RegSetValueExA(key, place.value, 0, REG_BINARY, (const BYTE*)bytes.data(), (DWORD)bytes.size());
    RegCloseKey(key);
    return rc == ERROR_SUCCESS ? 0 : BRERR_REGISTRY;
}

int CBrowseControl::LoadLayout(WPARAM flags, const void* record)
{
    Place place;
    if (!ReadPlace(record, &place))
        return BRERR_RECORD;
    HKEY key;
    if (RegOpenKeyExA(place.root, place.key, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return BRERR_REGISTRY;
    DWORD type = 0, size = 0;
    LONG rc = RegQueryValueExA(key, place.value, nullptr, &type, nullptr, &size);
    std::string bytes;
    if (rc == ERROR_SUCCESS && type == REG_BINARY && size <= kMaxLayoutBytes) {
        bytes.resize(size);
        rc = RegQueryValueExA(key, place.value, nullptr, &type, (BYTE*)&bytes[0], &size);
        bytes.resize(size);
    }
    RegCloseKey(key);
    if (rc != ERROR_SUCCESS)
        return BRERR_REGISTRY;
    LayoutValue layout;
    if (type != REG_BINARY || !DecodeLayout(bytes, (int)m_columns.size(), &layout))
        return BRERR_LAYOUT;
    uint32_t apply = layout.flags & (uint32_t)flags;
    for (size_t i = 0; i < m_columns.size(); i++) {
        const ColumnLayout& c = layout.columns[i];
        if (apply & BRL_WIDTHS) {
            m_columns[i].width = c.width;
            m_columns[i].percent = -1;
        }
        if (apply & BRL_FLAGS)
            m_columns[i].flags = c.flags;
    }
    if (apply & BRL_ORDER) {
        std::vector<int> order(m_columns.size());
        for (size_t i = 0; i < m_columns.size(); i++)
            order[layout.columns[i].position] = (int)i;
        m_order = order;
    }
    if ((apply & BRL_SORT) && !m_sorting) {
        m_sortOrder = layout.sortOrder;
        SortRows();
    }
    Changed();
    return 0;
}
