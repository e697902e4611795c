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

// A slot for connect() that runs `handler` with the signal's arguments through dispatch().
template <typename Handler>
auto guarded(Prompts& prompts, Handler handler)
{
    return [&prompts, handler = std::move(handler)](auto&&... args) {
        // A handler that takes none of the signal's arguments (a click's checked state) is
        // called without them. The choice is made here, in the generic lambda itself: clang
        // does not discard the other branch inside a nested lambda.
        if constexpr (std::is_invocable_v<const Handler&, decltype(args)...>)
            dispatch(prompts, [&] { std::invoke(handler, std::forward<decltype(args)>(args)...); });
        else
            dispatch(prompts, [&] { std::invoke(handler); });
    };
}

} // namespace widgets
