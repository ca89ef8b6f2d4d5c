#include "tools/gridrun/GridRunPrint.h"

#include <QImage>

#include <ostream>

#include "platform/gui/Bitmap.h"
#include "platform/gui/Printers.h"
#include "tools/gridrun/GridRun.h"
#include "tools/gridrun/GridRunValues.h"

namespace {

int Size(const TGridRunWord& Word)
{
    int v = 0;
    if (!ParseInt(Word.Text, v) || v <= 0 || v > 8192)
        throw EBadDirective("not a picture size: " + Escape(Word.Text));
    return v;
}

// A white picture the grid draws into with Paint, saved as PNG.
template <class P>
void IntoPicture(TGridRun& Run, const std::vector<TGridRunWord>& Words, const char* Form, P Paint)
{
    if (Words.size() != 4)
        throw EBadDirective(std::string("expected: ") + Form);
    const int w = Size(Words[2]), h = Size(Words[3]);
    TBitmap picture;
    picture.SetSize(w, h);
    picture.Canvas()->Brush()->SetColor(clWhite);
    picture.Canvas()->FillRect(TRect{0, 0, w, h});
    Paint(Run.Grid(), picture.Canvas(), TRect{0, 0, w, h});
    if (!picture.Snapshot().save(QString::fromLocal8Bit(Words[1].Text.c_str()), "PNG"))
        throw Exception("Cannot write " + Words[1].Text);
}

}  // namespace

void RunPrinter(TGridRun& Run, const std::vector<TGridRunWord>& Words, std::string_view Line)
{
    if (Words.size() != 3 || (Words[1].Text != "pdf" && Words[1].Text != "queue"))
        throw EBadDirective("expected: printer pdf FILE or printer queue NAME");
    TPrinter* printer = Printer();
    if (Words[1].Text == "pdf") {
        SetPrinterPdfFile(Words[2].Text);
        printer->SetPrinterIndex(printer->Printers()->IndexOf(kPdfPrinterName));
        return;
    }
    const int index = printer->Printers()->IndexOf(Words[2].Text);
    if (index < 0 || Words[2].Text == kPdfPrinterName)
        throw EPrinter("No print queue " + Words[2].Text);
    printer->SetPrinterIndex(index);
}

void ShowPages(TGridRun& Run, const std::vector<TGridRunWord>& Words)
{
    if (Words.size() != 2)
        throw EBadDirective("expected: ? pages");
    Run.Out() << "pages = " << Run.Grid().PrintState().PageCount << '\n';
}

void RunPreview(TGridRun& Run, const std::vector<TGridRunWord>& Words, std::string_view Line)
{
    IntoPicture(Run, Words, "preview FILE W H", [](TCellGrid& g, TCanvas* c, const TRect& r) { g.PrintPreview(c, r); });
}

void RunDraw(TGridRun& Run, const std::vector<TGridRunWord>& Words, std::string_view Line)
{
    IntoPicture(Run, Words, "draw FILE W H", [](TCellGrid& g, TCanvas* c, const TRect& r) { g.PrintDraw(c, r); });
}
