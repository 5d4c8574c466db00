#pragma once

#include <functional>

// The program's one top-level error handler: runs an action and shows whatever it
// throws in the error box, then lets the program go on with the next event. The
// application object runs every event through it; slots connected to Qt's signals
// run through it too, so that no exception ever unwinds through Qt's own code.
namespace errorreporting {

void reportErrors(const std::function<void()> &action) noexcept;

// Wraps a handler for use as a slot.
template<typename Object, typename Handler> auto guarded(Object *object, Handler handler)
{
    return [object, handler] { reportErrors([&] { (object->*handler)(); }); };
}

} // namespace errorreporting
