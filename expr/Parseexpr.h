#pragma once
// The expression compiler and evaluator: expression texts are compiled into flat lists of
// evaluation records, kept by their text, and evaluated on demand. Numeric, Boolean and string
// expressions, caller variables, unknown names as generated variables, constant folding and a
// table of mathematical functions. TCStyleParser spells the operators the C way.

#include <memory>
#include <unordered_map>
#include <vector>

#include "expr/Parseclass.h"
#include "platform/core/StringList.h"

struct TExprNode;
class TExprTree;
class TCompiledExpression;

class TExpressionParser : public TObject {
public:
    TExpressionParser();
    ~TExpressionParser() override;
    TExpressionParser(const TExpressionParser&) = delete;
    TExpressionParser& operator=(const TExpressionParser&) = delete;

    // Words bound to the caller's memory; a name that is already known keeps its old word.
    void DefineVariable(const AnsiString& name, double* value);
    void DefineStringVariable(const AnsiString& name, AnsiString* value);
    void DefineFunction(const AnsiString& name, TExprFunc routine, int nargs);
    // Frees the word of that name, if any, then adds word (taken over; may be null). Compiled
    // expressions may refer to the freed word, so they are dropped.
    void ReplaceFunction(const AnsiString& name, TExprWord* word);

    // Compiles the text unless it is already compiled, then evaluates it; empty text: NaN.
    double Evaluate(const AnsiString& text);
    // Makes the text's list current, compiling it when new. Returns its index, -1 for an empty
    // (blank) text. Raises EParserException for a text that does not compile.
    int AddExpression(const AnsiString& text);
    double GetResults(int index);
    double EvaluateCurrent();
    bool GetAsBoolean(int index);
    AnsiString GetAsString(int index);
    AnsiString GetAsHexadecimal(int index);
    AnsiString GetExpression(int index) const;
    // The records of the list that do more than copy a constant or variable.
    int GetExprSize(int index) const;
    void GetGeneratedVars(std::vector<TGeneratedVariable*>& list) const;
    void ClearExpressions();

    int ExpressionCount() const { return Expressions.Count(); }
    int ConstantCount() const { return ConstantsList.Count(); }
    int CurrentExpression() const { return CurrentIndex; }

    char HexChar = '$';
    // The system's decimal separator; with ',' the argument separator is ';'.
    char DecimalSeparator;
    char ArgSeparator;
    bool Optimize = true;

protected:
    struct NoFill {};
    // For descendants that fill the word list from their own constructor.
    explicit TExpressionParser(NoFill);

    // Registers the operators, functions and constants.
    virtual void FillExpressList();
    // Adds a word to the dictionary, freeing it when its name is taken.
    void AddWord(TExprWord* word);
    // Frees the word of that name, if any.
    void RemoveWord(const AnsiString& name);

    TExpressList WordsList{30};
    TOCollection ConstantsList{10};
    TStringList Expressions;
    TExpressionRec* CurrentRec = nullptr;
    TExpressionRec* LastRec = nullptr;
    int CurrentIndex = -1;

private:
    int CompileExpression(const AnsiString& text);
    void ParseString(const AnsiString& text, TExprCollection& words);
    std::vector<TExprWord*> CheckExpression(TExprCollection& words);
    TExprNode* RemoveConstants(TExprTree& tree, TExprNode* root);
    std::unique_ptr<TCompiledExpression> MakeLinkedList(TExprNode* root);
    double* ValuePointer(TExprWord* word);
    double EvaluateList(TExpressionRec* first);
    TCompiledExpression* Compiled(int index) const;
    bool IsBoolean(int index) const;
    void ReleaseRetired();

    std::unordered_map<AnsiString, int> ExpressionIndex;
    // Lists and words dropped while an evaluation runs (a user routine may call back into the
    // parser): freed once the outermost evaluation has finished.
    int EvaluationDepth = 0;
    std::vector<TCompiledExpression*> RetiredLists;
    std::vector<TExprWord*> RetiredWords;
};

// The same parser with C spellings: fact( perc( div( for !, %, div; % for mod; && || ! for
// and, or, not; = for assignment; == and != for equal and unequal.
class TCStyleParser : public TExpressionParser {
public:
    TCStyleParser();

protected:
    void FillExpressList() override;
};
