// The expression compiler: precedence and grouping, word and dot operators, the type checks
// with their messages, constants with their widths, field references and the odd cases callers rely on.
#include <gtest/gtest.h>

#include <string>

#include "ExprTestKit.h"
#include "Job.h"

using namespace exprtest;

namespace {

struct CompileCase {
    const char* text;
    const char* tree;     // the tree, or NULL when the compile fails
    uint8_t type;         // the compiled type (when it compiles)
    const char* message;  // the error detail (when it fails with error 18)
};

class ExprCompiler : public ExprTest {
protected:
    void Check(const CompileCase& c)
    {
        SCOPED_TRACE(c.text);
        s_Expression* e = Compile(c.text);
        if (c.tree) {
            ASSERT_NE(nullptr, e) << "error " << g_Job->currentError << ": " << g_Job->errorDetail;
            EXPECT_EQ(c.tree, Describe(e->root));
            EXPECT_EQ(c.type, e->type);
            EXPECT_EQ(0u, g_Job->currentError);
        } else {
            EXPECT_EQ(nullptr, e) << Describe(e ? e->root : nullptr);
            EXPECT_EQ((unsigned)DBE_EXPRESSION, g_Job->currentError);
            EXPECT_EQ(c.message, std::string(g_Job->errorDetail));
        }
        _expr_free(e);
    }
};

const uint8_t N = EXPR_NUMBER, D = EXPR_DATE, S = EXPR_STRING, L = EXPR_LOGICAL;

} // namespace

TEST_F(ExprCompiler, LogicalOperatorsShareOnePrecedenceAndGroupFromTheLeft)
{
    const CompileCase cases[] = {
        {"A AND B OR C", "(or (and A B) C)", L},
        {"A OR B AND C", "(and (or A B) C)", L},
        {"A .and. B .OR. C", "(or (and A B) C)", L},
        {"A xor B .Xor. C", "(xor (xor A B) C)", L},
        {"NAME = 'X' .and. AGE > 3", "(and (= NAME 'X') (> AGE 3))", L},
        {"NAME = 'X' and AGE > 3", "(and (= NAME 'X') (> AGE 3))", L},
        {"(A OR B) AND C", "(and (paren (or A B)) C)", L},
        {"A AND(B)", nullptr, 0, "error: uninterpretable term: 'A AND(B)'"},
        {"NAME='X'AND AGE>3", nullptr, 0, "error: uninterpretable term: ''X'AND AGE'"},
        {"NAME AND A", nullptr, 0, "arg error: left side of ' AND ' has bad type (expected [bool])"},
        {"A .OR. NAME", nullptr, 0, "arg error: right side of '.OR.' has bad type (expected [bool])"},
    };
    for (const auto& c : cases)
        Check(c);
}

TEST_F(ExprCompiler, NotBindsLessTightlyThanComparisons)
{
    const CompileCase cases[] = {
        {"NOT DELETED = .T.", "(not (= DELETED .T.))", L},
        {".NOT. A", "(not A)", L},
        {"not A .and. B", "(and (not A) B)", L},
        {"NOT NAME", nullptr, 0, "arg error: right side of NOT has bad type (expected [bool])"},
    };
    for (const auto& c : cases)
        Check(c);
}

TEST_F(ExprCompiler, Comparisons)
{
    const CompileCase cases[] = {
        {"AGE <> 3", "(<> AGE 3)", L},
        {"AGE != 3", "(<> AGE 3)", L},
        {"AGE # 3", "(<> AGE 3)", L},
        {"AGE>=3", "(>= AGE 3)", L},
        {"AGE <= 3", "(<= AGE 3)", L},
        {"AGE < 3", "(< AGE 3)", L},
        {"AGE > 3", "(> AGE 3)", L},
        {"NAME ~= 'Maier'", "(~= NAME 'Maier')", L},
        {"BORN = BORN + 1", "(= BORN (+ BORN 1))", L},
        {"AGE = 3 = A", "(= (= AGE 3) A)", L},
        {"AGE == 3", nullptr, 0, "error: uninterpretable term: '= 3'"},
        {"AGE = 3 = 4", nullptr, 0, "arg error: right side of '=' has bad type (expected [bool])"},
        {"NAME = 3", nullptr, 0, "arg error: right side of '=' has bad type (expected [string])"},
        {"'a=b' = NAME", "(= 'a=b' NAME)", L},
    };
    for (const auto& c : cases)
        Check(c);
}

