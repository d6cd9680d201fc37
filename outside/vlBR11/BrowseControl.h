// One window of the class "vlmrBrowser1132": rows, columns, drawing, selection, keyboard and
// mouse, sorting, check cells, in-place editing and layouts (the protocol is in vlBR11.h).
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "vlBR11.h"

class CBrowseControl {
public:
    // Registers the global window class; false when that failed.
    static bool Register(HINSTANCE instance);
    static void Unregister(HINSTANCE instance);

private:
    struct Column {
        std::string title;
        int32_t autoToggle = 0;
        uint32_t flags = BRCF_TEXTSORT;
        int width = 80;    // pixels
        int percent = -1;  // >= 0: width in percent of the client width (until sized by hand)
        int editLimit = 0;
        int cellKind = BRCK_TEXT;
    };
    struct Row {
        std::string text;
        LPARAM data = 0;
        bool selected = false;
    };
    struct Colors {
        COLORREF headerBk, headerTx, rowBk, rowTx, altBk, altTx, selBk, selTx, curBk, curTx, line;
    };
    enum class Drag { None, Size, HeaderPress, Move };

    explicit CBrowseControl(HWND hwnd);
    ~CBrowseControl();

    static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    static LRESULT CALLBACK EditProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp);
    LRESULT HandleProtocol(UINT msg, WPARAM wp, LPARAM lp, bool* handled);

    // events
    LRESULT Fire(int event, LPARAM param);
    void FireSelection(int oldCurrent, bool selectionChanged);

    // rows
    bool ValidRow(int row) const { return row >= 0 && row < (int)m_rows.size(); }
    bool ValidColumn(int col) const { return col >= 0 && col < (int)m_columns.size(); }
    int AddRow(const char* text, LPARAM data, WPARAM position);
    int DeleteRow(int row);
    void ResetRows();
    int SelectedCount() const;

    // sorting
    int CompareRows(int a, int b);
    void SortRows();
    int PlaceRow(int row);

    // columns and geometry
    void SetTitles(const char* text);
    void ApplyPercentWidths();
    std::vector<int> EffectiveWidths() const;
    int TotalWidth() const;
    int HeaderHeight() const;
    int VisibleRows() const;
    int ColumnLeft(int col) const; // client x of the column's left edge
    int HitRow(int y) const;
    int HitColumn(int x) const;
    int HitDivider(int x, int y) const;
    RECT CellRect(int row, int col) const;
    void UpdateMetrics();
    void UpdateScrollBars();
    void Changed();
    void EnsureVisible(int row);
    void ScrollTo(int top, int x);

    // drawing
    Colors GetColors() const;
    HICON Icon(int number) const;
    void Paint(HDC dc, const RECT& client);
    void PaintHeader(HDC dc, const RECT& client);
    void PaintCell(HDC dc, const RECT& rc, const std::string& cell, const Column& col, COLORREF text);

    // input
    void OnLButtonDown(int x, int y, UINT keys, bool dbl);
    void OnRButtonDown(int x, int y);
    void OnMouseMove(int x, int y);
    void OnLButtonUp(int x, int y);
    void OnKeyDown(UINT vk);
    void ClickRow(int row, UINT keys);
    void MoveCurrent(int row, bool shift, bool ctrl);
    void ToggleCheck(int row, int col);
    void HeaderClick(int col);
    int FirstCheckColumn() const;

    // editing
    int BeginEdit(int col);
    void EndEdit(bool commit);

    // layouts
    int SaveLayout(WPARAM flags, const void* record);
    int LoadLayout(WPARAM flags, const void* record);

    HWND m_hwnd;
    std::vector<Column> m_columns;
    std::vector<int> m_order; // column index at each display position
    std::vector<std::unique_ptr<Row>> m_rows;
    std::map<int, HICON> m_icons; // the owner's icons (copies)
    std::vector<std::string> m_sortKeys; // while sorting: each row's cell of the sorted column
    int m_attr[BRA_COUNT] = {};
    int m_style = BRS_MULTISELECT;
    int m_sortOrder = 0;
    int m_current = -1;
    int m_anchor = -1;
    int m_top = 0;
    int m_xScroll = 0;
    int m_rowHeight = 18;
    int m_fontHeight = 13;
    bool m_redraw = true;
    bool m_invalid = false;
    bool m_sorting = false;
    bool m_focus = false;
    BRWEVENTPROC m_callback = nullptr;
    HFONT m_font = nullptr;
    int m_callDepth = 0;
    bool m_destroyed = false;

    Drag m_drag = Drag::None;
    int m_dragColumn = -1;
    int m_dragStartX = 0;
    int m_dragStartWidth = 0;

    HWND m_edit = nullptr;
    WNDPROC m_editProc = nullptr;
    int m_editRow = -1;
    int m_editColumn = -1;
    bool m_editClosing = false;
};
