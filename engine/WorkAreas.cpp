// Selection of work areas by number, reference and alias.
#include "WorkAreas.h"

#include "Trace.h"

namespace {

bool AliasEqual(const char* a, const char* b)
{
    for (;; ++a, ++b) {
        unsigned char x = (unsigned char)*a, y = (unsigned char)*b;
        if (x >= 'A' && x <= 'Z')
            x = (unsigned char)(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z')
            y = (unsigned char)(y - 'A' + 'a');
        if (x != y)
            return false;
        if (!x)
            return true;
    }
}

} // namespace

int _db_area_by_designator(s_Job* job, const char* d)
{
    if (_db_is_area_ref(d)) {
        int n = (int)((intptr_t)d & 0xFF);
        if (n >= 1 && n <= DB_AREA_COUNT)
            return n;
        _db_raise_error(DBE_NO_ALIAS);
        return 0;
    }
    for (int i = 0; i < DB_AREA_COUNT; ++i)
        if (job->areas[i] && AliasEqual(job->areas[i]->alias, d))
            return i + 1;
    _db_raise_error(DBE_NO_ALIAS);
    return 0;
}

s_Area* _db_area_by_index(s_Job* job, int indexWithFlag)
{
    int index = indexWithFlag & 0x7FFF;
    if (index >= DB_AREA_COUNT) {
        if (_db_tracing())
            _db_trace(0, "[error: undefined area]");
        _db_raise_error(DBE_BAD_AREA);
        return nullptr;
    }
    s_Area* area = job->areas[index];
    if (!area && !(indexWithFlag & 0x8000))
        _db_raise_error(DBE_NO_TABLE);
    return area;
}

void _db_free_area(s_Job* job, int index)
{
    if (index < 0 || index >= DB_AREA_COUNT || !job->areas[index])
        return;
    s_Area* area = job->areas[index];
    job->currentIndex = index;
    job->currentArea = area;
    delete area;
    job->areas[index] = nullptr;
    job->currentArea = nullptr;
}

extern "C" int DB_CALL db_select(const char* designator)
{
    s_Job* job = _db_get_job();
    if (!job)
        return 0;
    int n;
    if (_db_is_current_designator(designator))
        return job->currentIndex + 1;
    if (_db_is_area_ref(designator)) {
        n = (int)((intptr_t)designator & 0xFF);
        if (n > DB_AREA_COUNT) {
            // The job holds 250 areas: the references of 251 to 255 select nothing.
            _db_raise_error(DBE_BAD_AREA);
            return 0;
        }
    } else {
        n = _db_area_by_designator(job, designator);
        if (n == 0)
            return 0;
    }
    if (n == job->currentIndex + 1)
        return n;
    job->currentIndex = n - 1;
    job->currentArea = job->areas[n - 1];
    if (job->currentArea)
        job->currentArea->stopFlag = 0;
    return n;
}

extern "C" int DB_CALL db_select_area(int area)
{
    return db_select(DB_AREAREF((unsigned)area & 0xFF));
}

extern "C" int DB_CALL db_select_alias(const char* alias) { return db_select(alias ? alias : ""); }
