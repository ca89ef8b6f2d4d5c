#pragma once
// The framework's common dialogs: open and save (also for pictures), colour, font, folder,
// input query and message dialog, on Qt's own dialogs. Every one goes through one hook that a
// test or a driver replaces, so nothing waits for a person. File names in and out are program
// paths (cp949, backslashes, relative inside the program folder); the dialog converts them.

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/core/Colors.h"
#include "platform/core/Component.h"
#include "platform/core/StringList.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/Forms.h"

class TFont;

enum TCommonDialogKind { cdOpen, cdSave, cdColor, cdFont, cdDirectory, cdInput, cdPrint, cdPrinterSetup };
// "open", "save", "color", "font", "dir", "input", "print", "printsetup".
const char* DialogKindName(TCommonDialogKind kind);

// What a dialog asks, as the hook sees it.
struct TDialogRequest {
    TCommonDialogKind Kind;
    AnsiString Title;
    AnsiString Prompt;   // input query
    AnsiString Initial;  // file name, folder, input text, colour name or font name
};
// What an open or save dialog asks besides: every request of kind cdOpen or cdSave is one.
struct TFileDialogRequest : TDialogRequest {
    AnsiString Folder;  // the folder the dialog starts in (InitialDir)
    AnsiString Filter;  // the filter, as the dialog's Filter holds it
};
// Returns the answer, or nothing for Cancel. Answers: a native path (UTF-8) for open, save and
// dir (several files for a multi-select open, one a line); cp949 text for input; a colour
// ("clRed", "$0000FF") for color; "Name,Size" for font; anything for print (OK).
using TDialogHook = std::function<std::optional<std::string>(const TDialogRequest& request)>;
// Installs the hook (null removes it) and returns the previous one. Without a hook, a run under
// the test environment (HM_TEST set) cancels every dialog, printing its kind and title to the
// standard error stream.
TDialogHook SetDialogHook(TDialogHook hook);
// Whether RunDialog shows the Qt dialog: no hook, and not under the test environment.
bool DialogsShowWindows();
// The window a Qt dialog opens over: the active form's, or none.
QWidget* DialogParent();
// Asks the hook, the test environment or the given Qt dialog, counting the modal level.
std::optional<std::string> RunDialog(const TDialogRequest& request,
                                     const std::function<std::optional<std::string>()>& showQt);

class TCommonDialog : public TComponent {
public:
    using TComponent::TComponent;
    // True when the user chose OK.
    virtual bool Execute() = 0;
    TNotifyEvent OnShow, OnClose;
};

enum TOpenOption : unsigned {
    ofReadOnly = 1u << 0,
    ofOverwritePrompt = 1u << 1,
    ofHideReadOnly = 1u << 2,
    ofNoChangeDir = 1u << 3,
    ofShowHelp = 1u << 4,
    ofNoValidate = 1u << 5,
    ofAllowMultiSelect = 1u << 6,
    ofExtensionDifferent = 1u << 7,
    ofPathMustExist = 1u << 8,
    ofFileMustExist = 1u << 9,
    ofCreatePrompt = 1u << 10,
    ofShareAware = 1u << 11,
    ofNoReadOnlyReturn = 1u << 12,
    ofNoTestFileCreate = 1u << 13,
    ofEnableSizing = 1u << 19,
};
using TOpenOptions = unsigned;
// The file name box of the dialog: a plain edit, or a combo box offering the history list.
enum TFileEditStyle { fsEdit, fsComboBox };

class TOpenDialog : public TCommonDialog {
public:
    explicit TOpenDialog(TComponent* AOwner);
    ~TOpenDialog() override;
    bool Execute() override;

