#include "CTerminTable.h"

#include <stdlib.h>
#include <string.h>
#include <time.h>

#include "CDbAreaLock.h"
#include "CMfxString.h"
#include "DbErrors.h"
#include "vlDB07.h"

namespace {

const int kVersion = kDbFieldMaskVersion | kDbFieldMaskReload | kDbFieldMaskRow; // 0x3800
const int kReload = kDbFieldMaskReload | kDbFieldMaskRow;                          // 0x3000
const int kRow = kDbFieldMaskRow;                                                    // 0x2000

// Record ids: ten decimal digits below 2^31.
long s_nFirstId = 1;
long s_nLastId = 2147483647L;
// How often a write replaces a new record id that another station stored meanwhile.
const int kIdRetries = 100;
// The change counter runs "0000" to "9998".
const int kFootprintModulus = 9999;

// Key part widths of the filter clauses.
const int kUserWidth = 20;
const int kAppIdWidth = 8;
const int kTextWidth = 30;
const int kPathWidth = 100;

CString Today() { return COleDateTime::GetCurrentTime().Format("%d.%m.%Y"); }

bool Given(LPCTSTR lpszText) { return lpszText != NULL && *lpszText != '\0'; }

bool Given(const COleDateTime& date) { return date.GetStatus() == COleDateTime::valid; }

// Appends a clause, joined by ".AND.".
void AddClause(CString& strExpression, const CString& strClause)
{
    if (!strExpression.IsEmpty())
        strExpression += ".AND.";
    strExpression += strClause;
}

// "SUBSTR(UPPER(INDEXKEY),<at>,<width>)<op>UPPER("<value>")"
CString KeyClause(int nAt, int nWidth, LPCTSTR lpszOperator, LPCTSTR lpszValue)
{
    CString strClause;
    strClause.Format("SUBSTR(UPPER(INDEXKEY),%d,%d)%sUPPER(\"%s\")", nAt, nWidth, lpszOperator, lpszValue);
    return strClause;
}

// A flag part of the key: "1" selects the set flag, any other given value the rows without it.
void AddFlagClause(CString& strExpression, int nAt, LPCTSTR lpszValue)
{
    if (!Given(lpszValue))
        return;
    const bool bSet = strcmp(lpszValue, "1") == 0;
    AddClause(strExpression, KeyClause(nAt, 1, bSet ? "=" : "#", "1"));
}

} // namespace

// ---- definitions ---------------------------------------------------------------------------------

const DbTableDef CTerminTable::s_tableDefinition = {"OX4.DBE", 0, "TERMIN", 4, CTerminTable::kFieldCount};

const DbFieldDef CTerminTable::s_fieldDefinitions[CTerminTable::kFieldCount] = {
    {"ERF_USER", "ERF_USER", 'C', 20, 0, kReload},
    {"ERF_DAT", "ERF_DAT", 'D', 8, 0, kReload},
    {"L_USER", "L_USER", 'C', 20, 0, kReload},
    {"L_DAT", "L_DAT", 'D', 8, 0, kReload},
    {"RECORDID", "RECORDID", 'N', 10, 0, kVersion},
    {"FOOTPRINT", "FOOTPRINT", 'N', 4, 0, kVersion},
    {"USER", "USER", 'C', 20, 0, kReload},
    {"NOTIZEN", "NOTIZEN", 'M', 10, 0, 0},
    {"BETREFF", "BETREFF", 'C', 140, 0, kRow},
    {"ORT", "ORT", 'C', 100, 0, kRow},
    {"WITH", "WITH", 'C', 100, 0, kRow},
    {"APP_ID", "APP_ID", 'C', 8, 0, kRow},
    {"DB_RECID", "DB_RECID", 'N', 10, 0, kRow},
    {"DB_PATH", "DB_PATH", 'C', 255, 0, kRow},
    {"APP_DAT1", "APP_DAT1", 'M', 10, 0, 0},
    {"APP_DAT2", "APP_DAT2", 'M', 10, 0, 0},
    {"KATEGORIE", "KATEGORIE", 'C', 30, 0, kRow},
    {"MOVERECID", "MOVERECID", 'N', 10, 0, kVersion},
    {"PRIVAT", "PRIVAT", 'C', 1, 0, kRow},
    {"SERIE", "SERIE", 'C', 1, 0, kReload},
    {"STATUS", "STATUS", 'C', 1, 0, kReload},
    {"TYPE", "TYPE", 'C', 2, 0, kReload},
    {"PRIO", "PRIO", 'C', 1, 0, kReload},
    {"REMIND", "REMIND", 'C', 1, 0, kReload},
    {"PERCDONE", "PERCDONE", 'N', 3, 0, kReload},
    {"TODOSTAT", "TODOSTAT", 'C', 1, 0, kReload},
    {"FLAGS", "FLAGS", 'C', 10, 0, kReload},
    {"D_FIRST_OC", "D_FIRST_OC", 'D', 8, 0, kReload},
    {"D_LAST_OC", "D_LAST_OC", 'D', 8, 0, kReload},
    {"D_NEXT_OC", "D_NEXT_OC", 'D', 8, 0, kReload},
    {"T_BEGIN", "T_BEGIN", 'N', 4, 0, kReload},
    {"T_END", "T_END", 'N', 4, 0, kReload},
    {"T_REMSPAN", "T_REMSPAN", 'N', 7, 0, kReload},
    {"TERMIN", "TERMIN", 'C', 180, 0, kReload},
};

