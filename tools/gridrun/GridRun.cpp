#include "tools/gridrun/GridRun.h"

TGridRun::TGridRun(std::ostream& Out, int Width, int Height) : FOut(Out), FForm(std::make_unique<TForm>(nullptr))
{
    FForm->SetClientWidth(Width);
    FForm->SetClientHeight(Height);
    NewGrid();
    FForm->Show();
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
