#pragma once
// The text of an INI file held as lines, with an index of its sections and keys, so that a
// look-up or a change costs the same in a file of ten keys as in one of a hundred thousand.
// The reading rules are the profile file's: "[Section]" lines and "Key=Value" lines, names found
// without regard to case (ASCII letters only) and trimmed, the first of duplicate sections and of
// duplicate keys in a section winning. Comments, blank lines and lines the reader does not
// understand are kept where they stand.

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/core/AnsiString.h"

class TIniDocument {
public:
    void Load(std::string_view text);
    void Clear();
    // Every line with CR LF after it.
    std::string Text() const;

    // The trimmed value of the key, quotes not yet stripped; nullopt when absent.
    std::optional<AnsiString> Value(std::string_view section, std::string_view ident) const;
    bool HasSection(std::string_view section) const;
    bool HasKey(std::string_view section, std::string_view ident) const;
    // The key names of the section in file order; every section header in file order.
    std::vector<AnsiString> KeyNames(std::string_view section) const;
    std::vector<AnsiString> SectionNames() const;

    // Names are given trimmed and fit the format (see TIniFile::WriteString). A new key goes
    // after the last line of its section that is not blank; a new section at the end.
    void Set(const AnsiString& section, const AnsiString& ident, const AnsiString& value);
    // False when there was nothing to remove.
    bool DeleteKey(std::string_view section, std::string_view ident);
    bool EraseSection(std::string_view section);

private:
    struct Section {
        AnsiString name;
        std::vector<AnsiString> lines;                // the header first
        std::unordered_map<AnsiString, size_t> keys;  // folded name -> line of its first key
        void IndexKeys();
    };
    const Section* Find(std::string_view section) const;
    void IndexSections();

    std::vector<AnsiString> preamble_;  // lines before the first section
    std::vector<Section> sections_;
    std::unordered_map<AnsiString, size_t> first_;  // folded name -> its first section
};
