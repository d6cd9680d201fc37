// The built-in functions of expressions. Each handler writes its result into args[0]; the
// evaluator then gives it the type the compiler found for the call and frees the other
// arguments. A width or decimals a function does not set stay those of its first argument.
//
// In key-shape mode (g_ExprState.keyShape) the functions that only transform a text or a date
// set the width of their result and compute nothing, so that an index learns its key's type and
// width without a record; the others (chr, exp, iif, int, len, log, recno, space, val and the
// failing cdow, dow and round) compute as usual.
#include "ExprFunctions.h"

#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "Collation.h"
#include "Conversions.h"
#include "Date.h"
#include "Phonetic.h"
#include "PrintfFormat.h"

namespace {

const int kDateWidth = 8;
const int kMonthNameWidth = 9;
const int kWideNumber = 17;      // width of day(), year(), exp(), val(), ctod()
const int kWideDecimals = 2;
const int kSmallNumber = 6;      // width of int(), len(), month()
const int kRecnoWidth = 10;
const unsigned kMonthNameChars = 100;
const int kValChars = 20;
const unsigned kSubstrAll = 255;
const int kDatePatternSize = 50;
// Digits, sign and point of the largest double in fixed notation, and the decimals printf writes
// when none are given.
const int kMostIntegerDigits = 312;
const int kDefaultPrecision = 6;

bool Shape() { return g_ExprState.keyShape != 0; }

// Truncation toward zero to 32 bits; a value outside that range (or NaN) gives INT_MIN, as the
// processor's conversion does.
int Truncate(double x) { return x > -2147483649.0 && x < 2147483648.0 ? (int)x : INT_MIN; }

int ClampInt(long long v) { return v < INT_MIN ? INT_MIN : (v > INT_MAX ? INT_MAX : (int)v); }

void SetNumber(s_ExprValue* v, double x) { v->number = x; }

void SetWidth(s_ExprValue* v, int width, int decimals)
{
    v->width = width;
    v->decimals = decimals;
}

// Gives the value a writable text ("" when it had none).
bool HasText(s_ExprValue* v) { return v->text || _expr_set_text(v, "", 0); }

bool SetText(s_ExprValue* v, const char* text) { return _expr_set_text(v, text, _expr_length(text)); }

// Pads the text with blanks up to width characters.
bool PadTo(s_ExprValue* v, int width)
{
    if (!HasText(v))
        return false;
    const size_t length = _expr_length(v->text);
    if (width <= 0 || (size_t)width <= length)
        return true;
    if (!_expr_reserve(v, (size_t)width))
        return false;
    std::memset(v->text + length, ' ', (size_t)width - length);
    v->text[width] = 0;
    return true;
}

// The date as CCYYMMDD (8 blanks for the empty date) and one of its parts read as a number.
void DateDigits(const s_ExprValue* v, char out[9]) { _day_to_date(v->number, out); }

int DatePart(const s_ExprValue* v, int offset, int count)
{
    char digits[9];
    DateDigits(v, digits);
    return (int)_text_to_int(digits + offset, count);
}

bool Fails53(int, s_ExprValue**)
{
    _db_raise_error(DBE_FUNCTION);
    return false;
}

// ---- texts ----------------------------------------------------------------------------------------

bool Deprim(int, s_ExprValue** a)
{
    if (Shape() || !HasText(a[0]))
        return true;
    unsigned char* p = (unsigned char*)a[0]->text;
    for (int i = 1; *p; ++p, ++i)
        *p = (unsigned char)(*p - (30 + i));
    return true;
}

// db_ltrim, db_rtrim, db_atrim, db_upper, db_lower on the text.
template <char* (DB_CALL* F)(char*)>
bool InPlace(int, s_ExprValue** a)
{
    if (Shape() || !HasText(a[0]))
        return true;
    F(a[0]->text);
    return true;
}

bool At(int, s_ExprValue** a)
{
    if (Shape())
        return true;
    const char* needle = _expr_text(a[0]);
    const char* hay = _expr_text(a[1]);
    const char* hit = std::strstr(hay, needle);
    SetNumber(a[0], hit ? (double)(hit - hay + 1) : 0.0);
    return true;
}

bool Asc(int, s_ExprValue** a)
{
    if (Shape())
        return true;
    SetNumber(a[0], (double)(unsigned char)_expr_text(a[0])[0]);
    return true;
}

bool Chr(int, s_ExprValue** a)
{
    const char c[2] = {(char)(Truncate(a[0]->number) & 0xFF), 0};
    SetWidth(a[0], 1, a[0]->decimals);
    return _expr_set_text(a[0], c, 1);
}

bool Left(int, s_ExprValue** a)
{
    const int n = Truncate(a[1]->number);
    a[0]->width = n;
    if (Shape() || !HasText(a[0]))
        return true;
    if (n > 0 && _expr_length(a[0]->text) > (size_t)n)
        a[0]->text[n] = 0;
    return true;
}

bool Right(int, s_ExprValue** a)
{
    const int n = Truncate(a[1]->number);
    a[0]->width = n;
    if (Shape() || !HasText(a[0]) || n < 0)
        return true;
    const size_t length = _expr_length(a[0]->text);
    if (length > (size_t)n)
        std::memmove(a[0]->text, a[0]->text + length - n, (size_t)n + 1);
    return true;
}

bool Len(int, s_ExprValue** a)
{
    SetNumber(a[0], (double)_expr_length(_expr_text(a[0])));
    SetWidth(a[0], kSmallNumber, 0);
    return true;
}

bool Space(int, s_ExprValue** a)
{
    const int n = Truncate(a[0]->number);
    a[0]->width = n;
    const size_t count = n > 0 ? (size_t)n : 0;
    if (!_expr_reserve(a[0], count))
        return false;
    std::memset(a[0]->text, ' ', count);
    a[0]->text[count] = 0;
    return true;
}

// The number written with "%*.*lf" (or "%*ld" with decimals -1); the text is as long as the
// formatting makes it.
bool Str(int count, s_ExprValue** a)
{
    const int length = count > 1 ? Truncate(a[1]->number) : a[0]->width;
    const int decimals = count > 2 ? Truncate(a[2]->number) : 0;
    const double x = a[0]->number;
    a[0]->width = length;
    if (Shape())
        return true;
    // Room for the width, or for the digits of the largest double with the decimals; a width or
    // decimals beyond the longest text fail here, before anything is formatted.
    const long long width = std::llabs((long long)length);
    const long long digits = (decimals > 0 ? decimals : kDefaultPrecision) + kMostIntegerDigits;
    if (!_expr_reserve(a[0], (size_t)(width > digits ? width : digits)))
        return false;
    if (decimals == 0 && length >= 0 && _whole_number_text(x, length, a[0]->text) >= 0)
        return true;
    if (decimals == -1)
        Format(a[0]->text, a[0]->capacity, "%*ld", length, (long)Truncate(x));
    else
        Format(a[0]->text, a[0]->capacity, "%*.*lf", length, decimals, x);
    return true;
}

bool Stuff(int, s_ExprValue** a)
{
    const int start = Truncate(a[1]->number);
    const int removed = Truncate(a[2]->number);
    a[0]->width = ClampInt((long long)a[0]->width - removed + a[3]->width);
    if (Shape() || !HasText(a[0]))
        return true;
    const char* replacement = _expr_text(a[3]);
    if (!_expr_reserve(a[0], _expr_length(a[0]->text) + _expr_length(replacement)))
        return false;
    db_stuff(a[0]->text, (unsigned)start, (unsigned)removed, replacement);
    return true;
}

bool Substr(int count, s_ExprValue** a)
{
    const int start = Truncate(a[1]->number);
    const int length = count > 2 ? Truncate(a[2]->number) : 0;
    if (count > 2)
        a[0]->width = length;
    else
        a[0]->width = start >= 0 ? ClampInt((long long)a[0]->width - start) : ClampInt(-(long long)start);
    if (Shape() || !HasText(a[0]))
        return true;
    db_substr(a[0]->text, start, count > 2 ? (unsigned)length : kSubstrAll);
    return true;
}

bool Val(int, s_ExprValue** a)
{
    SetNumber(a[0], _text_to_number(_expr_text(a[0]), kValChars));
    SetWidth(a[0], kWideNumber, kWideDecimals);
    return true;
}

bool PhoneticFn(int, s_ExprValue** a)
{
    if (Shape() || !HasText(a[0]))
        return true;
    db_upper(a[0]->text);
    _phonetic(g_ExprState.job ? g_ExprState.job->currentArea : nullptr, a[0]->text);
    return PadTo(a[0], a[0]->width);
}

bool Wcompare(int, s_ExprValue** a)
{
    if (Shape())
        return true;
    SetNumber(a[0], _wildcard_match(_expr_text(a[1]), _expr_text(a[0])) ? 1.0 : 0.0);
    return true;
}

bool Pcompare(int, s_ExprValue** a)
{
    if (Shape())
        return true;
    SetNumber(a[0], _expr_sounds_like(a[0], a[1]) ? 1.0 : 0.0);
    return true;
}

bool Reduce(int, s_ExprValue** a)
{
    if (Shape() || !HasText(a[0]))
        return true;
    db_strreduce(a[0]->text, _expr_text(a[1]));
    return PadTo(a[0], a[0]->width);
}

// ---- numbers --------------------------------------------------------------------------------------

bool Abs(int, s_ExprValue** a)
{
    if (!Shape() && a[0]->number < 0)
        a[0]->number = -a[0]->number;
    return true;
}

bool Exp(int, s_ExprValue** a)
{
    SetNumber(a[0], std::exp(a[0]->number));
    SetWidth(a[0], kWideNumber, kWideDecimals);
    return true;
}

bool Int(int, s_ExprValue** a)
{
    SetNumber(a[0], (double)Truncate(a[0]->number));
    SetWidth(a[0], kSmallNumber, 0);
    return true;
}

bool Log(int, s_ExprValue** a)
{
    SetNumber(a[0], std::log(a[0]->number));
    return true;
}

bool Recno(int, s_ExprValue** a)
{
    const s_Area* area = g_ExprState.area;
    SetNumber(a[0], area ? (double)area->recno : 0.0);
    SetWidth(a[0], kRecnoWidth, 0);
    return true;
}

// ---- dates ----------------------------------------------------------------------------------------

bool Dtoord(int, s_ExprValue** a)
{
    a[0]->width = kDateWidth;
    if (Shape())
        return true;
    char digits[9];
    DateDigits(a[0], digits);
    return SetText(a[0], std::strcmp(digits, "        ") == 0 ? "99999999" : digits);
}

bool Dtos(int, s_ExprValue** a)
{
    a[0]->width = kDateWidth;
    if (Shape())
        return true;
    char digits[9];
    DateDigits(a[0], digits);
    return SetText(a[0], digits);
}

bool Dtoc(int, s_ExprValue** a)
{
    char pattern[kDatePatternSize];
    _date_pattern(_date_format(g_ExprState.job), pattern, sizeof pattern);
    a[0]->width = (int)_expr_length(pattern);
    if (Shape())
        return true;
    char digits[9], text[kDatePatternSize];
    DateDigits(a[0], digits);
    _date_to_pattern(digits, sizeof text, pattern, text);
    return SetText(a[0], text);
}

bool Cmonth(int, s_ExprValue** a)
{
    a[0]->width = kMonthNameWidth;
    if (Shape())
        return true;
    char name[kMonthNameChars + 1];
    _month_name(DatePart(a[0], 4, 2), name, sizeof name);
    return SetText(a[0], name);
}

bool Ctod(int, s_ExprValue** a)
{
    a[0]->width = kWideNumber;
    if (Shape())
        return true;
    char date[9];
    {
        s_ExprKeepError keep;
        db_ctod(_expr_text(a[0]), date, sizeof date);
    }
    if (_date_to_day(date, &a[0]->number) != 0) {
        _db_raise_error(DBE_BAD_DATE);
        return false;
    }
    return true;
}

// day(), month(), year(): digits of the CCYYMMDD text.
template <int Offset, int Count, int Width, int Decimals>
bool DatePartFn(int, s_ExprValue** a)
{
    SetWidth(a[0], Width, Decimals);
    if (Shape())
        return true;
    SetNumber(a[0], (double)DatePart(a[0], Offset, Count));
    return true;
}

bool Today(int, s_ExprValue** a)
{
    if (Shape())
        return true;
    Date today;
    today.SetToday();
    const int y = today.GetYear();
    SetNumber(a[0], (double)(_days_before_year(y) + _day_of_year(y, today.GetMonth(), today.GetDay()) + DB_DAY_OFFSET));
    return true;
}

// ---- logical --------------------------------------------------------------------------------------

bool Iif(int, s_ExprValue** a)
{
    const s_ExprValue* chosen = a[0]->logical ? a[1] : a[2];
    s_ExprValue* v = a[0];
    v->type = chosen->type;
    v->width = chosen->width;
    v->decimals = chosen->decimals;
    v->number = chosen->number;
    v->logical = chosen->logical;
    if (chosen->text)
        return _expr_set_text(v, chosen->text, _expr_length(chosen->text));
    std::free(v->text);
    v->text = nullptr;
    v->capacity = 0;
    return true;
}

const uint8_t N = EXPR_NUMBER, D = EXPR_DATE, S = EXPR_STRING, L = EXPR_LOGICAL;

} // namespace

