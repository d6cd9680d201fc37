// Records what the class library's message box was asked to show.
#pragma once

#include <afx.h>

#include <string>
#include <vector>

namespace afxtest {

// Installs itself as the message-box hook for its lifetime; answers every box with m_nAnswer.
class MessageBoxProbe {
public:
    explicit MessageBoxProbe(int nAnswer = IDOK);
    ~MessageBoxProbe();

    int m_nAnswer;
    int m_nCalls = 0;
    std::string m_lastText;
    std::vector<std::string> m_texts; // every text, in order
    UINT m_lastType = 0;
    HWND m_hWndLastOwner = NULL; // the window the last box was to belong to

private:
    static int AFXAPI Hook(LPCTSTR lpszText, UINT nType, UINT nIDHelp);
    AFX_MESSAGEBOX_HOOK m_pfnPrevious;
};

} // namespace afxtest
