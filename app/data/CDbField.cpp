#include "CDbField.h"

CDbField::CDbField() : m_chType(' '), m_nLength(0), m_nDecimals(0), m_wFlags(0), m_nDisplayWidth(0) {}

int CDbField::DisplayWidth(TCHAR chType, int nLength)
{
    switch (chType) {
    case 'D': return nLength + 2;
    case 'M': return 0;
    default: return nLength;
    }
}
