// The expression evaluator: computes a compiled tree for the current record, turns results into
// index key texts, and answers the type and width of a key in key-shape mode.
//
// Every node evaluation answers a new value (or NULL after raising its error); an operator
// builds its result in its left operand's value and frees the right one. The values of one tree
// come from and go back to its spare list (see s_Expression), so a tree evaluated once per record
// reuses the values, and their text buffers, of the record before.
#include <windows.h>

#include <bit>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

#include "Conversions.h"
#include "DbfFormat.h"
#include "EngineHooks.h"
#include "ExprFunctions.h"
#include "Expression.h"
#include "FieldAccess.h"
#include "LibMessageBox.h"
#include "Phonetic.h"
#include "WorkAreas.h"

s_ExprState g_ExprState;

namespace {

// Two numbers within this distance are equal for "=" and the not-equal operators.
const double kEqualTolerance = 1.192092896e-07;
// The quotient of a division by zero (the largest double but a few units), with the dividend's
// sign.
const double kDivisionByZero = std::bit_cast<double>(UINT64_C(0x7FEFFFFFD7B9609A));
// Dates above this are the empty date, which counts as 0 (before every date) in comparisons.
const double kEmptyDateLimit = 1e90;
const size_t kFieldText = 331;
// Characters of a text _text_to_number reads.
const size_t kMaxNumberChars = 48;
const int kBaseNumberWidth = 10;
const int kDivisionWidth = 13;
const int kDivisionDecimals = 2;
const size_t kScratchKey = 256;
// The key size from which numeric keys are stored as "????????" (offset 14 of an index header).
const size_t kHeaderKeySize = 14;

s_ExprValue* Eval(const s_ExprNode* node, const s_Expression* tree);

void BigProblem() { LibMessageBox(nullptr, "Big problem", "TABSTOR", MB_OK); }

// A value for a node of the tree: a spare one of an earlier evaluation (emptied, its text buffer
// kept) or a new one. NULL with error 13 without memory.
s_ExprValue* NewValue(const s_Expression* tree)
{
    s_ExprValue* v = tree->spare;
    if (!v) {
        v = _expr_new_value();
        if (v)
            v->home = tree;
        return v;
    }
    tree->spare = v->next;
    v->next = nullptr;
    v->type = 0;
    v->width = 0;
    v->decimals = 0;
    v->number = 0;
    v->logical = 0;
    if (v->text)
        v->text[0] = 0;
    return v;
}

// Widths of concatenated texts, kept within int.
int SumOfWidths(int a, int b)
{
    const long long sum = (long long)a + b;
    return sum > INT_MAX ? INT_MAX : (sum < INT_MIN ? INT_MIN : (int)sum);
}

// Width of a sum, difference or product: 10, and room for the decimals and their point.
int NumberWidth(int decimals) { return kBaseNumberWidth + (decimals > 0 ? decimals + 1 : 0); }

bool CompareNumbers(int32_t code, double a, double b)
{
    switch (code) {
    case EXPR_EQ: return std::fabs(a - b) <= kEqualTolerance;
    case EXPR_NE: return !(std::fabs(a - b) <= kEqualTolerance);
    case EXPR_LT: return a < b;
    case EXPR_LE: return a <= b;
    case EXPR_GT: return a > b;
    case EXPR_GE: return a >= b;
    default: return false;
    }
}

bool CompareOrder(int32_t code, long long c)
{
    switch (code) {
    case EXPR_EQ: return c == 0;
    case EXPR_NE: return c != 0;
    case EXPR_LT: return c < 0;
    case EXPR_LE: return c <= 0;
    case EXPR_GT: return c > 0;
    case EXPR_GE: return c >= 0;
    default: return false;
    }
}

double DateForComparison(double x) { return x > kEmptyDateLimit ? 0.0 : x; }

// A numeric field's text as a number. The usual form (blanks, an optional minus sign, at most 15
// digits and nothing behind them) is read here, exactly as _text_to_number reads it; every other
// text goes to _text_to_number.
double FieldNumber(const char* text, size_t length)
{
    const char* p = text;
    while (*p == ' ')
        ++p;
    const bool negative = *p == '-';
    if (negative)
        ++p;
    uint64_t value = 0;
    const char* digits = p;
    while (*p >= '0' && *p <= '9' && p - digits < 15)
        value = value * 10 + (uint64_t)(*p++ - '0');
    if (*p || p == digits || length > kMaxNumberChars)
        return _text_to_number(text, (int)length);
    return negative ? -(double)value : (double)value;
}

s_ExprValue* Arithmetic(const s_ExprNode* node, const s_Expression* tree)
{
    s_ExprValue* l = Eval(node->args[0], tree);
    s_ExprValue* r = Eval(node->args[1], tree);
    if (!l || !r) {
        _expr_free_value(l);
        _expr_free_value(r);
        BigProblem();
        return nullptr;
    }
    bool ok = true;
    switch (node->op) {
    case '$':
        l->logical = std::strstr(_expr_text(r), _expr_text(l)) != nullptr;
        l->type = EXPR_LOGICAL;
        break;
    case '*':
        l->number *= r->number;
        l->decimals += r->decimals;
        l->width = NumberWidth(l->decimals);
        break;
    case '+':
    case '-': {
        const double sign = node->op == '+' ? 1.0 : -1.0;
        if (node->type == EXPR_NUMBER) {
            l->number += sign * r->number;
            if (r->decimals > l->decimals)
                l->decimals = r->decimals;
            l->width = NumberWidth(l->decimals);
        } else if (node->type == EXPR_DATE) {
            l->number += sign * r->number;
            l->type = EXPR_NUMBER;
        } else if (node->type == EXPR_STRING && node->op == '+') {
            const size_t a = _expr_length(_expr_text(l)), b = _expr_length(_expr_text(r));
            ok = _expr_reserve(l, a + b);
            if (ok) {
                std::memcpy(l->text + a, _expr_text(r), b + 1);
                l->width = SumOfWidths(l->width, r->width);
            }
        }
        break;
    }
    case '/':
        if (r->number == 0.0)
            l->number = l->number < 0 ? -kDivisionByZero : kDivisionByZero;
        else
            l->number /= r->number;
        l->width = kDivisionWidth;
        l->decimals = kDivisionDecimals;
        break;
    }
    _expr_free_value(r);
    if (!ok) {
        _expr_free_value(l);
        return nullptr;
    }
    return l;
}

s_ExprValue* Compare(const s_ExprNode* node, const s_Expression* tree)
{
    s_ExprValue* l = Eval(node->args[0], tree);
    s_ExprValue* r = Eval(node->args[1], tree);
    if (!l || !r) {
        _expr_free_value(l);
        _expr_free_value(r);
        return nullptr;
    }
    bool result = false;
    switch (node->code) {
    case EXPR_AND: result = l->logical != 0 && r->logical != 0; break;
    case EXPR_OR: result = l->logical != 0 || r->logical != 0; break;
    case EXPR_XOR: result = (l->logical ^ r->logical) != 0; break;
    case EXPR_SOUNDS_LIKE: result = r->type == EXPR_STRING && _expr_sounds_like(l, r); break;
    default:
        switch (l->type) {
        case EXPR_NUMBER: result = CompareNumbers(node->code, l->number, r->number); break;
        case EXPR_DATE:
            result = CompareNumbers(node->code, DateForComparison(l->number), DateForComparison(r->number));
            break;
        case EXPR_STRING: {
            s_ExprKeepError keep;
            result = CompareOrder(node->code, db_strcompare(_expr_text(l), _expr_text(r)));
            break;
        }
        case EXPR_LOGICAL: result = CompareOrder(node->code, (long long)l->logical - (long long)r->logical); break;
        }
    }
    // XOR keeps the bits of both values.
    l->logical = node->code == EXPR_XOR ? (l->logical ^ r->logical) : (result ? 1 : 0);
    l->type = EXPR_LOGICAL;
    _expr_free_value(r);
    return l;
}

s_ExprValue* Call(const s_ExprNode* node, const s_Expression* tree)
{
    s_ExprValue* args[EXPR_MAX_ARGS] = {};
    for (int i = 0; i < node->count && i < EXPR_MAX_ARGS; ++i) {
        args[i] = Eval(node->args[i], tree);
        if (!args[i]) {
            for (int k = 0; k < i; ++k)
                _expr_free_value(args[k]);
            return nullptr;
        }
    }
    if (node->code < 0)
        return args[0];
    if (node->count == 0 && !(args[0] = NewValue(tree)))
        return nullptr;
    const bool ok = g_ExprFunctions[node->code].handler(node->count, args);
    for (int i = 1; i < EXPR_MAX_ARGS; ++i)
        _expr_free_value(args[i]);
    if (!ok) {
        _expr_free_value(args[0]);
        return nullptr;
    }
    args[0]->type = node->type;
    return args[0];
}

// Reads the field's text from the current record (the node's area made current for the read).
// Field reads, selections and memo reads go through the engine's internal operations: they write
// no trace lines and leave the errors of the evaluation alone.
bool ReadField(const s_ExprNode* node, s_ExprValue* value)
{
    s_Job* job = g_ExprState.job;
    const int previous = job->currentIndex + 1;
    s_Area* left = job->currentArea;
    // Selecting an area clears its stop flag; the area the evaluation returns to keeps its own.
    const unsigned char stopFlag = left ? left->stopFlag : 0;
    if (node->area) {
        if (node->area > DB_AREA_COUNT) {
            _db_raise_error(DBE_READ);
            return false;
        }
        _db_select_number(job, node->area);
    }
    s_Area* area = job->currentArea;
    // The area may hold another table than when the expression was compiled.
    bool ok = area && (node->field == DB_FIELD_INDEXKEY || (node->field >= 1 && node->field <= area->fieldCount));
    // The contents go straight into the value's text (at most kFieldText - 1 characters).
    ok = ok && _expr_reserve(value, kFieldText - 1) && _db_field_contents(*area, node->field, value->text, kFieldText);
    if (ok && node->letter == 'M') {
        std::string memo;
        if (!g_EngineHooks.readMemo || !g_EngineHooks.readMemo(*area, node->field, memo))
            memo.clear();
        ok = _expr_set_text(value, memo.data(), memo.size());
    }
    if (node->area && previous > 0) {
        _db_select_number(job, previous);
        if (left)
            left->stopFlag = stopFlag;
    }
    if (!ok)
        _db_raise_error(DBE_READ);
    return ok;
}

s_ExprValue* Field(const s_ExprNode* node, const s_Expression* tree)
{
    s_ExprValue* v = NewValue(tree);
    if (!v)
        return nullptr;
    v->type = node->type;
    v->width = node->width;
    bool ok;
    if (g_ExprState.keyShape) {
        const size_t blanks = node->width > 0 ? (size_t)node->width : 0;
        ok = _expr_reserve(v, blanks);
        if (ok) {
            std::memset(v->text, ' ', blanks);
            v->text[blanks] = 0;
        }
    } else
        ok = ReadField(node, v);
    if (!ok) {
        _expr_free_value(v);
        return nullptr;
    }
    switch (node->type) {
    case EXPR_NUMBER:
        v->number = FieldNumber(v->text, _expr_length(v->text));
        v->decimals = node->decimals;
        break;
    case EXPR_DATE:
        _date_to_day(v->text, &v->number);
        break;
    case EXPR_LOGICAL:
        v->logical = v->text[0] == 'T';
        break;
    }
    return v;
}

s_ExprValue* Eval(const s_ExprNode* node, const s_Expression* tree)
{
    if (!node)
        return nullptr;
    s_ExprValue* v;
    switch (node->kind) {
    case EXPR_NEGATE:
        if ((v = Eval(node->args[0], tree)))
            v->number = -v->number;
        return v;
    case EXPR_NOT:
        if ((v = Eval(node->args[0], tree))) {
            v->logical = v->logical == 0 ? 1 : 0;
            v->type = EXPR_LOGICAL;
        }
        return v;
    case EXPR_ARITHMETIC: return Arithmetic(node, tree);
    case EXPR_COMPARE: return Compare(node, tree);
    case EXPR_CALL: return Call(node, tree);
    case EXPR_FIELD: return Field(node, tree);
    case EXPR_NUMBER_CONST:
        if ((v = NewValue(tree))) {
            v->type = EXPR_NUMBER;
            v->number = node->number;
            v->width = node->width;
            v->decimals = node->decimals;
        }
        return v;
    case EXPR_STRING_CONST:
        if ((v = NewValue(tree))) {
            v->type = EXPR_STRING;
            v->width = node->width;
            if (!_expr_set_text(v, node->text, _expr_length(node->text))) {
                _expr_free_value(v);
                return nullptr;
            }
        }
        return v;
    case EXPR_LOGICAL_CONST:
        if ((v = NewValue(tree))) {
            v->type = EXPR_LOGICAL;
            v->logical = node->logical;
        }
        return v;
    default:
        return nullptr;
    }
}

// Evaluates a tree for the current record; the value stays the tree's (Release gives it back).
s_ExprValue* EvalTree(const s_Expression* expression, int keyShape)
{
    if (!expression || !expression->root)
        return nullptr;
    g_ExprState.job = g_Job;
    g_ExprState.area = g_Job ? g_Job->currentArea : nullptr;
    g_ExprState.keyShape = keyShape;
    if (!g_Job)
        return nullptr;
    return Eval(expression->root, expression);
}

// Key size of an index slot (0 without a slot).
int KeySize(const s_Index* slot) { return slot ? dbf::Get16(slot->header + kHeaderKeySize) : 0; }

BOOL KeyText(const s_Expression* expression, char* key, unsigned max, char* type, int* width, int* decimals, int keyShape,
             bool pad, char numberLetter, int keySize)
{
    s_ExprValue* v = EvalTree(expression, keyShape);
    if (!v)
        return FALSE;
    // The key's characters: text (length of them), then blanks up to padded.
    char scratch[64];
    const char* text = nullptr;
    size_t length = 0, padded = 0;
    char letter = 0;
    int w = 0, d = 0;
    BOOL ok = TRUE;
    switch (v->type) {
    case EXPR_NUMBER:
        text = _numeric_key(keySize, v->number, scratch, v->width, v->decimals);
        length = _expr_length(text);
        letter = numberLetter;
        w = v->width;
        d = v->decimals;
        break;
    case EXPR_DATE:
        text = _day_to_date(v->number, scratch);
        length = _expr_length(text);
        letter = 'D';
        w = 8;
        break;
    case EXPR_STRING:
        text = _expr_text(v);
        length = _expr_length(text);
        // Blanks up to the width, as far as the key takes them.
        if (pad && v->width > 0 && length < (size_t)v->width && length < max)
            padded = (size_t)v->width < max ? (size_t)v->width : max;
        letter = 'C';
        w = v->width;
        break;
    case EXPR_LOGICAL:
        text = v->logical ? "T" : "F";
        length = 1;
        letter = 'L';
        break;
    default:
        ok = FALSE;
    }
    if (ok && key) {
        const size_t n = length < max ? length : max;
        std::memcpy(key, text, n);
        const size_t end = padded > n ? padded : n;
        std::memset(key + n, ' ', end - n);
        key[end] = 0;
    }
    _expr_free_value(v);
    if (!ok)
        return FALSE;
    if (type)
        *type = letter;
    if (width)
        *width = w;
    if (decimals)
        *decimals = d;
    return TRUE;
}

int EvaluateCondition(s_Area& area, s_Expression* expression) { return _expr_condition(area, expression); }

// The library fills the hooks when it starts.
[[maybe_unused]] const bool s_hooksInstalled = (_expr_install_hooks(), true);

} // namespace

