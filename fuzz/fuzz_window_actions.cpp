// Sequences of user actions on the real window, offscreen: every input is a script of
// actions (tests/support/ActionPlayer.h) played on a fresh window, and every rule the
// player checks after each action must hold. Features meet here: undo during a drag, a
// clear while a cell is edited, a drop between two presses.

#include "WindowFuzzing.h"
#include "support/ActionPlayer.h"

#include <cstdio>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    fuzzing::session(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzzing::session();
    static const support::ActionFiles files;
    const std::string broken = support::playActions(files, std::string_view(reinterpret_cast<const char*>(data), size));
    if (!broken.empty()) {
        std::fprintf(stderr, "rule broken: %s\n", broken.c_str());
        std::abort();
    }
    return 0;
}
