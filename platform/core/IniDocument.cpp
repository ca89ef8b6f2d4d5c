#include "platform/core/IniDocument.h"

namespace {

enum class LineKind { Other, Comment, Section, Key };

struct ParsedLine {
    LineKind kind = LineKind::Other;
    AnsiString name;   // section or key name, trimmed
    AnsiString value;  // key value, trimmed, quotes not yet stripped
};

ParsedLine Parse(std::string_view line)
{
    ParsedLine p;
    AnsiString text = Trim(line);
    if (text.empty())
        return p;
    if (text[0] == ';') {
        p.kind = LineKind::Comment;
    } else if (text[0] == '[') {
        p.kind = LineKind::Section;
        size_t close = text.find(']');
        p.name = Trim(std::string_view(text).substr(1, close == std::string::npos ? std::string::npos : close - 1));
    } else {
        int eq = AnsiPos("=", text);
        if (eq > 0) {
            p.kind = LineKind::Key;
            p.name = Trim(std::string_view(text).substr(0, static_cast<size_t>(eq - 1)));
            p.value = Trim(std::string_view(text).substr(static_cast<size_t>(eq)));
        }
    }
    return p;
}

// The index key of a name: names match without regard to the case of ASCII letters.
AnsiString Folded(std::string_view name) { return UpperCase(Trim(name)); }

bool IsBlank(std::string_view line)
{
    for (char c : line)
        if (static_cast<unsigned char>(c) > ' ')
            return false;
    return true;
}

}  // namespace

void TIniDocument::Section::IndexKeys()
{
    keys.clear();
    for (size_t i = 1; i < lines.size(); ++i)
        if (ParsedLine p = Parse(lines[i]); p.kind == LineKind::Key)
            keys.emplace(Folded(p.name), i);
}

void TIniDocument::IndexSections()
{
    first_.clear();
    for (size_t i = 0; i < sections_.size(); ++i)
        first_.emplace(Folded(sections_[i].name), i);
}

void TIniDocument::Clear()
{
    preamble_.clear();
    sections_.clear();
    first_.clear();
}

void TIniDocument::Load(std::string_view text)
{
    Clear();
    for (size_t p = 0; p < text.size();) {
        AnsiString line(TakeLine(text, p));
        ParsedLine parsed = Parse(line);
        if (parsed.kind == LineKind::Section) {
            first_.emplace(Folded(parsed.name), sections_.size());
            sections_.push_back({std::move(parsed.name), {std::move(line)}, {}});
        } else if (sections_.empty()) {
            preamble_.push_back(std::move(line));
        } else {
            Section& section = sections_.back();
            if (parsed.kind == LineKind::Key)
                section.keys.emplace(Folded(parsed.name), section.lines.size());
            section.lines.push_back(std::move(line));
        }
    }
}

std::string TIniDocument::Text() const
{
    std::string out;
    const auto add = [&out](const std::vector<AnsiString>& lines) {
        for (const AnsiString& line : lines) {
            out += line;
            out += "\r\n";
        }
    };
    add(preamble_);
    for (const Section& section : sections_)
        add(section.lines);
    return out;
}

const TIniDocument::Section* TIniDocument::Find(std::string_view section) const
{
    auto it = first_.find(Folded(section));
    return it == first_.end() ? nullptr : &sections_[it->second];
}

std::optional<AnsiString> TIniDocument::Value(std::string_view section, std::string_view ident) const
{
    const Section* s = Find(section);
    if (!s)
        return std::nullopt;
    auto key = s->keys.find(Folded(ident));
    if (key == s->keys.end())
        return std::nullopt;
    return Parse(s->lines[key->second]).value;
}

bool TIniDocument::HasSection(std::string_view section) const { return Find(section) != nullptr; }

bool TIniDocument::HasKey(std::string_view section, std::string_view ident) const
{
    const Section* s = Find(section);
    return s && s->keys.contains(Folded(ident));
}

std::vector<AnsiString> TIniDocument::KeyNames(std::string_view section) const
{
    std::vector<AnsiString> names;
    if (const Section* s = Find(section))
        for (size_t i = 1; i < s->lines.size(); ++i)
            if (ParsedLine p = Parse(s->lines[i]); p.kind == LineKind::Key)
                names.push_back(std::move(p.name));
    return names;
}

std::vector<AnsiString> TIniDocument::SectionNames() const
{
    std::vector<AnsiString> names;
    for (const Section& section : sections_)
        names.push_back(section.name);
    return names;
}

void TIniDocument::Set(const AnsiString& section, const AnsiString& ident, const AnsiString& value)
{
    AnsiString line = ident + "=" + value;
    auto found = first_.find(Folded(section));
    if (found == first_.end()) {
        first_.emplace(Folded(section), sections_.size());
        sections_.push_back({section, {"[" + section + "]", std::move(line)}, {{Folded(ident), 1}}});
        return;
    }
    Section& s = sections_[found->second];
    if (auto key = s.keys.find(Folded(ident)); key != s.keys.end()) {
        s.lines[key->second] = std::move(line);
        return;
    }
    // After the section's last non-blank line, so a blank line before the next section stays;
    // only blank lines move, so no key's line changes.
    size_t at = s.lines.size();
    while (at > 1 && IsBlank(s.lines[at - 1]))
        --at;
    s.lines.insert(s.lines.begin() + static_cast<std::ptrdiff_t>(at), std::move(line));
    s.keys.emplace(Folded(ident), at);
}

bool TIniDocument::DeleteKey(std::string_view section, std::string_view ident)
{
    auto found = first_.find(Folded(section));
    if (found == first_.end())
        return false;
    Section& s = sections_[found->second];
    auto key = s.keys.find(Folded(ident));
    if (key == s.keys.end())
        return false;
    s.lines.erase(s.lines.begin() + static_cast<std::ptrdiff_t>(key->second));
    s.IndexKeys();  // a later key of the same name, if any, now counts
    return true;
}

bool TIniDocument::EraseSection(std::string_view section)
{
    auto found = first_.find(Folded(section));
    if (found == first_.end())
        return false;
    sections_.erase(sections_.begin() + static_cast<std::ptrdiff_t>(found->second));
    IndexSections();
    return true;
}
