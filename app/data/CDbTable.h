// One open DBF table of the program: a free work area, the field map with the current row's
// values as cached text, the conversion between the program's text forms and the engine's,
// reading, writing, deleting, recalling and appending rows under record locks, navigation,
// filters and the marks of visible rows.
//
// Every engine call runs in a CDbAreaLock of the table's area. Text in the tables is OEM: values
// are converted with CharToOem right before they go to the engine and with OemToChar right after
// they come back; the cache always holds ANSI text. Forms of the cache: dates "DD.MM.CCYY" (empty
// for an empty date), numbers trimmed with the program's decimal character ("0" when empty),
// memos whole, other fields without trailing blanks.
//
// Flags: position-moved is set by every navigation call (goto, skip, seek, append, reindex, pack)
// and clears the row-complete flag, which ReadAllFields sets. Row-dirty and memo-dirty tell
// WriteRecord what to write. An unexpected engine error throws a CFileException out of the
// operation (DbErrors.h). Operations on a table that is not open do nothing and fail.
#pragma once

#include <afx.h>

#include <utility>
#include <vector>

#include "CDbFieldMap.h"
#include "DbIndexDef.h"
#include "DbTableDef.h"

class CDbSession;

// The answers of CDbTable::OpenChecked.
enum DbOpenResult {
    DB_OPEN_FAILED = 0,
    DB_OPEN_OPENED = 1,
    DB_OPEN_CREATED = 2,   // created new (a missing table, or a changed one whose rows were not imported)
    DB_OPEN_UPGRADED = 3,  // created with the new structure and the old rows imported
};

// The answers of CDbTable::CheckFile.
enum DbCheckResult {
    DB_CHECK_USABLE = 0,
    DB_CHECK_ABSENT = 1,        // absent (or not openable for another reason)
    DB_CHECK_UNREADABLE = 2,    // the engine cannot open it
    DB_CHECK_CHANGED = 3,       // its structure differs from the definition
    DB_CHECK_IN_USE = 4,        // others hold it in a way that excludes the open mode
    DB_CHECK_TOO_MANY_FILES = 5,
};

// The answers of CDbTable::FindInOrder.
enum DbFindResult {
    DB_FIND_NOT_FOUND = 1,  // the previous row is current again
    DB_FIND_FOUND = 2,
    DB_FIND_DELETED = 3,    // found, and the row is marked deleted
};

class CDbTable {
public:
    // A closed table of the session; installs the session's error handler again and shows rows
    // marked deleted as hidden (SetDeleted 1).
    explicit CDbTable(CDbSession* pSession);
    // Closes the table.
    virtual ~CDbTable();
    CDbTable(const CDbTable&) = delete;
    CDbTable& operator=(const CDbTable&) = delete;

    // ---- opening and closing ---------------------------------------------------------------------
    // Opens the table (db_use with the open mode: 0 shared, 1 exclusive, 16 read-only, and the
    // options) in its area, or, when it has none yet, in the first free one of 1 to 250; with none
    // free the program ends (message 40002 with the alias). Builds the field map and empties every
    // cached value. FALSE when the engine refuses.
    BOOL Open(LPCTSTR lpszPath, LPCTSTR lpszAlias, int nOpenMode, UINT nOpenOptions);
    // Closes the area, frees the marks and clears the state.
    virtual void Close();
    BOOL IsOpen() const { return m_nArea != 0; }
    int GetArea() const { return m_nArea; }
    // The engine's full path of the table; empty when not open.
    CString GetDatabasePath();
    // Called after db_use succeeded and after db_define_begin; nothing here.
    virtual void OnOpened();
    // "Datensatz Nummer %ld" (41028) with the current record number.
    virtual void DescribePosition(CString& strText);

    // The definition values of the last Open (empty while closed).
    const CString& GetPath() const { return m_strPath; }
    const CString& GetAlias() const { return m_strAlias; }
    int GetOpenMode() const { return m_nOpenMode; }
    UINT GetOpenOptions() const { return m_nOpenOptions; }
    int GetFieldCount() const { return m_nFieldCount; }

