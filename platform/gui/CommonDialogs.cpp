#include "platform/gui/CommonDialogs.h"

#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QFontDialog>
#include <QHeaderView>
#include <QInputDialog>
#include <QTimer>
#include <QTreeView>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>

#include "platform/core/Cp949.h"
#include "platform/core/FilePaths.h"
#include "platform/core/FileSystem.h"
#include "platform/core/ProgramFolder.h"
#include "platform/core/StoredPath.h"
#include "platform/gui/Application.h"
#include "platform/gui/Canvas.h"
#include "platform/gui/FileFilter.h"
#include "platform/gui/Graphics.h"

namespace {

TDialogHook gDialogHook;

// The questions about the chosen file, after its name, in the program's language.
// " 파일이 이미 있습니다." LF "바꾸시겠습니까?"
const char* const kReplaceQuestion = " \xC6\xC4\xC0\xCF\xC0\xCC \xC0\xCC\xB9\xCC \xC0\xD6\xBD\xC0\xB4\xCF\xB4\xD9.\n"
                                     "\xB9\xD9\xB2\xD9\xBD\xC3\xB0\xDA\xBD\xC0\xB4\xCF\xB1\xEE?";
// LF "파일이 없습니다." LF "만드시겠습니까?"
const char* const kCreateQuestion = "\n\xC6\xC4\xC0\xCF\xC0\xCC \xBE\xF8\xBD\xC0\xB4\xCF\xB4\xD9.\n"
                                    "\xB8\xB8\xB5\xE5\xBD\xC3\xB0\xDA\xBD\xC0\xB4\xCF\xB1\xEE?";

QString NativeQPath(const AnsiString& programPath) { return QString::fromStdString(NativePath(programPath)); }

// Where a file dialog opens: the given folder (a program path), else the program folder; a folder
// not made yet gives way to the nearest one above it that is there.
QString StartFolder(const AnsiString& start)
{
    std::filesystem::path folder = start.empty() ? ProgramFolder() : NativePath(start);
    std::error_code error;
    while (folder.has_relative_path() && !std::filesystem::is_directory(folder, error))
        folder = folder.parent_path();
    return QString::fromStdString(folder.string());
}

constexpr int kFileDialogWidth = 760;

// The file list's size, type and date columns take the width of what they show (a size, a type
// name or a date cut short reads as nothing); the name takes the rest.
void FitFileColumns(QFileDialog& dialog)
{
    auto* details = dialog.findChild<QTreeView*>();
    if (!details)
        return;
    QHeaderView* header = details->header();
    header->setStretchLastSection(false);
    header->setSectionResizeMode(0, QHeaderView::Stretch);
    for (int column = 1; column < header->count(); ++column)
        header->setSectionResizeMode(column, QHeaderView::ResizeToContents);
}

// The lines of a hook's answer.
std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        if (end > start)
            lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

}  // namespace

const char* DialogKindName(TCommonDialogKind kind)
{
    static const char* const kNames[] = {"open", "save", "color", "font", "dir", "input", "print", "printsetup"};
    return kNames[kind];
}

TDialogHook SetDialogHook(TDialogHook hook)
{
    TDialogHook old = std::move(gDialogHook);
    gDialogHook = std::move(hook);
    return old;
}

bool DialogsShowWindows() { return !gDialogHook && !std::getenv("HM_TEST"); }

QWidget* DialogParent()
{
    TCustomForm* form = Screen ? Screen->ActiveForm() : nullptr;
    return form && form->HandleAllocated() ? form->Handle() : nullptr;
}

std::optional<std::string> RunDialog(const TDialogRequest& request,
                                     const std::function<std::optional<std::string>()>& showQt)
{
    TModalScope modal;
    if (gDialogHook)
        return gDialogHook(request);
    if (std::getenv("HM_TEST")) {
        std::fprintf(stderr, "Dialog %s [%s]\n", DialogKindName(request.Kind), request.Title.c_str());
        return std::nullopt;
    }
    return showQt();
}

// --- Open and save

TOpenDialog::TOpenDialog(TComponent* AOwner)
    : TCommonDialog(AOwner), FFiles(std::make_unique<TStringList>()), FHistoryList(std::make_unique<TStringList>())
{}

TOpenDialog::~TOpenDialog() = default;

