// The dispatcher of the "#" command words: the word is compared exactly with every group's words.

#include "script/HashCommand.h"

#include "script/ScriptState.h"
#include "script/ScriptText.h"

namespace {

// Separators of the command word.
constexpr std::string_view WordSeparators = " ,";

// Where the tokenizer goes on after the command word: right after a "{...}" word's '}', else
// after the separator that ended the word.
std::string_view RestAfterWord(std::string_view text)
{
    if (!text.empty() && text[0] == '{') {
        int depth = 1;
        for (size_t i = 1; i < text.size(); ++i) {
            if (text[i] == '{')
                ++depth;
            else if (text[i] == '}' && --depth == 0)
                return text.substr(i + 1);
        }
        return {};
    }
    const size_t end = text.find_first_of(" ,\r\n");
    return end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
}

}  // namespace

std::optional<AnsiString> THashCall::Word() { return State.GetWord(" "); }
std::optional<AnsiString> THashCall::Item() { return State.GetWord(","); }
std::optional<AnsiString> THashCall::Number() { return State.GetWord(" ,"); }

THashHandler FindHashCommand(std::string_view word)
{
    for (auto group : {FileHashWords, MiscHashWords, TriggerHashWords, TimerHashWords, VariableHashWords,
                       ButtonHashWords, WalkHashWords})
        for (const THashWord& w : group())
            if (w.Word == word)
                return w.Run;
    return nullptr;
}

void TScriptState::ExecuteHashCommand(const AnsiString& text)
{
    const AnsiString word = GetWord(text, WordSeparators).value_or(AnsiString());
    const THashHandler run = FindHashCommand(word);
    if (!run) {
        PutDirectString(word + ScriptText::UnknownCommand);
        return;
    }
    THashCall call(*this, RestAfterWord(text));
    run(call);
}
