// Helpers of the qz control tests: the controls' class objects served inside the test process
// (as the program's activation hook serves them), a dialog that records the controls' events
// through its event sink map, real input (SendInput) and screenshots.
#pragma once

#include <afxwin.h>
#include <afxdisp.h>

#include <string>
#include <vector>

#include "QzTestResource.h"
#include "qzcontrols.h"

namespace qztest {

// Loads qzdedit.dll, qzmonth.dll and qzmday2.dll and makes their classes known to the process with
// CoRegisterClassObject (nothing in the registry); Revoke takes them back.
bool ServeClasses();
void RevokeClasses();
// The loaded library of a control; NULL when it is not loaded.
HMODULE Library(const char* pszDll);
// DllCanUnloadNow of the library: S_OK when none of its objects lives.
HRESULT CanUnloadNow(const char* pszDll);

// A dialog of the test templates that records its controls' events ("change 1015",
// "spin 1013 0", "datechanged 1002 0 31.4.2008", "clicked 1002 15", ...).
class CQzHost : public CDialog {
public:
    explicit CQzHost(UINT nIDTemplate) : CDialog(nIDTemplate), m_nTemplate(nIDTemplate) {}
    // The dialog, modeless and shown.
    BOOL Make();

    UINT m_nTemplate;

    std::vector<std::string> m_events;
    bool m_bCorrectDay = false;          // DateChanged lowers a day the month lacks (as the navigator does)
    short m_nWriteDay = 0;               // DateChanged writes this day back when not 0
    short m_nWriteMonth = 0;             // and this month
    bool m_bDestroyOnDayClicked = false; // DayClicked takes the date and ends the dialog
    long m_nPicked = -1;                 // the date DayClicked took (year * 10000 + month * 100 + day)

    void Record(const std::string& str) { m_events.push_back(str); }
    CWnd* Control(UINT nID) { return GetDlgItem(nID); }

    template <UINT id> void OnDropDown() { Record("dropdown " + std::to_string(id)); }
    template <UINT id> void OnSpin(short nDirection) { Record("spin " + std::to_string(id) + " " + std::to_string(nDirection)); }
    template <UINT id> void OnChange() { Record("change " + std::to_string(id)); }
    template <UINT id> void OnDateChanged(short* pUnused, short* pDay, short* pMonth, short* pYear)
    {
        DateChanged(id, pUnused, pDay, pMonth, pYear);
    }
    template <UINT id> void OnDayHover(short* pDay) { Record("hover " + std::to_string(id) + " " + std::to_string(*pDay)); }
    template <UINT id> void OnDayClicked(short* pDay) { DayClicked(id, pDay); }
    template <UINT id> void OnClick() { Record("click " + std::to_string(id)); }
    template <UINT id> void OnKeyDown(short* pKey, short nShift)
    {
        Record("keydown " + std::to_string(id) + " " + std::to_string(*pKey) + " " + std::to_string(nShift));
    }

    void OnCancel() override { DestroyWindow(); }
    void OnOK() override { DestroyWindow(); }

protected:
    void DateChanged(UINT id, short* pUnused, short* pDay, short* pMonth, short* pYear);
    void DayClicked(UINT id, short* pDay);
    DECLARE_EVENTSINK_MAP()
};

// The events without those that begin with the word (the mouse passing over a calendar raises
// DayHover before a click does anything).
std::vector<std::string> Without(const std::vector<std::string>& events, const std::string& strWord);
// The events that name the control id.
std::vector<std::string> Of(const std::vector<std::string>& events, UINT nID);

// Short, long and BOOL properties through the window's dispatch driver.
short GetShort(CWnd* pCtl, DISPID dispid);
long GetLong(CWnd* pCtl, DISPID dispid);
void SetShort(CWnd* pCtl, DISPID dispid, short n);
void SetLong(CWnd* pCtl, DISPID dispid, long n);
void SetBool(CWnd* pCtl, DISPID dispid, BOOL b);
std::string WindowText(CWnd* pWnd);

// Real input: the window's top-level parent comes to the front, then the system's input
// queue receives the events; answers when they have been handled.
bool BringToFront(CWnd* pWnd);
void ClickAt(CWnd* pWnd, POINT ptClient);
void MoveTo(CWnd* pWnd, POINT ptClient);
void PressKey(WORD vk, bool bAlt = false);
void DoubleClickAt(CWnd* pWnd, POINT ptClient);
// Presses the left button at one point and moves it in steps to the other; releases it there
// unless bHold (the drag stays in progress).
void DragTo(CWnd* pWnd, POINT ptFrom, POINT ptTo, bool bHold = false);
void ReleaseAt(CWnd* pWnd, POINT ptClient);
void TypeText(const char* pszDigits);
// Handles every waiting message through the thread's loop (dialog keys included).
void Settle();

// A screenshot of the window to build/shots/<area>/<name>.png; answers its path.
std::string SaveShot(CWnd* pWnd, const char* pszName, const char* pszArea = "qz-controls");

} // namespace qztest
