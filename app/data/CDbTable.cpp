#include "CDbTable.h"

#include <stdio.h>
#include <string.h>

#include <memory>
#include <vector>

#include "CDbAreaLock.h"
#include "CDbEngineLock.h"
#include "CDbProgressDialog.h"
#include "CDbSession.h"
#include "CMfxString.h"
#include "CMfxWaitCursor.h"
#include "CTableErrorReporter.h"
#include "DataStrings.h"
#include "DbErrors.h"
#include "DbLocks.h"
#include "MfxStrings.h"
#include "MfxText.h"
#include "vlDB07.h"

namespace {

// Buffers of field contents: at least the 255 bytes of the engine's longest ordinary field, more
// for longer character fields.
const unsigned kMinContentsBuffer = 255;
// db_get_fieldname's buffer (10 characters and the NUL).
const unsigned kFieldNameBuffer = 11;
// The marks: 65,536 bytes, one bit per row.
const DWORD kMarkBytes = 65536;
const unsigned kMaxMarkedRows = kMarkBytes * 8;
// db_ctod's result: DD.MM.CCYY and the NUL.
const unsigned kDateBuffer = 11;
// How an empty date looks in the engine's date format 3.
const char kEmptyDate[] = "  .  .    ";
// db_indexkey's buffer.
const unsigned kIndexKeyBuffer = 255;
// A key expression beginning with this upper-cases its keys: seek values are upper-cased too.
const char kUpperPrefix[] = "UPP";

CString ToOem(const CString& strAnsi)
{
    CString strOem = strAnsi;
    strOem.AnsiToOem();
    return strOem;
}

// The number of index definitions before the entry with order 0.
int CountIndexDefinitions(const DbIndexDef* pDefinitions)
{
    int nCount = 0;
    while (pDefinitions != NULL && pDefinitions[nCount].nOrder != 0)
        ++nCount;
    return nCount;
}

} // namespace

CDbTable::CDbTable(CDbSession* pSession)
    : m_nOpenMode(0), m_nOpenOptions(0), m_nFieldCount(0), m_pSession(pSession), m_nArea(0), m_bPositionMoved(TRUE),
      m_bRowComplete(FALSE), m_bRowDirty(FALSE), m_bMemoDirty(FALSE), m_bAliasesDirty(FALSE), m_bFilterActive(FALSE),
      m_bEmpty(TRUE), m_nDeletedSetting(1), m_hMarks(NULL), m_pMarks(NULL), m_nMarked(0), m_nLastFilterError(0),
      m_bAliasesOff(FALSE), m_nLastWriteError(0)
{
    SetDeleted(1);
    if (m_pSession != NULL)
        m_pSession->SetErrorCallback(NULL);
}

CDbTable::~CDbTable()
{
    try {
        Close();
    } catch (CException* e) {
        e->Delete();
    }
}

// ---- opening and closing -------------------------------------------------------------------------

BOOL CDbTable::Open(LPCTSTR lpszPath, LPCTSTR lpszAlias, int nOpenMode, UINT nOpenOptions)
{
    m_bRowDirty = m_bMemoDirty = m_bRowComplete = FALSE;
    m_nLastFilterError = 0;

    // The area is tested and used under one hold of its lock, so no other thread can take it in
    // between. Each area's lock is left before the next one is entered: a thread that holds the
    // engine lock must not wait for an area lock.
    int nArea = m_nArea;
    std::unique_ptr<CDbAreaLock> lock;
    if (nArea == 0) {
        for (int n = kDbFirstArea; n <= kDbLastArea && nArea == 0; ++n) {
            lock.reset();
            lock.reset(new CDbAreaLock(n));
            if (!DbChecked(db_used()))
                nArea = n;
        }
        if (nArea == 0) {
            lock.reset();
            CTableErrorReporter reporter(this);
            ReportError(&reporter, IDS_DB_NO_FREE_AREA, 1, lpszAlias);
            return FALSE;
        }
    } else
        lock.reset(new CDbAreaLock(nArea));

    m_nArea = 0;
    if (!DbChecked(db_use(lpszPath, (unsigned)nOpenMode, lpszAlias, nOpenOptions)))
        return FALSE;
    m_nArea = nArea;
    OnOpened();
    m_strPath = lpszPath;
    if (lpszAlias != NULL)
        m_strAlias = lpszAlias;
    m_nOpenMode = nOpenMode;
    m_nOpenOptions = nOpenOptions;
    m_nFieldCount = (int)DbChecked(db_fcount());
    BuildFieldMap(m_fields);
    MeasureStoredFields();
    RefreshEmptyFlag();
    return TRUE;
}

