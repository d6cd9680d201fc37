#include "afxdisp.h"
#include "afxcoll.h"

#include <string.h>

namespace {

void CopyVariant(VARIANT* pDest, const VARIANT* pSrc)
{
    AfxCheckError(::VariantCopy(pDest, (VARIANT*)pSrc));
}

SAFEARRAY* CreateByteArray(const BYTE* pData, DWORD nCount)
{
    SAFEARRAY* psa = ::SafeArrayCreateVector(VT_UI1, 0, nCount);
    if (psa == NULL)
        AfxThrowMemoryException();
    if (nCount > 0) {
        void* pDest = NULL;
        AfxCheckError(::SafeArrayAccessData(psa, &pDest));
        memcpy(pDest, pData, nCount);
        ::SafeArrayUnaccessData(psa);
    }
    return psa;
}

// Number of elements of an array (all dimensions).
ULONG ElementCount(SAFEARRAY* psa)
{
    ULONG nCount = 1;
    UINT nDims = ::SafeArrayGetDim(psa);
    if (nDims == 0)
        return 0;
    for (UINT i = 1; i <= nDims; ++i) {
        LONG lLower = 0, lUpper = -1;
        ::SafeArrayGetLBound(psa, i, &lLower);
        ::SafeArrayGetUBound(psa, i, &lUpper);
        nCount *= (ULONG)(lUpper - lLower + 1);
    }
    return nCount;
}

} // namespace

COleVariant::COleVariant() { ::VariantInit(this); }

COleVariant::COleVariant(const VARIANT& varSrc)
{
    ::VariantInit(this);
    CopyVariant(this, &varSrc);
}

COleVariant::COleVariant(LPCVARIANT pSrc)
{
    ::VariantInit(this);
    if (pSrc != NULL)
        CopyVariant(this, pSrc);
}

COleVariant::COleVariant(const COleVariant& varSrc) : tagVARIANT()
{
    ::VariantInit(this);
    CopyVariant(this, &varSrc);
}

COleVariant::COleVariant(LPCTSTR lpszSrc)
{
    ::VariantInit(this);
    *this = lpszSrc;
}

COleVariant::COleVariant(const CString& strSrc)
{
    ::VariantInit(this);
    *this = strSrc;
}

COleVariant::COleVariant(BYTE nSrc)
{
    ::VariantInit(this);
    vt = VT_UI1;
    bVal = nSrc;
}

COleVariant::COleVariant(short nSrc, VARTYPE vtSrc)
{
    ::VariantInit(this);
    if (vtSrc == VT_BOOL) {
        vt = VT_BOOL;
        V_BOOL(this) = nSrc ? VARIANT_TRUE : VARIANT_FALSE;
    } else {
        vt = VT_I2;
        iVal = nSrc;
    }
}

COleVariant::COleVariant(long lSrc, VARTYPE vtSrc)
{
    ::VariantInit(this);
    if (vtSrc == VT_BOOL) {
        vt = VT_BOOL;
        V_BOOL(this) = lSrc ? VARIANT_TRUE : VARIANT_FALSE;
    } else if (vtSrc == VT_ERROR) {
        vt = VT_ERROR;
        scode = lSrc;
    } else {
        vt = VT_I4;
        lVal = lSrc;
    }
}

COleVariant::COleVariant(float fltSrc)
{
    ::VariantInit(this);
    vt = VT_R4;
    fltVal = fltSrc;
}

COleVariant::COleVariant(double dblSrc)
{
    ::VariantInit(this);
    vt = VT_R8;
    dblVal = dblSrc;
}

COleVariant::COleVariant(const COleDateTime& timeSrc)
{
    ::VariantInit(this);
    vt = VT_DATE;
    date = timeSrc.m_dt;
}

COleVariant::COleVariant(const CByteArray& arrSrc)
{
    ::VariantInit(this);
    *this = arrSrc;
}

COleVariant::~COleVariant() { ::VariantClear(this); }

void COleVariant::Clear() { AfxCheckError(::VariantClear(this)); }

void COleVariant::ChangeType(VARTYPE vartype, LPVARIANT pSrc)
{
    if (pSrc == NULL)
        pSrc = this;
    if (pSrc != this || vartype != vt)
        AfxCheckError(::VariantChangeType(this, pSrc, 0, vartype));
}

void COleVariant::Attach(VARIANT& varSrc)
{
    Clear();
    memcpy((VARIANT*)this, &varSrc, sizeof(VARIANT));
    varSrc.vt = VT_EMPTY;
}

