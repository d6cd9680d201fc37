#include "ExprTestKit.h"

#include <cstdio>

#include "Conversions.h"
#include "ExprFunctions.h"
#include "Job.h"

using tabletest::FieldDef;

namespace exprtest {

const std::vector<FieldDef> kPeopleFields = {
    {"NAME", 'C', 10, 0}, {"NAM", 'C', 3, 0}, {"AGE", 'N', 3, 0},  {"PRICE", 'N', 8, 2},
    {"BORN", 'D', 8, 0},  {"FLAG", 'L', 1, 0}, {"A", 'L', 1, 0},   {"B", 'L', 1, 0},
    {"C", 'L', 1, 0},     {"DELETED", 'L', 1, 0}, {"NOTE", 'M', 10, 0}, {"X", 'N', 5, 0},
};

std::string Row(const std::vector<FieldDef>& fields, bool deleted, const std::vector<std::string>& values)
{
    std::string row(1, deleted ? '*' : ' ');
    for (size_t i = 0; i < fields.size(); ++i) {
        std::string v = i < values.size() ? values[i] : std::string();
        v.resize(std::min(v.size(), (size_t)fields[i].length));
        const std::string pad((size_t)fields[i].length - v.size(), ' ');
        row += fields[i].type == 'N' ? pad + v : v + pad;
    }
    return row;
}

std::string PeopleImage(uint8_t version)
{
    return tabletest::DbfImage(
        kPeopleFields,
        {Row(kPeopleFields, false, {"ABC", "ab", "42", "12.50", "20240517", "T", "T", "F", "T", "F", "", "7"}),
         Row(kPeopleFields, false, {"A", "", "7", "-12.50", "", "F", "F", "T", "F", "T", "", "0"}),
         Row(kPeopleFields, false, {"Meier", "Mei", "30", "0.10", "19991231", "1", "T", "T", "F", "F", "", "-3"})},
        version);
}

void ExprTest::SetUp()
{
    TableTest::SetUp();
    db_select_area(2);
    const std::vector<FieldDef> city = {{"CITY", 'C', 8, 0}};
    ASSERT_TRUE(Use("other.dbf", tabletest::DbfImage(city, {Row(city, false, {"Berlin"}), Row(city, false, {"Hamburg"})}),
                    0x01, "OTHER"));
    db_goto(1);
    db_select_area(1);
    ASSERT_TRUE(Use("people.dbf", PeopleImage()));
    db_goto(1);
    db_set_exact(1);
}

void ExprTest::TearDown()
{
    _expr_install_hooks();
    TableTest::TearDown();
}

s_Expression* ExprTest::Compile(const std::string& text)
{
    _db_get_job();
    return _expr_compile(text.c_str());
}

std::string Describe(const s_ExprNode* n)
{
    if (!n)
        return "<null>";
    static const char* const kCodes[] = {"", "<=", "<>", ">=", ">", "<", "=", "~=", "", "", "and", "or", "xor"};
    char number[64];
    switch (n->kind) {
    case EXPR_NEGATE: return "(neg " + Describe(n->args[0]) + ")";
    case EXPR_NOT: return "(not " + Describe(n->args[0]) + ")";
    case EXPR_ARITHMETIC: return std::string("(") + n->op + " " + Describe(n->args[0]) + " " + Describe(n->args[1]) + ")";
    case EXPR_COMPARE:
        return std::string("(") + (n->code >= 0 && n->code <= 12 ? kCodes[n->code] : "?") + " " + Describe(n->args[0]) +
               " " + Describe(n->args[1]) + ")";
    case EXPR_CALL: {
        if (n->code < 0)
            return "(paren " + Describe(n->args[0]) + ")";
        std::string s = std::string(g_ExprFunctions[n->code].name) + "(";
        for (int i = 0; i < n->count; ++i)
            s += (i ? "," : "") + Describe(n->args[i]);
        return s + ")";
    }
    case EXPR_FIELD: return (n->area ? std::to_string(n->area) + "." : std::string()) + n->name;
    case EXPR_NUMBER_CONST:
        std::snprintf(number, sizeof number, "%g", n->number);
        return number;
    case EXPR_STRING_CONST: return "'" + std::string(n->text) + "'";
    case EXPR_LOGICAL_CONST: return n->logical ? ".T." : ".F.";
    default: return "<kind " + std::to_string(n->kind) + ">";
    }
}

std::string ValueText(const s_ExprValue* v)
{
    if (!v)
        return "<NULL>";
    char text[400];
    const char letter = v->type == EXPR_NUMBER ? 'N' : v->type == EXPR_DATE ? 'D' : v->type == EXPR_STRING ? 'C' : v->type == EXPR_LOGICAL ? 'L' : '?';
    std::snprintf(text, sizeof text, "%c %d.%d ", letter, v->width, v->decimals);
    std::string s = text;
    switch (v->type) {
    case EXPR_NUMBER: std::snprintf(text, sizeof text, "%.10g", v->number); return s + text;
    case EXPR_DATE: return s + _day_to_date(v->number, text);
    case EXPR_STRING: return s + "'" + _expr_text(v) + "'";
    case EXPR_LOGICAL: return s + (v->logical ? "T" : "F");
    default: return s;
    }
}

namespace {

void LeaveAsItIs(s_Area&, int32_t, void*, unsigned) {}

} // namespace

StandInCipher::StandInCipher() : m_saved(g_EngineHooks)
{
    g_EngineHooks.encryptBuffer = LeaveAsItIs;
    g_EngineHooks.decryptBuffer = LeaveAsItIs;
}

StandInCipher::~StandInCipher()
{
    g_EngineHooks.encryptBuffer = m_saved.encryptBuffer;
    g_EngineHooks.decryptBuffer = m_saved.decryptBuffer;
}

std::string Evaluate(const std::string& text, int keyShape)
{
    _db_get_job();
    s_Expression* e = _expr_compile(text.c_str());
    if (!e)
        return "<compile failed>";
    s_ExprValue* v = _expr_eval(e, keyShape);
    std::string s = ValueText(v);
    _expr_free_value(v);
    _expr_free(e);
    return s;
}

} // namespace exprtest