const DbIndexDef CTerminTable::s_indexDefinitions[3] = {
    {1, "nt0", "RECORDID", 1, "N record id"},
    {2, "nt1",
     "UPPER(USER+DTOORD(D_FIRST_OC)+STR(T_BEGIN,4,0)+TYPE+PRIO+APP_ID+STR(DB_RECID,10,0)+TODOSTAT+STATUS+"
     "DTOORD(D_LAST_OC)+PRIVAT+SERIE+LEFT(BETREFF,30)+LEFT(WITH,30)+REMIND+RIGHT(RTRIM(DB_PATH),100))",
     0, "C user, first day, time and the filter parts"},
    {0, "", "", 0, ""},
};

// ---- construction and opening ------------------------------------------------------------------------

CTerminTable::CTerminTable(CDbSession* pSession, BOOL bKeepSecond)
    : CDbTable(pSession), m_bKeepSecond(bKeepSecond), m_pSecond(NULL)
{
    SetAliasesOff(TRUE);
}

CTerminTable::~CTerminTable()
{
    try {
        Close();
    } catch (CException* e) {
        e->Delete();
    }
}

const DbTableDef* CTerminTable::GetTableDefinition() { return &s_tableDefinition; }

const DbFieldDef* CTerminTable::GetFieldDefinitions() { return s_fieldDefinitions; }

const DbIndexDef* CTerminTable::GetIndexDefinitions() { return s_indexDefinitions; }

int CTerminTable::OpenMain(LPCTSTR lpszDirectory, int nOpenMode, int nAskMode, int nReserved)
{
    const int nResult = OpenChecked(lpszDirectory, kFileName, nOpenMode, nAskMode, nReserved);
    if (nResult != DB_OPEN_FAILED && m_bKeepSecond) {
        delete m_pSecond;
        m_pSecond = new CTerminTable(m_pSession, FALSE);
        m_pSecond->SetUserName(m_strUserName);
        m_pSecond->OpenChecked(lpszDirectory, kFileName, nOpenMode, nAskMode, nReserved);
    }
    return nResult;
}

void CTerminTable::Close()
{
    if (m_pSecond != NULL) {
        CTerminTable* pSecond = m_pSecond;
        m_pSecond = NULL;
        pSecond->Close();
        delete pSecond;
    }
    CDbTable::Close();
}

// ---- writing ---------------------------------------------------------------------------------------

void CTerminTable::SetRecordIdRange(long nFirst, long nLast)
{
    s_nFirstId = nFirst >= 0 ? nFirst : 0;
    s_nLastId = nLast >= s_nFirstId ? nLast : s_nFirstId;
}

CString CTerminTable::NewRecordId()
{
    srand((unsigned)(time(NULL) + GetTickCount()));
    long nId = (long)rand() * 65536L + rand();
    // A step of at least 1: a step of 0 from a taken id would never end.
    long nStep = rand() % 16 < 2 ? 1 : rand() % 16;
    if (nStep < 1)
        nStep = 1;
    const unsigned long nSpan = (unsigned long)(s_nLastId - s_nFirstId) + 1;
    if (nId < s_nFirstId || nId > s_nLastId)
        nId = s_nFirstId + (long)((unsigned long)nId % nSpan);

    CString strId;
    strId.Format("%010ld", nId);
    // Ids past the end of the range go on at its start. When the steps come back to the first id
    // without a free one (a step that shares a factor with the range's size), the search goes on
    // in steps of 1, so every id is tried and the search ends. A station that cannot look ids up
    // (no second instance) takes the first one, and the write checks it again.
    const long nStart = nId;
    for (unsigned long nTried = 0; nTried <= 2 * nSpan; ++nTried) {
        const int nFound = FindInOrder(kOrderRecordId, "RECORDID", strId);
        if (nFound == DB_FIND_NOT_FOUND || nFound < 0)
            break;
        nId = s_nFirstId + (long)(((unsigned long)(nId - s_nFirstId) + (unsigned long)nStep) % nSpan);
        if (nId == nStart && nStep != 1) {
            nStep = 1;
            nId = s_nFirstId + (long)(((unsigned long)(nId - s_nFirstId) + 1) % nSpan);
        }
        strId.Format("%010ld", nId);
    }
    return strId;
}

