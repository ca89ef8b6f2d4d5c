#pragma once
// apprun's directives on the character window's commands, the script editor and the button bar
// (bodies in AppRunEditor.cpp).
//
//   actions                    ACTION name|enabled|checked for every action of the window, after
//                              the idle update
//   action NAME                runs the window's action (as its menu item or tool button would)
//   moverow CLASS GRID FROM TO a row of the form's grid dragged from row FROM to row TO
//   buttons                    BUTTON i caption|left|top|down for each button of the window's bar,
//                              then BUTTONS n
// and, in a `modal` script, hotkey NAME SPEC: the key pressed in the form's hot-key box NAME.

#include "tools/apprun/AppRun.h"

class TCustomForm;

void AppRunActions(TAppRun& run, const AnsiString& rest);
void AppRunAction(TAppRun& run, const AnsiString& rest);
void AppRunMoveRow(TAppRun& run, const AnsiString& rest);
void AppRunButtons(TAppRun& run, const AnsiString& rest);
void AppRunModalHotKey(TAppRun& run, TCustomForm& form, const AnsiString& args);
