// The action of an entry: what runs when the entry becomes due ("OXMAIL", "OXSHEX" or the id of
// an action of a linked application; an empty name is no action). Its archive image:
//
//   bytes  member
//   2      m_nVersion (written as 1)
//   n      m_strName (CString form)
//   4      m_bBinary
//   n      binary: m_binParameter as a variant (VARTYPE WORD VT_ARRAY|VT_UI1 = 0x2011, the count
//          as WORD below 0xFFFF else 0xFFFF + DWORD, then the bytes);
//          else m_strParameter (CString form)
//   4      m_nActionType
//
// Binary parameters are read in the same variant form they are written in, so binary actions
// survive a save and a reload. An action without name and text has the 12-byte image
// 010000000000000000000000.
#pragma once

#include <afxcoll.h>

#include "CDataImage.h"

class CDataAction : public CDataImage {
    DECLARE_SERIAL(CDataAction)
public:
    CDataAction();
    // Copies every member, the schema version included (the bytes only when binary).
    CDataAction(const CDataAction& other);
    // Copies every member but the schema version (the bytes only when binary, else none).
    CDataAction& operator=(const CDataAction& other);
    virtual ~CDataAction();

    // Every member equal, the schema version included; the bytes count only when binary.
    bool operator==(const CDataAction& other) const;
    bool operator!=(const CDataAction& other) const { return !(*this == other); }

    virtual void Store(CArchive& ar);
    // Throws CArchiveException::generic when a binary parameter is not stored as a byte array.
    virtual void Load(CArchive& ar);

    WORD m_nVersion;
    CString m_strName;
    BOOL m_bBinary;
    CString m_strParameter;
    CByteArray m_binParameter;
    // Exposed to automation as "ActionType"; the reminder windows test it for 1.
    LONG m_nActionType;

private:
    void CopyMembers(const CDataAction& other);
};
