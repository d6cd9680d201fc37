// Key texts and key shapes: what the index code stores for a key expression, and the type and
// width of a key learnt without a record, for the schedule table's two index expressions and for
// keys of every type.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "ExprTestKit.h"
#include "Job.h"

using namespace exprtest;
using tabletest::FieldDef;

namespace {

const char kRecordIdKey[] = "RECORDID";
const char kCompositeKey[] =
    "UPPER(USER+DTOORD(D_FIRST_OC)+STR(T_BEGIN,4,0)+TYPE+PRIO+APP_ID+STR(DB_RECID,10,0)+TODOSTAT+STATUS+"
    "DTOORD(D_LAST_OC)+PRIVAT+SERIE+LEFT(BETREFF,30)+LEFT(WITH,30)+REMIND+RIGHT(RTRIM(DB_PATH),100))";

// The fields of the schedule table, in file order.
const std::vector<FieldDef> kScheduleFields = {
    {"ERF_USER", 'C', 20, 0}, {"ERF_DAT", 'D', 8, 0},    {"L_USER", 'C', 20, 0},     {"L_DAT", 'D', 8, 0},
    {"RECORDID", 'N', 10, 0}, {"FOOTPRINT", 'N', 4, 0},  {"USER", 'C', 20, 0},       {"NOTIZEN", 'M', 10, 0},
    {"BETREFF", 'C', 140, 0}, {"ORT", 'C', 100, 0},      {"WITH", 'C', 100, 0},      {"APP_ID", 'C', 8, 0},
    {"DB_RECID", 'N', 10, 0}, {"DB_PATH", 'C', 255, 0},  {"APP_DAT1", 'M', 10, 0},   {"APP_DAT2", 'M', 10, 0},
    {"KATEGORIE", 'C', 30, 0}, {"MOVERECID", 'N', 10, 0}, {"PRIVAT", 'C', 1, 0},     {"SERIE", 'C', 1, 0},
    {"STATUS", 'C', 1, 0},    {"TYPE", 'C', 2, 0},       {"PRIO", 'C', 1, 0},        {"REMIND", 'C', 1, 0},
    {"PERCDONE", 'N', 3, 0},  {"TODOSTAT", 'C', 1, 0},   {"FLAGS", 'C', 10, 0},      {"D_FIRST_OC", 'D', 8, 0},
    {"D_LAST_OC", 'D', 8, 0}, {"D_NEXT_OC", 'D', 8, 0},  {"T_BEGIN", 'N', 4, 0},     {"T_END", 'N', 4, 0},
    {"T_REMSPAN", 'N', 7, 0}, {"TERMIN", 'C', 180, 0},
};

// A subject with an OEM u umlaut, and a linked path longer than 100 characters.
const std::string kSubject = "Besprechung \x81" "ber das neue Projekt mit Kunden";
const std::string kPath = "C:\\Daten\\" + std::string(95, 'x') + "\\Kunde\\akte.doc";

std::string ScheduleImage()
{
    std::vector<std::string> values(kScheduleFields.size());
    auto set = [&](const char* name, const std::string& value) {
        for (size_t i = 0; i < kScheduleFields.size(); ++i)
            if (kScheduleFields[i].name == name)
                values[i] = value;
    };
    set("RECORDID", "4711");
    set("USER", "mueller");
    set("BETREFF", kSubject);
    set("WITH", "Herr Meier");
    set("APP_ID", "oxapp");
    set("DB_RECID", "123");
    set("DB_PATH", kPath);
    set("PRIVAT", "1");
    set("SERIE", "0");
    set("STATUS", "C");
    set("TYPE", "AF");
    set("PRIO", "2");
    set("REMIND", "1");
    set("D_FIRST_OC", "20240517");
    set("T_BEGIN", "600");
    return tabletest::DbfImage(kScheduleFields, {Row(kScheduleFields, false, values)});
}

std::string Padded(const std::string& text, size_t width)
{
    std::string s = text.substr(0, width);
    s.resize(width, ' ');
    return s;
}

class ExprKey : public ExprTest {
public:
    // A slot with a key expression and a key size in its header.
    struct Slot {
        s_Index index;
        explicit Slot(s_Expression* e, int keySize = 10)
        {
            index.keyExpression = e;
            index.header[14] = (uint8_t)(keySize & 0xFF);
            index.header[15] = (uint8_t)(keySize >> 8);
        }
        ~Slot() { _expr_free(index.keyExpression); }
    };
    struct Key {
        BOOL ok;
        std::string text;
        char type;
        int width, decimals;
        bool operator==(const Key& o) const
        {
            return ok == o.ok && text == o.text && type == o.type && width == o.width && decimals == o.decimals;
        }
    };
    Key KeyText(const char* expression, int keySize = 10, int keyShape = 0)
    {
        Slot slot(Compile(expression), keySize);
        char key[400] = {};
        Key k{};
        k.ok = _expr_key_text(&slot.index, key, 330, &k.type, &k.width, &k.decimals, keyShape);
        k.text = key;
        return k;
    }
    Key EvalText(const char* expression)
    {
        s_Expression* e = Compile(expression);
        char key[400] = {};
        Key k{};
        k.ok = _expr_eval_text(e, key, 330, &k.type, &k.width, &k.decimals, 0);
        k.text = key;
        _expr_free(e);
        return k;
    }
    Key KeyType(const char* expression)
    {
        Slot slot(Compile(expression));
        Key k{};
        k.ok = _expr_key_type(&slot.index, &k.type, &k.width, &k.decimals);
        return k;
    }
};

std::ostream& operator<<(std::ostream& os, const ExprKey::Key& k)
{
    return os << "{" << k.ok << ", '" << k.text << "', '" << (k.type ? k.type : '0') << "', " << k.width << ", "
              << k.decimals << "}";
}

} // namespace

