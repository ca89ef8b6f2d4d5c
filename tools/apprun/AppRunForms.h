#pragma once
// apprun's directives on the program's windows by class and component name (bodies in
// AppRunForms.cpp). CLASS is a form's class ("TBooksForm"); NAME a component of that form by its
// name, or "@" and its caption.
//
//   start                      the program's entry: the book window made and shown, as hanmud
//                              does; `open I` is then a double click on the book grid's row I+1
//   forms                      FORM class|caption for each visible form
//   click CLASS NAME           a button, check box, label, menu item or action, as a click
//   dblclick CLASS GRID R C    a double click on the grid's cell (column C, row R)
//   grid CLASS GRID            GRID rows cols, then ROW r|cell|cell... for each row
//   set CLASS NAME VALUE       an edit's or memo's text (\r\n for line breaks), a combo box's
//                              text, colour or font
//   check CLASS NAME 0|1       a check box or radio button, as a click would leave it
//   pick CLASS NAME ITEM       a list, combo or radio group item by its text, a radio button, or
//                              a grid row by its number
//   get CLASS NAME             GET NAME|value (text, 0/1, chosen item, grid row, panels, a
//                              hot-key box's key as the menus write it)
//   modal CLASS A ; A ...      a script for the next modal form of that class: set, check, pick,
//                              get, click (without CLASS), hotkey NAME SPEC (a key pressed in
//                              a hot-key box, SPEC as `key` writes it) and close. Every modal form prints
//                              MODAL class|caption, and MODAL OPEN class when it is still open
//                              after its script (or without one); its close box then closes it.
//   answer-file PATH|cancel    the answer of the next file dialog; every file dialog prints
//                              FILE title|folder|filter
//   screen CLASS               the screen of the form's terminal, as `screen` prints it
//   screenshot CLASS FILE      the form as a PNG
//   resize CLASS W H           the form's client area to W x H pixels
//   quit                       closes the book window as the user would (QUIT)
// Printed as it happens: OPEN url for every link handed to the desktop.

#include <vector>

#include "tools/apprun/AppRun.h"

class TCustomForm;
class TCustomTerminal;

void AppRunStart(TAppRun& run, const AnsiString& rest);
void AppRunForms(TAppRun& run, const AnsiString& rest);
void AppRunClick(TAppRun& run, const AnsiString& rest);
void AppRunDblClick(TAppRun& run, const AnsiString& rest);
void AppRunGrid(TAppRun& run, const AnsiString& rest);
void AppRunSet(TAppRun& run, const AnsiString& rest);
void AppRunCheck(TAppRun& run, const AnsiString& rest);
void AppRunPick(TAppRun& run, const AnsiString& rest);
void AppRunGet(TAppRun& run, const AnsiString& rest);
void AppRunModal(TAppRun& run, const AnsiString& rest);
void AppRunAnswerFile(TAppRun& run, const AnsiString& rest);
void AppRunResize(TAppRun& run, const AnsiString& rest);
void AppRunQuit(TAppRun& run, const AnsiString& rest);

// `open I` after `start`: the book window's double click on row I+1. False before `start`.
bool AppRunOpenFromBook(TAppRun& run, int index);
// `screen CLASS` and `screenshot CLASS FILE`: false when rest names no visible form's class.
bool AppRunScreenOfForm(TAppRun& run, const AnsiString& rest);
bool AppRunScreenshotOfForm(TAppRun& run, const AnsiString& rest);

// The first blank-separated word of text (leading blanks skipped); text keeps what follows the
// blank after it.
AnsiString AppRunWord(AnsiString& text);
// text as a number; EAppRunError when it is none.
int AppRunInteger(const AnsiString& text);

// The lines of a terminal's screen from its top through the cursor's line, blanks at their ends
// dropped (what `screen` prints).
std::vector<AnsiString> AppRunScreenLines(const TCustomTerminal& terminal);

// A component of the form by name, or "@" and its caption; EAppRunError when none.
TComponent& AppRunComponent(TCustomForm& form, const AnsiString& name);
// The first visible form of that class; EAppRunError when none.
TCustomForm& AppRunForm(const AnsiString& cls);

// The modal-form and file-dialog hooks of the run (installed after the run's other hooks).
void AppRunInstallFormHooks(TAppRun& run);
void AppRunRemoveFormHooks();
