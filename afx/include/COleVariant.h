// A VARIANT that owns its contents (cleared in the destructor, deep-copied on copy). Strings are
// held as BSTRs converted from and to the ANSI code page.
//
// Archive form: the VARTYPE as a WORD, then the value:
//   VT_EMPTY, VT_NULL        nothing
//   VT_UI1                   1 byte
//   VT_I2, VT_BOOL           2 bytes (VT_BOOL: 0xFFFF true, 0 false)
//   VT_I4, VT_ERROR          4 bytes
//   VT_R4                    4 bytes (float)
//   VT_R8, VT_DATE           8 bytes (double)
//   VT_CY                    8 bytes (low DWORD, then high LONG)
//   VT_BSTR                  the text in CString form (length prefix, ANSI bytes)
//   VT_ARRAY | VT_UI1        a count (WriteCount), then the bytes (one-dimensional arrays)
// Other types cannot be archived (CNotSupportedException when storing, CArchiveException when
// an image names one).
#pragma once

#include "COleDateTime.h"

class CByteArray;

typedef const VARIANT* LPCVARIANT;

class COleVariant : public tagVARIANT {
public:
    COleVariant();
    COleVariant(const VARIANT& varSrc);
    COleVariant(LPCVARIANT pSrc);
    COleVariant(const COleVariant& varSrc);
    COleVariant(LPCTSTR lpszSrc);
    COleVariant(const CString& strSrc);
    COleVariant(BYTE nSrc);
    // vtSrc VT_I2 or VT_BOOL.
    COleVariant(short nSrc, VARTYPE vtSrc = VT_I2);
    // vtSrc VT_I4, VT_ERROR or VT_BOOL.
    COleVariant(long lSrc, VARTYPE vtSrc = VT_I4);
    COleVariant(float fltSrc);
    COleVariant(double dblSrc);
    COleVariant(const COleDateTime& timeSrc);
    // A one-dimensional array of bytes (VT_ARRAY | VT_UI1).
    COleVariant(const CByteArray& arrSrc);
    ~COleVariant();

    void Clear();
    // Converts (a copy of pSrc, or this variant) to vartype; throws COleException on failure.
    void ChangeType(VARTYPE vartype, LPVARIANT pSrc = NULL);
    void Attach(VARIANT& varSrc);
    VARIANT Detach();
    // The bytes of an array variant; throws COleException for a variant that holds no array.
    void GetByteArrayFromVariantArray(CByteArray& bytes);

    // Same type and same value (strings and byte arrays by content).
    bool operator==(const COleVariant& varSrc) const;
    bool operator==(const VARIANT& varSrc) const;
    bool operator==(LPCVARIANT pSrc) const;

    const COleVariant& operator=(const VARIANT& varSrc);
    const COleVariant& operator=(LPCVARIANT pSrc);
    const COleVariant& operator=(const COleVariant& varSrc);
    const COleVariant& operator=(LPCTSTR lpszSrc);
    const COleVariant& operator=(const CString& strSrc);
    const COleVariant& operator=(BYTE nSrc);
    // Keep VT_BOOL (or VT_ERROR for long) when the variant has that type, else VT_I2 / VT_I4.
    const COleVariant& operator=(short nSrc);
    const COleVariant& operator=(long lSrc);
    const COleVariant& operator=(float fltSrc);
    const COleVariant& operator=(double dblSrc);
    const COleVariant& operator=(const COleDateTime& dateSrc);
    const COleVariant& operator=(const CByteArray& arrSrc);

    operator LPVARIANT() { return this; }
    operator LPCVARIANT() const { return this; }
};

CArchive& AFXAPI operator<<(CArchive& ar, const COleVariant& varSrc);
CArchive& AFXAPI operator>>(CArchive& ar, COleVariant& varSrc);
