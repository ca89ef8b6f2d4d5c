#pragma once
// Numbers read and written as text the way the C locale has them: "." before the decimals and no
// thousand separators, whatever LC_NUMERIC the process took from the desktop (a German desktop
// reads "1.5" as 1 with plain strtod). Scripts, expressions and stored files convert numbers
// through these routines, which never look at the process's locale.

#include <locale.h>

// The C locale, for the routines that take a locale (strtod_l and kin).
locale_t CLocale();

// strtod as the C locale reads: the same syntax (leading blanks, a sign, hexadecimal, "inf" and
// "nan"), the same end pointer, and errno set as strtod sets it (ERANGE when the value overflows
// or underflows).
double CStrToD(const char* text, char** end);

// While it lives, the calling thread reads and writes numbers as the C locale does; for the
// printf family, which has no form that takes a locale. The thread's own locale comes back when
// it goes.
class TCLocaleScope {
public:
    TCLocaleScope();
    ~TCLocaleScope();
    TCLocaleScope(const TCLocaleScope&) = delete;
    TCLocaleScope& operator=(const TCLocaleScope&) = delete;

private:
    locale_t FPrevious;
};
