#pragma once
// The Windows font names the program uses, mapped to fonts installed from Debian packages
// (fonts-nanum, fonts-dejavu-core, xfonts-baekmuk), so text looks alike on every machine.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// Installed families to try for a Windows face name, best first (UTF-8 names). The name may be
// cp949 ("굴림") or the English form ("Gulim"); case is ignored. An unknown name gives the name
// itself (as UTF-8) followed by the generic fallbacks.
std::vector<std::string> FontAliasCandidates(std::string_view windowsName);

// Whether a face name is one of the fixed-pitch faces of the table.
bool FontAliasIsFixedPitch(std::string_view windowsName);

// The first candidate that is installed (Qt's font database), or the first candidate when none
// is; the one lookup used whenever a TFont becomes a Qt font. Each name is looked up once until
// the installed fonts change (ForgetResolvedFontFamilies), or until names beyond
// kMostResolvedFontFamilies have been looked up (rich texts name faces of their own: the names
// kept are then forgotten, and looked up again when next asked for).
constexpr size_t kMostResolvedFontFamilies = 1024;
std::string ResolveFontFamily(std::string_view windowsName);
void ForgetResolvedFontFamilies();

// The Windows face names of the table (UTF-8) one of whose fonts is installed, in table order:
// the names a stored setting may hold that still stand for an installed font.
std::vector<std::string> InstalledFontAliasNames();
