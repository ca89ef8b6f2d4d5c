#pragma once
// Script variables of a window's VariableList. Names compare after trimming both sides,
// case-sensitively.

#include <optional>
#include <string_view>

#include "script/Records.h"

class TScriptState;

cVariables* FindVariable(const TVariableList& list, std::string_view name);
// The variable's Value, or none.
std::optional<AnsiString> LookupVariable(const TVariableList& list, std::string_view name);
// The type a value gives a variable whose type is not given: 'D' when it starts with a digit,
// else 'S'.
char TypeOfValue(std::string_view value);
// Creates or updates a variable. type 0 = not given: a new variable takes TypeOfValue. A 'D'
// variable keeps Value and Dvalue as decimal integers.
void SetVariable(TVariableList& list, std::string_view name, std::string_view value, std::string_view defaultValue,
                 char type = 0);
// Sets the value of an existing variable; an unknown name is ignored.
void SetVariableValue(TVariableList& list, std::string_view name, std::string_view value);
void DeleteVariable(TVariableList& list, std::string_view name);
// ReturnText := Value, returned; none when absent.
std::optional<AnsiString> ReadVariable(TVariableList& list, std::string_view name);
// As ReadVariable, and the variable's type (0 when absent).
std::optional<AnsiString> ConditionVariable(TVariableList& list, std::string_view name, char& type);
// Value := Dvalue.
void ResetVariable(TVariableList& list, std::string_view name);
// "vm": a text variable gets the expression (and extra) as its value; any other gets the value of
// the expression, cut toward zero to an integer. The new value, or none when absent.
std::optional<AnsiString> ComputeVariable(TScriptState& state, TVariableList& list, std::string_view name,
                                          std::string_view extra, std::string_view expression);
