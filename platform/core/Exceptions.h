#pragma once
// The framework's exception classes: a message and nothing else.

#include <stdexcept>

#include "platform/core/AnsiString.h"

// NOLINTNEXTLINE(readability-identifier-naming): the framework names its base exception so.
class Exception : public std::exception {
public:
    explicit Exception(AnsiString message) : Message(std::move(message)) {}
    const char* what() const noexcept override { return Message.c_str(); }
    AnsiString Message;
};

// A text that does not hold a number of the asked kind.
class EConvertError : public Exception {
    using Exception::Exception;
};
// A list index out of range, a duplicate in a list that refuses them, a sorted list edited in place.
class EListError : public Exception {
    using Exception::Exception;
};
// A file that cannot be opened, read or written.
class EInOutError : public Exception {
    using Exception::Exception;
};
class EFOpenError : public EInOutError {
    using EInOutError::EInOutError;
};
class EFCreateError : public EInOutError {
    using EInOutError::EInOutError;
};
// Misuse of an object, as the framework reports it.
class EInvalidOperation : public Exception {
    using Exception::Exception;
};
// A string list's index, duplicate or sorted-list error (the framework raises these separately
// from the pointer list's; catching EListError catches both).
class EStringListError : public EListError {
    using EListError::EListError;
};
// A stream or file that could not be read or written to the end.
class EReadError : public EInOutError {
    using EInOutError::EInOutError;
};
class EWriteError : public EInOutError {
    using EInOutError::EInOutError;
};
// An INI file that could not be written.
class EIniFileException : public Exception {
    using Exception::Exception;
};
// A registry key or value that could not be opened, read or written.
class ERegistryException : public Exception {
    using Exception::Exception;
};
// The silent exception: it ends an operation without a message.
class EAbort : public Exception {
    using Exception::Exception;
};
[[noreturn]] inline void Abort() { throw EAbort("Operation aborted"); }
// A system resource (a timer, a cursor slot, a bitmap, a control's item storage) that could not be
// had.
class EOutOfResources : public Exception {
    using Exception::Exception;
};
// A resource of the program that does not exist.
class EResNotFound : public Exception {
    using Exception::Exception;
};
// A failed system call, with the system's error number.
class EWin32Error : public Exception {
public:
    EWin32Error(AnsiString message, int code) : Exception(std::move(message)), ErrorCode(code) {}
    int ErrorCode;
};
