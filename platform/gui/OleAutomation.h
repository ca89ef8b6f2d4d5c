#pragma once
// Late-bound automation objects: what the grid's spreadsheet and document exchange talk to in
// place of the office servers. An object is called by member name as a method, a property read
// or a property write, with positional and named arguments; values are empty, a variant, an
// object or a two-dimensional array. CreateOleObject serves "excel.application" and
// "word.application" in-process (OfficeServers.cpp); tests put a factory of their own in front.
//
// Files: OleAutomation.cpp (values, calls, the factory, the recording server), OfficeServers.cpp
// (the spreadsheet and document object models), OfficePackage.cpp (.xlsx and .docx through
// libzip and Qt's XML stream classes), OfficeConvert.cpp (LibreOffice for other extensions).

#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "platform/core/Exceptions.h"
#include "platform/core/Variant.h"

class IDispatchObject;
using TDispatch = std::shared_ptr<IDispatchObject>;
class TOleArray;

// One automation value.
class TOleVariant {
public:
    TOleVariant() = default;
    TOleVariant(Variant Value) : FValue(std::move(Value)) {}
    TOleVariant(int Value) : FValue(Variant(Value)) {}
    TOleVariant(bool Value) : FValue(Variant(Value)) {}
    TOleVariant(const char* Value) : FValue(Variant(Value)) {}
    TOleVariant(const AnsiString& Value) : FValue(Variant(Value)) {}
    TOleVariant(TDispatch Object) : FObject(std::move(Object)) {}
    TOleVariant(std::shared_ptr<TOleArray> Array) : FArray(std::move(Array)) {}

    bool IsEmpty() const { return !FObject && !FArray && FValue.IsEmpty(); }
    const Variant& Value() const { return FValue; }
    const TDispatch& Object() const { return FObject; }
    const std::shared_ptr<TOleArray>& Array() const { return FArray; }
    // The value as text (empty for an object or an array).
    AnsiString AsString() const { return FObject || FArray ? AnsiString() : VarToStr(FValue); }

private:
    Variant FValue;
    TDispatch FObject;
    std::shared_ptr<TOleArray> FArray;
};

// A two-dimensional array with its own lower bounds (VarArrayCreate([l1, h1, l2, h2])). Only
// the items written are kept, so a large array holding a few values costs those values.
class TOleArray {
public:
    TOleArray(int RowLow, int RowHigh, int ColLow, int ColHigh);
    int RowLow() const { return FRowLow; }
    int RowHigh() const { return FRowLow + FRows - 1; }
    int ColLow() const { return FColLow; }
    int ColHigh() const { return FColLow + FCols - 1; }
    // Raises EVariantError "Variant array index out of bounds" outside the bounds; an item
    // never written reads empty.
    TOleVariant& At(int Row, int Col);
    const TOleVariant& At(int Row, int Col) const;
    // The items written, (row, column) in order.
    const std::map<std::pair<int, int>, TOleVariant>& Items() const { return FItems; }

private:
    void Check(int Row, int Col) const;
    int FRowLow, FRows, FColLow, FCols;
    std::map<std::pair<int, int>, TOleVariant> FItems;
};

enum TInvokeKind { ikMethod, ikPropertyGet, ikPropertyPut };

struct TNamedArg {
    AnsiString Name;
    TOleVariant Value;
};

class IDispatchObject {
public:
    virtual ~IDispatchObject() = default;
    // Member names compare without case, as automation names do. An unknown member raises
    // EOleException "Unknown name" with the member.
    virtual TOleVariant Invoke(const AnsiString& Member, TInvokeKind Kind, const std::vector<TOleVariant>& Args,
                               const std::vector<TNamedArg>& Named) = 0;
};

// What an automation call reports when it fails.
class EOleException : public Exception {
    using Exception::Exception;
};
// A programmatic identifier no server answers to ("Invalid class string").
class EOleSysError : public Exception {
    using Exception::Exception;
};

// The object of a programmatic identifier (case does not matter).
TDispatch CreateOleObject(const AnsiString& ProgId);
// Replaces how objects are made (null restores the servers); gives the one it replaced.
using TOleFactory = std::function<TDispatch(const AnsiString& ProgId)>;
TOleFactory SetOleObjectFactory(TOleFactory Factory);
// The in-process servers themselves, without the factory in front.
TDispatch CreateOfficeServer(const AnsiString& ProgId);

// Calls on a value that must hold an object (EOleException "Variant does not reference an
// automation object" otherwise).
TOleVariant OleCall(const TOleVariant& Object, const AnsiString& Member, std::vector<TOleVariant> Args = {},
                    std::vector<TNamedArg> Named = {});
TOleVariant OleGet(const TOleVariant& Object, const AnsiString& Member, std::vector<TOleVariant> Args = {});
void OlePut(const TOleVariant& Object, const AnsiString& Member, TOleVariant Value);

// A server for tests: every call on it and on the objects it hands out is written to Log as one
// line ("app.WorkBooks() = obj1", "obj2.Name := \"x\"", "obj1.Close(SaveChanges=false)") and
// passed on to the object it wraps.
TDispatch RecordingServer(TDispatch Real, std::shared_ptr<std::vector<std::string>> Log, const std::string& Name);
