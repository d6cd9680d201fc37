// The record buffer of the schedule table, with the conversion of its row to an appointment and
// back.
#pragma once

#include "CDbRecordBuffer.h"

class CDataAppointment;

class CTerminRecordBuffer : public CDbRecordBuffer {
public:
    explicit CTerminRecordBuffer(CDbTable* pTable);
    virtual ~CTerminRecordBuffer();

    // The change stamp: "L_USER" := the user, "L_DAT" := today ("%d.%m.%Y"); the buffer is
    // modified.
    void StampChange(LPCTSTR lpszUser);

    // The row's values into the appointment. Flags are "1"; TYPE "TD" is a to-do; the pattern
    // and the action are read from their images (an empty field leaves them as they were); empty
    // creation and change dates are null dates; a next occurrence that is no valid date becomes
    // null; MOVERECID "0" is no moved record id. FOOTPRINT, KATEGORIE, APP_DAT2, FLAGS and the
    // pattern copies D_FIRST_OC, D_LAST_OC, T_BEGIN and T_END are not read.
    void GetAppointment(CDataAppointment& appointment);
    // The appointment into the row's values: TYPE "TD" for a to-do (with PRIO, PERCDONE and
    // TODOSTAT), else "AD", "AW", "AM" or "AY" by the pattern type for a series and "AF" for a
    // single appointment; the pattern also as T_BEGIN, T_END, D_FIRST_OC and D_LAST_OC for the
    // index key. Users are written only when set, creation and change dates only when valid.
    // RECORDID and FOOTPRINT are left to the table's stamping write; KATEGORIE, APP_DAT2 and
    // FLAGS are never written.
    void PutAppointment(CDataAppointment& appointment);
};
