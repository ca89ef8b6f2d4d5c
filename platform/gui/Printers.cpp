#include "platform/gui/Printers.h"

#include <QDir>
#include <QFile>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTemporaryFile>
#include <unistd.h>

#include <utility>

#include "platform/core/AtomicFile.h"
#include "platform/gui/Graphics.h"

const char* const kPdfPrinterName = "PDF file";

namespace {

// A PDF file is printed at the resolution of a common office printer.
constexpr int kPdfPixelsPerInch = 600;

std::unique_ptr<TPrinter> gPrinter;
std::string gPdfFile;

}  // namespace

// The printer's canvas: drawing lands at the printer's resolution, and font sizes mean points on
// paper, while printing and while only measuring.
class TPrinterCanvas : public TCanvas {
public:
    explicit TPrinterCanvas(TPrinter* Printer) : FPrinter(Printer) {}
    // A printer prints at one resolution both ways.
    int PixelsPerInch() override { return FPrinter->PixelsPerInch(); }
    int PixelsPerInchY() override { return FPrinter->PixelsPerInch(); }
    double FontPixelScale() override { return FPrinter->PixelsPerInch() / static_cast<double>(ScreenPixelsPerInch); }

private:
    TPrinter* FPrinter;
};

TPrinter* Printer()
{
    if (!gPrinter)
        gPrinter = std::make_unique<TPrinter>();
    return gPrinter.get();
}

void SetPrinterPdfFile(const std::string& nativePath) { gPdfFile = nativePath; }

const std::string& PrinterPdfFile() { return gPdfFile; }

TPrinter::TPrinter() : FPrinters(std::make_unique<TStringList>()) {}

TPrinter::~TPrinter()
{
    // A job still open when the printer goes (a run that failed, the program ending) is dropped,
    // quietly: nothing may leave a destructor.
    try {
        Abort();
    } catch (...) {}
}

TStrings* TPrinter::Printers()
{
    FPrinters->Clear();
    for (const QString& name : QPrinterInfo::availablePrinterNames())
        FPrinters->Add(QStringToAnsi(name));
    FPrinters->Add(kPdfPrinterName);
    return FPrinters.get();
}

void TPrinter::SetPrinterIndex(int index)
{
    if (Printing())
        throw EPrinter("Printing in progress");
    if (index < -1 || index >= Printers()->Count())
        throw EPrinter("Printer index out of range");
    FPrinterIndex = index;
    FQtPrinter.reset();
}

bool TPrinter::PdfSelected()
{
    TStrings* names = Printers();
    if (FPrinterIndex >= 0)
        return names->Strings(FPrinterIndex) == kPdfPrinterName;
    return QPrinterInfo::defaultPrinterName().isEmpty();
}

QPrinter* TPrinter::QtPrinter()
{
    if (!FQtPrinter) {
        // The device's own resolution: lines and text are placed as finely as it prints.
        FQtPrinter = std::make_unique<QPrinter>(QPrinter::HighResolution);
        if (PdfSelected()) {
            FQtPrinter->setOutputFormat(QPrinter::PdfFormat);
            FQtPrinter->setResolution(kPdfPixelsPerInch);
            FQtPrinter->setPageSize(QPageSize(QPageSize::A4));
            FQtPrinter->setFullPage(true);
        } else if (FPrinterIndex >= 0) {
            FQtPrinter->setPrinterName(AnsiToQString(Printers()->Strings(FPrinterIndex)));
        }
    }
    Configure();
    return FQtPrinter.get();
}

void TPrinter::Configure()
{
    FQtPrinter->setPageOrientation(FOrientation == poLandscape ? QPageLayout::Landscape : QPageLayout::Portrait);
}

void TPrinter::SetOrientation(TPrinterOrientation v)
{
    if (Printing())
        throw EPrinter("Printing in progress");
    FOrientation = v;
    if (FQtPrinter)
        Configure();
}

int TPrinter::PageWidth() { return QtPrinter()->pageLayout().paintRectPixels(PixelsPerInch()).width(); }

int TPrinter::PageHeight() { return QtPrinter()->pageLayout().paintRectPixels(PixelsPerInch()).height(); }

int TPrinter::PixelsPerInch()
{
    const int dpi = QtPrinter()->resolution();
    return dpi > 0 ? dpi : ScreenPixelsPerInch;
}

