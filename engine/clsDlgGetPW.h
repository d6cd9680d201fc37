// The common part of the two password dialogs of protected tables: a modal dialog of the
// library's own templates (language neutral), owned by the active window, whose text names the
// table and whose edit fields take at most 72 characters. The controls library's job is open for
// as long as the object lives (its window classes draw the templates).
#pragma once

#include "clsBlowfish.h"
#include "clsDialog.h"

class clsDlgGetPW : public clsDialog {
public:
    ~clsDlgGetPW() override;

protected:
    clsDlgGetPW(const char* templateName, const char* tablePath, clsBlowfish* target);
    int OnInitDialog(HWND focus) override;
    // Reads an item's text; the caller wipes it with Wipe once it is used.
    void ReadPassword(int id, String& text);
    static void Wipe(String& text);

    clsBlowfish* m_target;
    String m_tablePath;
};

// The module whose resources hold the library's templates and texts.
HMODULE _db_resource_module();
