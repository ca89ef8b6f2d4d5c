#pragma once
// Edits whose button opens a system dialog and writes the choice back as text: TFilenameEdit (a
// file name through an open, save or picture dialog) and TDirectoryEdit (one directory, or
// several separated by ";", through the folder dialog). Their base takes files dropped on the
// edit and fires OnBeforeDialog and OnAfterDialog around the dialog. Names are program paths.

#include <memory>

#include "controls/core/EditFileNames.h"
#include "controls/lib/ToolEdit.h"
#include "platform/gui/CommonDialogs.h"
#include "platform/gui/DragDrop.h"

class EComboEditError : public Exception {
    using Exception::Exception;
};

using TExecOpenDialogEvent = std::function<void(TObject* Sender, AnsiString& Name, bool& Action)>;

class TFileDirEdit : public TCustomComboEdit {
public:
    explicit TFileDirEdit(TComponent* AOwner);
    ~TFileDirEdit() override;

    // Files dragged onto the edit from another program (a file manager) reach DropFiles when
    // set; when not, such a drag is refused. A drag of plain text is the edit's as for any edit.
    bool AcceptFiles() const { return FAcceptFiles; }
    void SetAcceptFiles(bool Value) { FAcceptFiles = Value; }
    // The files dropped on the edit: the first only, or each of them when several names may be
    // held; then OnDropFiles. Names keep their whole length.
    void DropFiles(TStrings* Names);
    virtual AnsiString GetLongName() = 0;
    virtual AnsiString GetShortName() = 0;

    TNotifyEvent OnDropFiles;
    TExecOpenDialogEvent OnBeforeDialog, OnAfterDialog;

protected:
    TBitmap* GetDefaultBitmap(bool& DestroyNeeded) override;
    // Each new window is a drop target for files.
    void WidgetCreated() override;
    virtual void ReceptFileDir(const AnsiString& AFileName) = 0;
    virtual void ClearFileList() {}
    virtual void DoBeforeDialog(AnsiString& FileName, bool& Action);
    virtual void DoAfterDialog(AnsiString& FileName, bool& Action);
    // A click's round: the base click, OnBeforeDialog, the dialog (RunDialog may change the name
    // and answers whether it was accepted), the focus back, OnAfterDialog. True with the name to
    // write back when it was accepted and the edit is still there.
    bool DialogRound(AnsiString& Name, const std::function<bool(AnsiString&)>& RunDialog);

    bool FMultipleDirs = false;

private:
    bool FAcceptFiles = false;
    std::unique_ptr<TDropTarget> FDropTarget;
};

enum TFileDialogKind { dkOpen, dkSave, dkOpenPicture, dkSavePicture };

class TFilenameEdit : public TFileDirEdit {
public:
    explicit TFilenameEdit(TComponent* AOwner);
    ~TFilenameEdit() override;

    // The text as a file name: the whole text when a file of that name exists, else the program
    // part of the text read as a command line.
    AnsiString FileName() const;
    // Writes the name quoted when it holds a blank; raises "Invalid file name - %s" for a name
    // that is not one.
    void SetFileName(const AnsiString& Value);
    TFileDialogKind DialogKind() const { return FDialogKind; }
    void SetDialogKind(TFileDialogKind Value);
    TOpenDialog* Dialog() const { return FDialog.get(); }
    TOpenOptions DialogOptions() const { return FDialog->Options; }
    void SetDialogOptions(TOpenOptions Value);
    TStrings* DialogFiles() const { return FDialog->Files(); }
    AnsiString GetLongName() override;
    AnsiString GetShortName() override;

protected:
    void ButtonClick() override;
    void ReceptFileDir(const AnsiString& AFileName) override;
    void ClearFileList() override;

private:
    void CreateEditDialog();
    TFileDialogKind FDialogKind = dkOpen;
    std::unique_ptr<TOpenDialog> FDialog;
};

enum TDirDialogKind { dkVCL, dkWin32 };

class TDirectoryEdit : public TFileDirEdit {
public:
    explicit TDirectoryEdit(TComponent* AOwner);

    TSelectDirOpts DialogOptions() const { return FOptions; }
    void SetDialogOptions(TSelectDirOpts Value) { FOptions = Value; }
    const AnsiString& InitialDir() const { return FInitialDir; }
    void SetInitialDir(const AnsiString& Value) { FInitialDir = Value; }
    const AnsiString& DialogText() const { return FDialogText; }
    void SetDialogText(const AnsiString& Value) { FDialogText = Value; }
    TDirDialogKind DialogKind() const { return FDialogKind; }
    void SetDialogKind(TDirDialogKind Value) { FDialogKind = Value; }
    bool MultipleDirs() const { return FMultipleDirs; }
    void SetMultipleDirs(bool Value) { FMultipleDirs = Value; }
    AnsiString GetLongName() override;
    AnsiString GetShortName() override;

protected:
    void ButtonClick() override;
    void ReceptFileDir(const AnsiString& AFileName) override;

private:
    // Name appended after ";" (several directories) or in place of the text.
    void AddName(const AnsiString& Name);
    TSelectDirOpts FOptions = 0;
    AnsiString FInitialDir;
    AnsiString FDialogText;
    TDirDialogKind FDialogKind = dkVCL;
};

void RegisterFileDirEditClasses();
