// Field access and the record buffer: field designators, reading fields and whole records, and
// changing them in the buffer (db_write and db_insert store the buffer).
//
// A field designator is pointer-sized: a sign-extended reference DB_FIELDREF(n) (the values
// -4096..-1; -1 is INDEXKEY), else a pointer to a text: "alias.name" or "#area.name" (where the
// export accepts that form), "#n", a field name in any case, or "INDEXKEY".
#include "FieldAccess.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "CNumbers.h"
#include "CallFrame.h"
#include "Conversions.h"
#include "DbfFormat.h"
#include "DebugOutput.h"
#include "EngineHooks.h"
#include "Navigation.h"
#include "PrintfFormat.h"
#include "WorkAreas.h"

namespace {

const int kAreaPartChars = 10;
// Characters of a value read as a number, and the widest text the conversion may produce.
const unsigned kNumberChars = 49;
const unsigned kNumberBuffer = 512;
const unsigned kMemoReferenceLength = 10;
const int kTraceTextChars = 76;
const char kRawMark = 0x01;

bool IsFieldRef(const char* d)
{
    const intptr_t v = (intptr_t)d;
    return v >= -4096 && v < 0;
}

// "#" followed by decimal digits only: the number; else -1.
long HashNumber(const char* text)
{
    if (text[0] != '#' || !text[1])
        return -1;
    long n = 0;
    for (const char* p = text + 1; *p; ++p) {
        if (*p < '0' || *p > '9')
            return -1;
        n = n * 10 + (*p - '0');
        if (n > 0xFFFFFF)
            return 0xFFFFFF;
    }
    return n;
}

// The leading number of a value as db_replace reads it: blanks, a sign, digits, a decimal point,
// digits and an exponent; anything else gives 0.
double LeadingNumber(const char* text, unsigned count)
{
    char copy[kNumberChars + 1];
    unsigned n = 0;
    while (n < count && n < kNumberChars && text[n]) {
        copy[n] = text[n];
        ++n;
    }
    copy[n] = 0;
    copy[_decimal_prefix(copy, true)] = 0;
    return CStrToD(copy);
}

// The field text of a plain decimal value, made without the round trip through a double: blanks,
// an optional '-', digits, an optional point and at most `precision` decimals, and nothing else
// before the value's end within `count` characters. With at most 15 digits left of the point and
// right of it in the result, the double the value reads as prints back as the same digits, so the
// text is the one the general way makes. Answers -1 for anything else (the general way then
// follows), else the text's length (NUL-terminated in buffer; may be wider than width).
int PlainNumber(const char* value, unsigned count, int width, int precision, char* buffer)
{
    const unsigned limit = count < kNumberChars ? count : kNumberChars;
    unsigned i = 0;
    while (i < limit && value[i] == ' ')
        ++i;
    const bool negative = i < limit && value[i] == '-';
    if (negative)
        ++i;
    while (i < limit && value[i] == '0')
        ++i;
    const unsigned intStart = i;
    while (i < limit && value[i] >= '0' && value[i] <= '9')
        ++i;
    const unsigned intDigits = i - intStart;
    bool anyDigit = intDigits > 0 || (intStart > 0 && value[intStart - 1] == '0');
    unsigned fracStart = i, fracDigits = 0;
    bool nonZeroFraction = false;
    if (i < limit && value[i] == '.') {
        fracStart = ++i;
        while (i < limit && value[i] >= '0' && value[i] <= '9') {
            nonZeroFraction = nonZeroFraction || value[i] != '0';
            ++i;
        }
        fracDigits = i - fracStart;
        anyDigit = anyDigit || fracDigits > 0;
    }
    // The value must end here (a shorter value than the limit); a negative zero goes the general way.
    if (i >= limit || value[i] != 0 || !anyDigit || (int)fracDigits > precision || intDigits + precision > 15 ||
        (negative && intDigits == 0 && !nonZeroFraction))
        return -1;
    const int length = (negative ? 1 : 0) + (intDigits ? (int)intDigits : 1) + (precision > 0 ? precision + 1 : 0);
    const int pad = width > length ? width - length : 0;
    char* out = buffer;
    std::memset(out, ' ', (size_t)pad);
    out += pad;
    if (negative)
        *out++ = '-';
    if (intDigits) {
        std::memcpy(out, value + intStart, intDigits);
        out += intDigits;
    } else
        *out++ = '0';
    if (precision > 0) {
        *out++ = '.';
        std::memcpy(out, value + fracStart, fracDigits);
        std::memset(out + fracDigits, '0', (size_t)precision - fracDigits);
        out += precision;
    }
    *out = 0;
    return pad + length;
}

} // namespace

