#include "app/core/WalkView.h"

#include <algorithm>
#include <filesystem>

#include "app/core/WindowTexts.h"
#include "platform/core/Cp949.h"
#include "script/Walk.h"

namespace WalkView {

AnsiString LinePanel(int caretLine, int lineCount)
{
    return AnsiString(WindowText::WalkLine) + std::to_string(caretLine + 1) + "/" + std::to_string(lineCount);
}

AnsiString ColumnPanel(int caretColumn) { return AnsiString(WindowText::WalkColumn) + std::to_string(caretColumn + 1); }

TWriteResult Save(cWalk& walk, const std::vector<AnsiString>& lines, const std::string& nativePath)
{
    const TWriteResult written = WriteWalkLines(nativePath, lines);
    if (!written)
        return written;
    walk.FileName = Utf8ToCp949(std::filesystem::path(nativePath).filename().string());
    walk.Steps = lines;
    const auto count = static_cast<int32_t>(lines.size());
    walk.Current = std::min(walk.Current, count);
    walk.Previous = std::min(walk.Previous, count);
    walk.Saved = std::min(walk.Saved, count);
    return written;
}

}  // namespace WalkView
