#include "platform/gui/FolderBrowser.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QToolButton>
#include <QUrl>
#include <algorithm>
#include <memory>
#include <optional>

#include "platform/core/StoredPath.h"
#include "platform/gui/CommonDialogs.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/Graphics.h"

namespace {

TFolderBrowserDriver gDriver;

// The folder a browser opens in: the given one when it is a folder, else the root.
QString StartFolder(const AnsiString& folder, bool desktopRoot)
{
    const QFileInfo info(QString::fromStdString(NativePath(folder)));
    if (!folder.empty() && info.isDir())
        return QDir::cleanPath(info.absoluteFilePath());
    return desktopRoot ? QDir::homePath() : QDir::rootPath();
}

// A native folder as the program stores it: no trailing separator.
AnsiString ChoiceOf(const QString& native) { return StoredPath(QDir::cleanPath(native).toStdString()); }

void CentreOnScreen(QWidget* window)
{
    const QScreen* screen = window->screen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    const QSize size = window->frameGeometry().size();
    QPoint at = area.center() - QPoint(size.width() / 2, size.height() / 2);
    at.setX(std::max(area.left(), std::min(at.x(), area.right() - size.width())));
    at.setY(std::max(area.top(), std::min(at.y(), area.bottom() - size.height())));
    window->move(at);
}

}  // namespace

struct TFolderBrowser::TRun {
    QFileDialog* Files = nullptr;
    QInputDialog* Computer = nullptr;
    // A report waits for the event that asked for it to end: the dialog passes through states
    // that are no choice (entering a folder clears its name box after the move).
    bool Pending = false;
    bool Finished = false;
    QPushButton* Help = nullptr;

    QDialog* Dialog() const { return Files ? static_cast<QDialog*>(Files) : Computer; }
    AnsiString Choice() const
    {
        if (Files)
            return ChoiceOf(Files->selectedFiles().value(0));
        return Trim(QStringToAnsi(Computer->textValue()));
    }
};

TFolderBrowser::TFolderBrowser() = default;

TFolderBrowser::~TFolderBrowser() = default;

TFolderBrowserDriver SetFolderBrowserDriver(TFolderBrowserDriver Driver)
{
    TFolderBrowserDriver old = std::move(gDriver);
    gDriver = std::move(Driver);
    return old;
}

void TFolderBrowser::Report(const AnsiString& Choice)
{
    if (Choice == FSelection)
        return;
    FSelection = Choice;
    if (OnSelChanged)
        OnSelChanged();
}

bool TFolderBrowser::Execute()
{
    FSelection.clear();
    if (!gDriver && !DialogsShowWindows())
        return RunAnswered();
    TModalScope modal;
    return RunWindow();
}

bool TFolderBrowser::RunAnswered()
{
    const AnsiString start = Computers ? Trim(Folder) : ChoiceOf(StartFolder(Folder, DesktopRoot));
    Report(start);
    if (OnInitialized)
        OnInitialized();
    const TDialogRequest request{Computers ? cdInput : cdDirectory, Caption,
                                 Computers ? AnsiString("Computer") : AnsiString(), Folder};
    const std::optional<std::string> answer = RunDialog(request, [] { return std::nullopt; });
    if (!answer)
        return false;
    const AnsiString chosen = Computers ? Trim(*answer) : ChoiceOf(QString::fromStdString(*answer));
    if (chosen.empty() || (!Computers && answer->empty()))
        return false;
    Report(chosen);
    Folder = chosen;
    return true;
}