TEST_F(ExprCompiler, ArithmeticPrecedenceAndTypes)
{
    const CompileCase cases[] = {
        {"1 + 2 * 3", "(+ 1 (* 2 3))", N},
        {"1 - 2 - 3", "(- (- 1 2) 3)", N},
        {"8 / 4 * 2", "(* (/ 8 4) 2)", N},
        {"'a' + NAME $ NAME", nullptr, 0, "arg error: right side of '+' has bad type (expected [string])"},
        {"'a' $ NAME .AND. A", "(and ($ 'a' NAME) A)", L},
        {"-3 * 2", "(* (neg 3) 2)", N},
        {"+3", "3", N},
        {"2 * -3", nullptr, 0, "error: uninterpretable term: '2 * -3'"},
        {"BORN + 1", "(+ BORN 1)", D},
        {"BORN - BORN", "(- BORN BORN)", D},
        {"A + A", "(+ A A)", L},
        {"NAME - 1", nullptr, 0, "arg error: left side of '-' has bad type (expected [date])"},
        {"BORN - 'x'", nullptr, 0, "arg error: right side of '-' has bad type (expected [date])"},
        {"AGE + 'x'", nullptr, 0, "arg error: right side of '+' has bad type (expected [double])"},
        {"AGE $ NAME", nullptr, 0, "arg error: left side of '$' has bad type (expected [string])"},
        {"-NAME", nullptr, 0, "arg error: sign operator expected [number] type"},
    };
    for (const auto& c : cases)
        Check(c);
}

TEST_F(ExprCompiler, FunctionCallsAndParentheses)
{
    const CompileCase cases[] = {
        {"upper(NAME)", "upper(NAME)", S},
        {"UPPER ( NAME )", "upper(NAME)", S},
        {"substr(NAME, 2, 3)", "substr(NAME,2,3)", S},
        {"left(NAME, len(trim(NAME)) - 1)", "left(NAME,(- len(trim(NAME)) 1))", S},
        {"iif(A, 'x', 'y')", "iif(A,'x','y')", S},
        {"iif(A, AGE, X)", "iif(A,AGE,X)", N},
        {"iif(A, .T., .F.)", "iif(A,.T.,.F.)", L},
        {"recno()", "recno()", N},
        {"recno( )", "recno()", N},
        {"today()", "today()", D},
        {"round(AGE, 2)", "round(AGE,2)", N},
        {"stuff(NAME, 1, 2, 'x,y')", "stuff(NAME,1,2,'x,y')", S},
        {"(1 + 2) * 3", "(* (paren (+ 1 2)) 3)", N},
        {"upper(NAME", "upper(NAM)", S},
        {"(1 +)", nullptr, 0, "argument error: unexpected empty argument"},
        {"foo(X)", nullptr, 0, "error: uninterpretable term: 'foo(X)'"},
        {"left(NAME)", nullptr, 0, "wrong number of args in function left (expected 2, was 1)"},
        {"LEFT(NAME)", nullptr, 0, "wrong number of args in function LEFT (expected 2, was 1)"},
        {"str()", nullptr, 0, "wrong number of args in function str (expected 1 to 3, was 0)"},
        {"upper(NAME, 1, 2, 3, 4)", nullptr, 0, "wrong number of args in function upper (expected 1, was 5)"},
        {"iif(AGE > 1, 'a', 2)", nullptr, 0, "arg error: bad arg type in 'iif' (expected [string], was [double])"},
        {"upper(AGE)", nullptr, 0, "arg error: bad arg type in 'upper' (expected [string], was [double])"},
        {"dtos(NAME)", nullptr, 0, "arg error: bad arg type in 'dtos' (expected [date], was [string])"},
        {"upper(NAME))", nullptr, 0, "syntax error in function upper at 'upper(NAME))'"},
        {"upper('a)", nullptr, 0, "syntax error in function upper at 'upper('a)'"},
        {"left(NAME, )", nullptr, 0, "error: uninterpretable term: 'left(NAME, )'"},
    };
    for (const auto& c : cases)
        Check(c);
}

TEST_F(ExprCompiler, ConstantsAndFields)
{
    const CompileCase cases[] = {
        {"12abc", "12", N},
        {".T.", ".T.", L},
        {".y.", ".T.", L},
        {".J.", ".T.", L},
        {".f.", ".F.", L},
        {".N.", ".F.", L},
        {"'AB'", "'AB'", S},
        {"\"A'B\"", "'A'B'", S},
        {"\xB4" "AB" "\xB4", "'AB'", S},
        {"'", "''", S},
        {"name", "name", S},
        {"#3", "#3", N},
        {"INDEXKEY", "INDEXKEY", S},
        {"FLAG", "FLAG", L},
        {"BORN", "BORN", D},
        {"NOTE", "NOTE", S},
        {"OTHER.CITY", "2.CITY", S},
        {"other.city", "2.city", S},
        {"#2.CITY", "2.CITY", S},
        {"#2.NAME", nullptr, 0, "error: uninterpretable term: '#2.NAME'"},
        {"NOSUCHFIELD", nullptr, 0, "error: uninterpretable term: 'NOSUCHFIELD'"},
        {"", nullptr, 0, "error: uninterpretable term: ''"},
        {"   ", nullptr, 0, "error: uninterpretable term: '   '"},
    };
    for (const auto& c : cases)
        Check(c);
}

