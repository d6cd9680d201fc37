// One work area: the engine's handle of one open table (or of a table being defined).
//
// Life of an area (the function behind each step):
//   unused  --db_use / db_define_begin-->  allocated in the current slot (_db_alloc_area)
//   defining  --db_define_end-->  open, empty table at the end-of-file position
//   open: files open while the job's files-open count is above 0, else closed between calls
//         (_db_close_files / _db_reopen_files); on leaving a close-on-select area its files close
//   open  --db_close 3, 0, 1 / db_use in the same slot / db_job_close-->  freed (_db_free_area)
//
// The area is in memory only: pointers are pointer-sized; what reaches a file goes through the
// byte layouts of DbfFormat.h.
#pragma once

#include <windows.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "Job.h"
#include "RecordCache.h"
#include "String.h"
#include "TextHelpers.h"
#include "clsCrit.h"

const int DB_INDEX_SLOTS = 50;
const int32_t DB_EOF_RECNO = 0x7FFFFFFF;
const int DB_ALIAS_SIZE = 11;
const int DB_FIELD_NAME_SIZE = 11;
const int DB_INDEX_HEADER_SIZE = 297;

// Lock bits of a work area (lockBits). The pairs 0x01/0x10, 0x02/0x20 and 0x04/0x40 (engine and
// caller) share one byte range of the table file.
enum : unsigned {
    DB_LOCK_HEADER = 0x01,
    DB_LOCK_RECORD = 0x02,
    DB_LOCK_FILE = 0x04,
    DB_LOCK_FAKE = 0x08,          // db_fake_rlock: field reads use the buffer; no replacing
    DB_LOCK_CALLER_HEADER = 0x10,
    DB_LOCK_CALLER_RECORD = 0x20,
    DB_LOCK_CALLER_FILE = 0x40,
    DB_LOCK_EXCLUSIVE = 0x80,     // the area does not lock: every request succeeds at once
    // The bits that allow replacing field values.
    DB_LOCKS_FOR_REPLACE = DB_LOCK_RECORD | DB_LOCK_FILE | DB_LOCK_CALLER_RECORD | DB_LOCK_CALLER_FILE |
                           DB_LOCK_EXCLUSIVE,
};

// Objects of other engine modules, owned by the area through the hooks of EngineHooks.h.
struct s_Expression;    // a compiled expression (filter, locate condition, index key)
class BoxObj;           // cached pages and path of an index slot
struct IBuffer;         // one cached index page
struct s_PackedReader;  // block reader of a packed table or index
struct s_Relation;      // the relations of an area as parent
class clsBlowfish;      // the cipher of a protected table

// One field as held in memory.
struct s_Field {
    char name[DB_FIELD_NAME_SIZE];
    char type;
    uint8_t length;
    uint8_t decimals;
    uint16_t offset;      // of the field's first byte after the deleted flag byte
};
static_assert(sizeof(s_Field) == 16, "field descriptors are 16 bytes");

// Field names to 1-based field numbers; names compare without regard to case.
struct FieldNameLess {
    bool operator()(const std::string& a, const std::string& b) const { return StrCompareNoCase(a.c_str(), b.c_str()) < 0; }
};
using FieldNameMap = std::map<std::string, int, FieldNameLess>;

// One index slot: an open NTX file (NtxFormat.h) with its page cache and position (BTree.h).
struct s_Index {
    char name[MAX_PATH] = {};           // full file name, upper case; empty: slot not in use
    HANDLE file = INVALID_HANDLE_VALUE;
    struct s_Area* area = nullptr;      // owner; its critical section guards the slot
    int lockCount = 0;                  // index-lock nesting
    s_Expression* keyExpression = nullptr;
    char keyType = 0;                   // 'C', 'N' or 'D'
    int level = -1;                     // level of the current page below the root; -1: none
    IBuffer* currentPage = nullptr;     // the position is its nKeyIndex
    uint32_t changeCounter = 0;         // the header's counter at the last lock or write
    uint32_t endOffset = 0;             // where the next page at the end of the file goes; 0: not known
    int pageSize = 1024;
    BoxObj* pages = nullptr;            // page cache and stack, made by the first operation
    uint8_t header[DB_INDEX_HEADER_SIZE] = {}; // copy of the file's header
    int packed = 0;
    s_PackedReader* packedReader = nullptr;
    int phonetic = 0;                   // the key expression begins with "phonetic("
};