    // ---- row values ---------------------------------------------------------------------------
    CDbFieldMap& GetFieldMap() { return m_fields; }
    // Builds a field map of the open table (names, types, lengths, decimals, widths; empty values).
    void BuildFieldMap(CDbFieldMap& map);
    // The field's value of the current row, from the cache or read (and cached); the engine's
    // result. FALSE for an unknown field.
    virtual BOOL ReadField(LPCTSTR lpszName, CString& rValue, BOOL bFromCache = FALSE);
    // Reads every field in field order, stopping at the first failure; sets row-complete when
    // all were read.
    virtual BOOL ReadAllFields();
    // As ReadAllFields, but when the low 16 bits of dwMask are not 0 only the fields whose flag
    // word shares a bit with them.
    BOOL ReadFieldsMasked(DWORD dwMask);
    // A reference to the cached value, read first unless bCachedOnly.
    virtual CString& FieldValue(LPCTSTR lpszName, BOOL bCachedOnly = FALSE);
    // Caches the value for WriteRecord: a memo sets memo-dirty (and its length), any other field
    // row-dirty, and its text is trimmed unless it is a character field. FALSE for an unknown
    // field.
    virtual BOOL SetFieldValue(LPCTSTR lpszName, LPCTSTR lpszText);
    // The character at the 1-based position of the value (read as ReadField does); 0 beyond it.
    virtual TCHAR GetFieldChar(LPCTSTR lpszName, int nPos, BOOL bFromCache = FALSE);
    // Pads the cached value with '0' to the position's length and puts the character there; no
    // dirty flag. FALSE for an unknown field or a position below 1.
    virtual BOOL SetFieldChars(LPCTSTR lpszName, int nPos, TCHAR ch);
    // Display width from the engine's length and type; 0 when not open.
    int GetDisplayWidth(LPCTSTR lpszName);

    // ---- writing ------------------------------------------------------------------------------
    // Writes the dirty cached values into the current row (dates rewritten as DD.MM.CCYY, numbers
    // with the decimal point) and the row with db_write; both dirty flags are cleared. TRUE when
    // every step succeeded, also when only the index keys were not unique (error 40), and when
    // nothing was dirty. With bRefreshEmpty the empty-table flag is refreshed.
    virtual BOOL WriteRecord(BOOL bRefreshEmpty = FALSE, int nReserved = 0);
    // Locks the current row, marks it deleted (recalls it) and writes it; a row locked by someone
    // else gives message 40011 and no change. With bReposition the position leaves the hidden row.
    virtual BOOL DeleteRecord(BOOL bReposition = TRUE);
    virtual BOOL RecallRecord(BOOL bReposition = TRUE);
    // Appends a blank row, makes it current, locks it (the caller unlocks it) and empties the
    // cache. FALSE when the row could not be appended or locked.
    virtual BOOL AppendBlank();
    // The current row's record lock (nWait: 0 one attempt, else the engine's wait), its result.
    BOOL LockRecord(int nWait = 0);
    // Releases the caller's locks of the area (nAll: those of every area).
    BOOL UnlockRecord(int nAll = 0);
    // Marks the current row locked in the engine without a file lock, for reading it whole.
    BOOL MarkRecordLocked();
    // Ends the mark of MarkRecordLocked: releases the area's locks, unless the caller holds a
    // record lock of the area (LockRecord, AppendBlank), which the release would take with it; the
    // mark then goes with that lock. Decided under the area's lock, so another thread's reads
    // never release a lock that this one takes meanwhile.
    void ReleaseReadMark();
    // A record lock of the caller is held on this area (taken by LockRecord or AppendBlank, not
    // yet released by UnlockRecord).
    BOOL HoldsRecordLock() const { return m_bHoldsRecordLock != 0; }

    // ---- navigation ---------------------------------------------------------------------------
    // Up to nMax visible rows from the current one on, in one engine call, the way Skip(1) walks
    // them (db_read_rows): their record numbers and stored records (GetStoredRecordSize() bytes
    // each, one after the other); the position ends on the row after the last one read, or at
    // the end. The number of rows read; -1 when the engine failed or the stored record does not
    // have the measured size.
    long ReadRows(long nMax, std::vector<long>& recnos, std::vector<char>& rows);
    unsigned GetStoredRecordSize() const { return m_nStoredRecordSize; }
    // Where the field's bytes lie in a stored record; FALSE for an unknown field.
    BOOL GetStoredField(LPCTSTR lpszName, unsigned& nOffset, unsigned& nLength) const;
    // The fields of the map (a copy of this table's, AttachFields) whose flag word shares a bit
    // with wMask, cut from a stored record of this table and converted as ReadField does. FALSE
    // (nothing cut) when such a field is a memo or logical field.
    BOOL CutStoredFields(const char* pRecord, WORD wMask, CDbFieldMap& fields);
    // db_goto (0: first visible row, -1: last); the record number reached, 0 on failure.
    long GoTo(long nRecNo);
    long Skip(long nCount);
    BOOL IsEof();
    unsigned GetRecNo();
    unsigned GetRecCount();
    // The table file's last write time as a DOS date and time (date in the high word); 0 when not
    // open.
    unsigned GetFileTime();
    // TRUE when the table had no visible row at the last refresh (after opening and writes,
    // deletes and recalls that ask for it).
    BOOL IsEmpty() const { return m_bEmpty; }
    void RefreshEmptyFlag();

