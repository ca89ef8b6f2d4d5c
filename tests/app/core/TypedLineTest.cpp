// Enter in the input line across every combination of port, T/D mode, walk recording, empty or
// typed line and the server's echo; then the history and its cursor.

#include "app/core/TypedLine.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "tests/app/core/FakeWindow.h"

namespace {

struct TEnterCase {
    int port;
    bool translate;
    bool recording;
    const char* typed;
    bool serverEchoes;
    const char* log;  // then "kept:" and the history's lines
};

class EnterMatrix : public ::testing::TestWithParam<TEnterCase> {};

TEST_P(EnterMatrix, RunsTheStepsInOrder)
{
    const TEnterCase& c = GetParam();
    TFakeWindow window;
    window.PortNumber = c.port;
    window.Translate = c.translate;
    window.Recording = c.recording;
    window.Echoing = c.serverEchoes;
    TTypedHistory history;
    EnterTypedLine(c.typed, window, history);
    for (int i = 0; i < history.Count(); ++i)
        window.Write("kept:" + history.Line(i));
    EXPECT_EQ(window.Log, c.log);
    EXPECT_EQ(history.HistoryIndex(), history.Count() - 1);
}

// Port 23 never echoes; the server's echo stops the local one on other ports; an empty line is a
// bare CR LF in every mode; T mode leaves recording to the executor.
const TEnterCase kEnterCases[] = {
    {4000, true, false, "look", false, "echo:look~ exec:look~ kept:look"},
    {4000, true, false, "look", true, "exec:look~ kept:look"},
    {4000, true, true, "look", false, "echo:look~ exec:look~ kept:look"},
    {4000, true, true, "look", true, "exec:look~ kept:look"},
    {4000, false, false, "look", false, "echo:look~ send:look~ kept:look"},
    {4000, false, false, "look", true, "send:look~ kept:look"},
    {4000, false, true, "look", false, "echo:look~ record:look~ send:look~ kept:look"},
    {4000, false, true, "look", true, "record:look~ send:look~ kept:look"},
    {4000, true, false, "", false, "echo:~ send:~"},
    {4000, true, false, "", true, "send:~"},
    {4000, true, true, "", false, "echo:~ send:~"},
    {4000, true, true, "", true, "send:~"},
    {4000, false, false, "", false, "echo:~ send:~"},
    {4000, false, false, "", true, "send:~"},
    {4000, false, true, "", false, "echo:~ send:~"},
    {4000, false, true, "", true, "send:~"},
    {23, true, false, "look", false, "exec:look~ kept:look"},
    {23, true, false, "look", true, "exec:look~ kept:look"},
    {23, true, true, "look", false, "exec:look~ kept:look"},
    {23, true, true, "look", true, "exec:look~ kept:look"},
    {23, false, false, "look", false, "send:look~ kept:look"},
    {23, false, false, "look", true, "send:look~ kept:look"},
    {23, false, true, "look", false, "record:look~ send:look~ kept:look"},
    {23, false, true, "look", true, "record:look~ send:look~ kept:look"},
    {23, true, false, "", false, "send:~"},
    {23, true, false, "", true, "send:~"},
    {23, true, true, "", false, "send:~"},
    {23, true, true, "", true, "send:~"},
    {23, false, false, "", false, "send:~"},
    {23, false, false, "", true, "send:~"},
    {23, false, true, "", false, "send:~"},
    {23, false, true, "", true, "send:~"},
};

INSTANTIATE_TEST_SUITE_P(Enter, EnterMatrix, ::testing::ValuesIn(kEnterCases), [](const auto& param) {
    const TEnterCase& c = param.param;
    return "Port" + std::to_string(c.port) + (c.translate ? "_TMode" : "_DMode") +
        (c.recording ? "_Recording" : "_NotRecording") + (*c.typed ? "_Typed" : "_Empty") +
        (c.serverEchoes ? "_ServerEchoes" : "_LocalEcho");
});

TEST(EnterTypedLine, RecordingStartedByATriggerOnTheEchoRecordsTheLine)
{
    TFakeWindow window;
    window.OnEcho = [&] { window.Recording = true; };
    TTypedHistory history;
    EnterTypedLine("n", window, history);
    EXPECT_EQ(window.Log, "echo:n~ record:n~ send:n~");
}

// History steps, blank-separated: "+text" is Enter with that text ("+" alone: empty), "up" and
// "down" are the keys. The log holds each key's shown line ("-" for none), then "@" and the
// cursor.
struct THistoryCase {
    const char* name;
    const char* steps;
    const char* log;
};

class HistoryKeys : public ::testing::TestWithParam<THistoryCase> {};

TEST_P(HistoryKeys, ShowTheLinesUnderTheCursor)
{
    TTypedHistory history;
    std::istringstream in(GetParam().steps);
    std::string log;
    for (std::string step; in >> step;) {
        if (step[0] == '+') {
            history.Enter(step.substr(1));
            continue;
        }
        const auto shown = step == "up" ? history.Up() : history.Down();
        log += (shown ? *shown : "-") + " ";
    }
    EXPECT_EQ(log + "@" + std::to_string(history.HistoryIndex()), GetParam().log);
}

const THistoryCase kHistoryCases[] = {
    {"UpRightAfterEnterShowsTheNewLine", "+a +b up", "b @0"},
    {"UpWrapsToTheNewestLine", "+a +b +c up up up up", "c b a c @1"},
    {"DownWrapsToTheOldestLine", "+a +b down down down", "b a b @0"},
    {"EachKeyShowsTheLineThenMovesTheCursor", "+a +b +c up up down down", "c b a b @2"},
    {"EmptyHistoryShowsNothing", "up down", "- - @0"},
    {"EmptyEnterKeepsNothingAndResetsTheCursor", "+a +b +c up up + up", "c b c @1"},
    {"DownWithOneLineKeepsShowingIt", "+a down down", "a a @0"},
    {"DuplicatesAreKept", "+a +a up up up", "a a a @0"},
};

INSTANTIATE_TEST_SUITE_P(History, HistoryKeys, ::testing::ValuesIn(kHistoryCases),
                         [](const auto& param) { return std::string(param.param.name); });

TEST(TypedHistory, The1001stLineDropsTheOldest)
{
    TTypedHistory history;
    for (int i = 0; i <= TTypedHistory::kMaxLines; ++i)
        history.Enter("line" + std::to_string(i));
    ASSERT_EQ(history.Count(), 1000);
    EXPECT_EQ(history.Line(0), "line1");
    EXPECT_EQ(history.Up(), "line1000");
    EXPECT_EQ(history.ChatStrs().Strings()->Count(), 1000);
}

}  // namespace
