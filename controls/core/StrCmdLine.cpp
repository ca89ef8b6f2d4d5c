#include <fstream>
#include <iterator>

#include "controls/core/StrUtils.h"

namespace {

// This process's parameters, the program first. The bytes are passed on as they came.
std::vector<AnsiString> ProcessParams()
{
    std::ifstream in("/proc/self/cmdline", std::ios::binary);
    std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<AnsiString> params;
    size_t start = 0;
    while (start < all.size()) {
        size_t end = all.find('\0', start);
        if (end == std::string::npos)
            end = all.size();
        params.emplace_back(all, start, end - start);
        start = end + 1;
    }
    return params;
}

}  // namespace

AnsiString GetCmdLineArg(std::string_view name, const TSysCharSet& switchChars, const std::vector<AnsiString>& params)
{
    for (size_t i = 1; i + 1 < params.size(); ++i) {
        const AnsiString& p = params[i];
        if (p.size() > 1 && CharLengthAt(p, 0) == 1 && switchChars.Contains(p[0]) &&
            SameText(std::string_view(p).substr(1), name))
            return params[i + 1];
    }
    return AnsiString();
}

AnsiString GetCmdLineArg(std::string_view name, const TSysCharSet& switchChars)
{
    return GetCmdLineArg(name, switchChars, ProcessParams());
}
