// Decoding every record of a bank of 8 genres x 65,535 records (134 MB in memory),
// printed as MB/s beside memcpy of the same buffer in the same run.

#include "formats/BankRecord.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <random>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main()
{
    constexpr std::size_t kRecords = 8 * 65535;
    const std::size_t size = formats::bank::kDirectorySize + kRecords * formats::bank::kRecordSize;
    std::vector<std::uint8_t> bank(size);
    std::mt19937 random(42);
    // Full-length texts: stored bytes 0x01..0x7F and 0x81..0xFF, never a 0x20 0x20 run or 0x80.
    for (auto& b : bank) {
        auto v = static_cast<std::uint8_t>(random() % 254 + 1);
        b = v == 0x80 || v == 0x20 ? 0x41 : v;
    }
    std::vector<std::uint8_t> copy(size);
    const double megabytes = double(size) / 1e6;

    std::vector<double> copyRates, decodeRates;
    std::size_t sink = 0;
    for (int run = 0; run < 7; ++run) {
        auto start = Clock::now();
        std::memcpy(copy.data(), bank.data(), size);
        copyRates.push_back(megabytes / seconds(Clock::now() - start));
        sink += copy[run * 4096];

        start = Clock::now();
        const std::span<const std::uint8_t> bytes(bank);
        formats::BankRecord record;
        for (std::size_t k = 1; k <= kRecords; ++k) {
            const auto offset = static_cast<std::size_t>(formats::bank::recordOffset(std::int64_t(k)));
            formats::decodeRecord(formats::clampedSlice(bytes, offset, formats::bank::kRecordSize), record);
            sink += record.question.size + record.answers[4].size;
        }
        decodeRates.push_back(megabytes / seconds(Clock::now() - start));
    }
    const double copyRate = median(copyRates);
    const double decodeRate = median(decodeRates);
    std::printf("bank of %zu records, %.1f MB\n", kRecords, megabytes);
    std::printf("memcpy:          %8.0f MB/s (median of 7)\n", copyRate);
    std::printf("record decoding: %8.0f MB/s (median of 7), %.2f of memcpy\n", decodeRate, decodeRate / copyRate);
    std::printf("(checksum %zu)\n", sink);
    return 0;
}
