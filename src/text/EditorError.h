#pragma once

// The error a handler throws to stop where it stands. Its message is a Shift-JIS byte
// string, shown by the window's error box.

#include <exception>
#include <string>

namespace text {

class EditorError : public std::exception {
public:
    explicit EditorError(std::string message) : m_message(std::move(message)) {}
    const std::string& message() const noexcept { return m_message; }
    const char* what() const noexcept override { return m_message.c_str(); }

private:
    std::string m_message;
};

} // namespace text
