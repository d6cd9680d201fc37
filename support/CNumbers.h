// Number text in the "C" form (decimal point '.') whatever locale the host program sets: the run
// time is shared with the host, and table files and keys always use the point.
#pragma once

// strtod with the "C" numeric locale.
double CStrToD(const char* text, char** end = nullptr);
// The decimal-point character the run time's printf uses now.
char RunTimeDecimalPoint();
