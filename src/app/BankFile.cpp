#include "app/BankFile.h"

namespace app {

std::unique_ptr<BankFile> BankFile::open(const QString& path)
{
    std::unique_ptr<BankFile> bank(new BankFile(path));
    if (!bank->m_file.open(QIODevice::ReadOnly))
        return nullptr;
    return bank;
}

std::vector<std::uint8_t> BankFile::read(std::int64_t offset, std::size_t size)
{
    const std::int64_t fileSize = m_file.size();
    if (offset < 0 || offset >= fileSize || size == 0)
        return {};
    const auto available = static_cast<std::size_t>(fileSize - offset);
    std::vector<std::uint8_t> bytes(std::min(size, available));
    if (!m_file.seek(offset))
        return {};
    const qint64 got = m_file.read(reinterpret_cast<char*>(bytes.data()), static_cast<qint64>(bytes.size()));
    bytes.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    return bytes;
}

} // namespace app
