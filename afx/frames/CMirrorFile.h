// The file a document writes: opened with modeCreate it writes into a temporary file in the
// target's folder, which Close puts in the target's place; Abort removes it and leaves the
// target as it was. Opened otherwise it is a plain file. The file's path is the target's in
// both cases (error messages name it).
#pragma once

#include "CFile.h"

class CMirrorFile : public CFile {
public:
    virtual BOOL Open(LPCTSTR lpszFileName, UINT nOpenFlags, CFileException* pError = NULL);
    // Throws CFileException when the written file cannot take the target's place (the
    // temporary file is removed then).
    virtual void Close();
    virtual void Abort();

protected:
    CString m_strMirrorName; // the temporary file, empty when writing directly
};
