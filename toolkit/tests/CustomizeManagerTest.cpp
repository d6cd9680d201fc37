// The customize manager: callback lists (NULL objects, removal by object, UnregisterAll), the
// manager's own customize-mode entry coming back after all registrants left, deferred deletion,
// the commands that cannot be customized, and the modal drag loop driven by posted messages.
#include <gtest/gtest.h>

#include "CTkCustomizeManager.h"
#include "CTkDragContext.h"
#include "CTkDropTarget.h"
#include "CTkGlobalData.h"
#include "ToolkitTestSupport.h"

#include <string>
#include <vector>

namespace {

using Log = std::vector<std::string>;

Log& TheLog()
{
    static Log s_log;
    return s_log;
}

void Record(void* pObject, int n) { TheLog().push_back(std::string((const char*)pObject) + "=" + std::to_string(n)); }

char szA[] = "A", szB[] = "B";

TEST(CallbackListTest, NullObjectsAreSkippedAndRemovalGoesByObject)
{
    CTkCallbackList list;
    list.Register(Record, szA);
    list.Register(Record, NULL);
    list.Register(Record, szB);
    list.Register(Record, szA);
    TheLog().clear();
    list.CallAll<int>(7);
    EXPECT_EQ((Log{"A=7", "B=7", "A=7"}), TheLog());

    list.RemoveObject(szA);
    ASSERT_EQ(2, list.GetSize());
    EXPECT_EQ(NULL, list[0].pObject);
    EXPECT_EQ(szB, list[1].pObject);
    list.RemoveObject(NULL);
    list.RemoveObject(szB);
    EXPECT_EQ(0, list.GetSize());
    EXPECT_EQ(nullptr, list.GetData()); // the storage went with the last entry
}

void ModeEntry(void* pObject, BOOL bOn);

struct CModeListener {
    CTkCustomizeManager* pManager;
    std::string strName;
};

void ModeEntry(void* pObject, BOOL bOn)
{
    CModeListener* p = static_cast<CModeListener*>(pObject);
    // the manager's flag has changed before anybody is told
    TheLog().push_back(p->strName + (bOn ? " on" : " off") + " flag " + std::to_string(p->pManager->m_bCustomizeMode));
}

void Nothing(void*) {}
HMENU NoPopup(void*, UINT) { return NULL; }

TEST(CustomizeManagerTest, UnregisterAllEmptiesEveryListOfTheObject)
{
    CTkCustomizeManager manager;
    CTkCallbackList* apLists[] = {&manager.m_cbCategories,   &manager.m_cbIcons,       &manager.m_cbBars,
                                  &manager.m_cbClearSelection, &manager.m_cbCustomizeMode, &manager.m_cbDropTargets,
                                  &manager.m_cbBarShown,     &manager.m_cbBarAdded,    &manager.m_cbBarRenamed,
                                  &manager.m_cbBarDestroyed, &manager.m_cbCommandRemoved};
    for (CTkCallbackList* pList : apLists)
        pList->Register(Nothing, szA);
    manager.m_cbBars.Register(Nothing, szB);
    manager.m_hookCommandPopup = TK_CALLBACK(NoPopup, szA);
    ASSERT_EQ(2, manager.m_cbCustomizeMode.GetSize()); // the manager's own entry leads

    manager.UnregisterAll(szA);
    for (CTkCallbackList* pList : apLists) {
        for (int i = 0; i < pList->GetSize(); i++)
            EXPECT_NE(szA, (*pList)[i].pObject);
    }
    EXPECT_TRUE(manager.m_hookCommandPopup.IsEmpty());
    EXPECT_EQ(1, manager.m_cbBars.GetSize());
    // only the manager's own entry was left: it went too
    EXPECT_EQ(0, manager.m_cbCustomizeMode.GetSize());
}

struct CRecordedObject : public CObject {
    CRecordedObject(std::string name, CTkCustomizeManager* pQueue = NULL, CRecordedObject* pNext = NULL)
        : strName(name), pManager(pQueue), pFollower(pNext)
    {
    }
    ~CRecordedObject() override
    {
        TheLog().push_back("delete " + strName);
        if (pFollower != NULL)
            pManager->DeferDelete(pFollower); // deleting queues a further object
    }
    std::string strName;
    CTkCustomizeManager* pManager;
    CRecordedObject* pFollower;
};

TEST(CustomizeManagerTest, OwnEntryComesBackAfterAllRegistrantsLeft)
{
    CTkCustomizeManager manager;
    CModeListener first{&manager, "first"}, second{&manager, "second"};
    manager.m_cbCustomizeMode.Register(ModeEntry, &first);
    manager.UnregisterAll(&first);
    ASSERT_EQ(0, manager.m_cbCustomizeMode.GetSize());

    // a new registrant after everybody left: the manager's entry is back at the front
    manager.m_cbCustomizeMode.Register(ModeEntry, &second);
    ASSERT_EQ(2, manager.m_cbCustomizeMode.GetSize());
    EXPECT_TRUE(manager.m_cbCustomizeMode[0] == manager.OwnCustomizeModeEntry());

    TheLog().clear();
    manager.DeferDelete(new CRecordedObject("bar", &manager, new CRecordedObject("its follower")));
    manager.m_cbCustomizeMode.CallAll<BOOL>(TRUE);
    EXPECT_EQ(1, manager.m_bCustomizeMode);
    EXPECT_EQ(1, manager.m_bCustomizeDialog);
    EXPECT_EQ((Log{"second on flag 1"}), TheLog());
    manager.m_cbCustomizeMode.CallAll<BOOL>(FALSE);
    EXPECT_EQ(0, manager.m_bCustomizeMode);
    // leaving customize mode deleted the queue, round after round
    EXPECT_EQ((Log{"second on flag 1", "delete bar", "delete its follower", "second off flag 0"}), TheLog());
    EXPECT_EQ(0, manager.m_arrDeferred.GetSize());
    manager.UnregisterAll(&second);
}

TEST(CustomizeManagerTest, CommandsThatCannotBeCustomized)
{
    struct {
        UINT nID;
        BOOL bCustomizable;
    } cases[] = {{57615, TRUE}, {57616, FALSE}, {57631, FALSE}, {57632, TRUE},   {65279, TRUE},
                 {65280, FALSE}, {65288, FALSE}, {65289, TRUE}, {53783, FALSE}, {53782, TRUE}};
    CTkCustomizeManager manager;
    for (const auto& c : cases)
        EXPECT_EQ(c.bCustomizable, manager.CallIsCustomizable(c.nID)) << c.nID;
}

// ---- the drag loop ------------------------------------------------------------------------------

const UINT WM_RELEASE_CAPTURE = WM_APP + 10; // to the helper: the capture goes
const UINT WM_STEAL_CAPTURE = WM_APP + 11;   // to the helper: the helper takes the capture
const UINT WM_NOTE_CURSOR = WM_APP + 12;     // to the helper: note the cursor now showing
const UINT WM_QUIT_MARK = 0xFFFF0;           // in a script: post WM_QUIT with exit code 7

const int kOrigin = 300; // the source window's client area starts at (300, 300) on the screen

LRESULT CALLBACK HelperProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_RELEASE_CAPTURE)
        ::ReleaseCapture();
    else if (message == WM_STEAL_CAPTURE)
        ::SetCapture(hWnd);
    else if (message == WM_NOTE_CURSOR) {
        HCURSOR h = ::GetCursor();
        TheLog().push_back(h == tkAfxData.hcurDragNone   ? "cursor none"
                           : h == tkAfxData.hcurDragMove ? "cursor move"
                           : h == tkAfxData.hcurDragCopy ? "cursor copy"
                                                         : "cursor other");
    } else if (message == WM_CANCELMODE)
        TheLog().push_back("cancelmode");
    return ::DefWindowProcA(hWnd, message, wParam, lParam);
}

