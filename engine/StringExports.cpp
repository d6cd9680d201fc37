// Small exports: in-place string functions, field and area references, the caller's user value
// of a work area, explicit protected sections of the area guard, and db_matches_condition.
//
// The string functions have no call frame and no trace: callers use them to prepare field values
// and keys between engine calls, and they only read the current area's character set.
#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "CallFrame.h"
#include "Expression.h"
#include "Navigation.h"
#include "TextHelpers.h"
#include "WorkAreas.h"

namespace {

const int kCharsetOem = 0x00;
const int kCharsetUsAscii = 0x10;
const int kCharsetAnsi = 0x20;

// The accented letters of code page 850 that change case, as (small, capital) pairs.
const unsigned char kOemPairs[][2] = {
    {0x81, 0x9A},   // u umlaut
    {0x82, 0x90},   // e acute
    {0x84, 0x8E},   // a umlaut
    {0x86, 0x8F},   // a ring
    {0x91, 0x92},   // ae
    {0x94, 0x99},   // o umlaut
    {0xA4, 0xA5},   // n tilde
};

enum class CaseRule { Ascii, Oem, Ansi, Keep };

// How the current work area's character set changes case (no job or no area: ASCII).
CaseRule CurrentCaseRule()
{
    const s_Area* area = g_Job ? g_Job->currentArea : nullptr;
    if (!area)
        return CaseRule::Ascii;
    switch (area->charset) {
    case kCharsetOem: return CaseRule::Oem;
    case kCharsetUsAscii: return CaseRule::Ascii;
    case kCharsetAnsi: return CaseRule::Ansi;
    default: return CaseRule::Keep;
    }
}

// to: 1 upper case, 0 lower case.
char* ChangeCase(char* s, int to)
{
    if (!s)
        return s;
    const CaseRule rule = CurrentCaseRule();
    if (rule == CaseRule::Keep)
        return s;
    if (rule == CaseRule::Ansi)
        return to ? CharUpperA(s) : CharLowerA(s);
    const unsigned char from = to ? 'a' : 'A', into = to ? 'A' : 'a';
    for (unsigned char* p = (unsigned char*)s; *p; ++p) {
        if (*p >= from && *p < from + 26)
            *p = (unsigned char)(*p - from + into);
        else if (rule == CaseRule::Oem && *p >= 0x80)
            for (const auto& pair : kOemPairs)
                if (*p == pair[1 - to]) {
                    *p = pair[to];
                    break;
                }
    }
    return s;
}

} // namespace

// ---- string functions ---------------------------------------------------------------------------

extern "C" char* DB_CALL db_ltrim(char* s) { return StrTrimLeft(s); }

extern "C" char* DB_CALL db_rtrim(char* s) { return StrTrimRight(s); }

extern "C" char* DB_CALL db_trim(char* s) { return StrTrimRight(s); }

extern "C" char* DB_CALL db_atrim(char* s) { return StrTrimBoth(s); }

extern "C" char* DB_CALL db_upper(char* s) { return ChangeCase(s, 1); }

extern "C" char* DB_CALL db_lower(char* s) { return ChangeCase(s, 0); }

// count characters at start (1-based) replaced by repl; a start beyond the end (or 0) changes
// nothing, a start right behind the last character appends.
extern "C" char* DB_CALL db_stuff(char* s, unsigned start, unsigned count, const char* repl)
{
    if (!s || start == 0)
        return s;
    const size_t length = std::strlen(s);
    const size_t p = (size_t)start - 1;
    if (length < p)
        return s;
    const size_t removed = count < length - p ? count : length - p;
    std::memmove(s + p, s + p + removed, length - p - removed + 1);
    const size_t inserted = repl ? std::strlen(repl) : 0;
    if (inserted) {
        std::memmove(s + p + inserted, s + p, length - removed - p + 1);
        std::memcpy(s + p, repl, inserted);
    }
    return s;
}

