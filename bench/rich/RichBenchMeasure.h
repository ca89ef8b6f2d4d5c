#pragma once
// What the rich benchmark's parts share: a METRIC line, the fastest of a few runs, and a shown
// grid whose first rich cell is Width pixels wide.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>

#include "grid/control/CellGrid.h"
#include "platform/gui/Application.h"
#include "platform/gui/Forms.h"

inline void Metric(const std::string& name, double value)
{
    std::printf("METRIC %s %.3f\n", name.c_str(), value);
    std::fflush(stdout);
}

template <class Run>
double Ms(Run run)
{
    const auto start = std::chrono::steady_clock::now();
    run();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// The fastest of Times runs, in milliseconds (the machine's other work only ever adds); run(i)
// is the i-th.
template <class Run>
double FastestMs(int times, Run run)
{
    double fastest = 1e300;
    for (int i = 0; i < times; ++i)
        fastest = std::min(fastest, Ms([&] { run(i); }));
    return fastest;
}

struct TRichGridForm {
    TForm Form{nullptr};
    TCellGrid* Grid;
    TRichGridForm(int width, int height, int rows) : Grid(new TCellGrid(&Form))
    {
        Form.SetClientWidth(width + 100);
        Form.SetClientHeight(height);
        Grid->SetParent(&Form);
        Grid->SetAlign(alClient);
        Grid->SetColCount(2);
        Grid->SetRowCount(rows);
        Grid->SetColWidths(1, width);
    }
    void Show()
    {
        Form.Show();
        Application->ProcessMessages();
    }
    void Paint()
    {
        Grid->Invalidate();
        Grid->Update();
    }
};
