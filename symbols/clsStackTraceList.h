// The frames of one stack trace in the order of the walk (frame 0, frame 1, the callee of frame
// 1's call, frame 2, ...), handed to the crash handler as IDBGStackTraceList.
#pragma once

#include "DBGHelp.h"
#include "clsRecordList.h"

class clsStackTraceList : public clsRecordList<IDBGStackTraceList, DBGStackTraceItem> {
};