// ---- values ---------------------------------------------------------------------------------------

s_ExprValue* _expr_new_value()
{
    s_ExprValue* v = new (std::nothrow) s_ExprValue{};
    if (!v)
        _db_raise_error(DBE_MEMORY);
    return v;
}

void _expr_free_value(s_ExprValue* value)
{
    if (!value)
        return;
    if (value->home) {
        value->next = value->home->spare;
        value->home->spare = value;
        return;
    }
    std::free(value->text);
    delete value;
}

void _expr_free_spare(const s_Expression* expression)
{
    while (s_ExprValue* v = expression->spare) {
        expression->spare = v->next;
        v->home = nullptr;
        _expr_free_value(v);
    }
}

bool _expr_reserve(s_ExprValue* value, size_t length)
{
    if (length > EXPR_MAX_TEXT) {
        _db_raise_error(DBE_MEMORY);
        return false;
    }
    if (value->text && value->capacity > length)
        return true;
    size_t capacity = value->capacity * 2;
    if (capacity < length + 1)
        capacity = length + 1;
    char* text = (char*)std::realloc(value->text, capacity);
    if (!text) {
        _db_raise_error(DBE_MEMORY);
        return false;
    }
    if (!value->text)
        text[0] = 0;
    value->text = text;
    value->capacity = capacity;
    return true;
}

