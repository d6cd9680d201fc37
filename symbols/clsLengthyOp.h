// The progress dialog of the outside controls library ("vlct%02d.dll", already loaded by the
// process), bound at run time and driven through its ILengthyOperationDialog object.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include "LateLoaders.h"
#include "String.h"
#include "clsAutoRelease.h"

// {3CF56E68-1880-53F4-96A3-0060086FEFC9}
extern const CLSID CLSID_LengthyOperationDialog;

struct ILengthyOperationDialog : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE SetOption(long index, VARIANT value) = 0;
    virtual HRESULT STDMETHODCALLTYPE Start(DWORD owner, long reserved, const wchar_t* caption, const wchar_t* message, long mode) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetProgress(const wchar_t* message, long position) = 0;
    virtual HRESULT STDMETHODCALLTYPE Refresh() = 0;
    virtual HRESULT STDMETHODCALLTYPE Finish() = 0;
};

class clsLengthyOp {
public:
    // Finds the controls library, opens its job and starts the dialog (when the library offers
    // one).
    clsLengthyOp(const char* caption, const char* message, DWORD owner, long startValue);
    virtual ~clsLengthyOp();
    clsLengthyOp(const clsLengthyOp&) = delete;
    clsLengthyOp& operator=(const clsLengthyOp&) = delete;

    // The dialog's message (NULL: unchanged) and position (-1: unchanged), then Refresh.
    void Update(const char* message, long position);
    bool HasInterface() const { return m_dialog.m_ptr != nullptr; }
    HMODULE Library() const { return m_ctl.m_module; }

    clsAutoRelease<ILengthyOperationDialog> m_dialog;
    clsCTL m_ctl;
    String m_caption;
    String m_message;
};
