#pragma once
// gridrun's input directives: the grid focused, keys, mouse buttons and moves, clicks at cell
// centres, wheel turns and one tick of the window timer. Each goes through the window as the
// user's input does, so the events print as they fire.
//
//   focus                                     activates the form and focuses the grid
//   key KEY [SHIFT]                           a press: down, its character, up; KEY is a
//                                             virtual-key name (VK_DELETE, VK_F2) or a character
//   mouse down|up|move|dbl left|right|middle X Y [SHIFT]   at client pixels
//   click C R, dblclick C R [SHIFT]           at the cell's centre (a click is never a double)
//   wheel N [SHIFT]                           N notches, positive towards the user
//   hint C R                                  the pointer rests on the cell's centre: "hint C R =
//                                             TEXT" for the hint the grid gives there, or "none"
//   tick                                      the 500 ms timer once
//
// SHIFT is a list such as ssShift,ssCtrl,ssAlt.

#include <string>
#include <string_view>
#include <vector>

#include "platform/core/ShiftState.h"
#include "tools/gridrun/GridRunText.h"

class TGridRun;

void RunFocus(TGridRun& Run, const std::vector<TGridRunWord>& Words, std::string_view Line);
void RunKey(TGridRun& Run, const std::vector<TGridRunWord>& Words, std::string_view Line);
void RunMouse(TGridRun& Run, const std::vector<TGridRunWord>& Words, std::string_view Line);
void RunClick(TGridRun& Run, const std::vector<TGridRunWord>& Words, std::string_view Line);
void RunHint(TGridRun& Run, const std::vector<TGridRunWord>& Words, std::string_view Line);
void RunDblClick(TGridRun& Run, const std::vector<TGridRunWord>& Words, std::string_view Line);
void RunWheel(TGridRun& Run, const std::vector<TGridRunWord>& Words, std::string_view Line);
void RunTick(TGridRun& Run, const std::vector<TGridRunWord>& Words, std::string_view Line);

// A shift state as gridrun writes it ("[ssShift,ssCtrl]") and reads it ("ssShift,ssCtrl").
std::string ShiftText(TShiftState Shift);
bool ParseShift(std::string_view Word, TShiftState& Shift);
