#include "text/Messages.h"

namespace text {

std::string formatMessage(std::string_view templ, std::initializer_list<std::string_view> args)
{
    std::string out;
    out.reserve(templ.size() + 64);
    auto arg = args.begin();
    for (std::size_t i = 0; i < templ.size(); ++i) {
        const bool placeholder = templ[i] == '%' && i + 1 < templ.size()
                                 && (templ[i + 1] == 's' || templ[i + 1] == 'd');
        if (placeholder && arg != args.end()) {
            out.append(*arg++);
            ++i;
            continue;
        }
        out.push_back(templ[i]);
    }
    return out;
}

std::string withFullStop(std::string message)
{
    if (!message.empty() && static_cast<unsigned char>(message.back()) > static_cast<unsigned char>('.'))
        message.push_back('.');
    return message;
}

} // namespace text
