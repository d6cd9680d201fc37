// The common colour dialog. The colour the user chose is GetColor after DoModal answered IDOK;
// the 16 custom colours are kept for the whole program (GetSavedCustomColors) and shown again
// the next time.
#pragma once

#include "CDialog.h"

#include <commdlg.h>

class CColorDialog : public CDialog {
    DECLARE_DYNAMIC(CColorDialog)
public:
    // With a colour other than 0 the dialog starts on it (CC_RGBINIT).
    explicit CColorDialog(COLORREF clrInit = 0, DWORD dwFlags = 0, CWnd* pParentWnd = NULL);

    CHOOSECOLORA m_cc;

    // IDOK or IDCANCEL (also when the dialog failed; CommDlgExtendedError tells why).
    virtual INT_PTR DoModal();

    COLORREF GetColor() const { return m_cc.rgbResult; }
    // The colour the dialog starts on (before DoModal); while it is up, the colour it shows.
    void SetCurrentColor(COLORREF clr);
    static COLORREF* PASCAL GetSavedCustomColors();
};
