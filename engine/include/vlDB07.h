/* The database library's exported interface: every db_ function, its types and its error codes.
 *
 * The functions use the stdcall convention (on x64 the platform's one convention). Besides the
 * plain name, every function is exported as "name@N" and "_name@N" (N = 4 x number of arguments).
 *
 * Designators: area and field designators are pointer-sized. A small reference is a sign-extended
 * 32-bit value, never a user pointer:
 *   area n   DB_AREAREF(n)  = (const char*)(intptr_t)(int32_t)(0xFFFFFF00 | n)
 *   field n  DB_FIELDREF(n) = (const char*)(intptr_t)(int32_t)(0xFFFFF000 | n)
 *   0 (or DB_AREAREF(0)) is the current area; any other value points to an alias or field text.
 */
#ifndef VLDB07_H
#define VLDB07_H

#include <stdint.h>
#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

#define DB_CALL __stdcall

#define DB_AREAREF(n) ((const char*)(intptr_t)(int32_t)(0xFFFFFF00u | (uint32_t)(n)))
#define DB_FIELDREF(n) ((const char*)(intptr_t)(int32_t)(0xFFFFF000u | (uint32_t)(n)))

/* Error codes (db_error, the error callback and the error variable). Texts: db_get_errortext. */
enum {
    DBE_OPEN = 1,              /* Can't open database */
    DBE_FORMAT = 2,            /* bad or unknown format */
    DBE_NO_TABLE = 3,          /* No database defined in the selected area */
    DBE_BAD_AREA = 4,          /* Bad area number */
    DBE_NO_JOB = 5,            /* no job exists (no text) */
    DBE_NO_ALIAS = 6,
    DBE_READ = 7,
    DBE_WRITE = 8,
    DBE_FILES_CLOSED = 9,
    DBE_MEMO_READ = 10,
    DBE_MEMO_WRITE = 11,
    DBE_MEMO_OPEN = 12,
    DBE_MEMORY = 13,
    DBE_NO_FIELD = 14,
    DBE_EXPRESSION = 18,       /* text: the job's expression error detail */
    DBE_LOCK = 21,
    DBE_BUFFER = 22,
    DBE_INTERNAL = 23,
    DBE_BAD_ORDER = 24,
    DBE_INDEX_BAD = 35,
    DBE_NOT_UNIQUE = 40,
    DBE_UNLOCKED = 44,
    DBE_READ_ONLY = 54,
    DBE_NOT_AVAILABLE = 61,
    DBE_BAD_TYPE_WARNING = 1000
};

/* Called once per queued error when the calling thread's outermost engine call ends. */
typedef void(DB_CALL* DbErrorCallback)(unsigned code);
/* Navigation and index builds: (area number, position, direction +1/-1). */
typedef void(DB_CALL* DbPositionCallback)(int area, int position, int direction);

/* Job and errors */
int DB_CALL db_job_open(void);
void DB_CALL db_job_close(void);
unsigned DB_CALL db_error(void);
void DB_CALL db_get_errortext(unsigned code, char* buffer, unsigned size);
void DB_CALL db_set_debug(int on);
unsigned DB_CALL db_get_version(int selector);

/* Settings: the result is non-zero when a job exists */
intptr_t DB_CALL db_set_errorcallback(DbErrorCallback callback);
intptr_t DB_CALL db_set_positioncallback(DbPositionCallback callback);
intptr_t DB_CALL db_set_errorvariable(unsigned* variable);

/* Work areas */
int DB_CALL db_select(const char* designator);
int DB_CALL db_select_area(int area);
int DB_CALL db_select_alias(const char* alias);

/* Values and collations: dates in the job's date format (from and to CCYYMMDD), and texts
   compared by the current work area's sort order */
BOOL DB_CALL db_dtoc(const char* ccyymmdd, char* buf, unsigned size);
BOOL DB_CALL db_ctod(const char* text, char* buf, unsigned size);
int DB_CALL db_strcompare(const char* a, const char* b);
char* DB_CALL db_strreduce(char* s, const char* set);

#ifdef __cplusplus
}
#endif

#endif