    // "name|patterns|..." (see FileFilter.h); FilterIndex counts from 1.
    AnsiString Filter;
    int FilterIndex = 1;
    // Added (without its dot) to a chosen name that has no extension.
    AnsiString DefaultExt;
    AnsiString InitialDir;
    AnsiString FileName;
    AnsiString Title;
    TOpenOptions Options = ofHideReadOnly | ofEnableSizing;
    TFileEditStyle FileEditStyle = fsEdit;
    // Names chosen before (program paths): with fsComboBox the dialog offers their folders in
    // its drop-down of places visited.
    TStrings* HistoryList() const { return FHistoryList.get(); }
    void SetHistoryList(TStrings* Value)
    {
        if (Value)
            FHistoryList->Assign(Value);
        else
            FHistoryList->Clear();
    }
    // Every file chosen (one unless ofAllowMultiSelect).
    TStrings* Files() const { return FFiles.get(); }

protected:
    virtual bool IsSave() const { return false; }

private:
    enum class TAcceptance { Accepted, Declined, Nothing };
    // Takes the dialog's answer, asking the questions its options ask; a file the user said "No"
    // about is Declined and handed back in declined.
    TAcceptance Accept(const std::string& answer, AnsiString& declined);
    std::unique_ptr<TStringList> FFiles;
    std::unique_ptr<TStringList> FHistoryList;
};

class TSaveDialog : public TOpenDialog {
public:
    using TOpenDialog::TOpenDialog;

protected:
    bool IsSave() const override { return true; }
};

// Open and save dialogs whose filter starts as the picture files the program reads and writes.
class TOpenPictureDialog : public TOpenDialog {
public:
    explicit TOpenPictureDialog(TComponent* AOwner);
};
class TSavePictureDialog : public TSaveDialog {
public:
    explicit TSavePictureDialog(TComponent* AOwner);
};

class TColorDialog : public TCommonDialog {
public:
    using TCommonDialog::TCommonDialog;
    bool Execute() override;
    TColor Color = clBlack;
};

class TFontDialog : public TCommonDialog {
public:
    explicit TFontDialog(TComponent* AOwner);
    ~TFontDialog() override;
    bool Execute() override;
    TFont* Font() { return FFont.get(); }

private:
    std::unique_ptr<TFont> FFont;
};

enum TSelectDirOpt : unsigned { sdAllowCreate = 1, sdPerformCreate = 2, sdPrompt = 4 };
using TSelectDirOpts = unsigned;
// The folder dialog with a caption; Directory (a program path) is the start and the choice.
bool SelectDirectory(const AnsiString& Caption, const AnsiString& Root, AnsiString& Directory);
// The framework's other form: a missing folder is refused unless sdAllowCreate; sdPrompt asks
// before creating it and sdPerformCreate creates it.
bool SelectDirectory(AnsiString& Directory, TSelectDirOpts Options, int HelpCtx);

// A one-line question; Value is the start and the answer. False on Cancel.
bool InputQuery(const AnsiString& ACaption, const AnsiString& APrompt, AnsiString& Value);
// The answer, or ADefault on Cancel.
AnsiString InputBox(const AnsiString& ACaption, const AnsiString& APrompt, const AnsiString& ADefault);

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn : unsigned {
    mbYes = 1u << 0,
    mbNo = 1u << 1,
    mbOK = 1u << 2,
    mbCancel = 1u << 3,
    mbAbort = 1u << 4,
    mbRetry = 1u << 5,
    mbIgnore = 1u << 6,
    mbAll = 1u << 7,
    mbNoToAll = 1u << 8,
    mbYesToAll = 1u << 9,
    mbHelp = 1u << 10,
};
using TMsgDlgButtons = unsigned;
constexpr TMsgDlgButtons mbYesNoCancel = mbYes | mbNo | mbCancel;
constexpr TMsgDlgButtons mbOKCancel = mbOK | mbCancel;
constexpr TMsgDlgButtons mbAbortRetryIgnore = mbAbort | mbRetry | mbIgnore;
// A message box captioned by its type ("Warning", "Error", "Information", "Confirm"; the
// application's title for mtCustom) through the message-box hook; returns mrYes, mrOk, ...
int MessageDlg(const AnsiString& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx);
