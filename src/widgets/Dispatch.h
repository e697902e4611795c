#pragma once

// The one boundary through which every event handler of the window runs.
//
// A handler that throws ends where it threw; dispatch() catches the error and shows it in
// the error box, so no exception reaches Qt's event loop. The error box shows the message
// as given, so the full stop rule (text::withFullStop) is applied here, once, for every
// error. A handler set off by a program write inside another handler (a change handler run
// by LineEdit::setText) runs through its own dispatch(), so its error ends only that
// handler and the writer goes on after its write.

#include "widgets/Prompts.h"

#include <functional>
#include <type_traits>
#include <utility>

namespace widgets {

void dispatch(Prompts& prompts, const std::function<void()>& handler) noexcept;

// Calls `handler` with `args`, or without them when it takes none of them (a click
// handler bound to a signal that carries the checked state).
template <typename Handler, typename... Args>
void invokeWithWhatItTakes(const Handler& handler, Args&&... args)
{
    if constexpr (std::is_invocable_v<const Handler&, Args...>)
        std::invoke(handler, std::forward<Args>(args)...);
    else
        std::invoke(handler);
}

} // namespace widgets
