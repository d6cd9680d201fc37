// Expression seeks: the search key is an expression evaluated for the current record (such as a
// field of another area, "OTHER->CUSTNO"). db_seek_expression positions on the first record with
// that key, visible or not; db_seek_expression_next steps to the next record in key order and
// tells whether it still has the key. The expression's type must be the index key's (C, N or D).
//
// The key is brought into the stored form of the controlling index: a number with the index's key
// size and decimals (so that 5 finds the key 5.00 of an N 8.2 index), a date as CCYYMMDD with the
// empty date in its stored form, a text as it is (a shorter text matches as a prefix while the
// exact setting is off).
#include <windows.h>

#include <cstring>

#include "BTree.h"
#include "CallFrame.h"
#include "Conversions.h"
#include "Expression.h"
#include "IndexSlots.h"
#include "Navigation.h"
#include "NtxFormat.h"
#include "PathHelpers.h"
#include "Seek.h"
#include "WorkAreas.h"
#include "clsIndexLock.h"
#include "clsKeepError.h"

namespace {

char TypeLetter(uint8_t type)
{
    switch (type) {
    case EXPR_STRING: return 'C';
    case EXPR_NUMBER: return 'N';
    case EXPR_DATE: return 'D';
    default: return 'L';
    }
}

// Compiles and evaluates the expression in the area (which is current) into the stored key form of
// the controlling index (DB_KEY_BUFFER bytes). FALSE when it does not compile or evaluate (the
// expression layer raised its error) or its type is not the key's (error 48).
bool SearchKey(s_Area& area, const char* text, char* key)
{
    s_Expression* expression = _expr_compile(text ? text : "");
    if (!expression)
        return false;
    s_ExprValue* value = _expr_eval(expression, 0);
    if (!value) {
        _expr_free(expression);
        return false;
    }
    const s_Index& index = area.indexes[area.order];
    const char letter = TypeLetter(value->type);
    const bool sameType = letter == index.keyType;
    if (sameType) {
        const unsigned keySize = _idx_key_size(index);
        char form[64];
        switch (letter) {
        case 'N':
            SafeStrCopy(key, _numeric_key((int)keySize, value->number, form, (int)keySize,
                                          dbf::Get16(index.header + ntx::kDecimalsAt)),
                        DB_KEY_BUFFER);
            break;
        case 'D':
            SafeStrCopy(key, _day_to_date(value->number, form), DB_KEY_BUFFER);
            _idx_date_search_form(index, key);
            break;
        default: SafeStrCopy(key, _expr_text(value), DB_KEY_BUFFER); break;
        }
    }
    _expr_free_value(value);
    _expr_free(expression);
    if (!sameType) {
        _db_raise_error(DBE_SEEK_TYPE);
        return false;
    }
    return true;
}

} // namespace

extern "C" BOOL DB_CALL db_seek_expression(const char* expr)
{
    DbFrame<BOOL, RF_INT> f(DBF_GUARD | DBF_CRASH_REPORT, "@DbSeekExpression('%s')", expr);
    s_Job* job = f.Job();
    s_Area* area = _db_seek_start(job);
    if (!area)
        return f(FALSE);
    char key[DB_KEY_BUFFER];
    if (!SearchKey(*area, expr, key))
        return f(FALSE);
    const int slot = area->order;
    s_Index& index = area->indexes[slot];
    index.area = area;

    clsIndexLock lock(*area, slot);
    if (!area->exclusive && !lock.Lock(TRUE, TRUE))
        return f(FALSE);
    const int result = _ntx_position(*area, index, key);
    area->found = result == 0 || (result == 1 && !job->exact);
    if (!area->found && area->recno != DB_EOF_RECNO)
        _db_seek_to_eof(*area);
    _db_follow_relations(job, *area);
    lock.Unlock();
    // A search that could not be carried out (a damaged index) is no answer.
    return f(result >= 0);
}

extern "C" BOOL DB_CALL db_seek_expression_next(const char* expr)
{
    DbFrame<BOOL, RF_INT> f(DBF_GUARD | DBF_CRASH_REPORT, "@DbSeekExpressionNext('%s')", expr);
    s_Job* job = f.Job();
    s_Area* area = _db_seek_start(job);
    if (!area)
        return f(FALSE);
    area->found = 0;
    area->bufferValid = 0;
    {
        clsKeepError keep;
        db_skip(1);
    }
    if (area->eof || job->currentError)
        return f(FALSE);
    char key[DB_KEY_BUFFER];
    if (!SearchKey(*area, expr, key))
        return f(FALSE);
    const int slot = area->order;
    char current[DB_KEY_BUFFER];
    if (!_idx_key_text(*area, slot, current))
        return f(FALSE);
    area->found = _db_seek_matches(*area, key, current, _idx_key_size(area->indexes[slot]));
    _db_follow_relations(job, *area);
    return f(area->found != 0);
}
