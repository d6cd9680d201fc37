#include "CNumbers.h"

#include <locale.h>
#include <stdlib.h>

namespace {

_locale_t CLocale()
{
    static _locale_t c = _create_locale(LC_NUMERIC, "C");
    return c;
}

} // namespace

double CStrToD(const char* text, char** end)
{
    _locale_t c = CLocale();
    return c ? _strtod_l(text, end, c) : strtod(text, end);
}

char RunTimeDecimalPoint()
{
    const lconv* conv = localeconv();
    return conv && conv->decimal_point && conv->decimal_point[0] ? conv->decimal_point[0] : '.';
}
