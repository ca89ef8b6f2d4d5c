#include "platform/gui/Dialogs.h"

#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "platform/gui/Application.h"
#include "platform/gui/Forms.h"

namespace {

TMessageBoxHook gHook;
int gModalLevel = 0;

std::vector<int> ButtonsOf(unsigned flags)
{
    switch (flags & 0x0F) {
    case MB_OKCANCEL: return {IDOK, IDCANCEL};
    case MB_ABORTRETRYIGNORE: return {IDABORT, IDRETRY, IDIGNORE};
    case MB_YESNOCANCEL: return {IDYES, IDNO, IDCANCEL};
    case MB_YESNO: return {IDYES, IDNO};
    case MB_RETRYCANCEL: return {IDRETRY, IDCANCEL};
    default: return {IDOK};
    }
}

const char* ButtonText(int id)
{
    switch (id) {
    case IDOK: return "OK";
    case IDCANCEL: return "Cancel";
    case IDABORT: return "Abort";
    case IDRETRY: return "Retry";
    case IDIGNORE: return "Ignore";
    case IDYES: return "Yes";
    default: return "No";
    }
}

}  // namespace

TMessageBoxHook SetMessageBoxHook(TMessageBoxHook hook)
{
    TMessageBoxHook old = std::move(gHook);
    gHook = std::move(hook);
    return old;
}

int DefaultMessageBoxResult(unsigned flags)
{
    std::vector<int> buttons = ButtonsOf(flags);
    size_t index = (flags >> 8) & 0x0F;
    return index < buttons.size() ? buttons[index] : buttons.front();
}

int ModalDialogLevel() { return gModalLevel; }

struct TModalScope::TActiveBefore {
    QPointer<QWidget> Window = WindowWithTheKeys();
};

TModalScope::TModalScope() : FActiveBefore(std::make_unique<TActiveBefore>()) { ++gModalLevel; }

TModalScope::~TModalScope()
{
    --gModalLevel;
    ActivateAgain(FActiveBefore->Window);
}

int MessageBox(const AnsiString& text, const AnsiString& caption, unsigned flags)
{
    TModalScope modal;
    if (gHook)
        return gHook(text, caption, flags);
    if (std::getenv("HM_TEST")) {
        std::fprintf(stderr, "MessageBox [%s] %s\n", caption.c_str(), text.c_str());
        return DefaultMessageBoxResult(flags);
    }
    QMessageBox box;
    box.setWindowTitle(AnsiToQString(caption));
    box.setText(AnsiToQString(text));
    switch (flags & 0xF0) {
    case MB_ICONSTOP: box.setIcon(QMessageBox::Critical); break;
    case MB_ICONQUESTION: box.setIcon(QMessageBox::Question); break;
    case MB_ICONEXCLAMATION: box.setIcon(QMessageBox::Warning); break;
    case MB_ICONINFORMATION: box.setIcon(QMessageBox::Information); break;
    default: break;
    }
    std::vector<int> ids = ButtonsOf(flags);
    std::vector<QPushButton*> buttons;
    for (int id : ids) {
        QMessageBox::ButtonRole role =
            (id == IDCANCEL || id == IDNO) ? QMessageBox::RejectRole : QMessageBox::AcceptRole;
        buttons.push_back(box.addButton(QString::fromLatin1(ButtonText(id)), role));
    }
    int defaultId = DefaultMessageBoxResult(flags);
    for (size_t i = 0; i < ids.size(); ++i)
        if (ids[i] == defaultId)
            box.setDefaultButton(buttons[i]);
    box.exec();
    for (size_t i = 0; i < ids.size(); ++i)
        if (box.clickedButton() == buttons[i])
            return ids[i];
    // Closed by the window system.
    for (int id : ids)
        if (id == IDCANCEL)
            return IDCANCEL;
    return ids.size() == 1 ? ids.front() : IDCANCEL;
}

void ShowMessage(const AnsiString& text) { MessageBox(text, Application ? Application->Title() : AnsiString(), MB_OK); }
