// Dates, numbers and date display formats.
#include "Conversions.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "CNumbers.h"
#include "CallFrame.h"
#include "Job.h"
#include "PathHelpers.h"
#include "PrintfFormat.h"
#include "Trace.h"

namespace {

// Days before month m (index m - 1) in a common year; entry 12 is the year's length.
const int kDaysBeforeMonth[13] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334, 365};

// Longest text the number conversions read or write, and the longest date pattern.
const int kMaxNumberText = 48;
const int kMaxNumberWidth = 49;
const int kMaxPattern = 49;

bool IsLeap(long long y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int YearLength(long long y) { return IsLeap(y) ? 366 : 365; }

// Days before month m (1..13) of year y.
int DaysBeforeMonth(long long y, int m) { return kDaysBeforeMonth[m - 1] + (IsLeap(y) && m > 2 ? 1 : 0); }

// Division rounding toward minus infinity.
long long FloorDiv(long long a, long long b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0); }

// Copies at most count characters (stopping at NUL) and terminates.
void CopyCount(char* dest, const char* text, int count)
{
    int i = 0;
    if (text)
        for (; i < count && text[i]; ++i)
            dest[i] = text[i];
    dest[i] = 0;
}


// Loads a string of the library; an empty text when it is missing.
void LoadEngineString(UINT id, char* buffer, unsigned size)
{
    if (!buffer || size == 0)
        return;
    if (LoadStringA(g_EngineModule, id, buffer, (int)size) <= 0)
        buffer[0] = 0;
}

// Reads the 8 date characters of text (blanks beyond its end); NULL reads as the empty date.
void DateChars(const char* text, char out[8])
{
    size_t i = 0;
    if (text)
        for (; i < 8 && text[i]; ++i)
            out[i] = text[i];
    for (; i < 8; ++i)
        out[i] = ' ';
}

// Where the date characters i and i + 1 of CCYYMMDD (i = 0, 2, 4, 6) stand in a pattern: at the
// first place of their letter C, Y, M or D. Unused characters have no place (npos).
size_t PatternPlace(const char* pattern, int i)
{
    const char* at = pattern ? std::strchr(pattern, "CCYYMMDD"[i]) : nullptr;
    return at ? (size_t)(at - pattern) : std::string_view::npos;
}

} // namespace

// ---- calendar -----------------------------------------------------------------------------------

// Floor division keeps year 0 (a leap year of the proleptic calendar) the 366 days before
// 0001-01-01; for every year from 1 on this is the plain count.
long long _days_before_year(long long year)
{
    long long a = year - 1;
    return a * 365 + FloorDiv(a, 4) - FloorDiv(a, 100) + FloorDiv(a, 400);
}

int _day_of_year(int year, int month, int day)
{
    if (year < 0 || month < 1 || month > 12)
        return -1;
    int length = DaysBeforeMonth(year, month + 1) - DaysBeforeMonth(year, month);
    if (day < 1 || day > length)
        return -1;
    return DaysBeforeMonth(year, month) + day;
}

BOOL _month_and_day(int year, int n, int* month, int* day)
{
    int m = 0, d = 0;
    if (n >= 1 && n <= YearLength(year)) {
        m = 1;
        while (DaysBeforeMonth(year, m + 1) < n)
            ++m;
        d = n - DaysBeforeMonth(year, m);
    }
    if (month)
        *month = m;
    if (day)
        *day = d;
    return m != 0;
}

