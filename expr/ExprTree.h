#pragma once
// Internal to the parser: the operator tree of one expression being compiled, and the compiled
// evaluation list kept for each expression text.

#include <deque>
#include <vector>

#include "expr/Parseclass.h"

struct TExprNode {
    TExprWord* Word = nullptr;
    int NArgs = 0;
    TExprNode* Args[4] = {nullptr, nullptr, nullptr, nullptr};
    TExpressionRec* Rec = nullptr;  // set while the evaluation list is linked
    bool Varies = false;            // set while constants are folded
};

// Builds the tree of a checked word sequence. Nodes live in an arena in creation order, which
// puts every node after its arguments; nothing is freed recursively.
class TExprTree {
public:
    TExprTree(const std::vector<TExprWord*>& words, const AnsiString& text);

    // The root of the whole sequence. Raises EParserException for a sequence that is not an
    // expression; missing operands are left as null arguments for CheckArguments.
    TExprNode* MakeTree();
    // True when every node has all the arguments its word takes.
    bool CheckArguments(const TExprNode* root) const;

    std::deque<TExprNode>& Nodes() { return Arena; }

    // Deeper nesting of operands than this is refused rather than risking the stack.
    static constexpr int kMaxNesting = 1000;

private:
    TExprNode* Build(int begin, int end, int nesting);
    TExprNode* NewNode(TExprWord* word);
    int NextOper(int begin, int end) const;
    // The next operator at depth 0 in [from, end) whose priority number is not below priority.
    int NextOperOfPriority(int from, int end, int priority) const;
    [[noreturn]] void SyntaxError() const;

    const std::vector<TExprWord*>& Words;
    AnsiString Text;
    std::vector<int> Match;  // the matching bracket of every bracket
    std::deque<TExprNode> Arena;
};

// The evaluation list of one expression text, owned by the parser's expression list.
class TCompiledExpression : public TObject {
public:
    TCompiledExpression() = default;
    ~TCompiledExpression() override;
    TCompiledExpression(const TCompiledExpression&) = delete;
    TCompiledExpression& operator=(const TCompiledExpression&) = delete;

    TExpressionRec* Append();

    TExpressionRec* First = nullptr;
    TExpressionRec* Last = nullptr;
};
