#include "platform/core/CLocaleNumbers.h"

#include <stdlib.h>

locale_t CLocale()
{
    // glibc hands out its built-in C locale for "C": no allocation, nothing to free.
    static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return c;
}

double CStrToD(const char* text, char** end) { return strtod_l(text, end, CLocale()); }

TCLocaleScope::TCLocaleScope() : FPrevious(uselocale(CLocale())) {}

TCLocaleScope::~TCLocaleScope() { uselocale(FPrevious); }