class CTestTarget : public CTkDropTarget {
public:
    CTestTarget(const char* pszName, CRect rcClient, BOOL bAccept, BYTE bCopyOk)
        : m_strName(pszName), m_rect(rcClient + CPoint(kOrigin, kOrigin)), m_bAccept(bAccept), m_bCopyOk(bCopyOk)
    {
    }
    BOOL HitTest(CPoint pt) override { return m_rect.PtInRect(pt); }
    BOOL OnDragEnter(CTkButtonDesc*, CPoint pt, BYTE* pbCopyOk) override
    {
        EXPECT_EQ(1, *pbCopyOk);
        Note("enter", pt);
        *pbCopyOk = m_bCopyOk;
        return m_bAccept;
    }
    void OnDragOver(CPoint pt) override { Note("over", pt); }
    void OnDragLeave() override { TheLog().push_back(m_strName + " leave"); }
    void OnDrop(CTkButtonDesc*, CPoint pt) override { Note("drop", pt); }

    void Note(const char* pszWhat, CPoint pt)
    {
        TheLog().push_back(m_strName + " " + pszWhat + " " + std::to_string(pt.x - kOrigin) + "," +
                           std::to_string(pt.y - kOrigin));
    }

    std::string m_strName;
    CRect m_rect;
    BOOL m_bAccept;
    BYTE m_bCopyOk;
};

