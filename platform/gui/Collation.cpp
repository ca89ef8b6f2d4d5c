#include "platform/gui/Collation.h"

#include <QCollator>
#include <QLocale>
#include <QString>

#include "platform/core/Cp949.h"

namespace {

// One collator per case rule, made on first use (the GUI thread's).
QCollator& Collator(bool ignoreCase)
{
    static QCollator sensitive = [] {
        QCollator c(QLocale(QLocale::Korean, QLocale::SouthKorea));
        c.setCaseSensitivity(Qt::CaseSensitive);
        return c;
    }();
    static QCollator insensitive = [] {
        QCollator c(QLocale(QLocale::Korean, QLocale::SouthKorea));
        c.setCaseSensitivity(Qt::CaseInsensitive);
        return c;
    }();
    return ignoreCase ? insensitive : sensitive;
}

int Collate(std::string_view a, std::string_view b, bool ignoreCase)
{
    const std::u16string wa = Cp949ToUtf16(a), wb = Cp949ToUtf16(b);
    const int r = Collator(ignoreCase).compare(QStringView(wa), QStringView(wb));
    return r < 0 ? -1 : r > 0 ? 1 : 0;
}

}  // namespace

int AnsiCompareStr(std::string_view S1, std::string_view S2) { return Collate(S1, S2, false); }
int AnsiCompareText(std::string_view S1, std::string_view S2) { return Collate(S1, S2, true); }