void CDbTable::Close()
{
    if (m_bAliasesDirty)
        WriteAliases();
    if (m_nArea != 0) {
        m_fields.RemoveAll();
        CDbAreaLock lock(m_nArea);
        FreeMarks();
        m_nArea = 0;
        DbChecked(db_close(3));
    }
    m_nArea = 0;
    m_bHoldsRecordLock = FALSE;
    m_bPositionMoved = TRUE;
    m_bRowDirty = m_bMemoDirty = m_bFilterActive = m_bAliasesDirty = FALSE;
    m_bRowComplete = FALSE;
    m_nMarked = 0;
    ClearDefinition();
}

void CDbTable::ClearDefinition()
{
    m_strPath.Empty();
    m_strAlias.Empty();
    m_nOpenMode = 0;
    m_nOpenOptions = 0;
    m_nFieldCount = 0;
}

CString CDbTable::GetDatabasePath()
{
    if (!IsOpen())
        return CString();
    CDbAreaLock lock(m_nArea);
    char szPath[1024] = "";
    DbChecked(db_get_databasepath((unsigned)m_nArea, szPath, sizeof szPath));
    return szPath;
}

void CDbTable::OnOpened() {}

void CDbTable::DescribePosition(CString& strText)
{
    CMfxString strDescription;
    strDescription.FormatId(IDS_DB_RECORD_NUMBER, (long)GetRecNo());
    strText = strDescription;
}

// ---- row values ------------------------------------------------------------------------------

void CDbTable::BuildFieldMap(CDbFieldMap& map)
{
    map.RemoveAll();
    if (!IsOpen())
        return;
    CDbAreaLock lock(m_nArea);
    const unsigned nCount = DbChecked(db_fcount());
    for (unsigned n = 1; n <= nCount; ++n) {
        char szName[kFieldNameBuffer + 4] = "";
        DbChecked(db_get_fieldname(n, szName, kFieldNameBuffer));
        CDbField field;
        field.m_strName = szName;
        field.m_strAlias = m_bAliasesOff ? CString(szName) : ReadAlias(szName);
        CString strType((TCHAR)DbChecked(db_get_type(szName)), 1);
        strType.MakeUpper();
        field.m_chType = strType[0];
        field.m_nDecimals = DbChecked(db_get_decimals(szName));
        field.m_nLength = (int)DbChecked(db_get_length(szName));
        field.m_nDisplayWidth = CDbField::DisplayWidth(field.m_chType, field.m_nLength);
        map.Add(field);
    }
}

void CDbTable::ConvertStoredValue(const CDbField& field, char* pszStored, CString& rValue)
{
    switch (field.m_chType) {
    case 'D': {
        char szDate[kMinContentsBuffer] = "";
        DbChecked(db_dtoc(pszStored, szDate, sizeof szDate));
        rValue = strcmp(szDate, kEmptyDate) == 0 ? "" : szDate;
        break;
    }
    case 'N':
        DbChecked(db_atrim(pszStored));
        MfxDecimalToLocal(pszStored[0] != '\0' ? pszStored : "0", rValue);
        break;
    default:
        DbChecked(db_rtrim(pszStored));
        rValue = pszStored;
        break;
    }
    rValue.OemToAnsi();
}

BOOL CDbTable::ReadEngineValue(CDbField& field, CString& rValue)
{
    if (field.m_chType == 'M') {
        rValue.Empty();
        BOOL bResult = TRUE;
        if (DbChecked(db_memo_exist(field.m_strName))) {
            HGLOBAL hText = DbChecked(db_memo_read(field.m_strName, NULL));
            bResult = hText != NULL;
            if (hText != NULL) {
                if (LPCSTR pText = (LPCSTR)GlobalLock(hText)) {
                    rValue = pText;
                    GlobalUnlock(hText);
                }
                GlobalFree(hText);
            }
        }
        field.m_nLength = rValue.GetLength() + 1;
        rValue.OemToAnsi();
        return bResult;
    }
    const unsigned nSize = field.m_nLength + 1 > (int)kMinContentsBuffer ? field.m_nLength + 1 : kMinContentsBuffer;
    std::vector<char> buffer(nSize + 1, '\0');
    const BOOL bResult = DbChecked(db_get_contents(field.m_strName, buffer.data(), nSize));
    ConvertStoredValue(field, buffer.data(), rValue);
    return bResult;
}

