#include "platform/Console.h"

namespace platform {

void writeText(std::FILE* stream, std::string_view utf8)
{
    std::fwrite(utf8.data(), 1, utf8.size(), stream);
}

// A program started from a terminal already writes to it.
void useStartingConsole() {}

} // namespace platform
