#include "tools/gridrun/GridRun.h"

TGridRun::TGridRun(std::ostream& Out, int Width, int Height) : FOut(Out), FForm(std::make_unique<TForm>(nullptr))
{
    FForm->SetClientWidth(Width);
    FForm->SetClientHeight(Height);
    // A control behind the grid holds the focus until "focus" gives it to the grid.
    auto* spare = new TCustomControl(FForm.get());
    spare->SetBounds(0, 0, 1, 1);
    spare->SetTabStop(true);
    spare->SetParent(FForm.get());
    NewGrid();
    FForm->Show();
    FForm->FocusControl(spare);
}

TGridRun::~TGridRun() = default;

void TGridRun::NewGrid()
{
    delete FGrid;
    FGrid = new TCellGrid(FForm.get());
    FGrid->SetParent(FForm.get());
    FGrid->SetAlign(alClient);
    for (auto& [name, state] : FEvents)
        Rebind(name);
}

void TGridRun::Rebind(const std::string& Name)
{
    const auto event = GridEvents().find(Name);
    if (event != GridEvents().end())
        event->second.Bind(*this, FEvents[Name]);
}

void TGridRun::Activate()
{
    FForm->Show();
    FForm->BringToFront();
    FGrid->SetFocus();
}
