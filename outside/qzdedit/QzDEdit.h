// The date or time field (qzdedit): "dd.mm.yyyy" or "hh:mm", spin arrows and a drop-down
// button. Typing edits the part under the caret; the spin arrows and Up/Down step the day of a
// date field and ask the host to step a time field (Spin); the button, F4 and Alt+Down raise
// DropDown. Change follows an edit by the user, never a put.
#pragma once

#include "QzControl.h"

class CQzDEdit : public qz::CQzControl {
public:
    CQzDEdit();
    static IUnknown* Create();

protected:
    const qz::Member* Members(int* pnCount) const override;
    const qz::EventInfo* Events(int* pnCount) const override;
    HRESULT GetValue(const qz::Member& member, const VARIANT* args, VARIANT* pResult) override;
    HRESULT PutValue(const qz::Member& member, const VARIANT* args, const VARIANT& value) override;
    HRESULT CallMethod(const qz::Member& member, const VARIANT* args, VARIANT* pResult) override;
    HRESULT LoadWord(WORD wWord) override;
    WORD SavedWord() const override { return (WORD)m_nMode; }
    void InitState() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // Parts of the text: date day, month, year; time hour, minute.
    int PartCount() const { return m_nMode == QZ_DEDIT_MODE_DATE ? 3 : 2; }
    int PartValue(int nPart) const;
    int PartDigits(int nPart) const;
    int PartMaximum(int nPart) const;
    std::string PartText(int nPart) const;
    std::string DisplayText() const; // what the field shows, also its window text
    // Takes a value for a part when the whole stays valid (answers false and beeps otherwise).
    bool ApplyPart(int nPart, int nValue);
    void TypeDigit(int nDigit);
    void CommitTyping();
    void MovePart(int nPart);
    void Step(int nDirection); // 0 up, 1 down
    void DropDown();
    // Sets the value from user input and raises Change when it differs.
    void SetByUser(long nDate, int nTime);

    // Layout of the client area.
    RECT TextRect() const;
    RECT SpinRect(int nDirection) const;
    RECT ButtonRect() const;
    void Paint(HDC hdc);

    int m_nMode = QZ_DEDIT_MODE_DATE;
    long m_nDate = 0;
    int m_nTime = 0;
    long m_nMaxDate = QZ_DEDIT_DEFAULT_MAXDATE;
    int m_nPart = 0;     // part under the caret
    int m_nTyped = 0;    // digits typed into it so far
    int m_nPending = 0;  // their value
    int m_nPressed = -1; // 0 spin up, 1 spin down, 2 button while the mouse holds it
    RECT m_partRects[3] = {};
};
