#include "CDbRecordBuffer.h"

#include "CDbTable.h"
#include "vlDB07.h"

CDbRecordBuffer::CDbRecordBuffer(CDbTable* pTable)
    : m_pTable(pTable), m_nRecNo(0), m_bModified(FALSE), m_bValid(FALSE), m_bNew(TRUE), m_bLocked(FALSE)
{
}

CDbRecordBuffer::CDbRecordBuffer(const CDbRecordBuffer& other)
    : m_pTable(other.m_pTable), m_nRecNo(other.m_nRecNo), m_bModified(other.m_bModified), m_bValid(other.m_bValid),
      m_bNew(other.m_bNew), m_bLocked(FALSE), m_fields(other.m_fields)
{
}

CDbRecordBuffer& CDbRecordBuffer::operator=(const CDbRecordBuffer& other)
{
    if (this != &other) {
        if (m_bLocked)
            UnlockRecord();
        m_pTable = other.m_pTable;
        m_nRecNo = other.m_nRecNo;
        m_bModified = other.m_bModified;
        m_bValid = other.m_bValid;
        m_bNew = other.m_bNew;
        m_bLocked = FALSE;
        m_fields = other.m_fields;
    }
    return *this;
}

CDbRecordBuffer::~CDbRecordBuffer()
{
    if (!m_bLocked)
        return;
    try {
        UnlockRecord();
    } catch (CException* e) {
        e->Delete();
    }
}

CString& CDbRecordBuffer::FieldValue(LPCTSTR lpszName)
{
    CDbField* pField = m_fields.Lookup(lpszName);
    if (pField == NULL) {
        m_strNoField.Empty();
        return m_strNoField;
    }
    return pField->m_strValue;
}

void CDbRecordBuffer::SetFieldValue(LPCTSTR lpszName, LPCTSTR lpszText)
{
    if (CDbField* pField = m_fields.Lookup(lpszName)) {
        pField->m_strValue = lpszText;
        m_bModified = TRUE;
    }
}

TCHAR CDbRecordBuffer::GetFieldChar(LPCTSTR lpszName, int nPos)
{
    const CString& rValue = FieldValue(lpszName);
    if (nPos < 1 || nPos > rValue.GetLength())
        return ' ';
    return rValue[nPos - 1];
}

int CDbRecordBuffer::SetFieldChars(LPCTSTR lpszName, int nPos, TCHAR ch)
{
    CDbField* pField = m_fields.Lookup(lpszName);
    if (pField == NULL || nPos < 1)
        return 0;
    CString& rValue = pField->m_strValue;
    if (rValue.GetLength() < nPos)
        rValue += CString(' ', nPos - rValue.GetLength());
    rValue.SetAt(nPos - 1, ch);
    m_bModified = TRUE;
    return 1;
}

void CDbRecordBuffer::Clear()
{
    m_fields.EmptyValues();
    m_bModified = FALSE;
    m_nRecNo = 0;
    m_bNew = TRUE;
    m_bValid = FALSE;
}

int CDbRecordBuffer::AttachFields()
{
    if (m_pTable == NULL)
        return -1;
    if (m_pTable->GetFieldMap().GetCount() > 0)
        m_fields = m_pTable->GetFieldMap();
    else
        m_pTable->BuildFieldMap(m_fields);
    Clear();
    return 0;
}

int CDbRecordBuffer::LockRecord()
{
    if (m_nRecNo == 0)
        return 0;
    if (m_pTable == NULL || m_pTable->GoTo(m_nRecNo) == 0 || !m_pTable->LockRecord(0))
        return -1;
    m_bLocked = TRUE;
    return 0;
}

int CDbRecordBuffer::UnlockRecord()
{
    if (m_nRecNo == 0)
        return 0;
    if (m_pTable == NULL || m_pTable->GoTo(m_nRecNo) == 0 || !m_pTable->UnlockRecord(0))
        return -1;
    m_bLocked = FALSE;
    return 0;
}

