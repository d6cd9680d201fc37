// The job exports of vlDB07.dll as a program sees them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "vlDB07.h"

namespace {

struct ExportName {
    const char* name;
    int args;
};

const ExportName kExports[] = {
#define DB_EXPORT(n, a) {n, a},
#include "ExportList.inc"
#undef DB_EXPORT
};

// Opens one job for a test and closes every reference it took.
class JobScope {
public:
    JobScope() { EXPECT_EQ(0, db_job_open()); }
    ~JobScope() { db_job_close(); }
};

} // namespace

TEST(db_exports, EveryExportHasThreeNamesForOneAddress)
{
    HMODULE dll = GetModuleHandleA("vlDB07.dll");
    ASSERT_NE(nullptr, dll);
    EXPECT_EQ((HMODULE)0x2A800000, dll) << "vlDB07.dll is not at its preferred base";
    for (const auto& e : kExports) {
        std::string decorated = std::string(e.name) + "@" + std::to_string(4 * e.args);
        FARPROC plain = GetProcAddress(dll, e.name);
        FARPROC at = GetProcAddress(dll, decorated.c_str());
        FARPROC under = GetProcAddress(dll, ("_" + decorated).c_str());
        ASSERT_NE(nullptr, plain) << e.name;
        EXPECT_EQ(plain, at) << decorated;
        EXPECT_EQ(plain, under) << "_" << decorated;
    }
}

TEST(db_get_version, Selectors)
{
    const struct {
        int selector;
        unsigned expected;
    } cases[] = {{0, 0x070E}, {1, 0xFFFFFFFFu}, {2, 0}, {3, 7}, {4, 14}, {5, 0}, {-1, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(c.expected, db_get_version(c.selector)) << "selector " << c.selector;
}

TEST(db_job_open, SecondOpenSharesTheJobUntilTheLastClose)
{
    ASSERT_EQ(0, db_select(nullptr)) << "no job may exist before the test";
    EXPECT_EQ(0, db_job_open());
    EXPECT_EQ(0, db_job_open());
    EXPECT_EQ(5, db_select_area(5));
    db_job_close();
    EXPECT_EQ(5, db_select(nullptr)) << "one reference is left: the job and its current area stay";
    db_job_close();
    EXPECT_EQ(0, db_select(nullptr)) << "the last close ends the job";
    EXPECT_EQ(0, db_job_open());
    EXPECT_EQ(1, db_select(nullptr)) << "a new job starts with area 1 current";
    db_job_close();
}

TEST(db_get_errortext, TextsAndBounds)
{
    JobScope job;
    const struct {
        unsigned code;
        unsigned size;
        const char* expected;
    } cases[] = {
        {4, 10, "Bad area "},
        {4, 100, "Bad area number [possible values: 1..250]"},
        {21, 100, "Locking error: access denied"},
        {1000, 100, "Bad database type [just a warning, but take care...]"},
        {5, 100, "<unknown error code>"},
        {53, 100, "<unknown error code>"},
        {4711, 100, "<unknown error code>"},
        {18, 100, ""}, // the expression detail text, empty while no expression failed
        {1, 1, ""},
    };
    for (const auto& c : cases) {
        char buffer[128];
        memset(buffer, 'x', sizeof buffer);
        db_get_errortext(c.code, buffer, c.size);
        EXPECT_STREQ(c.expected, buffer) << "code " << c.code << ", size " << c.size;
    }
    char untouched[4] = "abc";
    db_get_errortext(4, untouched, 0);
    EXPECT_STREQ("abc", untouched) << "size 0 writes nothing";
}

TEST(db_get_errortext, WithoutJobTheBufferStaysUntouched)
{
    char buffer[16] = "keep";
    db_get_errortext(4, buffer, sizeof buffer);
    EXPECT_STREQ("keep", buffer);
}

TEST(db_select, DesignatorsAndNumbers)
{
    JobScope job;
    unsigned errorVariable = 0;
    ASSERT_NE(0, db_set_errorvariable(&errorVariable));
    const struct {
        const char* what;
        int (*call)();
        int result;
        int currentAfter;
        unsigned error;
    } cases[] = {
        {"0 keeps area 1 of a new job", [] { return db_select(nullptr); }, 1, 1, 0},
        {"area 7", [] { return db_select_area(7); }, 7, 7, 0},
        {"256 is the current area", [] { return db_select_area(256); }, 7, 7, 0},
        {"257 is area 1", [] { return db_select_area(257); }, 1, 1, 0},
        {"250 is the last area", [] { return db_select_area(250); }, 250, 250, 0},
        {"251 is refused", [] { return db_select_area(251); }, 0, 250, 4},
        {"255 is refused", [] { return db_select(DB_AREAREF(255)); }, 0, 250, 4},
        {"reference of area 3", [] { return db_select(DB_AREAREF(3)); }, 3, 3, 0},
        {"unknown alias", [] { return db_select_alias("NOWHERE"); }, 0, 3, 6},
    };
    for (const auto& c : cases) {
        errorVariable = 0;
        EXPECT_EQ(c.result, c.call()) << c.what;
        EXPECT_EQ(c.error, errorVariable) << c.what;
        EXPECT_EQ(c.currentAfter, db_select(nullptr)) << c.what;
    }
    db_set_errorvariable(nullptr);
}

namespace {
std::vector<unsigned> s_delivered;
std::vector<DWORD> s_deliveredOn;
void DB_CALL Record(unsigned code)
{
    s_delivered.push_back(code);
    s_deliveredOn.push_back(GetCurrentThreadId());
}
} // namespace

TEST(db_set_errorcallback, UnframedErrorsWaitForTheNextFramedCallOfTheSameThread)
{
    JobScope job;
    s_delivered.clear();
    s_deliveredOn.clear();
    ASSERT_NE(0, db_set_errorcallback(&Record));
    EXPECT_EQ(0, db_select_area(251));
    EXPECT_TRUE(s_delivered.empty()) << "db_select carries no nesting counter";
    EXPECT_EQ(4u, db_error());
    ASSERT_EQ(std::vector<unsigned>{4}, s_delivered);
    EXPECT_EQ(GetCurrentThreadId(), s_deliveredOn[0]);

    // An error raised on another thread reaches the callback on that thread only.
    s_delivered.clear();
    s_deliveredOn.clear();
    DWORD otherId = 0;
    HANDLE other = CreateThread(
        nullptr, 0,
        [](LPVOID p) -> DWORD {
            *(DWORD*)p = GetCurrentThreadId();
            db_select_area(252);
            db_get_version(0);
            return 0;
        },
        &otherId, 0, nullptr);
    WaitForSingleObject(other, INFINITE);
    CloseHandle(other);
    ASSERT_EQ(std::vector<unsigned>{4}, s_delivered);
    EXPECT_EQ(otherId, s_deliveredOn[0]);
    db_set_errorcallback(nullptr);
}

TEST(db_set_errorcallback, WithoutJobNothingIsStored)
{
    EXPECT_EQ(0, db_set_errorcallback(&Record));
    EXPECT_EQ(0, db_set_errorvariable(nullptr));
    EXPECT_EQ(0, db_set_positioncallback(nullptr));
}
