#pragma once

#include <utility>

// The program's one error handler: whatever a handler throws is shown in the error box,
// and the program goes on with the next event. Qt's own code is not exception-safe, so
// every handler catches at its edge, before control returns into Qt: event handlers and
// filters with a function-try-block whose catch calls showCurrentError() (or
// postCurrentError() inside painting and layout), slots through guarded(). The
// application object's notify() runs every event through reportErrors() as a last net
// for a handler that missed its own.
namespace errorreporting {

// Shows the exception being handled in the error box. Call it only inside a catch block.
void showCurrentError() noexcept;

// The same, with the box shown from the event loop: for handlers inside Qt's painting,
// layout or model code, where a modal dialog must not open.
void postCurrentError() noexcept;

// Runs an action and shows whatever it throws.
template<typename Action> void reportErrors(Action &&action) noexcept
{
    try {
        std::forward<Action>(action)();
    } catch (...) {
        showCurrentError();
    }
}

// Wraps a handler for use as a slot.
template<typename Object, typename Handler> auto guarded(Object *object, Handler handler)
{
    return [object, handler] { reportErrors([&] { (object->*handler)(); }); };
}

} // namespace errorreporting
