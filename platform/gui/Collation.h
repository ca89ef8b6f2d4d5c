#pragma once
// The framework's locale comparisons of two cp949 texts, as the Korean user's locale orders
// them: the texts are decoded and compared with Qt's collator for Korean (Hangul in dictionary
// order and before other scripts, lower case before upper case where only case differs).
// <0, 0 or >0.

#include <string_view>

// Case counts.
int AnsiCompareStr(std::string_view S1, std::string_view S2);
// Case is ignored.
int AnsiCompareText(std::string_view S1, std::string_view S2);
