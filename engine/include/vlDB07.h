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
    DBE_FILES_CLOSED = 9,      /* files not reopened: use db_files_open */
    DBE_MEMO_READ = 10,
    DBE_MEMO_WRITE = 11,
    DBE_MEMO_OPEN = 12,
    DBE_MEMORY = 13,
    DBE_NO_FIELD = 14,
    DBE_PACK_READ = 15,
    DBE_PACK_WRITE = 16,
    DBE_PACK_SHARED = 17,      /* packing needs an exclusive table */
    DBE_EXPRESSION = 18,       /* text: the job's expression error detail */
    DBE_TOO_MANY_FIELDS = 19,  /* the additional field is ignored */
    DBE_TOO_FEW_FIELDS = 20,
    DBE_LOCK = 21,
    DBE_BUFFER = 22,
    DBE_INTERNAL = 23,
    DBE_BAD_ORDER = 24,
    DBE_BAD_DATE = 25,
    DBE_NOT_LOGICAL = 26,
    DBE_NO_LOCATE = 27,
    DBE_NOT_MEMO = 28,
    DBE_READ_RECORD = 29,      /* a record could not be read in full */
    DBE_WRITE_RECORD = 30,
    DBE_NO_INDEX = 31,
    DBE_INDEX_OPEN = 32,
    DBE_INDEX_READ = 33,
    DBE_INDEX_WRITE = 34,
    DBE_INDEX_BAD = 35,
    DBE_KEY_EVAL = 36,
    DBE_KEY_TYPE = 37,
    DBE_EXPR_TOO_LONG = 38,
    DBE_SEEK = 39,
    DBE_NOT_UNIQUE = 40,
    DBE_SORT_OVERFLOW = 41,
    DBE_INDEX_IN_USE = 42,
    DBE_NO_REINDEX = 43,
    DBE_UNLOCKED = 44,
    DBE_KEY_EXISTS = 45,
    DBE_KEY_MISSING = 46,
    DBE_MEMO_REPLACE = 47,     /* a memo field takes only a 10-character block reference */
    DBE_SEEK_TYPE = 48,
    DBE_DBASE_INDEX = 49,
    DBE_WRITE_AT_EOF = 50,
    DBE_APPEND_SOURCE = 51,
    DBE_OTHER_RECORD = 52,
    DBE_FUNCTION = 53,         /* no text */
    DBE_READ_ONLY = 54,
    DBE_CHILD_GONE = 55,
    DBE_CHILD_IS_PARENT = 56,
    DBE_RELATION = 57,         /* no text */
    DBE_INDEX_PACKED = 58,
    DBE_TABLE_PACKED = 59,
    DBE_PACK_UNAVAILABLE = 60, /* packed table, compression library missing */
    DBE_NOT_AVAILABLE = 61,    /* no text */
    DBE_BAD_TYPE_WARNING = 1000
};

/* Called once per queued error when the calling thread's outermost engine call ends. */
typedef void(DB_CALL* DbErrorCallback)(unsigned code);
/* Navigation and index builds: (area number, position, direction +1/-1). */
typedef void(DB_CALL* DbPositionCallback)(int area, int position, int direction);
/* Record visibility: asked for the current record of the area it is set for; 0 hides it. */
typedef int(DB_CALL* DbFilterProc)(void);

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
/* TRUE when a table is open in the current area */
BOOL DB_CALL db_used(void);
BOOL DB_CALL db_files_open(void);
BOOL DB_CALL db_files_close(void);
BOOL DB_CALL db_files_checkopen(void);

/* ---- Tables: definition, opening and closing, navigation, field access, dumps ----------------
 *
 * db_use flags: 0x01 exclusive, 0x10 read-only, 0x20 without the memo file, 0x40 no password
 * handling, 0x80 refuse packed tables. Options (db_use and db_define_begin): the low bits are the
 * database type (0 dBase 3+, 1 dBase 4, 3 Clipper Summer '87, 4 Clipper 5), 0x0070 the charset
 * (0x00 International, 0x10 US ASCII, 0x20 ANSI), 0x2000 a protected table (db_define_begin),
 * 0x4000 no flushing after writes, 0x8000 close the files when another area is selected.
 * A protected table gets its password from the list db_set_bfpw fills, else from a dialog (the
 * creation dialog of db_define_end asks twice); Cancel fails with error 1 (db_define_end then
 * leaves no file). A packed table needs the compression library VLPA05.DLL (error 60 without it)
 * and is read-only (error 54); its indexes are packed when they are built and take no keys (58).
 * Field designators: a name (any case), "#n", DB_FIELDREF(n), "INDEXKEY" (DB_INDEXKEY), or
 * "alias.name" / "#area.name" where the export accepts it. The end-of-file position is the record
 * number DB_EOF. */
