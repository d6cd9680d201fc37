// Test double of the data controller's users: fixed names set by the test.
#pragma once

#include "CDataUserSource.h"

class CTestUserSource : public CDataUserSource {
public:
    CString GetCurrentUser() const override { return m_strCurrentUser; }
    CString GetFilterUser() const override { return m_strFilterUser; }
    void GetLinkedUsers(CStringList& users) const override;
    void GetResourceNames(CStringList& names) const override;

    CString m_strCurrentUser;
    CString m_strFilterUser;
    CStringList m_linkedUsers;
    CStringList m_resources;
};
