// CDbTable: table definitions, creation, the structure check and upgrade, and the side file.
//
// OpenChecked, by the answer of CheckFile:
//   usable   -> open
//   absent   -> (ask unless ask mode 0) quiet backup, AllowCreate, create, indexes, open
//   changed  -> (always ask) backup, AllowCreate, create the new table under a work name, import
//               the backup's rows into it, then put it in the table's place; indexes, open
//   in use, too many files, unreadable -> box, 0
// An upgrade never leaves the program on an empty table: the old table stays where it is until
// its rows are in the new one, a failed import answers failure, and a backup that differs from
// the table being backed up is kept under a numbered name instead of being overwritten.
// The collation of the side file is set in the table's area before any index is made or opened,
// so that the indexes are built and searched in the same order.
#include "CDbTable.h"

#include <afxwin.h>

#include <stdio.h>
#include <string.h>

#include <string>
#include <vector>

#include "CDbAreaLock.h"
#include "CMfxString.h"
#include "CMfxWaitCursor.h"
#include "CTableErrorReporter.h"
#include "DataStrings.h"
#include "DbErrors.h"
#include "DbLocks.h"
#include "MfxFiles.h"
#include "MfxMessageBox.h"
#include "vlCT11.h"
#include "vlDB07.h"

namespace {

// The side file's alias section, and the answer of an absent key.
const char kAliasSection[] = "Aliasnamen";
const char kNoAlias[] = "###";
const unsigned kAliasBuffer = 21;
const char kSortOrderKey[] = "SortOrder";
const int kLastSortOrder = 3;
// The import opens the backup read-only under this alias, as a Clipper 5 table.
const char kImportAlias[] = "old";
const unsigned kImportOpenMode = 16;
const unsigned kImportOptions = 4;
// db_get_fieldname's buffer of the import's field list.
const unsigned kImportNameBuffer = 15;
const char kProductTitle[] = "velmar chronivo";
// The fatal box of an open mode CheckFile does not know.
const UINT kCheckModule = 103;
const UINT kCheckLine = 2095;

// Win32 errors of a file that cannot be opened.
bool IsTooManyFiles(DWORD dwError) { return dwError == ERROR_TOO_MANY_OPEN_FILES; }
bool IsInUse(DWORD dwError) { return dwError == ERROR_SHARING_VIOLATION || dwError == ERROR_LOCK_VIOLATION; }

// Whether anything of that name exists (a file, or a folder in the table's place).
bool NameExists(LPCTSTR lpszPath) { return GetFileAttributesA(lpszPath) != INVALID_FILE_ATTRIBUTES; }

// Opens the file as the check and the import do (CreateFile has no path limit below MAX_PATH,
// unlike OpenFile's 128 characters, which would make an existing table look absent); the handle
// is closed at once. ERROR_SUCCESS or the Win32 error.
DWORD TryOpen(LPCTSTR lpszPath, DWORD dwAccess, DWORD dwShare)
{
    HANDLE hFile = CreateFileA(lpszPath, dwAccess, dwShare, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (hFile == INVALID_HANDLE_VALUE)
        return GetLastError();
    CloseHandle(hFile);
    return ERROR_SUCCESS;
}

// The name of a backup: the file name's first character replaced by '~'.
CString BackupName(LPCTSTR lpszFileName)
{
    CString strName(lpszFileName);
    if (!strName.IsEmpty())
        strName.SetAt(0, '~');
    return strName;
}

// The memo file of a table: everything from the last '.' replaced by ".DBT".
CString MemoPath(const CString& strTablePath)
{
    const int nDot = strTablePath.ReverseFind('.');
    const int nSlash = strTablePath.ReverseFind('\\');
    return (nDot > nSlash ? strTablePath.Left(nDot) : strTablePath) + ".DBT";
}

// The name under which an upgrade builds the new table: the first character replaced by '$'.
CString WorkName(LPCTSTR lpszFileName)
{
    CString strName(lpszFileName);
    if (!strName.IsEmpty())
        strName.SetAt(0, '$');
    return strName;
}

// The path with " _n" put before its extension: "~X4.DBE", 2 -> "~X4_2.DBE".
CString NumberedPath(const CString& strPath, int nNumber)
{
    const int nDot = strPath.ReverseFind('.');
    const int nSlash = strPath.ReverseFind('\\');
    CString strNumber;
    strNumber.Format("_%d", nNumber);
    if (nDot <= nSlash)
        return strPath + strNumber;
    return strPath.Left(nDot) + strNumber + strPath.Mid(nDot);
}

// Whether both files hold the same bytes; a file that cannot be read counts as different (a
// missing one equals only a missing one).
bool SameContent(LPCTSTR lpszFirst, LPCTSTR lpszSecond)
{
    const bool bFirst = NameExists(lpszFirst), bSecond = NameExists(lpszSecond);
    if (!bFirst || !bSecond)
        return bFirst == bSecond;
    CFile first, second;
    if (!first.Open(lpszFirst, CFile::modeRead | CFile::shareDenyNone) ||
        !second.Open(lpszSecond, CFile::modeRead | CFile::shareDenyNone))
        return false;
    if (first.GetLength() != second.GetLength())
        return false;
    std::vector<char> a(65536), b(65536);
    for (;;) {
        const UINT nA = first.Read(a.data(), (UINT)a.size());
        const UINT nB = second.Read(b.data(), (UINT)b.size());
        if (nA != nB || memcmp(a.data(), b.data(), nA) != 0)
            return false;
        if (nA == 0)
            return true;
    }
}

// Deletes the files of a table at the path: table, memo, side file and every index file.
void RemoveTableFiles(const CString& strPath, const DbIndexDef* pIndexes)
{
    DeleteFileA(strPath);
    DeleteFileA(MemoPath(strPath));
    DeleteFileA(CMfxString(strPath).ChangeExtension("DBA"));
    for (int i = 0; pIndexes != NULL && pIndexes[i].nOrder != 0; ++i)
        DeleteFileA(CMfxString(strPath).ChangeExtension(pIndexes[i].szStem));
}

// The section of the side file that holds the collation.
CString GeneralSection()
{
    CString strSection;
    if (!strSection.LoadString(IDS_DB_SECTION_GENERAL))
        strSection = "Allgemein";
    return strSection;
}

int CountIndexes(const DbIndexDef* pDefinitions)
{
    int nCount = 0;
    while (pDefinitions != NULL && pDefinitions[nCount].nOrder != 0)
        ++nCount;
    return nCount;
}

// The progress window of an import (the controls library's progress object); nothing when the
// library cannot make one.
class CImportProgress {
public:
    CImportProgress() : m_pProgress(NULL)
    {
        if (FAILED(CtlCreateObject(CLSID_CtlProgress, (void**)&m_pProgress)) || m_pProgress == NULL) {
            m_pProgress = NULL;
            return;
        }
        VARIANT value;
        VariantInit(&value);
        value.vt = VT_I4;
        value.lVal = 0;
        m_pProgress->SetValue(0, value);
        CWnd* pMain = AfxGetMainWnd();
        CMfxString strText(IDS_DB_UPGRADING);
        BSTR bstrTitle = CString(kProductTitle).AllocSysString();
        BSTR bstrText = strText.AllocSysString();
        m_pProgress->Show(pMain != NULL ? pMain->m_hWnd : NULL, 0, bstrTitle, bstrText, 2);
        SysFreeString(bstrTitle);
        SysFreeString(bstrText);
    }
    ~CImportProgress()
    {
        if (m_pProgress != NULL)
            m_pProgress->Release();
    }
    CImportProgress(const CImportProgress&) = delete;
    CImportProgress& operator=(const CImportProgress&) = delete;

private:
    ICtlProgress* m_pProgress;
};

} // namespace

// ---- definitions -------------------------------------------------------------------------------

BOOL CDbTable::AllowCreate() { return TRUE; }

BOOL CDbTable::OnCreateRefused() { return TRUE; }

const DbTableDef* CDbTable::GetTableDefinition() { return NULL; }

const DbFieldDef* CDbTable::GetFieldDefinitions() { return NULL; }

BOOL CDbTable::AfterImport(int nSourceArea)
{
    UNUSED_ALWAYS(nSourceArea);
    return TRUE;
}

int CDbTable::FindFieldDefinition(LPCTSTR lpszName)
{
    const DbTableDef* pTable = GetTableDefinition();
    const DbFieldDef* pFields = GetFieldDefinitions();
    if (pTable == NULL || pFields == NULL || lpszName == NULL)
        return -1;
    for (int i = 0; i < pTable->nFieldCount; ++i)
        if (_stricmp(pFields[i].szName, lpszName) == 0)
            return i;
    return -1;
}

void CDbTable::ApplyFieldFlags(const DbFieldDef* pFields)
{
    const DbTableDef* pTable = GetTableDefinition();
    if (pTable == NULL || pFields == NULL)
        return;
    for (int i = 0; i < pTable->nFieldCount; ++i)
        if (CDbField* pField = m_fields.Lookup(pFields[i].szName))
            pField->m_wFlags = (WORD)pFields[i].nFlags;
}

// ---- the side file -------------------------------------------------------------------------------

CString CDbTable::SideFilePath(LPCTSTR lpszTablePath)
{
    return CMfxString(lpszTablePath).ChangeExtension("DBA");
}

CString CDbTable::ReadAlias(LPCTSTR lpszName)
{
    if (m_bAliasesOff)
        return CString();
    char szAlias[kAliasBuffer] = "";
    GetPrivateProfileStringA(kAliasSection, lpszName, kNoAlias, szAlias, sizeof szAlias, SideFilePath(m_strPath));
    if (strcmp(szAlias, kNoAlias) != 0)
        return szAlias;
    const int nDefinition = FindFieldDefinition(lpszName);
    if (nDefinition < 0)
        return lpszName;
    m_bAliasesDirty = TRUE;
    return GetFieldDefinitions()[nDefinition].szDefaultAlias;
}

BOOL CDbTable::WriteAliases()
{
    if (m_bAliasesOff)
        return TRUE;
    const CString strSideFile = SideFilePath(m_strPath);
    BOOL bResult = TRUE;
    for (int i = 0; i < m_fields.GetCount(); ++i)
        bResult = WritePrivateProfileStringA(kAliasSection, m_fields[i].m_strName, m_fields[i].m_strAlias, strSideFile);
    if (bResult)
        m_bAliasesDirty = FALSE;
    return bResult;
}

BOOL CDbTable::ClearAliases(LPCTSTR lpszPath)
{
    if (!m_bAliasesOff)
        WritePrivateProfileStringA(kAliasSection, NULL, NULL, SideFilePath(lpszPath));
    return TRUE;
}

int CDbTable::ReadSortOrder(LPCTSTR lpszTablePath)
{
    const int nOrder = (int)GetPrivateProfileIntA(GeneralSection(), kSortOrderKey, 0, SideFilePath(lpszTablePath));
    return nOrder >= 0 && nOrder <= kLastSortOrder ? nOrder : 0;
}

void CDbTable::ApplySortOrder(LPCTSTR lpszPath)
{
    if (!IsOpen())
        return;
    const int nOrder = ReadSortOrder(lpszPath);
    CDbAreaLock lock(m_nArea);
    DbChecked(db_set_sortorder(nOrder));
}

// ---- checking --------------------------------------------------------------------------------------

int CDbTable::CheckFile(LPCTSTR lpszPath, int nOpenMode)
{
    DWORD dwShare;
    switch (nOpenMode) {
    case 0:
    case 16:
        dwShare = FILE_SHARE_READ | FILE_SHARE_WRITE;
        break;
    case 1:
        dwShare = 0;
        break;
    default:
        MfxFatalErrorBox(IDS_INTERNAL_ERROR, kCheckModule, kCheckLine);
    }
    const DWORD dwError = TryOpen(lpszPath, GENERIC_READ | GENERIC_WRITE, dwShare);
    if (dwError != ERROR_SUCCESS) {
        if (IsTooManyFiles(dwError))
            return DB_CHECK_TOO_MANY_FILES;
        if (IsInUse(dwError))
            return DB_CHECK_IN_USE;
        // Only a table that is really not there may be made anew: an existing file that cannot
        // be opened (no rights, read-only) would otherwise be replaced by an empty table.
        return NameExists(lpszPath) ? DB_CHECK_UNREADABLE : DB_CHECK_ABSENT;
    }
    const DbTableDef* pTable = GetTableDefinition();
    if (!Open(lpszPath, NULL, nOpenMode, pTable != NULL ? pTable->nOptions : m_nOpenOptions))
        return DB_CHECK_UNREADABLE;
    const BOOL bFits = CheckStructure(pTable, GetFieldDefinitions());
    Close();
    return bFits ? DB_CHECK_USABLE : DB_CHECK_CHANGED;
}

BOOL CDbTable::CheckStructure(const DbTableDef* pTable, const DbFieldDef* pFields)
{
    if (pTable == NULL)
        return TRUE;
    if (pTable->nOptions != m_nOpenOptions)
        return FALSE;
    if (pFields == NULL)
        return TRUE;
    for (int i = 0; i < pTable->nFieldCount; ++i) {
        const DbFieldDef& definition = pFields[i];
        const CDbField* pField = m_fields.Lookup(definition.szName);
        if (pField == NULL) {
            if ((definition.nFlags & 0xFF & kDbFieldOptional) == 0)
                return FALSE;
            continue;
        }
        if (pField->m_nLength != definition.nLength || pField->m_chType != (TCHAR)definition.nType)
            return FALSE;
    }
    return TRUE;
}

// ---- creating ----------------------------------------------------------------------------------------

int CDbTable::FindFreeArea()
{
    for (int n = kDbFirstArea; n <= kDbLastArea; ++n) {
        CDbAreaLock lock(n);
        if (!DbChecked(db_used()))
            return n;
    }
    return 0;
}

BOOL CDbTable::CreateTable(const DbTableDef* pTable, const DbFieldDef* pFields, LPCTSTR lpszPath)
{
    if (pTable == NULL || pFields == NULL)
        return FALSE;
    if (m_nArea == 0) {
        const int nArea = FindFreeArea();
        if (nArea == 0) {
            CTableErrorReporter reporter(this);
            ReportError(&reporter, IDS_DB_NO_FREE_AREA, 1, pTable->szAlias);
            return FALSE;
        }
        m_nArea = nArea;
    }
    m_fields.RemoveAll();
    ClearAliases(lpszPath);
    const int nArea = m_nArea;
    BOOL bDefined;
    {
        CDbAreaLock lock(nArea);
        // The area is not open while it is defined; Open below takes it again.
        m_nArea = 0;
        bDefined = DbChecked(
            db_define_begin(lpszPath, pTable->nOpenMode, pTable->szAlias, pTable->nOptions, (unsigned)pTable->nFieldCount));
        if (bDefined) {
            OnOpened();
            for (int i = 0; i < pTable->nFieldCount && pFields[i].szName[0] != '\0' && bDefined; ++i)
                bDefined = DbChecked(db_define_field(pFields[i].szName, (char)pFields[i].nType, (unsigned)pFields[i].nLength,
                                                     (unsigned)pFields[i].nDecimals));
            // db_define_end also ends a definition whose fields failed (and then fails itself).
            bDefined = DbChecked(db_define_end()) && bDefined;
        }
    }
    m_nArea = nArea;
    if (!bDefined) {
        m_nArea = 0;
        return FALSE;
    }
    return Open(lpszPath, pTable->szAlias, pTable->nOpenMode, pTable->nOptions);
}

BOOL CDbTable::Create(LPCTSTR lpszPath)
{
    CMfxWaitCursor wait;
    if (CreateTable(GetTableDefinition(), GetFieldDefinitions(), lpszPath))
        return TRUE;
    MfxMessageBoxStr(CMfxString(IDS_DB_CREATE_ERROR), lpszPath, MB_ICONEXCLAMATION);
    return FALSE;
}

BOOL CDbTable::CreateIndexes(LPCTSTR lpszPath)
{
    if (!IsOpen())
        return FALSE;
    {
        CDbAreaLock lock(m_nArea);
        DbChecked(db_close(2));
    }
    CMfxWaitCursor wait;
    const DbIndexDef* pDefinitions = GetIndexDefinitions();
    const int nCount = CountIndexes(pDefinitions);
    for (int i = 0; i < nCount; ++i) {
        const CString strIndexPath = CMfxString(lpszPath).ChangeExtension(pDefinitions[i].szStem);
        if (!IndexOn(pDefinitions[i], strIndexPath)) {
            MfxMessageBoxStr(CMfxString(IDS_DB_INDEX_ERROR), strIndexPath, MB_ICONEXCLAMATION);
            return FALSE;
        }
    }
    return TRUE;
}

BOOL CDbTable::OpenIndexes(LPCTSTR lpszPath)
{
    if (!IsOpen())
        return FALSE;
    CMfxWaitCursor wait;
    const DbIndexDef* pDefinitions = GetIndexDefinitions();
    const int nCount = CountIndexes(pDefinitions);
    for (int i = 0; i < nCount; ++i) {
        const CString strIndexPath = CMfxString(lpszPath).ChangeExtension(pDefinitions[i].szStem);
        CDbAreaLock lock(m_nArea);
        SetPositionMoved();
        if (!DbChecked(db_set_index_to((unsigned)pDefinitions[i].nOrder, strIndexPath)))
            return FALSE;
    }
    return TRUE;
}

// ---- backup and import -------------------------------------------------------------------------------

BOOL CDbTable::BackupTable(LPCTSTR lpszDirectory, LPCTSTR lpszFileName, BOOL bQuiet)
{
    const CString strSource = CString(lpszDirectory) + lpszFileName;
    const CString strBackup = CString(lpszDirectory) + BackupName(lpszFileName);
    const BOOL bCopied = KeepOlderBackup(strSource, strBackup) &&
                         MfxCopyFileLZ(strSource, strBackup, FALSE) == 0 &&
                         MfxCopyFileLZ(MemoPath(strSource), MemoPath(strBackup), FALSE) == 0;
    if (!bCopied) {
        MfxMessageBoxStr(CMfxString(IDS_DB_BACKUP_FAILED), CMfxString(IDS_DB_ERROR_TITLE), MB_ICONEXCLAMATION);
        return FALSE;
    }
    if (!bQuiet) {
        CMfxString strBackupName(strBackup), strText;
        strText.FormatId(IDS_DB_BACKUP_MADE, (LPCTSTR)(strBackupName.GetDirectory() + strBackupName.GetFileTitle()));
        MfxMessageBoxStr(strText, kProductTitle, MB_ICONINFORMATION);
    }
    return TRUE;
}

BOOL CDbTable::KeepOlderBackup(const CString& strSource, const CString& strBackup)
{
    // Nothing to keep when there is no backup, no table to copy over it, or the backup is a copy
    // of this very table (a second attempt after a failed upgrade).
    if (!NameExists(strBackup) || !NameExists(strSource))
        return TRUE;
    if (SameContent(strSource, strBackup) && SameContent(MemoPath(strSource), MemoPath(strBackup)))
        return TRUE;
    for (int n = 1; n < 1000; ++n) {
        const CString strKept = NumberedPath(strBackup, n);
        if (NameExists(strKept) || NameExists(MemoPath(strKept)))
            continue;
        if (!MoveFileA(strBackup, strKept))
            return FALSE;
        if (NameExists(MemoPath(strBackup)) && !MoveFileA(MemoPath(strBackup), MemoPath(strKept))) {
            MoveFileA(strKept, strBackup);
            return FALSE;
        }
        return TRUE;
    }
    return FALSE;
}

BOOL CDbTable::ReplaceTableFiles(const CString& strWork, const CString& strPath, const CString& strBackup)
{
    // The memo first: when the table then cannot follow, the old memo comes back from the backup,
    // so the old table and its memo stay a pair.
    const CString strWorkMemo = MemoPath(strWork);
    const BOOL bMemo = NameExists(strWorkMemo);
    if (bMemo && !MoveFileExA(strWorkMemo, MemoPath(strPath), MOVEFILE_REPLACE_EXISTING))
        return FALSE;
    if (MoveFileExA(strWork, strPath, MOVEFILE_REPLACE_EXISTING))
        return TRUE;
    if (bMemo)
        MfxCopyFileLZ(MemoPath(strBackup), MemoPath(strPath), FALSE);
    return FALSE;
}

BOOL CDbTable::AppendRows(int nSourceArea, LPCTSTR lpszFieldList)
{
    UNUSED_ALWAYS(nSourceArea);
    CDbAreaLock lock(m_nArea);
    return DbChecked(db_append_from(kImportAlias, lpszFieldList));
}

BOOL CDbTable::ImportFromBackup(LPCTSTR lpszDirectory, LPCTSTR lpszFileName)
{
    if (!IsOpen())
        return FALSE;
    const CString strTarget = CString(lpszDirectory) + lpszFileName;
    const CString strBackup = CString(lpszDirectory) + BackupName(lpszFileName);

    const DWORD dwError = TryOpen(strBackup, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE);
    if (dwError != ERROR_SUCCESS) {
        if (IsTooManyFiles(dwError)) {
            MfxMessageBoxStr(CMfxString(IDS_DB_TOO_MANY_FILES), strBackup, MB_ICONHAND);
            return FALSE;
        }
        if (IsInUse(dwError)) {
            CMfxString strText;
            strText.FormatId(IDS_DB_IN_USE, (LPCTSTR)strBackup);
            MfxMessageBoxStr(strText, CMfxString(IDS_DB_ERROR_TITLE), MB_ICONHAND);
            return FALSE;
        }
        if (!NameExists(strBackup))
            return TRUE; // no backup: nothing to import
        MfxMessageBoxStr(CMfxString(IDS_DB_OPEN_ERROR), strBackup, MB_ICONHAND);
        return FALSE;
    }

    const int nSourceArea = FindFreeArea();
    if (nSourceArea == 0) {
        MfxMessageBoxStr(CMfxString(IDS_DB_NO_FREE_AREA), CMfxString(IDS_DB_ERROR_TITLE), MB_ICONHAND);
        return FALSE;
    }
    // The backup's area and this table's area are each locked for their own steps, never one
    // inside the other: the source area is this thread's (it is in use from db_use on).
    CString strFieldList;
    BOOL bBackupOpen;
    {
        CDbAreaLock lock(nSourceArea);
        bBackupOpen = DbChecked(db_use(strBackup, kImportOpenMode, kImportAlias, kImportOptions));
    }
    if (!bBackupOpen) {
        MfxMessageBoxStr(CMfxString(IDS_DB_OPEN_ERROR), strBackup, MB_ICONHAND);
        return FALSE;
    }
    BOOL bResult = FALSE;
    try {
        OnOpened();
        std::vector<CString> names;
        {
            CDbAreaLock lock(nSourceArea);
            const unsigned nCount = DbChecked(db_fcount());
            for (unsigned n = 1; n <= nCount; ++n) {
                char szName[kImportNameBuffer + 1] = "";
                DbChecked(db_get_fieldname(n, szName, kImportNameBuffer));
                names.push_back(szName);
            }
        }
        {
            CDbAreaLock lock(m_nArea);
            for (const CString& strName : names)
                if (DbChecked(db_get_reference(strName)) != 0)
                    strFieldList += strName + ",";
        }
        if (!strFieldList.IsEmpty())
            strFieldList.Delete(strFieldList.GetLength() - 1);

        BOOL bAppended;
        {
            CImportProgress progress;
            try {
                DbClearThreadError();
                bAppended = AppendRows(nSourceArea, strFieldList);
                // An engine error that is more than a note (a memo that could not be read, say)
                // means rows or fields of rows did not arrive, though the append went on.
                const unsigned nError = DbThreadError();
                if (nError != 0 && DbClassifyError(nError) != DBERR_TRACED)
                    bAppended = FALSE;
            } catch (CFileException* e) {
                // A file exception is a failed import like any other: the rows are not all there.
                e->Delete();
                DbClearPendingError();
                bAppended = FALSE;
            }
        }
        if (bAppended)
            bResult = AfterImport(nSourceArea);
        else
            MfxMessageBoxStr(CMfxString(IDS_DB_UPGRADE_FAILED), strBackup, MB_ICONEXCLAMATION);
    } catch (CException*) {
        CDbAreaLock lock(nSourceArea);
        db_close(3);
        DbClearPendingError();
        throw;
    }
    {
        CDbAreaLock lock(nSourceArea);
        DbChecked(db_close(3));
    }
    if (!bResult)
        return FALSE;
    // The aliases go with the old structure; the other sections (the collation) stay.
    const CString strSideFile = SideFilePath(strTarget);
    const CString strGeneral = GeneralSection();
    std::vector<char> general(32768, '\0');
    const DWORD nGeneral = GetPrivateProfileSectionA(strGeneral, general.data(), (DWORD)general.size(), strSideFile);
    DeleteFileA(strSideFile);
    if (nGeneral > 0)
        WritePrivateProfileSectionA(strGeneral, general.data(), strSideFile);
    return bResult;
}

// ---- opening -----------------------------------------------------------------------------------------

BOOL CDbTable::Upgrade(LPCTSTR lpszDirectory, LPCTSTR lpszFileName)
{
    const CString strPath = CString(lpszDirectory) + lpszFileName;
    const CString strWork = CString(lpszDirectory) + WorkName(lpszFileName);
    const CString strBackup = CString(lpszDirectory) + BackupName(lpszFileName);
    const DbIndexDef* pIndexes = GetIndexDefinitions();
    // What an upgrade that was cut short left under the work name goes first.
    RemoveTableFiles(strWork, pIndexes);
    if (!Create(strWork)) {
        RemoveTableFiles(strWork, pIndexes);
        return FALSE;
    }
    ApplySortOrder(strPath);
    BOOL bImported;
    try {
        bImported = ImportFromBackup(lpszDirectory, lpszFileName);
    } catch (CException*) {
        Close();
        RemoveTableFiles(strWork, pIndexes);
        throw;
    }
    Close();
    // The old table is still in its place: only a complete import replaces it.
    if (bImported && !ReplaceTableFiles(strWork, strPath, strBackup)) {
        MfxMessageBoxStr(CMfxString(IDS_DB_UPGRADE_FAILED), strBackup, MB_ICONEXCLAMATION);
        bImported = FALSE;
    }
    RemoveTableFiles(strWork, pIndexes);
    return bImported;
}

int CDbTable::OpenChecked(LPCTSTR lpszDirectory, LPCTSTR lpszFileName, int nOpenMode, int nAskMode, int nReserved)
{
    UNUSED_ALWAYS(nReserved);
    const CString strPath = CString(lpszDirectory) + lpszFileName;
    const DbTableDef* pTable = GetTableDefinition();
    CMfxWaitCursor wait;
    try {
        const int nCheck = CheckFile(strPath, nOpenMode);
        int nResult = DB_OPEN_OPENED;
        // An upgraded table's index files are those of the old rows: they are made anew.
        BOOL bNewIndexes = FALSE;
        switch (nCheck) {
        case DB_CHECK_USABLE:
            break;
        case DB_CHECK_UNREADABLE:
            MfxMessageBoxStr(lpszFileName, CMfxString(IDS_DB_OPEN_ERROR), MB_ICONHAND);
            return DB_OPEN_FAILED;
        case DB_CHECK_IN_USE: {
            CMfxString strText;
            strText.FormatId(IDS_DB_IN_USE, lpszFileName);
            MfxMessageBoxStr(strText, CMfxString(IDS_DB_ERROR_TITLE), MB_ICONHAND);
            return DB_OPEN_FAILED;
        }
        case DB_CHECK_TOO_MANY_FILES:
            MfxMessageBoxStr(CMfxString(IDS_DB_TOO_MANY_FILES), CMfxString(IDS_DB_ERROR_TITLE), MB_ICONHAND);
            return DB_OPEN_FAILED;
        default: {
            // Absent or changed: a changed structure is always asked about.
            if (nCheck == DB_CHECK_CHANGED)
                nAskMode = 1;
            BOOL bAllowed = TRUE;
            if (nAskMode != 0) {
                CMfxString strText;
                strText.FormatId(nCheck == DB_CHECK_CHANGED ? IDS_DB_ASK_UPGRADE : IDS_DB_ASK_CREATE, lpszFileName);
                const CMfxString strTitle(nCheck == DB_CHECK_CHANGED ? IDS_DB_WRONG_STRUCTURE : IDS_DB_FILE_MISSING);
                bAllowed = MfxMessageBoxStr(strText, strTitle, MB_ICONQUESTION | MB_YESNO) == IDYES;
            }
            if (bAllowed) {
                if (nCheck == DB_CHECK_CHANGED)
                    bAllowed = BackupTable(lpszDirectory, lpszFileName, FALSE);
                else
                    BackupTable(lpszDirectory, lpszFileName, nAskMode == 0);
            }
            if (bAllowed)
                bAllowed = AllowCreate();
            if (!bAllowed) {
                if (nAskMode == 2)
                    OnCreateRefused();
                return DB_OPEN_FAILED;
            }
            if (nCheck == DB_CHECK_CHANGED) {
                if (!Upgrade(lpszDirectory, lpszFileName))
                    return DB_OPEN_FAILED;
                nResult = DB_OPEN_UPGRADED;
                bNewIndexes = TRUE;
                break;
            }
            if (!Create(strPath))
                return DB_OPEN_FAILED;
            ApplySortOrder(strPath);
            const BOOL bIndexes = CreateIndexes(strPath);
            Close();
            if (!bIndexes)
                return DB_OPEN_FAILED;
            nResult = DB_OPEN_CREATED;
            break;
        }
        }

        if (!Open(strPath, pTable != NULL ? pTable->szAlias : NULL, nOpenMode, pTable != NULL ? pTable->nOptions : 0))
            return DB_OPEN_FAILED;
        ApplySortOrder(strPath);
        if (bNewIndexes ? !CreateIndexes(strPath) : !OpenIndexes(strPath) && !CreateIndexes(strPath)) {
            Close();
            return DB_OPEN_FAILED;
        }
        if (CountIndexes(GetIndexDefinitions()) > 0) {
            CDbAreaLock lock(m_nArea);
            DbChecked(db_set_order(1));
        }
        ApplyFieldFlags(GetFieldDefinitions());
        RefreshEmptyFlag();
        return nResult;
    } catch (CFileException* e) {
        e->Delete();
        DbClearPendingError();
        CTableErrorReporter reporter(this);
        reporter.Report(0);
        Close();
        return DB_OPEN_FAILED;
    }
}