unsigned _db_change_allowed(const s_Area& area)
{
    if (area.file == INVALID_HANDLE_VALUE)
        return DBE_FILES_CLOSED;
    if (area.readOnly)
        return DBE_READ_ONLY;
    if (!area.bufferValid)
        return DBE_BUFFER;
    if (area.recno != DB_EOF_RECNO && !(area.lockBits & DB_LOCKS_FOR_REPLACE))
        return DBE_UNLOCKED;
    return 0;
}

namespace {

void TakeBeforeImage(s_Area& area)
{
    if (!area.beforeImageValid) {
        std::memcpy(area.beforeImage.get(), area.record.get(), (size_t)area.recordLength);
        area.beforeImageValid = 1;
    }
}

// The text a value becomes in a field of the given type: the value itself for most types, or
// the number or logical text made in buffer (kNumberBuffer bytes). Answers the text's start and
// puts its length (at most the field's length) into *length.
const char* Converted(const s_Field& field, const char* value, char* buffer, size_t* length)
{
    switch (field.type) {
    case 'N':
    case 'F': {
        const int width = field.length;
        int precision = field.decimals;
        if (precision > width - 1)
            precision = width - 1;
        if (precision > 15)
            precision = 15;
        if (precision < 0)
            precision = 0;
        int made = PlainNumber(value, field.length, width, precision, buffer);
        if (made < 0)
            made = Format(buffer, kNumberBuffer, "%*.*lf", width, precision, LeadingNumber(value, field.length));
        if (made > width) {
            // Too wide for the field: stars, one fewer than the field is long.
            const size_t stars = width > 0 ? (size_t)(width - 1) : 0;
            std::memset(buffer, '*', stars);
            buffer[stars] = 0;
        }
        *length = strnlen(buffer, field.length);
        return buffer;
    }
    case 'L':
        *length = field.length < 1 ? field.length : 1;
        return (value[0] == '1' || value[0] == 'T') ? "T" : "F";
    default:
        *length = strnlen(value, field.length);
        return value;
    }
}

// The trace note of db_get_contents: at most 76 characters, "..." behind a long text.
void TraceContents(const char* text)
{
    if ((int)std::strlen(text) >= kTraceTextChars)
        _db_trace(0, "->'%.*s...'", kTraceTextChars, text);
    else
        _db_trace(0, "->'%s'", text);
}

} // namespace

int _db_field_number(const s_Area& area, const char* d)
{
    if (!d)
        return 0;
    if (IsFieldRef(d)) {
        const int n = (int)((intptr_t)d & 0xFFF);
        if (n == 0xFFF)
            return DB_FIELD_INDEXKEY;
        return n >= 1 && n <= area.fieldCount ? n : 0;
    }
    const long hash = HashNumber(d);
    if (hash >= 0)
        return hash >= 1 && hash <= area.fieldCount ? (int)hash : 0;
    auto it = area.fieldNames.find(d);
    if (it != area.fieldNames.end())
        return it->second;
    if (StrCompareAsciiNoCase(d, "INDEXKEY") == 0)
        return DB_FIELD_INDEXKEY;
    return 0;
}

int _db_enter_qualified(s_Job* job, const char* d, const char** rest, int* previous)
{
    if (!d || IsFieldRef(d))
        return 0;
    const char* dot = std::strchr(d, '.');
    if (!dot)
        return 0;
    char part[kAreaPartChars + 1] = {};
    const size_t length = (size_t)(dot - d);
    std::memcpy(part, d, length < (size_t)kAreaPartChars ? length : (size_t)kAreaPartChars);
    int n;
    const long hash = HashNumber(part);
    if (hash >= 0) {
        n = hash >= 1 && hash <= DB_AREA_COUNT ? (int)hash : 0;
        if (!n)
            _db_raise_error(DBE_NO_ALIAS);
    } else
        n = _db_area_by_designator(job, part);
    if (!n)
        return -1;
    *previous = job->currentIndex + 1;
    *rest = dot + 1;
    _db_select_number(job, n);
    return 1;
}