BOOL CDbTable::ReadMaskedFromRecord(WORD wMask)
{
    if ((int)m_storedOffsets.size() != m_fields.GetCount())
        return FALSE;
    CDbAreaLock lock(m_nArea);
    const unsigned nRecordSize = DbChecked(db_recsize());
    if (nRecordSize != m_nStoredRecordSize)
        return FALSE;
    std::vector<char> record(nRecordSize + 1, '\0');
    if (!DbChecked(db_get_record(record.data(), nRecordSize)))
        return FALSE;
    return CutStoredFields(record.data(), wMask, m_fields);
}

BOOL CDbTable::CutStoredFields(const char* pRecord, WORD wMask, CDbFieldMap& fields)
{
    if ((int)m_storedOffsets.size() != fields.GetCount())
        return FALSE;
    // Only fields whose stored bytes are their contents (not logical, not memo).
    for (int i = 0; i < fields.GetCount(); ++i) {
        const CDbField& field = fields[i];
        if ((field.m_wFlags & wMask) != 0 && field.m_chType != 'C' && field.m_chType != 'N' && field.m_chType != 'D')
            return FALSE;
    }
    std::vector<char> stored;
    for (int i = 0; i < fields.GetCount(); ++i) {
        CDbField& field = fields[i];
        if ((field.m_wFlags & wMask) == 0)
            continue;
        // The bytes as db_get_contents hands them out: the field's bytes up to the first NUL.
        const int nLength = m_storedOffsets[i].second;
        stored.assign(pRecord + m_storedOffsets[i].first, pRecord + m_storedOffsets[i].first + nLength);
        stored.resize(nLength < (int)kMinContentsBuffer ? kMinContentsBuffer : nLength + 1, '\0');
        ConvertStoredValue(field, stored.data(), field.m_strValue);
    }
    return TRUE;
}

BOOL CDbTable::GetStoredField(LPCTSTR lpszName, unsigned& nOffset, unsigned& nLength) const
{
    for (int i = 0; i < m_fields.GetCount() && i < (int)m_storedOffsets.size(); ++i)
        if (m_fields[i].m_strName.CompareNoCase(lpszName) == 0) {
            nOffset = m_storedOffsets[i].first;
            nLength = (unsigned)m_storedOffsets[i].second;
            return TRUE;
        }
    return FALSE;
}

void CDbTable::MeasureStoredFields()
{
    // The stored record: the deleted flag, then the fields one after the other.
    m_storedOffsets.clear();
    unsigned nOffset = 1;
    for (int i = 0; i < m_fields.GetCount(); ++i) {
        m_storedOffsets.emplace_back(nOffset, m_fields[i].m_nLength);
        nOffset += (unsigned)m_fields[i].m_nLength;
    }
    m_nStoredRecordSize = nOffset;
}

BOOL CDbTable::ReadField(LPCTSTR lpszName, CString& rValue, BOOL bFromCache)
{
    CDbField* pField = m_fields.Lookup(lpszName);
    if (pField == NULL || !IsOpen()) {
        rValue.Empty();
        return FALSE;
    }
    if (bFromCache) {
        rValue = pField->m_strValue;
        return TRUE;
    }
    CString strValue;
    BOOL bResult;
    {
        CDbAreaLock lock(m_nArea);
        bResult = ReadEngineValue(*pField, strValue);
    }
    pField->m_strValue = strValue;
    rValue = strValue;
    return bResult;
}

BOOL CDbTable::ReadAllFields() { return ReadFieldsMasked(0); }

BOOL CDbTable::ReadFieldsMasked(DWORD dwMask)
{
    const WORD wMask = LOWORD(dwMask);
    // A part of the row: taken from the stored record in one engine call where the fields allow.
    if (wMask != 0 && IsOpen() && ReadMaskedFromRecord(wMask))
        return TRUE;
    CString strValue;
    for (int i = 0; i < m_fields.GetCount(); ++i) {
        if (wMask != 0 && (m_fields[i].m_wFlags & wMask) == 0)
            continue;
        if (!ReadField(m_fields[i].m_strName, strValue))
            return FALSE;
    }
    if (wMask == 0)
        m_bRowComplete = TRUE;
    return TRUE;
}

CString& CDbTable::FieldValue(LPCTSTR lpszName, BOOL bCachedOnly)
{
    CDbField* pField = m_fields.Lookup(lpszName);
    if (pField == NULL) {
        m_strNoField.Empty();
        return m_strNoField;
    }
    if (!bCachedOnly) {
        CString strValue;
        ReadField(lpszName, strValue);
    }
    return pField->m_strValue;
}