    // ---- searching and the index order --------------------------------------------------------
    // Seeks the value in the controlling index: the value is padded to the field's length
    // (right-aligned for numbers, left-aligned otherwise) and upper-cased when the index's key
    // expression begins with "UPP". SeekNext goes on to the next row with the key. The engine's
    // found flag; FALSE for an unknown field.
    virtual BOOL Seek(LPCTSTR lpszValue, LPCTSTR lpszField);
    virtual BOOL SeekNext(LPCTSTR lpszValue, LPCTSTR lpszField);
    // Seeks the value in the index order nOrder with rows marked deleted visible (DbFindResult);
    // the table's order is restored and rows marked deleted are hidden again afterwards.
    virtual int FindInOrder(int nOrder, LPCTSTR lpszField, LPCTSTR lpszValue);
    // The controlling order (index slot 1..50, 0 natural order): with it the index is positioned
    // on the current row, without it at the next move. The engine's result.
    BOOL SetOrder(int nOrder);
    BOOL SetOrderNoAdjust(int nOrder);
    unsigned GetOrder();
    // The key expression of an index slot; empty when the slot is not in use.
    CString GetIndexKey(unsigned nSlot);

    // ---- index definitions and maintenance -----------------------------------------------------
    // The class's index definitions (an array ended by an entry with order 0); NULL: none.
    virtual const DbIndexDef* GetIndexDefinitions();
    // The file of an index: the table's drive, directory and base name with the definition's stem
    // as extension.
    CString GetIndexPath(const DbIndexDef& definition) const;
    // Creates the index file of the definition at the path (db_index_on); it becomes controlling.
    BOOL IndexOn(const DbIndexDef& definition, LPCTSTR lpszIndexPath);
    // Maintenance, each with a progress dialog unless quiet (CDbProgressDialog) and the wait
    // cursor around each step. TRUE when every step succeeded; the first failure ends the work.
    // RebuildIndexes closes the table's indexes and creates every defined index file anew.
    BOOL RebuildIndexes(BOOL bQuiet = FALSE);
    // Rebuilds every defined index in place; the order and the row are restored afterwards.
    BOOL Reindex(BOOL bQuiet = FALSE);
    // Removes the rows marked deleted for good (the table must be open exclusively); the indexes
    // must be rebuilt afterwards. The engine's result.
    BOOL Pack(BOOL bQuiet = FALSE);

