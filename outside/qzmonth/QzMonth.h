// The small month calendar (qzmonth): a caption with month arrows, the day letters, six weeks
// from Monday, optional ISO week numbers, day marks as small bars under the day number, per-day
// colours and today framed. The grid fills the window: eight rows (caption, letters, six weeks)
// and seven or eight columns.
//
// The user's choices raise events; puts and methods never do. A click on a day selects it,
// raises DateChanged when the date changed, takes what the handler wrote back, then raises
// DayClicked. The month arrows keep the day (31 March -> April reports 31) and clamp it after
// the handler when it is still not a day of the month.
#pragma once

#include <string>
#include <vector>

#include "QzControl.h"

class CQzMonth : public qz::CQzControl {
public:
    CQzMonth();
    static IUnknown* Create();

protected:
    const qz::Member* Members(int* pnCount) const override;
    const qz::EventInfo* Events(int* pnCount) const override;
    HRESULT GetValue(const qz::Member& member, const VARIANT* args, VARIANT* pResult) override;
    HRESULT PutValue(const qz::Member& member, const VARIANT* args, const VARIANT& value) override;
    HRESULT CallMethod(const qz::Member& member, const VARIANT* args, VARIANT* pResult) override;
    HRESULT LoadWord(WORD wWord) override;
    WORD SavedWord() const override { return m_bWeekNumbers ? QZ_MONTH_FLAG_WEEKNUMBERS : 0; }
    void InitState() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    enum HitKind { kHitNone, kHitPrevious, kHitNext, kHitDay };
    struct Hit {
        HitKind kind;
        long nSerial; // the day's serial for kHitDay
    };

    int ShownDay() const; // the selected day, clamped to the shown month
    long SelectedSerial() const;
    // Shows a month; marks and day colours belong to a month and go when it changes.
    void ShowMonth(long nYear, int nMonth);
    void SelectOnly(int nDay);
    void ClearDays();
    // The user's choices (events).
    void ChooseDate(long nSerial, bool bClicked);
    void StepMonth(int nDelta);
    bool RaiseDateChanged(); // false when the window went away in the handler
    void Hover(int nDay);
    bool RaiseKey(DISPID dispid, WPARAM wKey);

    int Columns() const { return m_bWeekNumbers ? 8 : 7; }
    void Layout(int* pxCell, int* pyRow, RECT* pGrid) const;
    RECT CellRect(int nRow, int nColumn) const;
    long FirstShownSerial() const;
    Hit HitTest(POINT pt) const;
    void Paint(HDC hdc);

    long m_nYear = 2000;
    int m_nMonth = 1;
    int m_nDay = 1;            // may lie past the month's end while DateChanged runs
    unsigned long m_selected = 0; // bit n: day n shown selected
    std::vector<COLORREF> m_marks[32];
    long m_backColors[32];
    long m_textColors[32];
    std::vector<std::string> m_dayNames;   // Sunday first
    std::vector<std::string> m_monthNames; // January first
    long m_nCaptionColor = 0;
    long m_nBackColor = 0;
    BOOL m_bOption55 = TRUE;
    BOOL m_bWeekNumbers = FALSE;
    short m_nOption67 = 0;
    short m_nOption89 = 0;
    short m_nCellWidth = 13;
    short m_nOption93 = 13;
    short m_nRowSpacing = 2;
    long m_nOption95 = 0;
    int m_nHoverDay = 0;
    bool m_bTracking = false;
};
