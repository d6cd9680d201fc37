// The user names the data controller knows: the current user, the filter user, the users of the
// linked applications and the resources of the resource list. The data controller implements it;
// record defaults and the user colours read it.
#pragma once

#include <afxcoll.h>

class CDataUserSource {
public:
    virtual ~CDataUserSource() {}

    // The user who runs the program.
    virtual CString GetCurrentUser() const = 0;
    // The user whose entries the views show (empty when none is chosen).
    virtual CString GetFilterUser() const = 0;
    // The users of every linked application, application by application (a name may repeat).
    virtual void GetLinkedUsers(CStringList& users) const = 0;
    // The names of the resource list, in its order.
    virtual void GetResourceNames(CStringList& names) const = 0;
};