VARIANT COleVariant::Detach()
{
    VARIANT varResult = *this;
    vt = VT_EMPTY;
    return varResult;
}

void COleVariant::GetByteArrayFromVariantArray(CByteArray& bytes)
{
    if (!(vt & VT_ARRAY) || parray == NULL)
        AfxThrowOleException(DISP_E_TYPEMISMATCH);
    SAFEARRAY* psa = (vt & VT_BYREF) ? *pparray : parray;
    ULONG nBytes = ElementCount(psa) * ::SafeArrayGetElemsize(psa);
    bytes.SetSize((int)nBytes);
    if (nBytes == 0)
        return;
    void* pSrc = NULL;
    AfxCheckError(::SafeArrayAccessData(psa, &pSrc));
    memcpy(bytes.GetData(), pSrc, nBytes);
    ::SafeArrayUnaccessData(psa);
}

bool COleVariant::operator==(const COleVariant& varSrc) const { return *this == (const VARIANT&)varSrc; }

bool COleVariant::operator==(LPCVARIANT pSrc) const { return pSrc != NULL && *this == *pSrc; }

bool COleVariant::operator==(const VARIANT& var) const
{
    if (&var == (const VARIANT*)this)
        return true;
    if (var.vt != vt)
        return false;
    switch (vt) {
    case VT_EMPTY:
    case VT_NULL:
        return true;
    case VT_BOOL:
        return V_BOOL(&var) == V_BOOL(this);
    case VT_UI1:
        return var.bVal == bVal;
    case VT_I2:
        return var.iVal == iVal;
    case VT_I4:
        return var.lVal == lVal;
    case VT_CY:
        return var.cyVal.int64 == cyVal.int64;
    case VT_R4:
        return var.fltVal == fltVal;
    case VT_R8:
        return var.dblVal == dblVal;
    case VT_DATE:
        return var.date == date;
    case VT_ERROR:
        return var.scode == scode;
    case VT_BSTR: {
        UINT n = ::SysStringByteLen(bstrVal);
        return n == ::SysStringByteLen(var.bstrVal) && (n == 0 || memcmp(bstrVal, var.bstrVal, n) == 0);
    }
    case VT_DISPATCH:
    case VT_UNKNOWN:
        return var.punkVal == punkVal;
    case VT_ARRAY | VT_UI1: {
        COleVariant a(*this), b(var);
        CByteArray bytesA, bytesB;
        a.GetByteArrayFromVariantArray(bytesA);
        b.GetByteArrayFromVariantArray(bytesB);
        return bytesA.GetSize() == bytesB.GetSize() &&
               (bytesA.GetSize() == 0 || memcmp(bytesA.GetData(), bytesB.GetData(), bytesA.GetSize()) == 0);
    }
    default:
        return false;
    }
}

const COleVariant& COleVariant::operator=(const VARIANT& varSrc)
{
    if (&varSrc != (const VARIANT*)this)
        CopyVariant(this, &varSrc);
    return *this;
}

const COleVariant& COleVariant::operator=(LPCVARIANT pSrc)
{
    if (pSrc == NULL)
        Clear();
    else if (pSrc != (LPCVARIANT)this)
        CopyVariant(this, pSrc);
    return *this;
}

const COleVariant& COleVariant::operator=(const COleVariant& varSrc)
{
    return *this = (const VARIANT&)varSrc;
}

const COleVariant& COleVariant::operator=(LPCTSTR lpszSrc)
{
    CString str(lpszSrc);
    return *this = str;
}

const COleVariant& COleVariant::operator=(const CString& strSrc)
{
    BSTR bstr = strSrc.AllocSysString();
    Clear();
    vt = VT_BSTR;
    bstrVal = bstr;
    return *this;
}

const COleVariant& COleVariant::operator=(BYTE nSrc)
{
    if (vt != VT_UI1) {
        Clear();
        vt = VT_UI1;
    }
    bVal = nSrc;
    return *this;
}

const COleVariant& COleVariant::operator=(short nSrc)
{
    if (vt == VT_BOOL)
        V_BOOL(this) = nSrc ? VARIANT_TRUE : VARIANT_FALSE;
    else {
        if (vt != VT_I2) {
            Clear();
            vt = VT_I2;
        }
        iVal = nSrc;
    }
    return *this;
}

const COleVariant& COleVariant::operator=(long lSrc)
{
    if (vt == VT_BOOL)
        V_BOOL(this) = lSrc ? VARIANT_TRUE : VARIANT_FALSE;
    else if (vt == VT_ERROR)
        scode = lSrc;
    else {
        if (vt != VT_I4) {
            Clear();
            vt = VT_I4;
        }
        lVal = lSrc;
    }
    return *this;
}

