// The progress dialog of a table's maintenance (rebuilding indexes, packing): the controls
// library's abort dialog with a bar (mode 2), owned by the main window, with a caption and a text
// from the string table. A quiet one shows nothing. The dialog's abort button is not consulted:
// the operation runs to its end.
#pragma once

#include <afx.h>

class CDbProgressDialog {
public:
    CDbProgressDialog(BOOL bQuiet, UINT nCaptionId, UINT nTextId);
    // Ends the dialog when it is still shown.
    ~CDbProgressDialog();
    CDbProgressDialog(const CDbProgressDialog&) = delete;
    CDbProgressDialog& operator=(const CDbProgressDialog&) = delete;

    void SetText(LPCTSTR lpszText, int nPercent);
    void End();

private:
    int m_nHandle; // the dialog's handle; negative: none
};
