#include "controls/core/EditFileNames.h"

#include "controls/core/CtrlStrings.h"
#include "platform/core/FileSystem.h"

AnsiString QuoteFileName(const AnsiString& Name)
{
    if (Name.find(' ') != AnsiString::npos && (Name.empty() || Name[0] != '"'))
        return "\"" + Name + "\"";
    return Name;
}

AnsiString ClipFileName(const AnsiString& Text)
{
    if (FileExists(Text))
        return Text;
    AnsiString exe, params;
    SplitCommandLine(Text, exe, params);
    return exe;
}

AnsiString MapDirList(const AnsiString& Text, const std::function<AnsiString(const AnsiString&)>& Convert)
{
    AnsiString out;
    size_t start = 0;
    while (start <= Text.size()) {
        size_t end = Text.find(';', start);
        if (end == AnsiString::npos)
            end = Text.size();
        const AnsiString part = Convert(Text.substr(start, end - start));
        if (!part.empty())
            out += (out.empty() ? "" : ";") + part;
        start = end + 1;
    }
    return out;
}

AnsiString AddDirName(const AnsiString& Text, const AnsiString& Name, bool Multiple)
{
    return !Text.empty() && Multiple ? Text + ";" + Name : Name;
}
