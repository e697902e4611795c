#pragma once

// Message formatting: each placeholder "%s" or "%d" of a template is replaced, in order,
// by the next argument, literally. An argument that itself holds "%" or "%s" (a path, a
// typed text) is inserted as it is and never looked at again.

#include <initializer_list>
#include <string>
#include <string_view>

namespace text {

std::string formatMessage(std::string_view templ, std::initializer_list<std::string_view> args);

// The error box's text: the message with a full stop appended when its last byte sorts
// after "." (so a message ending in a letter, digit or double-byte character gets one;
// one ending in "." or a space does not).
std::string withFullStop(std::string message);

} // namespace text
