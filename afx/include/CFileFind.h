// Finding files: FindFile starts a search (all files "*.*" of the current folder without a
// name); each FindNextFile then makes the next file the current one and answers whether more
// files follow, so the last file is current when it answers FALSE. The attributes and names
// describe the current file.
#pragma once

#include "CObject.h"
#include "CString.h"
#include "CTime.h"

class CFileFind : public CObject {
    DECLARE_DYNAMIC(CFileFind)
public:
    CFileFind();
    virtual ~CFileFind();

    virtual BOOL FindFile(LPCTSTR pstrName = NULL, DWORD dwUnused = 0);
    virtual BOOL FindNextFile();
    void Close();

    ULONGLONG GetLength() const;
    virtual CString GetFileName() const;
    virtual CString GetFilePath() const;
    // The name without its extension.
    virtual CString GetFileTitle() const;
    virtual CString GetRoot() const;
    BOOL GetLastWriteTime(FILETIME* pTimeStamp) const;
    BOOL GetLastWriteTime(CTime& refTime) const;
    BOOL MatchesMask(DWORD dwMask) const;
    // "." and "..".
    virtual BOOL IsDots() const;
    BOOL IsReadOnly() const { return MatchesMask(FILE_ATTRIBUTE_READONLY); }
    BOOL IsDirectory() const { return MatchesMask(FILE_ATTRIBUTE_DIRECTORY); }
    BOOL IsHidden() const { return MatchesMask(FILE_ATTRIBUTE_HIDDEN); }
    BOOL IsSystem() const { return MatchesMask(FILE_ATTRIBUTE_SYSTEM); }
    BOOL IsArchived() const { return MatchesMask(FILE_ATTRIBUTE_ARCHIVE); }

protected:
    HANDLE m_hContext;
    BOOL m_bHaveFound; // m_found describes a file
    BOOL m_bHaveNext;  // m_next holds the file that FindNextFile takes next
    WIN32_FIND_DATAA m_found;
    WIN32_FIND_DATAA m_next;
    CString m_strRoot; // the folder of the search, with its trailing separator
};
