#include "tools/ctlrun/CtlRunText.h"

#include "tools/scriptrun/ScriptRunText.h"

AnsiString NextWord(std::string_view& line)
{
    size_t start = line.find_first_not_of(" \t");
    if (start == std::string_view::npos) {
        line = {};
        return AnsiString();
    }
    size_t end = line.find_first_of(" \t", start);
    AnsiString word(line.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
    line = end == std::string_view::npos ? std::string_view{} : line.substr(end);
    return word;
}

std::vector<AnsiString> Words(std::string_view line)
{
    std::vector<AnsiString> words;
    for (AnsiString w = NextWord(line); !w.empty(); w = NextWord(line))
        words.push_back(UnescapeText(w));
    return words;
}

AnsiString RestText(std::string_view line)
{
    if (!line.empty() && (line[0] == ' ' || line[0] == '\t'))
        line.remove_prefix(1);
    return UnescapeText(line);
}