void TPrinter::BeginDoc()
{
    if (Printing())
        throw EPrinter("Printing in progress");
    QPrinter* printer = QtPrinter();
    bool pdf = PdfSelected();
    if (pdf ? gPdfFile.empty() : QPrinterInfo::printerInfo(printer->printerName()).isNull())
        throw EPrinter("Printer selected is not valid");
    printer->setDocName(AnsiToQString(FTitle));
    printer->setCopyCount(FCopies);
    if (pdf) {
        // Qt writes the PDF itself: into a temporary file, copied over the target at the end.
        QTemporaryFile temp(QDir::tempPath() + QStringLiteral("/hanmud-print-XXXXXX.pdf"));
        temp.setAutoRemove(false);
        if (!temp.open())
            throw EPrinter("Printer selected is not valid");
        FTempPdf = temp.fileName().toStdString();
        FTargetPdf = gPdfFile;
        printer->setOutputFileName(temp.fileName());
    }
    auto painter = std::make_unique<QPainter>();
    if (!painter->begin(printer)) {
        if (!FTempPdf.empty())
            unlink(FTempPdf.c_str());
        FTempPdf.clear();
        throw EPrinter("Printer selected is not valid");
    }
    FPainter = std::move(painter);
    FAborted = false;
    FPageNumber = 1;
    Canvas()->BeginPaint(FPainter.get());
}

void TPrinter::NewPage()
{
    if (!Printing())
        throw EPrinter("Printer is not currently printing");
    FQtPrinter->newPage();
    ++FPageNumber;
}

void TPrinter::EndDoc()
{
    if (!Printing())
        throw EPrinter("Printer is not currently printing");
    Finish(true);
}

void TPrinter::Abort()
{
    if (!Printing())
        return;
    FAborted = true;
    Finish(false);
}

void TPrinter::Finish(bool keep)
{
    // The job is over from here whatever fails below: the painter and the temporary file are
    // taken from the printer first, and the file goes on every way out.
    Canvas()->EndPaint();
    const std::unique_ptr<QPainter> painter = std::move(FPainter);
    const std::string temp = std::exchange(FTempPdf, std::string());
    const std::unique_ptr<const char, void (*)(const char*)> removal(temp.empty() ? nullptr : temp.c_str(),
                                                                     [](const char* path) { unlink(path); });
    if (!keep)
        FQtPrinter->abort();
    painter->end();
    if (temp.empty() || !keep)
        return;
    QFile file(QString::fromStdString(temp));
    bool read = file.open(QIODevice::ReadOnly);
    QByteArray bytes = read ? file.readAll() : QByteArray();
    file.close();
    TWriteResult written = read ? AtomicWriteFile(FTargetPdf, std::string_view(bytes.constData(), bytes.size()))
                                : TWriteResult{false, "Cannot read the printed file"};
    if (!written)
        throw EPrinter(written.Message);
}

TCanvas* TPrinter::Canvas()
{
    if (!FCanvas)
        FCanvas = std::make_unique<TPrinterCanvas>(this);
    return FCanvas.get();
}

// --- Dialogs

namespace {

// OK selects the printer the answer names, when it names one.
bool SelectAnswered(TPrinter* printer, const std::optional<std::string>& answer)
{
    if (!answer)
        return false;
    int index = answer->empty() ? -1 : printer->Printers()->IndexOf(*answer);
    if (index >= 0)
        printer->SetPrinterIndex(index);
    return true;
}

}  // namespace

bool TPrintDialog::Execute()
{
    TPrinter* printer = Printer();
    std::optional<std::string> answer =
        RunDialog({cdPrint, AnsiString(), AnsiString(), AnsiString()}, [&]() -> std::optional<std::string> {
            QPrintDialog dialog(printer->QtPrinter());
            dialog.setMinMax(MinPage, MaxPage);
            if (dialog.exec() != QDialog::Accepted)
                return std::nullopt;
            FromPage = dialog.fromPage();
            ToPage = dialog.toPage();
            PrintRange = FromPage > 0 ? prPageNums : prAllPages;
            return std::string();
        });
    if (!SelectAnswered(printer, answer))
        return false;
    printer->SetCopies(Copies);
    return true;
}

bool TPrinterSetupDialog::Execute()
{
    TPrinter* printer = Printer();
    std::optional<std::string> answer =
        RunDialog({cdPrinterSetup, AnsiString(), AnsiString(), AnsiString()}, [&]() -> std::optional<std::string> {
            QPageSetupDialog dialog(printer->QtPrinter());
            if (dialog.exec() != QDialog::Accepted)
                return std::nullopt;
            printer->SetOrientation(
                printer->QtPrinter()->pageLayout().orientation() == QPageLayout::Landscape ? poLandscape : poPortrait);
            return std::string();
        });
    return SelectAnswered(printer, answer);
}
