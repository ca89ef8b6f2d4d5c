#include "platform/gui/FontAlias.h"

#include <cctype>
#include <map>

#include <QFontDatabase>
#include <QStringList>

#include "platform/core/Cp949.h"

namespace {

struct TAlias {
    const char* Windows;  // UTF-8
    const char* English;
    bool Fixed;
    std::vector<std::string> Families;
};

const std::vector<std::string> kGothic = {"NanumGothic", "Baekmuk Gulim", "Baekmuk Dotum", "DejaVu Sans"};
const std::vector<std::string> kGothicFixed = {"NanumGothicCoding", "Baekmuk Gulim", "DejaVu Sans Mono"};
const std::vector<std::string> kMyeongjo = {"NanumMyeongjo", "Baekmuk Batang", "DejaVu Serif"};
const std::vector<std::string> kSans = {"DejaVu Sans", "NanumGothic"};
// Liberation Sans has Arial's metrics, so printed layouts keep their widths.
const std::vector<std::string> kArial = {"Liberation Sans", "DejaVu Sans", "NanumGothic"};
const std::vector<std::string> kMono = {"DejaVu Sans Mono", "NanumGothicCoding"};
const std::vector<std::string> kSerif = {"DejaVu Serif", "NanumMyeongjo"};

const TAlias kAliases[] = {
    {"굴림", "Gulim", false, kGothic},
    {"굴림체", "GulimChe", true, kGothicFixed},
    {"돋움", "Dotum", false, kGothic},
    {"돋움체", "DotumChe", true, kGothicFixed},
    {"바탕", "Batang", false, kMyeongjo},
    {"바탕체", "BatangChe", true, kMyeongjo},
    {"궁서", "Gungsuh", false, kMyeongjo},
    {"궁서체", "GungsuhChe", true, kMyeongjo},
    {"MS Sans Serif", "MS Shell Dlg", false, kSans},
    {"Arial", "Tahoma", false, kArial},
    {"System", "Default", false, kSans},
    {"Courier", "Terminal", true, kMono},
    {"Courier New", "Lucida Console", true, kMono},
    {"Fixedsys", "FixedSys", true, kMono},
    {"Times New Roman", "Times", false, kSerif},
};

bool SameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        unsigned char x = a[i], y = b[i];
        if (x < 0x80 && y < 0x80) {
            if (std::tolower(x) != std::tolower(y))
                return false;
        } else if (x != y) {
            return false;
        }
    }
    return true;
}

// Names arrive as cp949; the table is UTF-8. A name that is plain ASCII is the same in both.
const TAlias* Find(std::string_view name)
{
    const std::string utf8 = Cp949ToUtf8(name);
    for (const TAlias& a : kAliases)
        if (SameName(utf8, a.Windows) || SameName(utf8, a.English) || SameName(name, a.Windows))
            return &a;
    return nullptr;
}

}  // namespace

std::vector<std::string> FontAliasCandidates(std::string_view windowsName)
{
    if (const TAlias* a = Find(windowsName))
        return a->Families;
    std::vector<std::string> v;
    if (!windowsName.empty())
        v.push_back(Cp949ToUtf8(windowsName));
    v.insert(v.end(), kGothic.begin(), kGothic.end());
    return v;
}

bool FontAliasIsFixedPitch(std::string_view windowsName)
{
    const TAlias* a = Find(windowsName);
    return a && a->Fixed;
}

namespace {

// The names looked up since the installed fonts last changed.
std::map<std::string, std::string, std::less<>>& ResolvedFamilies()
{
    static std::map<std::string, std::string, std::less<>> cache;
    return cache;
}

}  // namespace

void ForgetResolvedFontFamilies() { ResolvedFamilies().clear(); }

std::string ResolveFontFamily(std::string_view windowsName)
{
    auto& cache = ResolvedFamilies();
    if (auto it = cache.find(windowsName); it != cache.end())
        return it->second;
    const std::vector<std::string> candidates = FontAliasCandidates(windowsName);
    const QStringList installed = QFontDatabase::families();
    std::string found = candidates.front();
    for (const std::string& c : candidates)
        if (installed.contains(QString::fromStdString(c), Qt::CaseInsensitive)) {
            found = c;
            break;
        }
    // A text may name any number of faces: past the bound the names are looked up afresh.
    if (cache.size() >= kMostResolvedFontFamilies)
        ForgetResolvedFontFamilies();
    cache.emplace(std::string(windowsName), found);
    return found;
}

std::vector<std::string> InstalledFontAliasNames()
{
    const QStringList installed = QFontDatabase::families();
    std::vector<std::string> names;
    for (const TAlias& a : kAliases)
        for (const std::string& family : a.Families)
            if (installed.contains(QString::fromStdString(family), Qt::CaseInsensitive)) {
                names.emplace_back(a.Windows);
                break;
            }
    return names;
}
