#include "clsLengthyOp.h"

const CLSID CLSID_LengthyOperationDialog = {0x3CF56E68, 0x1880, 0x53F4, {0x96, 0xA3, 0x00, 0x60, 0x08, 0x6F, 0xEF, 0xC9}};

clsLengthyOp::clsLengthyOp(const char* caption, const char* message, DWORD owner, long startValue)
    : m_caption(caption), m_message(message)
{
    // The controls library the process has loaded, the highest number first.
    for (int n = 20; n >= 10; n--) {
        String name = String::Printf("vlct%02d.dll", n);
        if (GetModuleHandleA(name)) {
            m_ctl.Attach(LoadLibraryA(name));
            break;
        }
    }
    if (auto open = m_ctl.Fn<int(WINAPI*)()>(CtlFn::CtlJobOpen))
        open();
    if (auto create = m_ctl.Fn<HRESULT(WINAPI*)(const CLSID*, void**)>(CtlFn::CtlCreateObject))
        create(&CLSID_LengthyOperationDialog, reinterpret_cast<void**>(&m_dialog.m_ptr));
    if (m_dialog.m_ptr) {
        VARIANT value;
        VariantInit(&value);
        value.vt = VT_I4;
        value.lVal = startValue;
        m_dialog->SetOption(0, value);
        VariantClear(&value);
        String wideCaption = m_caption, wideMessage = m_message;
        m_dialog->Start(owner, 0, wideCaption.ToWide(), wideMessage.ToWide(), 3);
    }
}

clsLengthyOp::~clsLengthyOp()
{
    if (m_dialog.m_ptr) {
        m_dialog->Finish();
        m_dialog->Release();
        m_dialog.m_ptr = nullptr;
    }
    if (auto close = m_ctl.Fn<int(WINAPI*)()>(CtlFn::CtlJobClose))
        close();
}

void clsLengthyOp::Update(const char* message, long position)
{
    if (!m_dialog.m_ptr)
        return;
    if (message) {
        m_message = message;
        m_dialog->SetProgress(m_message.ToWide(), position);
    } else {
        m_dialog->SetProgress(nullptr, position);
    }
    m_dialog->Refresh();
}