bool TFolderBrowser::RunWindow()
{
    TRun run;
    std::unique_ptr<QDialog> owned;
    if (Computers) {
        auto* computer = new QInputDialog(DialogParent());
        owned.reset(computer);
        computer->setWindowTitle(AnsiToQString(Caption));
        computer->setLabelText(QStringLiteral("Computer"));
        computer->setTextValue(AnsiToQString(Folder));
        run.Computer = computer;
        QObject::connect(computer, &QInputDialog::textValueChanged, computer, [this] { ReportLater(); });
    } else {
        auto* files = new QFileDialog(DialogParent(), AnsiToQString(Caption));
        owned.reset(files);
        files->setOption(QFileDialog::DontUseNativeDialog);
        files->setFileMode(QFileDialog::Directory);
        files->setOption(QFileDialog::ShowDirsOnly);
        QList<QUrl> places;
        if (DesktopRoot) {
            places << QUrl::fromLocalFile(QDir::homePath());
            const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
            if (QFileInfo(desktop).isDir())
                places << QUrl::fromLocalFile(desktop);
        }
        places << QUrl::fromLocalFile(QDir::rootPath());
        files->setSidebarUrls(places);
        files->setDirectory(StartFolder(Folder, DesktopRoot));
        run.Files = files;
        QObject::connect(files, &QFileDialog::directoryEntered, files, [this] { ReportLater(); });
        QObject::connect(files, &QFileDialog::currentChanged, files, [this] { ReportLater(); });
    }
    QDialog* dialog = run.Dialog();
    QObject::connect(dialog, &QDialog::finished, dialog, [&run] { run.Finished = true; });
    FRun = &run;
    // Once the dialog shows: placed, its first choice, OnInitialized, then the driver's turn.
    QMetaObject::invokeMethod(
        dialog,
        [this, dialog] {
            if (ScreenCenter)
                CentreOnScreen(dialog);
            FWindow = dialog;
            Report(FRun->Choice());
            if (HelpButton)
                AddHelpButton();
            if (OnInitialized)
                OnInitialized();
            if (const TFolderBrowserDriver driver = gDriver)
                driver(*this);
        },
        Qt::QueuedConnection);
    const bool accepted = dialog->exec() == QDialog::Accepted;
    const AnsiString chosen = run.Choice();
    FRun = nullptr;
    FWindow = nullptr;
    if (!accepted || chosen.empty())
        return false;
    if (!Computers && !QFileInfo(run.Files->selectedFiles().value(0)).isDir())
        return false;
    FSelection = chosen;
    Folder = chosen;
    return true;
}

void TFolderBrowser::ReportLater()
{
    if (!FRun || FRun->Pending)
        return;
    FRun->Pending = true;
    QMetaObject::invokeMethod(
        FRun->Dialog(),
        [this] {
            if (!FRun)
                return;
            FRun->Pending = false;
            if (FWindow)
                Report(FRun->Choice());
        },
        Qt::QueuedConnection);
}

void TFolderBrowser::SetSelection(const AnsiString& Folder)
{
    if (!FRun)
        return;
    if (FRun->Files)
        FRun->Files->setDirectory(QString::fromStdString(NativePath(Folder)));
    else
        FRun->Computer->setTextValue(AnsiToQString(Folder));
    Report(FRun->Choice());
}

void TFolderBrowser::GoToParent()
{
    if (!FRun || !FRun->Files)
        return;
    if (auto* up = FRun->Files->findChild<QToolButton*>(QStringLiteral("toParentButton")); up && up->isEnabled()) {
        up->click();
        return;
    }
    QDir folder = FRun->Files->directory();
    if (folder.cdUp())
        SetSelection(StoredPath(folder.absolutePath().toStdString()));
}

void TFolderBrowser::AddHelpButton()
{
    auto* buttons = FRun->Dialog()->findChild<QDialogButtonBox*>();
    if (!buttons)
        return;
    // The help role keeps the dialog open and places the button where the platform's dialogs
    // have theirs.
    FRun->Help = buttons->addButton(QStringLiteral("&Help"), QDialogButtonBox::HelpRole);
    QObject::connect(FRun->Help, &QPushButton::clicked, FRun->Help, [this] {
        if (OnHelp)
            OnHelp();
    });
}

bool TFolderBrowser::ClickHelp()
{
    if (!FRun || !FRun->Help)
        return false;
    FRun->Help->click();
    return true;
}

bool TFolderBrowser::Close(bool Ok)
{
    if (!FRun)
        return true;
    // The dialog refuses OK on anything but a folder, warning in a box of its own where the
    // name is not there at all: the refusal is told without the box.
    if (Ok && FRun->Files && !QFileInfo(FRun->Files->selectedFiles().value(0)).isDir())
        return false;
    QDialog* dialog = FRun->Dialog();
    Ok ? dialog->accept() : dialog->reject();
    return FRun->Finished;
}
