// The file and directory edits: the folder glyph, dropped files, the dialog events, and each
// edit's dialog and the names it writes back.

#include "controls/lib/FileDirEdit.h"

#include "controls/core/FileUtil.h"
#include "controls/lib/BrowseFolder.h"
#include "controls/lib/ExConst.h"
#include "platform/core/FilePaths.h"
#include "platform/core/StringList.h"
#include "platform/gui/Bitmap.h"
#include "platform/gui/Resources.h"

namespace {

// A 14 x 12 folder with a sheet in it: '#' black, 'y' the folder, 'w' the sheet; '.' see-through.
const char* const kFolderMark[] = {"..............", ".####.........", "#yyyy#........", "#yyyyy######..",
                                   "#yyy#######y#.", "#yy#wwwwwww#y#", "#yy#w#####w#y#", "#y#wwwwwww#yy#",
                                   "#y#w#####w#yy#", "##wwwwwww#yyy#", "############..", ".............."};

bool RegisterFolderMark()
{
    RegisterBitmapResource("FEDITBMP", [](TBitmap* b) {
        b->SetSize(14, 12);
        for (int y = 0; y < 12; ++y)
            for (int x = 0; x < 14; ++x) {
                const char ch = kFolderMark[y][x];
                b->Canvas()->SetPixels(x, y,
                                       ch == '#'       ? clBlack
                                           : ch == 'y' ? clYellow
                                           : ch == 'w' ? clWhite
                                                       : clOlive);
            }
    });
    return true;
}
const bool kFolderMarkRegistered = RegisterFolderMark();

TBitmap* SharedFolderGlyph()
{
    static std::unique_ptr<TBitmap> glyph = [] {
        auto b = std::make_unique<TBitmap>();
        LoadBitmapResource(b.get(), "FEDITBMP");
        return b;
    }();
    return glyph.get();
}

// The edit's part in drags from other programs: it takes those that carry files (never their
// text, which is only the files' addresses), copying, and leaves any other drag to the edit.
class TFileDropTarget : public TDropTarget {
public:
    explicit TFileDropTarget(TFileDirEdit& Edit) : FEdit(Edit) { AcceptText = false; }
    bool TakesDrag(const TDragData& Data) const override { return !Data.Files.empty(); }

protected:
    void DragPrepare() override { AcceptFiles = FEdit.AcceptFiles() && !FEdit.InState(csDesigning); }
    // The files stay where they are: the edit only takes their names.
    int DropEffect(TShiftState) const override { return DROPEFFECT_COPY; }
    void DropFiles(TPoint, const std::vector<AnsiString>& Files) override
    {
        TStringList names;
        for (const AnsiString& file : Files)
            names.Add(file);
        FEdit.DropFiles(&names);
    }

private:
    TFileDirEdit& FEdit;
};

}  // namespace

// --- TFileDirEdit -------------------------------------------------------------------------------

TFileDirEdit::TFileDirEdit(TComponent* AOwner)
    : TCustomComboEdit(AOwner), FDropTarget(std::make_unique<TFileDropTarget>(*this))
{
    FCreating = true;
    SetGlyphKind(gkDefault);
    FCreating = false;
}

TFileDirEdit::~TFileDirEdit()
{
    // The window's filter calls into the target: it goes first.
    if (HandleAllocated())
        RegisterDropTarget(this, nullptr);
}

void TFileDirEdit::WidgetCreated()
{
    TCustomComboEdit::WidgetCreated();
    RegisterDropTarget(this, FDropTarget.get());
}

TBitmap* TFileDirEdit::GetDefaultBitmap(bool& DestroyNeeded)
{
    DestroyNeeded = false;
    return SharedFolderGlyph();
}

void TFileDirEdit::DropFiles(TStrings* Names)
{
    if (Names->Count() == 0)
        return;
    TAliveToken alive = AliveToken();
    ClearFileList();
    for (int i = 0; i < Names->Count() && *alive; ++i) {
        ReceptFileDir(Names->Strings(i));
        if (!FMultipleDirs)
            break;
    }
    if (*alive && OnDropFiles)
        OnDropFiles(this);
}

bool TFileDirEdit::DialogRound(AnsiString& Name, const std::function<bool(AnsiString&)>& RunDialog)
{
    TAliveToken alive = AliveToken();
    TCustomComboEdit::ButtonClick();
    if (!*alive)
        return false;
    bool action = true;
    DoBeforeDialog(Name, action);
    if (!*alive || !action)
        return false;
    action = RunDialog(Name);
    if (!*alive)
        return false;
    if (CanFocus())
        SetFocus();
    DoAfterDialog(Name, action);
    return *alive && action;
}

void TFileDirEdit::DoBeforeDialog(AnsiString& FileName, bool& Action)
{
    if (OnBeforeDialog)
        OnBeforeDialog(this, FileName, Action);
}

void TFileDirEdit::DoAfterDialog(AnsiString& FileName, bool& Action)
{
    if (OnAfterDialog)
        OnAfterDialog(this, FileName, Action);
}

// --- TFilenameEdit ------------------------------------------------------------------------------

TFilenameEdit::TFilenameEdit(TComponent* AOwner) : TFileDirEdit(AOwner) { CreateEditDialog(); }

TFilenameEdit::~TFilenameEdit() = default;

