// The in-band picture's wire form on its own: nibbles, complement, repeats, row completion.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "terminal/draw/InBandPicture.h"

namespace {

struct Row {
    int col, y;
    std::vector<uint8_t> bytes;
    bool operator==(const Row&) const = default;
};

struct Recorder {
    TInBandPicture p;
    std::vector<Row> rows;
    TInBandPicture::TRowSink sink = [this](int col, int y, const uint8_t* b, int n) {
        rows.push_back({col, y, std::vector<uint8_t>(b, b + n)});
    };
    // The bytes not taken as data.
    std::string Feed(std::string_view s)
    {
        std::string rest;
        for (char c : s)
            if (!p.Data(static_cast<unsigned char>(c), sink))
                rest += c;
        return rest;
    }
};

}  // namespace

TEST(InBandPictureWire, DigitsAreStoredComplementedHighNibbleFirst)
{
    Recorder r;
    r.p.Header(2, 7, 2);
    r.p.StartRow();
    EXPECT_EQ(r.Feed("1a3Cz"), "z");
    ASSERT_EQ(r.rows.size(), 1u);
    EXPECT_EQ(r.rows[0], (Row{2, 7, {0xE5, 0xC3}}));
    // Data mode ended with the row: digits are text again.
    EXPECT_EQ(r.Feed("12"), "12");
}

TEST(InBandPictureWire, OtherBytesKeepTheirMeaningAndTheRowGoesOn)
{
    Recorder r;
    r.p.Header(0, 0, 2);
    r.p.StartRow();
    EXPECT_EQ(r.Feed("F x0 yF0"), " x y");
    ASSERT_EQ(r.rows.size(), 1u);
    EXPECT_EQ(r.rows[0].bytes, (std::vector<uint8_t>{0x0F, 0x0F}));
    // Each row needs its own start; rows count on from the header.
    r.p.StartRow();
    r.Feed("0000");
    r.p.StartRow();
    r.Feed("FFFF");
    ASSERT_EQ(r.rows.size(), 3u);
    EXPECT_EQ(r.rows[2], (Row{0, 2, {0x00, 0x00}}));
    // A new header starts again at its own row.
    r.p.Header(1, 40, 1);
    r.p.StartRow();
    r.Feed("00");
    EXPECT_EQ(r.rows.back(), (Row{1, 40, {0xFF}}));
}

TEST(InBandPictureWire, RepeatCountsAreTwoDecimalDigitsAndLettersNeverCount)
{
    Recorder r;
    r.p.Header(0, 0, 3);
    r.p.StartRow();
    EXPECT_EQ(r.Feed("R03A5"), "");
    ASSERT_EQ(r.rows.size(), 1u);
    EXPECT_EQ(r.rows[0].bytes, (std::vector<uint8_t>{0x5A, 0x5A, 0x5A}));
    // 'R', one digit, a letter (a nibble), then the second count digit.
    r.p.StartRow();
    EXPECT_EQ(r.Feed("R0F2"), "");
    EXPECT_EQ(r.rows.size(), 1u);
    EXPECT_EQ(r.Feed("0"), "");  // the low nibble: its byte written twice
    EXPECT_EQ(r.rows.size(), 1u);
    r.Feed("00");
    ASSERT_EQ(r.rows.size(), 2u);
    EXPECT_EQ(r.rows[1].bytes, (std::vector<uint8_t>{0x0F, 0x0F, 0xFF}));
}

TEST(InBandPictureWire, WithoutAHeaderRowDataIsDroppedUpToTheFirstOtherByte)
{
    Recorder r;
    r.p.StartRow();
    EXPECT_EQ(r.Feed("FFR12ab! 12"), "! 12");
    EXPECT_TRUE(r.rows.empty());
    r.p.Header(0, 0, TInBandPicture::kMaxRowBytes + 1);
    EXPECT_FALSE(r.p.HasHeader());
    r.p.Header(0, 0, TInBandPicture::kMaxRowBytes);
    EXPECT_TRUE(r.p.HasHeader());
    r.p.Reset();
    EXPECT_FALSE(r.p.HasHeader());
    r.p.StartRow();
    EXPECT_EQ(r.Feed("00 1"), " 1");
    EXPECT_TRUE(r.rows.empty());
}
