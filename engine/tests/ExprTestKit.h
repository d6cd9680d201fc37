// Fixtures of the expression tests: a small table of people in area 1 (and a second table with
// the alias OTHER in area 2), readable descriptions of compiled trees and of values.
#pragma once

#include <string>
#include <vector>

#include "EngineHooks.h"
#include "Expression.h"
#include "TableTestKit.h"

namespace exprtest {

// Field values of one record, in field order (each padded to its field: texts to the left,
// numbers to the right); the deleted flag first.
std::string Row(const std::vector<tabletest::FieldDef>& fields, bool deleted, const std::vector<std::string>& values);

// people.dbf:
//   NAME C10, NAM C3, AGE N3, PRICE N8.2, BORN D, FLAG L, A L, B L, C L, DELETED L, NOTE M, X N5
// record 1: ABC, ab, 42, 12.50, 20240517, T, T, F, T, F, -, 7
// record 2: A, "", 7, -12.50, (empty), F, F, T, F, T, -, 0
// record 3: Meier, Mei, 30, 0.10, 19991231, 1 (reads as true), T, T, F, F, -, -3
// other.dbf (alias OTHER): CITY C8; records Berlin, Hamburg.
extern const std::vector<tabletest::FieldDef> kPeopleFields;
std::string PeopleImage(uint8_t version = 0x03);

class ExprTest : public tabletest::TableTest {
protected:
    void SetUp() override;
    void TearDown() override;
    // Compiles in the current area after clearing the current error (as an export's job lookup
    // does); the test owns the result.
    s_Expression* Compile(const std::string& text);
};

// A stand-in for the table encryption while it lives: the engine's cipher hooks are there and leave
// every byte as it is (the ciphers themselves are not part of these tests).
class StandInCipher {
public:
    StandInCipher();
    ~StandInCipher();
    StandInCipher(const StandInCipher&) = delete;
    StandInCipher& operator=(const StandInCipher&) = delete;

private:
    s_EngineHooks m_saved;
};

// The tree in prefix form: "(and (= NAME 'X') (> AGE 3))", calls as "upper(NAME)", parentheses as
// "(paren X)", fields of another area as "2.CITY", numbers as "%g".
std::string Describe(const s_ExprNode* node);
// A value as "N 13.2 1.5" (type letter, width.decimals, value): numbers "%.10g", dates as
// CCYYMMDD, strings in quotes, logicals T/F.
std::string ValueText(const s_ExprValue* value);
// Evaluates a text in the current area; "<compile failed>" or "<NULL>" when it fails.
std::string Evaluate(const std::string& text, int keyShape = 0);

} // namespace exprtest