#define DB_EOF 0x7FFFFFFF
#define DB_INDEXKEY ((const char*)(intptr_t)-1)

BOOL DB_CALL db_define_begin(const char* file, int exclusive, const char* alias, unsigned options,
                             unsigned fieldCount);
BOOL DB_CALL db_define_field(const char* name, char type, unsigned length, unsigned decimals);
BOOL DB_CALL db_define_end(void);

BOOL DB_CALL db_use(const char* file, unsigned flags, const char* alias, unsigned options);
/* mode 0 or 1: every area (area 1 becomes current); 2: the indexes of the current area;
 * 3: the current area; any other mode: nothing */
BOOL DB_CALL db_close(int mode);
int DB_CALL db_get_charset(void);
unsigned DB_CALL db_reccount(void);
unsigned DB_CALL db_lastrec(void);
unsigned DB_CALL db_recno(void);
unsigned DB_CALL db_fcount(void);
BOOL DB_CALL db_get_fieldname(unsigned n, char* buffer, unsigned size);
unsigned DB_CALL db_get_type(const char* field);
unsigned DB_CALL db_get_length(const char* field);
int DB_CALL db_get_decimals(const char* field);
BOOL DB_CALL db_get_database(unsigned area, char* buffer, unsigned size);
BOOL DB_CALL db_get_databasepath(unsigned area, char* buffer, unsigned size);
BOOL DB_CALL db_get_alias(unsigned area, char* buffer, unsigned size);
BOOL DB_CALL db_bof(void);
BOOL DB_CALL db_eof(void);

long DB_CALL db_skip(long n);
/* recno 0: the first visible record, -1: the last visible record */
long DB_CALL db_goto(long recno);
/* Beside the skip: up to max visible records from the current one on, in the order in force,
 * as repeated db_skip(1) reaches them; each record's stored bytes (db_recsize of them) go to
 * rows, rowSize bytes apart, and its number to recnos. The area is left on the record after the
 * last one read (the end of the file after the last record). The number of records read, -1
 * on error (a record or index that cannot be read, rowSize below the record size). */
long DB_CALL db_read_rows(long max, long* recnos, char* rows, unsigned rowSize);

BOOL DB_CALL db_get_contents(const char* field, char* buffer, unsigned size);
BOOL DB_CALL db_get_record(char* buffer, unsigned size);
BOOL DB_CALL db_replace(const char* field, const char* value);
BOOL DB_CALL db_replace_record(const char* record);
BOOL DB_CALL db_blank(void);
unsigned DB_CALL db_get_reference(const char* field);
unsigned DB_CALL db_recsize(void);
unsigned DB_CALL db_header(void);

/* ---- Locks, writing and memo files ---------------------------------------------------------
 *
 * Shared tables are kept apart by byte-range locks beyond the end of their files. A changed
 * record needs a record lock, the file lock or an exclusive table; db_write and db_insert take
 * the locks they need themselves. wait: 0 one attempt; otherwise retried for up to 300 seconds,
 * with an abort dialog after 15 seconds. */
BOOL DB_CALL db_rlock(int wait);
/* Field reads use the record buffer as under a record lock; no lock is taken. */
BOOL DB_CALL db_fake_rlock(void);
/* Locks the whole table, then its open indexes. */
BOOL DB_CALL db_flock(int wait);
/* all 0: the caller's locks of the current area; otherwise those of every open area. */
BOOL DB_CALL db_unlock(int all);

BOOL DB_CALL db_write(void);
BOOL DB_CALL db_insert(void);
BOOL DB_CALL db_delete(void);
BOOL DB_CALL db_recall(void);
BOOL DB_CALL db_deleted(void);
BOOL DB_CALL db_zap(void);
/* source: DB_AREAREF(n) or an alias; fieldList: NULL or "" (fields by position) or
   "DEST[=SOURCE],..." */
BOOL DB_CALL db_append_from(const char* source, const char* fieldList);
/* The header's date of the last change in the job's date format. */
BOOL DB_CALL db_lupdate(char* buf, unsigned size);
/* The table file's last-write time: DOS date in the high 16 bits, DOS time in the low 16 bits. */
unsigned DB_CALL db_filetime(void);

BOOL DB_CALL db_memo_exist(const char* field);
BOOL DB_CALL db_memo_read_buffer(const char* field, char* buf, unsigned size);
/* A movable block holding the text (at most 1,048,575 characters) and a NUL; previous (or NULL)
   is re-allocated for it. The caller frees the block. NULL on error. */
HGLOBAL DB_CALL db_memo_read(const char* field, HGLOBAL previous);
BOOL DB_CALL db_memo_write(const char* field, const char* text);
/* The MD5 fingerprint of the current record (its bytes, deleted flag included, then the text of
   each memo field in field order) as 32 upper-case hexadecimal digits and a NUL in digest (33
   bytes). FALSE, and 33 NUL bytes, without a table in the current area. */