bool _expr_set_text(s_ExprValue* value, const char* text, size_t length)
{
    if (!_expr_reserve(value, length))
        return false;
    if (length)
        std::memmove(value->text, text, length);
    value->text[length] = 0;
    return true;
}

// ---- evaluation -----------------------------------------------------------------------------------

s_ExprValue* _expr_eval(const s_Expression* expression, int keyShape)
{
    s_ExprValue* v = EvalTree(expression, keyShape);
    // The caller's value may outlive the tree: it goes back to the heap.
    if (v)
        v->home = nullptr;
    return v;
}

bool _expr_sounds_like(s_ExprValue* left, s_ExprValue* right)
{
    const s_Area* area = g_ExprState.job ? g_ExprState.job->currentArea : nullptr;
    if (!left->text && !_expr_set_text(left, "", 0))
        return false;
    if (!right->text && !_expr_set_text(right, "", 0))
        return false;
    _phonetic(area, left->text);
    _phonetic(area, right->text);
    const size_t rightLength = _expr_length(right->text);
    if (!left->text[0])
        return rightLength == 0;
    if (rightLength == 0)
        return false;
    return std::strncmp(left->text, right->text, rightLength) == 0;
}

int _expr_condition(s_Area& area, s_Expression* expression)
{
    s_Job* job = area.job;
    const int previous = job->currentIndex + 1;
    s_Area* left = job->currentArea;
    const bool switched = left != &area;
    const unsigned char stopFlag = switched && left ? left->stopFlag : 0;
    if (switched)
        _db_select_number(job, area.index + 1);
    s_ExprValue* v = EvalTree(expression, 0);
    if (switched && previous > 0) {
        _db_select_number(job, previous);
        if (left)
            left->stopFlag = stopFlag;
    }
    if (!v)
        return -1;
    const int result = v->type == EXPR_LOGICAL && v->logical ? 1 : 0;
    _expr_free_value(v);
    return result;
}

