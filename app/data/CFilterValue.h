// One text condition of the data controller's filters (subject, partner): "all" imposes no
// condition; otherwise the value is compared.
#pragma once

#include <afx.h>

class CFilterValue {
public:
    CFilterValue() : m_bAll(TRUE) {}

    // The value to hand to the filter builder: NULL for "all".
    LPCTSTR GetCondition() const { return m_bAll ? NULL : (LPCTSTR)m_strValue; }

    BOOL m_bAll;
    CString m_strValue;
};
