// The data controller's linked applications: a locked list that owns its applications and
// deletes them when it is emptied or destroyed.
#pragma once

#include <afxcoll.h>

#include "CLinkedApplication.h"
#include "CLockedList.h"

class CLinkedApplicationList : public CLockedList<CLinkedApplication*, CLinkedApplication*> {
public:
    CLinkedApplicationList();
    ~CLinkedApplicationList() override;

    // Deletes every application and empties the list.
    void DeleteAll();
    // The application with exactly this id, or NULL.
    CLinkedApplication* Find(LPCTSTR lpszId) const;
};
