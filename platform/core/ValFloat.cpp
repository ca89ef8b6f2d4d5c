#include "platform/core/ValFloat.h"

#include <cmath>
#include <cstdlib>
#include <string>

#include "platform/core/CLocaleNumbers.h"

namespace {

bool Digit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

void Val(std::string_view S, long double& Value, int& Code)
{
    Value = 0;
    size_t i = 0;
    while (i < S.size() && S[i] == ' ')
        ++i;
    const size_t start = i;
    const auto fail = [&](size_t at) { Code = static_cast<int>(at) + 1; };
    if (i < S.size() && (S[i] == '+' || S[i] == '-'))
        ++i;
    size_t digits = 0;
    for (; i < S.size() && Digit(S[i]); ++i)
        ++digits;
    if (i < S.size() && S[i] == '.')
        for (++i; i < S.size() && Digit(S[i]); ++i)
            ++digits;
    if (digits == 0)
        return fail(i);
    if (i < S.size() && (S[i] == 'e' || S[i] == 'E')) {
        ++i;
        if (i < S.size() && (S[i] == '+' || S[i] == '-'))
            ++i;
        if (i >= S.size() || !Digit(S[i]))
            return fail(i);
        while (i < S.size() && Digit(S[i]))
            ++i;
    }
    if (i < S.size())
        return fail(i);
    // The text is a number in the form strtold reads the same way (in the C locale: "." whatever
    // the process's locale says).
    const std::string number(S.substr(start));
    const long double v = strtold_l(number.c_str(), nullptr, CLocale());
    if (std::isinf(v))
        return fail(S.size());
    Value = v;
    Code = 0;
}
