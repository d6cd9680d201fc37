// Locate: db_locate finds the first record of the current order for which a logical condition
// holds, db_continue the next one with the same condition, db_found tells whether the last locate,
// continue or seek found a record.
//
// The search walks the records with db_skip 1, so the controlling index gives the order and the
// filters and the deleted setting decide which records are tested. The compiled condition stays
// with the area (until the next db_locate or until the area is closed), so db_continue may be
// called any number of times. A search without a match leaves the area at the end of file.
#include <windows.h>

#include "CallFrame.h"
#include "EngineHooks.h"
#include "Expression.h"
#include "FieldAccess.h"
#include "Navigation.h"
#include "WorkAreas.h"
#include "clsKeepError.h"

namespace {

// A locate condition must give a logical value at its top: a logical constant, a NOT, a
// comparison or logical operator, or an operation, call or field whose result is logical.
bool LogicalTop(const s_ExprNode* root)
{
    switch (root->kind) {
    case EXPR_LOGICAL_CONST:
    case EXPR_NOT:
    case EXPR_COMPARE: return true;
    case EXPR_ARITHMETIC:
    case EXPR_CALL:
    case EXPR_FIELD: return root->type == EXPR_LOGICAL;
    default: return false;
    }
}

bool ErrorRaised(const s_Area& area) { return area.job->currentError != 0; }

// One step forward in the current order; FALSE when the step failed, so that a search never tests
// the same record again and again. (A step from the end of file may answer 0 in index order.)
bool SkipOne(s_Area& area)
{
    long reached;
    {
        clsKeepError keep;
        reached = db_skip(1);
    }
    return !ErrorRaised(area) && (reached != 0 || area.eof);
}

// From the current record on: test it, step on while it does not match. TRUE when the search ran
// to a match or to the end of file (the found flag tells which), FALSE on an error.
bool Search(s_Job* job, s_Area& area, bool stepFirst)
{
    area.found = 0;
    for (bool step = stepFirst;; step = true) {
        if (step) {
            if (!SkipOne(area))
                return false;
            if (area.eof) {
                _db_follow_relations(job, area);
                return true;
            }
        }
        const int holds = _expr_condition(area, area.locateCondition);
        if (holds < 0)
            return false;
        if (holds) {
            area.found = 1;
            _db_follow_relations(job, area);
            return true;
        }
    }
}

} // namespace

extern "C" BOOL DB_CALL db_locate(const char* condition)
{
    DbFrame<BOOL, RF_INT> f(DBF_GUARD | DBF_CRASH_REPORT, "@DbLocate('%s')", condition);
    s_Job* job = f.Job();
    s_Area* area = _db_current_table(job);
    if (!area || !_db_refresh_count(*area))
        return f(FALSE);
    _expr_free(area->locateCondition);
    area->locateCondition = nullptr;
    area->stopFlag = 0;
    s_Expression* compiled = _expr_compile(condition ? condition : "");
    if (!compiled)
        return f(FALSE);
    if (!LogicalTop(compiled->root)) {
        _expr_free(compiled);
        _db_raise_error(DBE_NOT_LOGICAL);
        return f(FALSE);
    }
    area->locateCondition = compiled;

    area->bof = area->eof = 0;
    area->found = 0;
    area->bufferValid = 0;
    const int32_t top = _db_go_top(*area);
    if (top == 0 || ErrorRaised(*area))
        return f(FALSE);
    if (top > area->recordCount || area->recordCount <= 0) {
        // An empty table, or no visible record.
        area->bof = area->eof = 1;
        _db_set_eof_position(*area);
        return f(TRUE);
    }
    return f(Search(job, *area, false));
}

extern "C" BOOL DB_CALL db_continue(void)
{
    DbFrame<BOOL, RF_INT> f(DBF_GUARD | DBF_CRASH_REPORT, "@DbContinue()");
    s_Job* job = f.Job();
    s_Area* area = _db_current_table(job);
    if (!area || !_db_refresh_count(*area))
        return f(FALSE);
    area->stopFlag = 0;
    if (!area->locateCondition) {
        _db_raise_error(DBE_NO_LOCATE);
        return f(FALSE);
    }
    return f(Search(job, *area, true));
}

extern "C" BOOL DB_CALL db_found(void)
{
    DbFrame<BOOL, RF_INT> f(DBF_GUARD, "@DbFound()");
    s_Area* area = _db_current_table(f.Job());
    return f(area && area->found ? TRUE : FALSE);
}
