#pragma once
// The framework's owned components: an owner frees what it owns (last created first), and a
// component that holds a pointer to another one asks to be told when that one goes away. The
// owner is not the visual parent; controls have both.
//
// Also here, because key macros are stored by code that has no display: the shift state of a
// key or mouse event and the 16-bit shortcut code (virtual key in the low byte, Shift 0x2000,
// Ctrl 0x4000, Alt 0x8000).

#include <cstdint>
#include <initializer_list>
#include <string_view>
#include <vector>

#include "platform/core/AnsiString.h"
#include "platform/core/Exceptions.h"
#include "platform/core/Object.h"
#include "platform/core/ShiftState.h"
#include "platform/core/ShortCuts.h"

// A component that cannot be named or inserted as asked.
class EComponentError : public Exception {
    using Exception::Exception;
};

enum TOperation { opInsert, opRemove };

enum TComponentStateFlag : unsigned {
    csLoading = 1u << 0,
    csReading = 1u << 1,
    csWriting = 1u << 2,
    csDestroying = 1u << 3,
    csDesigning = 1u << 4,
    csFreeNotification = 1u << 5,
};
using TComponentState = unsigned;

class TComponent : public TPersistent {
public:
    explicit TComponent(TComponent* AOwner);
    ~TComponent() override;
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    TComponent* Owner() const { return owner_; }
    int ComponentCount() const { return static_cast<int>(components_.size()); }
    // Raises EListError for an index out of range.
    TComponent* Components(int index) const;
    // Index in the owner's list, -1 without an owner.
    int ComponentIndex() const;
    // The first owned component of that name (compared without regard to case), or null.
    TComponent* FindComponent(std::string_view name) const;

    const AnsiString& Name() const { return name_; }
    // A name must be empty or an identifier, and unique among the owner's components
    // (EComponentError otherwise). Virtual so that controls can follow it with their caption.
    virtual void SetName(const AnsiString& newName);
    intptr_t Tag() const { return tag_; }
    void SetTag(intptr_t tag) { tag_ = tag; }

    TComponentState ComponentState() const { return state_; }
    bool InState(TComponentStateFlag flag) const { return state_ & flag; }

    // Moves ownership: the component leaves its old owner (which is told with opRemove) and
    // joins this one (told with opInsert).
    void InsertComponent(TComponent* component);
    void RemoveComponent(TComponent* component);
    // Frees every owned component, last first. The base destructor does it after the derived
    // destructors have run; a class whose Notification must hear of its components going (or
    // whose components call back into it) calls it first thing in its own destructor.
    void DestroyComponents();

    // Asks that `component` be told (Notification opRemove) when this one is destroyed; the link
    // works both ways and is dropped when either side goes.
    void FreeNotification(TComponent* component);
    void RemoveFreeNotification(TComponent* component);

    // Marks the component and everything it owns as being built from stored settings;
    // EndLoading clears the mark and calls Loaded, this component first, then the owned ones.
    void BeginLoading();
    void EndLoading();
    void SetDesigning(bool value);
    // Marks this component and what it owns as being destroyed (done by the destructor).
    void Destroying();

protected:
    // A component owned by this one, or linked by FreeNotification, was inserted or is going
    // away. The base drops its own link and passes the news to every owned component.
    virtual void Notification(TComponent* AComponent, TOperation Operation);
    virtual void Loaded();

private:
    void Insert(TComponent* component);
    void Remove(TComponent* component);
    void NotifyOwned(TComponent* AComponent, TOperation Operation);

    TComponent* owner_ = nullptr;
    std::vector<TComponent*> components_;
    std::vector<TComponent*> freeNotifies_;
    AnsiString name_;
    intptr_t tag_ = 0;
    TComponentState state_ = 0;
};

// Top-level components by name (the application's forms): code that stores references across
// forms finds them here without knowing the display. Whoever keeps such components registers a
// finder; each is asked in turn, in order of registration, and the first answer wins.
using TFindGlobalComponent = TComponent* (*)(std::string_view Name);
void RegisterFindGlobalComponentProc(TFindGlobalComponent finder);
void UnRegisterFindGlobalComponentProc(TFindGlobalComponent finder);
// Null when no finder knows the name.
TComponent* FindGlobalComponent(std::string_view name);