const s_ExprFunction g_ExprFunctions[] = {
    {"deprim", Deprim, S, 1, 1, {S}},
    {"dtoord", Dtoord, S, 1, 1, {D}},
    {"abs", Abs, N, 1, 1, {N}},
    {"at", At, N, 2, 2, {S, S}},
    {"alltrim", InPlace<db_atrim>, S, 1, 1, {S}},
    {"asc", Asc, N, 1, 1, {S}},
    {"cdow", Fails53, S, 1, 1, {D}},
    {"chr", Chr, S, 1, 1, {N}},
    {"cmonth", Cmonth, S, 1, 1, {D}},
    {"ctod", Ctod, D, 1, 1, {S}},
    {"day", DatePartFn<6, 2, kWideNumber, kWideDecimals>, N, 1, 1, {D}},
    {"dow", Fails53, N, 1, 1, {D}},
    {"dtoc", Dtoc, S, 1, 1, {D}},
    {"dtos", Dtos, S, 1, 1, {D}},
    {"exp", Exp, N, 1, 1, {N}},
    {"iif", Iif, EXPR_ARG_TYPE + 2, 3, 3, {L, EXPR_ANY, EXPR_SAME}},
    {"int", Int, N, 1, 1, {N}},
    {"left", Left, S, 2, 2, {S, N}},
    {"len", Len, N, 1, 1, {S}},
    {"log", Log, N, 1, 1, {N}},
    {"lower", InPlace<db_lower>, S, 1, 1, {S}},
    {"ltrim", InPlace<db_ltrim>, S, 1, 1, {S}},
    {"month", DatePartFn<4, 2, kSmallNumber, 0>, N, 1, 1, {D}},
    {"right", Right, S, 2, 2, {S, N}},
    {"recno", Recno, N, 0, 0, {}},
    {"round", Fails53, N, 1, 2, {N, N}},
    {"space", Space, S, 1, 1, {N}},
    {"str", Str, S, 1, 3, {N, N, N}},
    {"stuff", Stuff, S, 4, 4, {S, N, N, S}},
    {"substr", Substr, S, 2, 3, {S, N, N}},
    {"trim", InPlace<db_rtrim>, S, 1, 1, {S}},
    {"rtrim", InPlace<db_rtrim>, S, 1, 1, {S}},
    {"upper", InPlace<db_upper>, S, 1, 1, {S}},
    {"val", Val, N, 1, 1, {S}},
    {"year", DatePartFn<0, 4, kWideNumber, kWideDecimals>, N, 1, 1, {D}},
    {"today", Today, D, 0, 0, {}},
    {"phonetic", PhoneticFn, S, 1, 1, {S}},
    {"wcompare", Wcompare, N, 2, 2, {S, S}},
    {"pcompare", Pcompare, N, 2, 2, {S, S}},
    {"reduce", Reduce, S, 2, 2, {S, S}},
    {"", nullptr, 0, 0, 0, {}},
};
static_assert(sizeof g_ExprFunctions / sizeof g_ExprFunctions[0] == 41, "40 functions and the end row");
