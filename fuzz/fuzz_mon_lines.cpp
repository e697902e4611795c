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
        // Walking the physical lines again, the logical lines must be made of exactly
        // them, in order, each part once: nothing lost, nothing taken twice. Only empty
        // lines between questions are left out, and only a question still open at the
        // last line gets its closing quote added.
        std::size_t i = first;
        for (const auto& logical : formats::questionLines(lines, first)) {
            check(!logical.empty());
            check(logical.back() == '"');
            while (i < lines.size() && lines[i].empty())
                ++i;
            std::size_t start = 0;
            while (true) {
                check(i < lines.size());
                const std::size_t end = logical.find("\r\n", start);
                const std::string_view part = std::string_view(logical).substr(start, end == std::string::npos ? std::string::npos : end - start);
                const bool lastPart = end == std::string::npos;
                const bool closed = part == lines[i];
                const bool closedByReader = lastPart && i + 1 == lines.size() && part.size() == lines[i].size() + 1
                                            && part.substr(0, lines[i].size()) == lines[i]
                                            && (lines[i].empty() || lines[i].back() != '"');
                check(closed || closedByReader);
                ++i;
                if (lastPart)
                    break;
                start = end + 2;
            }
        }
        while (i < lines.size())
            check(lines[i++].empty());
    }
    return 0;
}
