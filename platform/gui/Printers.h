#pragma once
// The framework's printer: the printers the system offers (CUPS, as Qt finds them) and a "PDF
// file" printer whose file the program names, one print job at a time drawn on a canvas in the
// printer's pixels, at the printer's resolution (600 per inch for a PDF file). Font sizes on
// that canvas mean points on paper, and it measures text at that resolution before a job begins
// too, so a layout counted beforehand is the layout printed; a PDF page is A4 and wholly
// printable.

#include <memory>
#include <string>

#include "platform/core/Exceptions.h"
#include "platform/core/StringList.h"
#include "platform/gui/Canvas.h"
#include "platform/gui/CommonDialogs.h"

class QPrinter;
class QPainter;

// "Printer selected is not valid", "Printing in progress", "Printer is not currently printing".
class EPrinter : public Exception {
    using Exception::Exception;
};

enum TPrinterOrientation { poPortrait, poLandscape };

class TPrinter : public TObject {
public:
    TPrinter();
    ~TPrinter() override;
    TPrinter(const TPrinter&) = delete;
    TPrinter& operator=(const TPrinter&) = delete;

    // The printers' names, the system's first and "PDF file" last.
    TStrings* Printers();
    // -1 is the default: the system's default printer, else the PDF file.
    int PrinterIndex() const { return FPrinterIndex; }
    // EPrinter("Printer index out of range") outside -1 .. count - 1; not while printing.
    void SetPrinterIndex(int index);
    TPrinterOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TPrinterOrientation v);
    // The printable page in the canvas's pixels, and its resolution.
    int PageWidth();
    int PageHeight();
    int PixelsPerInch();
    const AnsiString& Title() const { return FTitle; }
    void SetTitle(const AnsiString& v) { FTitle = v; }
    int Copies() const { return FCopies; }
    void SetCopies(int v) { FCopies = v < 1 ? 1 : v; }

    void BeginDoc();
    void NewPage();
    // Finishes the job (a PDF file is written whole or not at all: EPrinter on failure).
    void EndDoc();
    // Drops the job: nothing more is printed and no PDF file is written.
    void Abort();
    bool Printing() const { return FPainter != nullptr; }
    bool Aborted() const { return FAborted; }
    int PageNumber() const { return FPageNumber; }
    // Draws on the page while printing; measures only otherwise.
    TCanvas* Canvas();

    // The Qt printer for the selected printer (dialogs use it).
    QPrinter* QtPrinter();

private:
    bool PdfSelected();
    void Configure();
    void Finish(bool keep);

    std::unique_ptr<TStringList> FPrinters;
    std::unique_ptr<QPrinter> FQtPrinter;
    std::unique_ptr<QPainter> FPainter;
    std::unique_ptr<TCanvas> FCanvas;
    std::string FTempPdf;
    std::string FTargetPdf;
    int FPrinterIndex = -1;
    TPrinterOrientation FOrientation = poPortrait;
    AnsiString FTitle;
    int FCopies = 1;
    bool FAborted = false;
    int FPageNumber = 0;
};

// The program's printer, made on first use.
TPrinter* Printer();
// The "PDF file" printer writes this native path (empty: the PDF printer is not valid).
void SetPrinterPdfFile(const std::string& nativePath);
const std::string& PrinterPdfFile();
extern const char* const kPdfPrinterName;

enum TPrintRange { prAllPages, prSelection, prPageNums };
enum TPrintDialogOption : unsigned { poPrintToFile = 1, poPageNums = 2, poSelection = 4, poDisablePrintToFile = 8 };

// The print dialog: chooses the printer and the pages. The hook's answer may name a printer of
// Printers(), which is selected.
class TPrintDialog : public TCommonDialog {
public:
    using TCommonDialog::TCommonDialog;
    bool Execute() override;
    int Copies = 1;
    int FromPage = 0, ToPage = 0, MinPage = 0, MaxPage = 0;
    unsigned Options = 0;
    TPrintRange PrintRange = prAllPages;
};

// The page setup: printer and orientation.
class TPrinterSetupDialog : public TCommonDialog {
public:
    using TCommonDialog::TCommonDialog;
    bool Execute() override;
};