BOOL CDbTable::SetFieldValue(LPCTSTR lpszName, LPCTSTR lpszText)
{
    CDbField* pField = m_fields.Lookup(lpszName);
    if (pField == NULL)
        return FALSE;
    pField->m_strValue = lpszText;
    if (pField->m_chType == 'M') {
        pField->m_nLength = pField->m_strValue.GetLength();
        m_bMemoDirty = TRUE;
    } else {
        if (pField->m_chType != 'C') {
            pField->m_strValue.TrimLeft();
            pField->m_strValue.TrimRight();
        }
        m_bRowDirty = TRUE;
    }
    return TRUE;
}

TCHAR CDbTable::GetFieldChar(LPCTSTR lpszName, int nPos, BOOL bFromCache)
{
    CString strValue;
    if (!ReadField(lpszName, strValue, bFromCache) || nPos < 1 || nPos > strValue.GetLength())
        return 0;
    return strValue[nPos - 1];
}

BOOL CDbTable::SetFieldChars(LPCTSTR lpszName, int nPos, TCHAR ch)
{
    CDbField* pField = m_fields.Lookup(lpszName);
    if (pField == NULL || nPos < 1)
        return FALSE;
    CString& rValue = pField->m_strValue;
    if (rValue.GetLength() < nPos)
        rValue += CString('0', nPos - rValue.GetLength());
    rValue.SetAt(nPos - 1, ch);
    return TRUE;
}

int CDbTable::GetDisplayWidth(LPCTSTR lpszName)
{
    if (!IsOpen())
        return 0;
    CDbAreaLock lock(m_nArea);
    int nLength = (int)DbChecked(db_get_length(lpszName));
    CString strType((TCHAR)DbChecked(db_get_type(lpszName)), 1);
    strType.MakeUpper();
    return CDbField::DisplayWidth(strType[0], nLength);
}

// ---- writing ---------------------------------------------------------------------------------

BOOL CDbTable::WriteDate(const CDbField& field, CString strText)
{
    // Day, month and year in any separated form; missing parts are the first day, the current
    // month and year; two-digit years below 80 are 20xx, from 80 on 19xx.
    strText.TrimLeft();
    strText.TrimRight();
    if (!strText.IsEmpty()) {
        SYSTEMTIME now;
        GetLocalTime(&now);
        int nDay = 1, nMonth = now.wMonth, nYear = now.wYear;
        int nRead[3];
        int nFields = sscanf(strText, "%2d%*c%2d%*c%d", &nRead[0], &nRead[1], &nRead[2]);
        if (nFields >= 1)
            nDay = nRead[0];
        if (nFields >= 2)
            nMonth = nRead[1];
        if (nFields >= 3)
            nYear = nRead[2];
        if (nYear < 80)
            nYear += 2000;
        else if (nYear < 100)
            nYear += 1900;
        strText.Format("%02d.%02d.%04d", nDay, nMonth, nYear);
    }
    char szDate[kDateBuffer] = "";
    BOOL bResult = DbChecked(db_ctod(strText, szDate, sizeof szDate));
    DbChecked(db_replace(field.m_strName, szDate));
    return bResult;
}

BOOL CDbTable::WriteRecord(BOOL bRefreshEmpty, int nReserved)
{
    UNUSED_ALWAYS(nReserved);
    if (!IsOpen())
        return FALSE;
    CDbAreaLock lock(m_nArea);
    m_nLastWriteError = 0;
    if (!m_bRowDirty && !m_bMemoDirty)
        return TRUE;
    DbClearThreadError();
    BOOL bResult = TRUE;
    for (int i = 0; i < m_fields.GetCount() && bResult; ++i) {
        const CDbField& field = m_fields[i];
        // The engine gets the value in OEM; the cache keeps its ANSI text.
        CString strOem = ToOem(field.m_strValue);
        switch (field.m_chType) {
        case 'D':
            if (m_bRowDirty)
                bResult = WriteDate(field, strOem);
            break;
        case 'M':
            if (m_bMemoDirty)
                bResult = DbChecked(db_memo_write(field.m_strName, strOem));
            break;
        case 'N':
            if (m_bRowDirty) {
                CString strNumber;
                MfxDecimalFromLocal(strOem, strNumber);
                bResult = DbChecked(db_replace(field.m_strName, strNumber));
            }
            break;
        default:
            if (m_bRowDirty)
                bResult = DbChecked(db_replace(field.m_strName, strOem));
            break;
        }
    }
    if (bResult)
        bResult = DbChecked(db_write());
    const unsigned nError = DbThreadError();
    m_nLastWriteError = nError;
    m_bRowDirty = m_bMemoDirty = FALSE;
    if (nError == DBE_NOT_UNIQUE)
        bResult = TRUE;
    if (bRefreshEmpty)
        RefreshEmptyFlag();
    return bResult;
}

