// Helpers of the class library's tests: archive images as upper-case hexadecimal text (the form
// in which the program stores them) and a probe that records what the library's message box
// showed.
#pragma once

#include <afx.h>

#include <functional>
#include <string>

namespace afxtest {

// Writes with fn into an archive over a memory file and returns the image as hex text.
std::string StoreImage(const std::function<void(CArchive&)>& fn);

// Reads the image given as hex text with fn (an archive over a memory file); returns the number
// of bytes of the image that fn did not consume.
size_t LoadImage(const std::string& hex, const std::function<void(CArchive&)>& fn);

std::string ToHex(const void* p, size_t n);
std::string Repeat(const std::string& s, size_t n);

// Installs itself as the message-box hook for its lifetime; answers every box with m_nAnswer.
class MessageBoxProbe {
public:
    explicit MessageBoxProbe(int nAnswer = IDOK);
    ~MessageBoxProbe();

    int m_nAnswer;
    int m_nCalls = 0;
    std::string m_lastText;
    UINT m_lastType = 0;

private:
    static int AFXAPI Hook(LPCTSTR lpszText, UINT nType, UINT nIDHelp);
    AFX_MESSAGEBOX_HOOK m_pfnPrevious;
};

} // namespace afxtest
