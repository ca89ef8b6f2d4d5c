// The book window's status bar. It is made here, apart from the grid: the common controls'
// progress-bar orientation and the grid's print borders both name an enumerator pbHorizontal.

#include "app/forms/BooksForm.h"
#include "platform/gui/ComCtrls.h"

void TBooksForm::CreateStatusBar()
{
    FStatusBar = new TStatusBar(this);
    FStatusBar->SetName("StatusBar1");
    FStatusBar->SetParent(this);
    FStatusBar->SetAlign(alBottom);
    FStatusBar->SetSimplePanel(true);
}
