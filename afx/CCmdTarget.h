// Base of the classes that receive commands (threads, the application; later windows and
// documents). Command routing is not part of the library yet.
#pragma once

#include "CObject.h"

class CCmdTarget : public CObject {
    DECLARE_DYNAMIC(CCmdTarget)
public:
    CCmdTarget();
    virtual ~CCmdTarget();
};