void CDbTable::ReadAfterLock()
{
    char probe[2];
    DbChecked(db_get_contents(DB_FIELDREF(1), probe, sizeof probe));
}

BOOL CDbTable::DeleteOrRecall(BOOL bReposition, BOOL bDelete)
{
    if (!IsOpen())
        return FALSE;
    BOOL bLocked;
    {
        CDbAreaLock lock(m_nArea);
        bLocked = DbChecked(db_rlock(0));
        if (bLocked) {
            m_bHoldsRecordLock = TRUE;
            ReadAfterLock();
        }
    }
    if (!bLocked) {
        CTableErrorReporter reporter(this);
        ReportError(&reporter, IDS_DB_RECORD_IN_USE, 0, NULL);
        return FALSE;
    }
    BOOL bResult;
    {
        CDbAreaLock lock(m_nArea);
        m_bRowDirty = TRUE;
        bResult = bDelete ? DbChecked(db_delete()) : DbChecked(db_recall());
    }
    if (bResult) {
        CDbAreaLock lock(m_nArea);
        bResult = DbChecked(db_write());
    }
    {
        CDbAreaLock lock(m_nArea);
        if (DbChecked(db_unlock(0)))
            m_bHoldsRecordLock = FALSE;
    }
    if (bReposition) {
        RefreshEmptyFlag();
        {
            CDbAreaLock lock(m_nArea);
            DbChecked(db_skip(1));
        }
        Skip(-1);
    }
    return bResult;
}

BOOL CDbTable::DeleteRecord(BOOL bReposition) { return DeleteOrRecall(bReposition, TRUE); }

BOOL CDbTable::RecallRecord(BOOL bReposition) { return DeleteOrRecall(bReposition, FALSE); }

BOOL CDbTable::AppendBlank()
{
    if (!IsOpen())
        return FALSE;
    CDbAreaLock lock(m_nArea);
    SetPositionMoved();
    DbChecked(db_blank());
    // A row that was not appended is not locked or reported as new.
    if (!DbChecked(db_insert()))
        return FALSE;
    if (!DbChecked(db_rlock(0)))
        return FALSE;
    m_bHoldsRecordLock = TRUE;
    ReadAfterLock();
    m_fields.EmptyValues();
    return TRUE;
}

BOOL CDbTable::LockRecord(int nWait)
{
    if (!IsOpen())
        return FALSE;
    CDbAreaLock lock(m_nArea);
    BOOL bLocked = DbChecked(db_rlock(nWait));
    if (bLocked) {
        m_bHoldsRecordLock = TRUE;
        ReadAfterLock();
    }
    return bLocked;
}

BOOL CDbTable::UnlockRecord(int nAll)
{
    if (!IsOpen())
        return FALSE;
    CDbAreaLock lock(m_nArea);
    const BOOL bUnlocked = DbChecked(db_unlock(nAll));
    if (bUnlocked)
        m_bHoldsRecordLock = FALSE;
    return bUnlocked;
}

BOOL CDbTable::MarkRecordLocked()
{
    if (!IsOpen())
        return FALSE;
    CDbAreaLock lock(m_nArea);
    return DbChecked(db_fake_rlock());
}

void CDbTable::ReleaseReadMark()
{
    if (!IsOpen())
        return;
    CDbAreaLock lock(m_nArea);
    if (!m_bHoldsRecordLock)
        DbChecked(db_unlock(0));
}

// ---- navigation --------------------------------------------------------------------------------

void CDbTable::SetPositionMoved()
{
    m_bPositionMoved = TRUE;
    m_bRowComplete = FALSE;
}

long CDbTable::GoTo(long nRecNo)
{
    if (!IsOpen())
        return 0;
    CDbAreaLock lock(m_nArea);
    SetPositionMoved();
    return DbChecked(db_goto(nRecNo));
}

long CDbTable::ReadRows(long nMax, std::vector<long>& recnos, std::vector<char>& rows)
{
    recnos.clear();
    if (!IsOpen() || nMax <= 0 || m_nStoredRecordSize == 0)
        return -1;
    CDbAreaLock lock(m_nArea);
    SetPositionMoved();
    if (DbChecked(db_recsize()) != m_nStoredRecordSize)
        return -1;
    recnos.resize((size_t)nMax);
    rows.resize((size_t)nMax * m_nStoredRecordSize);
    const long nRead = DbChecked(db_read_rows(nMax, recnos.data(), rows.data(), m_nStoredRecordSize));
    recnos.resize(nRead > 0 ? (size_t)nRead : 0);
    return nRead;
}