namespace {

// The value of n decimal digits; -1 when one of them is no digit.
long DigitsValue(const char* text, int n)
{
    long value = 0;
    for (int i = 0; i < n; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return -1;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

} // namespace

int _date_to_day(const char* text, double* out)
{
    double result = DB_EMPTY_DATE;
    int answer = -1;
    char copy[9];
    CopyCount(copy, text, 8);
    // Eight digits, the usual case, are read without the run time's number parsing.
    const bool digits = DigitsValue(copy, 8) >= 0;
    const long year = digits ? DigitsValue(copy, 4) : _text_to_int(copy, 4);
    if (year == 0 && std::strcmp(copy, "        ") == 0) {
        answer = -2;
    } else if (std::strlen(copy) == 8) {
        const long month = digits ? DigitsValue(copy + 4, 2) : _text_to_int(copy + 4, 2);
        const long day = digits ? DigitsValue(copy + 6, 2) : _text_to_int(copy + 6, 2);
        const int n = month >= 1 && month <= 12 && day >= 1 && day <= 31 ? _day_of_year((int)year, (int)month, (int)day) : -1;
        if (n > 0) {
            result = (double)(n + _days_before_year(year) + DB_DAY_OFFSET);
            answer = 0;
        }
    }
    if (out)
        *out = result;
    return answer;
}

char* _day_to_date(double value, char* out)
{
    if (value >= DB_EMPTY_DATE) {
        std::memcpy(out, "        ", 9);
        return out;
    }
    // Far beyond any year that can be written (and NaN): no day.
    if (!(std::fabs(value - DB_DAY_OFFSET) < 1e12)) {
        std::memcpy(out, "--------", 9);
        return out;
    }
    long long j = (long long)(value - DB_DAY_OFFSET);
    long long y = (long long)((double)j / 365.2425) + 1;
    long long r = j - _days_before_year(y);
    while (r <= 0) {
        --y;
        r = j - _days_before_year(y);
    }
    if (r > YearLength(y)) {
        r -= YearLength(y);
        ++y;
    }
    // The leap rule repeats every 400 years: a stand-in year of the same kind keeps the month
    // arithmetic within int for any year.
    int month, day;
    if (!_month_and_day((int)(y % 400 + 400), (int)r, &month, &day)) {
        std::memcpy(out, "--------", 9);
        return out;
    }
    if (y < 0 || y > 9999)
        std::memcpy(out, "****", 4);
    else
        _int_to_text((long)y, out, -4);
    _int_to_text(month, out + 4, -2);
    _int_to_text(day, out + 6, -2);
    out[8] = 0;
    return out;
}

// ---- numbers ------------------------------------------------------------------------------------

BOOL _int_to_text(long n, char* buffer, int width)
{
    const bool keepZeros = width < 0;
    const int w = keepZeros ? -width : width;
    unsigned long long magnitude = n < 0 ? 0ULL - (unsigned long long)n : (unsigned long long)n;
    char digits[24];
    int count = 0;
    do {
        digits[count++] = (char)('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude);
    const int needed = count + (n < 0 ? 1 : 0);
    if (needed > w || (n < 0 && keepZeros)) {
        std::memset(buffer, '*', (size_t)w);
        return FALSE;
    }
    for (int i = 0; i < w; ++i)
        buffer[w - 1 - i] = i < count ? digits[i] : (keepZeros ? '0' : ' ');
    if (n < 0)
        buffer[w - 1 - count] = '-';
    return TRUE;
}

size_t _decimal_prefix(const char* s, bool blanksOnly)
{
    const char* p = s;
    while (*p == ' ' || (!blanksOnly && *p >= '\t' && *p <= '\r'))
        ++p;
    if (*p == '+' || *p == '-')
        ++p;
    const char* digits = p;
    while (*p >= '0' && *p <= '9')
        ++p;
    bool any = p != digits;
    if (*p == '.') {
        const char* q = p + 1;
        while (*q >= '0' && *q <= '9')
            ++q;
        any = any || q != p + 1;
        p = q;
    }
    if (!any)
        return 0;
    if (*p == 'e' || *p == 'E') {
        const char* q = p + 1;
        if (*q == '+' || *q == '-')
            ++q;
        if (*q >= '0' && *q <= '9') {
            while (*q >= '0' && *q <= '9')
                ++q;
            p = q;
        }
    }
    return (size_t)(p - s);
}

double _text_to_number(const char* text, int count)
{
    char work[kMaxNumberText + 2];
    CopyCount(work, text, count < kMaxNumberText ? (count < 0 ? 0 : count) : kMaxNumberText);
    size_t n = _decimal_prefix(work, false);
    if (n == 0)
        return 0.0;
    work[n] = 0;
    return CStrToD(work);
}

long _text_to_int(const char* text, int count)
{
    char work[kMaxNumberText + 2];
    CopyCount(work, text, count < kMaxNumberText ? (count < 0 ? 0 : count) : kMaxNumberText);
    return std::strtol(work, nullptr, 10);
}

int _whole_number_text(double x, int width, char* out)
{
    // Whole numbers below this are exact doubles.
    if (width < 0 || !(std::fabs(x) < 1e15) || x != std::trunc(x) || (x == 0 && std::signbit(x)))
        return -1;
    char digits[24];
    int n = 0;
    for (uint64_t v = (uint64_t)std::fabs(x); n == 0 || v > 0; v /= 10)
        digits[n++] = (char)('0' + v % 10);
    if (x < 0)
        digits[n++] = '-';
    int at = 0;
    for (; at < width - n; ++at)
        out[at] = ' ';
    while (n > 0)
        out[at++] = digits[--n];
    out[at] = 0;
    return at;
}

BOOL _number_to_text(double x, char* buffer, int width, int decimals)
{
    int w = width < 0 ? -width : width;
    if (w > kMaxNumberWidth || w < 0)
        w = kMaxNumberWidth;
    int precision = 0;
    if (decimals > 0) {
        precision = decimals;
        if (precision > w - 1)
            precision = w - 1;
        if (precision > 15)
            precision = 15;
        if (precision < 0)
            precision = 0;
    }
    char text[kMaxNumberWidth + 2];
    // A value without digits (infinite or NaN) fits no field.
    int length = precision == 0 ? _whole_number_text(x, w, text) : -1;
    if (length < 0)
        length = std::isfinite(x) ? Format(text, sizeof text, "%*.*lf", w, precision, x) : w + 1;
    if (length < 0 || length > w) {
        int stars = w > 0 ? w - 1 : 0;
        std::memset(buffer, '*', (size_t)stars);
        buffer[stars] = 0;
        return FALSE;
    }
    std::memcpy(buffer, text, (size_t)length + 1);
    return TRUE;
}

char* _numeric_key(int keySize, double x, char* buffer, int width, int decimals)
{
    if (keySize >= 32) {
        std::strcpy(buffer, "????????");
        return buffer;
    }
    _number_to_text(x, buffer, width, decimals);
    int w = width < 0 ? -width : width;
    if (w > kMaxNumberWidth || w < 0)
        w = kMaxNumberWidth;
    bool negative = false;
    for (int i = 0; i < w && (buffer[i] == ' ' || buffer[i] == '-'); ++i) {
        negative = negative || buffer[i] == '-';
        buffer[i] = '0';
    }
    if (negative)
        for (int i = 0; i < w; ++i)
            buffer[i] = (char)(92 - (unsigned char)buffer[i]);
    return buffer;
}

// ---- date formats -------------------------------------------------------------------------------

BOOL _date_to_pattern(const char* date, unsigned size, const char* pattern, char* out)
{
    char chars[8];
    DateChars(date, chars);   // read first: out may be the date's own buffer
    char work[kMaxPattern + 1];
    CopyCount(work, pattern, kMaxPattern);
    const size_t length = std::strlen(work);
    for (int i = 0; i < 8; i += 2) {
        const size_t place = PatternPlace(pattern, i);
        for (size_t k = 0; k < 2 && place != std::string_view::npos; ++k)
            if (place + k < length)
                work[place + k] = chars[i + k];
    }
    SafeStrCopy(out, work, size);
    return TRUE;
}

BOOL _pattern_to_date(const char* text, const char* pattern, char* out, unsigned size)
{
    char date[9] = "        ";
    int filled[4] = {};   // C, Y, M, D
    const size_t textLength = text ? std::strlen(text) : 0;
    bool century = false;
    static const char kLetters[] = "CYMD";
    for (size_t i = 0; pattern && pattern[i]; ++i) {
        const char* letter = std::strchr(kLetters, pattern[i]);
        if (!letter)
            continue;
        const int which = (int)(letter - kLetters);
        century = century || which == 0;
        if (filled[which] < 2)
            date[2 * which + filled[which]++] = i < textLength ? text[i] : ' ';
    }
    if (std::strcmp(date, "        ") != 0) {
        if (!century) {
            date[0] = '1';
            date[1] = '9';
        }
        for (char& c : date)
            if (c == ' ')
                c = '0';
    }
    SafeStrCopy(out, date, size);
    return TRUE;
}

int _date_format(const s_Job* job)
{
    int format = job ? job->dateFormat : 0;
    // As db_set_dateformat stores it: anything outside 0..3 is format 4.
    return format >= 0 && format < DB_DATE_FORMATS ? format : DB_DATE_FORMATS - 1;
}

void _date_pattern(int format, char* buffer, unsigned size) { LoadEngineString(IDS_DATE_PATTERN + format, buffer, size); }

void _date_printf_format(int format, char* buffer, unsigned size) { LoadEngineString(IDS_DATE_PRINTF + format, buffer, size); }

BOOL _month_name(int month, char* buffer, unsigned size)
{
    if (month < 1 || month > 12) {
        if (buffer && size)
            buffer[0] = 0;
        return FALSE;
    }
    LoadEngineString(IDS_MONTH_FIRST + month - 1, buffer, size);
    return buffer && size && buffer[0];
}

// ---- exports ------------------------------------------------------------------------------------

extern "C" BOOL DB_CALL db_dtoc(const char* ccyymmdd, char* buf, unsigned size)
{
    DbFrame<BOOL, RF_INT> f(DBF_NONE, "@DbDtoc('%s',0x%08lx,%u)", ccyymmdd, TraceBuf{buf}, size);
    s_Job* job = f.Job();
    if (!job || !buf)
        return f(FALSE);
    char pattern[kMaxPattern + 1];
    _date_pattern(_date_format(job), pattern, sizeof pattern);
    _date_to_pattern(ccyymmdd, size, pattern, buf);
    if (_db_tracing() && size)
        _db_trace(0, "->'%s'", buf);
    return f(TRUE);
}

extern "C" BOOL DB_CALL db_ctod(const char* text, char* buf, unsigned size)
{
    DbFrame<BOOL, RF_INT> f(DBF_NONE, "@DbCtod('%s',0x%08lx,%u)", text, TraceBuf{buf}, size);
    s_Job* job = f.Job();
    if (!job || !buf)
        return f(FALSE);
    // Three numbers, each followed by whatever is not a separator and by one separator; a text
    // that ends right after the first or second number leaves that number and the rest at 0.
    long numbers[3] = {};
    const char* p = text ? text : "";
    for (int i = 0; i < 3; ++i) {
        numbers[i] = std::strtol(p, nullptr, 10);
        while ((unsigned char)*p >= '0')
            ++p;
        if (!*p) {
            if (i < 2)
                numbers[i] = 0;
            break;
        }
        ++p;
    }
    const int format = _date_format(job);
    char printfFormat[kMaxPattern + 1], pattern[kMaxPattern + 1], written[64];
    _date_printf_format(format, printfFormat, sizeof printfFormat);
    _date_pattern(format, pattern, sizeof pattern);
    Format(written, sizeof written, printfFormat, (int)numbers[0], (int)numbers[1], (int)numbers[2]);
    // Each pattern letter's characters go back to that letter's place in CCYYMMDD.
    char date[9] = "        ";
    const size_t length = std::strlen(written);
    for (int i = 0; i < 8; i += 2) {
        const size_t place = PatternPlace(pattern, i);
        for (size_t k = 0; k < 2 && place != std::string_view::npos; ++k)
            if (place + k < length)
                date[i + k] = written[place + k];
    }
    if (std::strcmp(date, "00000000") == 0)
        std::strcpy(date, "        ");
    SafeStrCopy(buf, date, size);
    if (_db_tracing() && size)
        _db_trace(0, "->'%s'", buf);
    return f(TRUE);
}
