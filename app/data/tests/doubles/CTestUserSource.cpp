#include "CTestUserSource.h"

void CTestUserSource::GetLinkedUsers(CStringList& users) const
{
    users.RemoveAll();
    users.AddTail(const_cast<CStringList*>(&m_linkedUsers));
}

void CTestUserSource::GetResourceNames(CStringList& names) const
{
    names.RemoveAll();
    names.AddTail(const_cast<CStringList*>(&m_resources));
}
