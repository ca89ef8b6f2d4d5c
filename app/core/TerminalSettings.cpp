#include "app/core/TerminalSettings.h"

#include "platform/core/FilePaths.h"

namespace TerminalSettings {

namespace {
constexpr const char* kExtensions[4] = {".han", ".eng", ".spc", ".ksg"};
}  // namespace

TFontList FontListOf(const AnsiString& fileName)
{
    if (fileName.find('~') != AnsiString::npos)
        return flNone;
    const AnsiString extension = ExtractFileExt(fileName);
    for (int i = 0; i < 4; ++i)
        if (extension == kExtensions[i])
            return static_cast<TFontList>(i);
    return flNone;
}

TFontFiles SortFontFiles(const std::vector<AnsiString>& names)
{
    TFontFiles files;
    for (const AnsiString& name : names)
        if (const TFontList list = FontListOf(name); list != flNone)
            files.Lists[list].push_back(name);
    return files;
}

TValues Read(const TCharBooks& entry)
{
    TValues v;
    v.Han = entry.GetHan() != 0;
    v.Alpha = entry.GetAlpha() != 0;
    v.ReConnect = entry.GetReConnect() != 0;
    v.WalkAutoRewind = entry.GetWalkAutoRewind() != 0;
    v.WFCSubString = entry.GetWFCSubString() != 0;
    v.WindowsFont = entry.FontName;
    v.Fg = entry.FgColor;
    v.Bg = entry.BgColor;
    const AnsiString* paths[4] = {&entry.HanFont, &entry.EngFont, &entry.SpcFont, &entry.KsgFont};
    for (int i = 0; i < 4; ++i)
        v.Fonts[i] = ExtractFileName(*paths[i]);
    return v;
}

void Write(const TValues& v, TCharBooks& entry)
{
    entry.SetHan(v.Han);
    entry.SetAlpha(v.Alpha);
    entry.FontName = v.WindowsFont;
    entry.BgColor = v.Bg;
    entry.FgColor = v.Fg;
    entry.SetReConnect(v.ReConnect);
    entry.SetWalkAutoRewind(v.WalkAutoRewind);
    entry.SetWFCSubString(v.WFCSubString);
    AnsiString* paths[4] = {&entry.HanFont, &entry.EngFont, &entry.SpcFont, &entry.KsgFont};
    for (int i = 0; i < 4; ++i)
        *paths[i] = kFontsFolder + v.Fonts[i];
}

}  // namespace TerminalSettings