struct s_Area {
    clsCrit lock;                       // held by the index operations on this area
    int index = 0;                      // 0-based position in the job (area number - 1)
    s_Job* job = nullptr;
    char alias[DB_ALIAS_SIZE] = {};     // at most 10 characters; empty without an alias
    String databaseName;                // the table file name as the caller passed it
    String fullPath;                    // full path in lower case
    HANDLE file = INVALID_HANDLE_VALUE; // table file
    std::unique_ptr<RecordCache> cache; // the table file's bytes, pointer and header (exclusive
                                        // tables, files kept open)
    int databaseType = 0;               // 0 dBase 3+, 1 dBase 4, 3 Clipper Summer '87, 4 Clipper 5
    int charset = 0;                    // 0x00 International, 0x10 US ASCII, 0x20 ANSI
    int sortOrder = 0;                  // 0 ASCII, 1 German Replace, 2 German Table, 3 German Alternate Table
    int flush = 1;                      // flush the files of a shared table after writes
    int closeOnSelect = 0;
    DWORD shareMode = 0;                // 0 exclusive, FILE_SHARE_READ | FILE_SHARE_WRITE shared
    int readOnly = 0;
    int fieldCount = 0;
    int exclusive = 0;
    int32_t recordCount = -1;           // -1: unknown, recomputed before use
    int64_t recordsHeld = -1;           // shared table: the records its file held when last measured
    int32_t recno = DB_EOF_RECNO;       // 1-based; DB_EOF_RECNO is the end-of-file position
    int deleteMark = 0;                 // set by db_delete / db_recall around their write
    int bof = 0;
    int eof = 0;
    int headerLength = 0;
    int recordLength = 0;
    s_Relation* relations = nullptr;    // relations of this area as parent
    uint8_t header[4] = {};             // version byte, year - 1900, month, day
    int headerDirty = 0;                // the change date was stamped and not yet written
    uint8_t headerWritten[7] = {};      // exclusive table: the date and count this area last wrote
    int headerWrittenKnown = 0;         // headerWritten holds what the file holds
    unsigned lockBits = 0;              // DB_LOCK_*
    int32_t lockedRecord = 0;           // record whose lock byte is held (0: none)
    int indexLockWord = 0;              // 2: every open index is locked for the file lock
    std::unique_ptr<s_Field[]> fields;  // fieldCount descriptors (+1 end mark while defining)
    FieldNameMap fieldNames;
    char memoName[MAX_PATH] = {};       // empty without a memo file
    HANDLE memoFile = INVALID_HANDLE_VALUE;
    std::unique_ptr<RecordCache> memoCache; // the same of the memo file
    uint8_t memoHeader[24] = {};        // the first 24 bytes of the memo file
    int memoHeaderKnown = 0;            // exclusive table: memoHeader's next-free block is the file's
    DbFilterProc filterProc = nullptr;
    s_Expression* filterExpression = nullptr;
    int indexFilter = 0;                // the filter expression is an index filter
    s_Expression* locateCondition = nullptr;
    int found = 0;
    std::unique_ptr<char[]> record;     // record buffer, recordLength bytes
    std::unique_ptr<char[]> beforeImage;
    int beforeImageValid = 0;
    int bufferValid = 0;                // the buffer holds record bufferRecno
    int changed = 0;
    int deleted = 0;                    // the buffered record is marked deleted
    int32_t bufferRecno = DB_EOF_RECNO; // DB_EOF_RECNO: the blank template
    int order = -1;                     // controlling index slot 0..49, -1 natural order
    s_Index indexes[DB_INDEX_SLOTS];
    int protectedTable = 0;             // Blowfish-protected
    clsBlowfish* cipher = nullptr;
    char scramblerKey[11] = {};         // the older scrambler's key; first byte 0: off
    uint8_t scramblerMode = 0;
    int scramblerModeWord = 0;
    uint8_t scramblerDecode[129] = {};
    uint8_t scramblerEncode[129] = {};
    int countSource = 1;                // 1 the header's count, 0 computed from the file size
    int packed = 0;
    s_PackedReader* packedReader = nullptr;
    void* userData = nullptr;
    unsigned char stopFlag = 0;         // ends a running traversal; cleared on selection
    int defining = 0;                   // between db_define_begin and db_define_end

    uint8_t Version() const { return header[0]; }
    unsigned MemoBlockSize() const { return (unsigned)(memoHeader[20] | (memoHeader[21] << 8)); }
    bool IsEncrypted() const { return protectedTable || scramblerKey[0]; }
};
