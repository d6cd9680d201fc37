// A text available as narrow and as UTF-16 text. The UTF-16 form is made on first request;
// forms shorter than 64 units or bytes live in the object, longer ones on the heap.
#pragma once

#include <windows.h>

class clsCharsetConversionString {
public:
    // A NULL text is the empty text. codePage 0 means the library's code page.
    explicit clsCharsetConversionString(const char* text, UINT codePage = 0);
    virtual ~clsCharsetConversionString();
    clsCharsetConversionString(const clsCharsetConversionString&) = delete;
    clsCharsetConversionString& operator=(const clsCharsetConversionString&) = delete;

    const wchar_t* GetWide();
    const char* GetNarrow() const { return m_narrow; }

private:
    static const int kInternal = 64;

    wchar_t* m_wide = nullptr;
    char* m_narrow = nullptr;
    wchar_t m_wideBuffer[kInternal];
    char m_narrowBuffer[kInternal];
    UINT m_codePage = 0;
};