int CDbRecordBuffer::Read(long nRecNo, DWORD dwMask)
{
    if (nRecNo == 0 || nRecNo == DB_EOF) {
        Clear();
        return 0;
    }
    if (m_pTable == NULL || m_pTable->GoTo(nRecNo) == 0) {
        m_bValid = FALSE;
        return -1;
    }
    // The row is read whole, as under a lock, unless this buffer holds its lock anyway.
    const BOOL bMarked = !(m_bLocked && m_nRecNo == nRecNo) && m_pTable->MarkRecordLocked();
    BOOL bRead = dwMask != 0 ? m_pTable->ReadFieldsMasked(dwMask) : m_pTable->ReadAllFields();
    if (bRead) {
        m_fields.CopyValues(m_pTable->GetFieldMap());
        m_nRecNo = nRecNo;
        m_bValid = TRUE;
        m_bModified = FALSE;
        m_bNew = FALSE;
    } else
        m_bValid = FALSE;
    if (bMarked)
        m_pTable->ReleaseReadMark();
    if (bRead && m_readHook)
        m_readHook(nRecNo);
    return bRead ? 0 : -1;
}

int CDbRecordBuffer::ReadRecord(long nRecNo) { return Read(nRecNo, 0); }

int CDbRecordBuffer::TakeStoredRow(long nRecNo, const char* pRecord, DWORD dwMask)
{
    if (m_pTable == NULL || !m_pTable->CutStoredFields(pRecord, LOWORD(dwMask), m_fields)) {
        m_bValid = FALSE;
        return -1;
    }
    m_nRecNo = nRecNo;
    m_bValid = TRUE;
    m_bModified = FALSE;
    m_bNew = FALSE;
    if (m_readHook)
        m_readHook(nRecNo);
    return 0;
}

int CDbRecordBuffer::LockAndRead(long nRecNo)
{
    if (m_pTable == NULL || nRecNo <= 0 || nRecNo == DB_EOF)
        return -1;
    if (m_bLocked && m_nRecNo != nRecNo)
        UnlockRecord();
    m_nRecNo = nRecNo;
    if (LockRecord() != 0) {
        m_bValid = FALSE;
        return -1;
    }
    // The lock made the engine drop its copy of the row: the values are read from the file, as
    // they stand now that no other station can change them.
    if (Read(nRecNo, 0) != 0)
        return -2;
    return 0;
}

int CDbRecordBuffer::ReadRecordFields(long nRecNo, DWORD dwMask) { return Read(nRecNo, dwMask); }

int CDbRecordBuffer::WriteRecord()
{
    if (m_pTable == NULL || !m_pTable->IsOpen())
        return -1;
    const BOOL bNewRow = m_nRecNo == 0;
    if (!bNewRow) {
        // The table's cache gets the stored row first, then the buffer's values over it.
        if (m_pTable->GoTo(m_nRecNo) == 0)
            return -1;
        m_pTable->ReadAllFields();
    } else if (!m_pTable->AppendBlank())
        return -1;

    for (int i = 0; i < m_fields.GetCount(); ++i)
        m_pTable->SetFieldValue(m_fields[i].m_strName, m_fields[i].m_strValue);
    BOOL bWritten = m_pTable->WriteRecord(bNewRow, 0);
    if (bNewRow) {
        // The appended row is locked: the buffer owns that lock from now on, or, when the row
        // could not be written, gives it up at once.
        if (bWritten)
            m_bLocked = TRUE;
        else
            m_pTable->UnlockRecord(0);
    }
    if (!bWritten)
        return -1;
    m_nRecNo = (long)m_pTable->GetRecNo();
    m_bModified = FALSE;
    m_bNew = FALSE;
    m_bValid = TRUE;
    return 0;
}

CDbRecordBuffer* CDbRecordBuffer::Clone() const
{
    CDbRecordBuffer* pClone = new CDbRecordBuffer(*this);
    pClone->m_nRecNo = 0;
    return pClone;
}

void CDbRecordBuffer::ForgetRow()
{
    if (m_bLocked)
        UnlockRecord();
    m_nRecNo = 0;
    m_bNew = TRUE;
}

void CDbRecordBuffer::Describe(CString& strText) const { strText.Format("RECNO %ld", m_nRecNo); }
