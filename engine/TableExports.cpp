// Small exports of the table layer: the compatibility switches, and the exports that keep their
// place in the interface without doing any work (options, the mailslot callback, user
// notifications, broadcasts, the user name).
#include <windows.h>

#include "CallFrame.h"
#include "WorkAreas.h"

namespace {

// Modes of db_set_compatibility.
enum { kCountSource = 0, kFieldNameBuffer = 1, kPhoneticVariant = 2 };

// Exchanges a switch for a new value; answers the old one.
int Exchange(int& setting, int value)
{
    const int previous = setting;
    setting = value;
    return previous;
}

} // namespace

// Mode 0: where the current area takes its record count from (1 the header, 0 the file size).
// Mode 1: the field-name buffer compatibility of db_get_fieldname. Mode 2: the phonetic-code
// variant (0 or 1; any other value leaves texts upper-cased and folded). Each answers the previous
// value; other modes change nothing. Without a table in the current area nothing changes.
extern "C" int DB_CALL db_set_compatibility(int mode, int value)
{
    DbFrame<int, RF_INT> f(DBF_NONE, "@DbSetCompatibility(%d,%d)", mode, value);
    s_Job* job = f.Job();
    s_Area* area = _db_current_table(job);
    if (!area)
        return f(0);
    switch (mode) {
    case kCountSource: {
        const int previous = Exchange(area->countSource, value);
        area->recordCount = -1;
        return f(previous);
    }
    case kFieldNameBuffer: return f(Exchange(job->fieldNameCompatibility, value));
    case kPhoneticVariant: return f(Exchange(job->collationCompatibility, value));
    default: return f(0);
    }
}

// Options: no effect, no trace.
extern "C" int DB_CALL db_set_option(intptr_t, intptr_t) { return 0; }
extern "C" int DB_CALL db_get_option(intptr_t, intptr_t) { return 0; }
extern "C" int DB_CALL db_set_optionstr(intptr_t, intptr_t) { return 0; }
extern "C" int DB_CALL db_get_optionstr(intptr_t, intptr_t, intptr_t) { return 0; }

// Only the trace line; nothing is stored.
extern "C" void DB_CALL db_set_mailslotcallback(void* callback)
{
    if (_db_tracing())
        _db_trace(0, "@DbSetMailslotCallback(0x%08lx)", (unsigned long)(uintptr_t)callback);
}

// Not available in this library: error 61.
extern "C" int DB_CALL db_trigger_usernotification(const char* text)
{
    DbFrame<int, RF_INT> f(DBF_NONE, "@DbTriggerUsernotification(%s)", text);
    if (f.Job())
        _db_raise_error(DBE_NOT_AVAILABLE);
    return f(0);
}

extern "C" int DB_CALL db_broadcast(unsigned long value, int count)
{
    DbFrame<int, RF_INT> f(DBF_NONE, "@DbBroadcast(%08lx,%d)", value, count);
    if (f.Job())
        _db_raise_error(DBE_NOT_AVAILABLE);
    return f(0);
}

// The name is not kept.
extern "C" BOOL DB_CALL db_set_user(const char* user)
{
    DbFrame<BOOL, RF_INT> f(DBF_NONE, "@DbSetUser('%s')", user);
    return f(f.Job() ? TRUE : FALSE);
}
