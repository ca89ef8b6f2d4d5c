// The script editor's page control with its six pages, and its status bar.

#include "app/forms/DriverUnit.h"
#include "platform/gui/ComCtrls.h"

void TDriverForm::CreatePages()
{
    FDriver = new TPageControl(this);
    FDriver->SetName("Driver");
    FDriver->SetParent(this);
    FDriver->SetMultiLine(true);
    FDriver->SetAlign(alClient);
    FDriver->OnChange = [this](TObject*) { DriverPageChange(); };
    for (int page = 0; page < kEditorPageCount; ++page) {
        const TEditorPageLayout& layout = EditorPageLayout(page);
        auto* sheet = new TTabSheet(this);
        sheet->SetName(layout.SheetName);
        sheet->SetCaption(layout.Caption);
        sheet->SetPageControl(FDriver);
        FSheets[static_cast<size_t>(page)] = sheet;
    }
}

void TDriverForm::CreateStatusBar()
{
    FStatusBar = new TStatusBar(this);
    FStatusBar->SetName("StatusBar1");
    FStatusBar->SetParent(this);
    FStatusBar->SetSimplePanel(true);
    FStatusBar->SetAlign(alBottom);
}

int TDriverForm::ActivePageIndex() const { return FDriver->ActivePageIndex(); }

void TDriverForm::SetActivePageIndex(int page) { FDriver->SetActivePageIndex(page); }

void TDriverForm::SetStatusText(const AnsiString& text) { FStatusBar->SetSimpleText(text); }
