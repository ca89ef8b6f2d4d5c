#include "controls/core/FileOperatorDialogs.h"

namespace {

// Nobody to ask: skips every part that needs a question, shows nothing.
class TUnattendedDialogs : public IFileOperatorDialogs {
public:
    TQuestionAnswer Ask(const TFileQuestionText&) override { return qaNo; }
    void OpenProgress(const AnsiString&, int) override {}
    bool StepProgress(const AnsiString&, int) override { return true; }
    bool PollProgress() override { return true; }
    void CloseProgress() override {}
    void ShowError(const AnsiString&, const AnsiString&) override {}
};

TFileOperatorDialogsMaker& Maker()
{
    static TFileOperatorDialogsMaker maker;
    return maker;
}

AnsiString Quoted(const AnsiString& name) { return "'" + name + "'"; }

// The operation's entry of a table in the order of TFileOperation (a value set from outside
// that order takes the copy's).
const char* ByOperation(TFileOperation operation, const char* const (&table)[4])
{
    return table[operation >= foCopy && operation <= foRename ? operation : foCopy];
}

}  // namespace

TFileQuestionText FileQuestionText(TFileQuestion question, const AnsiString& name, bool toTrash)
{
    switch (question) {
    case fqReplace: return {"Confirm File Replace", Quoted(name) + " already exists.\n\nDo you want to replace it?"};
    case fqReplaceReadOnly:
        return {"Confirm File Replace", Quoted(name) + " is a read-only file.\n\nDo you want to replace it?"};
    case fqDelete:
        return {"Confirm Delete",
                toTrash ? "Are you sure you want to move " + Quoted(name) + " to the trash?"
                        : "Are you sure you want to delete " + Quoted(name) + " for good?"};
    default:
        return {"Confirm Folder Create",
                "The folder " + Quoted(name) + " does not exist.\n\nDo you want to create it?"};
    }
}

AnsiString FileProgressTitle(TFileOperation operation)
{
    static const char* const kTitles[] = {"Copying...", "Deleting...", "Moving...", "Renaming..."};
    return ByOperation(operation, kTitles);
}

AnsiString FileErrorCaption(TFileOperation operation)
{
    static const char* const kCaptions[] = {"Error Copying File or Folder", "Error Deleting File or Folder",
                                            "Error Moving File or Folder", "Error Renaming File or Folder"};
    return ByOperation(operation, kCaptions);
}

AnsiString FileErrorText(TFileOperation operation, const AnsiString& name, const AnsiString& reason)
{
    static const char* const kVerbs[] = {"copy", "delete", "move", "rename"};
    return AnsiString("Cannot ") + ByOperation(operation, kVerbs) + (name.empty() ? AnsiString() : " " + Quoted(name)) +
        ": " + reason;
}

TFileOperatorDialogsMaker SetFileOperatorDialogs(TFileOperatorDialogsMaker maker)
{
    TFileOperatorDialogsMaker old = std::move(Maker());
    Maker() = std::move(maker);
    return old;
}

std::unique_ptr<IFileOperatorDialogs> MakeFileOperatorDialogs()
{
    if (Maker())
        if (std::unique_ptr<IFileOperatorDialogs> dialogs = Maker()())
            return dialogs;
    return std::make_unique<TUnattendedDialogs>();
}
