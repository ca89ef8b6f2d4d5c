// Checks a word sequence and rewrites it for the tree builder: unary signs, repeated "not",
// integer powers and string comparisons.
#include <memory>

#include "expr/ExprRoutines.h"
#include "expr/Parseexpr.h"

namespace {

bool IsLeft(const TExprWord* w) { return w->GetVarType() == vtLeftBracket; }
bool IsRight(const TExprWord* w) { return w->GetVarType() == vtRightBracket; }
bool IsTwoArgOper(const TExprWord* w) { return w->GetIsOper() && w->GetNFunctionArg() == 2; }
bool IsSign(const TExprWord* w) { return w->GetIsOper() && (w->Name == "+" || w->Name == "-"); }
bool IsNot(const TExprWord* w) { return w->GetIsOper() && w->ExprFunc == &exprfn::LogicalNot; }

// A number written in the text as a whole number (no decimal separator; a literal's name holds
// its digits with '.' for the separator).
bool IsWholeNumberLiteral(const TExprWord* w)
{
    auto* constant = dynamic_cast<const TDoubleConstant*>(w);
    if (!constant || dynamic_cast<const TGeneratedVariable*>(w) || dynamic_cast<const TBooleanConstant*>(w))
        return false;
    return !w->Name.empty() && w->Name[0] >= '0' && w->Name[0] <= '9' && w->Name.find('.') == AnsiString::npos;
}

}  // namespace

std::vector<TExprWord*> TExpressionParser::CheckExpression(TExprCollection& collection)
{
    // 1. Brackets pair up.
    collection.Check();
    std::vector<TExprWord*> words;
    for (int i = 0; i < collection.Count(); ++i)
        words.push_back(collection.Words(i));

    // 2. A run of signs where an operand is expected becomes one unary sign.
    TExprWord* negate = WordsList.Find("-@");
    TExprWord* plus = WordsList.Find("+@");
    if (negate && plus) {
        std::vector<TExprWord*> out;
        for (size_t i = 0; i < words.size();) {
            bool operandPlace = out.empty() || IsLeft(out.back()) || IsTwoArgOper(out.back());
            if (operandPlace && IsSign(words[i])) {
                int minus = 0;
                for (; i < words.size() && IsSign(words[i]); ++i)
                    minus += words[i]->Name == "-";
                out.push_back(minus % 2 ? negate : plus);
            } else {
                out.push_back(words[i++]);
            }
        }
        words.swap(out);
    }

    // 3. A run of "not" at the start, after "(" or after an operator: one or none.
    {
        std::vector<TExprWord*> out;
        for (size_t i = 0; i < words.size();) {
            bool place = out.empty() || IsLeft(out.back()) || out.back()->GetIsOper();
            if (place && IsNot(words[i])) {
                size_t count = 0;
                TExprWord* word = words[i];
                for (; i < words.size() && IsNot(words[i]); ++i)
                    ++count;
                if (count % 2)
                    out.push_back(word);
            } else {
                out.push_back(words[i++]);
            }
        }
        words.swap(out);
    }

    // 4. Words that cannot stand next to each other.
    for (size_t i = 0; i < words.size(); ++i) {
        TExprWord* w = words[i];
        TExprWord* next = i + 1 < words.size() ? words[i + 1] : nullptr;
        if (next && w->IsVariableOrConstant() && next->IsVariableOrConstant())
            throw EParserException(w->Name + " two space limited variables/constants");
        if (next && IsLeft(next) && dynamic_cast<TGeneratedVariable*>(w))
            throw EParserException(w->Name + " is an unknown function");
        if (IsLeft(w) && (!next || IsRight(next)))
            throw EParserException("Empty brackets ()");
        if (next && IsRight(w) && IsLeft(next))
            throw EParserException("Missing operand between )(");
        if (next && IsRight(w) && next->IsVariableOrConstant())
            throw EParserException("Missing operand between ) and constant/variable");
        if (next && w->IsVariableOrConstant() && IsLeft(next))
            throw EParserException("Missing operand between constant/variable and (");
    }

    // 5. A power whose exponent is written as a whole number is an integer power.
    if (TExprWord* intPower = WordsList.Find("^@")) {
        for (size_t i = 0; i + 1 < words.size(); ++i)
            if (words[i]->GetIsOper() && words[i]->Name == "^" && IsWholeNumberLiteral(words[i + 1]))
                words[i] = intPower;
    }

    // 6. Right to left, string operator string becomes one comparison word.
    for (size_t i = words.size(); i >= 3; --i) {
        TExprWord* left = words[i - 3];
        TExprWord* oper = words[i - 2];
        TExprWord* right = words[i - 1];
        if (left->GetVarType() == vtString && oper->GetIsOper() && right->GetVarType() == vtString) {
            auto compare = std::make_unique<TLogicalStringOper>(oper->Name, left, right);
            ConstantsList.Add(static_cast<TObject*>(compare.get()));
            words[i - 3] = compare.release();
            words.erase(words.begin() + static_cast<long>(i - 2), words.begin() + static_cast<long>(i));
            // Triples holding the new (Boolean) word cannot match: go on with the words before it.
            i -= 2;
        }
    }
    return words;
}
