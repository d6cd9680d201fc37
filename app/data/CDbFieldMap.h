// The fields of a table in the table's field order, with an index from field name to position.
// Names are looked up without regard to case (the engine's names are upper case).
#pragma once

#include <afxtempl.h>

#include "CDbField.h"

// Field name (upper case) to the field's position.
typedef CMap<CString, LPCTSTR, WORD, WORD> CDbFieldIndex;

class CDbFieldMap {
public:
    CDbFieldMap();
    // Copies every entry and the index.
    CDbFieldMap(const CDbFieldMap& other);
    CDbFieldMap& operator=(const CDbFieldMap& other);

    int GetCount() const { return (int)m_fields.GetSize(); }
    CDbField& operator[](int nIndex) { return m_fields[nIndex]; }
    const CDbField& operator[](int nIndex) const { return m_fields.GetData()[nIndex]; }

    // The position of the field, or -1.
    int Find(LPCTSTR lpszName) const;
    // The field, or NULL.
    CDbField* Lookup(LPCTSTR lpszName);

    void Add(const CDbField& field);
    void RemoveAll();
    // Empties every cached value.
    void EmptyValues();
    // Takes the values of the fields of the same name from the other map.
    void CopyValues(const CDbFieldMap& other);

private:
    CArray<CDbField, const CDbField&> m_fields;
    CDbFieldIndex m_index;
};
