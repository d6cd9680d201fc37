// The library's settings and services for the program's windows: dialog mode, window support,
// dialog background, and keeping stored rectangles on screen.
#include <gtest/gtest.h>

#include "ScreenFit.h"
#include "vlCT11.h"

void PrintTo(const RECT& r, std::ostream* os)
{
    *os << "(" << r.left << "," << r.top << ")-(" << r.right << "," << r.bottom << ")";
}

inline bool operator==(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != FALSE; }

namespace {

TEST(CtlSetDialogboxMode, AnswersThePreviousMode)
{
    const int previous = CtlSetDialogboxMode(0x200C);
    EXPECT_EQ(0x200C, CtlSetDialogboxMode(0x1000));
    EXPECT_EQ(0x1000, CtlSetDialogboxMode(previous));
}

LRESULT CALLBACK EchoProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_USER + 7)
        return (LRESULT)(wParam * 2);
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

HWND EchoWindow()
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = EchoProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "vlct11EchoWindow";
    RegisterClassA(&wc);
    return CreateWindowA("vlct11EchoWindow", "Echo", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

// The main frame registers itself; it must keep working as before.
TEST(CtlAddCtlSupportA, TheWindowKeepsWorking)
{
    HWND window = EchoWindow();
    ASSERT_NE(nullptr, window);
    const LONG_PTR procedure = GetWindowLongPtrA(window, GWLP_WNDPROC);
    EXPECT_TRUE(CtlAddCtlSupportA(window, -2, nullptr));
    EXPECT_EQ(procedure, GetWindowLongPtrA(window, GWLP_WNDPROC));
    EXPECT_EQ(42, SendMessageA(window, WM_USER + 7, 21, 0));
    EXPECT_FALSE(CtlAddCtlSupportA(nullptr, -2, nullptr));
    DestroyWindow(window);
}

TEST(CtlEraseBkgnd, FillsTheClientAreaWithTheLibraryColour)
{
    HWND window = EchoWindow();
    RECT client;
    GetClientRect(window, &client);
    HDC screen = GetDC(window);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
    HGDIOBJ old = SelectObject(dc, bitmap);
    PatBlt(dc, 0, 0, client.right, client.bottom, BLACKNESS);
    EXPECT_TRUE(CtlEraseBkgnd(window, dc));
    for (POINT p : {POINT{0, 0}, POINT{client.right - 1, client.bottom - 1}, POINT{client.right / 2, client.bottom / 2}})
        EXPECT_EQ(GetNearestColor(dc, CtlTools_rgbBkgnd()), GetPixel(dc, p.x, p.y)) << p.x << "," << p.y;
    EXPECT_FALSE(CtlEraseBkgnd(window, nullptr));
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(window, screen);
    DestroyWindow(window);
}

struct FitCase {
    const char* name;
    RECT rect;
    RECT expected;
};

TEST(FitRectIntoArea, Table)
{
    const RECT area{0, 0, 1280, 994};
    const FitCase cases[] = {
        {"already visible", {100, 100, 500, 400}, {100, 100, 500, 400}},
        {"exactly the area", {0, 0, 1280, 994}, {0, 0, 1280, 994}},
        {"off the left edge", {-300, 100, 100, 400}, {0, 100, 400, 400}},
        {"off the top edge", {100, -50, 500, 250}, {100, 0, 500, 300}},
        {"off the right edge", {1200, 100, 1600, 400}, {880, 100, 1280, 400}},
        {"off the bottom edge", {100, 900, 500, 1200}, {100, 694, 500, 994}},
        {"far away on another screen", {3000, 2000, 3400, 2300}, {880, 694, 1280, 994}},
        {"wider than the area", {-100, 100, 1500, 400}, {0, 100, 1280, 400}},
        {"larger than the area both ways", {50, 50, 2000, 1500}, {0, 0, 1280, 994}},
    };
    for (const FitCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.expected, FitRectIntoArea(c.rect, area));
    }
    // An area that does not start at 0 (a second monitor, a task bar on the left).
    EXPECT_EQ((RECT{1300, 40, 1700, 340}), FitRectIntoArea(RECT{1100, 40, 1500, 340}, RECT{1300, 30, 2580, 1054}));
}

TEST(CtlEnsureVisible, MovesStoredRectanglesOntoTheWorkArea)
{
    EXPECT_FALSE(CtlEnsureVisible(nullptr, 0));
    RECT work;
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0));
    RECT inside{work.left + 10, work.top + 10, work.left + 210, work.top + 110};
    const RECT before = inside;
    EXPECT_FALSE(CtlEnsureVisible(&inside, 0));
    EXPECT_EQ(before, inside);
    RECT outside{work.left - 500, work.bottom + 300, work.left - 300, work.bottom + 400};
    EXPECT_TRUE(CtlEnsureVisible(&outside, 0));
    EXPECT_EQ((RECT{work.left, work.bottom - 100, work.left + 200, work.bottom}), outside);
    RECT huge{-5000, -5000, 5000, 5000};
    EXPECT_TRUE(CtlEnsureVisible(&huge, 0));
    EXPECT_EQ(work, huge);
}

} // namespace
