// The synchronisation classes.
#pragma once

#include "afx.h"
#include "CSyncObject.h"
#include "CCriticalSection.h"
#include "CMutex.h"
#include "CEvent.h"
#include "CSemaphore.h"
#include "CSingleLock.h"
#include "CMultiLock.h"
