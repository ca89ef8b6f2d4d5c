#pragma once
// The library's cursors and message texts. At start-up the two cursors go into the screen's
// cursor table and the texts into the string table, where the units load them by number.

#include "platform/core/AnsiString.h"
#include "platform/gui/Controls.h"

// A pointing hand (resource "EX_HANDCUR") and a hand that drags ("EX_DRAGCUR").
constexpr TCursor crHand = 14000;
constexpr TCursor crDragHand = 14001;

// Texts of the string table.
enum : int {
    SCustomizeSpeedbarHint = 61157,
    SCategoriesLabel = 61158,
    SAvailableButtonsLabel = 61159,
    SCustomizeSpeedbar = 61160,
    SNotImplemented = 61257,
    SPrevMonth = 61258,
    SPrevYear = 61259,
    SNextMonth = 61260,
    SNextYear = 61261,
    SDateDlgTitle = 61262,
    SDefaultFilter = 61263,
    SBrowse = 61264
};

// The text of the string table's entry.
AnsiString ResStr(int Ident);

// Registers the texts and cursor pictures and asks for the cursors at start-up (once). Every
// file that includes this header calls it while the program starts, as the unit's
// initialisation ran for every unit that used it.
bool RegisterLibraryResources();
[[maybe_unused]] inline const bool kLibraryResources = RegisterLibraryResources();
