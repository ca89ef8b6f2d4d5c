#pragma once
// The argument readers and result formats shared by the routine tables of ctlrun's "util".

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/core/AnsiString.h"
#include "platform/core/DateTime.h"
#include "platform/core/Exceptions.h"
#include "tools/ctlutil/CtlUtil.h"

// An argument that does not read as its kind; reported as "ERROR bad value TEXT".
class EUtilArgument : public Exception {
    using Exception::Exception;
};

class TUtilArgs {
public:
    TUtilArgs(std::vector<AnsiString> words, const TUtilControlFinder& finder) : words_(std::move(words)), find_(finder)
    {}
    size_t Count() const { return words_.size(); }
    const AnsiString& Text(size_t i) const { return words_.at(i); }
    int Int(size_t i) const;
    bool Bool(size_t i) const;
    char Char(size_t i) const;
    TDateTime Date(size_t i) const;
    TObject* Control(size_t i) const;
    // An INI file or, for "reg:KEY", a registry store; the caller owns it.
    TObject* Store(size_t i) const;

private:
    std::vector<AnsiString> words_;
    const TUtilControlFinder& find_;
};

AnsiString ShowNumber(double value);
AnsiString ShowBool(bool value);
AnsiString ShowDate(TDateTime value);

// The fields printed after "RESULT".
using TUtilFields = std::vector<AnsiString>;
struct TUtilRoutine {
    int Arity;  // the last argument takes the rest of the line; -1: any number of words
    std::function<TUtilFields(const TUtilArgs&)> Run;
};
using TUtilTable = std::map<std::string, TUtilRoutine>;

void AddFileRoutines(TUtilTable& table);
void AddCtrlRoutines(TUtilTable& table);
