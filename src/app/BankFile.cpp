#include "app/BankFile.h"

#include <algorithm>

namespace app {

std::unique_ptr<BankFile> BankFile::open(const QString& path)
{
    std::unique_ptr<platform::ReadOnlyFile> file = platform::ReadOnlyFile::open(path);
    if (!file)
        return nullptr;
    return std::unique_ptr<BankFile>(new BankFile(std::move(file), path));
}

std::vector<std::uint8_t> BankFile::read(std::int64_t offset, std::size_t size)
{
    const std::int64_t fileSize = m_file->size();
    if (offset < 0 || offset >= fileSize || size == 0)
        return {};
    std::vector<std::uint8_t> bytes(std::min(size, static_cast<std::size_t>(fileSize - offset)));
    bytes.resize(read(offset, bytes));
    return bytes;
}

std::size_t BankFile::read(std::int64_t offset, std::span<std::uint8_t> into)
{
    const std::int64_t fileSize = m_file->size();
    if (offset < 0 || offset >= fileSize || into.empty())
        return 0;
    const std::size_t wanted = std::min(into.size(), static_cast<std::size_t>(fileSize - offset));
    const std::int64_t got = m_file->read(offset, reinterpret_cast<char*>(into.data()), wanted);
    return got > 0 ? static_cast<std::size_t>(got) : 0;
}

} // namespace app