long CDbTable::Skip(long nCount)
{
    if (!IsOpen())
        return 0;
    CDbAreaLock lock(m_nArea);
    SetPositionMoved();
    return DbChecked(db_skip(nCount));
}

BOOL CDbTable::IsEof()
{
    if (!IsOpen())
        return TRUE;
    CDbAreaLock lock(m_nArea);
    return DbChecked(db_eof());
}

unsigned CDbTable::GetRecNo()
{
    if (!IsOpen())
        return 0;
    CDbAreaLock lock(m_nArea);
    return DbChecked(db_recno());
}

unsigned CDbTable::GetFileTime()
{
    if (!IsOpen())
        return 0;
    CDbAreaLock lock(m_nArea);
    return DbChecked(db_filetime());
}

unsigned CDbTable::GetRecCount()
{
    if (!IsOpen())
        return 0;
    CDbAreaLock lock(m_nArea);
    return DbChecked(db_reccount());
}

void CDbTable::RefreshEmptyFlag()
{
    if (!IsOpen())
        return;
    CDbAreaLock lock(m_nArea);
    const unsigned nPrevious = DbChecked(db_recno());
    DbChecked(db_goto(0));
    m_bEmpty = DbChecked(db_recno()) == DB_EOF;
    DbChecked(db_goto((long)nPrevious));
}

// ---- searching and the index order ---------------------------------------------------------------

BOOL CDbTable::SeekKey(LPCTSTR lpszValue, LPCTSTR lpszField, BOOL bNext)
{
    CDbField* pField = m_fields.Lookup(lpszField);
    if (pField == NULL || !IsOpen())
        return FALSE;
    CDbAreaLock lock(m_nArea);
    CMfxString strKey;
    strKey.Format(pField->m_chType == 'N' ? "% *s" : "%- *s", pField->m_nLength, lpszValue != NULL ? lpszValue : "");
    strKey.AnsiToOem();
    char szExpression[kIndexKeyBuffer] = "";
    DbChecked(db_indexkey(DbChecked(db_indexord()), szExpression, sizeof szExpression));
    if (strncmp(szExpression, kUpperPrefix, strlen(kUpperPrefix)) == 0) {
        DbChecked(db_upper(strKey.GetBuffer(0)));
        strKey.ReleaseBuffer();
    }
    SetPositionMoved();
    return bNext ? DbChecked(db_seek_next(strKey)) : DbChecked(db_seek(strKey));
}

BOOL CDbTable::Seek(LPCTSTR lpszValue, LPCTSTR lpszField) { return SeekKey(lpszValue, lpszField, FALSE); }

BOOL CDbTable::SeekNext(LPCTSTR lpszValue, LPCTSTR lpszField) { return SeekKey(lpszValue, lpszField, TRUE); }

int CDbTable::FindInOrder(int nOrder, LPCTSTR lpszField, LPCTSTR lpszValue)
{
    if (!IsOpen())
        return DB_FIND_NOT_FOUND;
    CDbAreaLock lock(m_nArea);
    db_set_deleted(0);
    const unsigned nPreviousOrder = db_indexord();
    int nResult = DB_FIND_NOT_FOUND;
    try {
        DbThrowPendingError();
        const unsigned nRecNo = DbChecked(db_recno());
        SetPositionMoved();
        // An order that cannot be chosen (its slot not in use) finds nothing: a seek in the
        // order that stays controlling would compare the value with another index's keys.
        if (DbChecked(db_set_order(nOrder)) && Seek(lpszValue, lpszField))
            nResult = DbChecked(db_deleted()) ? DB_FIND_DELETED : DB_FIND_FOUND;
        else
            DbChecked(db_goto((long)nRecNo));
    } catch (CException*) {
        // Rows marked deleted are hidden again for the whole job, and the table keeps its order.
        db_set_deleted(1);
        db_set_order((int)nPreviousOrder);
        DbClearPendingError();
        throw;
    }
    DbChecked(db_set_deleted(1));
    DbChecked(db_set_order((int)nPreviousOrder));
    return nResult;
}

BOOL CDbTable::SetOrder(int nOrder)
{
    if (!IsOpen())
        return FALSE;
    CDbAreaLock lock(m_nArea);
    return DbChecked(db_set_order(nOrder));
}