    // ---- table definitions, creation and structure upgrade (CDbTableStructure.cpp) -------------
    // Whether a missing or changed table may be created (1 here), and what happens when it may
    // not be or the user refused (the answer is not used; 1 here).
    virtual BOOL AllowCreate();
    virtual BOOL OnCreateRefused();
    // The class's definitions: the table, its fields (nFieldCount entries) and its indexes
    // (GetIndexDefinitions). NULL here: an undefined table is only opened with Open.
    virtual const DbTableDef* GetTableDefinition();
    virtual const DbFieldDef* GetFieldDefinitions();
    // Opens the defined table lpszFileName in the directory (which ends with a separator):
    // checks it, creates it when it is missing (asking first unless nAskMode is 0), upgrades it
    // when its structure differs (always asking; the old files are kept as backups whose name
    // begins with '~' and their rows imported), opens it with its indexes (made anew when they
    // cannot be opened), sets order 1, the fields' read masks and the side file's collation.
    // nAskMode 2 also calls OnCreateRefused when creating is refused. DbOpenResult; every failure
    // has shown its box, and the table is then closed. nReserved is not read.
    virtual int OpenChecked(LPCTSTR lpszDirectory, LPCTSTR lpszFileName, int nOpenMode, int nAskMode, int nReserved = 1);
    // Whether the table file can be used in the open mode (0, 1 or 16; another mode ends the
    // program with the fatal box); DbCheckResult.
    int CheckFile(LPCTSTR lpszPath, int nOpenMode);
    // Whether the open table fits the definitions: the same options; every required field
    // present; every defined field that is present with its type and length. Decimals and fields
    // without a definition do not count.
    virtual BOOL CheckStructure(const DbTableDef* pTable, const DbFieldDef* pFields);
    // Creates the table from the class's definitions and opens it (box 40005 on failure).
    virtual BOOL Create(LPCTSTR lpszPath);
    // Defines the table at the path (in this table's area, or a free one) and opens it.
    BOOL CreateTable(const DbTableDef* pTable, const DbFieldDef* pFields, LPCTSTR lpszPath);
    // Creates every defined index file of the table at the path (box 40006 naming the index that
    // failed).
    virtual BOOL CreateIndexes(LPCTSTR lpszPath);
    // Opens every defined index file of the table at the path.
    BOOL OpenIndexes(LPCTSTR lpszPath);
    // Copies the table file and its memo file to the names whose first character is '~' (a
    // missing file counts as copied); an older backup that differs from the table is kept
    // (KeepOlderBackup). Box 40055 on failure; unless quiet, box 40057 naming the backup.
    BOOL BackupTable(LPCTSTR lpszDirectory, LPCTSTR lpszFileName, BOOL bQuiet);
    // Imports the rows of the backup ('~' name) into this newly created, open table: the fields
    // that both tables have. TRUE also when there is no backup. A failed append, engine failure
    // or file exception alike, shows box 40056 and answers FALSE; the backups stay. After a
    // complete import the side file's aliases are dropped, its other sections (the collation) kept.
    virtual BOOL ImportFromBackup(LPCTSTR lpszDirectory, LPCTSTR lpszFileName);
    // Called with the backup's area after its rows were imported; its answer is the import's.
    virtual BOOL AfterImport(int nSourceArea);
    // The upgrade of a table whose structure differs, after its backup: the new table is made
    // under a work name ('$' for the first character), the backup's rows are imported into it,
    // and only then does it take the table's place (memo first). FALSE, with the table's files as
    // they were, when any step failed (its box shown).
    BOOL Upgrade(LPCTSTR lpszDirectory, LPCTSTR lpszFileName);
    // Before a backup is made over an older one: an older backup whose files differ from the
    // table's is moved to the first free numbered name ("~X4_1.DBE" with "~X4_1.DBT"). FALSE when
    // it could not be moved.
    static BOOL KeepOlderBackup(const CString& strSource, const CString& strBackup);
    // Moves the work table's files (memo first) over the table's; when the table file cannot
    // follow its memo, the memo is copied back from the backup. FALSE when the table was not
    // replaced.
    static BOOL ReplaceTableFiles(const CString& strWork, const CString& strPath, const CString& strBackup);
    // Copies each field definition's flag word into the open table's field of that name.
    void ApplyFieldFlags(const DbFieldDef* pFields);
    // The position of the field definition with that name (any case) among the definition's
    // fields; -1 when absent (or the class has no definitions).
    int FindFieldDefinition(LPCTSTR lpszName);

    // The side file: the table's drive, directory and base name with the extension "DBA".
    // "Aliasnamen" holds the display alias of each field, "Allgemein" the key "SortOrder" (the
    // collation 0 to 3; any other value counts as 0).
    static CString SideFilePath(LPCTSTR lpszTablePath);
    // The field's alias: from the side file, else the definition's default alias (to be written
    // on close), else the name; empty with aliases off.
    CString ReadAlias(LPCTSTR lpszName);
    // Writes every field's alias to the side file (nothing with aliases off).
    BOOL WriteAliases();
    // Removes the "Aliasnamen" section of the side file of the table at the path.
    BOOL ClearAliases(LPCTSTR lpszPath);
    // The collation of the table at the path from its side file (0 when absent or out of range).
    static int ReadSortOrder(LPCTSTR lpszTablePath);
    // With aliases off the "Aliasnamen" section is neither read nor written.
    void SetAliasesOff(BOOL bOff) { m_bAliasesOff = bOff; }
    BOOL AreAliasesOff() const { return m_bAliasesOff; }
    BOOL AreAliasesDirty() const { return m_bAliasesDirty; }

    // ---- filters, deleted rows and marks -----------------------------------------------------
    // Sets the filter expression as the engine's index filter (empty or NULL removes it). With
    // marks, a removed filter marks every row, and a new one rebuilds the marks and is then removed
    // again, so that the marks say which rows pass. FALSE (and the engine's code as
    // GetLastFilterError) when the engine refuses the expression.
    BOOL SetFilter(LPCTSTR lpszExpression);
    unsigned GetLastFilterError() const { return m_nLastFilterError; }
    virtual BOOL FilterOn();
    virtual BOOL FilterOff();
    BOOL IsFilterActive() const { return m_bFilterActive; }
    // The engine's visibility of rows marked deleted (1 hidden); a change rebuilds the marks.
    void SetDeleted(int nOn);