BOOL DB_CALL db_calc_md5(char* digest);

/* 0: global settings and the current area, 1: the current area, 2: every area, 3: relations */
void DB_CALL db_debuginfo(int what);

/* Values and collations: dates in the job's date format (from and to CCYYMMDD), and texts
   compared by the current work area's sort order */
BOOL DB_CALL db_dtoc(const char* ccyymmdd, char* buf, unsigned size);
BOOL DB_CALL db_ctod(const char* text, char* buf, unsigned size);
int DB_CALL db_strcompare(const char* a, const char* b);
char* DB_CALL db_strreduce(char* s, const char* set);

/* ---- Settings, filters, string functions and small exports -----------------------------------
 *
 * Job settings: exclusive default for opening (1), hiding records marked deleted (0), decimals
 * (0), date format 0..4 (0; every other value is stored as 4), exact comparison of texts (1).
 * Work-area settings of the current area: filter procedure and filter expression (a logical
 * expression; error 18 when it does not compile, 26 when it is not logical; NULL or "" removes
 * it), sort order (0 ASCII, 1 German Replace, 2 German Table, 3 German Alternate Table), the
 * older scrambler's password (mode 1 builds its tables and answers TRUE), the stop flag that ends
 * a running traversal. The string functions change the text in place and answer it; db_stuff
 * needs room for the result. */
intptr_t DB_CALL db_set_exclusive(int on);
intptr_t DB_CALL db_set_deleted(int on);
int DB_CALL db_set_dateformat(int format);
BOOL DB_CALL db_set_decimals(int n);
BOOL DB_CALL db_set_exact(int on);
BOOL DB_CALL db_set_sortorder(int order);
BOOL DB_CALL db_set_password(int mode, const char* password);
/* Puts the password of a protected table into the list shared by every process that has the
   library loaded (under the path as given and its short form; letter case does not matter), so
   that opening the table asks nothing. The result is always FALSE. */
BOOL DB_CALL db_set_bfpw(const char* path, const char* password);
BOOL DB_CALL db_set_abort_flag(int flag);
BOOL DB_CALL db_set_filter_to_proc(DbFilterProc proc);
BOOL DB_CALL db_set_filter_to(const char* expression);
BOOL DB_CALL db_set_filter_to_index(const char* expression);

char* DB_CALL db_ltrim(char* s);
char* DB_CALL db_rtrim(char* s);
char* DB_CALL db_trim(char* s);
char* DB_CALL db_atrim(char* s);
char* DB_CALL db_upper(char* s);
char* DB_CALL db_lower(char* s);
char* DB_CALL db_stuff(char* s, unsigned start, unsigned count, const char* repl);
char* DB_CALL db_substr(char* s, int start, unsigned count);

/* The references as pointer-sized, sign-extended values (DB_FIELDREF(n), DB_AREAREF(n)). */
intptr_t DB_CALL db_fieldref(int n);
intptr_t DB_CALL db_arearef(int n);
BOOL DB_CALL db_set_userdata(void* value);
void* DB_CALL db_get_userdata(void);
/* The calling thread holds the current area's guard entry from start to end. */
BOOL DB_CALL db_protected_section_start(void);
BOOL DB_CALL db_protected_section_end(void);
/* TRUE when the condition holds for the current record. */
BOOL DB_CALL db_matches_condition(const char* condition);

/* ---- Indexes: creation and rebuild, slots and the controlling order, key seeks -------------
 *
 * Every area has 50 index slots (1..50). Index file names get ".ntx" when they have none and are
 * kept in upper case. Opening or creating an index makes it the controlling index; slot 0 of
 * db_set_order is natural order. db_reindex rebuilds one slot, or with 0 every open index.
 * Seeks position the area by the controlling index and answer the found flag: with the exact
 * setting off a shorter search text matches as a prefix. */
BOOL DB_CALL db_index_on(unsigned slot, const char* key_expr, const char* file, int unique);
BOOL DB_CALL db_reindex(unsigned slot);
BOOL DB_CALL db_set_index_to(unsigned slot, const char* file);
BOOL DB_CALL db_set_order(int slot);
/* As db_set_order, without finding the current record in the index. */
BOOL DB_CALL db_set_order_no_adjust(int slot);
/* The controlling slot 1..50; 0 in natural order. */
unsigned DB_CALL db_indexord(void);
/* The file of a slot: its base name (no directory, no extension), or its full name as opened;
   an empty text for a slot not in use. */
BOOL DB_CALL db_get_index(unsigned slot, char* buf, unsigned size);
BOOL DB_CALL db_get_indexpath(unsigned slot, char* buf, unsigned size);
/* The key expression of a slot, and its key for the current record as stored (unsaved changes of
   the record buffer are dropped). */