BOOL CDbTable::SetOrderNoAdjust(int nOrder)
{
    if (!IsOpen())
        return FALSE;
    CDbAreaLock lock(m_nArea);
    return DbChecked(db_set_order_no_adjust(nOrder));
}

unsigned CDbTable::GetOrder()
{
    if (!IsOpen())
        return 0;
    CDbAreaLock lock(m_nArea);
    return DbChecked(db_indexord());
}

CString CDbTable::GetIndexKey(unsigned nSlot)
{
    if (!IsOpen())
        return CString();
    CDbAreaLock lock(m_nArea);
    char szExpression[kIndexKeyBuffer] = "";
    DbChecked(db_indexkey(nSlot, szExpression, sizeof szExpression));
    CString strExpression(szExpression);
    strExpression.OemToAnsi();
    return strExpression;
}

// ---- index definitions and maintenance -------------------------------------------------------------

const DbIndexDef* CDbTable::GetIndexDefinitions() { return NULL; }

CString CDbTable::GetIndexPath(const DbIndexDef& definition) const
{
    return CMfxString(m_strPath).ChangeExtension(definition.szStem);
}

BOOL CDbTable::IndexOn(const DbIndexDef& definition, LPCTSTR lpszIndexPath)
{
    if (!IsOpen())
        return FALSE;
    CDbAreaLock lock(m_nArea);
    return DbChecked(
        db_index_on((unsigned)definition.nOrder, definition.szKeyExpression, lpszIndexPath, definition.bUnique));
}

BOOL CDbTable::RebuildIndexes(BOOL bQuiet)
{
    if (!IsOpen())
        return FALSE;
    const DbIndexDef* pDefinitions = GetIndexDefinitions();
    const int nCount = CountIndexDefinitions(pDefinitions);
    CDbProgressDialog progress(bQuiet, IDS_DB_REINDEXING, IDS_DB_PLEASE_WAIT);
    {
        CMfxWaitCursor wait;
        CDbAreaLock lock(m_nArea);
        DbChecked(db_close(2));
    }
    BOOL bResult = TRUE;
    int nPercent = 0;
    for (int i = 0; i < nCount && bResult; ++i) {
        const DbIndexDef& definition = pDefinitions[i];
        {
            CMfxWaitCursor wait;
            SetPositionMoved();
            bResult = IndexOn(definition, GetIndexPath(definition));
        }
        if (bResult) {
            nPercent += 100 / nCount;
            progress.SetText(definition.szKeyExpression, nPercent);
        }
    }
    progress.End();
    return bResult;
}

BOOL CDbTable::Reindex(BOOL bQuiet)
{
    if (!IsOpen())
        return FALSE;
    const DbIndexDef* pDefinitions = GetIndexDefinitions();
    const int nCount = CountIndexDefinitions(pDefinitions);
    CDbProgressDialog progress(bQuiet, IDS_DB_REINDEXING, IDS_DB_PLEASE_WAIT);
    unsigned nOrder, nRecNo;
    {
        CDbAreaLock lock(m_nArea);
        nOrder = DbChecked(db_indexord());
        nRecNo = DbChecked(db_recno());
    }
    BOOL bResult = TRUE;
    int nPercent = 0;
    try {
        for (int i = 0; i < nCount && bResult; ++i) {
            const DbIndexDef& definition = pDefinitions[i];
            {
                CMfxWaitCursor wait;
                CDbAreaLock lock(m_nArea);
                SetPositionMoved();
                DbChecked(db_set_order(definition.nOrder));
                bResult = DbChecked(db_reindex((unsigned)definition.nOrder)) == 1;
            }
            if (bResult) {
                nPercent += 100 / nCount;
                progress.SetText(definition.szKeyExpression, nPercent);
            }
        }
    } catch (CException*) {
        // The table keeps its order and row when an unexpected error ends the work.
        CDbAreaLock lock(m_nArea);
        db_set_order_no_adjust((int)nOrder);
        db_goto((long)nRecNo);
        DbClearPendingError();
        throw;
    }
    {
        CDbAreaLock lock(m_nArea);
        DbChecked(db_set_order_no_adjust((int)nOrder));
        DbChecked(db_goto((long)nRecNo));
    }
    progress.End();
    return bResult;
}

BOOL CDbTable::Pack(BOOL bQuiet)
{
    if (!IsOpen())
        return FALSE;
    CDbProgressDialog progress(bQuiet, IDS_DB_PACKING, IDS_DB_PLEASE_WAIT);
    BOOL bResult;
    {
        CMfxWaitCursor wait;
        CDbAreaLock lock(m_nArea);
        SetPositionMoved();
        bResult = DbChecked(db_pack());
    }
    progress.SetText(CMfxString(IDS_MFX_READY), 100);
    progress.End();
    return bResult;
}

