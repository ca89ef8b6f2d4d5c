// A save's changes held back and made together: a change the INI file cannot hold, met anywhere
// in the batch, leaves the file as it was; a batch that fits is written as the store's own
// routines would write it.

#include "controls/core/StagedStore.h"

#include <gtest/gtest.h>

#include <functional>

#include "controls/core/AppUtils.h"
#include "platform/core/Exceptions.h"
#include "platform/core/IniFile.h"
#include "tests/platform/core/TempFolder.h"

namespace {

const char kBefore[] = "[S]\r\nKept=1\r\n[Gone]\r\nX=1\r\n";

struct TBatchCase {
    const char* name;
    std::function<void(TObject* store)> changes;
    const char* after;  // the file after the commit; null when the commit is refused
};
class StagedBatch : public ::testing::TestWithParam<TBatchCase> {};

TEST_P(StagedBatch, IsWrittenWholeOrNotAtAll)
{
    TempFolder folder;
    TempFolder::Write(folder.File("s.ini"), kBefore);
    {
        // The file object goes before the file is read: what it still held is written by then.
        TIniFile ini("s.ini");
        TStagedStore staged(&ini);
        GetParam().changes(&staged);
        EXPECT_EQ(TempFolder::Read(folder.File("s.ini")), kBefore);  // nothing before the commit
        if (GetParam().after)
            staged.Commit();
        else
            EXPECT_THROW(staged.Commit(), EIniFileException);
    }
    EXPECT_EQ(TempFolder::Read(folder.File("s.ini")), GetParam().after ? GetParam().after : kBefore);
}

const TBatchCase kBatches[] = {
    {"EveryKindOfChange",
     [](TObject* s) {
         IniWriteInteger(s, "S", "Number", -5);
         IniWriteBool(s, "S", "Flag", true);
         IniWriteString(s, "S", "Quoted", "'q'");
         IniDeleteKey(s, "S", "Kept");
         IniEraseSection(s, "Gone");
     },
     "[S]\r\nNumber=-5\r\nFlag=1\r\nQuoted=\"'q'\"\r\n"},
    {"RegressionLineBreakInTheLastValue",
     [](TObject* s) {
         IniWriteInteger(s, "S", "Number", 1);
         IniEraseSection(s, "Gone");
         IniWriteString(s, "S", "Text", "two\r\nlines");
     },
     nullptr},
    {"RegressionKeyTheFileCannotHold",
     [](TObject* s) {
         IniWriteString(s, "S", "a=b", "x");
         IniWriteString(s, "S", "Later", "y");
     },
     nullptr},
    {"RegressionSectionTheFileCannotHold",
     [](TObject* s) {
         IniWriteString(s, "S", "First", "x");
         IniWriteBool(s, "S]", "Flag", false);
     },
     nullptr},
};
INSTANTIATE_TEST_SUITE_P(Rows, StagedBatch, ::testing::ValuesIn(kBatches),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(StagedStore, ReadsSeeTheStoreAsItWas)
{
    TempFolder folder;
    TempFolder::Write(folder.File("s.ini"), kBefore);
    TIniFile ini("s.ini");
    TStagedStore staged(&ini);
    IniWriteString(&staged, "S", "Kept", "2");
    EXPECT_EQ(IniReadInteger(&staged, "S", "Kept", 0), 1);
}

}  // namespace
