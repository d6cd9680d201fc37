#include "DialogAnswers.h"

#include <cstdlib>
#include <mutex>

#include "ActivityLog.h"
#include "AnswerScript.h"
#include "ColorMessages.h"
#include "Environment.h"

namespace {

const char kAnswerCountProperty[] = "vlCT11.DialogAnswers";
const UINT_PTR kMostAnswers = 20;

// The process-wide position in VLCT11_DIALOGS.
class DialogScript {
public:
    DialogAnswer Next(const std::optional<std::string>& value)
    {
        std::lock_guard<std::mutex> guard(m_lock);
        if (value != m_value) {
            m_value = value;
            m_entries = value ? SplitDialogEntries(*value) : std::vector<std::string>();
            m_position = 0;
        }
        if (m_position >= m_entries.size())
            return DialogAnswer{};
        return ParseDialogAnswer(m_entries[m_position++]);
    }

private:
    std::mutex m_lock;
    std::optional<std::string> m_value;
    std::vector<std::string> m_entries;
    size_t m_position = 0;
};

DialogScript s_script;

UINT AnswerMessage()
{
    static const UINT message = RegisterWindowMessageA("vlCT11UnattendedDialogAnswer");
    return message;
}

// Splits at unescaped separators; the escapes stay for the next step.
std::vector<std::string> SplitEscaped(const std::string& text, char separator)
{
    std::vector<std::string> parts(1);
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size()) {
            parts.back() += text[i];
            parts.back() += text[++i];
        } else if (text[i] == separator)
            parts.emplace_back();
        else
            parts.back() += text[i];
    }
    return parts;
}

std::string Unescaped(const std::string& text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size())
            ++i;
        out += text[i];
    }
    return out;
}

bool IsEdit(HWND item)
{
    char name[16] = {};
    GetClassNameA(item, name, sizeof name);
    return lstrcmpiA(name, "Edit") == 0;
}

std::string Caption(HWND window)
{
    char text[512] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

void Answer(HWND dialog)
{
    const UINT_PTR count = (UINT_PTR)GetPropA(dialog, kAnswerCountProperty) + 1;
    SetPropA(dialog, kAnswerCountProperty, (HANDLE)count);
    if (count > kMostAnswers) {
        WriteActivity({"DialogGivenUp", Caption(dialog)});
        EndDialog(dialog, IDCANCEL);
        return;
    }
    const DialogAnswer answer = s_script.Next(ReadEnvironment("VLCT11_DIALOGS"));
    if (answer.keep) {
        WriteActivity({"DialogKept", Caption(dialog)});
        return;
    }
    std::string filled;
    for (const auto& [id, text] : answer.items) {
        HWND item = GetDlgItem(dialog, id);
        if (!item)
            continue;
        std::string value = text;
        if (IsEdit(item)) {
            const size_t limit = (size_t)SendMessageA(item, EM_GETLIMITTEXT, 0, 0);
            if (value.size() > limit)
                value.resize(limit);
        }
        SetWindowTextA(item, value.c_str());
        filled += (filled.empty() ? "" : ",") + std::to_string(id);
    }
    int button = 0;
    if (answer.button)
        button = *answer.button;
    else if (GetDlgItem(dialog, IDCANCEL))
        button = IDCANCEL;
    else if (GetDlgItem(dialog, IDOK))
        button = IDOK;
    WriteActivity({"Dialog", Caption(dialog), std::to_string(button), filled});
    // The next answer waits in the queue: a dialog still open afterwards takes it.
    PostMessageA(dialog, AnswerMessage(), 0, 0);
    if (button)
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), (LPARAM)GetDlgItem(dialog, button));
    else
        SendMessageA(dialog, WM_CLOSE, 0, 0);
}

} // namespace

std::vector<std::string> SplitDialogEntries(const std::string& value) { return SplitEscaped(value, '|'); }

DialogAnswer ParseDialogAnswer(const std::string& entry)
{
    DialogAnswer answer;
    const std::vector<std::string> parts = SplitEscaped(entry, ';');
    std::string first = Unescaped(parts[0]);
    first.erase(0, first.find_first_not_of(' '));
    first.erase(first.find_last_not_of(' ') + 1);
    if (parts.size() == 1 && lstrcmpiA(first.c_str(), "KEEP") == 0) {
        answer.keep = true;
        return answer;
    }
    answer.button = AnswerScript::ParseAnswer(Unescaped(parts[0]));
    for (size_t i = 1; i < parts.size(); ++i) {
        const size_t equals = parts[i].find('=');
        if (equals == std::string::npos)
            continue;
        char* end = nullptr;
        const long id = std::strtol(parts[i].substr(0, equals).c_str(), &end, 10);
        if (equals == 0 || *end != '\0')
            continue;
        answer.items.emplace_back((int)id, Unescaped(parts[i].substr(equals + 1)));
    }
    return answer;
}

LRESULT CALLBACK VlmrDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == AnswerMessage() && message != 0) {
        if (IsUnattended())
            Answer(window);
        return 0;
    }
    if (message == WM_NCDESTROY)
        RemovePropA(window, kAnswerCountProperty);
    if (message >= WM_CTLCOLOREDIT && message <= WM_CTLCOLORSTATIC) {
        // The dialog's answer to the library's message wins; 0 leaves the usual colours.
        const int type = (int)(message - WM_CTLCOLORMSGBOX);
        if (LRESULT brush = SendMessageA(window, CtlColorMessage(type), wParam, lParam))
            return brush;
    }
    const LRESULT result = DefDlgProcA(window, message, wParam, lParam);
    if (message == WM_INITDIALOG && IsUnattended())
        PostMessageA(window, AnswerMessage(), 0, 0);
    return result;
}
