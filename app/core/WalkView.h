#pragma once
// The walk viewer's decisions, without a display: the caret's place in the status bar, and Save,
// which writes the edited steps and gives them to the loaded walk.

#include <string>
#include <vector>

#include "platform/core/AnsiString.h"
#include "platform/core/AtomicFile.h"
#include "script/Records.h"

namespace WalkView {

// "줄:" + the caret's line (from 1) + "/" + the number of lines.
AnsiString LinePanel(int caretLine, int lineCount);
// "칸:" + the caret's column (from 1).
AnsiString ColumnPanel(int caretColumn);

// Writes the lines to nativePath (atomically; a failure leaves the old file and the walk as they
// were) and then makes them the walk's steps: its file name becomes the path's file name, and its
// current, previous and saved indexes are kept within the new step count.
TWriteResult Save(cWalk& walk, const std::vector<AnsiString>& lines, const std::string& nativePath);

}  // namespace WalkView
