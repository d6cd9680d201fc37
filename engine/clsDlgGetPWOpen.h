// The password dialog of an existing protected table (template DLGGETPWOPEN): OK keys the table's
// cipher with the text entered; whether it is right is decided by the caller (the check block).
// End codes: 1 OK, 2 Cancel.
#pragma once

#include "clsDlgGetPW.h"

class clsDlgGetPWOpen : public clsDlgGetPW {
public:
    clsDlgGetPWOpen(const char* tablePath, clsBlowfish* target);
    ~clsDlgGetPWOpen() override;

protected:
    int OnCommand(int code, HWND control, int id) override;
};
