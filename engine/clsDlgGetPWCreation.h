// The password dialog of a new protected table (template DLGGETPWCREATION): the password twice.
// OK with two different texts shows "Die Passwort-Bestätigung ist nicht mit dem Passwort
// identisch..." and keeps the dialog open with the second field emptied; with equal texts (an
// empty password is accepted) it keys the table's cipher. End codes: 1 OK, 2 Cancel.
#pragma once

#include "clsDlgGetPW.h"

class clsDlgGetPWCreation : public clsDlgGetPW {
public:
    clsDlgGetPWCreation(const char* tablePath, clsBlowfish* target);
    ~clsDlgGetPWCreation() override;

protected:
    int OnCommand(int code, HWND control, int id) override;
};
