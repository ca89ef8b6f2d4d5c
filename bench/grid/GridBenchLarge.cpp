// A grid of 3 x 3 cells in a 400 x 200 view whose middle cell holds one line of 60 MB (Hangul and
// ASCII words), painted 5 times; the same grid with a cell of 60 bytes is the peer. Then
// SaveToASCII of a grid whose three columns are 100,000 characters wide (one long cell each) and
// whose other cells are short, every cell centred, against the same export left-aligned.

#include "bench/grid/GridBenchLarge.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/grid/GridBenchMeasure.h"
#include "grid/control/CellGrid.h"
#include "platform/gui/Application.h"
#include "platform/gui/Forms.h"

namespace {

// The median of 5 paints of a grid whose middle cell holds Text.
double PaintMs(const AnsiString& Text)
{
    TForm form(nullptr);
    form.SetClientWidth(400);
    form.SetClientHeight(200);
    auto* grid = new TCellGrid(&form);
    grid->SetParent(&form);
    grid->SetAlign(alClient);
    grid->SetColCount(3);
    grid->SetRowCount(3);
    grid->SetCells(1, 1, Text);
    form.Show();
    Application->ProcessMessages();
    std::vector<double> times;
    for (int i = 0; i < 5; ++i)
        times.push_back(Millis([&] {
            grid->Invalidate();
            grid->Update();
        }));
    std::nth_element(times.begin(), times.begin() + 2, times.end());
    return times[2];
}

double AsciiMs(TAlignment Alignment)
{
    TCellGrid grid(nullptr);
    grid.SetColCount(3);
    grid.SetRowCount(100);
    for (int r = 0; r < 100; ++r)
        for (int c = 0; c < 3; ++c)
            grid.SetCells(c, r, r == c ? AnsiString(100000, 'w') : AnsiString("cell"));
    grid.OnGetAlignment = [Alignment](TObject*, int, int, TAlignment& a) { a = Alignment; };
    std::string name = (std::filesystem::temp_directory_path() / "bench-grid-ascii-XXXXXX").string();
    close(mkstemp(name.data()));
    // The fastest of three: the first export also pays for the pages its output first touches.
    double ms = 1e300;
    for (int i = 0; i < 3; ++i)
        ms = std::min(ms, Millis([&] { grid.SaveToASCII(name); }));
    unlink(name.c_str());
    return ms;
}

}  // namespace

void LargeCellMetrics()
{
    AnsiString line;
    const AnsiString words = "\xB0\xA1\xB3\xAA\xB4\xD9 abc ";  // 가나다 abc
    while (line.size() < 60u * 1000 * 1000)
        line += words;
    Metric("grid_paint_short_cell_ms", PaintMs(line.substr(0, 60)));
    const double before = StatusMb("VmHWM:");
    Metric("grid_paint_60mb_cell_ms", PaintMs(line));
    Metric("grid_paint_60mb_cell_peak_mb", StatusMb("VmHWM:") - before);
    Metric("grid_ascii_left_ms", AsciiMs(taLeftJustify));
    Metric("grid_ascii_centred_ms", AsciiMs(taCenter));
}
