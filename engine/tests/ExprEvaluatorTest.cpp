// The expression evaluator: values with their widths and decimals, operators, comparisons (with
// the exact setting and empty dates), the 40 functions, key-shape mode and key texts, including
// the two key expressions of the schedule table.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "Conversions.h"
#include "CtlLog.h"
#include "EngineHooks.h"
#include "ExprTestKit.h"
#include "Job.h"

using namespace exprtest;
using tabletest::FieldDef;

namespace {

struct EvalCase {
    const char* text;
    const char* value;   // ValueText of the result, "<NULL>" when the evaluation fails
    unsigned error;      // the error raised (0: none)
};

class ExprEvaluator : public ExprTest {
protected:
    void Check(const EvalCase& c)
    {
        EXPECT_EQ(c.value, Evaluate(c.text)) << c.text;
        EXPECT_EQ(c.error, g_Job->currentError) << c.text;
    }
    void CheckAll(std::initializer_list<EvalCase> cases)
    {
        for (const auto& c : cases)
            Check(c);
    }
};

// The day number of a date, for expected values.
std::string DayOf(int y, int m, int d)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.10g", (double)(_days_before_year(y) + _day_of_year(y, m, d) + DB_DAY_OFFSET));
    return text;
}

} // namespace

TEST_F(ExprEvaluator, ArithmeticWidthsAndDecimals)
{
    CheckAll({
        {"1 + 2", "N 10.0 3", 0},
        {"1.25 + 1.5", "N 13.2 2.75", 0},
        {"2 * 1.5", "N 12.1 3", 0},
        {"1.5 * 1.25", "N 14.3 1.875", 0},
        {"10 - 2.5", "N 12.1 7.5", 0},
        {"7 / 2", "N 13.2 3.5", 0},
        {"1/0", "N 13.2 1.797693e+308", 0},
        {"-1/0", "N 13.2 -1.797693e+308", 0},
        {"0/0", "N 13.2 1.797693e+308", 0},
        {"-(2.5)", "N 12.1 -2.5", 0},
        {"'ab' + 'cd'", "C 8.0 'abcd'", 0},
        {"NAME + 'x'", "C 13.0 'ABC       x'", 0},
        {"'B' $ 'ABC'", "L 3.0 T", 0},
        {"'' $ 'ABC'", "L 2.0 T", 0},
        {"'D' $ 'ABC'", "L 3.0 F", 0},
        {"A + B", "L 1.0 T", 0},
        {"AGE", "N 3.0 42", 0},
        {"PRICE", "N 8.2 12.5", 0},
        {"AGE * PRICE", "N 13.2 525", 0},
    });
}

TEST_F(ExprEvaluator, DateArithmeticGivesNumbers)
{
    CheckAll({
        {"BORN", ("D 8.0 20240517"), 0},
        {"BORN + 1", ("N 8.0 " + DayOf(2024, 5, 18)).c_str(), 0},
        {"BORN - 17", ("N 8.0 " + DayOf(2024, 4, 30)).c_str(), 0},
        {"BORN - BORN", "N 8.0 0", 0},
        {"dtos(BORN + 15)", "C 8.0 '20240601'", 0},
        {"BORN + 1 > BORN", "L 8.0 T", 0},
    });
}

TEST_F(ExprEvaluator, ComparisonsOfNumbersUseAToleranceOnlyForEquality)
{
    CheckAll({
        {"0.1 + 0.2 = 0.3", "L 12.1 T", 0},
        {"0.3 >= 0.1 + 0.2", "L 12.1 F", 0},
        {"0.1 + 0.2 # 0.3", "L 12.1 F", 0},
        {"1 = 1.0000001", "L 10.0 T", 0},
        {"1 = 1.000001", "L 10.0 F", 0},
        {"AGE >= 42 .AND. AGE <= 42", "L 3.0 T", 0},
        {"A = .T.", "L 1.0 T", 0},
        {"A > B", "L 1.0 T", 0},
        {"A .XOR. C", "L 1.0 F", 0},
        {"A .XOR. B", "L 1.0 T", 0},
        {"NOT A", "L 1.0 F", 0},
        {".NOT. B .OR. .F.", "L 1.0 T", 0},
    });
}

