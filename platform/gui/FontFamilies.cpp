#include "platform/gui/FontFamilies.h"

#include <QFontDatabase>
#include <QList>
#include <QStringList>

#include "platform/core/Cp949.h"
#include "platform/gui/FontAlias.h"
#include "platform/gui/Graphics.h"

namespace {

TFontFamilyInfo Describe(const QString& family)
{
    TFontFamilyInfo info;
    info.Name = QStringToAnsi(family);
    info.FontType = QFontDatabase::isSmoothlyScalable(family) ? TRUETYPE_FONTTYPE : RASTER_FONTTYPE;
    const QList<QFontDatabase::WritingSystem> systems = QFontDatabase::writingSystems(family);
    if (systems.contains(QFontDatabase::Symbol))
        info.Charset = SYMBOL_CHARSET;
    else if (systems.contains(QFontDatabase::Latin))
        info.Charset = 0;  // ANSI
    else
        info.Charset = 1;  // DEFAULT
    info.PitchAndFamily = QFontDatabase::isFixedPitch(family) ? FIXED_PITCH : VARIABLE_PITCH;
    return info;
}

}  // namespace

std::vector<TFontFamilyInfo> ScreenFontFamilies()
{
    std::vector<TFontFamilyInfo> out;
    for (const QString& family : QFontDatabase::families())
        if (!QFontDatabase::isPrivateFamily(family))
            out.push_back(Describe(family));
    for (const std::string& name : InstalledFontAliasNames()) {
        TFontFamilyInfo info = Describe(QString::fromStdString(ResolveFontFamily(Utf8ToCp949(name))));
        info.Name = Utf8ToCp949(name);
        out.push_back(info);
    }
    return out;
}

std::vector<TFontFamilyInfo> PrinterFontFamilies() { return ScreenFontFamilies(); }
