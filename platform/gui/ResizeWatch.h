#pragma once
// Watches a windowed control's size with an event filter of its own: each watcher hears every
// resize of its control until it is freed, whatever other watchers or handlers do, so no chain
// of saved handlers can dangle when watchers go in another order than they came.

#include <functional>
#include <memory>

class TWinControl;
class QObject;

class TResizeWatch {
public:
    // The control's window is made if it has none yet.
    TResizeWatch(TWinControl* Watched, std::function<void()> OnResize);
    ~TResizeWatch();
    TResizeWatch(const TResizeWatch&) = delete;
    TResizeWatch& operator=(const TResizeWatch&) = delete;

private:
    std::unique_ptr<QObject> FFilter;
};