void TFilenameEdit::CreateEditDialog()
{
    std::unique_ptr<TOpenDialog> dialog;
    switch (FDialogKind) {
    case dkOpen: dialog = std::make_unique<TOpenDialog>(nullptr); break;
    case dkSave: dialog = std::make_unique<TSaveDialog>(nullptr); break;
    case dkOpenPicture: dialog = std::make_unique<TOpenPictureDialog>(nullptr); break;
    case dkSavePicture: dialog = std::make_unique<TSavePictureDialog>(nullptr); break;
    }
    if (FDialog) {
        dialog->DefaultExt = FDialog->DefaultExt;
        dialog->FileEditStyle = FDialog->FileEditStyle;
        dialog->FileName = FDialog->FileName;
        dialog->Filter = FDialog->Filter;
        dialog->FilterIndex = FDialog->FilterIndex;
        dialog->InitialDir = FDialog->InitialDir;
        dialog->SetHistoryList(FDialog->HistoryList());
        dialog->Files()->Assign(FDialog->Files());
        dialog->Options = FDialog->Options;
        dialog->Title = FDialog->Title;
    } else {
        dialog->Title = ResStr(SBrowse);
        dialog->Filter = ResStr(SDefaultFilter);
        dialog->Options = ofHideReadOnly;
    }
    FDialog = std::move(dialog);
}

void TFilenameEdit::SetDialogKind(TFileDialogKind Value)
{
    if (Value == FDialogKind)
        return;
    FDialogKind = Value;
    CreateEditDialog();
}

void TFilenameEdit::SetDialogOptions(TOpenOptions Value)
{
    if (Value == FDialog->Options)
        return;
    FDialog->Options = Value;
    FMultipleDirs = (Value & ofAllowMultiSelect) != 0;
    if (!FMultipleDirs)
        ClearFileList();
}

AnsiString TFilenameEdit::FileName() const { return ClipFileName(Text()); }

void TFilenameEdit::SetFileName(const AnsiString& Value)
{
    if (!Value.empty() && !ValidFileName(ClipFileName(Value)))
        throw EComboEditError(Format("Invalid file name - %s", Value.c_str()));
    SetText(QuoteFileName(Value));
    ClearFileList();
}

AnsiString TFilenameEdit::GetLongName() { return ShortToLongFileName(FileName()); }

AnsiString TFilenameEdit::GetShortName() { return LongToShortFileName(FileName()); }

void TFilenameEdit::ClearFileList() { FDialog->Files()->Clear(); }

void TFilenameEdit::ReceptFileDir(const AnsiString& AFileName)
{
    if (FMultipleDirs) {
        if (FDialog->Files()->Count() == 0)
            SetFileName(AFileName);
        FDialog->Files()->Add(AFileName);
    } else {
        SetFileName(AFileName);
    }
}

void TFilenameEdit::ButtonClick()
{
    AnsiString name = FileName();
    const bool chosen = DialogRound(name, [this](AnsiString& chosenName) {
        if (ValidFileName(chosenName)) {
            try {
                if (DirExists(ExtractFilePath(chosenName)))
                    FDialog->InitialDir = ExtractFilePath(chosenName);
                const AnsiString part = ExtractFileName(chosenName);
                FDialog->FileName = !part.empty() && ValidFileName(part) ? chosenName : AnsiString();
            } catch (const std::exception&) {
                // The dialog opens where it would anyway.
            }
        }
        if (!FDialog->Execute())
            return false;
        chosenName = FDialog->FileName;
        return true;
    });
    if (!chosen)
        return;
    SetText(QuoteFileName(name));
    SetModified(true);
    FDialog->InitialDir = ExtractFilePath(FDialog->FileName);
}

// --- TDirectoryEdit -----------------------------------------------------------------------------

TDirectoryEdit::TDirectoryEdit(TComponent* AOwner) : TFileDirEdit(AOwner) {}

void TDirectoryEdit::AddName(const AnsiString& Name)
{
    SetText(AddDirName(Text(), Name, FMultipleDirs));
    SetModified(true);
}

void TDirectoryEdit::ButtonClick()
{
    AnsiString name = Text();
    const bool chosen = DialogRound(name, [this](AnsiString& chosenName) {
        if (chosenName.empty())
            chosenName = FInitialDir.empty() ? AnsiString("\\") : FInitialDir;
        if (!DirExists(chosenName))
            chosenName = "\\";
        if (FDialogKind == dkWin32)
            return BrowseDirectory(chosenName, FDialogText, 0);
        return SelectDirectory(chosenName, FOptions, 0);
    });
    if (!chosen)
        return;
    if (SelLength() > 0)
        SetSelText(AnsiString());
    AddName(name);
    if (!name.empty() && DirExists(name))
        FInitialDir = name;
}

void TDirectoryEdit::ReceptFileDir(const AnsiString& AFileName)
{
    AddName(FileExists(AFileName) ? ExtractFilePath(AFileName) : AFileName);
}

AnsiString TDirectoryEdit::GetLongName()
{
    if (!FMultipleDirs)
        return ShortToLongPath(Text());
    return MapDirList(Text(), [](const AnsiString& part) { return ShortToLongPath(part); });
}

AnsiString TDirectoryEdit::GetShortName()
{
    if (!FMultipleDirs)
        return LongToShortPath(Text());
    return MapDirList(Text(), [](const AnsiString& part) { return LongToShortPath(part); });
}
