#include "clsDlgGetPW.h"

#include "Job.h"
#include "vlCT11.h"

namespace {

const int kTextItem = 100;
const int kPasswordItems[] = {101, 102};
const int kPasswordLimit = 72;

} // namespace

HMODULE _db_resource_module() { return g_EngineModule ? g_EngineModule : GetModuleHandleA(nullptr); }

clsDlgGetPW::clsDlgGetPW(const char* templateName, const char* tablePath, clsBlowfish* target)
    : clsDialog(_db_resource_module(), templateName, GetActiveWindow(), _db_resource_module(), 0, 0, true),
      m_target(target), m_tablePath(tablePath ? tablePath : "")
{
    CtlJobOpen();
}

clsDlgGetPW::~clsDlgGetPW() { CtlJobClose(); }

int clsDlgGetPW::OnInitDialog(HWND focus)
{
    String format;
    GetItemText(kTextItem, format);
    SetItemText(kTextItem, String::Printf(format, (const char*)m_tablePath));
    for (int id : kPasswordItems)
        if (GetItem(id, false))
            LimitItemText(id, kPasswordLimit);
    return clsDialog::OnInitDialog(focus);
}

void clsDlgGetPW::ReadPassword(int id, String& text) { GetItemText(id, text); }

void clsDlgGetPW::Wipe(String& text)
{
    if (unsigned length = text.GetLength())
        SecureZeroMemory(text.GetBuffer(length), length);
    text.Empty();
}