void AddTargets(void* pObject, CTkDragContext* pContext)
{
    CTestTarget* pTargets = static_cast<CTestTarget*>(pObject);
    for (int i = 0; i < 3; i++)
        pContext->AddDropTarget(&pTargets[i]);
}

struct Step {
    UINT message; // posted to the source, or WM_APP+n to the helper
    WPARAM wParam;
    int x, y; // client coordinates of the source
};

struct DragCase {
    const char* pszName;
    BOOL bAllowCopy;
    std::vector<Step> steps;
    BOOL bResult;
    Log log;
};

const WPARAM L = MK_LBUTTON;

class DragLoopTest : public testing::Test {
protected:
    void SetUp() override
    {
        ::SetCursorPos(5, 5);
        m_hSource = ::CreateWindowExA(WS_EX_TOOLWINDOW, "STATIC", "Quelle", WS_POPUP | WS_VISIBLE, kOrigin, kOrigin, 200,
                                      200, NULL, NULL, NULL, NULL);
        WNDCLASSA wc = {};
        wc.lpfnWndProc = HelperProc;
        wc.hInstance = ::GetModuleHandleA(NULL);
        wc.lpszClassName = "TkDragHelper";
        ::RegisterClassA(&wc);
        m_hHelper = ::CreateWindowExA(0, "TkDragHelper", "", WS_POPUP, 0, 0, 10, 10, NULL, NULL, NULL, NULL);
        ASSERT_TRUE(m_hSource != NULL && m_hHelper != NULL);
        tktest::RunToIdle();
    }
    void TearDown() override
    {
        ::ReleaseCapture();
        ::DestroyWindow(m_hSource);
        ::DestroyWindow(m_hHelper);
    }

    void Post(const Step& s)
    {
        if (s.message == WM_QUIT_MARK)
            ::PostThreadMessageA(::GetCurrentThreadId(), WM_QUIT, 7, 0);
        else if (s.message >= WM_APP)
            ::PostMessageA(m_hHelper, s.message, s.wParam, 0);
        else if (s.message == WM_CANCELMODE && s.wParam == 1)
            ::PostMessageA(m_hHelper, WM_CANCELMODE, 0, 0);
        else
            ::PostMessageA(m_hSource, s.message, s.wParam, MAKELPARAM(s.x, s.y));
    }

    HWND m_hSource = NULL;
    HWND m_hHelper = NULL;
};

