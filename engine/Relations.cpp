// Relations between work areas (see Relations.h).
#include "Relations.h"

#include <windows.h>

#include <climits>
#include <cstring>
#include <new>
#include <string>

#include "CNumbers.h"
#include "CallFrame.h"
#include "Conversions.h"
#include "EngineHooks.h"
#include "Expression.h"
#include "IndexSlots.h"
#include "Navigation.h"
#include "NtxFormat.h"
#include "PathHelpers.h"
#include "Seek.h"
#include "WorkAreas.h"
#include "clsKeepError.h"
#include "vlUT11.h"

namespace {

// Texts of 57 characters or more are shortened to their first 29, "..." and their last 26.
const size_t kShortenFrom = 57;
const size_t kShortHead = 29;
const size_t kShortTail = 26;
// A number key as text: "%.2f", at most 40 characters.
const int kNumberText = 41;

void Shorten(const char* text, char* out)
{
    const size_t n = std::strlen(text);
    if (n < kShortenFrom) {
        std::memcpy(out, text, n + 1);
        return;
    }
    std::memcpy(out, text, kShortHead);
    std::memcpy(out + kShortHead, "...", 3);
    std::memcpy(out + kShortHead + 3, text + n - kShortTail, kShortTail);
    out[kShortHead + 3 + kShortTail] = 0;
}

// An export called from inside this one; an error raised before it stays the current one when
// the export raises none.
template <typename F>
bool Nested(F call)
{
    clsKeepError keep;
    return call() != FALSE;
}

// The current area when it is the parent of relations, else NULL.
s_Area* ParentOf(s_Job* job)
{
    s_Area* area = _db_current_table(job);
    return area && area->relations ? area : nullptr;
}

s_Area* ChildArea(const s_Relation& r)
{
    return r.child >= 1 && r.child <= DB_AREA_COUNT ? r.job->areas[r.child - 1] : nullptr;
}

// ---- the graph of relations -------------------------------------------------------------------

// Whether area from reaches area to through relations (from itself counts).
bool Reaches(s_Job* job, int from, int to, bool seen[DB_AREA_COUNT])
{
    if (from == to)
        return true;
    if (seen[from - 1])
        return false;
    seen[from - 1] = true;
    const s_Area* area = job->areas[from - 1];
    for (const s_Relation* r = area ? area->relations : nullptr; r; r = r->next)
        if (Reaches(job, r->child, to, seen))
            return true;
    return false;
}

// The children one walk from area n repositions (shared children count once per way to them),
// with a relation parent -> child added; saturates above kMaxRelationWalk.
unsigned WalkLength(s_Job* job, int n, int parent, int child, unsigned memo[DB_AREA_COUNT])
{
    if (memo[n - 1] != UINT_MAX)
        return memo[n - 1];
    unsigned total = 0;
    auto add = [&](int c) {
        total += 1 + WalkLength(job, c, parent, child, memo);
        if (total > kMaxRelationWalk)
            total = kMaxRelationWalk + 1;
    };
    if (n == parent)
        add(child);
    const s_Area* area = job->areas[n - 1];
    for (const s_Relation* r = area ? area->relations : nullptr; r; r = r->next)
        add(r->child);
    return memo[n - 1] = total;
}

bool WalkTooLong(s_Job* job, int parent, int child)
{
    unsigned memo[DB_AREA_COUNT];
    for (unsigned& m : memo)
        m = UINT_MAX;
    for (int n = 1; n <= DB_AREA_COUNT; ++n)
        if (WalkLength(job, n, parent, child, memo) > kMaxRelationWalk)
            return true;
    return false;
}

// ---- repositioning ----------------------------------------------------------------------------

// The relation's key for the parent's current record (the parent is current): a number as "%.2f",
// a date as CCYYMMDD, a text as evaluated (as much of it as a key holds). FALSE when the
// evaluation fails.
bool KeyText(const s_Relation& r, char* text)
{
    s_ExprValue* value = _expr_eval(r.key, 0);
    if (!value)
        return false;
    switch (value->type) {
    case EXPR_NUMBER: UtilSafeSprintf(text, kNumberText, "%.2f", value->number); break;
    case EXPR_DATE: _day_to_date(value->number, text); break;
    case EXPR_LOGICAL: SafeStrCopy(text, value->logical ? "T" : "F", DB_KEY_BUFFER); break;
    default: SafeStrCopy(text, _expr_text(value), DB_KEY_BUFFER); break;
    }
    _expr_free_value(value);
    return true;
}

// The record number a key text names: its integer part; 0 for none.
long RecordNumberOf(const char* text)
{
    const double x = CStrToD(text);
    if (!(x >= 1))
        return 0;
    return x >= (double)LONG_MAX ? LONG_MAX : (long)x;
}

// Moves the child (current) to the key: a seek in its controlling index, else the record number.
// The child's own relations follow in the walk, not in the calls that move it.
void Position(s_Area& child, const char* key)
{
    s_Relation* own = child.relations;
    child.relations = nullptr;
    {
        clsKeepError keep;
        child.stopFlag = 0;
        if (_db_refresh_count(child)) {
            if (_idx_in_use(child, child.order))
                _db_seek(child, key, false);
            else if (const long n = RecordNumberOf(key))
                db_goto(n);
            else {
                // No record has a number below 1: the child has no record, as after a seek that
                // found nothing.
                _db_set_eof_position(child);
                child.eof = 1;
            }
        }
    }
    child.relations = own;
}

// The walk over a list of relations; FALSE (error 55) when a child area is gone.
bool Reposition(s_Relation* list)
{
    for (s_Relation* r = list; r; r = r->next) {
        s_Job* job = r->job;
        s_Area* child = ChildArea(*r);
        if (!child) {
            _db_raise_error(DBE_CHILD_GONE);
            return false;
        }
        _db_select_number(job, r->parent->index + 1);
        char key[DB_KEY_BUFFER];
        if (!KeyText(*r, key))
            continue;
        _db_select_number(job, r->child);
        Position(*child, key);
        if (child->relations && !Reposition(child->relations))
            return false;
    }
    return true;
}

// ---- writing, locking and unlocking the children ------------------------------------------------

// Writes every changed child depth first (a child at the end of file as a new record); FALSE at
// the first failure.
bool WriteChildren(s_Relation* list)
{
    for (s_Relation* r = list; r; r = r->next) {
        s_Area* child = ChildArea(*r);
        if (!child)
            continue;
        if (child->changed) {
            _db_select_number(r->job, r->child);
            if (!Nested(child->recno == DB_EOF_RECNO ? db_insert : db_write))
                return false;
        }
        if (child->relations && !WriteChildren(child->relations))
            return false;
    }
    return true;
}

// Unlocks the children's records depth first (children at the end of file hold no lock); TRUE when
// every unlock succeeded.
bool UnlockChildren(s_Relation* list)
{
    bool all = true;
    for (s_Relation* r = list; r; r = r->next) {
        s_Area* child = ChildArea(*r);
        if (!child)
            continue;
        if (child->recno != DB_EOF_RECNO) {
            _db_select_number(r->job, r->child);
            all = Nested([] { return db_unlock(0); }) && all;
        }
        if (child->relations)
            all = UnlockChildren(child->relations) && all;
    }
    return all;
}

// Locks the children's current records depth first (a child at the end of file counts as locked);
// FALSE at the first lock not obtained.
bool LockChildren(s_Relation* list, int wait)
{
    for (s_Relation* r = list; r; r = r->next) {
        s_Area* child = ChildArea(*r);
        if (!child)
            continue;
        if (child->recno != DB_EOF_RECNO) {
            _db_select_number(r->job, r->child);
            if (!Nested([wait] { return db_rlock(wait); }))
                return false;
        }
        if (child->relations && !LockChildren(child->relations, wait))
            return false;
    }
    return true;
}

// ---- the dump ---------------------------------------------------------------------------------

std::string NameOf(const s_Area& area)
{
    if (area.alias[0])
        return area.alias;
    return "#" + std::to_string(area.index + 1);
}

// One line of the dump.
void Line(const std::string& text) { UtilDebug("%s", text.c_str()); }

// The relations of one parent, each with its branch, its child and the child's relations one
// level further in. The prefix carries a bar while relations of an upper level follow.
void DumpList(const s_Area& parent, const std::string& prefix)
{
    const std::string name = NameOf(parent);
    for (const s_Relation* r = parent.relations; r; r = r->next) {
        const bool more = r->next != nullptr;
        Line(prefix + "\xB3\n");
        Line(prefix + (more ? "\xC3\xC4\xC4" : "\xC0\xC4\xC4") + name + ".(" + r->text + ")\n");
        const std::string inner = prefix + (more ? "\xB3  " : "   ");
        const s_Area* child = ChildArea(*r);
        if (!child) {
            Line(inner + " *child does not exist*\n");
            continue;
        }
        std::string to = inner + "to " + NameOf(*child);
        if (!_idx_in_use(*child, child->order))
            to += " *child has no index*\n";
        else {
            char expression[ntx::kExpressionSize] = {};
            std::memcpy(expression, child->indexes[child->order].header + ntx::kExpressionAt, ntx::kExpressionSize - 1);
            char shown[DB_RELATION_TEXT];
            Shorten(expression, shown);
            to += std::string(".(") + shown + ")\n";
        }
        Line(to);
        DumpList(*child, inner);
    }
}

void DumpRelations(s_Area& area)
{
    Line(NameOf(area) + "\n");
    // The first level's prefix.
    DumpList(area, "\xF8");
}

void RepositionHook(s_Area& area) { _rel_update(area); }

// The library fills the hooks when it starts.
[[maybe_unused]] const bool s_hooksInstalled = [] {
    g_EngineHooks.repositionRelations = &RepositionHook;
    g_EngineHooks.freeRelations = &_rel_free;
    g_EngineHooks.dumpRelations = &DumpRelations;
    return true;
}();

} // namespace

