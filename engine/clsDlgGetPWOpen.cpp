#include "clsDlgGetPWOpen.h"

clsDlgGetPWOpen::clsDlgGetPWOpen(const char* tablePath, clsBlowfish* target)
    : clsDlgGetPW("DLGGETPWOPEN", tablePath, target)
{
}

clsDlgGetPWOpen::~clsDlgGetPWOpen() = default;

int clsDlgGetPWOpen::OnCommand(int code, HWND control, int id)
{
    if (id == IDOK) {
        String password;
        ReadPassword(101, password);
        m_target->SetKey(password);
        Wipe(password);
    }
    return clsDialog::OnCommand(code, control, id);
}
