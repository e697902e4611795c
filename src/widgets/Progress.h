#pragma once

// How far a long piece of work has come, reported as it goes; the user may stop it.

namespace widgets {

class Progress {
public:
    virtual ~Progress() = default;
    // `done` of `total` steps are made; false once the user has asked to stop.
    virtual bool advance(int done, int total) = 0;
};

// Goes on to the end and shows nothing.
class SilentProgress final : public Progress {
public:
    bool advance(int, int) override { return true; }
};

} // namespace widgets
