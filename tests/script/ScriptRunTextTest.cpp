#include <gtest/gtest.h>

#include "tools/scriptrun/ScriptRunText.h"

TEST(ScriptRunTextTest, UnescapesInputEscapes)
{
    EXPECT_EQ(UnescapeText("a\\r\\n\\t\\\\b"), "a\r\n\t\\b");
    EXPECT_EQ(UnescapeText("\\xB3\\xb2"), "\xB3\xB2");
    // Anything else keeps its backslash, so raw lines can be typed.
    EXPECT_EQ(UnescapeText("\\say \\x4"), "\\say \\x4");
    EXPECT_EQ(UnescapeText("end\\"), "end\\");
}

TEST(ScriptRunTextTest, EscapesOutputBytes)
{
    EXPECT_EQ(EscapeText("say hi~"), "say hi~");
    EXPECT_EQ(EscapeText("a\\b"), "a\\\\b");
    EXPECT_EQ(EscapeText("\r\n\x1B\xB3\xB2"), "\\x0D\\x0A\\x1B\\xB3\\xB2");
    EXPECT_EQ(UnescapeText(EscapeText(AnsiString("\0\x7F\xFF", 3))), AnsiString("\0\x7F\xFF", 3));
}
