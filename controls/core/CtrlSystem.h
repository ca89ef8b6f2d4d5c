#pragma once
// Errors, the resource-string hook and the system routines of the control library's utility unit.

#include <string_view>

#include "platform/core/AnsiString.h"
#include "platform/core/Exceptions.h"

// A resource named by text or by number.
struct TResID {
    TResID(int number) : Number(number), ByNumber(true) {}
    TResID(const char* name) : Name(name) {}
    TResID(AnsiString name) : Name(std::move(name)) {}
    AnsiString Name;
    int Number = 0;
    bool ByNumber = false;
};

// Raises EResNotFound "Resource %s not found" with the name, or the number in decimal.
[[noreturn]] void ResourceNotFound(const TResID& ResID);
// Raises EWin32Error "Win32 Error.  Code: %d.\n%s" with the code and the system's text for it;
// does nothing for 0.
void RaiseWin32Error(int Code);
// RaiseWin32Error with the last system error (errno) when OK is false; returns OK.
bool CheckWin32(bool OK);

// The hook through which the units fetch their texts: the text unchanged.
inline AnsiString ResStr(const AnsiString& S) { return S; }

// "Linux %d.%.2d.%.3d" of the running kernel's release.
AnsiString GetWindowsVersion();
// Loads a shared library (dlopen); failure raises EWin32Error with the loader's text.
void* LoadDLL(const AnsiString& Name);
// Server registration and the automation library do not exist here: false, nothing done.
bool RegisterServer(const AnsiString& Name);
void FreeUnusedOle();
// The value of an environment variable, empty when it is not set; no length limit.
AnsiString GetEnvVar(const AnsiString& Name);
