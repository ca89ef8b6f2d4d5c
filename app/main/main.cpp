// hanmud: the program's entry. It makes the application, the character-book window as the main
// window (the only window made at start) and runs the message loop until that window closes. An
// exception that escapes is shown with the application's exception dialog. No command line is
// read; the environment gives only the data folder (XDG_DATA_HOME, HOME).

#include "app/forms/BooksForm.h"
#include "platform/gui/Application.h"

int main(int argc, char** argv)
{
    try {
        TApplication application(argc, argv);
        application.Initialize();
        application.SetTitle("hanmud");
        TBooksForm* books = nullptr;
        application.CreateForm(books);
        application.Run();
    } catch (const std::exception& e) {
        if (Application)
            Application->ShowException(e);
    }
    return 0;
}
