// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <utility>

// The program's one error handler: whatever a handler throws is shown in the error box,
// and the program goes on with the next event.
//
// The rule. No exception unwinds into Qt's code: Qt is not exception-safe. Our code
// throws AppError where it reads a file or a list (the data layer, the help loader, and
// whatever calls them), and any code can throw std::bad_alloc.
// - A handler that Qt calls (event handler, event filter, virtual override, slot,
//   connected lambda, timer) and that calls code of ours that can throw AppError is
//   guarded at its edge: a function-try-block whose catch calls showCurrentError(), or
//   postCurrentError() where Qt paints, lays out or asks a model (no modal box there);
//   slots through guarded(), other code through reportErrors().
// - A handler that calls only Qt, allocation and code of ours that throws nothing else
//   has no guard. A signal it emits reaches receivers that follow the rule themselves.
//   An allocation failure in it reaches the last net, Application::notify(), which
//   shows the box from the event loop.
// - Start-up: the windows' constructors call only Qt and allocation; what reads files
//   (the connection, both FormCreates, the --ara search) runs after them through
//   reportErrors(). main() has no try: before the event loop only allocation can fail,
//   and then the program ends (std::terminate) with the reason on stderr.
// - The desktop search service shows no box and has no net: its reading catches AppError
//   and std::bad_alloc and logs them (ratessearch); its D-Bus slots call only Qt,
//   allocation and that reading. An allocation failure elsewhere ends the service, which
//   D-Bus starts again at the next question.
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
