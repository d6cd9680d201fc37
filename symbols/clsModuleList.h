// The module records of one symbol-reader object, sorted by load address, handed to the crash
// handler as IDBGModuleList.
#pragma once

#include "DBGHelp.h"
#include "clsRecordList.h"

class clsModuleList : public clsRecordList<IDBGModuleList, DBGModuleItem> {
public:
    // Takes the record (allocated with new) into the list before the first record with a higher
    // load address; records with equal addresses keep their order of arrival.
    void Insert(DBGModuleItem* item);
};