// ---- key texts ------------------------------------------------------------------------------------

BOOL _expr_key_text(const s_Index* slot, char* key, unsigned max, char* type, int* width, int* decimals, int keyShape)
{
    if (!slot)
        return FALSE;
    return KeyText(slot->keyExpression, key, max, type, width, decimals, keyShape, true, 'C', KeySize(slot));
}

BOOL _expr_eval_text(const s_Expression* expression, char* key, unsigned max, char* type, int* width, int* decimals,
                     int keyShape)
{
    const s_Area* area = g_Job ? g_Job->currentArea : nullptr;
    const s_Index* slot = area && area->order >= 0 && area->order < DB_INDEX_SLOTS ? &area->indexes[area->order] : nullptr;
    return KeyText(expression, key, max, type, width, decimals, keyShape, false, 'N', KeySize(slot));
}

BOOL _expr_key_type(const s_Index* slot, char* type, int* width, int* decimals)
{
    if (!slot)
        return FALSE;
    char scratch[kScratchKey];
    return _expr_eval_text(slot->keyExpression, scratch, sizeof scratch - 1, type, width, decimals, 1);
}

void _expr_install_hooks()
{
    g_EngineHooks.evaluateCondition = &EvaluateCondition;
    g_EngineHooks.freeExpression = &_expr_free;
}