// ---- filters, deleted rows and marks -------------------------------------------------------------

BOOL CDbTable::SetFilter(LPCTSTR lpszExpression)
{
    if (!IsOpen())
        return FALSE;
    const BOOL bRemove = lpszExpression == NULL || *lpszExpression == '\0';
    CDbAreaLock lock(m_nArea);
    DbClearThreadError();
    // The expression's texts are compared with the table's OEM text.
    const CString strExpression = bRemove ? CString() : ToOem(lpszExpression);
    BOOL bResult = DbChecked(db_set_filter_to_index(bRemove ? NULL : (LPCTSTR)strExpression));
    if (!bResult) {
        m_nLastFilterError = DbThreadError();
        return FALSE;
    }
    if (bRemove) {
        FilterOff();
        SetAllMarks(0xFF);
    } else if (m_pMarks != NULL) {
        RebuildMarks();
        DbChecked(db_set_filter_to(NULL));
    }
    m_bFilterActive = !bRemove;
    m_nLastFilterError = 0;
    return bResult;
}

BOOL CDbTable::FilterOn()
{
    m_bFilterActive = TRUE;
    return TRUE;
}

BOOL CDbTable::FilterOff()
{
    m_bFilterActive = FALSE;
    return TRUE;
}

void CDbTable::SetDeleted(int nOn)
{
    {
        CDbEngineLock engine;
        DbChecked(db_set_deleted(nOn));
    }
    if (nOn != m_nDeletedSetting) {
        m_nDeletedSetting = nOn;
        RebuildMarks();
    }
}

BOOL CDbTable::AllocateMarks()
{
    if (m_pMarks != NULL)
        return TRUE;
    if (!IsOpen())
        return FALSE;
    m_hMarks = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, kMarkBytes);
    if (m_hMarks == NULL)
        return FALSE;
    m_pMarks = (BYTE*)GlobalLock(m_hMarks);
    if (m_pMarks == NULL) {
        GlobalFree(m_hMarks);
        m_hMarks = NULL;
        return FALSE;
    }
    RebuildMarks();
    return TRUE;
}

void CDbTable::FreeMarks()
{
    if (m_hMarks == NULL)
        return;
    GlobalUnlock(m_hMarks);
    GlobalFree(m_hMarks);
    m_hMarks = NULL;
    m_pMarks = NULL;
    m_nMarked = 0;
}

void CDbTable::SetAllMarks(BYTE byValue)
{
    if (m_pMarks == NULL)
        return;
    const unsigned nRows = GetRecCount() < kMaxMarkedRows ? GetRecCount() : kMaxMarkedRows;
    memset(m_pMarks, byValue, nRows / 8);
    for (unsigned nBit = 0; nBit < nRows % 8; ++nBit) {
        BYTE& rByte = m_pMarks[nRows / 8];
        if (byValue & 1)
            rByte |= (BYTE)(1u << nBit);
        else
            rByte &= (BYTE) ~(1u << nBit);
    }
    m_nMarked = 0;
    for (unsigned n = 1; n <= nRows; ++n)
        if (IsMarked(n))
            ++m_nMarked;
}

void CDbTable::SetMark(unsigned nRecNo)
{
    if (nRecNo >= 1 && nRecNo <= kMaxMarkedRows)
        m_pMarks[(nRecNo - 1) / 8] |= (BYTE)(1u << ((nRecNo - 1) % 8));
}

void CDbTable::RebuildMarks()
{
    if (m_pMarks == NULL || !IsOpen())
        return;
    CDbAreaLock lock(m_nArea);
    FilterOff();
    SetAllMarks(0);
    unsigned nMarked = 0;
    SetPositionMoved();
    DbChecked(db_goto(0));
    while (!DbChecked(db_eof())) {
        const unsigned nRecNo = DbChecked(db_recno());
        SetMark(nRecNo);
        ++nMarked;
        DbChecked(db_skip(1));
        if (DbChecked(db_recno()) == nRecNo)
            break; // no progress: the engine could not move on
    }
    m_nMarked = nMarked;
    FilterOn();
}

BOOL CDbTable::IsMarked(unsigned nRecNo)
{
    if (m_pMarks == NULL || nRecNo < 1 || nRecNo > kMaxMarkedRows)
        return FALSE;
    return (m_pMarks[(nRecNo - 1) / 8] >> ((nRecNo - 1) % 8)) & 1;
}
