// The published properties of the file and directory edits, with their stored defaults.

#include "controls/lib/ExConst.h"
#include "controls/lib/FileDirEdit.h"
#include "platform/core/TypInfo.h"
#include "platform/gui/StandardClasses.h"

void RegisterFileDirEditClasses()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    RegisterStandardClasses();
    using B = TFileDirEdit;
    RegisterClass<B>("TFileDirEdit", "TCustomComboEdit")
        .Bool("AcceptFiles", &B::AcceptFiles, &B::SetAcceptFiles, false)
        .Str("LongName", &B::GetLongName, nullptr)
        .Str("ShortName", &B::GetShortName, nullptr);
    using F = TFilenameEdit;
    const std::vector<AnsiString> options{
        "ofReadOnly",     "ofOverwritePrompt",  "ofHideReadOnly",       "ofNoChangeDir",     "ofShowHelp",
        "ofNoValidate",   "ofAllowMultiSelect", "ofExtensionDifferent", "ofPathMustExist",   "ofFileMustExist",
        "ofCreatePrompt", "ofShareAware",       "ofNoReadOnlyReturn",   "ofNoTestFileCreate"};
    RegisterClass<F>("TFilenameEdit", "TFileDirEdit", MakeComponent<F>)
        .Enum("DialogKind", "TFileDialogKind", {"dkOpen", "dkSave", "dkOpenPicture", "dkSavePicture"}, &F::DialogKind,
              &F::SetDialogKind, dkOpen)
        .Str(
            "DefaultExt", [](F* f) { return f->Dialog()->DefaultExt; },
            [](F* f, const AnsiString& v) { f->Dialog()->DefaultExt = v; })
        .Enum(
            "FileEditStyle", "TFileEditStyle", {"fsEdit", "fsComboBox"},
            [](F* f) { return f->Dialog()->FileEditStyle; },
            [](F* f, TFileEditStyle v) { f->Dialog()->FileEditStyle = v; }, fsEdit)
        .Object(
            "HistoryList", "TStrings", [](F* f) { return f->Dialog()->HistoryList(); },
            [](F* f, TObject* v) { f->Dialog()->SetHistoryList(dynamic_cast<TStrings*>(v)); })
        .Str(
            "Filter", [](F* f) { return f->Dialog()->Filter; },
            [](F* f, const AnsiString& v) { f->Dialog()->Filter = v; })
        .Stored([](F* f) { return f->Dialog()->Filter != ResStr(SDefaultFilter); })
        .Int(
            "FilterIndex", [](F* f) { return f->Dialog()->FilterIndex; },
            [](F* f, int v) { f->Dialog()->FilterIndex = v; }, 1)
        .Str(
            "InitialDir", [](F* f) { return f->Dialog()->InitialDir; },
            [](F* f, const AnsiString& v) { f->Dialog()->InitialDir = v; })
        .Set("DialogOptions", "TOpenOptions", options, &F::DialogOptions, &F::SetDialogOptions, ofHideReadOnly)
        .Str(
            "DialogTitle", [](F* f) { return f->Dialog()->Title; },
            [](F* f, const AnsiString& v) { f->Dialog()->Title = v; })
        .Stored([](F* f) { return f->Dialog()->Title != ResStr(SBrowse); })
        .Str("FileName", &F::FileName, &F::SetFileName)
        .Stored([](F*) { return false; })
        .Object("DialogFiles", "TStrings", &F::DialogFiles, nullptr);
    using D = TDirectoryEdit;
    RegisterClass<D>("TDirectoryEdit", "TFileDirEdit", MakeComponent<D>)
        .Set("DialogOptions", "TSelectDirOpts", {"sdAllowCreate", "sdPerformCreate", "sdPrompt"}, &D::DialogOptions,
             &D::SetDialogOptions, 0)
        .Str("InitialDir", &D::InitialDir, &D::SetInitialDir)
        .Str("DialogText", &D::DialogText, &D::SetDialogText)
        .Enum("DialogKind", "TDirDialogKind", {"dkVCL", "dkWin32"}, &D::DialogKind, &D::SetDialogKind, dkVCL)
        .Bool("MultipleDirs", &D::MultipleDirs, &D::SetMultipleDirs, false);
}
