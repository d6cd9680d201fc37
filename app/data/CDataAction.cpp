#include "CDataAction.h"

#include <afxdisp.h>
#include <string.h>

IMPLEMENT_SERIAL(CDataAction, CDataImage, 1)

CDataAction::CDataAction() : m_nVersion(1), m_bBinary(FALSE), m_nActionType(0) {}

CDataAction::CDataAction(const CDataAction& other) : CDataImage(), m_nVersion(other.m_nVersion)
{
    CopyMembers(other);
}

CDataAction& CDataAction::operator=(const CDataAction& other)
{
    if (this != &other)
        CopyMembers(other);
    return *this;
}

CDataAction::~CDataAction() {}

void CDataAction::CopyMembers(const CDataAction& other)
{
    m_strName = other.m_strName;
    m_bBinary = other.m_bBinary;
    m_strParameter = other.m_strParameter;
    if (other.m_bBinary)
        m_binParameter.Copy(other.m_binParameter);
    else
        m_binParameter.RemoveAll();
    m_nActionType = other.m_nActionType;
}

bool CDataAction::operator==(const CDataAction& other) const
{
    if (m_nVersion != other.m_nVersion || m_strName != other.m_strName || m_bBinary != other.m_bBinary ||
        m_strParameter != other.m_strParameter || m_nActionType != other.m_nActionType)
        return false;
    if (!m_bBinary)
        return true;
    int n = m_binParameter.GetSize();
    return n == other.m_binParameter.GetSize() &&
           (n == 0 || memcmp(m_binParameter.GetData(), other.m_binParameter.GetData(), (size_t)n) == 0);
}

void CDataAction::Store(CArchive& ar)
{
    m_nVersion = 1;
    ar << m_nVersion << m_strName << (LONG)m_bBinary;
    if (m_bBinary)
        ar << COleVariant(m_binParameter);
    else
        ar << m_strParameter;
    ar << m_nActionType;
}

void CDataAction::Load(CArchive& ar)
{
    ar >> m_nVersion >> m_strName >> m_bBinary;
    if (m_bBinary) {
        COleVariant var;
        ar >> var;
        if (var.vt != (VT_ARRAY | VT_UI1))
            AfxThrowArchiveException(CArchiveException::generic);
        var.GetByteArrayFromVariantArray(m_binParameter);
    } else
        ar >> m_strParameter;
    ar >> m_nActionType;
}
