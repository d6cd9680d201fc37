// Hostile expression texts: random texts and mutations of real keys and filters either compile or
// fail with the compiler's error; what compiles evaluates (for a record and in key-shape mode) to
// a value of a known type or fails with an error raised. Nothing crashes or hangs.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "CtlLog.h"
#include "ExprTestKit.h"
#include "Job.h"

using namespace exprtest;

namespace {

// Texts that compile in the fixture, from simple terms to the kind of filters the program builds.
const char* const kSeeds[] = {
    "NAME = 'X' .and. AGE > 3",
    "A AND B OR C",
    "NOT DELETED = .T.",
    "upper(NAME) + dtos(BORN) + str(AGE, 4, 0)",
    "iif(A, left(NAME, 3), right(NAME, 2)) $ 'ABCDEF'",
    "substr(upper(NAME), 2, 3) >= lower(NAM)",
    "stuff(NAME, 2, 1, 'xy') = space(3)",
    "val(str(PRICE * 2, 10, 2)) / 3 - abs(-1.5) < int(X)",
    "BORN + 30 > ctod('01/02/2003') .XOR. FLAG",
    "phonetic(NAME) ~= 'Meier' .OR. pcompare(NAME, 'Maier') = 1",
    "wcompare(NAME, 'A*') + at('B', NAME) + asc(NAME) + len(trim(NAME)) > recno()",
    "dtoord(BORN) < dtoc(BORN) .AND. cmonth(BORN) # 'x' .AND. year(BORN) + month(BORN) + day(BORN) > 0",
    "reduce(NAME, 'ABC') = deprim(alltrim(ltrim(rtrim(NAM))))",
    "OTHER.CITY = 'Berlin' .AND. #2.CITY <> 'x'",
    "exp(1) * log(2) > 0 .AND. chr(65) = 'A' .AND. today() > BORN",
    "SUBSTR(UPPER(INDEXKEY),1,20)=UPPER(\"MUELLER             \") .AND. SUBSTR(UPPER(INDEXKEY),21,8)>=UPPER(\"20240101\")"
    " .AND. SUBSTR(UPPER(INDEXKEY),33,2)=UPPER(\"AF\") .AND. SUBSTR(UPPER(INDEXKEY),44,10)=UPPER(STR(123,10,0))",
    "SUBSTR(UPPER(INDEXKEY),54,1)#UPPER(\"E\") .AND. SUBSTR(UPPER(INDEXKEY),64,1)#UPPER(\"1\")",
    "((AGE + 1) * (X - 2)) / ((PRICE)) = 0",
};

// Pieces that the mutations insert.
const char* const kPieces[] = {
    "(", ")", "'", "\"", "\xB4", ",", ".", " ", ".AND.", " OR ", " xor ", "NOT ", ".NOT.", "=", "==", "<>", "!=",
    "#", "~=", "<", ">=", "$", "+", "-", "*", "/", "upper(", "substr(", "iif(", "str(", "space(", "ctod(",
    "round(", "left(", "NAME", "AGE", "BORN", "A", "NOTE", "INDEXKEY", "OTHER.", "#2.", "#9.", "X.", "1.5",
    "0", "-7", "99999999", "1e308", "-1e10", ".T.", ".f.", "''", "\x84", "\xFF",
};

class ExprFuzz : public ExprTest {
protected:
    // Compiles and, when that works, evaluates; every way out is checked.
    void Exercise(const std::string& text)
    {
        _db_get_job();
        s_Expression* e = _expr_compile(text.c_str());
        if (!e) {
            const unsigned error = g_Job->currentError;
            EXPECT_TRUE(error == DBE_EXPRESSION || error == DBE_NO_ALIAS) << Shown(text) << " failed with " << error;
            if (error == DBE_EXPRESSION) {
                EXPECT_NE('\0', g_Job->errorDetail[0]) << Shown(text) << ": error 18 without a message";
            }
            ++m_failed;
            return;
        }
        ++m_compiled;
        EXPECT_TRUE(e->type == EXPR_NUMBER || e->type == EXPR_DATE || e->type == EXPR_STRING || e->type == EXPR_LOGICAL)
            << Shown(text);
        for (int keyShape = 0; keyShape < 2; ++keyShape) {
            _db_get_job();
            s_ExprValue* v = _expr_eval(e, keyShape);
            if (v) {
                EXPECT_TRUE(v->type == EXPR_NUMBER || v->type == EXPR_DATE || v->type == EXPR_STRING ||
                            v->type == EXPR_LOGICAL)
                    << Shown(text);
                ++m_evaluated;
            } else {
                EXPECT_NE(0u, g_Job->currentError) << Shown(text) << ": the evaluation failed without an error";
            }
            _expr_free_value(v);
            char key[400];
            char type;
            int width, decimals;
            _expr_eval_text(e, key, 330, &type, &width, &decimals, keyShape);
            s_Index slot;
            slot.keyExpression = e;
            _expr_key_text(&slot, key, 330, &type, &width, &decimals, keyShape);
        }
        _expr_free(e);
    }

    static std::string Shown(const std::string& text)
    {
        std::string s = "[";
        for (unsigned char c : text) {
            if (c >= 0x20 && c < 0x7F)
                s += (char)c;
            else {
                char hex[8];
                std::snprintf(hex, sizeof hex, "\\x%02X", c);
                s += hex;
            }
        }
        return s + "]";
    }

    int m_compiled = 0, m_failed = 0, m_evaluated = 0;
};

} // namespace

TEST_F(ExprFuzz, RandomAndMutatedTextsCompileOrFailCleanly)
{
    oxtest::CtlLog log;   // arithmetic on failed operands shows the "Big problem" box
    std::mt19937 random(20240517);
    auto pick = [&](size_t n) { return (size_t)std::uniform_int_distribution<size_t>(0, n - 1)(random); };
    const size_t seeds = sizeof kSeeds / sizeof kSeeds[0];
    const size_t pieces = sizeof kPieces / sizeof kPieces[0];

    for (const char* seed : kSeeds)
        Exercise(seed);
    EXPECT_EQ((int)seeds, m_compiled) << "every seed compiles";

    for (int round = 0; round < 40000; ++round) {
        std::string text = kSeeds[pick(seeds)];
        const int edits = 1 + (int)pick(4);
        for (int e = 0; e < edits; ++e) {
            const size_t at = text.empty() ? 0 : pick(text.size() + 1);
            switch (pick(5)) {
            case 0: text.insert(at, kPieces[pick(pieces)]); break;
            case 1: text.erase(at, 1 + pick(8)); break;
            case 2:
                if (at < text.size())
                    text[at] = (char)(32 + pick(224));
                break;
            case 3: {   // splice the start of another seed in
                const std::string other = kSeeds[pick(seeds)];
                text = text.substr(0, at) + other.substr(pick(other.size()));
                break;
            }
            case 4:
                text.insert(at, std::string(1 + pick(3), kPieces[pick(pieces)][0]));
                break;
            }
        }
        Exercise(text);
    }
    for (int round = 0; round < 10000; ++round) {
        std::string text(pick(60), ' ');
        for (char& c : text)
            c = (char)(1 + pick(255));
        Exercise(text);
    }
    // The mutations reach both the compiler's errors and the evaluator.
    EXPECT_GT(m_compiled, 1000);
    EXPECT_GT(m_failed, 1000);
    EXPECT_GT(m_evaluated, 1000);
}
