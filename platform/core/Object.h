#pragma once
// The framework's root classes: every object a list can hold, and the persistent base that
// knows how to copy itself from another of its kind.

#include <functional>
#include <string>

#include "platform/core/AnsiString.h"

class TObject {
public:
    virtual ~TObject() = default;
    // The name of the object's own class, as the framework reports it ("TStringList"), without
    // the namespace a class of a test or a tool may be declared in.
    AnsiString ClassName() const;
};

// A handler bound to an object, called with the object that raised the event.
using TNotifyEvent = std::function<void(TObject* Sender)>;

class TPersistent : public TObject {
public:
    // Copies Source into this object. The base refuses with the framework's conversion error.
    virtual void Assign(TPersistent* Source);

protected:
    // Called by the base Assign of Source when this object does not know Source's class.
    virtual void AssignTo(TPersistent* Dest);
};
