// The built-in action "OXSHEX": opens (or runs) the file or document named by the entry's action
// parameter with its default verb.
#pragma once

#include "CLinkedAction.h"

class COpenFileAction : public CLinkedAction {
public:
    explicit COpenFileAction(CLinkedApplication* pApplication = NULL);

    // 1 when the shell started the file; 0 for an empty parameter or when the shell failed.
    int Execute(HWND hOwner, CLinkedApplication* pApplication, const CDataAppointment& entry) override;
};