TEST_F(ExprCompiler, WidthsOfConstantsAndFields)
{
    struct Width {
        const char* text;
        int32_t width, decimals;
    };
    const Width cases[] = {
        {"1", 10, 0}, {"1.50", 13, 2}, {"1.5abc", 15, 4}, {"'AB'", 4, 0}, {"''", 2, 0}, {"'", 0, 0},
        {"NAME", 10, 0}, {"PRICE", 8, 2}, {"BORN", 8, 0}, {"NOTE", 10, 0}, {"INDEXKEY", 330, 0},
    };
    for (const auto& c : cases) {
        s_Expression* e = Compile(c.text);
        ASSERT_NE(nullptr, e) << c.text;
        EXPECT_EQ(c.width, e->root->width) << c.text;
        EXPECT_EQ(c.decimals, e->root->decimals) << c.text;
        _expr_free(e);
    }
    // The same constants under a Clipper Summer '87 table.
    db_close(3);
    ASSERT_TRUE(Use("s87.dbf", PeopleImage(0x03)));
    g_Job->currentArea->databaseType = 3;
    s_Expression* e = Compile("1.50");
    ASSERT_NE(nullptr, e);
    EXPECT_EQ(16, e->root->width);
    _expr_free(e);
    e = Compile("1");
    ASSERT_NE(nullptr, e);
    EXPECT_EQ(10, e->root->width);
    _expr_free(e);
}

TEST_F(ExprCompiler, OperatorsAndFunctionNamesAreKeptAsWritten)
{
    s_Expression* e = Compile("A and B");
    ASSERT_NE(nullptr, e);
    EXPECT_STREQ(" and ", e->root->name);
    _expr_free(e);
    e = Compile("AGE != 1");
    ASSERT_NE(nullptr, e);
    EXPECT_STREQ("!=", e->root->name);
    _expr_free(e);
    e = Compile("SubStr(NAME, 1)");
    ASSERT_NE(nullptr, e);
    EXPECT_STREQ("SubStr", e->root->name);
    _expr_free(e);
}

TEST_F(ExprCompiler, UnknownAliasRaisesErrorSixAndNoExpressionError)
{
    std::vector<unsigned> errors;
    static std::vector<unsigned>* s_errors = nullptr;
    s_errors = &errors;
    db_set_errorcallback([](unsigned code) { s_errors->push_back(code); });
    EXPECT_FALSE(db_matches_condition("X.NAME = 'A'"));
    EXPECT_EQ((std::vector<unsigned>{DBE_NO_ALIAS, DBE_EXPRESSION}), errors)
        << "db_matches_condition raises 18 itself after a failed compile";

    errors.clear();
    EXPECT_FALSE(db_set_filter_to("X.NAME = 'A'"));
    EXPECT_EQ((std::vector<unsigned>{DBE_NO_ALIAS}), errors) << "the compiler raises no 18 after error 6";
    EXPECT_EQ(nullptr, g_Job->currentArea->filterExpression);
    db_set_errorcallback(nullptr);
}

TEST_F(ExprCompiler, MessagesReachTheErrorTextAndAreCutTo100Characters)
{
    const std::string longName(150, 'Q');
    s_Expression* e = Compile(longName);
    EXPECT_EQ(nullptr, e);
    const std::string full = "error: uninterpretable term: '" + longName + "'";
    EXPECT_EQ(full.substr(0, 100), std::string(g_Job->errorDetail));
    char text[200];
    db_get_errortext(DBE_EXPRESSION, text, sizeof text);
    EXPECT_EQ(full.substr(0, 100), std::string(text));

    // A successful compile clears the detail text.
    e = Compile("NAME");
    ASSERT_NE(nullptr, e);
    EXPECT_STREQ("", g_Job->errorDetail);
    _expr_free(e);
}

TEST_F(ExprCompiler, DeepNestingFailsInsteadOfExhaustingTheStack)
{
    const std::string deep = std::string(5000, '(') + "1" + std::string(5000, ')');
    s_Expression* e = Compile(deep);
    EXPECT_EQ(nullptr, e);
    EXPECT_EQ((unsigned)DBE_EXPRESSION, g_Job->currentError);

    std::string chain = "1";
    for (int i = 0; i < 5000; ++i)
        chain += "+1";
    e = Compile(chain);
    EXPECT_EQ(nullptr, e);
    EXPECT_EQ((unsigned)DBE_EXPRESSION, g_Job->currentError);

    // Nesting as deep as real keys and filters compiles.
    const std::string moderate = std::string(100, '(') + "1" + std::string(100, ')');
    e = Compile(moderate);
    ASSERT_NE(nullptr, e);
    _expr_free(e);
}
