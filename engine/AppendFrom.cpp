// db_append_from: appends every visible record of another work area (in its order, with its
// filters and the deleted setting) to the table of the current area, field by field.
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "CallFrame.h"
#include "FieldAccess.h"
#include "Memo.h"
#include "Navigation.h"
#include "WorkAreas.h"

namespace {

// The entries of a field list: a destination field name, optionally "=" and the source field.
using FieldList = std::vector<std::string>;

FieldList SplitList(const char* list)
{
    FieldList entries;
    if (!list)
        return entries;
    const char* start = list;
    for (const char* p = list;; ++p) {
        if (*p == ',' || *p == 0) {
            if (p > start)
                entries.emplace_back(start, p);
            if (!*p)
                break;
            start = p + 1;
        }
    }
    return entries;
}

bool AsciiEqualNoCase(const char* a, const char* b, size_t n)
{
    for (size_t i = 0; i < n; ++i) {
        unsigned char x = (unsigned char)a[i], y = (unsigned char)b[i];
        if (x >= 'a' && x <= 'z')
            x = (unsigned char)(x - 'a' + 'A');
        if (y >= 'a' && y <= 'z')
            y = (unsigned char)(y - 'a' + 'A');
        if (x != y)
            return false;
    }
    return true;
}

// The source field (1-based) for a destination field under a field list; 0: left blank.
int ListedSource(const s_Area& source, const FieldList& entries, const char* name)
{
    const size_t length = std::strlen(name);
    for (const std::string& e : entries) {
        if (e.size() < length || !AsciiEqualNoCase(e.c_str(), name, length) || (e.size() > length && e[length] != '='))
            continue;
        const std::string from = e.size() > length ? e.substr(length + 1) : std::string(name);
        auto it = source.fieldNames.find(from);
        return it == source.fieldNames.end() ? 0 : it->second;
    }
    return 0;
}

// Copies the fields of the source's record buffer into the blank record of the destination (the
// current area); a failed memo copy ends the copy of the record.
void CopyFields(s_Area& source, s_Area& target, const FieldList& entries)
{
    const bool sourceAnsi = source.charset == 0x20, targetAnsi = target.charset == 0x20;
    for (int i = 0; i < target.fieldCount; ++i) {
        const s_Field& to = target.fields[i];
        int from;
        if (!entries.empty())
            from = ListedSource(source, entries, to.name);
        else if (i < source.fieldCount)
            from = i + 1;
        else
            break;
        if (from == 0)
            continue;
        const s_Field& d = source.fields[from - 1];
        if (d.type != to.type && to.type != 'M')
            continue;
        const char* text = source.record.get() + 1 + d.offset;
        if (to.type == 'M') {
            if (d.type == 'M') {
                if (!_db_memo_copy(source, from, target, i + 1))
                    break;
            } else
                db_memo_write(DB_FIELDREF(i + 1), std::string(text, d.length).c_str());
        } else if (to.type == 'N' || to.type == 'F') {
            // The number itself, whatever the widths: db_replace reads as many characters as the
            // destination field is long, and the leading blanks of a wider field would cut it.
            std::string number(text, d.length);
            const size_t first = number.find_first_not_of(' ');
            number.erase(0, first == std::string::npos ? number.size() : first);
            db_replace(DB_FIELDREF(i + 1), number.c_str());
        } else {
            char* into = target.record.get() + 1 + to.offset;
            const unsigned n = d.length < to.length ? d.length : to.length;
            std::memcpy(into, text, n);
            if (targetAnsi && !sourceAnsi)
                OemToCharBuffA(into, into, n);
            else if (sourceAnsi && !targetAnsi)
                CharToOemBuffA(into, into, n);
        }
    }
}

// The source is the destination's own table (the same area, or another area on the same file):
// every row appended would be read again as a source row, and the copy would never end.
bool SameTable(const s_Area& source, const s_Area& target)
{
    if (&source == &target || std::strcmp(source.fullPath, target.fullPath) == 0)
        return true;
    BY_HANDLE_FILE_INFORMATION a{}, b{};
    return source.file != INVALID_HANDLE_VALUE && target.file != INVALID_HANDLE_VALUE &&
           GetFileInformationByHandle(source.file, &a) && GetFileInformationByHandle(target.file, &b) &&
           a.dwVolumeSerialNumber == b.dwVolumeSerialNumber && a.nFileIndexHigh == b.nFileIndexHigh &&
           a.nFileIndexLow == b.nFileIndexLow;
}

} // namespace

extern "C" BOOL DB_CALL db_append_from(const char* source, const char* fieldList)
{
    DbFrame<BOOL, RF_INT> f(DBF_NONE, "@DbAppendFrom(%s,0x%08lx)", TraceArea{source}, TraceBuf{fieldList});
    s_Job* job = f.Job();
    s_Area* target = _db_current_table(job);
    if (!target || !_db_refresh_count(*target))
        return f(FALSE);
    target->stopFlag = 0;
    if (target->readOnly) {
        _db_raise_error(DBE_READ_ONLY);
        return f(FALSE);
    }
    const int targetNumber = job->currentIndex + 1;
    int sourceNumber;
    if (_db_is_current_designator(source))
        sourceNumber = targetNumber;
    else if ((sourceNumber = _db_area_by_designator(job, source)) == 0)
        return f(FALSE);

    _db_select_number(job, sourceNumber);
    s_Area* from = job->currentArea;
    if (!from || SameTable(*from, *target)) {
        _db_select_number(job, targetNumber);
        _db_raise_error(DBE_APPEND_SOURCE);
        return f(FALSE);
    }
    BOOL result = TRUE;
    if (db_goto(0) != 0) {
        const FieldList entries = SplitList(fieldList);
        while (from->recno != DB_EOF_RECNO) {
            if (!_db_read_current(*from)) {
                result = FALSE;
                break;
            }
            _db_select_number(job, targetNumber);
            db_blank();
            CopyFields(*from, *target, entries);
            if (!db_insert()) {
                result = FALSE;
                break;
            }
            _db_select_number(job, sourceNumber);
            // A failed skip would stay on the record: the copy ends there.
            if (db_skip(1) == 0) {
                result = FALSE;
                break;
            }
        }
    }
    _db_select_number(job, targetNumber);
    return f(result);
}
