#include "ProgressObject.h"

#include <oleauto.h>

#include <string>

#include "ActivityLog.h"

namespace {

// A BSTR in the ANSI code page; NULL is an empty text.
std::string AnsiText(BSTR text)
{
    if (!text)
        return std::string();
    int wideLength = (int)SysStringLen(text);
    int length = WideCharToMultiByte(CP_ACP, 0, text, wideLength, nullptr, 0, nullptr, nullptr);
    std::string out(length > 0 ? (size_t)length : 0, '\0');
    if (length > 0)
        WideCharToMultiByte(CP_ACP, 0, text, wideLength, out.data(), length, nullptr, nullptr);
    return out;
}

} // namespace

ProgressObject::ProgressObject() = default;

HRESULT STDMETHODCALLTYPE ProgressObject::QueryInterface(REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown)) {
        *out = static_cast<IUnknown*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE ProgressObject::AddRef() { return (ULONG)InterlockedIncrement(&m_references); }

ULONG STDMETHODCALLTYPE ProgressObject::Release()
{
    LONG left = InterlockedDecrement(&m_references);
    if (left == 0)
        delete this;
    return (ULONG)left;
}

HRESULT STDMETHODCALLTYPE ProgressObject::SetValue(int reserved, VARIANT value)
{
    VARIANT number;
    VariantInit(&number);
    HRESULT hr = VariantChangeType(&number, &value, 0, VT_I4);
    if (FAILED(hr))
        return hr;
    m_value = V_I4(&number);
    WriteActivity({"ProgressValue", std::to_string(m_value)});
    if (m_window)
        m_window->SetPercent(m_value);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE ProgressObject::Show(HWND owner, int reserved, BSTR title, BSTR text, int mode)
{
    std::string caption = AnsiText(title);
    std::string line = AnsiText(text);
    WriteActivity({"ProgressShow", caption, line});
    if (m_window) {
        m_window->SetCaption(caption.c_str());
        m_window->SetText(line.c_str());
        return S_OK;
    }
    auto window = std::make_unique<ProgressDialog>(true, false);
    if (!window->Create(owner, caption.c_str(), line.c_str()))
        return E_FAIL;
    window->SetPercent(m_value);
    m_window = std::move(window);
    return S_OK;
}
