// The day and week grid (qzmday2): day columns from the start date with their headers, the week
// caption over a time ruler in the grid unit, working hours shaded, timed items as boxes with a
// colour bar, subject, location and marks (overlapping items side by side), all-day items in a
// band under the headers.
//
// The user selects items, hovers over them, selects a time range by dragging over empty cells,
// moves an item by its body and resizes it by its lower edge (snapped to the unit), and opens
// items by double click. Puts and methods raise no events. While an event runs the handler may
// reload every item: the control keeps no item across an event and draws from its state.
#pragma once

#include <string>
#include <vector>

#include "QzControl.h"

class CQzMultiDay : public qz::CQzControl {
public:
    CQzMultiDay();
    ~CQzMultiDay() override;
    static IUnknown* Create();

protected:
    const qz::Member* Members(int* pnCount) const override;
    const qz::EventInfo* Events(int* pnCount) const override;
    HRESULT GetValue(const qz::Member& member, const VARIANT* args, VARIANT* pResult) override;
    HRESULT PutValue(const qz::Member& member, const VARIANT* args, const VARIANT& value) override;
    HRESULT CallMethod(const qz::Member& member, const VARIANT* args, VARIANT* pResult) override;
    HRESULT LoadWord(WORD wWord) override { return wWord == 0 ? S_OK : E_FAIL; }
    WORD SavedWord() const override { return 0; }
    void InitState() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnWindowCreated() override;

private:
    struct Item {
        short nStart = 0, nEnd = 0;
        long nDay = 0;
        std::string strText, strKey, strLocation;
        long nColor = -1, nBackColor = -1, nTextColor = -1;
        bool bHasLocation = false, bPrivate = false, bReminder = false;
        bool bMarks = false, bLocked = false, bFixedDay = false, bAllDay = false;
        short nSeries = 0;
        // layout
        mutable int nLane = 0, nLanes = 1;
    };
    enum DragKind { kDragNone, kDragRange, kDragMove, kDragResize };
    struct Layout {
        RECT header;   // day headers
        RECT band;     // all-day band (empty without it)
        RECT times;    // the timed grid (without the ruler)
        int xRuler;    // ruler width
        int cyRow;     // height of one unit
        int nRows;     // units from DayStart to DayEnd
        int nVisible;  // whole units that fit
        int cyBandRow; // height of one all-day row
    };
    struct Spot { // a point in the grid
        int nColumn; // 1-based; 0 outside the day columns
        int nRow;    // unit row from DayStart (may be out of range while dragging)
        bool bTimes; // in the timed grid
    };

    void InvalidateAll();
    Item* ItemAt(int nIndex);
    int Unit() const;
    long StartDate() const { return m_nStartDate; }
    void SetStartDate(long nSerial);
    void TakeStartParts();
    void ArrangeLanes() const; // when the items changed since the last time
    void Measure() const;      // the host font's text height and the ruler's width
    void GetLayout(Layout* pLayout) const;
    RECT ColumnRect(const Layout& layout, int nColumn, const RECT& band) const;
    int RowY(const Layout& layout, int nMinute) const; // y of a minute in the timed grid
    bool ItemRect(int nIndex, RECT* pRect) const;
    int ItemAtPoint(POINT pt) const;
    Spot SpotAt(POINT pt) const;
    int FirstRow() const;
    void ScrollTo(int nRow);
    void UpdateScrollBar();
    int BandRows() const;

    // The user's choices.
    void Select(int nItem, bool bRaise);
    void Hover(int nItem);
    void BeginPress(POINT pt);
    void TrackDrag(POINT pt);
    void EndDrag(POINT pt);
    void CancelDrag();
    bool DragTarget(short* pStart, short* pEnd, int* pColumn) const;
    LRESULT OnDoubleClick(LPARAM lParam);
    bool RaiseKey(DISPID dispid, WPARAM wKey);
    bool RaiseMouse(DISPID dispid, short nButton, LPARAM lParam);

    void Paint(HDC hdc);
    void PaintItem(HDC hdc, const Item& item, const RECT& rect, bool bSelected, bool bHover, bool bGhost);
    std::string HeaderText(long nSerial) const;

    std::vector<Item> m_items;
    mutable bool m_bLanesDirty = false;
    bool m_bPaintPending = false;
    mutable int m_nBandRows = 1;
    mutable HFONT m_hMeasuredFont = NULL;
    mutable int m_cyText = 14, m_xRuler = 48;
    std::vector<IPictureDisp*> m_images;
    long m_nUnitCode = QZ_MDAY_UNITS_15;
    short m_nDayStart = 0, m_nDayEnd = 1439;
    short m_nWorkStart = 480, m_nWorkEnd = 1020;
    long m_nWorkColor = 0, m_nBackColor = 0;
    short m_nOption24 = 0;
    short m_nTopMinute = 480;
    short m_nDayCount = 1;
    long m_nStartDate = 0;
    short m_nStartDay = 1, m_nStartMonth = 1, m_nStartYear = 1900;
    std::vector<std::string> m_dayNames;   // Sunday first
    std::vector<std::string> m_monthNames; // January first
    std::string m_strHeaderFormat;
    std::string m_strWeekCaption;
    BOOL m_bCaption = TRUE, m_bBand = TRUE;
    short m_nBarWidth = 5;
    int m_nSelected = 0;
    int m_nHover = 0;
    bool m_bTracking = false;
    // range selection: column and minutes; column 0 = none
    int m_nRangeColumn = 0;
    short m_nRangeStart = 0, m_nRangeEnd = 0;
    // a press and the drag that may follow
    DragKind m_drag = kDragNone;
    bool m_bDragging = false; // moved beyond the drag distance
    bool m_bLastPressDragged = false; // a second press right after a drag is no double click
    POINT m_ptPress = {0, 0};
    Spot m_spotPress = {0, 0, false};
    Spot m_spotNow = {0, 0, false};
    int m_nDragItem = 0;
};