BOOL CTerminTable::WriteRecord(BOOL bNewRow, int nKeepLastUser)
{
    if (!IsOpen())
        return FALSE;
    if (nKeepLastUser == 0 && FieldValue("L_USER", TRUE).IsEmpty())
        SetFieldValue("L_USER", m_strUserName);
    if (FieldValue("L_DAT", TRUE).IsEmpty())
        SetFieldValue("L_DAT", Today());
    if (bNewRow || FieldValue("ERF_USER", TRUE).IsEmpty()) {
        if (FieldValue("ERF_DAT", TRUE).IsEmpty())
            SetFieldValue("ERF_DAT", Today());
        if (FieldValue("ERF_USER", TRUE).IsEmpty())
            SetFieldValue("ERF_USER", m_strUserName);
    }
    const BOOL bNewId = bNewRow || FieldValue("RECORDID", TRUE).IsEmpty();
    if (bNewId)
        SetFieldValue("RECORDID", NewRecordId());
    CString strFootprint = FieldValue("FOOTPRINT", TRUE);
    if (bNewRow || strFootprint.IsEmpty())
        strFootprint = "0000";
    else
        strFootprint.Format("%04d", (atoi(strFootprint) + 1) % kFootprintModulus);
    SetFieldValue("FOOTPRINT", strFootprint);

    BOOL bResult = CDbTable::WriteRecord(bNewRow, 0);
    // The record-id index is the table's only unique one: a write that finds its new id already
    // there (checked while the engine holds the table's header and index locks) lost a race with
    // another station, and the row gets another id.
    for (int nRetry = 0; bResult && bNewId && GetLastWriteError() == DBE_NOT_UNIQUE && nRetry < kIdRetries; ++nRetry) {
        const long nTaken = atol(FieldValue("RECORDID", TRUE));
        CString strId = NewRecordId();
        // Without a second instance the draw may repeat the taken id (the seed is the time).
        if (atol(strId) == nTaken)
            strId.Format("%010ld", nTaken >= s_nLastId ? s_nFirstId : nTaken + 1);
        SetFieldValue("RECORDID", strId);
        bResult = CDbTable::WriteRecord(bNewRow, 0);
    }
    return bResult;
}

// ---- searching -------------------------------------------------------------------------------------

int CTerminTable::FindInOrder(int nOrder, LPCTSTR lpszField, LPCTSTR lpszValue)
{
    if (m_pSecond == NULL || !m_pSecond->IsOpen())
        return -1;
    return m_pSecond->CDbTable::FindInOrder(nOrder, lpszField, lpszValue);
}

long CTerminTable::FindRecordById(LPCTSTR lpszRecordId)
{
    if (!IsOpen())
        return -1;
    CDbAreaLock lock(m_nArea);
    const unsigned nOrder = DbChecked(db_indexord());
    const unsigned nRecNo = DbChecked(db_recno());
    if (nOrder != (unsigned)kOrderRecordId)
        DbChecked(db_set_order_no_adjust(kOrderRecordId));
    SetFilter(NULL);
    long nFound = -1;
    if (Seek(lpszRecordId, "RECORDID"))
        nFound = (long)DbChecked(db_recno());
    DbChecked(db_set_order_no_adjust((int)nOrder));
    DbChecked(db_goto((long)nRecNo));
    return nFound;
}

// ---- filters ---------------------------------------------------------------------------------------

