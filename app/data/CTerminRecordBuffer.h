// The record buffer of the schedule table.
#pragma once

#include "CDbRecordBuffer.h"

class CTerminRecordBuffer : public CDbRecordBuffer {
public:
    explicit CTerminRecordBuffer(CDbTable* pTable);
    virtual ~CTerminRecordBuffer();

    // The change stamp: "L_USER" := the user, "L_DAT" := today ("%d.%m.%Y"); the buffer is
    // modified.
    void StampChange(LPCTSTR lpszUser);
};
