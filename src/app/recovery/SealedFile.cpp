#include "app/recovery/SealedFile.h"

namespace app::recovery {

namespace {

constexpr char kMagic[8] = {'Z', 'Q', 'W', 'O', 'R', 'K', '\r', '\n'};
constexpr std::size_t kHeaderSize = sizeof kMagic + 4 + 4 + 8;

std::uint64_t mixed(std::uint64_t h)
{
    h ^= h >> 33;
    h *= 0xFF51AFD7ED558CCDull;
    h ^= h >> 33;
    return h;
}

} // namespace

std::uint64_t checksum(std::string_view bytes)
{
    // Four lanes of eight bytes, each a multiply and a rotation a step, run side by side:
    // gigabytes a second, so that a restore of half a million rows checks every byte within
    // its second. Not against an adversary, against a cut or a change.
    constexpr std::uint64_t kPrime = 0x9E3779B97F4A7C15ull;
    std::uint64_t lanes[4] = {kPrime ^ bytes.size(), 1, 2, 3};
    std::size_t i = 0;
    for (; i + 32 <= bytes.size(); i += 32) {
        for (int lane = 0; lane < 4; ++lane) {
            std::uint64_t word;
            std::memcpy(&word, bytes.data() + i + 8 * std::size_t(lane), 8);
            std::uint64_t h = (lanes[lane] ^ word) * kPrime;
            lanes[lane] = (h << 31) | (h >> 33);
        }
    }
    std::uint64_t h = mixed(lanes[0]) ^ mixed(lanes[1] + 1) * 3 ^ mixed(lanes[2] + 2) * 5 ^ mixed(lanes[3] + 3) * 7;
    for (; i + 8 <= bytes.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, bytes.data() + i, 8);
        h = ((h ^ word) * kPrime);
        h = (h << 31) | (h >> 33);
    }
    std::uint64_t tail = 0;
    std::memcpy(&tail, bytes.data() + i, bytes.size() - i);
    return mixed(h ^ (tail * 0xC2B2AE3D27D4EB4Full));
}

std::string sealed(FileKind kind, std::string_view payload)
{
    PayloadWriter file;
    file.bytes().reserve(kHeaderSize + payload.size() + 8);
    file.bytes().append(kMagic, sizeof kMagic);
    file.put(kFormatVersion);
    file.put(static_cast<std::uint32_t>(kind));
    file.put<std::uint64_t>(payload.size());
    file.bytes().append(payload);
    file.put(checksum(payload));
    return std::move(file.bytes());
}

std::string_view unsealed(FileKind kind, std::string_view file)
{
    if (file.size() < kHeaderSize + 8 || file.substr(0, sizeof kMagic) != std::string_view(kMagic, sizeof kMagic))
        throw Unreadable(Unreadable::Why::Damaged);
    PayloadReader header(file.substr(sizeof kMagic));
    const auto version = header.get<std::uint32_t>();
    const auto fileKind = header.get<std::uint32_t>();
    const auto length = header.get<std::uint64_t>();
    if (version > kFormatVersion)
        throw Unreadable(Unreadable::Why::Newer);
    if (version != kFormatVersion || fileKind != static_cast<std::uint32_t>(kind)
        || length != file.size() - kHeaderSize - 8)
        throw Unreadable(Unreadable::Why::Damaged);
    const std::string_view payload = file.substr(kHeaderSize, static_cast<std::size_t>(length));
    std::uint64_t stored;
    std::memcpy(&stored, file.data() + kHeaderSize + length, 8);
    if (stored != checksum(payload))
        throw Unreadable(Unreadable::Why::Damaged);
    return payload;
}

} // namespace app::recovery