TEST_F(ExprKey, TheScheduleTableKeysHaveTheirShapeWithoutARecord)
{
    db_close(3);
    ASSERT_TRUE(Use("ox4.dbf", ScheduleImage()));
    db_goto(DB_EOF);
    EXPECT_EQ((Key{TRUE, "", 'N', 10, 0}), KeyType(kRecordIdKey));
    EXPECT_EQ((Key{TRUE, "", 'C', 226, 0}), KeyType(kCompositeKey));
}

TEST_F(ExprKey, TheCompositeKeyHoldsEachPartAtItsPosition)
{
    db_close(3);
    ASSERT_TRUE(Use("ox4.dbf", ScheduleImage()));
    db_goto(1);
    const std::string upperPath = "C:\\DATEN\\" + std::string(95, 'X') + "\\KUNDE\\AKTE.DOC";
    std::string expected = Padded("MUELLER", 20)                                   // 1-20 USER
                           + "20240517"                                            // 21-28 D_FIRST_OC
                           + " 600"                                                // 29-32 T_BEGIN
                           + "AF"                                                  // 33-34 TYPE
                           + "2"                                                   // 35 PRIO
                           + Padded("OXAPP", 8)                                    // 36-43 APP_ID
                           + "       123"                                          // 44-53 DB_RECID
                           + " "                                                   // 54 TODOSTAT
                           + "C"                                                   // 55 STATUS
                           + "99999999"                                            // 56-63 D_LAST_OC (empty)
                           + "1"                                                   // 64 PRIVAT
                           + "0"                                                   // 65 SERIE
                           + Padded("BESPRECHUNG \x9A" "BER DAS NEUE PROJEKT", 30)  // 66-95 BETREFF
                           + Padded("HERR MEIER", 30)                              // 96-125 WITH
                           + "1"                                                   // 126 REMIND
                           + upperPath.substr(upperPath.size() - 100);             // 127-226 DB_PATH
    ASSERT_EQ(226u, expected.size());
    EXPECT_EQ((Key{TRUE, expected, 'C', 226, 0}), KeyText(kCompositeKey));
    EXPECT_EQ((Key{TRUE, "0000004711", 'C', 10, 0}), KeyText(kRecordIdKey));
    EXPECT_EQ((Key{TRUE, "0000004711", 'N', 10, 0}), EvalText(kRecordIdKey));
}