TEST_F(ExprEvaluator, StringComparisonsFollowTheExactSetting)
{
    struct Row {
        long recno;
        int exact;
        const char* text;
        const char* value;
    };
    const Row rows[] = {
        {1, 0, "NAME = 'AB'", "L 10.0 T"},   // "ABC" begins with "AB"
        {2, 0, "trim(NAME) = 'AB'", "L 10.0 T"},   // "A" is the beginning of "AB"
        {1, 1, "NAME = 'AB'", "L 10.0 F"},
        {2, 1, "trim(NAME) = 'AB'", "L 10.0 F"},
        {2, 0, "trim(NAME) = ''", "L 10.0 T"},
        {1, 1, "NAME = 'ABC       '", "L 10.0 T"},
        {1, 1, "NAME > 'AB'", "L 10.0 T"},
        {1, 0, "NAME > 'AB'", "L 10.0 F"},
        {1, 0, "NAME <> 'AX'", "L 10.0 T"},
    };
    for (const Row& r : rows) {
        db_goto(r.recno);
        db_set_exact(r.exact);
        EXPECT_EQ(r.value, Evaluate(r.text)) << r.text << " (record " << r.recno << ", exact " << r.exact << ")";
    }
}

TEST_F(ExprEvaluator, AnEmptyDateComesBeforeEveryDate)
{
    db_goto(2);
    CheckAll({
        {"BORN", "D 8.0         ", 0},
        {"BORN < ctod('01/01/0100')", "L 8.0 T", 0},
        {"BORN = BORN", "L 8.0 T", 0},
        {"dtoord(BORN)", "C 8.0 '99999999'", 0},
        {"dtos(BORN)", "C 8.0 '        '", 0},
        {"year(BORN)", "N 17.2 0", 0},
    });
    db_goto(1);
    Check({"dtoord(BORN)", "C 8.0 '20240517'", 0});
}

TEST_F(ExprEvaluator, TextFunctions)
{
    CheckAll({
        {"upper(NAM)", "C 3.0 'AB '", 0},
        {"lower(NAME)", "C 10.0 'abc       '", 0},
        {"upper('stra\x84" "e')", "C 8.0 'STRA\x8E" "E'", 0},
        {"lower('\x8E\x99\x9A')", "C 5.0 '\x84\x94\x81'", 0},
        {"trim(NAME)", "C 10.0 'ABC'", 0},
        {"rtrim(NAME) + '|'", "C 13.0 'ABC|'", 0},
        {"ltrim('  a ')", "C 6.0 'a '", 0},
        {"alltrim('  a ')", "C 6.0 'a'", 0},
        {"left(NAME, 2)", "C 2.0 'AB'", 0},
        {"left(NAME, 0)", "C 0.0 'ABC       '", 0},
        {"left(NAME, -3)", "C -3.0 'ABC       '", 0},
        {"right(trim(NAME), 2)", "C 2.0 'BC'", 0},
        {"right('AB', 5)", "C 5.0 'AB'", 0},
        {"substr('ABCDEF', 2, 3)", "C 3.0 'BCD'", 0},
        {"substr('ABCDEF', 2)", "C 6.0 'BCDEF'", 0},
        {"substr('ABCDEF', -2)", "C 2.0 'EF'", 0},
        {"substr('ABCDEF', 0)", "C 8.0 ''", 0},
        {"substr('ABCDEF', 7)", "C 1.0 ''", 0},
        {"stuff('ABCDEF', 3, 2, 'xyz')", "C 11.0 'ABxyzEF'", 0},
        {"stuff('ABCDEF', 7, 0, 'xyz')", "C 13.0 'ABCDEFxyz'", 0},
        {"at('C', NAME)", "N 3.0 3", 0},
        {"at('', NAME)", "N 2.0 1", 0},
        {"at('Z', NAME)", "N 3.0 0", 0},
        {"asc('A')", "N 3.0 65", 0},
        {"asc('')", "N 2.0 0", 0},
        {"chr(65)", "C 1.0 'A'", 0},
        {"chr(321)", "C 1.0 'A'", 0},
        {"len(NAME)", "N 6.0 10", 0},
        {"len(trim(NAME))", "N 6.0 3", 0},
        {"space(3)", "C 3.0 '   '", 0},
        {"space(-2)", "C -2.0 ''", 0},
        {"deprim('AB')", "C 4.0 '\"\"'", 0},
        {"reduce('A1B2C3', '123')", "C 8.0 '123     '", 0},
        {"phonetic('Meier')", "C 7.0 'MAYR   '", 0},
        {"wcompare('ABCDEF', 'A*D')", "N 8.0 1", 0},
        {"wcompare('ABC', 'X*')", "N 5.0 0", 0},
        {"iif(.T., 'yes', 'no')", "C 5.0 'yes'", 0},
        {"iif(.F., 'yes', 'no')", "C 4.0 'no'", 0},
        {"iif(A, AGE, PRICE)", "N 3.0 42", 0},
        {"iif(B, AGE, PRICE)", "N 8.2 12.5", 0},
    });
}

