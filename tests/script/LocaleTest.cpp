// The script engine under a desktop locale that writes a comma before decimals: "#vm" reads
// the numbers of its expressions with ".", and command files load and save byte for byte as
// under "C".

#include "ScriptTest.h"
#include "script/CmdFile.h"
#include "script/Variables.h"
#include "tests/CommaLocale.h"

namespace {

class ScriptUnderACommaLocale : public ScriptTest {
protected:
    void SetUp() override { RequireCommaLocale(); }
    void TearDown() override { std::setlocale(LC_ALL, "C"); }

    // The variable's value after "#vm" sets it to the expression, or "error" when the
    // expression is refused (the value then stays).
    std::string ComputedBy(const char* expression)
    {
        Run("#vs n 0");
        int status = -1;
        state.EvalArithmetic(expression, status);
        Run(AnsiString("#vm n ") + expression);
        return status == 1 ? std::string(*LookupVariable(state.VariableList, "n")) : "error";
    }
};

struct TVmCase {
    const char* Name;
    const char* Expression;
    const char* Want;
};

// Values are saturated to 32-bit integers when stored.
const TVmCase kVmCases[] = {
    {"ExponentNumber", "1.5E2", "150"},
    {"RoundOfAHalf", "ROUND(2.5)", "3"},
    {"DecimalFactor", "0.5*4", "2"},
    {"LeadingPoint", ".25*8", "2"},
    {"TrailingPoint", "3.+1", "4"},
    {"NegativeExponent", "2.5E-1*16", "4"},
    {"FunctionOfADecimal", "SQRT(2.25)*2", "3"},
    {"TruncOfADecimal", "TRUNC(-2.7)", "-2"},
    {"PowerOfADecimal", "0.5^-3", "8"},
    {"FourExponentDigitsAreRefused", "1E1000", "error"},
};

}  // namespace

TEST_F(ScriptUnderACommaLocale, RegressionVmReadDecimalsWithTheDesktopsComma)
{
    AddVariable("n", "0", 'D');
    for (const TVmCase& c : kVmCases)
        ExpectInBothLocales(
            c.Name, [&] { return ComputedBy(c.Expression); }, std::string(c.Want));
}

TEST_F(ScriptUnderACommaLocale, CommandFilesLoadAndSaveAsUnderC)
{
    const std::string golden = ReadFile(std::string(HM_SOURCE_DIR) + "/tests/script/data/Character.Cmd");
    ASSERT_FALSE(golden.empty());
    const auto savedAgain = [&] {
        state.ClearCmdData();
        const std::string copy = PathOf("Copy.Cmd");
        const bool loaded = state.LoadCmdFile(WriteFile("Loaded.Cmd", golden));
        const bool saved = state.SaveCmdFile(copy);
        return (loaded && saved ? "" : "failed ") + std::string(CmdFileText(state)) + ReadFile(copy);
    };
    ExpectInBothLocales("Character.Cmd", savedAgain, golden + golden);
}
