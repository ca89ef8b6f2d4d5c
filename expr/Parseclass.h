#pragma once
// The words compiled expressions are built from (constants, variables, brackets, the argument
// separator, functions and operators, string comparisons), the dictionary that holds them, the
// word sequence of one expression being compiled, and the evaluation record.

#include <cstdint>

#include "expr/Oobjects.h"
#include "platform/core/AnsiString.h"
#include "platform/core/Exceptions.h"
#include "platform/core/Object.h"

struct TExpressionRec;
// An evaluation routine: reads the record's arguments and stores its result in Res.
using TExprFunc = void (*)(TExpressionRec* Expr);

// One node of a compiled expression.
struct TExpressionRec {
    TExprFunc ExprFunc = nullptr;
    TExpressionRec* Next = nullptr;  // evaluation order
    double Res = 0.0;
    class TExprWord* ExprWord = nullptr;
    double* Args[4] = {nullptr, nullptr, nullptr, nullptr};
};

class EParserException : public Exception {
    using Exception::Exception;
};

// The routine of every constant and variable: copies the value its first argument points at.
void ExprCopyValue(TExpressionRec* Expr);
// The routine of a string comparison word.
void ExprStringCompare(TExpressionRec* Expr);

// Variable types reported by GetVarType.
enum : uint8_t {
    vtNumber = 0,
    vtBoolean = 1,
    vtString = 2,
    vtLeftBracket = 3,
    vtRightBracket = 4,
    vtComma = 5,
};

class TExprWord : public TObject {
public:
    TExprWord(const AnsiString& name, TExprFunc exprFunc);
    ~TExprWord() override = default;
    TExprWord(const TExprWord&) = delete;
    TExprWord& operator=(const TExprWord&) = delete;

    virtual bool GetIsOper() const { return false; }
    virtual AnsiString GetAsString() const { return AnsiString(); }
    virtual bool GetCanVary() const { return false; }
    virtual uint8_t GetVarType() const { return vtNumber; }
    virtual int GetNFunctionArg() const { return 0; }
    virtual double* AsPointer() { return nullptr; }

    // True for constants and variables: words whose routine copies their value.
    bool IsVariableOrConstant() const;

    AnsiString Name;  // lower case
    TExprFunc ExprFunc;
};

class TDoubleConstant : public TExprWord {
public:
    // The text read as a number; a text that is not one gives not-a-number.
    explicit TDoubleConstant(const AnsiString& text);
    TDoubleConstant(const AnsiString& name, double value);
    double* AsPointer() override { return &Value; }

    double Value;
};

class TBooleanConstant : public TDoubleConstant {
public:
    using TDoubleConstant::TDoubleConstant;
    uint8_t GetVarType() const override { return vtBoolean; }
};

// An unknown name met in an expression. Its value starts as not-a-number; a caller may turn it
// into a string or Boolean through AsString and VarType.
class TGeneratedVariable : public TDoubleConstant {
public:
    explicit TGeneratedVariable(const AnsiString& name);
    bool GetCanVary() const override { return true; }
    AnsiString GetAsString() const override { return AsString; }
    uint8_t GetVarType() const override { return VarType; }

    AnsiString AsString;
    uint8_t VarType = vtNumber;
};

// A number owned by the caller.
class TDoubleVariable : public TExprWord {
public:
    TDoubleVariable(const AnsiString& name, double* value);
    double* AsPointer() override { return Value; }
    bool GetCanVary() const override { return true; }

private:
    double* Value;
};

class TStringConstant : public TExprWord {
public:
    // 'text' keeps what is between the quotes; any other text is kept whole.
    explicit TStringConstant(const AnsiString& text);
    AnsiString GetAsString() const override { return Value; }
    uint8_t GetVarType() const override { return vtString; }

    AnsiString Value;
};

// A string owned by the caller; read without its quotes when it is quoted.
class TStringVariable : public TExprWord {
public:
    TStringVariable(const AnsiString& name, AnsiString* value);
    AnsiString GetAsString() const override;
    uint8_t GetVarType() const override { return vtString; }
    bool GetCanVary() const override { return true; }

private:
    AnsiString* Value;
};

class TLeftBracket : public TExprWord {
public:
    explicit TLeftBracket(const AnsiString& name) : TExprWord(name, nullptr) {}
    uint8_t GetVarType() const override { return vtLeftBracket; }
};

class TRightBracket : public TExprWord {
public:
    explicit TRightBracket(const AnsiString& name) : TExprWord(name, nullptr) {}
    uint8_t GetVarType() const override { return vtRightBracket; }
};

class TComma : public TExprWord {
public:
    explicit TComma(const AnsiString& name) : TExprWord(name, nullptr) {}
    uint8_t GetVarType() const override { return vtComma; }
};

class TFunction : public TExprWord {
public:
    // A function word (not an operator).
    TFunction(const AnsiString& name, TExprFunc exprFunc, int nargs);
    // An operator (isOper) or function with a priority: lower binds tighter.
    TFunction(const AnsiString& name, TExprFunc exprFunc, int priority, bool isOper, int nargs);
    bool GetIsOper() const override { return IsOper; }
    int GetNFunctionArg() const override { return NFunctionArg; }

    uint8_t IsOper;
    int32_t OperPrec;
    int32_t NFunctionArg;
};

// A function whose value changes between evaluations (random numbers): never folded.
class TVaryingFunction : public TFunction {
public:
    using TFunction::TFunction;
    bool GetCanVary() const override { return true; }
};

class TBooleanFunction : public TFunction {
public:
    using TFunction::TFunction;
    uint8_t GetVarType() const override { return vtBoolean; }
};

// Compares two string words with =, >, <, >= or <=.
class TLogicalStringOper : public TExprWord {
public:
    TLogicalStringOper(const AnsiString& oper, TExprWord* left, TExprWord* right);
    uint8_t GetVarType() const override { return vtBoolean; }
    // A comparison with a variable must be compared again at every evaluation.
    bool GetCanVary() const override;
    bool Evaluate() const;

    uint8_t OperCode;
    TExprWord* Left;
    TExprWord* Right;
};

// The dictionary of words, sorted by name; owns them.
class TExpressList : public TSortedCollection {
public:
    using TSortedCollection::TSortedCollection;
    int Compare(const void* key1, const void* key2) const override;
    const void* KeyOf(void* item) const override;
    TExprWord* Words(int index) const { return static_cast<TExprWord*>(static_cast<TObject*>(Items(index))); }
    // The word of that name (lower case), or null.
    TExprWord* Find(const AnsiString& name) const;
    // Adds the word; returns false (the word not taken) when the name is already there.
    bool AddWord(TExprWord* word);
};

// The word sequence of one expression; refers to words owned elsewhere.
class TExprCollection : public TNoOwnerCollection {
public:
    using TNoOwnerCollection::TNoOwnerCollection;
    TExprWord* Words(int index) const { return static_cast<TExprWord*>(static_cast<TObject*>(Items(index))); }
    void AddWord(TExprWord* word) { TList::Add(static_cast<TObject*>(word)); }
    // Brackets must pair up: raises "Unequal brackets".
    void Check() const;
    // ((x)) becomes x; (a)+(b) is left alone.
    void EraseExtraBrackets();
    // The first word at or after start, at bracket depth 0, that takes arguments; Count() if none.
    int NextOper(int start) const;
};
