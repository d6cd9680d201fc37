// The notice that tells companion programs about a written or deleted entry: a WM_COPYDATA
// message (dwData 0, cbData 268) to the first window of the companion's window class, carrying
// this record (little-endian, 268 bytes):
//
//   offset 0    4   size of the record: 268
//   offset 4    256 type name, NUL-terminated, the rest zero: "appointment" or "task"
//   offset 260  4   record id (32-bit signed)
//   offset 264  4   action: 1 changed or created, 2 deleted
//
// The companion reads these bytes in its own process, so their layout is fixed on every
// platform.
#pragma once

#include <windows.h>

#include <stddef.h>

class CCompanionNotice {
public:
    enum Action { actionChanged = 1, actionDeleted = 2 };

    // The record of one notice.
    struct Record {
        INT32 nSize;
        char szType[256];
        INT32 nRecordId;
        INT32 nAction;
    };

    // The window classes of the companions for appointments and for to-dos.
    static constexpr const char* kAppointmentClass = "vlmr_ce_ox_appointment_msgclass";
    static constexpr const char* kTaskClass = "vlmr_ce_ox_task_msgclass";

    // The record for the entry: zeroes, then the size, the type name, the id and the action.
    static Record Make(BOOL bDeleted, long nRecordId, BOOL bTodo);
    // Sends the record to the companion's window, when one exists (its answer is not looked at);
    // wParam is the sender's window (NULL: 0). TRUE when a window was found.
    static BOOL Send(BOOL bDeleted, long nRecordId, BOOL bTodo, HWND hSender);
};

static_assert(sizeof(CCompanionNotice::Record) == 268, "the companion notice is 268 bytes");
static_assert(offsetof(CCompanionNotice::Record, nSize) == 0 && offsetof(CCompanionNotice::Record, szType) == 4 &&
                  offsetof(CCompanionNotice::Record, nRecordId) == 260 &&
                  offsetof(CCompanionNotice::Record, nAction) == 264,
              "the companion notice's fields stand at their fixed offsets");
