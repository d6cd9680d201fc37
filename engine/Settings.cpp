// The engine's settings: the job's switches and callbacks, and the settings of the current work
// area (filter procedure, filter expression, sort order, scrambler password, stop flag). Each
// export only stores its value; navigation, conversions, comparisons and the cipher act on it.
//
// The setters of callbacks, the error variable, the exclusive default, the deleted setting and
// the date format have no nesting count: they write their call line through the utility
// library's Debug and look the job up. The others run in the full call frame.
#include <cstring>

#include "CallFrame.h"
#include "Conversions.h"
#include "DebugOutput.h"
#include "EngineHooks.h"
#include "Expression.h"
#include "Job.h"
#include "Trace.h"
#include "WorkAreas.h"
#include "vlUT11.h"

namespace {

// The last date format stands for every value outside the formats before it.
const unsigned kLastDateFormat = DB_DATE_FORMATS - 1;
const size_t kScramblerKeyBytes = 10;
const size_t kScramblerPasswordBytes = 8;
const int kScramblerModeTables = 1;
const unsigned kScramblerCodes = 128;
const unsigned kScramblerStep = 13;
const unsigned char kScramblerFirstCode = 0x20;

// The older scrambler's tables from the key's first byte: the encode table is a permutation of
// the codes 0x20..0x9F filled in steps of 13 positions, the decode table its inverse.
void BuildScramblerTables(s_Area& area)
{
    const unsigned char k = (unsigned char)area.scramblerKey[0];
    unsigned i = 0;
    for (unsigned start = 0; start < kScramblerStep; ++start)
        for (unsigned q = start; q < kScramblerCodes; q += kScramblerStep, ++i)
            area.scramblerEncode[q] = (uint8_t)((((unsigned char)(k - i) ^ 7) & 0x7F) + kScramblerFirstCode);
    for (unsigned position = 0; position < kScramblerCodes; ++position)
        area.scramblerDecode[area.scramblerEncode[position] - kScramblerFirstCode] =
            (uint8_t)(position + kScramblerFirstCode);
    area.scramblerEncode[kScramblerCodes] = 0;
    area.scramblerDecode[kScramblerCodes] = 0;
}

// A filter is logical when its root is: a NOT, a comparison or logical operator, a logical
// constant, a '$' operation, a call with a logical result, or a logical field.
bool LogicalRoot(const s_ExprNode* root)
{
    switch (root->kind) {
    case EXPR_NOT:
    case EXPR_COMPARE:
    case EXPR_LOGICAL_CONST: return true;
    case EXPR_ARITHMETIC: return root->op == '$';
    case EXPR_CALL:
    case EXPR_FIELD: return root->type == EXPR_LOGICAL;
    default: return false;
    }
}

// db_set_filter_to (index 0) and db_set_filter_to_index (index 1).
BOOL SetFilter(s_Job* job, const char* text, int index)
{
    s_Area* area = _db_current_table(job);
    if (!area)
        return FALSE;
    _expr_free(area->filterExpression);
    area->filterExpression = nullptr;
    if (index)
        area->indexFilter = 0;
    if (!text || !*text)
        return TRUE;
    area->indexFilter = 0;
    s_Expression* expression = _expr_compile(text);
    if (!expression)
        return FALSE;
    if (!LogicalRoot(expression->root)) {
        _expr_free(expression);
        _db_raise_error(DBE_NOT_LOGICAL);
        return FALSE;
    }
    area->filterExpression = expression;
    area->indexFilter = index;
    return TRUE;
}

// The switches without nesting count: the value goes into the job; the answer is the job's
// handle, 0 without a job.
template <typename T, typename V> intptr_t SetJobSwitch(T s_Job::*member, V value)
{
    s_Job* job = _db_get_job();
    if (!job)
        return 0;
    job->*member = value;
    return (intptr_t)job;
}

} // namespace

// ---- job switches without nesting count ----------------------------------------------------------

extern "C" intptr_t DB_CALL db_set_errorcallback(DbErrorCallback callback)
{
    if (_db_tracing())
        Debug(0, "@DbSetErrorcallback(0x%08lx)", (unsigned long)(uintptr_t)callback);
    return SetJobSwitch(&s_Job::errorCallback, callback);
}

extern "C" intptr_t DB_CALL db_set_positioncallback(DbPositionCallback callback)
{
    if (_db_tracing())
        Debug(0, "@DbSetPositioncallback(0x%08lx)", (unsigned long)(uintptr_t)callback);
    return SetJobSwitch(&s_Job::positionCallback, callback);
}

extern "C" intptr_t DB_CALL db_set_errorvariable(unsigned* variable)
{
    if (_db_tracing())
        Debug(0, "@DbSetErrorvariable(0x%08lx)", (unsigned long)(uintptr_t)variable);
    return SetJobSwitch(&s_Job::errorVariable, variable);
}

extern "C" intptr_t DB_CALL db_set_exclusive(int on)
{
    if (_db_tracing())
        Debug(0, "@DbSetExclusive(%d)", on);
    return SetJobSwitch(&s_Job::exclusive, on);
}

