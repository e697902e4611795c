// Splitting arbitrary text into lines and joining its question lines.

#include "formats/MonLines.h"

#include <cstdlib>

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto lines = formats::splitLines(text);
    std::size_t total = 0;
    for (const auto& line : lines) {
        check(line.find_first_of("\r\n") == std::string::npos);
        total += line.size();
    }
    check(total <= size);

    for (std::size_t first : {std::size_t(0), std::size_t(2)}) {
        for (const auto& logical : formats::questionLines(lines, first)) {
            check(!logical.empty());
            check(logical.back() == '"');
        }
    }
    return 0;
}