TEST_F(DragLoopTest, TargetsCursorsAndEndsOfTheDrag)
{
    ASSERT_TRUE(tkAfxData.hcurDragNone != NULL && tkAfxData.hcurDragMove != NULL && tkAfxData.hcurDragCopy != NULL);
    ASSERT_TRUE(tkAfxData.hcurDragNone != tkAfxData.hcurDragMove && tkAfxData.hcurDragMove != tkAfxData.hcurDragCopy);
    const Step note = {WM_NOTE_CURSOR, 0, 0, 0};
    // A accepts and allows copies, B accepts and refuses copies, C refuses the item.
    const DragCase cases[] = {
        {"release over no target", TRUE, {{WM_MOUSEMOVE, L, 80, 5}, note, {WM_LBUTTONUP, 0, 80, 5}}, TRUE, {"cursor none"}},
        {"release over no target with Ctrl", TRUE, {{WM_LBUTTONUP, MK_CONTROL, 80, 5}}, FALSE, {}},
        {"release over no target, copy not allowed", FALSE, {{WM_LBUTTONUP, 0, 80, 5}}, FALSE, {}},
        {"drop on a target; the same point twice is one move",
         TRUE,
         {{WM_MOUSEMOVE, L, 20, 20}, note, {WM_MOUSEMOVE, L, 30, 30}, {WM_MOUSEMOVE, L, 30, 30}, {WM_LBUTTONUP, 0, 30, 30}},
         TRUE,
         {"A enter 20,20", "cursor move", "A over 30,30", "A over 30,30", "A drop 30,30"}},
        {"the same point after another message counts again",
         TRUE,
         {{WM_MOUSEMOVE, L, 20, 20}, {WM_MOUSEMOVE, L, 30, 30}, {WM_TIMER, 1, 0, 0}, {WM_MOUSEMOVE, L, 30, 30},
          {WM_KEYDOWN, VK_ESCAPE, 0, 0}},
         FALSE,
         {"A enter 20,20", "A over 30,30", "A over 30,30", "A leave"}},
        {"Escape", TRUE, {{WM_MOUSEMOVE, L, 20, 20}, {WM_KEYDOWN, VK_ESCAPE, 0, 0}, {WM_LBUTTONUP, 0, 20, 20}}, FALSE,
         {"A enter 20,20", "A leave"}},
        {"right button", TRUE, {{WM_MOUSEMOVE, L, 20, 20}, {WM_RBUTTONDOWN, L, 20, 20}}, FALSE, {"A enter 20,20", "A leave"}},
        {"cancel mode to the source",
         TRUE,
         {{WM_MOUSEMOVE, L, 20, 20}, {WM_CANCELMODE, 0, 0, 0}, {WM_LBUTTONUP, 0, 20, 20}},
         FALSE,
         {"A enter 20,20", "A leave"}},
        {"cancel mode to another window",
         TRUE,
         {{WM_MOUSEMOVE, L, 20, 20}, {WM_CANCELMODE, 1, 0, 0}, {WM_LBUTTONUP, 0, 25, 25}},
         TRUE,
         {"A enter 20,20", "cancelmode", "A over 25,25", "A drop 25,25"}},
        {"capture released", TRUE, {{WM_MOUSEMOVE, L, 20, 20}, {WM_RELEASE_CAPTURE, 0, 0, 0}, {WM_LBUTTONUP, 0, 20, 20}},
         FALSE, {"A enter 20,20", "A leave"}},
        {"capture taken by another window",
         TRUE,
         {{WM_MOUSEMOVE, L, 20, 20}, {WM_STEAL_CAPTURE, 0, 0, 0}, {WM_LBUTTONUP, 0, 20, 20}},
         FALSE,
         {"A enter 20,20", "A leave"}},
        {"Ctrl switches between move and copy",
         TRUE,
         {{WM_MOUSEMOVE, L, 20, 20}, {WM_KEYDOWN, VK_CONTROL, 0, 0}, note, {WM_KEYUP, VK_CONTROL, 0, 0}, note,
          {WM_MOUSEMOVE, L, 120, 120}, note, {WM_MOUSEMOVE, L, 125, 125}, {WM_KEYDOWN, VK_CONTROL, 0, 0}, note,
          {WM_LBUTTONUP, MK_CONTROL, 125, 125}},
         FALSE,
         {"A enter 20,20", "cursor copy", "cursor move", "A leave", "cursor none", "B enter 125,125", "cursor move",
          "B over 125,125", "B drop 125,125"}},
        {"copy not allowed: Ctrl changes nothing",
         FALSE,
         {{WM_MOUSEMOVE, L, 20, 20}, {WM_KEYDOWN, VK_CONTROL, 0, 0}, note, {WM_LBUTTONUP, 0, 20, 20}},
         FALSE,
         {"A enter 20,20", "cursor copy", "A over 20,20", "A drop 20,20"}},
        {"a move without the button drops",
         TRUE,
         {{WM_MOUSEMOVE, L, 20, 20}, {WM_MOUSEMOVE, 0, 22, 22}, {WM_LBUTTONUP, 0, 0, 0}},
         TRUE,
         {"A enter 20,20", "A over 22,22", "A drop 22,22"}},
        {"a target that refuses the item",
         TRUE,
         {{WM_MOUSEMOVE, L, 170, 170}, note, {WM_LBUTTONUP, 0, 170, 170}},
         TRUE,
         {"C enter 170,170", "cursor none", "C enter 170,170"}},
        {"quit during the drag", TRUE, {{WM_MOUSEMOVE, L, 20, 20}, {WM_QUIT_MARK, 0, 0, 0}, {WM_LBUTTONUP, 0, 20, 20}},
         FALSE, {"A enter 20,20", "A leave"}},
    };
    CTestTarget targets[3] = {CTestTarget("A", CRect(10, 10, 60, 60), TRUE, 1),
                              CTestTarget("B", CRect(100, 100, 150, 150), TRUE, 0),
                              CTestTarget("C", CRect(160, 160, 190, 190), FALSE, 1)};
    CTkCustomizeManager manager;
    manager.m_cbDropTargets.Register(AddTargets, targets);
    CWnd* pSource = CWnd::FromHandle(m_hSource);
    HCURSOR hcurBefore = ::GetCursor();
    for (const DragCase& c : cases) {
        TheLog().clear();
        for (const Step& s : c.steps)
            Post(s);
        BOOL bResult = manager.DoDragDrop(pSource, c.bAllowCopy, NULL);
        EXPECT_EQ(c.bResult, bResult) << c.pszName;
        EXPECT_EQ(c.log, TheLog()) << c.pszName;
        EXPECT_NE(m_hSource, ::GetCapture()) << c.pszName; // released, or where another window took it
        ::ReleaseCapture();
        EXPECT_EQ(hcurBefore, ::GetCursor()) << c.pszName;
        MSG msg;
        if (strcmp(c.pszName, "quit during the drag") == 0) {
            // the quit message is back in the queue with its exit code
            ASSERT_TRUE(::PeekMessageA(&msg, NULL, WM_QUIT, WM_QUIT, PM_REMOVE)) << c.pszName;
            EXPECT_EQ(7u, msg.wParam);
        }
        // what the loop left waiting goes before the next case
        while (::PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE))
            if (msg.message != WM_QUIT)
                ::DispatchMessageA(&msg);
    }
}

TEST_F(DragLoopTest, NoDragWhileAnotherWindowHoldsTheCapture)
{
    CTestTarget targets[3] = {CTestTarget("A", CRect(10, 10, 60, 60), TRUE, 1), CTestTarget("B", CRect(), TRUE, 1),
                              CTestTarget("C", CRect(), TRUE, 1)};
    CTkCustomizeManager manager;
    manager.m_cbDropTargets.Register(AddTargets, targets);
    ::SetCapture(m_hHelper);
    TheLog().clear();
    ::PostMessageA(m_hSource, WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
    EXPECT_FALSE(manager.DoDragDrop(CWnd::FromHandle(m_hSource), TRUE, NULL));
    EXPECT_EQ(Log{}, TheLog());
    EXPECT_EQ(m_hHelper, ::GetCapture()); // the capture stays where it was
    MSG msg;
    EXPECT_TRUE(::PeekMessageA(&msg, m_hSource, WM_LBUTTONUP, WM_LBUTTONUP, PM_REMOVE)); // nothing was read
}

} // namespace
