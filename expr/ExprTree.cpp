// Builds the operator tree of a checked word sequence. An operator takes the words before it as
// its first operand; the operand after it runs up to the next operator whose priority number is
// not lower, so tighter operators group into it and equal ones group from the left.
#include "expr/ExprTree.h"

namespace {

bool IsLeft(const TExprWord* w) { return w->GetVarType() == vtLeftBracket; }
bool IsRight(const TExprWord* w) { return w->GetVarType() == vtRightBracket; }
bool IsComma(const TExprWord* w) { return w->GetVarType() == vtComma; }

int Priority(const TExprWord* w)
{
    auto* f = dynamic_cast<const TFunction*>(w);
    return f ? f->OperPrec : 0;
}

}  // namespace

TExprTree::TExprTree(const std::vector<TExprWord*>& words, const AnsiString& text)
    : Words(words), Text(text), Match(words.size(), -1)
{
    std::vector<int> open;
    for (size_t i = 0; i < words.size(); ++i) {
        if (IsLeft(words[i])) {
            open.push_back(static_cast<int>(i));
        } else if (IsRight(words[i]) && !open.empty()) {
            Match[open.back()] = static_cast<int>(i);
            Match[i] = open.back();
            open.pop_back();
        }
    }
    if (!open.empty())
        throw EParserException("Unequal brackets");
    for (size_t i = 0; i < words.size(); ++i)
        if (IsRight(words[i]) && Match[i] < 0)
            throw EParserException("Unequal brackets");
}

void TExprTree::SyntaxError() const { throw EParserException("Syntax error in expression " + Text); }

TExprNode* TExprTree::NewNode(TExprWord* word)
{
    // Brackets and separators, or a word without a routine, cannot stand as a value; a record
    // has room for four arguments.
    if (!word->ExprFunc || word->GetNFunctionArg() > 4)
        SyntaxError();
    TExprNode& node = Arena.emplace_back();
    node.Word = word;
    node.NArgs = word->GetNFunctionArg();
    return &node;
}

int TExprTree::NextOper(int begin, int end) const
{
    for (int i = begin; i < end; ++i) {
        if (IsLeft(Words[i]))
            i = Match[i];
        else if (Words[i]->GetNFunctionArg() > 0)
            return i;
    }
    return end;
}

int TExprTree::NextOperOfPriority(int from, int end, int priority) const
{
    for (int i = from; i < end; ++i) {
        if (IsLeft(Words[i]))
            i = Match[i];
        else if (Words[i]->GetIsOper() && Priority(Words[i]) >= priority)
            return i;
    }
    return end;
}

TExprNode* TExprTree::MakeTree() { return Build(0, static_cast<int>(Words.size()), 0); }

TExprNode* TExprTree::Build(int begin, int end, int nesting)
{
    if (nesting > kMaxNesting)
        throw EParserException("Expression too deeply nested");
    while (end - begin >= 2 && IsLeft(Words[begin]) && Match[begin] == end - 1) {
        ++begin;
        --end;
    }
    if (begin >= end)
        return nullptr;
    if (end - begin == 1)
        return NewNode(Words[begin]);

    int i = NextOper(begin, end);
    if (i == end)
        SyntaxError();
    TExprWord* word = Words[i];
    TExprNode* rec;
    int next;
    if (!word->GetIsOper()) {
        // A function: its bracketed argument list, split at the separators of that level.
        if (i > begin)
            SyntaxError();
        std::vector<TExprNode*> args;
        next = i + 1;
        if (next < end && IsLeft(Words[next])) {
            int close = Match[next];
            int from = next + 1;
            for (int k = from; k <= close; ++k) {
                if (k < close && IsLeft(Words[k])) {
                    k = Match[k];
                } else if (k == close || IsComma(Words[k])) {
                    args.push_back(Build(from, k, nesting + 1));
                    from = k + 1;
                }
            }
            next = close + 1;
        }
        if (static_cast<int>(args.size()) > word->GetNFunctionArg())
            SyntaxError();
        rec = NewNode(word);
        for (size_t k = 0; k < args.size(); ++k)
            rec->Args[k] = args[k];
    } else if (word->GetNFunctionArg() == 1 && i == begin) {
        // A prefix operator: its operand follows it.
        int k = NextOperOfPriority(i + 1, end, Priority(word));
        TExprNode* arg = Build(i + 1, k, nesting + 1);
        rec = NewNode(word);
        rec->Args[0] = arg;
        next = k;
    } else if (word->GetNFunctionArg() == 1) {
        // A postfix operator: its operand is what stands before it.
        TExprNode* arg = Build(begin, i, nesting + 1);
        rec = NewNode(word);
        rec->Args[0] = arg;
        next = i + 1;
    } else {
        TExprNode* left = Build(begin, i, nesting + 1);
        int k = NextOperOfPriority(i + 1, end, Priority(word));
        TExprNode* right = Build(i + 1, k, nesting + 1);
        rec = NewNode(word);
        rec->Args[0] = left;
        rec->Args[1] = right;
        next = k;
    }

    // What has been built so far becomes the first argument of the next operator.
    while (next < end) {
        TExprWord* oper = Words[next];
        if (!oper->GetIsOper() || oper->GetNFunctionArg() == 0)
            SyntaxError();
        TExprNode* node;
        if (oper->GetNFunctionArg() == 1) {
            node = NewNode(oper);
            node->Args[0] = rec;
            ++next;
        } else {
            int k = NextOperOfPriority(next + 1, end, Priority(oper));
            TExprNode* right = Build(next + 1, k, nesting + 1);
            node = NewNode(oper);
            node->Args[0] = rec;
            node->Args[1] = right;
            next = k;
        }
        rec = node;
    }
    return rec;
}

bool TExprTree::CheckArguments(const TExprNode* root) const
{
    if (!root)
        return false;
    for (const TExprNode& node : Arena)
        for (int k = 0; k < node.NArgs; ++k)
            if (!node.Args[k])
                return false;
    return true;
}

TCompiledExpression::~TCompiledExpression()
{
    while (First) {
        TExpressionRec* next = First->Next;
        delete First;
        First = next;
    }
}

TExpressionRec* TCompiledExpression::Append()
{
    auto* rec = new TExpressionRec;
    if (Last)
        Last->Next = rec;
    else
        First = rec;
    Last = rec;
    return rec;
}
