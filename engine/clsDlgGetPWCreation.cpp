#include "clsDlgGetPWCreation.h"

#include <cstring>

#include "LibMessageBox.h"

namespace {

const int kPassword = 101;
const int kConfirmation = 102;
const UINT IDS_PW_MISMATCH = 112; // "Die Passwort-Bestätigung ist nicht mit dem Passwort identisch..."
const UINT IDS_PW_ERROR = 111;    // "Fehler"
const UINT kMismatchStyle = MB_OK | MB_ICONHAND | MB_TASKMODAL;

} // namespace

clsDlgGetPWCreation::clsDlgGetPWCreation(const char* tablePath, clsBlowfish* target)
    : clsDlgGetPW("DLGGETPWCREATION", tablePath, target)
{
}

clsDlgGetPWCreation::~clsDlgGetPWCreation() = default;

int clsDlgGetPWCreation::OnCommand(int code, HWND control, int id)
{
    if (id != IDOK)
        return clsDialog::OnCommand(code, control, id);
    String password, confirmation;
    ReadPassword(kPassword, password);
    ReadPassword(kConfirmation, confirmation);
    const bool equal = password.GetLength() == confirmation.GetLength() &&
                       std::memcmp((const char*)password, (const char*)confirmation, password.GetLength()) == 0;
    if (!equal) {
        Wipe(password);
        Wipe(confirmation);
        LibMessageBox(nullptr, String::Message(_db_resource_module(), IDS_PW_MISMATCH),
                      String::Message(_db_resource_module(), IDS_PW_ERROR), kMismatchStyle);
        SetItemText(kConfirmation, "");
        SetItemFocus(kConfirmation);
        return 1;
    }
    m_target->SetKey(password);
    Wipe(password);
    Wipe(confirmation);
    return clsDialog::OnCommand(code, control, id);
}