TEST_F(ExprEvaluator, SoundsLike)
{
    CheckAll({
        {"'Mayer' ~= 'Meier'", "L 7.0 T", 0},
        {"'Meierhof' ~= 'Meier'", "L 10.0 T", 0},
        {"'Meier' ~= 'Meierhof'", "L 7.0 F", 0},
        {"'Meier' ~= 'Schulz'", "L 7.0 F", 0},
        {"'' ~= ''", "L 2.0 T", 0},
        {"'Meier' ~= ''", "L 7.0 F", 0},
        {"'' ~= 'Meier'", "L 2.0 F", 0},
        {"pcompare('Meyer', 'Maier')", "N 7.0 1", 0},
        {"pcompare('Meyer', 'Huber')", "N 7.0 0", 0},
    });
}

TEST_F(ExprEvaluator, NumberAndDateFunctions)
{
    CheckAll({
        {"str(5)", "C 10.0 '         5'", 0},
        {"str(3.14159, 8, 3)", "C 8.5 '   3.142'", 0},   // decimals stay the number's
        {"str(42, 5, -1)", "C 5.0 '   42'", 0},
        {"str(-2.5, 6, 1)", "C 6.1 '  -2.5'", 0},
        {"str(123456, 3)", "C 3.0 '123456'", 0},
        // Whole numbers (a shorter way than the general formatting), and the numbers around them.
        {"str(-7, 4)", "C 4.0 '  -7'", 0},
        {"str(0, 3)", "C 3.0 '  0'", 0},
        {"str(-0, 3)", "C 3.0 ' -0'", 0},
        {"str(7, 0)", "C 0.0 '7'", 0},
        {"str(7, -4)", "C -4.0 '7   '", 0},
        {"str(-1234567, 4)", "C 4.0 '-1234567'", 0},
        {"str(999999999999999, 16)", "C 16.0 ' 999999999999999'", 0},
        {"str(-1000000000000000, 18)", "C 18.0 ' -1000000000000000'", 0},
        {"str(-0.4, 3)", "C 3.1 ' -0'", 0},
        {"str(AGE * 2, 4, 0)", "C 4.0 '  84'", 0},
        {"str(-AGE, 4)", "C 4.0 ' -42'", 0},
        {"str(X - 7, 3) + str(PRICE * 100, 6)", "C 9.0 '  0  1250'", 0},
        {"abs(-2.5)", "N 12.1 2.5", 0},
        {"abs(AGE)", "N 3.0 42", 0},
        {"int(-3.7)", "N 6.0 -3", 0},
        {"int(1e10)", "N 6.0 -2147483648", 0},
        {"exp(0)", "N 17.2 1", 0},
        {"log(1)", "N 10.0 0", 0},
        {"val('12.5abc')", "N 17.2 12.5", 0},
        {"val('x')", "N 17.2 0", 0},
        {"recno()", "N 10.0 1", 0},
        {"ctod('12/24/2024')", ("D 17.0 20241224"), 0},
        {"day(ctod('12/24/2024'))", "N 17.2 24", 0},
        {"month(ctod('12/24/2024'))", "N 6.0 12", 0},
        {"year(ctod('12/24/2024'))", "N 17.2 2024", 0},
        {"cmonth(ctod('12/24/2024'))", "C 9.0 'Dezember'", 0},
        {"cmonth(ctod('03/01/2024'))", "C 9.0 'M\x84rz'", 0},
        {"dtos(BORN)", "C 8.0 '20240517'", 0},
        {"dtoc(BORN)", "C 10.0 '05/17/2024'", 0},
        {"ctod('13/45/2024')", "<NULL>", DBE_BAD_DATE},
        {"ctod('')", "<NULL>", DBE_BAD_DATE},
        {"round(AGE, 2)", "<NULL>", DBE_FUNCTION},
        {"round(AGE)", "<NULL>", DBE_FUNCTION},
        {"cdow(BORN)", "<NULL>", DBE_FUNCTION},
        {"dow(BORN)", "<NULL>", DBE_FUNCTION},
        {"dtos(ctod('x')) = '1'", "<NULL>", DBE_BAD_DATE},
    });
    db_set_dateformat(3);
    Check({"dtoc(BORN)", "C 10.0 '17.05.2024'", 0});
    Check({"dtos(ctod('24.12.2024'))", "C 8.0 '20241224'", 0});
    db_set_dateformat(0);
}

