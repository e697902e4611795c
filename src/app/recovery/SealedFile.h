#pragma once

// The frame of every file of a kept work: a magic word, the format's version, the kind of
// file, the payload's length, the payload, and a checksum of it. A file cut short, changed
// or mixed from two writes fails its checksum; a file of a later version is told apart so
// that it is kept, not misread.

#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace app::recovery {

constexpr std::uint32_t kFormatVersion = 1;
enum class FileKind : std::uint32_t { State = 1, Block = 2 };

// Why a file cannot be read back.
struct Unreadable : std::runtime_error {
    enum class Why { Damaged, Newer };
    explicit Unreadable(Why why) : std::runtime_error("unreadable work file"), why(why) {}
    Why why;
};

std::uint64_t checksum(std::string_view bytes);
// `payload` framed as a file of `kind`.
std::string sealed(FileKind kind, std::string_view payload);
// The payload of a file of `kind`, as a view into `file`; throws Unreadable.
std::string_view unsealed(FileKind kind, std::string_view file);

// Little-endian values and length-prefixed texts appended to a payload.
class PayloadWriter final {
public:
    template <typename T>
        requires std::is_trivially_copyable_v<T>
    void put(const T& value) { m_bytes.append(reinterpret_cast<const char*>(&value), sizeof value); }
    void putText(std::string_view text)
    {
        put<std::uint64_t>(text.size());
        m_bytes.append(text);
    }
    template <typename T>
        requires std::is_trivially_copyable_v<T>
    void putArray(const std::vector<T>& values)
    {
        put<std::uint64_t>(values.size());
        m_bytes.append(reinterpret_cast<const char*>(values.data()), values.size() * sizeof(T));
    }
    std::string& bytes() { return m_bytes; }

private:
    std::string m_bytes;
};

// The reading side: every read is checked against what is left; a payload that runs out is
// damaged.
class PayloadReader final {
public:
    explicit PayloadReader(std::string_view bytes) : m_bytes(bytes) {}
    template <typename T>
        requires std::is_trivially_copyable_v<T>
    T get()
    {
        T value;
        std::memcpy(&value, take(sizeof value).data(), sizeof value);
        return value;
    }
    std::string_view getText() { return take(count(1)); }
    template <typename T>
        requires std::is_trivially_copyable_v<T>
    std::vector<T> getArray()
    {
        const std::size_t n = count(sizeof(T));
        std::vector<T> values(n);
        if (n > 0)
            std::memcpy(values.data(), take(n * sizeof(T)).data(), n * sizeof(T));
        return values;
    }
    bool atEnd() const { return m_bytes.empty(); }

private:
    std::size_t count(std::size_t itemSize)
    {
        const auto n = get<std::uint64_t>();
        if (n > m_bytes.size() / itemSize)
            throw Unreadable(Unreadable::Why::Damaged);
        return static_cast<std::size_t>(n);
    }
    std::string_view take(std::size_t n)
    {
        if (n > m_bytes.size())
            throw Unreadable(Unreadable::Why::Damaged);
        const std::string_view part = m_bytes.substr(0, n);
        m_bytes.remove_prefix(n);
        return part;
    }
    std::string_view m_bytes;
};

} // namespace app::recovery