// start > 0: from that position (1-based); start <= 0: the last -start characters. Then at most
// count characters (0: all).
extern "C" char* DB_CALL db_substr(char* s, int start, unsigned count)
{
    if (!s)
        return s;
    const long long length = (long long)std::strlen(s);
    const long long from = start > 0 ? (long long)start - 1 : length + start;
    if (std::llabs((long long)start) > length || from >= length) {
        s[0] = 0;
        return s;
    }
    std::memmove(s, s + from, (size_t)(length - from) + 1);
    if (count != 0 && count < (unsigned long long)(length - from))
        s[count] = 0;
    return s;
}

// ---- references -----------------------------------------------------------------------------------

extern "C" intptr_t DB_CALL db_fieldref(int n)
{
    DbFrame<intptr_t, RF_PTR> f(DBF_NO_LOOKUP, "@DbFieldref(%d)", n);
    return f((intptr_t)DB_FIELDREF((unsigned)n & 0xFFF));
}

extern "C" intptr_t DB_CALL db_arearef(int n)
{
    DbFrame<intptr_t, RF_PTR> f(DBF_NO_LOOKUP, "@DbArearef(%d)", n);
    return f((intptr_t)DB_AREAREF((unsigned)n & 0xFF));
}

// ---- user value -----------------------------------------------------------------------------------

extern "C" BOOL DB_CALL db_set_userdata(void* value)
{
    DbFrame<BOOL, RF_INT> f(DBF_NONE, "@DbSetUserData(%08lx)", TraceBuf{value});
    s_Area* area = _db_current_table(f.Job());
    if (!area)
        return f(FALSE);
    area->userData = value;
    if (_db_tracing())
        _db_trace(0, "->TRUE");
    return f(TRUE);
}

extern "C" void* DB_CALL db_get_userdata(void)
{
    DbFrame<void*, RF_PTR> f(DBF_NONE, "@DbGetUserData()");
    s_Area* area = _db_current_table(f.Job());
    void* value = area ? area->userData : nullptr;
    if (_db_tracing())
        _db_trace(0, "->'%08lx'", (unsigned long)(uintptr_t)value);
    return f(value);
}

// ---- protected sections ---------------------------------------------------------------------------
//
// A guard entry (or exit) of the calling thread on the current work area that stays beyond the
// call, so that the thread's entry spans every engine call up to the matching end. Both count
// the nesting and trace their result, but write no call line.

namespace {

BOOL ProtectedSection(bool start)
{
    _db_call_enter();
    s_Job* job = _db_get_job();
    if (job) {
        if (start)
            g_AreaList.Enter(job->currentIndex);
        else
            g_AreaList.Leave(job->currentIndex);
    }
    const BOOL result = job ? TRUE : FALSE;
    _db_call_leave();
    if (_db_tracing())
        _db_trace_result(RF_INT, result);
    return result;
}

} // namespace

extern "C" BOOL DB_CALL db_protected_section_start(void) { return ProtectedSection(true); }

extern "C" BOOL DB_CALL db_protected_section_end(void) { return ProtectedSection(false); }

// ---- conditions -----------------------------------------------------------------------------------

// The crash frame reports a fault inside the evaluation and lets it travel on to the caller: the
// call does not resume, so no error 23 is raised for it.
extern "C" BOOL DB_CALL db_matches_condition(const char* condition)
{
    DbFrame<BOOL, RF_INT> f(DBF_GUARD | DBF_CRASH_REPORT, "@DbMatchesCondition('%s')", condition);
    s_Area* area = _db_current_table(f.Job());
    if (!area || !_db_refresh_count(*area))
        return f(FALSE);
    s_Expression* expression = _expr_compile(condition);
    if (!expression) {
        _db_raise_error(DBE_EXPRESSION);
        return f(FALSE);
    }
    if (!_db_read_record(*area, area->recno)) {
        _expr_free(expression);
        return f(FALSE);
    }
    s_ExprValue* value = _expr_eval(expression, 0);
    const BOOL result = value && value->type == EXPR_LOGICAL && value->logical ? TRUE : FALSE;
    if (value && _db_tracing())
        _db_trace(0, "->%d", result);
    _expr_free_value(value);
    _expr_free(expression);
    return f(result);
}
