// One row of a table held apart from the table's own cache: its own field map with values, the
// row's record number and its state. Changing a stored row goes lock, read, change, write,
// unlock:
//
//   CDbRecordBuffer row(&table);
//   row.AttachFields();
//   row.LockAndRead(n);         // lock row n, then read its values (the engine refuses changes
//                               // to unlocked rows of shared tables)
//   row.SetFieldValue("SUBJECT", "Besprechung");
//   row.WriteRecord();
//   row.UnlockRecord();
//
// Writing a buffer without a record number (new, cleared or cloned) appends a row; the buffer
// then owns that row's lock and releases it with UnlockRecord or when it is destroyed. Failures
// answer -1 and leave the values as they were (a failed read clears the valid flag).
#pragma once

#include <afx.h>

#include <functional>

#include "CDbFieldMap.h"

class CDbTable;

class CDbRecordBuffer {
public:
    // An empty buffer of the table (no fields until AttachFields); new.
    explicit CDbRecordBuffer(CDbTable* pTable);
    // Copies the table, record number, flags and values, never the lock.
    CDbRecordBuffer(const CDbRecordBuffer& other);
    CDbRecordBuffer& operator=(const CDbRecordBuffer& other);
    // Releases the row's lock when the buffer holds it.
    virtual ~CDbRecordBuffer();

    // The field's value (a reference to an empty string for an unknown name).
    virtual CString& FieldValue(LPCTSTR lpszName);
    // Sets the value and the modified flag; an unknown name changes nothing.
    virtual void SetFieldValue(LPCTSTR lpszName, LPCTSTR lpszText);
    // The character at the 1-based position, a blank beyond the value.
    virtual TCHAR GetFieldChar(LPCTSTR lpszName, int nPos);
    // Pads the value with blanks to the position's length and puts the character there; 0 for an
    // unknown name (or a position below 1).
    virtual int SetFieldChars(LPCTSTR lpszName, int nPos, TCHAR ch);
    // Empties every value: record number 0, new, not valid, not modified.
    virtual void Clear();
    // Takes the table's field map (or builds one from the open table), then Clear. -1 without a
    // table.
    virtual int AttachFields();
    // Goes to the row and takes its lock; 0 (also without a record number, when nothing is
    // locked) or -1.
    virtual int LockRecord();
    // Goes to the row and releases the area's locks; 0 or -1.
    virtual int UnlockRecord();
    // Reads row n (0 or the end-of-file number clear the buffer); 0 or -1.
    virtual int ReadRecord(long nRecNo);
    // As ReadRecord, only the fields of the mask (CDbTable::ReadFieldsMasked).
    int ReadRecordFields(long nRecNo, DWORD dwMask);
    // As ReadRecordFields, from row n's stored record as CDbTable::ReadRows hands it out; 0 or -1
    // (the mask holds a memo or logical field).
    int TakeStoredRow(long nRecNo, const char* pRecord, DWORD dwMask);
    // Locks row n, then reads it: what is read is what the row holds while this buffer keeps it
    // locked, so no other station's change can come between the read and a later write. 0; -1
    // when the row could not be locked (nothing read); -2 when it was locked but could not be read
    // (the lock stays with the buffer).
    int LockAndRead(long nRecNo);
    // Writes every value into the row (a new row without a record number); 0 or -1.
    virtual int WriteRecord();
    // A new buffer (the caller deletes it) with this one's values, record number 0 and no lock.
    virtual CDbRecordBuffer* Clone() const;
    // Keeps the values but forgets the row: the next write appends them as a new row. A lock the
    // buffer holds is released first.
    void ForgetRow();
    // "RECNO %ld".
    virtual void Describe(CString& strText) const;

    CDbTable* GetTable() const { return m_pTable; }
    long GetRecNo() const { return m_nRecNo; }
    BOOL IsModified() const { return m_bModified; }
    BOOL IsValid() const { return m_bValid; }
    BOOL IsNew() const { return m_bNew; }
    BOOL IsLocked() const { return m_bLocked; }
    CDbFieldMap& GetFieldMap() { return m_fields; }
    // Called with the record number after each row this buffer has read, before anything else
    // happens to it (tests act there as another station would); none by default, never copied.
    void SetReadHook(std::function<void(long)> hook) { m_readHook = std::move(hook); }

protected:
    int Read(long nRecNo, DWORD dwMask);

    CDbTable* m_pTable;
    long m_nRecNo;
    BOOL m_bModified;
    BOOL m_bValid;
    BOOL m_bNew;
    BOOL m_bLocked;
    CDbFieldMap m_fields;
    CString m_strNoField;
    std::function<void(long)> m_readHook;
};