void _db_blank_buffer(s_Area& area)
{
    if (area.record)
        std::memset(area.record.get(), ' ', (size_t)area.recordLength);
    area.bufferRecno = DB_EOF_RECNO;
    area.bufferValid = 1;
    area.changed = 0;
    area.beforeImageValid = 0;
    area.deleted = 0;
}

bool _db_read_current(s_Area& area)
{
    if ((area.lockBits || area.recno == DB_EOF_RECNO) && area.bufferValid && area.bufferRecno == area.recno)
        return true;
    return _db_read_record(area, area.recno);
}

bool _db_field_contents(s_Area& area, int n, char* buffer, unsigned size)
{
    buffer[0] = 0;
    if (n == DB_FIELD_INDEXKEY) {
        if (area.order < 0)
            return true;
        int32_t recno = 0;
        const char* key = nullptr;
        unsigned length = 0;
        if (!g_EngineHooks.currentKey || !g_EngineHooks.currentKey(area, area.order, &recno, &key, &length)) {
            DebugPrintf("INDEXKEY failed. Now what's the state of the system?");
            DebugPrintf(" current area is '%d'", area.index + 1);
            DebugPrintf(" current index is '%d'", area.order);
            _db_raise_error(DBE_INDEX_BAD);
            return false;
        }
        const unsigned copy = length < size - 1 ? length : size - 1;
        std::memcpy(buffer, key, copy);
        buffer[copy] = 0;
        return true;
    }
    if (!_db_read_current(area))
        return false;
    const s_Field& d = area.fields[n - 1];
    const char* stored = area.record.get() + 1 + d.offset;
    if (d.type == 'L') {
        if (size > 1) {
            buffer[0] = (stored[0] == '1' || stored[0] == 'T') ? 'T' : 'F';
            buffer[1] = 0;
        }
    } else {
        const unsigned copy = d.length < size - 1 ? d.length : size - 1;
        std::memcpy(buffer, stored, copy);
        buffer[copy] = 0;
    }
    return true;
}

extern "C" BOOL DB_CALL db_get_contents(const char* field, char* buffer, unsigned size)
{
    DbFrame<BOOL, RF_INT> f(DBF_CRASH_REPORT, "@DbGetContents(%s,0x%08lx,%u)", TraceField{field}, TraceBuf{buffer},
                            size);
    // A buffer of size 0 takes nothing, not even the terminating NUL.
    if (!buffer || size == 0) {
        if (f.Job())
            _db_raise_error(DBE_BUFFER);
        return f(FALSE);
    }
    buffer[0] = 0;
    s_Job* job = f.Job();
    s_Area* area = _db_current_table(job);
    if (!area)
        return f(FALSE);
    BOOL forwarded;
    const auto inArea = [&](const char* rest) { return db_get_contents(rest, buffer, size); };
    if (_db_in_qualified_area(job, field, inArea, &forwarded))
        return f(forwarded);
    const int n = _db_field_number(*area, field);
    if (n == 0) {
        _db_raise_error(DBE_NO_FIELD);
        return f(FALSE);
    }
    // INDEXKEY in natural order: the empty text, without a note.
    if (n == DB_FIELD_INDEXKEY && area->order < 0)
        return f(TRUE);
    if (!_db_field_contents(*area, n, buffer, size))
        return f(FALSE);
    if (_db_tracing())
        TraceContents(buffer);
    return f(TRUE);
}

extern "C" BOOL DB_CALL db_get_record(char* buffer, unsigned size)
{
    DbFrame<BOOL, RF_INT> f(DBF_CRASH_REPORT, "@DbGetRecord(0x%08lx,%u)", TraceBuf{buffer}, size);
    if (buffer)
        std::memset(buffer, 0, size);
    s_Area* area = _db_current_table(f.Job());
    if (!area || !buffer || area->eof)
        return f(FALSE);
    if (!_db_read_current(*area))
        return f(FALSE);
    const unsigned copy = size < (unsigned)area->recordLength ? size : (unsigned)area->recordLength;
    std::memcpy(buffer, area->record.get(), copy);
    return f(TRUE);
}

