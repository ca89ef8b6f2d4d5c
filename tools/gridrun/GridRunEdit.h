#pragma once
// gridrun's editing directives and readings:
//
//   type TEXT        the rest of the line typed into the focused control, a key press for each
//                    character (\r is Enter, \x1B Escape, \t Tab, \b Backspace), each Hangul
//                    character as an input method's commit
//   ? editor         "editor = CLASS TEXT" for the editor control shown, or "editor = none"
//   ? beeps          the beeps so far (through the sound hook)

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "tools/gridrun/GridRunText.h"

class TGridRun;
struct TGridProperty;

void RunType(TGridRun& Run, const std::vector<TGridRunWord>& Words, std::string_view Line);
// The readings above, added to the property table.
void AddEditProperties(std::map<std::string, TGridProperty, std::less<>>& Table);
// Counts beeps from now on instead of sounding them.
void CountBeeps();
