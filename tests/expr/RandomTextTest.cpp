// Garbage in: every text either compiles and evaluates or raises the parser's exception.
#include <random>
#include <string>
#include <vector>

#include "ExprTestSupport.h"

namespace {

// Compiles and evaluates text through every result call; returns false when anything but the
// parser's exception escapes.
bool Survives(TExpressionParser& p, const std::string& text)
{
    try {
        int index = p.AddExpression(text);
        p.GetResults(index);
        p.GetAsString(index);
        p.GetAsHexadecimal(index);
        p.GetExprSize(index);
        ErrorOf([&] { p.GetAsBoolean(index); });
    } catch (const EParserException&) {
    } catch (...) {
        return false;
    }
    return true;
}

// Pieces of the language, so that random texts get past the scanner often.
const std::vector<std::string> kPieces = {
    "(",        ")",
    "(",        ")",
    ",",        "+",
    "-",        "*",
    "/",        "^",
    "!",        "%",
    ":=",       "=",
    "<>",       "<",
    ">",        "<=",
    ">=",       "==",
    "!=",       "&&",
    "||",       "not",
    "and",      "or",
    "xor",      "div",
    "mod",      "1",
    "0",        "2.5",
    "1e3",      "$ff",
    "$",        "'s'",
    "'",        "x",
    "y",        "pi",
    "random",   "sin",
    "max",      "if",
    "randg",    "logn",
    "fact",     "perc",
    " ",        " ",
    "1e999",    "170",
    "\xC7\xD1", "\x8C",
    ".",        ";",
    "#",        std::string(1, '\0'),
};

std::string RandomText(std::mt19937& rng)
{
    std::uniform_int_distribution<int> length(0, 24), byte(0, 255), coin(0, 9);
    std::uniform_int_distribution<size_t> piece(0, kPieces.size() - 1);
    std::string text;
    for (int n = length(rng); n > 0; --n)
        text += coin(rng) == 0 ? std::string(1, static_cast<char>(byte(rng))) : kPieces[piece(rng)];
    return text;
}

}  // namespace

TEST(ParserRandomText, SeededGarbageNeverCrashes)
{
    std::mt19937 rng(20261206);
    TExpressionParser pascal;
    TCStyleParser c;
    for (int i = 0; i < 20000; ++i) {
        std::string text = RandomText(rng);
        ASSERT_TRUE(Survives(pascal, text)) << text;
        ASSERT_TRUE(Survives(c, text)) << text;
        if (i % 1000 == 999) {
            pascal.ClearExpressions();
            c.ClearExpressions();
        }
    }
}

TEST(ParserRandomText, RawBytesNeverCrash)
{
    std::mt19937 rng(77);
    std::uniform_int_distribution<int> byte(0, 255), length(0, 40);
    TExpressionParser p;
    for (int i = 0; i < 5000; ++i) {
        std::string text;
        for (int n = length(rng); n > 0; --n)
            text += static_cast<char>(byte(rng));
        ASSERT_TRUE(Survives(p, text));
    }
}

TEST(ParserRandomText, LongTextsStayLinear)
{
    TExpressionParser p;
    // A long left-grouped chain links and folds without recursing per term.
    std::string sum = "x := 0";
    for (int i = 0; i < 50000; ++i)
        sum += "+1";
    EXPECT_EQ(p.Evaluate(sum), 50000);
    std::string chain = "x";
    for (int i = 0; i < 50000; ++i)
        chain += "+x";
    EXPECT_EQ(p.Evaluate(chain), 50001 * 50000.0);
    EXPECT_EQ(p.GetExprSize(p.AddExpression(chain)), 50000);
    // Many brackets side by side, each shallow.
    std::string wide = "0";
    for (int i = 0; i < 20000; ++i)
        wide += "+(1)";
    EXPECT_EQ(p.Evaluate(wide), 20000);
    for (const std::string& text : {std::string(200000, '('), std::string(200000, '-') + "1", std::string(200000, '!')})
        EXPECT_TRUE(Survives(p, text)) << text.substr(0, 4);
}
