// The message boxes of the library: plain boxes; boxes with an extended value, shown the same way
// (the value only reaches the log); and boxes that offer "Diese Meldung nicht mehr anzeigen" and,
// once that was ticked, answer with the key's remembered answer without being shown.
#include "vlCT11.h"

#include <string>

#include "ActivityLog.h"
#include "AnswerScript.h"
#include "CheckBoxMessageBox.h"
#include "Environment.h"
#include "MessageBoxRules.h"
#include "RememberedAnswers.h"

namespace {

struct Answer {
    int id;
    bool dontShowAgain;
};

// Unattended: no window at all. The next scripted entry, else the default button; a style without
// a button set fails as the real box does, and takes no scripted answer.
Answer ScriptedAnswer(UINT style)
{
    Answer answer{DefaultAnswer(style), false};
    if (answer.id != 0) {
        AnswerScript::Entry entry = AnswerScript::Boxes().NextEntry(ReadEnvironment("VLCT11_ANSWERS"));
        if (entry.answer)
            answer = Answer{*entry.answer, entry.dontShowAgain};
    }
    return answer;
}

int PlainBox(HWND owner, const char* text, const char* caption, UINT style, const int* extended)
{
    int answer = IsUnattended() ? ScriptedAnswer(style).id : MessageBoxA(owner, text, caption, style);
    if (extended)
        WriteActivity({"MessageBox", TextField(caption), TextField(text), HexField(style), std::to_string(answer),
                       std::to_string(*extended)});
    else
        WriteActivity({"MessageBox", TextField(caption), TextField(text), HexField(style), std::to_string(answer)});
    return answer;
}

int AutoBox(HWND owner, const char* text, const char* caption, UINT style, const char* keyText, const int* extended)
{
    const std::string key = TextField(keyText);
    int answer;
    const char* how;
    if (std::optional<int> remembered = RememberedAnswers::Find(key)) {
        answer = *remembered;
        how = "remembered";
    } else {
        bool ticked = false;
        if (IsUnattended()) {
            Answer scripted = ScriptedAnswer(style);
            answer = scripted.id;
            ticked = scripted.dontShowAgain;
        } else if (key.empty())
            answer = MessageBoxA(owner, text, caption, style);
        else
            answer = MessageBoxWithCheckBox(owner, text, caption, style, &ticked);
        how = ticked && answer != 0 && RememberedAnswers::Store(key, answer) ? "stored" : "shown";
    }
    if (extended)
        WriteActivity({"MessageBoxAuto", TextField(caption), TextField(text), HexField(style), key,
                       std::to_string(answer), how, std::to_string(*extended)});
    else
        WriteActivity({"MessageBoxAuto", TextField(caption), TextField(text), HexField(style), key,
                       std::to_string(answer), how});
    return answer;
}

} // namespace

VLCT11_API int WINAPI CtlMessageBoxA(HWND owner, const char* text, const char* caption, UINT style)
{
    return PlainBox(owner, text, caption, style, nullptr);
}

VLCT11_API int WINAPI CtlMessageBoxExA(HWND owner, const char* text, const char* caption, UINT style, int extended)
{
    return PlainBox(owner, text, caption, style, &extended);
}

VLCT11_API int WINAPI CtlMessageBoxAutoA(HWND owner, const char* text, const char* caption, UINT style, const char* key)
{
    return AutoBox(owner, text, caption, style, key, nullptr);
}

VLCT11_API int WINAPI CtlMessageBoxExAutoA(HWND owner, const char* text, const char* caption, UINT style,
                                           const char* key, int extended)
{
    return AutoBox(owner, text, caption, style, key, &extended);
}
