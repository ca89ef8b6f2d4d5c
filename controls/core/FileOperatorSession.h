#pragma once
// One run of the file operator as the user meets it: which questions the options leave to ask,
// what an answer settles (Yes to all answers the same question for the rest of the run), whether
// the progress window shows and with which names, which failures are shown, and whether the run
// counts as aborted.

#include <chrono>
#include <functional>
#include <memory>

#include "controls/core/FileOperatorDialogs.h"

// How long work may go on without the progress window being let to repaint and hear Cancel.
constexpr std::chrono::milliseconds kProgressPollInterval{50};
// For tests: the clock that times those polls (an empty function: the steady clock).
using TWorkClock = std::function<std::chrono::steady_clock::time_point()>;
void SetFileWorkClock(TWorkClock clock);

class TFileOperatorSession {
public:
    TFileOperatorSession(TFileOperation operation, TFileOperFlags options, const AnsiString& progressTitle);
    // Closes the progress window.
    ~TFileOperatorSession();
    TFileOperatorSession(const TFileOperatorSession&) = delete;
    TFileOperatorSession& operator=(const TFileOperatorSession&) = delete;

    // Opens the progress window for so many parts, unless flSilent: titled with the progress
    // title, or the operation's own title when that is empty.
    void Begin(int total);
    // Before each part, named by its program path (no name under flSimpleProgress); false once
    // the user has cancelled, in the progress window or in a question.
    bool Step(const AnsiString& name);
    // Called again and again while a part is done (each entry of a tree, each block copied):
    // once kProgressPollInterval has passed since the progress window was last shown to the
    // user, it repaints and hears its Cancel, also once cancelled (work that must end, an undo,
    // still shows). False once the user has cancelled.
    bool Working();
    // qaYes to do the part, qaNo to skip it, qaCancel to stop (never qaYesToAll). A question the
    // options turn off (flNoConfirmation; flNoConfirmMkDir for a folder) or one answered Yes to
    // all before is not asked again: qaYes.
    TQuestionAnswer Confirm(TFileQuestion question, const AnsiString& name);
    // A part (or, with no name, the whole run) failed: shown unless flNoErrorUI.
    void Fail(const AnsiString& name, const AnsiString& reason);

    // A part was skipped by a No, or the user cancelled.
    bool Aborted() const { return aborted_; }
    bool Cancelled() const { return cancelled_; }

private:
    bool Asks(TFileQuestion question) const;

    const TFileOperation operation_;
    const TFileOperFlags options_;
    const AnsiString progressTitle_;
    std::unique_ptr<IFileOperatorDialogs> dialogs_;
    bool progressOpen_ = false;
    int done_ = 0;
    std::chrono::steady_clock::time_point polled_;
    bool yesToAll_[kFileQuestionCount] = {};
    bool aborted_ = false;
    bool cancelled_ = false;
};