TEST_F(ExprEvaluator, StrFollowsItsLengthBeyondThirtyCharacters)
{
    CheckAll({
        {"str(1, 40, 2)", ("C 40.0 '" + std::string(36, ' ') + "1.00'").c_str(), 0},
        {"len(str(AGE, 64))", "N 6.0 64", 0},
        {"len(str(-1.5e300, 10))", "N 6.0 302", 0},
        {"len(str(1, 50, 30))", "N 6.0 50", 0},
        {"len(str(1, 2000000))", "<NULL>", DBE_MEMORY},
    });
}

TEST_F(ExprEvaluator, TodayIsTheLocalDate)
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    char expected[16];
    std::snprintf(expected, sizeof expected, "%04d%02d%02d", now.wYear, now.wMonth, now.wDay);
    EXPECT_EQ("C 8.0 '" + std::string(expected) + "'", Evaluate("dtos(today())"));
}

TEST_F(ExprEvaluator, FieldsOfAnotherAreaAndLogicalFields)
{
    CheckAll({
        {"OTHER.CITY", "C 8.0 'Berlin  '", 0},
        {"FLAG", "L 1.0 T", 0},
        {"C", "L 1.0 T", 0},
    });
    EXPECT_EQ(1, db_select(nullptr)) << "the area of the evaluation is current again";
    db_select_area(2);
    db_goto(2);
    db_select_area(1);
    Check({"OTHER.CITY", "C 8.0 'Hamburg '", 0});
    db_goto(3);
    Check({"FLAG", "L 1.0 T", 0});   // stored as '1'
    db_goto(2);
    Check({"FLAG", "L 1.0 F", 0});
}

TEST_F(ExprEvaluator, FieldsWithoutATableFailWithErrorSeven)
{
    s_Expression* e = Compile("OTHER.CITY");
    ASSERT_NE(nullptr, e);
    db_select_area(2);
    db_close(3);
    db_select_area(1);
    _db_get_job();
    EXPECT_EQ(nullptr, _expr_eval(e, 0));
    EXPECT_EQ((unsigned)DBE_READ, g_Job->currentError);
    _expr_free(e);
}

TEST_F(ExprEvaluator, MemoFieldsReadTheirTextThroughTheMemoHook)
{
    auto saved = g_EngineHooks.readMemo;
    g_EngineHooks.readMemo = nullptr;
    Check({"NOTE", "C 10.0 ''", 0});
    g_EngineHooks.readMemo = [](s_Area& area, int field, std::string& text) {
        text = "memo of record " + std::to_string(area.recno) + " field " + std::to_string(field);
        return true;
    };
    Check({"NOTE", "C 10.0 'memo of record 1 field 11'", 0});
    Check({"'record 1' $ NOTE", "L 10.0 T", 0});
    EXPECT_EQ("C 10.0 '          '", Evaluate("NOTE", 1)) << "key-shape mode reads no memo";
    g_EngineHooks.readMemo = [](s_Area&, int, std::string&) { return false; };
    Check({"NOTE", "C 10.0 ''", 0});
    g_EngineHooks.readMemo = saved;
}

TEST_F(ExprEvaluator, ArithmeticOnAFailedOperandShowsTheBigProblemBox)
{
    oxtest::CtlLog log;
    Check({"AGE + round(AGE)", "<NULL>", DBE_FUNCTION});
    Check({"round(AGE) = 1 .OR. A", "<NULL>", DBE_FUNCTION});   // comparisons fail without a box
    const auto boxes = log.Records("MessageBox");
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ("TABSTOR", boxes[0][1]);
    EXPECT_EQ("Big problem", boxes[0][2]);
}

TEST_F(ExprEvaluator, AFieldOfAnotherAreaKeepsTheStopFlagOfTheCurrentOne)
{
    g_Job->currentArea->stopFlag = 1;
    Check({"OTHER.CITY", "C 8.0 'Berlin  '", 0});
    EXPECT_EQ(1, g_Job->currentArea->stopFlag);
}
