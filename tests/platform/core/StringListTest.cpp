#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>
#include <vector>

#include "TempFolder.h"
#include "platform/core/AtomicFile.h"
#include "platform/core/Exceptions.h"
#include "platform/core/StringList.h"
#include "tests/platform/core/Cases.h"
#include "tests/platform/core/Cp949Text.h"

// Adds the lines one at a time, as a caller would.
static void AddAll(TStrings& list, std::initializer_list<AnsiString> lines)
{
    for (const AnsiString& line : lines)
        list.Add(line);
}

TEST(TStringListText, SplitsAtCrLfLfAndCrAndJoinsWithCrLf)
{
    // A final line break adds no line; LF CR is two line ends.
    const std::pair<const char*, V> cases[] = {{"a\r\nb\nc\rd", {"a", "b", "c", "d"}},
                                               {"a\r\n", {"a"}},
                                               {"a\r\n\r\nb", {"a", "", "b"}},
                                               {"a\r\rb", {"a", "", "b"}},
                                               {"a\n\rb", {"a", "", "b"}},
                                               {"", {}}};
    TStringList list;
    for (const auto& [text, want] : cases) {
        list.SetText(text);
        EXPECT_EQ(Lines(list), want) << text;
    }
    AddAll(list, {"one", kHan, ""});
    EXPECT_EQ(list.Text(), "one\r\n" + kHan + "\r\n\r\n");
}

TEST(TStringListText, FileRoundTripKeepsHangulAndWritesCrLf)
{
    TempFolder folder;
    TStringList list;
    AddAll(list, {kHan + " line", "", "last"});
    list.SaveToFile("sub.txt");
    EXPECT_EQ(TempFolder::Read(folder.File("sub.txt")), kHan + " line\r\n\r\nlast\r\n");

    TStringList back;
    back.LoadFromFile("sub.txt");
    EXPECT_EQ(Lines(back), Lines(list));

    // A file written elsewhere with bare LF loads the same lines.
    TempFolder::Write(folder.File("lf.txt"), kHan + " line\n\nlast\n");
    back.LoadFromFile("lf.txt");
    EXPECT_EQ(Lines(back), Lines(list));
}

TEST(TStringListText, LoadingAMissingFileRaisesAndKeepsTheLines)
{
    TempFolder folder;
    TStringList list;
    list.Add("kept");
    ExpectRaises<EFOpenError>([&] { list.LoadFromFile("missing.txt"); }, "Cannot open file missing.txt");
    EXPECT_EQ(Lines(list), (V{"kept"}));
}

TEST(TStringListText, AFailedSaveRaisesAndLeavesTheOldFile)
{
    TempFolder folder;
    TempFolder::Write(folder.File("keep.txt"), "old\r\n");
    TStringList list;
    list.Add("new");
    InjectAtomicWriteFailure(TAtomicWriteStep::Write);
    EXPECT_THROW(list.SaveToFile("keep.txt"), EInOutError);
    EXPECT_EQ(TempFolder::Read(folder.File("keep.txt")), "old\r\n");
}

TEST(TStringListSorted, SortsWithoutRegardToAsciiCase)
{
    TStringList list;
    AddAll(list, {"banana", "Apple", "cherry", "apricot"});
    list.Sort();
    EXPECT_EQ(Lines(list), (V{"Apple", "apricot", "banana", "cherry"}));
    EXPECT_EQ(list.IndexOf("APPLE"), 0);
}

TEST(TStringListSorted, DuplicatesAreIgnoredAcceptedOrRefused)
{
    TStringList list;
    list.SetSorted(true);
    EXPECT_EQ(list.Add("b"), 0);
    EXPECT_EQ(list.Add("a"), 0);
    EXPECT_EQ(list.Add("B"), 1);  // dupIgnore: the index of the line already there
    EXPECT_EQ(Lines(list), (V{"a", "b"}));

    list.SetDuplicates(dupAccept);
    list.Add("B");
    EXPECT_EQ(list.Count(), 3);

    list.SetDuplicates(dupError);
    ExpectRaises<EListError>([&] { list.Add("a"); }, "String list does not allow duplicates");
    EXPECT_EQ(list.Count(), 3);
}

TEST(TStringListSorted, FindGivesTheInsertPosition)
{
    TStringList list;
    list.SetSorted(true);
    for (const char* s : {"delta", "alpha", "charlie"})
        list.Add(s);
    int index = -1;
    EXPECT_TRUE(list.Find("CHARLIE", index));
    EXPECT_EQ(index, 1);
    EXPECT_FALSE(list.Find("bravo", index));
    EXPECT_EQ(index, 1);
    EXPECT_FALSE(list.Find("zulu", index));
    EXPECT_EQ(index, 3);
}

TEST(TStringListSorted, CaseSensitiveListsKeepBothCases)
{
    TStringList list;
    list.SetCaseSensitive(true);
    list.SetSorted(true);
    AddAll(list, {"a", "A"});
    EXPECT_EQ(Lines(list), (V{"A", "a"}));
    EXPECT_EQ(list.IndexOf("a"), 1);
}

TEST(TStringListSorted, EditingInPlaceIsRefused)
{
    TStringList list;
    list.SetSorted(true);
    AddAll(list, {"a", "b"});
    ExpectRaises<EListError>([&] { list.Insert(0, "z"); }, "Operation not allowed on sorted list");
    EXPECT_THROW(list.SetStrings(0, "z"), EListError);
    EXPECT_EQ(Lines(list), (V{"a", "b"}));
}

