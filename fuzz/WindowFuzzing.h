#pragma once

// One offscreen application and one editor window, kept for the whole fuzzing run: each
// input is a further action in the same session, as a user's next file would be.

#include "app/TForm1.h"
#include "support/ScriptedPrompts.h"

#include <QString>

#include <cstdlib>
#include <functional>
#include <string>

namespace fuzzing {

struct Session {
    support::ScriptedPrompts prompts;
    app::TForm1* form = nullptr;
    QString folder;  // a fresh folder for the inputs' files
};

// Creates the application and the window on the first call.
Session& session(int* argc, char*** argv);
Session& session();

// Writes `bytes` to `name` in the session's folder and returns its path as the editor's
// Shift-JIS bytes.
std::string writeFile(const std::string& name, const char* bytes, std::size_t size);
std::string readFile(const std::string& path);

// Runs `handler` through the window's error boundary, as an event would.
void run(const std::function<void()>& handler);

inline void check(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace fuzzing