BOOL DB_CALL db_indexkey(unsigned slot, char* buf, unsigned size);
BOOL DB_CALL db_indexvalue(unsigned slot, char* buf, unsigned size);
/* The first record with the key (not found: the end-of-file position). */
BOOL DB_CALL db_seek(const char* key);
BOOL DB_CALL db_find(const char* key);
/* The first record whose key is not smaller; TRUE when its key matches. */
BOOL DB_CALL db_softseek(const char* key);
/* The next record in key order; TRUE when it still has the key. */
BOOL DB_CALL db_seek_next(const char* key);
/* The first (next) key that matches a wildcard pattern: '*' any run of characters, '?' any one
   character, the pattern's end open ("SMI" matches every key that begins with SMI). The index is
   walked key by key; hidden records are passed over. Not found: the end-of-file position. */
BOOL DB_CALL db_seek_wild(const char* pattern);
BOOL DB_CALL db_seek_wild_next(const char* pattern);
/* The search key is an expression evaluated for the current record; its type must be the index
   key's (error 48). db_seek_expression answers TRUE when the search ran (db_found tells whether
   it found the key; the record found may be hidden); db_seek_expression_next moves on by one
   record and answers whether it still has the key. */
BOOL DB_CALL db_seek_expression(const char* expr);
BOOL DB_CALL db_seek_expression_next(const char* expr);

/* ---- Packing a table -------------------------------------------------------------------------
 *
 * db_pack removes the records marked deleted from the current area's table for good; the kept
 * records keep their order. The table must be open exclusively and hold no other lock (error 17).
 * A failed read or write leaves the table as it was (error 15 or 16). Memo references that cannot
 * be read are emptied afterwards. The area stands at its first record in natural order; the index
 * files are not touched and must be rebuilt. FALSE for a table without records (no error). */
BOOL DB_CALL db_pack(void);

/* ---- Locate and the remaining table exports --------------------------------------------------
 *
 * db_locate searches the current order from its first visible record for a record on which the
 * logical condition holds (error 26 for a condition that is not logical); db_continue searches on
 * from the record after the current one (error 27 without a db_locate before). Both answer TRUE
 * when the search ran; db_found tells whether it (or the last seek) found a record. A search
 * without a match ends at the end of file. */
BOOL DB_CALL db_locate(const char* condition);
BOOL DB_CALL db_continue(void);
BOOL DB_CALL db_found(void);
/* With a table in the current area; answers the previous value. mode 0: record count from the
   header (1, the default) or from the file size (0); 1: field-name buffer compatibility of
   db_get_fieldname (default 1); 2: phonetic-code variant (0 or 1; another value only upper-cases
   and folds). */
int DB_CALL db_set_compatibility(int mode, int value);
/* The full path of the table in an area (1..250), in lower case. */
BOOL DB_CALL db_get_databaseUNC(unsigned area, char* buf, unsigned size);
/* Kept in the interface; they do nothing and answer 0 (db_set_user: TRUE with a job). Arguments
   are pointer-sized so that any value a caller passes fits. */
int DB_CALL db_set_option(intptr_t option, intptr_t value);
int DB_CALL db_get_option(intptr_t option, intptr_t value);
int DB_CALL db_set_optionstr(intptr_t option, intptr_t value);
int DB_CALL db_get_optionstr(intptr_t option, intptr_t buf, intptr_t size);
void DB_CALL db_set_mailslotcallback(void* callback);
/* Not available: error 61. */
int DB_CALL db_trigger_usernotification(const char* text);
int DB_CALL db_broadcast(unsigned long value, int count);
BOOL DB_CALL db_set_user(const char* user);

/* ---- Relations -------------------------------------------------------------------------------
 *
 * db_add_relation ties a child area (designator) to the current area: the key expression,
 * evaluated for the parent's record, is sought in the child's controlling index or, without an
 * index, names the child's record number (a number is required then: error 57). Every move of the
 * parent repositions its children (newest relation first), and theirs. Refused: an unknown or
 * unused child (6); a child that is the parent or already reaches it (56); a relation that would
 * make one move reposition more than 10,000 children (57). A child closed later ends the next
 * repositioning with error 55. db_delete_relations removes the relations of the current area and
 * of every area below it. The write, lock and unlock exports act on the parent's record, then on
 * the children's (db_write_relations appends a changed child that stands at the end of file). */
BOOL DB_CALL db_add_relation(const char* child, const char* key);
BOOL DB_CALL db_delete_relations(void);
BOOL DB_CALL db_write_relations(void);
BOOL DB_CALL db_rlock_relations(int wait);
BOOL DB_CALL db_unlock_relations(void);
/* Repositions the children again. */
BOOL DB_CALL db_align_relations(void);

#ifdef __cplusplus
}
#endif

#endif