bool TOpenDialog::Execute()
{
    std::vector<TFileFilter> filters = ParseFileFilter(Filter);
    if (OnShow)
        OnShow(this);
    // "No" at a question about the chosen file goes back to the dialog, at that file.
    AnsiString folder = InitialDir, name = FileName;
    TAcceptance acceptance = TAcceptance::Declined;
    while (acceptance == TAcceptance::Declined) {
        TFileDialogRequest request{{IsSave() ? cdSave : cdOpen, Title, AnsiString(), name}, folder, Filter};
        std::optional<std::string> answer = RunDialog(request, [&]() -> std::optional<std::string> {
            QFileDialog dialog(DialogParent(), AnsiToQString(Title));
            dialog.setOption(QFileDialog::DontUseNativeDialog);
            dialog.setOption(QFileDialog::DontConfirmOverwrite);  // asked below, through the box hook
            dialog.setAcceptMode(IsSave() ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
            if (Options & ofAllowMultiSelect)
                dialog.setFileMode(QFileDialog::ExistingFiles);
            else if (IsSave() || !(Options & ofFileMustExist) || (Options & ofCreatePrompt))
                dialog.setFileMode(QFileDialog::AnyFile);
            else
                dialog.setFileMode(QFileDialog::ExistingFile);
            QStringList names;
            for (const TFileFilter& f : filters)
                names << QString::fromStdString(QtNameFilter(f));
            if (!names.isEmpty()) {
                dialog.setNameFilters(names);
                dialog.selectNameFilter(names.value(FilterIndex - 1, names.first()));
            }
            if (!DefaultExt.empty())
                dialog.setDefaultSuffix(AnsiToQString(DefaultExt));
            dialog.setDirectory(StartFolder(folder.empty() ? ExtractFilePath(name) : folder));
            if (!name.empty())
                dialog.selectFile(AnsiToQString(ExtractFileName(name)));
            if (FileEditStyle == fsComboBox) {
                QStringList places;
                for (int i = 0; i < FHistoryList->Count(); ++i) {
                    const QString place = NativeQPath(ExtractFileDir(FHistoryList->Strings(i)));
                    if (!place.isEmpty() && !places.contains(place))
                        places << place;
                }
                dialog.setHistory(places);
            }
            // Wide enough for the name beside the columns fitted to their contents; those once shown,
            // since showing puts back the widths the framework kept from the last file dialog.
            dialog.resize(std::max(dialog.sizeHint().width(), kFileDialogWidth), dialog.sizeHint().height());
            QTimer::singleShot(0, &dialog, [&dialog] { FitFileColumns(dialog); });
            if (dialog.exec() != QDialog::Accepted)
                return std::nullopt;
            FilterIndex = std::max(1, static_cast<int>(names.indexOf(dialog.selectedNameFilter())) + 1);
            return dialog.selectedFiles().join(QLatin1Char('\n')).toStdString();
        });
        acceptance = answer ? Accept(*answer, name) : TAcceptance::Nothing;
        if (acceptance == TAcceptance::Declined)
            folder = ExtractFileDir(name);
    }
    if (OnClose)
        OnClose(this);
    return acceptance == TAcceptance::Accepted;
}

TOpenDialog::TAcceptance TOpenDialog::Accept(const std::string& answer, AnsiString& declined)
{
    std::vector<AnsiString> chosen;
    for (const std::string& line : Lines(answer)) {
        AnsiString path =
            StoredPath(QDir::cleanPath(QDir::current().absoluteFilePath(QString::fromStdString(line))).toStdString());
        if (!DefaultExt.empty() && ExtractFileExt(ExtractFileName(path)).empty())
            path += "." + DefaultExt;
        chosen.push_back(path);
    }
    if (chosen.empty())
        return TAcceptance::Nothing;
    const AnsiString& first = chosen.front();
    // The question names the file as the system does, not as the program stores it.
    const AnsiString shown = ShownPath(first);
    if ((IsSave() && (Options & ofOverwritePrompt) && FileExists(first) &&
         MessageBox(shown + kReplaceQuestion, Title, MB_YESNO | MB_ICONEXCLAMATION) != IDYES) ||
        ((Options & ofCreatePrompt) && !FileExists(first) &&
         MessageBox(shown + kCreateQuestion, Title, MB_YESNO | MB_ICONQUESTION) != IDYES)) {
        declined = first;
        return TAcceptance::Declined;
    }
    FileName = first;
    FFiles->Clear();
    for (const AnsiString& path : chosen)
        FFiles->Add(path);
    // The framework's dialog leaves the process in the chosen folder unless told not to; the
    // choice stands when the folder cannot be entered.
    if (const std::string chosenFolder = NativePath(ExtractFileDir(first));
        !(Options & ofNoChangeDir) && !chosenFolder.empty()) [[maybe_unused]]
        const int moved = chdir(chosenFolder.c_str());
    return TAcceptance::Accepted;
}

namespace {

const char* const kPictureFilter =
    "All (*.bmp;*.ico;*.png;*.jpg;*.jpeg)|*.bmp;*.ico;*.png;*.jpg;*.jpeg|Bitmaps (*.bmp)|*.bmp|"
    "Icons (*.ico)|*.ico|PNG images (*.png)|*.png|JPEG images (*.jpg;*.jpeg)|*.jpg;*.jpeg";

}  // namespace

TOpenPictureDialog::TOpenPictureDialog(TComponent* AOwner) : TOpenDialog(AOwner) { Filter = kPictureFilter; }

TSavePictureDialog::TSavePictureDialog(TComponent* AOwner) : TSaveDialog(AOwner) { Filter = kPictureFilter; }

// --- Colour and font

bool TColorDialog::Execute()
{
    std::optional<std::string> answer =
        RunDialog({cdColor, AnsiString(), AnsiString(), ColorToString(Color)}, [&]() -> std::optional<std::string> {
            QColor c = QColorDialog::getColor(ToQColor(Color), DialogParent());
            if (!c.isValid())
                return std::nullopt;
            return ColorToString(RGB(c.red(), c.green(), c.blue()));
        });
    if (!answer)
        return false;
    TColor color;
    if (!IdentToColor(*answer, color)) {
        try {
            color = StringToColor(*answer);
        } catch (const EConvertError&) {
            return false;
        }
    }
    Color = color;
    return true;
}

TFontDialog::TFontDialog(TComponent* AOwner) : TCommonDialog(AOwner), FFont(std::make_unique<TFont>()) {}

TFontDialog::~TFontDialog() = default;

bool TFontDialog::Execute()
{
    AnsiString initial = FFont->Name() + "," + IntToStr(FFont->Size());
    std::optional<std::string> answer =
        RunDialog({cdFont, AnsiString(), AnsiString(), initial}, [&]() -> std::optional<std::string> {
            bool ok = false;
            QFont f = QFontDialog::getFont(&ok, FFont->ToQFont(), DialogParent());
            if (!ok)
                return std::nullopt;
            return QStringToAnsi(f.family()) + "," + IntToStr(f.pointSize());
        });
    if (!answer)
        return false;
    size_t comma = answer->rfind(',');
    FFont->SetName(answer->substr(0, comma));
    int size = 0;
    if (comma != std::string::npos && TryStrToInt(answer->substr(comma + 1), size) && size > 0)
        FFont->SetSize(size);
    return true;
}

// --- Folders, input and messages

bool SelectDirectory(const AnsiString& Caption, const AnsiString& Root, AnsiString& Directory)
{
    std::optional<std::string> answer =
        RunDialog({cdDirectory, Caption, AnsiString(), Directory}, [&]() -> std::optional<std::string> {
            QString start = StartFolder(Directory.empty() ? Root : Directory);
            QString dir = QFileDialog::getExistingDirectory(DialogParent(), AnsiToQString(Caption), start,
                                                            QFileDialog::DontUseNativeDialog);
            if (dir.isEmpty())
                return std::nullopt;
            return dir.toStdString();
        });
    if (!answer || answer->empty())
        return false;
    Directory = StoredPath(*answer);
    return true;
}

bool SelectDirectory(AnsiString& Directory, TSelectDirOpts Options, int)
{
    AnsiString chosen = Directory;
    if (!SelectDirectory("Select Directory", AnsiString(), chosen))
        return false;
    if (!DirectoryExists(chosen)) {
        if (!(Options & sdAllowCreate))
            return false;
        if ((Options & sdPrompt) &&
            MessageBox("The " + chosen + " directory does not exist. Create it?", "Confirm",
                       MB_YESNO | MB_ICONQUESTION) != IDYES)
            return false;
        if ((Options & sdPerformCreate) && !ForceDirectories(chosen))
            throw EInOutError("Unable to create directory");
    }
    Directory = chosen;
    return true;
}

bool InputQuery(const AnsiString& ACaption, const AnsiString& APrompt, AnsiString& Value)
{
    std::optional<std::string> answer =
        RunDialog({cdInput, ACaption, APrompt, Value}, [&]() -> std::optional<std::string> {
            bool ok = false;
            QString text = QInputDialog::getText(DialogParent(), AnsiToQString(ACaption), AnsiToQString(APrompt),
                                                 QLineEdit::Normal, AnsiToQString(Value), &ok);
            if (!ok)
                return std::nullopt;
            return QStringToAnsi(text);
        });
    if (!answer)
        return false;
    Value = *answer;
    return true;
}

AnsiString InputBox(const AnsiString& ACaption, const AnsiString& APrompt, const AnsiString& ADefault)
{
    AnsiString value = ADefault;
    return InputQuery(ACaption, APrompt, value) ? value : ADefault;
}

int MessageDlg(const AnsiString& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int)
{
    static const char* const kCaptions[] = {"Warning", "Error", "Information", "Confirm"};
    static const unsigned kIcons[] = {MB_ICONWARNING, MB_ICONERROR, MB_ICONINFORMATION, MB_ICONQUESTION, 0};
    AnsiString caption =
        DlgType == mtCustom ? (Application ? Application->Title() : AnsiString()) : AnsiString(kCaptions[DlgType]);
    // The box offers the standard sets; a set of its own takes the nearest one.
    unsigned flags = MB_OK;
    if ((Buttons & (mbYes | mbNo)) && (Buttons & mbCancel))
        flags = MB_YESNOCANCEL;
    else if (Buttons & (mbYes | mbNo))
        flags = MB_YESNO;
    else if (Buttons & mbAbort)
        flags = MB_ABORTRETRYIGNORE;
    else if ((Buttons & mbRetry) && (Buttons & mbCancel))
        flags = MB_RETRYCANCEL;
    else if ((Buttons & mbOK) && (Buttons & mbCancel))
        flags = MB_OKCANCEL;
    // The box's answers are the same numbers as the modal results.
    return MessageBox(Msg, caption, flags | kIcons[DlgType]);
}