bool _rel_update(s_Area& area)
{
    const bool walked = Reposition(area.relations);
    _db_select_number(area.job, area.index + 1);
    return walked;
}

void _rel_free(s_Area& area)
{
    s_Relation* list = area.relations;
    area.relations = nullptr;
    while (list) {
        s_Relation* r = list;
        list = r->next;
        _expr_free(r->key);
        if (s_Area* child = ChildArea(*r); child && child->relations)
            _rel_free(*child);
        delete r;
    }
}

// ---- exports ----------------------------------------------------------------------------------

extern "C" BOOL DB_CALL db_add_relation(const char* child, const char* key)
{
    DbFrame<BOOL, RF_INT> f(DBF_NONE, "@DbAddRelation(%s,%s)", TraceArea{child}, key);
    s_Job* job = f.Job();
    s_Area* parent = _db_current_table(job);
    if (!parent || !_db_refresh_count(*parent))
        return f(FALSE);
    const int parentNumber = parent->index + 1;
    int childNumber = 0;
    Nested([&] { return childNumber = db_select(child); });
    s_Area* childArea = childNumber >= 1 && childNumber <= DB_AREA_COUNT ? job->areas[childNumber - 1] : nullptr;
    const int childOrder = childArea ? childArea->order : -1;
    _db_select_number(job, parentNumber);
    if (!childArea) {
        // An unknown alias has been reported by the selection already.
        if (childNumber != 0 || !job->currentError)
            _db_raise_error(DBE_NO_ALIAS);
        return f(FALSE);
    }
    bool seen[DB_AREA_COUNT] = {};
    if (Reaches(job, childNumber, parentNumber, seen)) {
        // The child is the parent, or reaches it: the walks would never end.
        _db_raise_error(DBE_CHILD_IS_PARENT);
        return f(FALSE);
    }
    if (WalkTooLong(job, parentNumber, childNumber)) {
        _db_raise_error(DBE_RELATION);
        return f(FALSE);
    }

    s_Expression* compiled = _expr_compile(key ? key : "");
    if (!compiled)
        return f(FALSE);
    s_ExprValue* value = _expr_eval(compiled, 0);
    const bool usable = value && (_idx_in_use(*childArea, childOrder) || value->type == EXPR_NUMBER);
    const bool evaluated = value != nullptr;
    _expr_free_value(value);
    if (!usable) {
        _expr_free(compiled);
        // Without an index only a number can name the child's record.
        if (evaluated)
            _db_raise_error(DBE_RELATION);
        return f(FALSE);
    }

    s_Relation* relation = new (std::nothrow) s_Relation;
    if (!relation) {
        _expr_free(compiled);
        _db_raise_error(DBE_MEMORY);
        return f(FALSE);
    }
    relation->job = job;
    relation->parent = parent;
    relation->child = childNumber;
    relation->key = compiled;
    Shorten(key ? key : "", relation->text);
    Reposition(relation);
    _db_select_number(job, parentNumber);
    relation->next = parent->relations;
    parent->relations = relation;
    return f(TRUE);
}

