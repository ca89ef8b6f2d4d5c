#include "controls/core/FileOperatorSession.h"

namespace {

bool Has(TFileOperFlags options, TFileOperFlag flag) { return (options & FileOperFlag(flag)) != 0; }

TWorkClock& WorkClock()
{
    static TWorkClock clock;
    return clock;
}

std::chrono::steady_clock::time_point WorkNow()
{
    return WorkClock() ? WorkClock()() : std::chrono::steady_clock::now();
}

}  // namespace

void SetFileWorkClock(TWorkClock clock) { WorkClock() = std::move(clock); }

TFileOperatorSession::TFileOperatorSession(TFileOperation operation, TFileOperFlags options,
                                           const AnsiString& progressTitle)
    : operation_(operation), options_(options), progressTitle_(progressTitle), dialogs_(MakeFileOperatorDialogs())
{}

TFileOperatorSession::~TFileOperatorSession()
{
    if (progressOpen_)
        dialogs_->CloseProgress();
}

void TFileOperatorSession::Begin(int total)
{
    if (Has(options_, flSilent) || progressOpen_)
        return;
    dialogs_->OpenProgress(progressTitle_.empty() ? FileProgressTitle(operation_) : progressTitle_, total);
    progressOpen_ = true;
}

bool TFileOperatorSession::Step(const AnsiString& name)
{
    if (cancelled_)
        return false;
    if (progressOpen_ && !dialogs_->StepProgress(Has(options_, flSimpleProgress) ? AnsiString() : name, done_))
        cancelled_ = aborted_ = true;
    ++done_;
    polled_ = WorkNow();
    return !cancelled_;
}

bool TFileOperatorSession::Working()
{
    // Polled also once cancelled: an undo goes on and the window still repaints.
    if (!progressOpen_)
        return !cancelled_;
    const auto now = WorkNow();
    if (now - polled_ < kProgressPollInterval)
        return !cancelled_;
    polled_ = now;
    if (!dialogs_->PollProgress())
        cancelled_ = aborted_ = true;
    return !cancelled_;
}

bool TFileOperatorSession::Asks(TFileQuestion question) const
{
    if (Has(options_, flNoConfirmation) || yesToAll_[question])
        return false;
    return question != fqMakeFolder || !Has(options_, flNoConfirmMkDir);
}

TQuestionAnswer TFileOperatorSession::Confirm(TFileQuestion question, const AnsiString& name)
{
    if (cancelled_)
        return qaCancel;
    if (!Asks(question))
        return qaYes;
    const bool toTrash = operation_ == foDelete && Has(options_, flAllowUndo);
    switch (dialogs_->Ask(FileQuestionText(question, name, toTrash))) {
    case qaYes: return qaYes;
    case qaYesToAll: yesToAll_[question] = true; return qaYes;
    case qaNo: aborted_ = true; return qaNo;
    default: cancelled_ = aborted_ = true; return qaCancel;
    }
}

void TFileOperatorSession::Fail(const AnsiString& name, const AnsiString& reason)
{
    if (!Has(options_, flNoErrorUI))
        dialogs_->ShowError(FileErrorCaption(operation_), FileErrorText(operation_, name, reason));
}