TEST(TStringListSorted, MoveOnASortedListLosesNoLine)
{
    TStringList list;
    list.SetSorted(true);
    AddAll(list, {"a", "b"});
    EXPECT_THROW(list.Move(0, 1), EListError);
    EXPECT_EQ(Lines(list), (V{"a", "b"}));
}

TEST(TStringListIndex, BadIndexesRaiseTheFrameworkMessage)
{
    TStringList list;
    list.Add("a");
    ExpectRaises<EListError>([&] { list.Strings(1); }, "List index out of bounds (1)");
    EXPECT_THROW(list.Delete(-1), EListError);
    EXPECT_THROW(list.Insert(2, "x"), EListError);
    EXPECT_THROW(list.Move(0, 3), EListError);
    EXPECT_EQ(Lines(list), (V{"a"}));
}

TEST(TStringListEdit, InsertMoveExchangeKeepObjects)
{
    TObject o1, o2, o3;
    TStringList list;
    list.AddObject("one", &o1);
    list.AddObject("three", &o3);
    list.InsertObject(1, "two", &o2);
    list.Move(0, 2);
    EXPECT_EQ(Lines(list), (V{"two", "three", "one"}));
    EXPECT_EQ(list.Objects(2), &o1);
    list.Exchange(0, 1);
    EXPECT_EQ(list.Strings(0), "three");
    EXPECT_EQ(list.Objects(0), &o3);
    list.Delete(0);
    EXPECT_EQ(list.Objects(0), &o2);
}

TEST(TStringListEdit, CommaTextQuotesWhatNeedsIt)
{
    TStringList list;
    AddAll(list, {"plain", "two words", "say \"hi\"", "a,b", kHan, ""});
    EXPECT_EQ(list.CommaText(), "plain,\"two words\",\"say \"\"hi\"\"\",\"a,b\"," + kHan + ",");

    TStringList back;
    back.SetCommaText(list.CommaText() + "x");
    EXPECT_EQ(Lines(back), (V{"plain", "two words", "say \"hi\"", "a,b", kHan, "x"}));

    back.SetCommaText("a b, c,,d");  // blanks split outside quotes; an empty field stays
    EXPECT_EQ(Lines(back), (V{"a", "b", "c", "", "d"}));

    TStringList single;
    single.Add("");
    EXPECT_EQ(single.CommaText(), "\"\"");
}

TEST(TStringListEdit, DelimitedTextUsesItsOwnCharacters)
{
    TStringList list;
    list.SetDelimiter(';');
    list.SetQuoteChar('\'');
    list.SetDelimitedText("a;'b;c';'it''s'");
    EXPECT_EQ(Lines(list), (V{"a", "b;c", "it's"}));
    EXPECT_EQ(list.DelimitedText(), "a;'b;c';'it''s'");
}

TEST(TStringListEdit, NamesAndValues)
{
    TStringList list;
    AddAll(list, {"Host=mud.example", "Port=4002", "no separator"});
    EXPECT_EQ(list.Names(0), "Host");
    EXPECT_EQ(list.Values("PORT"), "4002");
    EXPECT_EQ(list.IndexOfName("host"), 0);
    list.SetValues("Port", "23");
    EXPECT_EQ(list.Strings(1), "Port=23");
    list.SetValues("New", "x=y");
    EXPECT_EQ(list.Strings(3), "New=x=y");
    list.SetValues("Host", "");
    EXPECT_EQ(list.IndexOfName("Host"), -1);
    EXPECT_EQ(list.Count(), 3);
}

TEST(TStringListEvents, ChangeEventsAreBatchedByUpdates)
{
    TStringList list;
    int changing = 0, changed = 0;
    list.OnChanging = [&](TObject*) { ++changing; };
    list.OnChange = [&](TObject*) { ++changed; };
    list.Add("a");
    EXPECT_EQ(changing, 1);
    EXPECT_EQ(changed, 1);
    list.BeginUpdate();
    AddAll(list, {"b", "c"});
    list.Delete(0);
    EXPECT_EQ(changed, 1);
    list.EndUpdate();
    EXPECT_EQ(changing, 2);
    EXPECT_EQ(changed, 2);
    list.SetText("x\r\ny");  // one change for the whole text
    EXPECT_EQ(changed, 3);
}

TEST(TStringListEvents, AHandlerMayEditTheListItWatches)
{
    TStringList list;
    list.OnChange = [&](TObject*) {
        if (list.Count() > 2) {
            list.OnChange = nullptr;  // replaces the running handler
            list.Delete(0);
        }
    };
    AddAll(list, {"a", "b", "c"});
    EXPECT_EQ(Lines(list), (V{"b", "c"}));
}

TEST(TStringListEdit, AssignAndAddStringsCopyLinesAndObjects)
{
    TObject o;
    TStringList source;
    source.AddObject("x", &o);
    source.Add("y");
    TStringList copy;
    copy.Add("old");
    copy.Assign(&source);
    EXPECT_EQ(Lines(copy), (V{"x", "y"}));
    EXPECT_EQ(copy.Objects(0), &o);
    copy.AddStrings(&copy);  // adding a list to itself doubles it once
    EXPECT_EQ(Lines(copy), (V{"x", "y", "x", "y"}));
    EXPECT_FALSE(source.Equals(&copy));
}
