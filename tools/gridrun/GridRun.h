#pragma once
// What gridrun's parts share: the grid under test on its form, where output goes, and the
// three tables the directives look names up in. Adding a property, an operation or an event is
// one line in its table (GridRunProperties.cpp, GridRunCalls.cpp, GridRunEvents.cpp).

#include <functional>
#include <iosfwd>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "grid/control/CellGrid.h"
#include "platform/gui/Forms.h"

// A directive that cannot run as written: gridrun says so and stops.
class EBadDirective : public std::runtime_error {
    using std::runtime_error::runtime_error;
};

using TWords = std::vector<AnsiString>;

// A property for "set" and "?": how many index words it takes, and its reader and writer
// (null for a property that cannot be set). A writer given a word it cannot read raises
// EBadDirective.
struct TGridProperty {
    int Indexes = 0;
    std::function<std::string(TCellGrid&, const std::vector<int>&)> Get;
    std::function<void(TCellGrid&, const std::vector<int>&, std::string_view)> Set;
};
const std::map<std::string, TGridProperty, std::less<>>& GridProperties();

// An operation for "call": runs with the argument words and returns what it prints after "=".
using TGridOperation = std::function<std::string(TCellGrid&, const TWords&)>;
const std::map<std::string, TGridOperation, std::less<>>& GridOperations();

// One event's printing and answers.
struct TEventState {
    bool Printing = false;
    // Answers: the index words (C then R, "*" any) and the values for the var parameters.
    struct TAnswer {
        TWords Indexes;
        TWords Values;
    };
    std::vector<TAnswer> Answers;
};

class TGridRun;
// Binds (or, when the state neither prints nor answers, unbinds) an event of the grid.
struct TGridEvent {
    int Indexes = 0;
    std::function<void(TGridRun&, TEventState&)> Bind;
};
const std::map<std::string, TGridEvent, std::less<>>& GridEvents();

class TGridRun;
// Painting (GridRunPaint.cpp): the form's client area into a PNG file; one cell painted with what
// its body decided printed.
void SaveFormPng(TGridRun& Run, const AnsiString& File);
void PaintOneCell(TGridRun& Run, int ACol, int ARow);

class TGridRun {
public:
    TGridRun(std::ostream& Out, int Width, int Height);
    ~TGridRun();

    TCellGrid& Grid() { return *FGrid; }
    TForm& Form() { return *FForm; }
    std::ostream& Out() { return FOut; }
    // A new grid on the form; events are bound to it again.
    void NewGrid();
    TEventState& Event(const std::string& Name) { return FEvents[Name]; }
    // The form becomes the active window and the grid takes the focus.
    void Activate();
    void Rebind(const std::string& Name);

private:
    std::ostream& FOut;
    std::unique_ptr<TForm> FForm;
    TCellGrid* FGrid = nullptr;
    std::map<std::string, TEventState> FEvents;
};