extern "C" intptr_t DB_CALL db_set_deleted(int on)
{
    if (_db_tracing())
        Debug(0, "@DbSetDeleted(%d)", on);
    return SetJobSwitch(&s_Job::deleted, on);
}

// Every value outside 0..3 (negative ones included) is stored as format 4.
extern "C" int DB_CALL db_set_dateformat(int format)
{
    if (_db_tracing())
        Debug(0, "@DbSetDateformat(%d)", format);
    s_Job* job = _db_get_job();
    if (!job)
        return 0;
    job->dateFormat = (unsigned)format >= kLastDateFormat ? (int)kLastDateFormat : format;
    return job->dateFormat;
}

// ---- job switches -----------------------------------------------------------------------------------

extern "C" BOOL DB_CALL db_set_decimals(int n)
{
    DbFrame<BOOL, RF_INT> f(DBF_NONE, "@DbSetDecimals(%d)", n);
    s_Job* job = f.Job();
    if (!job)
        return f(FALSE);
    job->decimals = n;
    return f(TRUE);
}

extern "C" BOOL DB_CALL db_set_exact(int on)
{
    DbFrame<BOOL, RF_INT> f(DBF_NONE, "@DbSetExact(%d)", on);
    s_Job* job = f.Job();
    if (!job)
        return f(FALSE);
    job->exact = on;
    return f(TRUE);
}

// ---- work-area settings ---------------------------------------------------------------------------

extern "C" BOOL DB_CALL db_set_filter_to_proc(DbFilterProc proc)
{
    DbFrame<BOOL, RF_INT> f(DBF_NONE, "@DbSetFilterToProc(0x%08lx)", TraceBuf{(const void*)(uintptr_t)proc});
    s_Area* area = _db_current_table(f.Job());
    if (!area)
        return f(FALSE);
    area->filterProc = proc;
    return f(TRUE);
}

extern "C" BOOL DB_CALL db_set_filter_to(const char* expression)
{
    DbFrame<BOOL, RF_INT> f(DBF_NONE, "@DbSetFilterTo('%s')", expression);
    return f(SetFilter(f.Job(), expression, 0));
}

extern "C" BOOL DB_CALL db_set_filter_to_index(const char* expression)
{
    DbFrame<BOOL, RF_INT> f(DBF_NONE, "@DbSetFilterToIndex('%s')", expression);
    return f(SetFilter(f.Job(), expression, 1));
}

// Stored as given; the comparisons know the orders 0..3 and compare others as ASCII.
extern "C" BOOL DB_CALL db_set_sortorder(int order)
{
    DbFrame<BOOL, RF_INT> f(DBF_NONE, "@DbSetSortorder(%d)", order);
    s_Area* area = _db_current_table(f.Job());
    if (!area)
        return f(FALSE);
    area->sortOrder = order;
    return f(TRUE);
}

// The older scrambler's key: the password repeated over 8 bytes, a 0 byte and the mode's low
// byte. Only mode 1 comes with the scrambler's tables (and the answer TRUE). Without the table
// encryption no key is set (error 61). The password never appears in the trace.
extern "C" BOOL DB_CALL db_set_password(int mode, const char* password)
{
    DbFrame<BOOL, RF_INT> f(DBF_NONE, "@DbSetPassword(x,xxxxxxx)");
    s_Area* area = _db_current_table(f.Job());
    if (!area)
        return f(FALSE);
    if (!password || !*password) {
        area->scramblerKey[0] = 0;
        return f(FALSE);
    }
    // Without the table encryption a key would mark the area enciphered while its records were
    // read and written in clear.
    if (!g_EngineHooks.encryptBuffer || !g_EngineHooks.decryptBuffer) {
        _db_raise_error(DBE_NOT_AVAILABLE);
        return f(FALSE);
    }
    const size_t length = std::strlen(password);
    for (size_t i = 0; i < kScramblerKeyBytes; ++i)
        area->scramblerKey[i] = password[i % length];
    area->scramblerKey[kScramblerPasswordBytes] = 0;
    area->scramblerKey[kScramblerPasswordBytes + 1] = (char)(uint8_t)mode;
    area->scramblerKey[kScramblerKeyBytes] = 0;
    area->scramblerMode = (uint8_t)mode;
    area->scramblerModeWord = mode;
    if (mode != kScramblerModeTables)
        return f(FALSE);
    BuildScramblerTables(*area);
    return f(TRUE);
}

// Set from a position or filter callback to end a running traversal; navigation clears it when a
// traversal starts.
extern "C" BOOL DB_CALL db_set_abort_flag(int flag)
{
    DbFrame<BOOL, RF_INT> f(DBF_NONE, "@DbSetExact(%d)", flag);
    s_Area* area = _db_current_table(f.Job());
    if (!area)
        return f(FALSE);
    area->stopFlag = flag ? 1 : 0;
    return f(TRUE);
}
