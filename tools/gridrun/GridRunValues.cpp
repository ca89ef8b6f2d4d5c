#include "tools/gridrun/GridRunValues.h"

bool ParseInt(std::string_view word, int& out)
{
    if (TryStrToInt(word, out))
        return true;
    TColor color = 0;
    if (!IdentToColor(word, color))
        return false;
    out = color;
    return true;
}

bool ParseBool(std::string_view word, bool& out)
{
    if (word == "1" || SameText(word, "true"))
        out = true;
    else if (word == "0" || SameText(word, "false"))
        out = false;
    else
        return false;
    return true;
}

bool ParseDouble(std::string_view word, double& out)
{
    TFormatSettings point = FormatSettings();
    point.DecimalSeparator = '.';
    return TryStrToFloat(word, out, point);
}

bool ParseFour(std::string_view word, int (&out)[4])
{
    for (int i = 0; i < 4; ++i) {
        const size_t comma = word.find(',');
        if ((comma == std::string_view::npos) != (i == 3) || !TryStrToInt(word.substr(0, comma), out[i]))
            return false;
        word = i == 3 ? std::string_view() : word.substr(comma + 1);
    }
    return true;
}

void ParseList(std::string_view word, TStrings& out)
{
    out.Clear();
    while (!word.empty()) {
        const size_t comma = word.find(',');
        out.Add(AnsiString(word.substr(0, comma)));
        if (comma == std::string_view::npos)
            break;
        word = word.substr(comma + 1);
        if (word.empty())
            out.Add(AnsiString());
    }
}

std::string ListText(const TStrings& list)
{
    std::string out;
    for (int i = 0; i < list.Count(); ++i)
        out += (i ? "," : "") + Escape(list.Strings(i), ",");
    return out;
}

std::string DoubleText(double value) { return Format("%.15g", value); }

std::string ColorText(TColor value) { return ColorToString(value); }
