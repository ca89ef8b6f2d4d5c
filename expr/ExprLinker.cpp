// Folding of constant subtrees and linking of the tree into the flat evaluation list.
#include <limits>
#include <memory>
#include <vector>

#include "expr/ExprMath.h"
#include "expr/ExprTree.h"
#include "expr/Parseexpr.h"

namespace {

// Appends the records of the subtree under root to list, arguments before their operator. A
// constant or variable argument gets no record: the argument points at its value.
template <typename ValueOf>
void LinkSubtree(TExprNode* root, TCompiledExpression& list, ValueOf valueOf)
{
    struct Frame {
        TExprNode* Node;
        int NextArg;
    };
    std::vector<Frame> stack{{root, 0}};
    while (!stack.empty()) {
        Frame& top = stack.back();
        TExprNode* node = top.Node;
        if (top.NextArg < node->NArgs) {
            TExprNode* arg = node->Args[top.NextArg++];
            if (arg && !arg->Word->IsVariableOrConstant())
                stack.push_back({arg, 0});
            continue;
        }
        TExpressionRec* rec = list.Append();
        rec->ExprFunc = node->Word->ExprFunc;
        rec->ExprWord = node->Word;
        for (int k = 0; k < node->NArgs; ++k) {
            TExprNode* arg = node->Args[k];
            rec->Args[k] = arg->Word->IsVariableOrConstant() ? valueOf(arg->Word) : &arg->Rec->Res;
        }
        node->Rec = rec;
        stack.pop_back();
    }
}

}  // namespace

double* TExpressionParser::ValuePointer(TExprWord* word)
{
    if (double* value = word->AsPointer())
        return value;
    // A string used as a number: it has no numeric value, so it reads as not-a-number, through a
    // slot of its own that an assignment may overwrite without harm.
    auto* slot = new TDoubleConstant("nan", std::numeric_limits<double>::quiet_NaN());
    ConstantsList.Add(static_cast<TObject*>(slot));
    return &slot->Value;
}

TExprNode* TExpressionParser::RemoveConstants(TExprTree& tree, TExprNode* root)
{
    // The arena holds every node after its arguments, so one forward pass finds the subtrees
    // that can vary (a variable, a generated variable or a varying function below them).
    for (TExprNode& node : tree.Nodes()) {
        node.Varies = node.Word->GetCanVary();
        for (int k = 0; k < node.NArgs; ++k)
            node.Varies = node.Varies || node.Args[k]->Varies;
    }
    // Every largest subtree that cannot vary is evaluated once and becomes a constant.
    std::vector<TExprNode*> pending{root};
    while (!pending.empty()) {
        TExprNode* node = pending.back();
        pending.pop_back();
        if (node->Word->IsVariableOrConstant())
            continue;
        if (node->Varies) {
            for (int k = 0; k < node->NArgs; ++k)
                pending.push_back(node->Args[k]);
            continue;
        }
        TCompiledExpression once;
        LinkSubtree(node, once, [this](TExprWord* word) { return ValuePointer(word); });
        double value = EvaluateList(once.First);
        AnsiString name = FormatShortest(value);
        TDoubleConstant* constant = node->Word->GetVarType() == vtBoolean ? new TBooleanConstant(name, value)
                                                                          : new TDoubleConstant(name, value);
        ConstantsList.Add(static_cast<TObject*>(constant));
        node->Word = constant;
        node->NArgs = 0;
        for (TExprNode*& arg : node->Args)
            arg = nullptr;
    }
    return root;
}

std::unique_ptr<TCompiledExpression> TExpressionParser::MakeLinkedList(TExprNode* root)
{
    auto list = std::make_unique<TCompiledExpression>();
    auto valueOf = [this](TExprWord* word) { return ValuePointer(word); };
    if (root->Word->IsVariableOrConstant()) {
        TExpressionRec* rec = list->Append();
        rec->ExprFunc = root->Word->ExprFunc;
        rec->ExprWord = root->Word;
        rec->Args[0] = valueOf(root->Word);
    } else {
        LinkSubtree(root, *list, valueOf);
    }
    return list;
}

double TExpressionParser::EvaluateList(TExpressionRec* first)
{
    if (!first)
        return std::numeric_limits<double>::quiet_NaN();
    struct DepthGuard {
        TExpressionParser& Parser;
        explicit DepthGuard(TExpressionParser& parser) : Parser(parser) { ++Parser.EvaluationDepth; }
        ~DepthGuard()
        {
            if (--Parser.EvaluationDepth == 0)
                Parser.ReleaseRetired();
        }
    } guard(*this);
    TExpressionRec* last = first;
    for (TExpressionRec* rec = first; rec; rec = rec->Next) {
        rec->ExprFunc(rec);
        last = rec;
    }
    return last->Res;
}