extern "C" BOOL DB_CALL db_replace(const char* field, const char* value)
{
    DbFrame<BOOL, RF_INT> f(DBF_CRASH_REPORT, "@DbReplace(%s,'%s')", TraceField{field}, value);
    s_Job* job = f.Job();
    s_Area* area = _db_current_table(job);
    if (!area)
        return f(FALSE);
    BOOL forwarded;
    const auto inArea = [&](const char* rest) { return db_replace(rest, value); };
    if (_db_in_qualified_area(job, field, inArea, &forwarded))
        return f(forwarded);
    if (const unsigned code = _db_change_allowed(*area)) {
        _db_raise_error(code);
        return f(FALSE);
    }
    TakeBeforeImage(*area);
    const int n = _db_field_number(*area, field);
    if (n <= 0) {
        _db_raise_error(DBE_NO_FIELD);
        return f(FALSE);
    }
    const s_Field& d = area->fields[n - 1];
    if (!value)
        value = "";
    if (d.type == 'M' && std::strlen(value) != kMemoReferenceLength) {
        _db_raise_error(DBE_MEMO_REPLACE);
        return f(FALSE);
    }
    char number[kNumberBuffer];
    size_t copy = 0;
    const char* text = Converted(d, value, number, &copy);
    char* target = area->record.get() + 1 + d.offset;
    if (text[0] == kRawMark) {
        // Raw form: exactly the field's length of bytes follows the mark, NUL bytes included.
        std::memcpy(target, value + 1, d.length);
    } else {
        std::memcpy(target, text, copy);
        std::memset(target + copy, ' ', d.length - copy);
    }
    area->changed = 1;
    return f(TRUE);
}

extern "C" BOOL DB_CALL db_replace_record(const char* record)
{
    DbFrame<BOOL, RF_INT> f(DBF_CRASH_REPORT, "@DbReplaceRecord(0x%08lx)", TraceBuf{record});
    s_Area* area = _db_current_table(f.Job());
    if (!area || !record)
        return f(FALSE);
    if (const unsigned code = _db_change_allowed(*area)) {
        _db_raise_error(code);
        return f(FALSE);
    }
    TakeBeforeImage(*area);
    std::memcpy(area->record.get(), record, (size_t)area->recordLength);
    area->changed = 1;
    area->deleted = area->record[0] != ' ';
    return f(TRUE);
}

extern "C" BOOL DB_CALL db_blank(void)
{
    DbFrame<BOOL, RF_INT> f(DBF_NONE, "@DbBlank()");
    s_Job* job = f.Job();
    s_Area* area = _db_current_table(job);
    if (!area || !area->record)
        return f(FALSE);
    _db_blank_buffer(*area);
    area->changed = 1;
    area->recno = DB_EOF_RECNO;
    if (area->relations && g_EngineHooks.repositionRelations) {
        g_EngineHooks.repositionRelations(*area);
        _db_select_number(job, area->index + 1);
    }
    return f(TRUE);
}

extern "C" unsigned DB_CALL db_get_reference(const char* field)
{
    // The call line shows the text in quotes; a reference by its describer text.
    const char* shown = !_db_tracing() ? "" : (IsFieldRef(field) || !field ? _db_describe_field(field) : field);
    DbFrame<unsigned, RF_UINT> f(DBF_NONE, "@DbGetReference('%s')", shown);
    s_Area* area = _db_current_table(f.Job());
    if (!area)
        return f(0);
    if (IsFieldRef(field))
        return f((intptr_t)field == -1 ? 0xFFFFFFFFu : (unsigned)((intptr_t)field & 0xFFF));
    const int n = _db_field_number(*area, field);
    return f(n == DB_FIELD_INDEXKEY ? 0xFFFFFFFFu : (unsigned)n);
}

extern "C" unsigned DB_CALL db_recsize(void)
{
    DbFrame<unsigned, RF_UINT> f(DBF_NONE, "@DbRecsize()");
    s_Area* area = _db_current_table(f.Job());
    return f(area ? (unsigned)area->recordLength : 0u);
}

extern "C" unsigned DB_CALL db_header(void)
{
    DbFrame<unsigned, RF_UINT> f(DBF_NONE, "@DbHeader()");
    s_Area* area = _db_current_table(f.Job());
    return f(area ? (unsigned)area->headerLength : 0u);
}
