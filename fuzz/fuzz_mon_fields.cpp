// ExtractField and StripQuotes on arbitrary lines. The fields of a line, joined again
// with commas, must give back the line exactly.

#include "formats/MonFields.h"

#include <cstdlib>
#include <string>

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string line(reinterpret_cast<const char*>(data), size);

    std::string rebuilt = formats::ExtractField(line, 0);
    for (int n = 1; rebuilt.size() < line.size(); ++n) {
        rebuilt.push_back(',');
        rebuilt += formats::ExtractField(line, n);
        check(rebuilt.size() <= line.size());
    }
    check(rebuilt == line);
    check(formats::ExtractField(line, -1).empty());

    const std::string stripped = formats::StripQuotes(line);
    if (!line.empty() && line.front() == '"')
        check(stripped.size() == (line.size() >= 2 ? line.size() - 2 : 0) && line.compare(1, stripped.size(), stripped) == 0);
    else
        check(stripped == line);
    return 0;
}
