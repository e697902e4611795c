#pragma once

// The open five-choice bank: a file opened for reading only, while other programs may read
// it but not write it (platform/ReadOnlyFile.h). Every read names its offset; a read that
// reaches past the end of the file yields the bytes the file holds there.

#include "platform/ReadOnlyFile.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace app {

class BankFile final {
public:
    // Opens the file for reading; returns null when it cannot be opened.
    static std::unique_ptr<BankFile> open(const QString& path);

    // Up to `size` bytes from `offset`; fewer (or none) where the file ends. A negative
    // offset reads nothing.
    std::vector<std::uint8_t> read(std::int64_t offset, std::size_t size);
    // Up to into.size() bytes from `offset` into `into`; returns how many the file gave.
    std::size_t read(std::int64_t offset, std::span<std::uint8_t> into);
    std::int64_t size() const { return m_file->size(); }
    // The path it was opened from, so that a restored work opens it again.
    const QString& path() const { return m_path; }

private:
    BankFile(std::unique_ptr<platform::ReadOnlyFile> file, QString path) : m_file(std::move(file)), m_path(std::move(path)) {}
    std::unique_ptr<platform::ReadOnlyFile> m_file;
    QString m_path;
};

} // namespace app
