// The message boxes of the library.
#include "vlCT11.h"

#include <string>

#include "ActivityLog.h"
#include "AnswerScript.h"
#include "Environment.h"
#include "MessageBoxRules.h"

VLCT11_API int WINAPI CtlMessageBoxA(HWND owner, const char* text, const char* caption, UINT style)
{
    int answer;
    if (IsUnattended()) {
        // No window at all: the next scripted answer, else the default button. A style without
        // a button set fails as the real box does, and takes no scripted answer.
        answer = DefaultAnswer(style);
        if (answer != 0) {
            std::optional<int> scripted = AnswerScript::Boxes().Next(ReadEnvironment("VLCT11_ANSWERS"));
            if (scripted)
                answer = *scripted;
        }
    } else
        answer = MessageBoxA(owner, text, caption, style);
    WriteActivity({"MessageBox", TextField(caption), TextField(text), HexField(style), std::to_string(answer)});
    return answer;
}
