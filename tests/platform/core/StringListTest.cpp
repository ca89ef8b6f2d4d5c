#include <gtest/gtest.h>

#include <vector>

#include "TempFolder.h"
#include "platform/core/AtomicFile.h"
#include "platform/core/Exceptions.h"
#include "platform/core/StringList.h"

static std::vector<AnsiString> Lines(const TStrings& list)
{
    std::vector<AnsiString> lines;
    for (int i = 0; i < list.Count(); ++i)
        lines.push_back(list.Strings(i));
    return lines;
}

using V = std::vector<AnsiString>;
static const AnsiString kHan = "\xC7\xD1\xB1\xDB";  // "한글"

TEST(TStringListText, SplitsAtCrLfLfAndCr)
{
    TStringList list;
    list.SetText("a\r\nb\nc\rd");
    EXPECT_EQ(Lines(list), (V{"a", "b", "c", "d"}));
    list.SetText("a\r\n");
    EXPECT_EQ(Lines(list), (V{"a"}));  // a final line break adds no line
    list.SetText("a\r\n\r\nb");
    EXPECT_EQ(Lines(list), (V{"a", "", "b"}));
    list.SetText("a\r\rb");
    EXPECT_EQ(Lines(list), (V{"a", "", "b"}));
    list.SetText("a\n\rb");  // LF CR is two line ends
    EXPECT_EQ(Lines(list), (V{"a", "", "b"}));
    list.SetText("");
    EXPECT_EQ(list.Count(), 0);
}

TEST(TStringListText, JoinsWithCrLfAfterEveryLine)
{
    TStringList list;
    list.Add("one");
    list.Add(kHan);
    list.Add("");
    EXPECT_EQ(list.Text(), "one\r\n" + kHan + "\r\n\r\n");
}

TEST(TStringListText, FileRoundTripKeepsHangulAndWritesCrLf)
{
    TempFolder folder;
    TStringList list;
    list.Add(kHan + " line");
    list.Add("");
    list.Add("last");
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
    try {
        list.LoadFromFile("missing.txt");
        FAIL();
    } catch (const EFOpenError& e) {
        EXPECT_EQ(e.Message, "Cannot open file missing.txt");
    }
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
    list.Add("banana");
    list.Add("Apple");
    list.Add("cherry");
    list.Add("apricot");
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
    try {
        list.Add("a");
        FAIL();
    } catch (const EListError& e) {
        EXPECT_EQ(e.Message, "String list does not allow duplicates");
    }
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
    list.Add("a");
    list.Add("A");
    EXPECT_EQ(Lines(list), (V{"A", "a"}));
    EXPECT_EQ(list.IndexOf("a"), 1);
}

TEST(TStringListSorted, EditingInPlaceIsRefused)
{
    TStringList list;
    list.SetSorted(true);
    list.Add("a");
    list.Add("b");
    try {
        list.Insert(0, "z");
        FAIL();
    } catch (const EListError& e) {
        EXPECT_EQ(e.Message, "Operation not allowed on sorted list");
    }
    EXPECT_THROW(list.SetStrings(0, "z"), EListError);
    EXPECT_EQ(Lines(list), (V{"a", "b"}));
}

TEST(TStringListSorted, MoveOnASortedListLosesNoLine)
{
    TStringList list;
    list.SetSorted(true);
    list.Add("a");
    list.Add("b");
    EXPECT_THROW(list.Move(0, 1), EListError);
    EXPECT_EQ(Lines(list), (V{"a", "b"}));
}

TEST(TStringListIndex, BadIndexesRaiseTheFrameworkMessage)
{
    TStringList list;
    list.Add("a");
    try {
        list.Strings(1);
        FAIL();
    } catch (const EListError& e) {
        EXPECT_EQ(e.Message, "List index out of bounds (1)");
    }
    EXPECT_THROW(list.Delete(-1), EListError);
    EXPECT_THROW(list.Insert(2, "x"), EListError);
    EXPECT_THROW(list.Objects(5), EListError);
    EXPECT_THROW(list.Exchange(0, 1), EListError);
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
    EXPECT_EQ(list.IndexOfObject(&o2), 1);
    list.Delete(0);
    EXPECT_EQ(list.Objects(0), &o2);
}

TEST(TStringListEdit, CommaTextQuotesWhatNeedsIt)
{
    TStringList list;
    list.Add("plain");
    list.Add("two words");
    list.Add("say \"hi\"");
    list.Add("a,b");
    list.Add(kHan);
    list.Add("");
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
    list.Add("Host=mud.example");
    list.Add("Port=4002");
    list.Add("no separator");
    EXPECT_EQ(list.Names(0), "Host");
    EXPECT_EQ(list.Names(2), "");
    EXPECT_EQ(list.Values("PORT"), "4002");
    EXPECT_EQ(list.IndexOfName("host"), 0);
    EXPECT_EQ(list.Values("missing"), "");
    list.SetValues("Port", "23");
    EXPECT_EQ(list.Strings(1), "Port=23");
    list.SetValues("New", "x=y");
    EXPECT_EQ(list.Strings(3), "New=x=y");
    EXPECT_EQ(list.ValueFromIndex(3), "x=y");
    list.SetValues("Host", "");
    EXPECT_EQ(list.IndexOfName("Host"), -1);
    EXPECT_EQ(list.Count(), 3);
}

TEST(TStringListEvents, ChangeEventsAreBatchedByUpdates)
{
    TStringList list;
    int changing = 0, changed = 0;
    list.OnChanging = [&](TObject* sender) {
        EXPECT_EQ(sender, &list);
        ++changing;
    };
    list.OnChange = [&](TObject*) { ++changed; };
    list.Add("a");
    EXPECT_EQ(changing, 1);
    EXPECT_EQ(changed, 1);
    list.BeginUpdate();
    list.Add("b");
    list.Add("c");
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
    list.Add("a");
    list.Add("b");
    list.Add("c");
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
    EXPECT_TRUE(source.Equals(&source));
    EXPECT_FALSE(source.Equals(&copy));
}
