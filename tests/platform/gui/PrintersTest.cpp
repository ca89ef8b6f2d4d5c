// The PDF printer for real: pages drawn on the printer canvas are read back with poppler's
// pdfinfo and pdftotext.

#include "platform/gui/Printers.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <string>

#include "GuiTestSupport.h"
#include "platform/core/Cp949.h"
#include "platform/gui/MapMode.h"
#include "tests/ProcStatus.h"
#include "tests/platform/core/TempFolder.h"

namespace {

std::string Output(const std::string& command)
{
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return out;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        out.append(buffer, n);
    pclose(pipe);
    return out;
}

class PdfPrinter : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetPrinterPdfFile(pdf);
        TStrings* names = Printer()->Printers();
        Printer()->SetPrinterIndex(names->IndexOf(kPdfPrinterName));
    }
    void TearDown() override
    {
        SetPrinterPdfFile("");
        Printer()->SetPrinterIndex(-1);
    }
    TempFolder folder;
    std::string pdf = folder.File("out put.pdf");
};

}  // namespace

TEST_F(PdfPrinter, TwoPagesOfHangulReadBack)
{
    TPrinter* printer = Printer();
    printer->SetTitle("\xC7\xD1\xB1\xDB");
    printer->BeginDoc();
    TCanvas* canvas = printer->Canvas();
    canvas->Font()->SetName("\xB1\xBC\xB8\xB2");  // 굴림
    canvas->Font()->SetSize(12);
    canvas->TextOut(100, 100, "\xC7\xD1\xB1\xDB\xC6\xE4\xC0\xCC\xC1\xF6");  // 한글페이지
    printer->NewPage();
    canvas->TextOut(100, 100, "\xB5\xCE\xB9\xF8\xC2\xB0");  // 두번째
    EXPECT_EQ(printer->PageNumber(), 2);
    EXPECT_EQ(GetDeviceCaps(canvas, LOGPIXELSX), 600);
    EXPECT_EQ(GetDeviceCaps(canvas, LOGPIXELSY), 600);
    printer->EndDoc();
    EXPECT_FALSE(printer->Printing());
    EXPECT_EQ(printer->PixelsPerInch(), 600);
    EXPECT_NEAR(printer->PageWidth(), 4961, 3);  // A4 (210 mm, 595 points) at 600 pixels per inch
    EXPECT_GT(printer->PageHeight(), printer->PageWidth());

    std::string info = Output("pdfinfo '" + pdf + "' 2>&1");
    EXPECT_NE(info.find("Pages:           2"), std::string::npos) << info;
    std::string text = Output("pdftotext -enc UTF-8 '" + pdf + "' - 2>&1");
    EXPECT_NE(text.find(Cp949ToUtf8("\xC7\xD1\xB1\xDB\xC6\xE4\xC0\xCC\xC1\xF6")), std::string::npos) << text;
    EXPECT_NE(text.find(Cp949ToUtf8("\xB5\xCE\xB9\xF8\xC2\xB0")), std::string::npos) << text;
}

TEST_F(PdfPrinter, AbortedJobLeavesTheOldFile)
{
    TempFolder::Write(pdf, "old");
    Printer()->BeginDoc();
    Printer()->Canvas()->TextOut(10, 10, "x");
    Printer()->Abort();
    EXPECT_TRUE(Printer()->Aborted());
    EXPECT_EQ(TempFolder::Read(pdf), "old");
}

// Fault: a job left open when its printer went (a run that raised, the program ending) read its
// whole temporary PDF back before dropping it; short of memory that raised out of ~TPrinter and
// the program aborted. The job is dropped without reading it, and nothing leaves the destructor.
TEST_F(PdfPrinter, RegressionAPrinterWhoseJobFailedAbortedTheProgram)
{
#if defined(__SANITIZE_ADDRESS__)
    // The Release tree's run is the one where this case cannot skip.
    GTEST_SKIP() << "the address sanitizer maps more than any address-space limit leaves";
#endif
    const std::string temp = folder.File("temp");
    std::filesystem::create_directory(temp);
    std::fflush(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        setenv("TMPDIR", temp.c_str(), 1);
        try {
            TPrinter printer;
            printer.SetPrinterIndex(printer.Printers()->IndexOf(kPdfPrinterName));
            printer.BeginDoc();
            printer.Canvas()->TextOut(100, 100, "page");
            // The job's temporary file is made larger than the memory left to the process.
            for (const auto& entry : std::filesystem::directory_iterator(temp))
                std::filesystem::resize_file(entry.path(), std::uintmax_t{512} << 20);
            // Room for the run's own allocations, not for the file read back whole.
            const rlimit limit{static_cast<rlim_t>(ProcStatusKb("VmSize:")) * 1024 + (std::uintmax_t{192} << 20),
                               RLIM_INFINITY};
            setrlimit(RLIMIT_AS, &limit);
            throw std::runtime_error("the run failed");
        } catch (...) {}
        _exit(std::filesystem::is_empty(temp) ? 0 : 5);
    }
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the job's temporary file was left behind";
    EXPECT_FALSE(std::filesystem::exists(pdf));
}

TEST_F(PdfPrinter, PdfPrinterWithoutAFileIsNotValid)
{
    SetPrinterPdfFile("");
    try {
        Printer()->BeginDoc();
        FAIL() << "printed without a file";
    } catch (const EPrinter& e) {
        EXPECT_STREQ(e.what(), "Printer selected is not valid");
    }
    EXPECT_FALSE(Printer()->Printing());
    EXPECT_THROW(Printer()->EndDoc(), EPrinter);
}

TEST_F(PdfPrinter, PrintDialogHookChoosesThePrinter)
{
    Printer()->SetPrinterIndex(-1);
    TDialogHook old = SetDialogHook([](const TDialogRequest& r) -> std::optional<std::string> {
        return r.Kind == cdPrint ? std::optional<std::string>(kPdfPrinterName) : std::nullopt;
    });
    TPrintDialog dialog(nullptr);
    EXPECT_TRUE(dialog.Execute());
    EXPECT_EQ(Printer()->Printers()->Strings(Printer()->PrinterIndex()), kPdfPrinterName);
    TPrinterSetupDialog setup(nullptr);
    EXPECT_FALSE(setup.Execute());
    SetDialogHook(old);
}
