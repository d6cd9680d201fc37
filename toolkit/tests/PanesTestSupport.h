// Helpers of the tests of the splitter and the tab control: labelled views, frames of a given
// client size, the full-window-drag setting switched for one test, and screenshots into
// build/shots/splitter-tabs/.
#pragma once

#include <afxext.h>

#include <string>
#include <vector>

namespace panestest {

// The command a label view handles.
const UINT kLabelViewCommand = 0x8101;

// A view that fills itself white and writes its window text in the middle; counts its first
// updates and its commands.
class CLabelView : public CView {
    DECLARE_DYNCREATE(CLabelView)
public:
    void OnDraw(CDC* pDC) override;
    void OnInitialUpdate() override;
    int m_nInitialUpdates = 0;
    int m_nCommands = 0;
protected:
    afx_msg void OnLabelCommand() { m_nCommands++; }
    DECLARE_MESSAGE_MAP()
};

// A label view of another class (for replacing a view by class).
class COtherView : public CLabelView {
    DECLARE_DYNCREATE(COtherView)
};

// A view whose window cannot be made (its WM_CREATE fails).
class CFailingView : public CView {
    DECLARE_DYNCREATE(CFailingView)
public:
    void OnDraw(CDC*) override {}
protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    DECLARE_MESSAGE_MAP()
};

// Gives the window a client area of cx x cy pixels.
void SetClientSize(CWnd* pWnd, int cx, int cy);

// The window's rectangle in its parent's client coordinates.
CRect ChildRect(const CWnd* pWnd);

// Sets the system's full-window-drag flag for the process's session without writing it to the
// user's settings, and puts the old value back when it goes.
class CFullDragSetting {
public:
    explicit CFullDragSetting(BOOL bFullDrag);
    ~CFullDragSetting();
private:
    BOOL m_bOld;
};

// Writes the window with its frame as the screen shows it into
// <build>\shots\splitter-tabs\<name>.png; bRedraw paints it first (off to keep a tracker).
std::string SaveShot(CWnd* pWnd, const char* pszName, bool bRedraw = true);

} // namespace panestest
