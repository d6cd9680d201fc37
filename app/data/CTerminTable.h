// The schedule table "OX4.DBE": every appointment, series and to-do of every user is one row. The
// class supplies the table's definitions (34 fields, the record-id index "nt0" and the composite
// index "nt1"), stamps each written row (creator, changer, dates, a random ten-digit record id, a
// change counter), finds rows by record id through a second open instance of the same file, so
// that the current row, order and filter of this one stay as they are, and builds the filter
// expressions of the views over the composite key.
//
// The composite key of order 2 (INDEXKEY in filter expressions), 1-based positions:
//   1-20 USER, 21-28 D_FIRST_OC (CCYYMMDD), 29-32 T_BEGIN (right-aligned), 33-34 TYPE, 35 PRIO,
//   36-43 APP_ID, 44-53 DB_RECID (right-aligned), 54 TODOSTAT, 55 STATUS, 56-63 D_LAST_OC,
//   64 PRIVAT, 65 SERIE, 66-95 BETREFF (first 30), 96-125 WITH (first 30), 126 REMIND,
//   127 on: the last 100 characters of the trimmed DB_PATH.
#pragma once

#include <afxdisp.h>

#include "CDbTable.h"

class CTerminTable : public CDbTable {
public:
    // The file and the number of fields of the table.
    static constexpr const char* kFileName = "OX4.DBE";
    static constexpr int kFieldCount = 34;
    // Index orders: 1 RECORDID (unique), 2 the composite key.
    static constexpr int kOrderRecordId = 1;
    static constexpr int kOrderKey = 2;

    // The definitions of the table (also for readers of the table that hold no instance).
    static const DbTableDef s_tableDefinition;
    static const DbFieldDef s_fieldDefinitions[kFieldCount];
    static const DbIndexDef s_indexDefinitions[3];

    // bKeepSecond: OpenMain opens a second instance for look-ups by record id.
    CTerminTable(CDbSession* pSession, BOOL bKeepSecond);
    virtual ~CTerminTable();

    const DbTableDef* GetTableDefinition() override;
    const DbFieldDef* GetFieldDefinitions() override;
    const DbIndexDef* GetIndexDefinitions() override;

    // The user name of the stamps (the current user).
    void SetUserName(LPCTSTR lpszUser) { m_strUserName = lpszUser; }
    const CString& GetUserName() const { return m_strUserName; }

    // OpenChecked of "OX4.DBE" in the directory; when it succeeded and the instance keeps a
    // second one, that one is opened the same way (its result is not looked at). OpenChecked's
    // answer.
    virtual int OpenMain(LPCTSTR lpszDirectory, int nOpenMode, int nAskMode, int nReserved = 1);
    // Closes and destroys the second instance, then the table.
    void Close() override;
    CTerminTable* GetSecondInstance() const { return m_pSecond; }

    // The stamping write of the cached values: changer, change date, creator and creation date
    // when empty (the changer not with bKeepLastUser), a new record id for a new row or one
    // without, the change counter ("0000" for a new row, else the next of "0000".."9998"). A new
    // record id that another station stored meanwhile (the unique index reports it while the
    // row is written under the table's header lock) is replaced and the row written again.
    BOOL WriteRecord(BOOL bNewRow = FALSE, int nKeepLastUser = 0) override;
    // The search of CDbTable::FindInOrder made on the second instance; -1 without one.
    int FindInOrder(int nOrder, LPCTSTR lpszField, LPCTSTR lpszValue) override;
    // The record number of the row with the record id, or -1. Order 1 is chosen without
    // adjusting, the filter is removed (for good); order and row are restored afterwards.
    virtual long FindRecordById(LPCTSTR lpszRecordId);
    // A record id ("%010d") that the table does not hold (found-deleted ids count as taken).
    CString NewRecordId();

    // Sets the filter of the twenty values (each clause only when its value is given: a
    // non-empty text, a valid date, a non-zero number, a non-null text) over the composite key,
    // with order 2 controlling. 0 when order 2 cannot be set, else SetFilter's result.
    BOOL BuildFilter(LPCTSTR lpszUser, LPCTSTR lpszType, LPCTSTR lpszPrioFrom, LPCTSTR lpszPrioTo, LPCTSTR lpszAppId,
                     LPCTSTR lpszLinkedPath, long nLinkedRecord, const COleDateTime& firstFrom,
                     const COleDateTime& firstTo, const COleDateTime& lastFrom, const COleDateTime& lastTo,
                     LPCTSTR lpszTodoState, BOOL bNotTodoState, LPCTSTR lpszPrivate, LPCTSTR lpszStatus,
                     LPCTSTR lpszSeries, BOOL bNotStatus, LPCTSTR lpszSubject, LPCTSTR lpszWith, LPCTSTR lpszRemind);
    // The expression BuildFilter sets for the values (empty: no clause).
    static CString FilterExpression(LPCTSTR lpszUser, LPCTSTR lpszType, LPCTSTR lpszPrioFrom, LPCTSTR lpszPrioTo,
                                    LPCTSTR lpszAppId, LPCTSTR lpszLinkedPath, long nLinkedRecord,
                                    const COleDateTime& firstFrom, const COleDateTime& firstTo,
                                    const COleDateTime& lastFrom, const COleDateTime& lastTo, LPCTSTR lpszTodoState,
                                    BOOL bNotTodoState, LPCTSTR lpszPrivate, LPCTSTR lpszStatus, LPCTSTR lpszSeries,
                                    BOOL bNotStatus, LPCTSTR lpszSubject, LPCTSTR lpszWith, LPCTSTR lpszRemind);

    // Test seam: record ids are drawn from nFirst..nLast (1..2,147,483,647 normally), so that
    // tests can make stations meet on the same ids.
    static void SetRecordIdRange(long nFirst, long nLast);

private:
    CString m_strUserName;
    BOOL m_bKeepSecond;
    CTerminTable* m_pSecond;
};
