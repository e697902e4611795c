#pragma once

// Where the grid's own work at a user's gesture (an edit stored as its editor closes, a row or
// column dropped on another) ends when it throws, memory running out say: the window's error
// boundary, which tells the user. Qt's event loop must never see the error, and neither may
// Qt's signal emission (it is not exception-safe), so the work runs inside the boundary at the
// place that does it, never around an emission.

#include <functional>
#include <utility>

namespace widgets {

class GridErrorBoundary final {
public:
    using Runner = std::function<void(const std::function<void()>&)>;

    void set(Runner runner) { m_runner = std::move(runner); }

    void run(const std::function<void()>& work) const noexcept
    {
        try {
            if (m_runner)
                m_runner(work);
            else
                work();
        } catch (...) {
            // Without a boundary to tell the user, the gesture changes nothing more.
        }
    }

private:
    Runner m_runner;
};

} // namespace widgets