const COleVariant& COleVariant::operator=(float fltSrc)
{
    if (vt != VT_R4) {
        Clear();
        vt = VT_R4;
    }
    fltVal = fltSrc;
    return *this;
}

const COleVariant& COleVariant::operator=(double dblSrc)
{
    if (vt != VT_R8) {
        Clear();
        vt = VT_R8;
    }
    dblVal = dblSrc;
    return *this;
}

const COleVariant& COleVariant::operator=(const COleDateTime& dateSrc)
{
    if (vt != VT_DATE) {
        Clear();
        vt = VT_DATE;
    }
    date = dateSrc.m_dt;
    return *this;
}

const COleVariant& COleVariant::operator=(const CByteArray& arrSrc)
{
    SAFEARRAY* psa = CreateByteArray(arrSrc.GetData(), (DWORD)arrSrc.GetSize());
    Clear();
    vt = VT_ARRAY | VT_UI1;
    parray = psa;
    return *this;
}

CArchive& AFXAPI operator<<(CArchive& ar, const COleVariant& varSrc)
{
    const VARIANT* pSrc = &varSrc;
    ar << (WORD)pSrc->vt;
    switch (pSrc->vt) {
    case VT_EMPTY:
    case VT_NULL:
        return ar;
    case VT_BOOL:
        return ar << (WORD)V_BOOL(pSrc);
    case VT_UI1:
        return ar << pSrc->bVal;
    case VT_I2:
        return ar << (WORD)pSrc->iVal;
    case VT_I4:
        return ar << (LONG)pSrc->lVal;
    case VT_CY:
        ar << (DWORD)pSrc->cyVal.Lo;
        return ar << (LONG)pSrc->cyVal.Hi;
    case VT_R4:
        return ar << pSrc->fltVal;
    case VT_R8:
        return ar << pSrc->dblVal;
    case VT_DATE:
        return ar << pSrc->date;
    case VT_ERROR:
        return ar << (LONG)pSrc->scode;
    case VT_BSTR:
        return ar << CString(pSrc->bstrVal);
    case VT_ARRAY | VT_UI1: {
        CByteArray bytes;
        const_cast<COleVariant&>(varSrc).GetByteArrayFromVariantArray(bytes);
        ar.WriteCount((DWORD)bytes.GetSize());
        ar.Write(bytes.GetData(), (UINT)bytes.GetSize());
        return ar;
    }
    default:
        AfxThrowNotSupportedException();
    }
}

CArchive& AFXAPI operator>>(CArchive& ar, COleVariant& varSrc)
{
    varSrc.Clear();
    WORD wType;
    ar >> wType;
    VARIANT* pDest = &varSrc;
    switch (wType) {
    case VT_EMPTY:
    case VT_NULL:
        break;
    case VT_BOOL: {
        WORD w;
        ar >> w;
        V_BOOL(pDest) = (VARIANT_BOOL)w;
        break;
    }
    case VT_UI1:
        ar >> pDest->bVal;
        break;
    case VT_I2: {
        WORD w;
        ar >> w;
        pDest->iVal = (SHORT)w;
        break;
    }
    case VT_I4: {
        LONG l;
        ar >> l;
        pDest->lVal = l;
        break;
    }
    case VT_CY: {
        DWORD dwLo;
        LONG lHi;
        ar >> dwLo >> lHi;
        pDest->cyVal.Lo = dwLo;
        pDest->cyVal.Hi = lHi;
        break;
    }
    case VT_R4:
        ar >> pDest->fltVal;
        break;
    case VT_R8:
        ar >> pDest->dblVal;
        break;
    case VT_DATE:
        ar >> pDest->date;
        break;
    case VT_ERROR: {
        LONG l;
        ar >> l;
        pDest->scode = l;
        break;
    }
    case VT_BSTR: {
        CString str;
        ar >> str;
        pDest->bstrVal = str.AllocSysString();
        break;
    }
    case VT_ARRAY | VT_UI1: {
        DWORD nCount = ar.ReadCount();
        ar.CheckCount(nCount, 1);
        CByteArray bytes;
        bytes.SetSize((int)nCount);
        if (nCount > 0 && ar.Read(bytes.GetData(), nCount) != nCount)
            AfxThrowArchiveException(CArchiveException::endOfFile);
        pDest->parray = CreateByteArray(bytes.GetData(), nCount);
        break;
    }
    default:
        AfxThrowArchiveException(CArchiveException::generic);
    }
    pDest->vt = wType;
    return ar;
}
