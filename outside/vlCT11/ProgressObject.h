// The progress object of CtlCreateObject: a small progress window (caption, text, bar) behind
// ICtlProgress. SetValue may come before Show; the value is kept and shown with the window. The
// window goes with the last Release.
#pragma once

#include <memory>

#include "ProgressDialog.h"
#include "vlCT11.h"

class ProgressObject final : public ICtlProgress {
public:
    ProgressObject();

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // Slot 3: the value (converted to a whole number) moves the bar; the first argument is unused.
    HRESULT STDMETHODCALLTYPE SetValue(int reserved, VARIANT value) override;
    // Slot 4: shows the window with title and text, or updates them; owner may be NULL.
    HRESULT STDMETHODCALLTYPE Show(HWND owner, int reserved, BSTR title, BSTR text, int mode) override;

private:
    ~ProgressObject() = default;

    LONG m_references = 1;
    int m_value = 0;
    std::unique_ptr<ProgressDialog> m_window;
};