extern "C" BOOL DB_CALL db_delete_relations(void)
{
    DbFrame<BOOL, RF_INT> f(DBF_NONE, "@DbDeleteRelations()");
    s_Area* area = _db_current_table(f.Job());
    if (!area)
        return f(FALSE);
    _rel_free(*area);
    return f(TRUE);
}

extern "C" BOOL DB_CALL db_write_relations(void)
{
    DbFrame<BOOL, RF_INT> f(DBF_NONE, "@DbWriteRelations()");
    s_Area* area = ParentOf(f.Job());
    if (!area)
        return f(FALSE);
    const bool written = Nested(db_write) && WriteChildren(area->relations);
    _db_select_number(area->job, area->index + 1);
    // After a failure the children keep their unwritten buffers (the caller may try again).
    if (written)
        _rel_update(*area);
    return f(written);
}

extern "C" BOOL DB_CALL db_rlock_relations(int wait)
{
    DbFrame<BOOL, RF_INT> f(DBF_NONE, "@DbRlockRelations(%d)", wait);
    s_Area* area = ParentOf(f.Job());
    if (!area)
        return f(FALSE);
    bool locked = Nested([wait] { return db_rlock(wait); });
    if (locked && !LockChildren(area->relations, wait)) {
        UnlockChildren(area->relations);
        locked = false;
    }
    _db_select_number(area->job, area->index + 1);
    if (!locked)
        Nested([] { return db_unlock(0); });
    return f(locked);
}

extern "C" BOOL DB_CALL db_unlock_relations(void)
{
    DbFrame<BOOL, RF_INT> f(DBF_NONE, "@DbUnlockRelations()");
    s_Area* area = ParentOf(f.Job());
    if (!area)
        return f(FALSE);
    const bool parent = Nested([] { return db_unlock(0); });
    const bool children = UnlockChildren(area->relations);
    _db_select_number(area->job, area->index + 1);
    return f(parent && children);
}

// Its call line reads as db_unlock_relations'.
extern "C" BOOL DB_CALL db_align_relations(void)
{
    DbFrame<BOOL, RF_INT> f(DBF_NONE, "@DbUnlockRelations()");
    s_Area* area = ParentOf(f.Job());
    if (!area)
        return f(FALSE);
    _rel_update(*area);
    return f(TRUE);
}
