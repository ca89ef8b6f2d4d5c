#pragma once
// Whether an object still lives, for code that calls out while the call may free the object it
// runs for (a handler, an event, a message). Take a token before the call and test it after:
//
//     TAliveToken alive = FLiveness.Token();
//     OnClick(this);            // may delete this
//     if (!*alive) return;
//
// The flag falls when the holder is destroyed; a class whose own part must count as gone before
// its base classes' destructors run (they may still send it messages) calls Expire first thing
// in its destructor.

#include <memory>

using TAliveToken = std::shared_ptr<bool>;

class TLiveness {
public:
    TLiveness() = default;
    TLiveness(const TLiveness&) = delete;
    TLiveness& operator=(const TLiveness&) = delete;
    ~TLiveness() { Expire(); }

    TAliveToken Token() const { return FAlive; }
    void Expire() { *FAlive = false; }

private:
    TAliveToken FAlive = std::make_shared<bool>(true);
};
