#pragma once
// The file operator's dialogs as the operation sees them: the questions it asks (replace an
// existing file, delete, make a missing folder) with their texts, the four answers, the progress
// of its parts and its error messages. The windowed library installs the windows that show them;
// where none are installed nobody can be asked, so every question is answered No: such a run
// replaces, deletes and makes nothing it would have asked about.

#include <functional>
#include <memory>

#include "controls/core/FileUtil.h"
#include "platform/core/AnsiString.h"

enum TFileQuestion { fqReplace, fqReplaceReadOnly, fqDelete, fqMakeFolder };
constexpr int kFileQuestionCount = fqMakeFolder + 1;

// Yes does this part; Yes to all does it and every later part that would ask the same question;
// No skips this part; Cancel stops the operation.
enum TQuestionAnswer { qaYes, qaYesToAll, qaNo, qaCancel };

struct TFileQuestionText {
    AnsiString Caption;
    AnsiString Text;
};
// The question about one file or folder, named by its program path; toTrash: a deletion that
// moves to the trash, where it can be undone.
TFileQuestionText FileQuestionText(TFileQuestion question, const AnsiString& name, bool toTrash);
// The progress window's title when the operator has none ("Copying..." and the like).
AnsiString FileProgressTitle(TFileOperation operation);
// An error box: the caption of the operation and "Cannot copy NAME: REASON" (no name: the
// operation as a whole failed).
AnsiString FileErrorCaption(TFileOperation operation);
AnsiString FileErrorText(TFileOperation operation, const AnsiString& name, const AnsiString& reason);

// One run's windows. The progress window is opened at most once, stepped before each part and
// closed at the end; questions and errors may come while it shows.
class IFileOperatorDialogs {
public:
    virtual ~IFileOperatorDialogs() = default;
    virtual TQuestionAnswer Ask(const TFileQuestionText& question) = 0;
    virtual void OpenProgress(const AnsiString& title, int total) = 0;
    // Shows the part about to be done (an empty name shows none) and how many are done; false
    // once the user asked to cancel.
    virtual bool StepProgress(const AnsiString& name, int done) = 0;
    // While a part is done: lets the window repaint and hear Cancel; false once the user asked
    // to cancel.
    virtual bool PollProgress() = 0;
    virtual void CloseProgress() = 0;
    virtual void ShowError(const AnsiString& caption, const AnsiString& text) = 0;
};

using TFileOperatorDialogsMaker = std::function<std::unique_ptr<IFileOperatorDialogs>()>;
// Installs the maker of each run's windows (null: none); returns the previous one.
TFileOperatorDialogsMaker SetFileOperatorDialogs(TFileOperatorDialogsMaker maker);
// The installed windows for a run, or the unattended ones: No to every question, no progress
// window, no error box.
std::unique_ptr<IFileOperatorDialogs> MakeFileOperatorDialogs();
