// gridrun's painting directives: "png FILE" writes the form's client area as a PNG, and
// "paint C R" paints one cell and prints what the cell body decided: its brush and font colour
// and each text it drew.

#include <QImage>
#include <QWidget>

#include "platform/gui/Application.h"
#include "tools/gridrun/GridRun.h"
#include "tools/gridrun/GridRunText.h"
#include "tools/gridrun/GridRunValues.h"

void SaveFormPng(TGridRun& Run, const AnsiString& File)
{
    Application->ProcessMessages();
    QWidget* w = Run.Form().Handle();
    const QImage shot = w->grab(QRect(0, 0, Run.Form().ClientWidth(), Run.Form().ClientHeight())).toImage();
    if (!shot.save(QString::fromLocal8Bit(File.c_str()), "PNG"))
        throw Exception("Cannot write " + File);
}

void PaintOneCell(TGridRun& Run, int ACol, int ARow)
{
    TCellGrid& g = Run.Grid();
    Run.Out() << "paint " << ACol << ' ' << ARow << " = ";
    if (g.CellRect(ACol, ARow).IsEmpty()) {
        Run.Out() << "out of view\n";
        return;
    }
    TCellGrid::TPaintTrace trace;
    g.PaintTrace = &trace;
    try {
        g.PaintCell(ACol, ARow);
    } catch (...) {
        g.PaintTrace = nullptr;
        throw;
    }
    g.PaintTrace = nullptr;
    Run.Out() << ColorText(trace.Brush) << ' ' << ColorText(trace.FontColor) << '\n';
    for (const TCellGrid::TPaintTrace::TText& text : trace.Texts)
        Run.Out() << text.Kind << ' ' << Escape(text.Text) << '\n';
}
