// Value conversions: dates between their stored text (CCYYMMDD) and day numbers, numbers between
// doubles and their right-aligned field text and their sortable index-key text, and the job's date
// display formats.
//
// Day numbers are Julian day numbers (2000-01-01 is 2,451,545) in the proleptic Gregorian
// calendar. The empty date (8 blanks) is the day number DB_EMPTY_DATE; every value above 1e90
// counts as the empty date in comparisons.
#pragma once

#include <windows.h>

#include <bit>
#include <cstdint>

struct s_Job;

// The empty date as a day number (just above 1e100).
inline constexpr double DB_EMPTY_DATE = std::bit_cast<double>(UINT64_C(0x54B249AD2594C37E));
// Day number of the day before 0001-01-01 (0001-01-01 is this + 1).
const long DB_DAY_OFFSET = 1721425;

// String resources of the date formats and month names.
const UINT IDS_MONTH_FIRST = 10000;     // 10000..10011: January..December (OEM text)
const UINT IDS_DATE_PATTERN = 10020;    // + date format: "MM/DD/CCYY", ...
const UINT IDS_DATE_PRINTF = 10030;     // + date format: "%02d/%02d/%04d", ...
const int DB_DATE_FORMATS = 5;

// ---- calendar -----------------------------------------------------------------------------------

// Days of the years 1 .. year - 1 (negative for year 0 and before).
long long _days_before_year(long long year);
// 1..366, or -1 for a year below 0, a month outside 1..12 or a day outside the month.
int _day_of_year(int year, int month, int day);
// Month and day of the day of year n (1..365 or 366); FALSE with 0, 0 when n lies outside the year.
BOOL _month_and_day(int year, int n, int* month, int* day);

// CCYYMMDD text (the first 8 characters) to its day number: 0 for a valid date, -2 for the empty
// date (8 blanks), -1 for anything else; out is the empty date unless the answer is 0.
int _date_to_day(const char* text, double* out);
// Day number to CCYYMMDD and NUL (9 bytes): 8 blanks for the empty date, "--------" for a value
// that names no day, four asterisks for a year outside 0..9999.
char* _day_to_date(double value, char* out);

// ---- numbers ------------------------------------------------------------------------------------

// Writes |width| characters (no NUL): the digits of n from the right. A positive width turns
// leading zeros into blanks and puts a minus sign on the right-most blank; a negative width keeps
// the zeros and takes no sign. A number that does not fit gives |width| asterisks and FALSE.
BOOL _int_to_text(long n, char* buffer, int width);
// Length of the decimal number at the start of s, counted from s, after white space (only blanks
// when blanksOnly): sign, digits, a point and digits, an exponent; 0 when it has no digit.
// Anything else (such as "inf" or hexadecimal forms) ends the number.
size_t _decimal_prefix(const char* s, bool blanksOnly);
// The first count characters (at most 48) read as a decimal number; 0 when they hold none.
double _text_to_number(const char* text, int count);
long _text_to_int(const char* text, int count);
// x right-aligned in |width| characters (at most 49) with the given decimals and NUL; a result
// that does not fit gives |width| - 1 asterisks and FALSE. buffer: |width| + 1 bytes.
BOOL _number_to_text(double x, char* buffer, int width, int decimals);
// What "%*.0lf" writes for x and a width of at least 0, written without the general formatting
// when x is a whole number below 1e15 and not -0: the digits after a minus sign, blanks in front
// up to the width; answers the text's length. -1, with nothing written, for any other x. out has
// room for the width and 17 characters.
int _whole_number_text(double x, int width, char* out);
// The index-key text of x: zero-padded, and for a negative number every character c replaced by
// 92 - c, so that the byte order of keys is the numeric order. An index of key size 32 or more
// stores "????????". buffer: at least 50 bytes. Returns buffer.
char* _numeric_key(int keySize, double x, char* buffer, int width, int decimals);

// ---- date formats -------------------------------------------------------------------------------

// CCYYMMDD written into a pattern such as "DD.MM.CCYY" (at most size - 1 characters and NUL).
BOOL _date_to_pattern(const char* date, unsigned size, const char* pattern, char* out);
// Text read by a pattern into CCYYMMDD (at most size - 1 characters and NUL); an empty text is
// the empty date, a pattern without century gives "19", other missing digits are '0'.
BOOL _pattern_to_date(const char* text, const char* pattern, char* out, unsigned size);

// The job's date-format index (0..4).
int _date_format(const s_Job* job);
// The pattern and the printf format of a date format from the library's string table.
void _date_pattern(int format, char* buffer, unsigned size);
void _date_printf_format(int format, char* buffer, unsigned size);
// Month name 1..12 (OEM text) from the string table; FALSE and an empty text for other months.
BOOL _month_name(int month, char* buffer, unsigned size);