TEST_F(ExprKey, KeysOfEveryType)
{
    db_goto(1);
    EXPECT_EQ((Key{TRUE, "????????", 'C', 3, 0}), KeyText("AGE", 32)) << "numeric keys of 32 characters or more";
    EXPECT_EQ((Key{TRUE, "00012.50", 'C', 8, 2}), KeyText("PRICE", 8));
    EXPECT_EQ((Key{TRUE, "20240517", 'D', 8, 0}), KeyText("BORN"));
    EXPECT_EQ((Key{TRUE, "T", 'L', 0, 0}), KeyText("FLAG"));
    EXPECT_EQ((Key{TRUE, "ABC       ", 'C', 10, 0}), KeyText("trim(NAME)")) << "key texts are padded to the width";
    EXPECT_EQ((Key{TRUE, "ABC", 'C', 10, 0}), EvalText("trim(NAME)")) << "seek texts are not";
    EXPECT_EQ((Key{TRUE, "          ", 'C', 10, 0}), KeyText("NAME", 10, 1)) << "key-shape mode reads no record";
    EXPECT_EQ((Key{FALSE, "", 0, 0, 0}), KeyText("round(AGE)")) << "a failing evaluation gives no key";
    EXPECT_EQ((Key{TRUE, std::string(330, ' '), 'C', INT_MAX, 0}), KeyText("substr(NAME, -1e10)"))
        << "a width beyond the key's maximum pads only up to the maximum";
    db_goto(2);
    EXPECT_EQ((Key{TRUE, ",,,+*.',", 'C', 8, 2}), KeyText("PRICE", 8)) << "negative numbers sort before positive ones";
    EXPECT_EQ((Key{TRUE, "        ", 'D', 8, 0}), KeyText("BORN"));
    db_goto(3);
    EXPECT_EQ((Key{TRUE, ",,,,)", 'C', 5, 0}), KeyText("X", 5)) << "a negative whole number of a field";
    EXPECT_EQ((Key{TRUE, "030", 'C', 3, 0}), KeyText("AGE", 5));
}

TEST_F(ExprKey, KeyShapeComputesTypesAndWidthsOfFunctions)
{
    struct Shape {
        const char* expression;
        Key key;
    };
    const Shape shapes[] = {
        {"dtos(BORN)", {TRUE, "", 'C', 8, 0}},
        {"dtoc(BORN)", {TRUE, "", 'C', 10, 0}},
        {"str(AGE, 7, 2)", {TRUE, "", 'C', 7, 0}},
        {"substr(NAME, 3)", {TRUE, "", 'C', 7, 0}},
        {"left(NAME, 4) + right(NAME, 3)", {TRUE, "", 'C', 7, 0}},
        {"ctod(NAME)", {TRUE, "", 'D', 8, 0}},
        {"year(BORN)", {TRUE, "", 'N', 17, 2}},
        {"len(NAME)", {TRUE, "", 'N', 6, 0}},
        {"phonetic(NAME)", {TRUE, "", 'C', 10, 0}},
        {"A .AND. B", {TRUE, "", 'L', 0, 0}},
    };
    db_goto(1);
    for (const Shape& s : shapes) {
        Key k = KeyType(s.expression);
        k.text.clear();
        EXPECT_EQ(s.key, k) << s.expression;
    }
}

TEST_F(ExprKey, ATreeEvaluatedRecordAfterRecordGivesTheKeysOfAFreshTree)
{
    // One tree reuses its values and their text buffers from one evaluation to the next: a
    // longer text, a dropped one (iif of a trimmed text) or a failing evaluation before must not
    // show in the next key.
    const char* const expressions[] = {
        "trim(NAME) + str(AGE, 5, 1) + NAM",
        "iif(FLAG, NAME + NAME, trim(NAM))",
        "upper(left(NAME, 2)) + dtos(BORN) + right(trim(NAME), 2)",
        "iif(FLAG, round(AGE), AGE)",
        "PRICE",
    };
    const int records[] = {1, 2, 3, 1, 3, 2};
    for (const char* expression : expressions) {
        Slot reused(Compile(expression), 12);
        for (int recno : records) {
            db_goto(recno);
            Key k{};
            char key[400] = {};
            k.ok = _expr_key_text(&reused.index, key, 330, &k.type, &k.width, &k.decimals, 0);
            k.text = key;
            EXPECT_EQ(KeyText(expression, 12), k) << expression << ", record " << recno;
        }
    }
}