    // The marks: one bit per row (bit n - 1 for row n, 524,288 rows at most) telling whether the
    // row was visible at the last rebuild. AllocateMarks makes them (and builds them).
    BOOL AllocateMarks();
    BOOL HasMarks() const { return m_pMarks != NULL; }
    // Sets the bits of the first GetRecCount() rows: whole bytes to byValue, the bits of the last
    // partial byte to bit 0 of byValue.
    void SetAllMarks(BYTE byValue);
    // Marks every visible row (switching the filter flag off and on); the position ends at EOF.
    void RebuildMarks();
    virtual BOOL IsMarked(unsigned nRecNo);
    unsigned GetMarkedCount() const { return m_nMarked; }

    // ---- state --------------------------------------------------------------------------------
    BOOL IsPositionMoved() const { return m_bPositionMoved; }
    BOOL IsRowComplete() const { return m_bRowComplete; }
    BOOL IsRowDirty() const { return m_bRowDirty; }
    BOOL IsMemoDirty() const { return m_bMemoDirty; }
    // The engine error that the last WriteRecord ended with on this table (0: none); error 40
    // (keys not unique) counts as success there.
    unsigned GetLastWriteError() const { return m_nLastWriteError; }

protected:
    // Every navigation call: the position moved, the row is no longer complete.
    void SetPositionMoved();
    // Reads a field's value from the engine (area locked), in the program's text form (ANSI).
    BOOL ReadEngineValue(CDbField& field, CString& rValue);
    // The program's text form of a field's stored bytes (OEM, NUL-terminated, in a buffer of at
    // least the field's length + 1 and 255 bytes, which the conversion may change).
    static void ConvertStoredValue(const CDbField& field, char* pszStored, CString& rValue);
    // ReadFieldsMasked's fast way: the current row's stored record in one engine call, the masked
    // fields cut from it and converted as ReadField does. FALSE (nothing read) when a masked field
    // is a memo or logical field or the record does not have the measured size.
    BOOL ReadMaskedFromRecord(WORD wMask);
    // The offset and length of each field of the map in the stored record, after Open.
    void MeasureStoredFields();
    // The table's 2-byte read of field 1 after a record lock: the engine then holds the locked
    // row's current bytes.
    void ReadAfterLock();
    BOOL WriteDate(const CDbField& field, CString strText);
    // Seek and SeekNext: the value as the controlling index's keys hold it.
    BOOL SeekKey(LPCTSTR lpszValue, LPCTSTR lpszField, BOOL bNext);
    BOOL DeleteOrRecall(BOOL bReposition, BOOL bDelete);
    void SetMark(unsigned nRecNo);
    void FreeMarks();
    void ClearDefinition();
    // The import's append of the backup's rows (area nSourceArea) into this table, the fields of
    // the list; the engine's result. A file exception passes on.
    virtual BOOL AppendRows(int nSourceArea, LPCTSTR lpszFieldList);
    // Sets the side file's collation in the table's area (before its indexes are made or opened).
    void ApplySortOrder(LPCTSTR lpszPath);
    // The first unused work area (each tested under its own lock); 0 when none is free.
    static int FindFreeArea();

    // The definition values of the last Open.
    CString m_strPath;
    int m_nOpenMode;
    CString m_strAlias;
    UINT m_nOpenOptions;
    int m_nFieldCount;

    CDbSession* m_pSession;
    int m_nArea;
    BOOL m_bPositionMoved;
    BOOL m_bRowComplete;
    BOOL m_bRowDirty;
    BOOL m_bMemoDirty;
    BOOL m_bAliasesDirty;
    BOOL m_bFilterActive;
    BOOL m_bEmpty;
    int m_nDeletedSetting;
    HGLOBAL m_hMarks;
    BYTE* m_pMarks;
    unsigned m_nMarked;
    unsigned m_nLastFilterError;
    BOOL m_bAliasesOff;
    unsigned m_nLastWriteError;
    CDbFieldMap m_fields;
    CString m_strNoField; // FieldValue's answer for an unknown name
    std::vector<std::pair<unsigned, int>> m_storedOffsets;
    unsigned m_nStoredRecordSize = 0;
    // Set while a record lock of the caller is held (changed under the area's lock).
    volatile LONG m_bHoldsRecordLock = 0;
};
