#include "MessageBoxRules.h"

std::vector<int> MessageBoxButtons(UINT style)
{
    switch (style & MB_TYPEMASK) {
    case MB_OK:
        return {IDOK};
    case MB_OKCANCEL:
        return {IDOK, IDCANCEL};
    case MB_ABORTRETRYIGNORE:
        return {IDABORT, IDRETRY, IDIGNORE};
    case MB_YESNOCANCEL:
        return {IDYES, IDNO, IDCANCEL};
    case MB_YESNO:
        return {IDYES, IDNO};
    case MB_RETRYCANCEL:
        return {IDRETRY, IDCANCEL};
    case MB_CANCELTRYCONTINUE:
        return {IDCANCEL, IDTRYAGAIN, IDCONTINUE};
    default:
        return {};
    }
}

int DefaultAnswer(UINT style)
{
    std::vector<int> buttons = MessageBoxButtons(style);
    if (buttons.empty())
        return 0;
    size_t index = (style & MB_DEFMASK) >> 8;
    return index < buttons.size() ? buttons[index] : buttons[0];
}
