#pragma once
// gridrun's editing directives and readings:
//
//   type TEXT        the rest of the line typed into the focused control, a key press for each
//                    character (\r is Enter, \x1B Escape, \t Tab, \b Backspace), each Hangul
//                    character as an input method's commit
//   ? editor         "editor = CLASS TEXT" for the editor control shown, or "editor = none"
//   ? editorstate    the text editor's state: "editorstate = sel START LENGTH limit N lines N
//                    wrap true|false mask MASK" (byte offsets; lines as laid out), or "none"
//   ? beeps          the beeps so far (through the sound hook)
//   editlink none|inplace|popup [W H] [WANTKEY...]
//                    the grid's custom editor (edCustom cells): a plain edit shown in the cell or
//                    on a W x H popup form, the named WantKey switches set (WantKeyUpDown ...)

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "tools/gridrun/GridRunText.h"

class TGridRun;
class TWinControl;
struct TGridProperty;

void RunType(TGridRun& Run, const std::vector<TGridRunWord>& Words, std::string_view Line);
void RunEditLink(TGridRun& Run, const std::vector<TGridRunWord>& Words, std::string_view Line);
// The readings above, added to the property table.
void AddEditProperties(std::map<std::string, TGridProperty, std::less<>>& Table);
// True for the grid, a control inside it, or a control on its custom editor's popup form: where
// a key typed into the grid goes.
bool InGridOrItsEditor(TGridRun& Run, TWinControl* Control);
// Counts beeps from now on instead of sounding them.
void CountBeeps();