CString CTerminTable::FilterExpression(LPCTSTR lpszUser, LPCTSTR lpszType, LPCTSTR lpszPrioFrom, LPCTSTR lpszPrioTo,
                                       LPCTSTR lpszAppId, LPCTSTR lpszLinkedPath, long nLinkedRecord,
                                       const COleDateTime& firstFrom, const COleDateTime& firstTo,
                                       const COleDateTime& lastFrom, const COleDateTime& lastTo,
                                       LPCTSTR lpszTodoState, BOOL bNotTodoState, LPCTSTR lpszPrivate,
                                       LPCTSTR lpszStatus, LPCTSTR lpszSeries, BOOL bNotStatus, LPCTSTR lpszSubject,
                                       LPCTSTR lpszWith, LPCTSTR lpszRemind)
{
    CString strExpression;
    if (Given(lpszUser)) {
        CString strUser;
        strUser.Format("%-*.*s", kUserWidth, kUserWidth, lpszUser);
        AddClause(strExpression, KeyClause(1, kUserWidth, "=", strUser));
    }
    if (Given(firstFrom))
        AddClause(strExpression, KeyClause(21, 8, ">=", firstFrom.Format("%Y%m%d")));
    if (Given(firstTo))
        AddClause(strExpression, KeyClause(21, 8, "<=", firstTo.Format("%Y%m%d")));
    if (Given(lpszType)) {
        const int nWidth = strlen(lpszType) == 1 ? 1 : 2;
        AddClause(strExpression, KeyClause(33, nWidth, "=", CString(lpszType).Left(nWidth)));
    }
    if (Given(lpszPrioFrom))
        AddClause(strExpression, KeyClause(35, 1, ">=", CString(lpszPrioFrom).Left(1)));
    if (Given(lpszPrioTo))
        AddClause(strExpression, KeyClause(35, 1, "<=", CString(lpszPrioTo).Left(1)));
    if (Given(lpszAppId))
        AddClause(strExpression, KeyClause(36, kAppIdWidth, "=", CString(lpszAppId).Left(kAppIdWidth)));
    if (nLinkedRecord != 0) {
        CString strClause;
        strClause.Format("SUBSTR(UPPER(INDEXKEY),44,10)=UPPER(STR(%ld,10,0))", nLinkedRecord);
        AddClause(strExpression, strClause);
    }
    if (Given(lpszTodoState))
        AddClause(strExpression, KeyClause(54, 1, bNotTodoState ? "#" : "=", CString(lpszTodoState).Left(1)));
    if (Given(lpszStatus))
        AddClause(strExpression, KeyClause(55, 1, bNotStatus ? "#" : "=", CString(lpszStatus).Left(1)));
    if (Given(lastFrom))
        AddClause(strExpression, KeyClause(56, 8, ">=", lastFrom.Format("%Y%m%d")));
    if (Given(lastTo))
        AddClause(strExpression, KeyClause(56, 8, "<=", lastTo.Format("%Y%m%d")));
    AddFlagClause(strExpression, 64, lpszPrivate);
    AddFlagClause(strExpression, 65, lpszSeries);
    if (lpszSubject != NULL)
        AddClause(strExpression, KeyClause(66, kTextWidth, "=", CString(lpszSubject).Left(kTextWidth)));
    if (lpszWith != NULL)
        AddClause(strExpression, KeyClause(96, kTextWidth, "=", CString(lpszWith).Left(kTextWidth)));
    AddFlagClause(strExpression, 126, lpszRemind);
    if (Given(lpszLinkedPath))
        AddClause(strExpression, KeyClause(127, kPathWidth, "=", CString(lpszLinkedPath).Right(kPathWidth)));
    return strExpression;
}

BOOL CTerminTable::BuildFilter(LPCTSTR lpszUser, LPCTSTR lpszType, LPCTSTR lpszPrioFrom, LPCTSTR lpszPrioTo,
                               LPCTSTR lpszAppId, LPCTSTR lpszLinkedPath, long nLinkedRecord,
                               const COleDateTime& firstFrom, const COleDateTime& firstTo,
                               const COleDateTime& lastFrom, const COleDateTime& lastTo, LPCTSTR lpszTodoState,
                               BOOL bNotTodoState, LPCTSTR lpszPrivate, LPCTSTR lpszStatus, LPCTSTR lpszSeries,
                               BOOL bNotStatus, LPCTSTR lpszSubject, LPCTSTR lpszWith, LPCTSTR lpszRemind)
{
    if (!IsOpen())
        return FALSE;
    CDbAreaLock lock(m_nArea);
    SetPositionMoved();
    if (!DbChecked(db_set_order(kOrderKey)))
        return FALSE;
    return SetFilter(FilterExpression(lpszUser, lpszType, lpszPrioFrom, lpszPrioTo, lpszAppId, lpszLinkedPath,
                                      nLinkedRecord, firstFrom, firstTo, lastFrom, lastTo, lpszTodoState, bNotTodoState,
                                      lpszPrivate, lpszStatus, lpszSeries, bNotStatus, lpszSubject, lpszWith, lpszRemind));
}
