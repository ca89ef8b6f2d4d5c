// The book window's rules: the default entry, the row made current after a fill, which entry a
// row's buttons act on; and the entry dialog's: the check of its boxes, its modes and the delete
// walk.

#include "app/core/BookWindow.h"

#include <gtest/gtest.h>

#include "app/core/CharEdit.h"
#include "platform/core/Cp949.h"

namespace {

TEST(BookWindow, DefaultEntryIsTheGameServerOnThisMachine)
{
    const auto entry = BookWindow::DefaultEntry();
    const auto cells = BookWindow::RowCells(*entry);
    EXPECT_EQ(Cp949ToUtf8(cells[0] + "|" + cells[1] + "|" + cells[2] + "|" + cells[3]),
              "localhost|127.0.0.1|4002|기본 서버");
    EXPECT_EQ(entry->Status, 6u);
}

struct TRowCase {
    const char* name;
    int remembered, entries, expected;
};

class CurrentRowAfterFill : public ::testing::TestWithParam<TRowCase> {};

TEST_P(CurrentRowAfterFill, KeepsTheRowWithinTheBook)
{
    EXPECT_EQ(BookWindow::CurrentRowAfterFill(GetParam().remembered, GetParam().entries), GetParam().expected);
}

const TRowCase kRowCases[] = {
    {"KeptInside", 2, 3, 2},
    {"LastRowKept", 3, 3, 3},
    {"PastTheEndMovesToTheLastRow", 5, 3, 3},
    {"AfterDeletingDownToOne", 4, 1, 1},
    {"HeaderGoesToTheFirstEntry", 0, 3, 1},
};
INSTANTIATE_TEST_SUITE_P(Rows, CurrentRowAfterFill, ::testing::ValuesIn(kRowCases),
                         [](const auto& row) { return std::string(row.param.name); });

struct TIndexCase {
    const char* name;
    int row, entries, entry, insertAt;
};

class RowButtons : public ::testing::TestWithParam<TIndexCase> {};

TEST_P(RowButtons, ActOnTheRowsEntryOrNone)
{
    const TIndexCase& c = GetParam();
    EXPECT_EQ(BookWindow::EntryIndex(c.row, c.entries), c.entry);
    EXPECT_EQ(BookWindow::InsertIndex(c.row, c.entries), c.insertAt);
}

// Edit, Delete and Connect with the header row current, or with an empty book, find no entry;
// Insert then inserts at the front.
const TIndexCase kIndexCases[] = {
    {"FirstEntry", 1, 3, 0, 0},
    {"LastEntry", 3, 3, 2, 2},
    {"RegressionHeaderRowHasNoEntry", 0, 3, -1, 0},
    {"RegressionEmptyBookHasNoEntry", 1, 0, -1, 0},
    {"PastTheBook", 4, 3, -1, 0},
};
INSTANTIATE_TEST_SUITE_P(Rows, RowButtons, ::testing::ValuesIn(kIndexCases),
                         [](const auto& row) { return std::string(row.param.name); });

struct TFieldsCase {
    const char* name;
    const char* hostName;
    const char* host;
    const char* port;
    const char* charName;
    bool accepted;
};

class EntryCheck : public ::testing::TestWithParam<TFieldsCase> {};

TEST_P(EntryCheck, AcceptsOnlyWhatTheBookCanHold)
{
    const TFieldsCase& c = GetParam();
    EXPECT_EQ(CharEdit::Accepts({c.hostName, c.host, c.port, c.charName}), c.accepted);
}

const TFieldsCase kFieldsCases[] = {
    {"PortOfDigits", "mud", "127.0.0.1", "4002", "warrior", true},
    {"SignedPort", "mud", "127.0.0.1", "-12", "warrior", true},
    {"LetterInPort", "mud", "127.0.0.1", "40a2", "warrior", false},
    {"EmptyPort", "mud", "127.0.0.1", "", "warrior", false},
    {"SignAlone", "mud", "127.0.0.1", "+", "warrior", false},
    {"EmptyHostName", "", "127.0.0.1", "4002", "warrior", false},
    {"EmptyAddress", "mud", "", "4002", "warrior", false},
    {"EmptyServiceName", "mud", "127.0.0.1", "4002", "", false},
    {"RegressionTildeInHostName", "a~b", "127.0.0.1", "4002", "warrior", false},
    {"RegressionTildeInServiceName", "mud", "127.0.0.1", "4002", "~", false},
    {"RegressionTildeInAddress", "mud", "host~", "4002", "warrior", false},
};
INSTANTIATE_TEST_SUITE_P(Fields, EntryCheck, ::testing::ValuesIn(kFieldsCases),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(CharEdit, ButtonCaptionFollowsTheMode)
{
    const char* expected[] = {"디폴트(Bug)", "추가", "수정", "삽입", "삭제", "디폴트(Bug)"};
    for (int mode = 0; mode <= 5; ++mode)
        EXPECT_EQ(Cp949ToUtf8(CharEdit::ButtonCaption(mode)), expected[mode]) << mode;
}

struct TWalkDeleteCase {
    const char* name;
    int deleted, gridRow, entriesLeft, next;
};

class DeleteWalk : public ::testing::TestWithParam<TWalkDeleteCase> {};

TEST_P(DeleteWalk, OffersTheNextEntryOrCloses)
{
    const TWalkDeleteCase& c = GetParam();
    EXPECT_EQ(CharEdit::NextDeleteIndex(c.deleted, c.gridRow, c.entriesLeft), c.next);
}

const TWalkDeleteCase kWalkDeleteCases[] = {
    {"IndexTwoOnRowThreeOffersEntryOne", 2, 3, 4, 1},
    {"IndexOneCloses", 1, 2, 4, -1},
    {"IndexZeroCloses", 0, 1, 4, -1},
    {"RowAfterTheDeletedOneIsOffered", 1, 4, 4, 3},
    {"RegressionNeverPastTheBook", 1, 9, 3, 2},
};
INSTANTIATE_TEST_SUITE_P(Walk, DeleteWalk, ::testing::ValuesIn(kWalkDeleteCases),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(CharEdit, AddInsertAndDeleteChangeTheBook)
{
    TCharBooks::FreeAll();
    CharEdit::Add({"a", "h", "1", "A"});
    CharEdit::Add({"b", "h", "2", "B"});
    CharEdit::Insert(1, {"c", "h", "3", "C"});
    CharEdit::Insert(99, {"d", "h", "4", "D"});
    std::string names;
    for (const auto& e : TCharBooks::CharBookList)
        names += e->HostName + std::to_string(e->Port);
    EXPECT_EQ(names, "a1c3b2d4");
    auto kept = TCharBooks::CharBookList[1];
    EXPECT_TRUE(CharEdit::Delete(1));
    EXPECT_FALSE(CharEdit::Delete(3));
    EXPECT_FALSE(CharEdit::Delete(-1));
    EXPECT_EQ(TCharBooks::CharBookList.size(), 3u);
    // A window open on the deleted entry keeps it.
    EXPECT_EQ(kept->HostName, "c");
    TCharBooks::FreeAll();
}

}  // namespace
